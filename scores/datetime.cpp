// datetime.cpp — making date-time stamps from the clock's texts and showing
// them again as date and time of day.
#include "scores/datetime.h"

#include "media/media.h"

static int64_t NumberAt(const std::string& text, int pos, int len) {
  int64_t v = ToInt(Mid(text, pos, len));
  return v < 0 ? -v : v;
}

int64_t StampOf(const std::string& dateText, const std::string& timeText) {
  static const char* const Months[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                         "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
  std::string date = Upper(dateText);
  int64_t year = NumberAt(date, 8, 4);
  int64_t month = 0;
  for (int m = 0; m < 12; m++) {
    if (Mid(date, 4, 3) == Months[m]) month = m + 1;
  }
  int64_t day = NumberAt(date, 1, 2);
  int64_t hour = NumberAt(timeText, 1, 2), minute = NumberAt(timeText, 4, 2), second = NumberAt(timeText, 7, 2);
  return ((((year * 12 + month) * 31 + day) * 24 + hour) * 60 + minute) * 60 + second;
}

int64_t DateStamp(const std::string& dateText) {
  return StampOf(dateText.empty() ? RecordedText("date", CurrentDate()) : dateText,
                 RecordedText("time", CurrentTime()));
}

static std::string LastDigits(int64_t n, int count) {
  return Right(std::string(count, '0') + std::to_string(n), count);
}

std::string TimeText(int64_t stamp) {
  int64_t second = stamp % 60, minute = stamp / 60 % 60, hour = stamp / 3600 % 24;
  return LastDigits(hour, 2) + ":" + LastDigits(minute, 2) + ":" + LastDigits(second, 2);
}

// Day 32 of the count is 1 January of year 0 (month 1 and day 1 each add one).
std::string DateText(int64_t stamp) {
  int64_t d = stamp / 60 / 60 / 24 - 32;
  int64_t year = d / 372, month = d % 372 / 31 + 1, day = d % 31 + 1;
  return LastDigits(day, 2) + "-" + LastDigits(month, 2) + "-" + LastDigits(year, 4);
}
