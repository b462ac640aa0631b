// artgen: fills the game's data folder with generated art and sound.
//   artgen <data folder>                 writes Common/, 248/ and 248/music/
//   artgen --icons <folder>              also writes the desktop icons, as
//                                        <folder>/<N>x<N>/apps/plimbo-direr.png
//   artgen --contact-sheet out.png       every image and frame on one labelled page
//   artgen --mock-cave out.png           a game-sized scene to judge the art together
// Fonts are read from <data folder>/Common (default "Files"), where the build
// copies them before running this.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "artgen.h"

static bool Save(const Image& img, const std::string& path) { return WritePng(img, path); }

static bool WriteData(const std::string& root) {
  namespace fs = std::filesystem;
  std::string common = root + "/Common/", game = root + "/248/", music = game + "music/";
  std::error_code ec;
  fs::create_directories(music, ec);
  fs::create_directories(common, ec);
  bool ok = true;
  ok &= Save(Sheet(IconFrames(), 8), common + "icons.png");
  ok &= Save(GameLogo(), common + "logo.png");
  ok &= Save(CommunityLogo(), common + "Brimhall.png");
  ok &= WriteWav(BadgeJingle(), 0.8f, common + "badgeget.wav");
  ok &= Save(Sheet(BadgeFrames(), 4), game + "badges.png");
  ok &= Save(Vignette(), game + "darken.png");
  ok &= Save(Background(), game + "bg.png");
  ok &= Save(Sheet(TileFrames(), 4), game + "gfx.png");
  ok &= Save(Sheet(BallFrames(), 10), game + "plimbo.png");
  ok &= Save(TimerDial(), game + "tick.png");
  ok &= Save(Pickup(), game + "iluvamiga.png");
  ok &= Save(AppIcons({128})[0], game + "icon.png");  // the window's icon
  // Frequent effects (landing, wall) sit lower than the rare, important ones.
  const float peaks[8] = {0, 0.7f, 0.55f, 0.8f, 0.6f, 0.8f, 0.85f, 0.9f};
  for (int i = 1; i <= 7; i++) {
    char name[16];
    std::snprintf(name, sizeof name, "%03d.wav", i);
    ok &= WriteWav(Effect(i), peaks[i], game + name);
  }
  // Drum levels as a drummer would balance them: hats and cymbals under the kick.
  const float drumPeaks[2][8] = {{0.85f, 0.7f, 0.35f, 0.35f, 0.7f, 0.65f, 0.6f, 0.4f},
                                 {0.85f, 0.5f, 0.35f, 0.4f, 0.6f, 0.55f, 0.5f, 0.45f}};
  for (int kit = 1; kit <= 2; kit++)
    for (int hit = 1; hit <= 8; hit++)
      ok &= WriteWav(DrumHit(kit, hit), drumPeaks[kit - 1][hit - 1],
                     music + "d" + std::to_string(kit) + "-" + std::to_string(hit) + ".wav");
  for (const char* part : {"bass", "lead", "accompany"})
    for (int k = 1; k <= 4; k++) ok &= WriteWav(MusicLoop(part, k), 0.8f, music + part + std::to_string(k) + ".wav");
  return ok;
}

// The sizes a desktop's icon theme asks for most, in the folders of the
// hicolor theme.
static bool WriteDesktopIcons(const std::string& folder) {
  const std::vector<int> sizes = {48, 128, 256};
  std::vector<Image> icons = AppIcons(sizes);
  bool ok = true;
  for (size_t i = 0; i < sizes.size(); i++) {
    std::string n = std::to_string(sizes[i]), apps = folder + "/" + n + "x" + n + "/apps/";
    std::error_code ec;
    std::filesystem::create_directories(apps, ec);
    ok &= Save(icons[i], apps + "plimbo-direr.png");
  }
  return ok;
}

static void Checker(Image& img) {
  for (int y = 0; y < img.h; y++)
    for (int x = 0; x < img.w; x++) {
      float v = ((x / 8 + y / 8) & 1) ? 0.42f : 0.52f;
      SetPixel(img, x, y, {v, v, v, 1});
    }
}

static void Label(Image& page, int x, int y, const std::string& text, int size = 16) {
  Image t = RenderText(FontPath("SVBasicManual.ttf"), size, text);
  DrawImage(page, t, x, y, {1, 1, 0.6f, 1});
}

// Lays frames out in rows at `scale`, each with its number underneath.
static int FrameGrid(Image& page, int x, int y, const std::vector<Image>& frames, int perRow, float scale, int gap) {
  int cw = int(frames[0].w * scale) + gap, ch = int(frames[0].h * scale) + 14;
  for (size_t i = 0; i < frames.size(); i++) {
    int fx = x + int(i % perRow) * cw, fy = y + int(i / perRow) * ch;
    DrawScaled(page, frames[i], float(fx), float(fy), scale);
    Label(page, fx, fy + int(frames[0].h * scale), std::to_string(i), 11);
  }
  return y + int((frames.size() + perRow - 1) / perRow) * ch;
}

static Image ContactSheet() {
  Image page = NewImage(1900, 2050);
  Checker(page);
  Label(page, 10, 6, "icons.png (x3)", 20);
  FrameGrid(page, 10, 34, IconFrames(), 8, 3, 6);
  Label(page, 440, 6, "gfx.png", 20);
  FrameGrid(page, 440, 34, TileFrames(), 4, 1, 6);
  Label(page, 440, 360, "gfx.png joined", 20);
  std::vector<Image> tiles = TileFrames();
  for (int i = 0; i < 16; i++) DrawImage(page, tiles[i], 440 + (i % 4) * 64, 390 + (i / 4) * 64);
  Label(page, 740, 6, "badges.png", 20);
  FrameGrid(page, 740, 34, BadgeFrames(), 4, 1, 6);
  Label(page, 740, 360, "badges at panel size", 20);
  std::vector<Image> badges = BadgeFrames();
  for (int i = 0; i < 16; i++) DrawScaled(page, badges[i], 740.0f + i * 20, 392, 0.28f);
  Label(page, 1040, 6, "tick.png / iluvamiga.png", 20);
  DrawImage(page, TimerDial(), 1040, 34);
  DrawImage(page, Pickup(), 1120, 34);
  DrawImage(page, Pickup(), 1200, 34, {1, 1, 1, 0.4f});
  DrawScaled(page, Pickup(), 1270, 50, 0.5f);
  DrawScaled(page, Pickup(), 1310, 58, 0.25f);
  Label(page, 1040, 110, "logo.png / Brimhall.png", 20);
  DrawImage(page, GameLogo(), 1040, 136);
  DrawImage(page, CommunityLogo(), 1040, 400);
  Label(page, 10, 610, "plimbo.png (ghost tint on the right)", 20);
  std::vector<Image> ball = BallFrames();
  FrameGrid(page, 10, 640, ball, 20, 1, 8);
  for (int i = 0; i < 10; i++)
    DrawImage(page, ball[i * 9], 1460 + (i % 5) * 80, 640 + (i / 5) * 80, {1, 200 / 255.0f, 200 / 255.0f, 0.75f});
  Label(page, 10, 1060, "bg.png", 20);
  DrawImage(page, Background(), 10, 1090);
  Label(page, 500, 1060, "darken.png", 20);
  DrawImage(page, Vignette(), 500, 1090);
  Label(page, 1020, 1060, "fonts", 20);
  Label(page, 1020, 1090, "SVBasicManual: Press Start (Z) To Begin 0123", 24);
  Image title = RenderText(FontPath("Blue Highway.ttf"), 72, "Game Over");
  DrawImage(page, title, 1020, 1130, {1, 1, 0.3f, 1});
  Image third = RenderText(FontPath("Acknowledge TT QVX.ttf"), 64, "Plimbo Direr 42%");
  DrawImage(page, third, 1020, 1230, {0.6f, 0.9f, 1, 1});
  return page;
}

// A game-sized scene composed the way the game draws it: tinted background at
// scale 2, tinted rock, pickups, ball, a ghost, the vignette and the timer.
static Image MockCave() {
  const int W = 1280, H = 960, CW = 20, CH = 15;
  Rng rng{2024};
  std::vector<int> cell(CW * CH, 0);
  auto at = [&](int x, int y) -> int& { return cell[y * CW + x]; };
  for (int x = 0; x < CW; x++) at(x, CH - 1) = at(x, CH - 2) = 1;
  for (int y = 0; y < CH; y++) at(0, y) = at(CW - 1, y) = 1;
  for (int x = 0; x < CW; x++) at(x, 0) = 1;
  for (int y = 3; y < CH - 3; y += 3)
    for (int n = 0; n < 2; n++) {
      int x0 = int(rng.Next() % CW), len = 2 + int(rng.Next() % 5);
      for (int k = 0; k <= len && x0 + k < CW - 1; k++) at(x0 + k, y) = 1;
    }
  float tint[3] = {250 / 255.0f, 150 / 255.0f, 100 / 255.0f};
  Image page = NewImage(W, H, {0, 0, 0, 1});
  Image bg = Background();
  for (int y = 0; y < H; y++)
    for (int x = 0; x < W; x++) {
      Colour c = Pixel(bg, ((x + 300) / 2) % bg.w, ((y + 200) / 2) % bg.h);
      SetPixel(page, x, y, {c.r * tint[0], c.g * tint[1], c.b * tint[2], 1});
    }
  static const int frameOf[32] = {16, 0, 12, 0, 15, 0, 11, 0, 13, 0, 9, 0, 14, 0, 10, 0,
                                  4,  0, 8,  0, 3,  0, 7,  0, 1,  0, 5, 0, 2,  0, 6};
  std::vector<Image> tiles = TileFrames();
  Image pickup = Pickup();
  for (int y = 0; y < CH; y++)
    for (int x = 0; x < CW; x++) {
      if (!at(x, y)) {
        if (y + 1 < CH && at(x, y + 1) && y > 1 && (x * 7 + y) % 5 == 0) DrawImage(page, pickup, x * 64, y * 64);
        continue;
      }
      int code = (y > 0 && at(x, y - 1) ? 2 : 0) + (x > 0 && at(x - 1, y) ? 4 : 0) +
                 (x < CW - 1 && at(x + 1, y) ? 8 : 0) + (y < CH - 1 && at(x, y + 1) ? 16 : 0);
      DrawImage(page, tiles[frameOf[code] - 1], x * 64, y * 64, {tint[1], tint[2], tint[0], 1});
    }
  std::vector<Image> ball = BallFrames();
  DrawImage(page, ball[20], 9 * 64 + 10, 7 * 64, {1, 200 / 255.0f, 200 / 255.0f, 0.75f});
  DrawImage(page, ball[20], 9 * 64 - 20, 7 * 64 + 30, {1, 200 / 255.0f, 200 / 255.0f, 0.2f});
  DrawImage(page, ball[0], 6 * 64, 9 * 64 + 20);
  for (int i = 0; i < 5; i++) DrawScaled(page, pickup, 450.0f + i * 9, 560.0f - i * 6, 1 - i * 0.2f);
  Image vig = Vignette();
  for (int y = 0; y < H; y++)
    for (int x = 0; x < W; x++) {
      float sx = (x - (W / 2 - 256 * 3.3f)) / 3.3f, sy = (y - (H / 2 - 256 * 3.3f)) / 3.3f;
      Colour v = Pixel(vig, std::min(511, std::max(0, int(sx))), std::min(511, std::max(0, int(sy))));
      Colour c = Pixel(page, x, y);
      SetPixel(page, x, y, {c.r * v.r, c.g * v.g, c.b * v.b, 1});
    }
  DrawImage(page, TimerDial(), 8, 8, {1, 1, 1, 0.8f});
  Image pct = RenderText(FontPath("SVBasicManual.ttf"), 32, "42%");
  DrawImage(page, pct, 40, 84);
  return page;
}

int main(int argc, char** argv) {
  std::string root = "Files", sheet, mock, icons;
  for (int i = 1; i < argc; i++) {
    if (!std::strcmp(argv[i], "--contact-sheet") && i + 1 < argc) sheet = argv[++i];
    else if (!std::strcmp(argv[i], "--mock-cave") && i + 1 < argc) mock = argv[++i];
    else if (!std::strcmp(argv[i], "--icons") && i + 1 < argc) icons = argv[++i];
    else if (argv[i][0] != '-') root = argv[i];
    else {
      std::fprintf(stderr,
                   "usage: artgen [--contact-sheet out.png] [--mock-cave out.png] [--icons folder] [data folder]\n");
      return 2;
    }
  }
  SetFontFolder(root + "/Common");
  // The logos are lettered with the game's fonts, so they must be in place first.
  for (const char* font : {"SVBasicManual.ttf", "Blue Highway.ttf", "Acknowledge TT QVX.ttf"}) {
    if (!std::filesystem::exists(FontPath(font))) {
      std::fprintf(stderr, "artgen: font %s is missing\n", FontPath(font).c_str());
      return 1;
    }
  }
  if (!sheet.empty() || !mock.empty()) {
    bool ok = (sheet.empty() || Save(ContactSheet(), sheet)) && (mock.empty() || Save(MockCave(), mock));
    return ok ? 0 : 1;
  }
  if (!WriteData(root)) return 1;
  if (!icons.empty() && !WriteDesktopIcons(icons)) return 1;
  return 0;
}
