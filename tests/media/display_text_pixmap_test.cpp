// Fonts (measured and drawn), pixel maps, grabbed images and PNG saving.
#include <cstdio>
#include <fstream>

#include "tests/media/display_fixture.h"

namespace {

const char* kFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

bool HaveFont() { return std::ifstream(kFontPath).good(); }

// Counts lit pixels in a real-pixel rectangle.
int LitPixels(int x0, int y0, int x1, int y1) {
  int pixmap = GrabPixmap(x0, y0, x1 - x0, y1 - y0);
  int lit = 0;
  for (int y = 0; y < y1 - y0; ++y)
    for (int x = 0; x < x1 - x0; ++x) lit += (PixmapPixel(pixmap, x, y) & 0xFFFFFF) != 0;
  FreePixmap(pixmap);
  return lit;
}

long FileSize(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  return in ? long(in.tellg()) : -1;
}

}  // namespace

TEST_F(HeadlessDisplay, FontMeasuresAndDrawsText) {
  if (!HaveFont()) GTEST_SKIP() << "no DejaVu font installed";
  int font = LoadFont(kFontPath, 32, true);
  ASSERT_NE(font, 0);
  EXPECT_EQ(CurrentFont(), 0);
  EXPECT_EQ(TextWidth("abc"), 0);  // no font chosen yet
  SetFont(font);
  EXPECT_EQ(CurrentFont(), font);
  int i = TextWidth("i"), m = TextWidth("M");
  EXPECT_GT(i, 0);
  EXPECT_GT(m, i);
  EXPECT_EQ(TextWidth("iMi"), 2 * i + m);
  EXPECT_EQ(TextWidth(""), 0);
  EXPECT_GE(FontHeight(), 32);
  EXPECT_LT(FontHeight(), 48);
  SetScale(3, 3);
  EXPECT_EQ(TextWidth("iMi"), 2 * i + m);  // width ignores the scale

  SetScale(1, 1);
  DrawText("Hello", 160, 160);  // real (100,100) onwards
  int width = TextWidth("Hello") * 5 / 8 + 2, height = FontHeight() * 5 / 8 + 2;
  EXPECT_GT(LitPixels(100, 100, 100 + width, 100 + height), 40);
  EXPECT_EQ(LitPixels(0, 0, 800, 98), 0);
  EXPECT_EQ(LitPixels(100 + width, 0, 800, 600), 0);

  // Text starting left of the window keeps only its visible part.
  Cls();
  DrawText("Hello", -TextWidth("He"), 160);
  EXPECT_GT(LitPixels(0, 100, width, 100 + height), 20);
  EXPECT_EQ(LitPixels(width, 0, 800, 600), 0);

  // Turned a quarter clockwise about its top-left point, text runs down.
  Cls();
  SetRotation(90);
  DrawText("Hello", 640, 160);
  EXPECT_GT(LitPixels(400 - height, 100, 400, 100 + width), 40);
  EXPECT_EQ(LitPixels(401, 0, 800, 600), 0);
}

// Green text added onto red must come out yellow, straight or turned.
TEST_F(HeadlessDisplay, TextTakesTheDrawingColourAndBlend) {
  if (!HaveFont()) GTEST_SKIP() << "no DejaVu font installed";
  int font = LoadFont(kFontPath, 96, false);  // mono: full-strength pixels
  ASSERT_NE(font, 0);
  SetFont(font);
  for (float angle : {0.0f, 30.0f}) {
    SetBlend(BLEND_SOLID);
    SetRotation(0);
    SetColour(255, 0, 0);
    DrawRect(0, 0, 1280, 960);
    SetBlend(BLEND_ADD);
    SetColour(0, 255, 0);
    SetRotation(angle);
    DrawText("\xDB", 40, 0);  // Latin-1 U with circumflex: a byte above 127
    int pixmap = GrabPixmap(0, 0, 200, 200);
    int yellow = 0, other = 0;
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 200; ++x) {
        uint32_t c = PixmapPixel(pixmap, x, y) & 0xFFFFFF;
        yellow += c == 0xFFFF00;
        other += c != 0xFF0000 && c != 0xFFFF00;
      }
    EXPECT_GT(yellow, 100) << angle;
    EXPECT_LT(other, yellow / 10) << angle;  // a turned glyph's edges may blend
  }
}

TEST_F(HeadlessDisplay, BadFontsGiveZero) {
  EXPECT_EQ(LoadFont("no such font.ttf", 20, true), 0);
  std::string path = TempPath("junk.ttf");
  {
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < 4096; ++i) out.put(char(i * 37 + 11));
  }
  EXPECT_EQ(LoadFont(path, 20, true), 0);
  std::remove(path.c_str());
  if (HaveFont()) {
    EXPECT_EQ(LoadFont(kFontPath, 0, true), 0);
  }
  SetFont(12345);
  EXPECT_EQ(CurrentFont(), 0);
  DrawText("nothing", 0, 0);
  EXPECT_EQ(FontHeight(), 0);
}

TEST_F(HeadlessDisplay, CloseDisplayDropsFonts) {
  if (!HaveFont()) GTEST_SKIP() << "no DejaVu font installed";
  int font = LoadFont(kFontPath, 20, true);
  SetFont(font);
  CloseDisplay();
  EXPECT_EQ(CurrentFont(), 0);
  EXPECT_EQ(TextWidth("abc"), 0);
  ASSERT_TRUE(OpenDisplay(800, 600, 0, 60));
  int again = LoadFont(kFontPath, 20, true);
  EXPECT_NE(again, font);
  SetFont(font);
  EXPECT_EQ(CurrentFont(), 0);
}

TEST_F(HeadlessDisplay, PixmapGrabsRealPixelsAndClipsTheScreen) {
  SetColour(255, 0, 0);
  DrawRect(0, 0, 16, 16);  // real 10 × 10 at the origin
  int pixmap = GrabPixmap(-5, -5, 20, 20);
  ASSERT_NE(pixmap, 0);
  EXPECT_EQ(PixmapWidth(pixmap), 20);
  EXPECT_EQ(PixmapHeight(pixmap), 20);
  EXPECT_EQ(PixmapPixel(pixmap, 0, 0), 0xFF000000u);  // off screen
  EXPECT_EQ(PixmapPixel(pixmap, 5, 5), 0xFFFF0000u);
  EXPECT_EQ(PixmapPixel(pixmap, 14, 14), 0xFFFF0000u);
  EXPECT_EQ(PixmapPixel(pixmap, 15, 15), 0xFF000000u);
  EXPECT_EQ(PixmapPixel(pixmap, 20, 0), 0u);
  FreePixmap(pixmap);
  EXPECT_EQ(PixmapWidth(pixmap), 0);
  EXPECT_FALSE(SavePixmapPNG(pixmap, TempPath("x.png"), 9));
}

TEST_F(HeadlessDisplay, SavedPngReloadsPixelForPixel) {
  SetVirtualResolution(800, 600);
  for (int i = 0; i < 8; ++i) {
    SetColour(i * 30, 255 - i * 30, (i * 77) & 255);
    DrawRect(float(i * 8), 0, 8, 8 + i);
  }
  std::string small = TempPath("l9.png"), large = TempPath("l0.png");
  int pixmap = GrabPixmap(0, 0, 64, 16);
  ASSERT_TRUE(SavePixmapPNG(pixmap, small, 9));
  ASSERT_TRUE(SavePixmapPNG(pixmap, large, 0));
  EXPECT_LT(FileSize(small), FileSize(large));

  int image = LoadImage(small, 0);
  ASSERT_NE(image, 0);
  EXPECT_EQ(ImageWidth(image), 64);
  Cls();
  SetColour(255, 255, 255);
  DrawImage(image, 100, 100, 0);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 64; ++x) ASSERT_EQ(ReadBackPixel(100 + x, 100 + y), PixmapPixel(pixmap, x, y)) << x << "," << y;
  std::remove(small.c_str());
  std::remove(large.c_str());
}

TEST_F(HeadlessDisplay, SaveToAnUnwritablePlaceFailsAndLeavesNothing) {
  int pixmap = GrabPixmap(0, 0, 8, 8);
  std::string path = TempPath("no_such_folder/shot.png");
  EXPECT_FALSE(SavePixmapPNG(pixmap, path, 9));
  EXPECT_LT(FileSize(path), 0);
}

TEST_F(HeadlessDisplay, GrabbedImageRedrawsTheScreen) {
  SetColour(0, 0, 255);
  DrawRect(0, 0, 1280, 480);  // top half blue
  int image = GrabImage(0, 0, 800, 600);
  ASSERT_NE(image, 0);
  EXPECT_EQ(ImageWidth(image), 800);
  EXPECT_EQ(ImageHeight(image), 600);
  Cls();
  SetColour(255, 255, 255);
  SetScale(1280.0f / 800, 960.0f / 600);  // real pixels back onto the virtual screen
  DrawImage(image, 0, 0, 0);
  EXPECT_PIXEL(400, 100, 0, 0, 255, 0);
  EXPECT_PIXEL(400, 500, 0, 0, 0, 0);
}
