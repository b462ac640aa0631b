// game_fixture.h — a headless display on the virtual clock with the game's
// generated artwork and sound effects loaded, and helpers to lay out cells.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "controls/controls.h"
#include "frame/common_media.h"
#include "frame/draw.h"
#include "frame/folders.h"
#include "frame/frame_end.h"
#include "frame/settings_table.h"
#include "game/ball.h"
#include "game/cave.h"
#include "game/game.h"
#include "game/rules.h"
#include "media/media.h"

class GameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartMedia({true, true});
    ASSERT_TRUE(OpenDisplay(800, 600, 0, 60));
    SetVirtualResolution(1280, 960);
    Settings[11] = 50;
    Settings[12] = 50;
    SpriteBudget[1] = SpriteBudget[2] = SpriteBudget[3] = 50000;
    SetDefaultControls();
    SfxSlot = 20;
    for (int& channel : ChannelTable) channel = 0;
    LoadArt();
  }
  void TearDown() override { StopMedia(); }

  // The generated data folder lies beside the test programs.
  static void LoadArt() {
    AutoCentre(true);
    LoadGameImages();
    for (int i = 1; i <= 7; i++) SoundEffects[i] = 0;
    ASSERT_NE(BallImage, 0);
    ASSERT_NE(PickupImage, 0);
  }

  // Makes effect n playable, so that its plays show in SfxSlot.
  static void LoadEffect(int n) {
    char name[16];
    snprintf(name, sizeof name, "%03d.wav", n);
    SoundEffects[n] = LoadSound(GameFolder + name);
    ASSERT_NE(SoundEffects[n], 0);
  }

  static void EmptyCave() {
    for (auto& row : CaveCells)
      for (int& cell : row) cell = CELL_EMPTY;
  }

  // Ball at rest in cell (x, y) with the motion values of a new game.
  static void PlaceBall(int x, int y) {
    BallTileX = x;
    BallTileY = y;
    BallSubX = BallSubY = 0;
    ResetBallMotion();
  }

  static void Hold(int vk, bool down) {
    ScriptKey(Millisecs(), vk, down);
    PollEvents();
  }
};
