// startup.cpp — the program's spine: builds every program-wide table, finds
// its folders, opens the start-up log, reads the settings, chooses the audio
// driver, unpacks the word list, opens the display (which loads all media),
// holds the loading screen for at least 2.5 seconds, then runs the title
// screen until the player quits and hands over to the closing sequence.
#include "app/startup.h"

#include <cstdint>
#include <cstdlib>

#include "app/assets.h"
#include "app/essentials.h"
#include "app/settings.h"
#include "app/settings_panel.h"
#include "app/shutdown.h"
#include "app/title.h"
#include "controls/controls.h"
#include "frame/draw.h"
#include "frame/folders.h"
#include "frame/frame_end.h"
#include "frame/identity.h"
#include "frame/settings_table.h"
#include "game/game.h"
#include "media/media.h"
#include "music/music.h"
#include "scores/panel.h"
#include "scores/popups.h"
#include "words/words.h"

std::string CreditLines[100];
int PlayerSlots = 4;
RunOptions Options;

void FillCreditLines() {
  const char* lines[17] = {"",
                           "A Game by Morvane",
                           "www.morvane.example",
                           "",
                           "Game",
                           "Written in C++ with SDL2",
                           "using Morvane's Framework",
                           "",
                           "Graphics",
                           "Font : SVBasicManual by J. Hecksher",
                           "Font : Blue Highway by J. Aakerlund",
                           "Font : Acknowledge TT by P. Impallari",
                           "All other graphics by Morvane",
                           "",
                           "Sound",
                           "Title Music by Morvane",
                           "Sound Effects by Morvane"};
  for (int i = 1; i <= 16; i++) CreditLines[i] = lines[i];
}

// A frame count is a whole number from 1 up: anything else (a word, 0, a
// sign, a number past 2^31) used to mean "no limit", and a headless run
// asked to stop then never did.
static bool FrameCount(const std::string& text, int* frames) {
  if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  long long n = std::stoll(text);
  if (n < 1 || n > INT32_MAX) return false;
  *frames = int(n);
  return true;
}

// Named here, so a run asked to replay a file it cannot read stops at once
// instead of running unscripted.
static std::string ScriptFileProblem(const std::string& path) {
  int type = FileType(path);
  if (type == 0) return "no such file";
  if (type == 2) return "it is a folder";
  int stream = OpenRead(path);
  if (stream == 0) return "it cannot be read";
  CloseStream(stream);
  return "";
}

bool ParseOptions(int argc, char** argv, RunOptions* options, std::string* error) {
  for (int i = 1; i < argc; i++) {
    std::string arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == "--headless") {
      options->headless = true;
      options->virtualClock = true;
    } else if (arg == "--virtual-clock") {
      options->virtualClock = true;
    } else if (arg == "--script" && hasValue) {
      options->script = argv[++i];
      if (std::string problem = ScriptFileProblem(options->script); !problem.empty()) {
        *error = "--script " + options->script + ": " + problem;
        return false;
      }
    } else if (arg == "--record" && hasValue) {
      options->record = argv[++i];
    } else if (arg == "--frames" && hasValue) {
      if (!FrameCount(argv[++i], &options->frameLimit)) {
        *error = "--frames " + std::string(argv[i]) + ": expected a whole number of frames from 1 to 2147483647";
        return false;
      }
    } else if (arg == "--play") {
      options->playAtOnce = true;
    } else if (arg == "--data" && hasValue) {
      options->playerFolder = argv[++i];
    } else {
      *error = "unknown or incomplete option: " + arg;
      return false;
    }
  }
  return true;
}

static void LogHeader() {
  const std::string dashes(28, '-');
  LogLine("Morvane's Tessaloop Engine");
  LogLine(dashes);
  LogLine("Week #" + std::to_string(WeekNumber));
  LogLine(dashes);
  LogLine(WindowTitle);
  LogLine(dashes);
  LogLine("");
  LogLine("Loading");
}

void ConnectFrameHooks() {
  FrameHook.drawPopups = [] { DrawPopups(CamX, CamY); };
  FrameHook.settingsChanged = WriteSettingsFile;
  FrameHook.runSettingsPanel = RunSettingsPanel;
  FrameHook.advanceMusic = UpdateMusic;
  FrameHook.shutDown = ShutDown;
}

void ResetApp() {
  Options = RunOptions{};
  PlayerSlots = 4;
  AudioDriverNames.clear();
  ModeCount = GraphicsOpen = 0;
  TitleSlide = StartHeld = StartLatch = EscLatch = 0;
  RunGameHook = RunGame;
}

int RunProgram(const RunOptions& options) {
  Options = options;
  RegisterWordBankFile();
  StartMedia(MediaConfig{options.headless, options.virtualClock});
  CatchTerminationSignals();
  SetRecordingVersion(GameVersion);
  if (!options.record.empty()) RecordSession();
  if (!options.script.empty() && !LoadInputScript(options.script)) {
    LogFailure("could not read the input script " + options.script);
    EndProcess(2);
  }
  FrameLimit = options.frameLimit;
  ConnectFrameHooks();

  FillCreditLines();
  SetCaption(WindowTitle);
  HidePointer();
  FrameStartMillis = Millisecs();
  ScanJoysticks();
  SetDefaultControls();
  SetDefaultSettings();

  ResolveFolders(options.dataFolder, options.playerFolder);
  OpenStartupLog(PlayerFolder + "Debug.txt");
  LogHeader();
  // Without its data the game has nothing to show: one line names what is
  // missing, rather than a line for every file of it.
  if (std::string missing = MissingDataFolder(); !missing.empty()) CannotStart(missing);
  ReportUnwritablePlayerFolder();
  if (!SetWindowIcon(GameFolder + "icon.png"))
    LogFailure("The window icon could not be loaded: " + GameFolder + "icon.png");

  AudioDriverNames.clear();
  for (const std::string& name : ListAudioDrivers()) {
    AudioDriverNames.push_back(name);
    DebugLog(name);
  }
  ReadSettingsFile();
  SetSoundMuted(Settings[SETTING_MUTE] == 1);
  ChooseAudioDriver();
  LogLine("\tRequested Resolution : " + std::to_string(Settings[SETTING_WIDTH]) + "x" +
          std::to_string(Settings[SETTING_HEIGHT]));
  LogLine("\tSetup Loaded");
  LogLine("");
  LogLine("Grabbing Previous Scores");
  LogLine("");

  DebugLog(GameFolder);
  CreateWordBank();
  LoadWordBank();
  DebugLog(std::to_string(PackWordChunk("Banana", 0)));

  int loadingStarted = Millisecs();
  ApplyDisplayMode();
  InputMode = 0;
  PlayerSlots = 4;
  BadgeCount = 16;
  PauseState = 0;
  LogLine("Finished Loading");
  while (ClockDiff(Millisecs(), loadingStarted) < 2500) SleepMs(10);

  if (options.playAtOnce) PlayOneGame();
  RunTitleScreen();
  ShutDown();
}
