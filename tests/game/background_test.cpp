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
