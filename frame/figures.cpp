// figures.cpp — the leak figures of a long run (see figures.h). Reading them
// costs a small /proc read and a listing of the open files, once a minute.
#include "frame/figures.h"

#include "media/media.h"

static bool FiguresStarted = false;
static int FiguresStartMillis = 0;
static int LastMinuteLogged = -1;

void LogFigures(const std::string& moment) {
  MediaFigures f = CountMediaFigures();
  DebugLog("figures " + moment + " rss_kib=" + std::to_string(f.residentBytes / 1024) +
           " fds=" + std::to_string(f.openFiles) + " images=" + std::to_string(f.images) +
           " fonts=" + std::to_string(f.fonts) + " pixmaps=" + std::to_string(f.pixmaps) +
           " sounds=" + std::to_string(f.sounds) + " streams=" + std::to_string(f.streams) +
           " banks=" + std::to_string(f.banks) + " media_kib=" + std::to_string(MemoryInUse() / 1024));
}

void LogFiguresEachMinute() {
  int now = Millisecs();
  if (!FiguresStarted) FiguresStarted = true, FiguresStartMillis = now;
  int minute = ClockDiff(now, FiguresStartMillis) / 60000;
  if (minute == LastMinuteLogged) return;
  LastMinuteLogged = minute;
  LogFigures("minute=" + std::to_string(minute));
}

void ResetFigures() {
  FiguresStarted = false;
  LastMinuteLogged = -1;
}
