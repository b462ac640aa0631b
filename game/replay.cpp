// replay.cpp — one game's recording: the values a game starts from, keeping
// each finished game's recording beside "scores.dat", and watching one back
// in the window in place of the player's input.
#include <algorithm>
#include <string>
#include <utility>

#include "controls/controls.h"
#include "frame/common_media.h"
#include "frame/draw.h"
#include "frame/folders.h"
#include "frame/frame_end.h"
#include "frame/save_report.h"
#include "frame/settings_table.h"
#include "game/ball.h"
#include "game/game.h"
#include "game/rules.h"
#include "media/media.h"
#include "scores/records.h"

int GameFramesPlayed;

// What a game's course depends on besides its input and its seeds: taken
// through the recording, so a replay starts from what the game started from
// even when the player has changed difficulty, frame skipping or bindings
// since.
void TakeGameStart() {
  Difficulty = RecordedNumber("difficulty", Difficulty);
  FrameParity = RecordedNumber("parity", FrameParity);  // ghosts touch on even frames only
  // A new game's ball starts as far off its start cell as the last game's
  // ended, which a replay cannot know.
  BallSubX = RecordedNumber("ball", BallSubX);
  BallSubY = RecordedNumber("ball", BallSubY);
  Settings[SETTING_SLOW_SYSTEM] = RecordedNumber("slow", Settings[SETTING_SLOW_SYSTEM]);
  std::string controls;
  for (int slot = 0; slot < ControlSlots; slot++) controls += (slot ? " " : "") + std::to_string(ControlTable[slot]);
  controls = RecordedText("controls", controls);
  const char* at = controls.c_str();
  for (int slot = 0, code = 0, used = 0; slot < ControlSlots && sscanf(at, "%d%n", &code, &used) == 1; slot++) {
    ControlTable[slot] = std::clamp(code, 0, InputCodeLimit - 1);
    at += used;
  }
}

// For checks that a replay ends as its game did (PLIMBO_DEBUGLOG).
void LogGameOver() {
  DebugLog("Game over after " + std::to_string(GameFramesPlayed) + " frames with " + std::to_string(GameScore) +
           " points (" + std::to_string(GameOverCode) + ")");
}

void KeepGameRecording(int64_t stamp) {
  std::string path = ReplayFile(stamp);
  bool saved = MakeFolder(path.substr(0, path.rfind('/') + 1)) && SaveTake(path);
  // One report for the folder, not one for every game's file.
  ReportSave(PlayerGameFolder + "replays/", saved                    ? ""
                                            : WriteFailure().empty() ? "could not write it"
                                                                     : WriteFailure());
}

static void DrawReplayMarker() {
  SetFont(FontTable[FONT_SMALL]);
  int w = TextWidth("Replay") + 12, h = FontHeight() + 6;
  SetDrawColour(0, 0, 0, 0.6f);
  DrawRect(float(VirtW - w - 8), 8, float(w), float(h));
  SetDrawColour(255, 255, 0);
  DrawTextAligned(VirtW - 8 - w / 2, 8 + h / 2, "Replay", 1, 1);
}

void DrawReplayMarkerIfWatching() {
  if (WatchStatus() == WATCH_ON) DrawReplayMarker();
}

// What the recorded player changed (a setting, a binding) is not the
// watcher's: nothing is written, and everything is put back afterwards, or
// before the closing sequence saves the settings when the program is shut
// while a game is being watched.
static struct {
  bool held = false;
  int settings[SETTING_ENTRIES], controls[ControlSlots], difficulty;
  void (*writeSettings)();
} Watcher;

void PutBackWatcherSettings() {
  if (!Watcher.held) return;
  Watcher.held = false;
  FrameHook.settingsChanged = Watcher.writeSettings;
  std::copy(std::begin(Watcher.settings), std::end(Watcher.settings), Settings);
  std::copy(std::begin(Watcher.controls), std::end(Watcher.controls), ControlTable);
  Difficulty = Watcher.difficulty;
}

void WatchGame(int64_t stamp) {
  std::string problem = WatchRecording(ReplayFile(stamp));
  if (!problem.empty()) {
    AddMessage(problem, 1);
    return;
  }
  std::copy(std::begin(Settings), std::end(Settings), Watcher.settings);
  std::copy(std::begin(ControlTable), std::end(ControlTable), Watcher.controls);
  Watcher.difficulty = Difficulty;
  Watcher.writeSettings = std::exchange(FrameHook.settingsChanged, nullptr);
  Watcher.held = true;

  TakeGameStart();
  StartGame();
  while (GameFrame() == 0 && WatchStatus() == WATCH_ON) {
  }
  int status = WatchStatus();
  if (status == WATCH_ON) {
    LogGameOver();
    ShowEndTitle();
    Delay(1500);
  }
  if (status == WATCH_ASTRAY) AddMessage("This replay went another way, so it was stopped", 1);
  StopWatching();
  PutBackWatcherSettings();
  FlushInput();
}
