// panel_fixture.h — the settings panel on a headless 800 x 600 display
// showing 1280 x 960, with the real icon strip and panel font, default
// settings and controls, in a scratch game folder, fully open unless a test
// says otherwise. Input comes from scripted events on the virtual clock, the
// mouse position straight from MouseX/MouseY as EndFrame would capture it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
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
#include "frame/frame_end.h"
#include "frame/settings_table.h"
#include "game/game.h"
#include "media/media.h"
#include "tests/support/headless.h"

class PanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenHeadlessDisplay();
    const std::string common = std::string(PLIMBO_BINARY_DIR) + "/Files/Common/";
    AutoCentre(true);
    IconStrip = LoadImageStrip(common + "icons.png", 16, 16, 0, 64, IMAGE_MASKED | IMAGE_FILTERED);
    IconStripCrisp = LoadImageStrip(common + "icons.png", 16, 16, 0, 64, IMAGE_MASKED);
    FontTable[FONT_PANEL] = LoadFont(common + "SVBasicManual.ttf", 22, true);
    ASSERT_NE(IconStripCrisp, 0);
    ASSERT_NE(FontTable[FONT_PANEL], 0);

    root = EnterScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    SetDefaultSettings();
    SetDefaultControls();
    AudioDriverNames = {"dummy"};
    InputMode = 0;
    PlayerSlots = 1;
    JoyCount = 0;
    ScreenW = 800, ScreenH = 600;
    GraphicsOpen = 1;
    ModeCount = 0;
    SettingsMenuOpen = 1;
    PanelY = 20;
    PointAt(640, 700);  // below the panel, over nothing
  }
  void TearDown() override { StopMedia(); }

  static void PointAt(int x, int y) { MouseX = x, MouseY = y; }

  // One frame of the panel, with the events due by then pumped, as the
  // frame end before it would.
  static void Frame() {
    AdvanceVirtualClock(16);
    PollEvents();
    RunSettingsPanel();
  }
  static void Click(int button) {
    ScriptMouseButton(Millisecs(), button, true);
    ScriptMouseButton(Millisecs(), button, false);
    Frame();
  }
  static void TapKey(int vk) {
    ScriptKey(Millisecs(), vk, true);
    ScriptKey(Millisecs(), vk, false);
    Frame();
  }
  static void HoldKey(int vk, bool down) { ScriptKey(Millisecs(), vk, down); }

  std::filesystem::path root;
};
