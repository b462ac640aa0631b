// screens_fixture.h — a headless 800 x 600 display on the virtual clock with
// the default settings and controls, in a scratch game folder, for driving
// the title screen, the pause menu and the closing screens with scripted keys.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/assets.h"
#include "app/settings.h"
#include "app/settings_panel.h"
#include "app/startup.h"
#include "controls/controls.h"
#include "frame/common_media.h"
#include "frame/draw.h"
#include "frame/engine_test.h"
#include "frame/frame_end.h"
#include "frame/settings_table.h"
#include "game/game.h"
#include "media/media.h"
#include "scores/panel.h"
#include "tests/support/headless.h"

class ScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenHeadlessDisplay();
    root = EnterScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    SetDefaultSettings();
    SetDefaultControls();
    ScreenW = 800, ScreenH = 600;
    SpriteBudget[1] = SpriteBudget[2] = SpriteBudget[3] = 50000;
    StatsOverlayOn = 0;
    FrameStartMillis = Millisecs();
  }
  void TearDown() override { StopMedia(); }

  // Presses and releases a key at the given offsets from now.
  static void Tap(int vk, int downAt, int upAt) {
    int now = Millisecs();
    ScriptKey(now + downAt, vk, true);
    ScriptKey(now + upAt, vk, false);
  }

  std::filesystem::path root;
};
