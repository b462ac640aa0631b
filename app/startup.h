// startup.h — the program's spine: build constants, program-wide values and
// the start-up sequence that runs once from process start to the title screen.
#pragma once

#include <string>
#include <vector>

constexpr int WeekNumber = 248;
extern const std::string TitleWord1;  // "Plimbo"
extern const std::string TitleWord2;  // "Direr"
extern const std::string WindowTitle;  // "#248 : Plimbo Direr"
extern const std::string DataFolder;   // "Files/"
extern const std::string GameFolder;   // "248/"
extern const std::string CommonFolder; // "Common/"

extern std::vector<std::string> AudioDriverNames;
extern std::string CreditLines[100];
extern int InputMode;
extern int PlayerSlots;
extern int BadgeCount;
extern int Difficulty;  // 0 Easy, 1 Medium, 2 Hard

// Command-line choices of a run (see README).
struct RunOptions {
  bool headless = false;
  bool virtualClock = false;
  std::string script;   // input script file
  int frameLimit = 0;   // close down after this many frames (0 = never)
  bool playAtOnce = false;  // start a game straight after loading
};
extern RunOptions Options;

bool ParseOptions(int argc, char** argv, RunOptions* options, std::string* error);
int RunProgram(const RunOptions& options);  // the whole start-up sequence; returns the exit code
