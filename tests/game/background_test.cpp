// background_test.cpp — the background turning in the pauses between
// attempts covers the whole screen at every angle, on both screen shapes:
// no black wedge shows in a corner or between its tiles.
#include "tests/game/game_fixture.h"

namespace {

TEST_F(GameTest, TurnedBackgroundLeavesNoBlackAnywhere) {
  const struct { int w, h, virtW, virtH; } shapes[] = {{800, 600, 1280, 960}, {1920, 1080, 1600, 900}};
  for (const auto& shape : shapes) {
    CloseDisplay();
    ASSERT_TRUE(OpenDisplay(shape.w, shape.h, 0, 60));
    SetVirtualResolution(shape.virtW, shape.virtH);
    LoadArt();
    for (float degrees : {-24.0f, -45.0f, -120.0f, -696.0f}) {
      CamX = 1234, CamY = -567;
      BeginFrame(1);
      ResetDrawState();
      SetDrawRotation(degrees);
      SetDrawScale(2);
      DrawGameBackground();
      int black = 0;
      for (int y = 0; y < shape.h; y += 7)
        for (int x = 0; x < shape.w; x += 7) black += (ReadBackPixel(x, y) & 0xFFFFFF) == 0;
      EXPECT_EQ(black, 0) << shape.w << " x " << shape.h << " turned " << degrees << " degrees";
    }
  }
}

}  // namespace

namespace {

// Tiles laid edge to edge meet without a gap when the virtual screen is
// scaled by a fraction (1920 / 1600): the software renderer would otherwise
// truncate each one's position and size apart.
TEST_F(GameTest, TilesMeetWithoutAGapOnAScaledScreen) {
  CloseDisplay();
  ASSERT_TRUE(OpenDisplay(1920, 1080, 0, 60));
  SetVirtualResolution(1600, 900);
  LoadArt();
  BeginFrame(1);
  ResetDrawState();
  SetDrawScale(64.0f / ImageWidth(BackgroundImage));
  for (int x = 0; x < 1600; x += 64) DrawSprite(BackgroundImage, x, 100, 0, SPRITE_IMAGES);
  int black = 0;
  for (int x = 0; x < 1920; x++) black += (ReadBackPixel(x, 150) & 0xFFFFFF) == 0;
  EXPECT_EQ(black, 0);
}

}  // namespace
