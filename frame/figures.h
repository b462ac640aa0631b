// figures.h — the figures a long run is watched by for leaks: resident
// memory, open files and the media's live handles, one line in the debug log
// (PLIMBO_DEBUGLOG) for every minute of the program's clock and after every
// reload of the media. scripts/soak.sh reads them.
#pragma once

#include <string>

// One line, "figures <moment> rss_kib=… fds=… images=… …".
void LogFigures(const std::string& moment);
// From the frame end: a line when the clock has entered a new minute.
void LogFiguresEachMinute();
// The minutes count again from the next frame (tests).
void ResetFigures();
