// Images: loading, masks, strips, handles, tint, rotation, collisions and
// stale handles, checked by reading the back buffer.
#include <cstdio>
#include <fstream>

#include "tests/media/display_fixture.h"

namespace {
constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;
}

TEST_F(HeadlessDisplay, MaskedImageLeavesBlackTransparent) {
  std::vector<uint32_t> px(16 * 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) px[y * 16 + x] = x < 8 ? kRed : kBlack;
  std::string path = TempPath("half.png");
  WriteTestPng(path, 16, 16, px);
  int masked = LoadImage(path, IMAGE_MASKED);
  int plain = LoadImage(path, 0);
  std::remove(path.c_str());
  ASSERT_NE(masked, 0);
  ASSERT_NE(plain, 0);
  EXPECT_EQ(ImageWidth(masked), 16);
  EXPECT_EQ(ImageFrames(masked), 1);

  SetColour(0, 0, 255);
  DrawRect(0, 0, 1280, 960);
  SetColour(255, 255, 255);
  SetScale(8, 8);  // 128 virtual = 80 real pixels
  DrawImage(masked, 0, 0, 0);
  DrawImage(plain, 640, 0, 0);
  EXPECT_PIXEL(20, 20, 255, 0, 0, 0);
  EXPECT_PIXEL(60, 20, 0, 0, 255, 0);  // black masked out: blue shows through
  EXPECT_PIXEL(460, 20, 0, 0, 0, 0);   // unmasked black stays
}

TEST_F(HeadlessDisplay, ColourTintsAndAlphaFadesImages) {
  std::string path = TempPath("white.png");
  WriteSolidPng(path, 8, 8, kWhite);
  int image = LoadImage(path, 0);
  std::remove(path.c_str());
  ASSERT_NE(image, 0);
  SetScale(8, 8);
  SetColour(255, 128, 0);
  DrawImage(image, 0, 0, 0);
  EXPECT_PIXEL(20, 20, 255, 128, 0, 1);
  SetColour(255, 255, 255);
  SetAlpha(0.5f);
  DrawImage(image, 160, 0, 0);
  EXPECT_PIXEL(120, 20, 128, 128, 128, 2);
}

TEST_F(HeadlessDisplay, StripCutsCellsRowByRowFromFirstCell) {
  // A 2 × 2 sheet of 8 × 8 cells: red, green / blue, white.
  std::vector<uint32_t> px(16 * 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) px[y * 16 + x] = y < 8 ? (x < 8 ? kRed : kGreen) : (x < 8 ? kBlue : kWhite);
  std::string path = TempPath("sheet.png");
  WriteTestPng(path, 16, 16, px);
  int strip = LoadImageStrip(path, 8, 8, 1, 3, 0);
  EXPECT_EQ(LoadImageStrip(path, 8, 8, 2, 3, 0), 0);  // runs past the sheet
  EXPECT_EQ(LoadImageStrip(path, 0, 8, 0, 1, 0), 0);
  EXPECT_EQ(LoadImageStrip(path, 32, 8, 0, 1, 0), 0);
  std::remove(path.c_str());
  ASSERT_NE(strip, 0);
  EXPECT_EQ(ImageFrames(strip), 3);
  EXPECT_EQ(ImageWidth(strip), 8);
  EXPECT_EQ(ImageHeight(strip), 8);

  SetScale(16, 16);  // one frame = 128 virtual = 80 real
  DrawImage(strip, 0, 0, 0);
  DrawImage(strip, 256, 0, 1);
  DrawImage(strip, 512, 0, 2);
  DrawImage(strip, 768, 0, 3);  // no such frame: nothing
  DrawImage(strip, 768, 0, -1);
  EXPECT_PIXEL(40, 40, 0, 255, 0, 0);
  EXPECT_PIXEL(200, 40, 0, 0, 255, 0);
  EXPECT_PIXEL(360, 40, 255, 255, 255, 0);
  EXPECT_PIXEL(520, 40, 0, 0, 0, 0);
  // Neighbouring cells do not bleed into a frame's edges.
  EXPECT_PIXEL(160 + 79, 40, 0, 0, 255, 0);
}

TEST_F(HeadlessDisplay, HandlePointLandsOnTheDrawPosition) {
  std::string path = TempPath("square.png");
  WriteSolidPng(path, 16, 16, kGreen);
  int corner = LoadImage(path, 0);
  AutoCentre(true);
  int centred = LoadImage(path, 0);
  AutoCentre(false);
  std::remove(path.c_str());
  SetScale(8, 8);  // 128 virtual, 80 real

  DrawImage(centred, 640, 480, 0);  // real (360,260)-(440,340)
  EXPECT_PIXEL(362, 262, 0, 255, 0, 0);
  EXPECT_PIXEL(438, 338, 0, 255, 0, 0);
  EXPECT_PIXEL(357, 300, 0, 0, 0, 0);
  EXPECT_PIXEL(443, 300, 0, 0, 0, 0);

  Cls();
  DrawImage(corner, 640, 480, 0);  // real (400,300)-(480,380)
  EXPECT_PIXEL(402, 302, 0, 255, 0, 0);
  EXPECT_PIXEL(397, 302, 0, 0, 0, 0);

  Cls();
  SetImageHandle(corner, 16, 16);  // bottom-right corner on the point
  DrawImage(corner, 640, 480, 0);
  EXPECT_PIXEL(398, 298, 0, 255, 0, 0);
  EXPECT_PIXEL(402, 302, 0, 0, 0, 0);
}

TEST_F(HeadlessDisplay, ImageRotatesAndMirrorsAboutItsHandle) {
  std::string path = TempPath("bar.png");
  WriteSolidPng(path, 32, 8, kRed);
  int bar = LoadImage(path, 0);
  std::remove(path.c_str());
  SetScale(4, 4);  // 128 × 32 virtual
  SetRotation(90);
  DrawImage(bar, 640, 480, 0);  // hangs down: x 608..640, y 480..608
  EXPECT_PIXEL(390, 360, 255, 0, 0, 0);
  EXPECT_PIXEL(450, 310, 0, 0, 0, 0);

  Cls();
  SetRotation(0);
  SetScale(-4, 4);  // mirrored: extends to the left of the handle
  DrawImage(bar, 640, 480, 0);
  EXPECT_PIXEL(350, 310, 255, 0, 0, 0);
  EXPECT_PIXEL(410, 310, 0, 0, 0, 0);
}

TEST_F(HeadlessDisplay, CollisionNeedsOverlappingOpaquePixels) {
  std::string solid = TempPath("solid.png"), edge = TempPath("edge.png");
  WriteSolidPng(solid, 8, 8, kWhite);
  std::vector<uint32_t> px(64, kBlack);  // masked: only the right column is opaque
  for (int y = 0; y < 8; ++y) px[y * 8 + 7] = kWhite;
  WriteTestPng(edge, 8, 8, px);
  int a = LoadImage(solid, 0);
  int b = LoadImage(edge, IMAGE_MASKED);
  AutoCentre(true);
  int c = LoadImage(solid, 0);
  std::remove(solid.c_str());
  std::remove(edge.c_str());

  EXPECT_TRUE(ImagesCollide(a, 0, 0, 0, a, 7, 7, 0));
  EXPECT_FALSE(ImagesCollide(a, 0, 0, 0, a, 8, 0, 0));  // side by side
  EXPECT_FALSE(ImagesCollide(a, 0, 0, 0, a, 0, -8, 0));
  EXPECT_TRUE(ImagesCollide(a, 0, 0, 0, b, -7, 0, 0));  // B's opaque column on A's first
  EXPECT_FALSE(ImagesCollide(a, 0, 0, 0, b, -8, 0, 0));
  EXPECT_FALSE(ImagesCollide(a, 0, 0, 0, b, 1, 0, 0));  // B's opaque column just past A
  EXPECT_TRUE(ImagesCollide(a, 0, 0, 0, b, 0, 0, 0));
  // Centred handles: C at (4,4) covers 0..8 like A at the origin.
  EXPECT_TRUE(ImagesCollide(c, 11.5f, 4, 0, a, 0, 0, 0));
  EXPECT_FALSE(ImagesCollide(c, 12, 4, 0, a, 0, 0, 0));
  EXPECT_FALSE(ImagesCollide(a, 0, 0, 1, a, 0, 0, 0));  // no such frame
  EXPECT_FALSE(ImagesCollide(0, 0, 0, 0, a, 0, 0, 0));
}

TEST_F(HeadlessDisplay, StaleHandlesDoNothing) {
  std::string path = TempPath("one.png");
  WriteSolidPng(path, 4, 4, kWhite);
  int image = LoadImage(path, 0);
  ASSERT_NE(image, 0);
  FreeImage(image);
  EXPECT_EQ(ImageWidth(image), 0);
  DrawImage(image, 0, 0, 0);
  SetImageHandle(image, 1, 1);
  FreeImage(image);
  EXPECT_EQ(ReadBackPixel(0, 0), kBlack);

  int kept = LoadImage(path, 0);
  ASSERT_TRUE(OpenDisplay(800, 600, 0, 60));  // a new display drops every image
  EXPECT_EQ(ImageWidth(kept), 0);
  int fresh = LoadImage(path, 0);
  std::remove(path.c_str());
  EXPECT_NE(fresh, 0);
  EXPECT_NE(fresh, kept);
  EXPECT_NE(fresh, image);
  EXPECT_EQ(ImageWidth(kept), 0);
  EXPECT_EQ(ImageWidth(0), 0);
  DrawImage(0, 0, 0, 0);
}

TEST_F(HeadlessDisplay, MissingOrDamagedPngGivesZero) {
  EXPECT_EQ(LoadImage(TempPath("absent.png"), 0), 0);
  std::string path = TempPath("cut.png");
  WriteSolidPng(path, 32, 32, kRed);
  std::string bytes;
  {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), {});
  }
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size() / 2));
  }
  EXPECT_EQ(LoadImage(path, 0), 0);
  EXPECT_EQ(LoadImageStrip(path, 8, 8, 0, 4, 0), 0);
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "not a picture at all";
  }
  EXPECT_EQ(LoadImage(path, 0), 0);
  std::remove(path.c_str());
}

// An image drawn at the same size and colour frame after frame is drawn
// from a kept copy (stretched, tinted) from the second time on, by faster
// loops; the picture must be the one the first, direct draw gave.
TEST_F(HeadlessDisplay, KeptCopiesDrawLikeTheFirstDraw) {
  std::vector<uint32_t> noise(40 * 30);
  uint32_t seed = 12345;
  for (uint32_t& p : noise) p = seed = seed * 1664525u + 1013904223u;
  for (size_t i = 0; i < noise.size(); i += 7) noise[i] |= 0xFF000000u;  // some opaque texels
  std::string path = TempPath("noise.png");
  WriteTestPng(path, 40, 30, noise);
  int image = LoadImage(path, IMAGE_FILTERED), under = LoadImage(path, 0);
  std::remove(path.c_str());
  ASSERT_NE(image, 0);
  struct Case {
    int blend;
    int r, g, b;
    float alpha, rotation, scale;
  } cases[] = {
      {BLEND_MULTIPLY, 255, 255, 255, 1, 0, 3.3f}, {BLEND_MULTIPLY, 200, 90, 255, 1, 0, 2.7f},
      {BLEND_MULTIPLY, 255, 255, 255, 0.6f, 0, 3}, {BLEND_ALPHA, 150, 250, 100, 1, 0, 2.5f},
      {BLEND_ALPHA, 150, 250, 100, 0.4f, 0, 1},    {BLEND_ALPHA, 100, 200, 250, 1, 33, 2},
      {BLEND_ADD, 250, 50, 150, 0.7f, 0, 1.5f},    {BLEND_ALPHA, 255, 255, 255, 1, 0, 2.2f},
  };
  for (const Case& c : cases) {
    std::vector<uint32_t> first;
    for (int draw = 1; draw <= 3; draw++) {
      SetRotation(0), SetAlpha(1), SetColour(255, 255, 255), SetBlend(BLEND_SOLID), SetScale(8, 8);
      DrawImage(under, 0, 0, 0);
      SetBlend(c.blend), SetColour(c.r, c.g, c.b), SetAlpha(c.alpha), SetRotation(c.rotation),
          SetScale(c.scale, c.scale);
      DrawImage(image, 37, 23, 0);
      std::vector<uint32_t> shown;
      for (int y = 0; y < 110; y++)
        for (int x = 0; x < 110; x++) shown.push_back(ReadBackPixel(x, y));
      if (draw == 1) first = shown;
      else EXPECT_EQ(shown, first) << "blend " << c.blend << " scale " << c.scale << " draw " << draw;
    }
  }
}
