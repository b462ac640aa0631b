// log.cpp — the start-up log ("Debug.txt") and failure reports.
//
// The log sits with the other machine services because every layer writes
// to it, the media loaders included: a file that fails to load is named in
// the log and on standard error, so a broken install never fails in silence.
#include <cstdio>

#include "media/media.h"

static int StartupLog;

bool OpenStartupLog(const std::string& path) {
  CloseStartupLog();
  StartupLog = OpenLog(path);
  return StartupLog != 0;
}

void CloseStartupLog() {
  if (StartupLog != 0) CloseStream(StartupLog);
  StartupLog = 0;
}

void LogLine(const std::string& text) {
  if (StartupLog != 0) WriteLine(StartupLog, text);
}

void LogFailure(const std::string& text) {
  std::fprintf(stderr, "plimbo: %s\n", text.c_str());
  std::fflush(stderr);
  LogLine("\t" + text);
}
