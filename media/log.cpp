// log.cpp — the start-up log ("Debug.txt") and failure reports.
//
// The log sits with the other machine services because every layer writes
// to it, the media loaders included: a file that fails to load is named in
// the log and on standard error, so a broken install never fails in silence.
#include <cstdio>
#include <filesystem>
#include <set>

#include "media/internal.h"
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

// Named by its full path: files are opened relative to a folder that moves,
// so a bare name would not say which copy failed. A display change reloads
// every image and font, and one font file backs many sizes: a file is worth
// one line per run, not one per load (nor one per attempt of a fuzzer).
int media::LoadFailed(const std::string& path, const std::string& reason) {
  static std::set<std::string> reported;
  if (!reported.insert(path).second) return 0;
  std::error_code error;
  std::string shown = path.rfind("incbin::", 0) == 0 ? path : std::filesystem::absolute(path, error).lexically_normal().string();
  LogFailure("could not load " + (shown.empty() ? path : shown) + ": " + reason);
  return 0;
}
