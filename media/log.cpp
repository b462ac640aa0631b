// log.cpp — the start-up log ("Debug.txt"), failure reports and the debug log.
//
// The log sits with the other machine services because every layer writes
// to it, the media loaders included: a file that fails to load is named in
// the log and on standard error, so a broken install never fails in silence.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "media/core.h"
#include "media/core_internal.h"

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

// The target is looked up on every line, so a change of PLIMBO_DEBUGLOG
// while the program runs (a test choosing its own file) takes effect.
void DebugLog(const std::string& text) {
  static FILE* log = nullptr;
  static std::string openedFor;
  const char* variable = getenv("PLIMBO_DEBUGLOG");
  std::string target = variable ? variable : "";
  if (target != openedFor) {
    if (log && log != stderr) fclose(log);
    log = target == "stderr" ? stderr : target.empty() ? nullptr : fopen(target.c_str(), "a");
    openedFor = target;
  }
  if (!log) return;
  fprintf(log, "%s\n", text.c_str());
  fflush(log);
}

// Named by its full path, so the line says which copy failed. A display
// change reloads every image and font, and one font file backs many sizes: a
// file is worth one line per run, not one per load (nor one per attempt of a
// fuzzer).
static std::set<std::string> Reported;

int media::LoadFailed(const std::string& path, const std::string& reason) {
  if (!Reported.insert(path).second) return 0;
  std::error_code error;
  std::string shown =
      path.rfind("incbin::", 0) == 0 ? path : std::filesystem::absolute(path, error).lexically_normal().string();
  LogFailure("could not load " + (shown.empty() ? path : shown) + ": " + reason);
  return 0;
}

void media::ForgetLoadFailures() { Reported.clear(); }
