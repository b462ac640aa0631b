// Drawing helpers: colour clamping, text alignment, sprite budgets, glow
// sprites and field extraction, checked by reading pixels back.
#include "frame/draw.h"

#include <cmath>
#include <utility>

#include "frame/frame_end.h"
#include "frame/settings_table.h"
#include "tests/support/headless.h"

TEST(DrawColour, ClampsAndTruncatesChannelsAndLeavesAlphaWhenOmitted) {
  OpenHeadlessDisplay();
  SetAlpha(0.5f);
  SetDrawColour(300, -5, 127.9f);
  int r, g, b;
  GetColour(&r, &g, &b);
  EXPECT_EQ(r, 255);
  EXPECT_EQ(g, 0);
  EXPECT_EQ(b, 127);
  EXPECT_FLOAT_EQ(GetAlpha(), 0.5f);
  // A fade that overshoots either end stops there.
  for (auto [given, set] : {std::pair{2.0f, 1.0f}, {-3.0f, 0.0f}, {NAN, 0.0f}}) {
    SetAlpha(0.5f);
    SetDrawColour(0, 0, 0, given);
    EXPECT_FLOAT_EQ(GetAlpha(), set) << given;
  }
}

TEST(DrawState, ResetRestoresDefaultsAndBadBlendKindsAreIgnored) {
  OpenHeadlessDisplay();
  SetDrawRotation(30);
  SetDrawScale(2, 3);
  SetBlendKind(3);
  SetBlendKind(7);
  EXPECT_EQ(GetBlend(), 3);
  ResetDrawState();
  EXPECT_FLOAT_EQ(GetRotation(), 0);
  EXPECT_FLOAT_EQ(GetScaleX(), 1);
  EXPECT_FLOAT_EQ(GetScaleY(), 1);
  EXPECT_EQ(GetBlend(), 1);
  SetDrawScale(4);
  EXPECT_FLOAT_EQ(GetScaleY(), 4);
}

TEST(ClampFloat, RaisesAndLowers) {
  EXPECT_FLOAT_EQ(ClampFloat(5, 0, 1), 1);
  EXPECT_FLOAT_EQ(ClampFloat(-5, 0, 1), 0);
  EXPECT_FLOAT_EQ(ClampFloat(0.25f, 0, 1), 0.25f);
}

TEST(FieldOf, SplitsOnTheSeparatorAndMarksMissingFields) {
  EXPECT_EQ(FieldOf("a|b|c", "|", 3, 0), "c");
  EXPECT_EQ(FieldOf("a|b", "|", 3, 0), "-+-");
  EXPECT_EQ(FieldOf("Frameskip|Slow System", "|", 1, 0), "Frameskip");
  EXPECT_EQ(FieldOf("Frameskip|Slow System", "|", 2, 0), "Slow System");
  EXPECT_EQ(FieldOf("no separator", "|", 2, 0), "no separator");
  EXPECT_EQ(FieldOf("  padded|x  ", "|", 1, 0), "padded");
  EXPECT_EQ(FieldOf("a||c", "|", 2, 0), "");
  EXPECT_EQ(FieldOf("one two|three", "|", 1, 1), "one");
}

// Counts the bright pixels of the back buffer in a box of real pixels.
static int LitPixels(int x0, int y0, int x1, int y1) {
  int lit = 0;
  for (int y = y0; y < y1; y++)
    for (int x = x0; x < x1; x++) lit += Red(ReadBackPixel(x, y)) > 128;
  return lit;
}

static int MakeWhiteSquare() {
  // A 16 x 16 white image, drawn from a rectangle grab: no files needed.
  Cls();
  SetColour(255, 255, 255);
  SetAlpha(1);
  DrawRect(0, 0, 16 * 1280 / 800.0f, 16 * 960 / 600.0f);
  int image = GrabImage(0, 0, 16, 16);
  SetImageHandle(image, 8, 8);  // sprites are centre-handled
  Cls();
  return image;
}

TEST(DrawSprite, BudgetRefusesDrawsPastTheLimitUntilTheNextFrame) {
  OpenHeadlessDisplay();
  int image = MakeWhiteSquare();
  ASSERT_NE(image, 0);
  BeginFrame(1);
  ResetDrawState();
  SpriteBudget[1] = 3;
  for (int i = 0; i < 5; i++) DrawSprite(image, 200 * i, 0, 0, 1);
  EXPECT_EQ(SpritesDrawn[1], 3);
  EXPECT_GT(LitPixels(0, 0, 8, 8), 0);                  // first sprite drawn
  EXPECT_EQ(LitPixels(3 * 125, 0, 3 * 125 + 8, 8), 0);  // fourth refused
  BeginFrame(1);
  EXPECT_EQ(SpritesDrawn[1], 0);
  DrawSprite(image, 600, 0, 0, 1);
  EXPECT_EQ(SpritesDrawn[1], 1);
}

TEST(DrawSprite, TopLeftPositionHonoursTheScale) {
  OpenHeadlessDisplay();
  int image = MakeWhiteSquare();
  BeginFrame(1);
  ResetDrawState();
  SetDrawScale(2);
  DrawSprite(image, 320, 320, 0, 1);  // covers virtual 320..352 = real 200..220
  EXPECT_GT(LitPixels(201, 201, 203, 203), 0);
  EXPECT_GT(LitPixels(217, 217, 219, 219), 0);
  EXPECT_EQ(LitPixels(222, 222, 226, 226), 0);
  EXPECT_EQ(LitPixels(195, 195, 199, 199), 0);
}

TEST(DrawSprite, SlowSystemDrawsOnlyOnShownFrames) {
  OpenHeadlessDisplay();
  int image = MakeWhiteSquare();
  Settings[7] = 1;
  FrameParity = 1;
  BeginFrame(1);
  DrawSprite(image, 0, 0, 0, 1);
  DrawGlowSprite(image, 0, 0, 0, 0, 2, 1);
  EXPECT_EQ(SpritesDrawn[1], 0);
  EXPECT_EQ(SpritesDrawn[2], 0);
  EXPECT_EQ(LitPixels(0, 0, 16, 16), 0);
  FrameParity = 0;
  DrawSprite(image, 0, 0, 0, 1);
  EXPECT_EQ(SpritesDrawn[1], 1);
  Settings[7] = 0;
}

TEST(DrawGlowSprite, DrawsAnEnlargedAdditiveCopyAndRestoresTheState) {
  OpenHeadlessDisplay();
  int image = MakeWhiteSquare();
  BeginFrame(1);
  ResetDrawState();
  SetAlpha(0.8f);
  SetDrawScale(1.5f, 2);
  SetBlendKind(0);
  SpriteBudget[1] = 0;  // main copy refused: only the glow shows
  DrawGlowSprite(image, 400, 400, 0, 0, 3, 1);
  EXPECT_EQ(SpritesDrawn[1], 0);
  EXPECT_EQ(SpritesDrawn[2], 1);
  EXPECT_FLOAT_EQ(GetScaleX(), 1.5f);
  EXPECT_FLOAT_EQ(GetScaleY(), 2);
  EXPECT_FLOAT_EQ(GetAlpha(), 0.8f);
  EXPECT_EQ(GetBlend(), 0);
  // The glow copy is centred on the main copy's centre, three times larger:
  // centre (412, 416) virtual = (257.5, 260) real; half size 36 x 48 virtual.
  EXPECT_GT(LitPixels(236, 232, 240, 236), 0);
  EXPECT_EQ(LitPixels(226, 220, 230, 224), 0);
}

TEST(DrawTextAligned, CentresAndRightAlignsByTheUnscaledWidth) {
  OpenHeadlessDisplay();
  int font = LoadFont(PLIMBO_BINARY_DIR "/Files/Common/SVBasicManual.ttf", 24, true);
  if (font == 0) GTEST_SKIP() << "fonts are not built";
  SetFont(font);
  ResetDrawState();
  std::string text = "MMMM";
  int width = TextWidth(text);
  ASSERT_GT(width, 8);
  BeginFrame(1);
  DrawTextAligned(640, 480, text, 2, 2);  // ends at x = 640, bottom at y = 480
  // Everything drawn lies left of and above the anchor point (real 400, 300).
  EXPECT_EQ(LitPixels(401, 250, 460, 320), 0);
  EXPECT_GT(LitPixels(400 - width * 800 / 1280, 300 - 24, 400, 300), 0);
}

TEST(MouseInBox, EdgesDoNotCount) {
  MouseX = 10;
  MouseY = 20;
  EXPECT_FALSE(MouseInBox(10, 0, 50, 50));
  EXPECT_FALSE(MouseInBox(0, 20, 50, 50));
  EXPECT_TRUE(MouseInBox(9, 19, 50, 50));
  EXPECT_FALSE(MouseInBox(0, 0, 10, 50));
}
