// fresh_program.cpp — linked into every test program: before each test the
// whole program's state goes back to what a fresh start has, so tests pass
// run together in one process as well as one per process, in any order.
// The data folder is the build's; what a test writes goes to a scratch
// player's folder of this process.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "app/startup.h"
#include "controls/controls.h"
#include "frame/common_media.h"
#include "frame/folders.h"
#include "frame/frame_end.h"
#include "frame/save_report.h"
#include "frame/settings_table.h"
#include "game/game.h"
#include "media/media.h"
#include "music/music.h"
#include "scores/records.h"
#include "tests/support/headless.h"

namespace {

std::filesystem::path ScratchPlayerFolder() {
  return std::filesystem::temp_directory_path() / ("plimbo_player_" + std::to_string(::getpid()));
}

class FreshProgram : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    // Stopping the media services also ends SDL's audio thread, so a death
    // test forks a process that has no other thread holding a lock.
    StopMedia();
    UseVirtualClock(false);
    ResetVirtualClock();
    SeedRandom(4660);
    ResetControls();
    SetDefaultSettings();
    ResetCommonMedia();
    ResetFrameState();
    ResetSaveReports();
    ResetMusic();
    ResetScores();
    ResetGame();
    ResetApp();
    ConnectFrameHooks();
    UseFolders(PLIMBO_BINARY_DIR "/Files/", ScratchPlayerFolder().string());
    MakeFolder(PlayerGameFolder);
  }
};

const bool Registered = [] {
  MadeScratchFolders.made.push_back(ScratchPlayerFolder());  // removed when the test program ends
  ::testing::UnitTest::GetInstance()->listeners().Append(new FreshProgram);
  return true;
}();

}  // namespace
