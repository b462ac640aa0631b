// datetime.h — the date-time stamp of score records: seconds on a calendar of
// twelve 31-day months, so that later moments always give larger numbers.
#pragma once

#include <cstdint>
#include <string>

// dateText like "07 Dec 2026", or empty for today; the time is always now.
int64_t DateStamp(const std::string& dateText);
// The same from given texts: date "%d %b %Y", time "%H:%M:%S".
int64_t StampOf(const std::string& dateText, const std::string& timeText);
std::string TimeText(int64_t stamp);  // "09:05:07"
std::string DateText(int64_t stamp);  // "15-03-2026"
