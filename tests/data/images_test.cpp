// The generated data folder: every image the game opens exists with the size
// and cell layout its loader cuts, masked images keep black for transparency
// only, the tiles join by the cave's neighbour table and the fonts load.
#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

struct Png {
  int w = 0, h = 0;
  std::vector<uint8_t> rgba;
  const uint8_t* At(int x, int y) const { return &rgba[(size_t(y) * w + x) * 4]; }
};

Png ReadPng(const std::string& path) {
  Png out;
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&img, path.c_str())) return out;
  img.format = PNG_FORMAT_RGBA;
  out.rgba.resize(PNG_IMAGE_SIZE(img));
  if (!png_image_finish_read(&img, nullptr, out.rgba.data(), 0, nullptr)) return out;
  out.w = int(img.width), out.h = int(img.height);
  return out;
}

// Cells are cut left to right, then top to bottom.
const uint8_t* CellPixel(const Png& p, int cell, int cw, int ch, int x, int y) {
  int perRow = p.w / cw;
  return p.At((cell % perRow) * cw + x, (cell / perRow) * ch + y);
}

void ExpectCells(const Png& p, int cw, int ch, int cells, const char* name) {
  ASSERT_GT(p.w, 0) << name << " is missing or unreadable";
  EXPECT_EQ(p.w % cw, 0) << name;
  EXPECT_EQ(p.h % ch, 0) << name;
  EXPECT_GE((p.w / cw) * (p.h / ch), cells) << name;
  EXPECT_LT((p.w / cw) * ((p.h / ch) - 1), cells) << name << " has a spare row of cells";
}

int OpaqueCount(const Png& p, int cell, int cw, int ch) {
  int n = 0;
  for (int y = 0; y < ch; y++)
    for (int x = 0; x < cw; x++) n += CellPixel(p, cell, cw, ch, x, y)[3] > 128;
  return n;
}

}  // namespace

TEST(DataImages, EveryImageHasTheLayoutItsLoaderCuts) {
  ExpectCells(ReadPng("Files/Common/icons.png"), 16, 16, 64, "icons.png");
  ExpectCells(ReadPng("Files/248/badges.png"), 64, 64, 16, "badges.png");
  ExpectCells(ReadPng("Files/248/gfx.png"), 64, 64, 16, "gfx.png");
  ExpectCells(ReadPng("Files/248/plimbo.png"), 64, 64, 100, "plimbo.png");
  Png darken = ReadPng("Files/248/darken.png");
  EXPECT_EQ(darken.w, 512);
  EXPECT_EQ(darken.h, 512);
  // Drawn at scale 2 and tiled every 960 pixels.
  Png bg = ReadPng("Files/248/bg.png");
  EXPECT_EQ(bg.w, 480);
  EXPECT_EQ(bg.h, 480);
  for (const char* name : {"Files/Common/logo.png", "Files/Common/Brimhall.png", "Files/248/tick.png"}) {
    Png p = ReadPng(name);
    EXPECT_GT(p.w, 0) << name;
    EXPECT_GT(p.h, 0) << name;
  }
  Png pickup = ReadPng("Files/248/iluvamiga.png");
  EXPECT_EQ(pickup.w, 64);
  EXPECT_EQ(pickup.h, 64);
}

TEST(DataImages, MaskedImagesUseBlackOnlyWhereTransparent) {
  for (const char* name :
       {"Files/Common/icons.png", "Files/Common/logo.png", "Files/Common/Brimhall.png", "Files/248/badges.png",
        "Files/248/gfx.png", "Files/248/plimbo.png", "Files/248/iluvamiga.png"}) {
    Png p = ReadPng(name);
    ASSERT_GT(p.w, 0) << name;
    int bad = 0;
    for (size_t i = 0; i < p.rgba.size(); i += 4) {
      bool black = p.rgba[i] == 0 && p.rgba[i + 1] == 0 && p.rgba[i + 2] == 0;
      bad += black != (p.rgba[i + 3] == 0);
    }
    EXPECT_EQ(bad, 0) << name;
  }
}

TEST(DataImages, BallFramesAreOneTurnOfAFullBall) {
  Png p = ReadPng("Files/248/plimbo.png");
  ASSERT_EQ(p.w % 64, 0);
  for (int f = 0; f < 100; f++) {
    EXPECT_GT(OpaqueCount(p, f, 64, 64), 2000) << "frame " << f;  // a ball nearly filling its cell
    EXPECT_EQ(CellPixel(p, f, 64, 64, 0, 0)[3], 0) << "frame " << f;
  }
  auto diff = [&](int a, int b) {
    long sum = 0;
    for (int y = 0; y < 64; y++)
      for (int x = 0; x < 64; x++)
        for (int k = 0; k < 3; k++)
          sum += std::abs(CellPixel(p, a, 64, 64, x, y)[k] - CellPixel(p, b, 64, 64, x, y)[k]);
    return sum;
  };
  // Neighbouring frames differ (the spin shows), and frame 89 leads smoothly back to 0.
  for (int f = 0; f < 89; f++) EXPECT_GT(diff(f, f + 1), 0) << "frame " << f;
  EXPECT_LT(diff(89, 0), diff(0, 45));
  EXPECT_GT(diff(89, 0), 0);
}

TEST(DataImages, TilesJoinByTheCaveNeighbourTable) {
  // Frame (0-based) drawn for each neighbour code: 2 above, 4 left, 8 right, 16 below.
  const int codeOf[16] = {24, 28, 20, 16, 26, 30, 22, 18, 10, 14, 6, 2, 8, 12, 4, 0};
  Png p = ReadPng("Files/248/gfx.png");
  ASSERT_GT(p.w, 0);
  for (int f = 0; f < 16; f++) {
    int code = codeOf[f];
    auto edgeOpaque = [&](int side) {  // side 0 top, 1 left, 2 right, 3 bottom
      int n = 0;                       // the middle of the side: corners belong to the sides next to it
      for (int i = 14; i < 50; i++) {
        int x = side == 1 ? 0 : side == 2 ? 63 : i, y = side == 0 ? 0 : side == 3 ? 63 : i;
        n += CellPixel(p, f, 64, 64, x, y)[3] == 255;
      }
      return n;
    };
    const int bits[4] = {2, 4, 8, 16};
    for (int side = 0; side < 4; side++) {
      if (code & bits[side]) EXPECT_EQ(edgeOpaque(side), 36) << "frame " << f << " side " << side << " must join";
      else EXPECT_EQ(edgeOpaque(side), 0) << "frame " << f << " side " << side << " must show an edge";
    }
    // Rock faces are light and neutral, so the cave tint decides their colour.
    const uint8_t* mid = CellPixel(p, f, 64, 64, 32, 32);
    EXPECT_GT(mid[0] + mid[1] + mid[2], 3 * 110) << "frame " << f;
    EXPECT_LT(std::abs(mid[0] - mid[2]), 40) << "frame " << f;
  }
}

TEST(DataImages, BackgroundRepeatsSeamlesslyAndStaysDark) {
  Png p = ReadPng("Files/248/bg.png");
  ASSERT_EQ(p.w, 480);
  auto columnStep = [&](int a, int b, bool rows) {
    double sum = 0;
    for (int i = 0; i < 480; i++)
      for (int k = 0; k < 3; k++)
        sum += std::abs((rows ? p.At(i, a) : p.At(a, i))[k] - (rows ? p.At(i, b) : p.At(b, i))[k]);
    return sum;
  };
  double inside = (columnStep(100, 101, false) + columnStep(300, 301, false)) / 2;
  EXPECT_LT(columnStep(479, 0, false), inside * 2.5);
  inside = (columnStep(100, 101, true) + columnStep(300, 301, true)) / 2;
  EXPECT_LT(columnStep(479, 0, true), inside * 2.5);
  double mean = 0;
  for (size_t i = 0; i < p.rgba.size(); i += 4) mean += (p.rgba[i] + p.rgba[i + 1] + p.rgba[i + 2]) / 3.0;
  EXPECT_LT(mean / (480 * 480), 80);
}

TEST(DataImages, VignetteIsWhiteInTheMiddleAndDarkAtTheEdges) {
  Png p = ReadPng("Files/248/darken.png");
  ASSERT_EQ(p.w, 512);
  EXPECT_GE(p.At(256, 256)[0], 250);
  EXPECT_LT(p.At(0, 0)[0], 100);
  EXPECT_LT(p.At(511, 256)[0], 128);
  EXPECT_GT(p.At(511, 256)[0], p.At(511, 0)[0] - 1);
}

TEST(DataImages, PointerTipSitsAtTheTopLeftOfFrame63) {
  Png p = ReadPng("Files/Common/icons.png");
  ASSERT_GT(p.w, 0);
  EXPECT_GT(CellPixel(p, 63, 16, 16, 0, 0)[3] + CellPixel(p, 63, 16, 16, 1, 1)[3], 200);
  EXPECT_EQ(CellPixel(p, 63, 16, 16, 15, 0)[3], 0);
  EXPECT_EQ(CellPixel(p, 63, 16, 16, 15, 15)[3], 0);
  // The frames the panels and the graph use are all drawn.
  for (int f : {3, 7, 8, 9, 10, 11, 12, 13, 14, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 63})
    EXPECT_GT(OpaqueCount(p, f, 16, 16), 12) << "icon " << f;
}

TEST(DataImages, BadgesAreSixteenDistinctPictures) {
  Png p = ReadPng("Files/248/badges.png");
  ASSERT_GT(p.w, 0);
  for (int a = 0; a < 16; a++) {
    EXPECT_GT(OpaqueCount(p, a, 64, 64), 1500) << "badge " << a;
    for (int b = a + 1; b < 16; b++) {
      long sum = 0;
      for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++)
          for (int k = 0; k < 4; k++)
            sum += std::abs(CellPixel(p, a, 64, 64, x, y)[k] - CellPixel(p, b, 64, 64, x, y)[k]);
      EXPECT_GT(sum, 64 * 64 * 10) << "badges " << a << " and " << b;
    }
  }
}

TEST(DataFonts, TheThreeFacesLoadFromTheCommonFolder) {
  FT_Library lib;
  ASSERT_EQ(FT_Init_FreeType(&lib), 0);
  for (const char* name : {"SVBasicManual.ttf", "Blue Highway.ttf", "Acknowledge TT QVX.ttf"}) {
    FT_Face face;
    std::string path = std::string("Files/Common/") + name;
    ASSERT_EQ(FT_New_Face(lib, path.c_str(), 0, &face), 0) << path;
    EXPECT_TRUE(FT_IS_SCALABLE(face)) << path;
    for (char ch : std::string("AZaz09%!?"))
      EXPECT_NE(FT_Get_Char_Index(face, FT_ULong(ch)), 0u) << path << " lacks '" << ch << "'";
    FT_Done_Face(face);
  }
  FT_Done_FreeType(lib);
}
