// Rectangles, lines, blends, rotation and scale, read back from a headless
// software-rendered display at 800x600 with a 1280x960 virtual screen.
#include "tests/media/display_fixture.h"

TEST_F(HeadlessDisplay, OpensWithSoftwareRendererAndVirtualSize) {
  EXPECT_TRUE(DisplayOpen());
  EXPECT_EQ(RendererName(), "software");
  EXPECT_EQ(RealWidth(), 800);
  EXPECT_EQ(VirtW, 1280);
  EXPECT_EQ(VirtH, 960);
  EXPECT_EQ(ReadBackPixel(400, 300), 0xFF000000u);
  EXPECT_EQ(ReadBackPixel(800, 0), 0u);  // outside the screen
  EXPECT_EQ(ReadBackPixel(-1, 0), 0u);
}

TEST_F(HeadlessDisplay, ListsModesAndFindsFullScreenMode) {
  std::vector<DisplayMode> modes = ListDisplayModes();
  ASSERT_FALSE(modes.empty());
  EXPECT_TRUE(FullScreenModeExists(modes[0].width, modes[0].height, modes[0].depth));
  EXPECT_FALSE(FullScreenModeExists(modes[0].width, modes[0].height, 7));
}

TEST_F(HeadlessDisplay, RectLandsInVirtualUnitsAndClsClears) {
  SetColour(10, 200, 30);
  DrawRect(160, 160, 320, 160);  // real (100,100)-(300,200)
  EXPECT_PIXEL(101, 101, 10, 200, 30, 0);
  EXPECT_PIXEL(298, 198, 10, 200, 30, 0);
  EXPECT_PIXEL(97, 150, 0, 0, 0, 0);
  EXPECT_PIXEL(303, 150, 0, 0, 0, 0);
  EXPECT_PIXEL(200, 203, 0, 0, 0, 0);
  Cls();
  EXPECT_PIXEL(150, 150, 0, 0, 0, 0);
}

TEST_F(HeadlessDisplay, BlendKindsMixWithTheBackground) {
  SetBlend(BLEND_SOLID);
  SetColour(200, 100, 50);
  DrawRect(0, 0, 1280, 960);

  SetBlend(BLEND_ALPHA);  // src × a + dst × (1 − a)
  SetAlpha(0.5f);
  SetColour(0, 0, 250);
  DrawRect(0, 0, 320, 320);
  EXPECT_PIXEL(100, 100, 100, 50, 150, 2);

  SetBlend(BLEND_MULTIPLY);  // dst × src
  SetAlpha(1);
  SetColour(128, 255, 0);
  DrawRect(320, 0, 320, 320);
  EXPECT_PIXEL(300, 100, 100, 100, 0, 2);

  SetBlend(BLEND_ADD);  // src × a + dst, saturating
  SetAlpha(0.5f);
  SetColour(100, 255, 100);
  DrawRect(640, 0, 320, 320);
  EXPECT_PIXEL(500, 100, 250, 227, 100, 2);

  SetBlend(BLEND_SOLID);  // alpha ignored
  SetColour(1, 2, 3);
  DrawRect(960, 0, 320, 320);
  EXPECT_PIXEL(700, 100, 1, 2, 3, 0);

  EXPECT_PIXEL(400, 400, 200, 100, 50, 0);  // untouched
}

TEST_F(HeadlessDisplay, RotatedRectTurnsClockwiseAboutItsCorner) {
  SetRotation(90);
  DrawRect(640, 480, 160, 32);  // now spans x 608..640, y 480..640 (virtual)
  EXPECT_PIXEL(390, 350, 255, 255, 255, 0);
  EXPECT_PIXEL(450, 310, 0, 0, 0, 0);  // where it would lie unrotated
  EXPECT_PIXEL(405, 350, 0, 0, 0, 0);

  Cls();
  SetRotation(45);
  DrawRect(640, 480, 160, 160);  // a diamond hanging below its corner
  EXPECT_PIXEL(400, 300 + 60, 255, 255, 255, 0);
  EXPECT_PIXEL(400 + 40, 305, 0, 0, 0, 0);
}

TEST_F(HeadlessDisplay, ScaleGrowsRectFromItsCorner) {
  SetScale(2, 0.5f);
  DrawRect(160, 160, 160, 160);  // 320 × 80 virtual = real (100,100)-(300,150)
  EXPECT_PIXEL(290, 140, 255, 255, 255, 0);
  EXPECT_PIXEL(290, 160, 0, 0, 0, 0);
  EXPECT_PIXEL(310, 120, 0, 0, 0, 0);
}

TEST_F(HeadlessDisplay, LineDrawsOrSkipsItsLastPixel) {
  SetVirtualResolution(800, 600);
  DrawLine(10, 10, 20, 10, true);
  EXPECT_PIXEL(20, 10, 255, 255, 255, 0);
  Cls();
  DrawLine(10, 10, 20, 10, false);
  EXPECT_PIXEL(10, 10, 255, 255, 255, 0);
  EXPECT_PIXEL(19, 10, 255, 255, 255, 0);
  EXPECT_PIXEL(20, 10, 0, 0, 0, 0);
}

TEST_F(HeadlessDisplay, DrawingStateReadsBack) {
  SetColour(300, -4, 17);
  int r, g, b;
  GetColour(&r, &g, &b);
  EXPECT_EQ(r, 255);
  EXPECT_EQ(g, 0);
  EXPECT_EQ(b, 17);
  SetAlpha(0.25f);
  SetBlend(BLEND_MULTIPLY);
  SetBlend(9);  // unknown kinds leave the blend alone
  SetRotation(-30);
  SetScale(1.5f, -2);
  EXPECT_FLOAT_EQ(GetAlpha(), 0.25f);
  EXPECT_EQ(GetBlend(), BLEND_MULTIPLY);
  EXPECT_FLOAT_EQ(GetRotation(), -30);
  EXPECT_FLOAT_EQ(GetScaleX(), 1.5f);
  EXPECT_FLOAT_EQ(GetScaleY(), -2);
}

TEST_F(HeadlessDisplay, PacedFlipKeepsSixtyFramesPerSecondOfClock) {
  UseVirtualClock(true);
  Flip(-1);
  int start = Millisecs();
  for (int i = 0; i < 60; ++i) Flip(-1);
  EXPECT_NEAR(Millisecs() - start, 1000, 17);
  int before = Millisecs();
  Flip(0);  // never waits
  EXPECT_EQ(Millisecs(), before);
}

TEST_F(HeadlessDisplay, CloseDisplayStopsDrawingQuietly) {
  CloseDisplay();
  EXPECT_FALSE(DisplayOpen());
  DrawRect(0, 0, 10, 10);
  DrawLine(0, 0, 10, 10, true);
  Cls();
  Flip(0);
  MovePointer(5, 5);
  EXPECT_EQ(ReadBackPixel(0, 0), 0u);
  EXPECT_EQ(GrabPixmap(0, 0, 4, 4), 0);
  EXPECT_EQ(LoadImage("nothing.png", 0), 0);
}

TEST_F(HeadlessDisplay, ReopeningGivesAWorkingDisplay) {
  ASSERT_TRUE(OpenDisplay(640, 480, 0, 60));
  EXPECT_EQ(RealWidth(), 640);
  EXPECT_EQ(VirtW, 640);  // virtual size starts as the real one
  SetColour(0, 0, 255);
  DrawRect(0, 0, 10, 10);
  EXPECT_PIXEL(5, 5, 0, 0, 255, 0);
}

TEST_F(HeadlessDisplay, FullScreenOpensInAListedMode) {
  std::vector<DisplayMode> modes = ListDisplayModes();
  ASSERT_FALSE(modes.empty());
  ASSERT_TRUE(OpenDisplay(modes[0].width, modes[0].height, modes[0].depth, 60));
  EXPECT_EQ(RealWidth(), modes[0].width);
  SetColour(9, 9, 9);
  DrawRect(0, 0, 4, 4);
  EXPECT_PIXEL(1, 1, 9, 9, 9, 0);
}

TEST_F(HeadlessDisplay, MovedPointerReadsBackInVirtualUnits) {
  MovePointer(640, 480);
  EXPECT_NEAR(PointerX(), 640, 2);
  EXPECT_NEAR(PointerY(), 480, 2);
  MovePointer(1280, 960);  // the bottom-right corner, as the title screen does
  EXPECT_NEAR(PointerX(), 1280, 2);
  EXPECT_NEAR(PointerY(), 960, 2);
}
