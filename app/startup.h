// startup.h — the program's spine: its command line, the program-wide values
// of the application, and the start-up sequence that runs once from process
// start to the title screen.
#pragma once

#include <string>

extern std::string CreditLines[100];  // 1..16, shown on the title screen
void FillCreditLines();               // the title's credits, filled at start-up
extern int PlayerSlots;               // players the settings panel lists bindings for

// Command-line choices of a run (see README).
struct RunOptions {
  bool headless = false;
  bool virtualClock = false;
  std::string script;        // input script file
  std::string record;        // --record FILE: the session's recording goes there at the end
  int frameLimit = 0;        // close down after this many frames (0 = never)
  bool playAtOnce = false;   // start a game straight after loading
  std::string playerFolder;  // --data DIR: the player's files go there
  std::string dataFolder;    // tests: read the game's data from here, not beside the program
};
extern RunOptions Options;

bool ParseOptions(int argc, char** argv, RunOptions* options, std::string* error);
int RunProgram(const RunOptions& options);  // the whole start-up sequence; returns the exit code

// Gives the frame end the steps it runs for the layers above it (pop-ups,
// the settings panel and file, music, the closing sequence).
void ConnectFrameHooks();

// The application's own state as at program start: options, display modes,
// the panel closed, the title screen's latches, no audio drivers (tests).
void ResetApp();
