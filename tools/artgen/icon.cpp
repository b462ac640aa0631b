// The game's icon: the ball bouncing over a ledge of cave rock, a ghost of
// an earlier attempt behind it, on a rounded plate of the cave's background.
// It is drawn once large and shrunk by whole factors, so every size is
// smoothed the same way and the small ones stay crisp.
#include <algorithm>
#include <cmath>

#include "artgen.h"

namespace {

const int kMaster = 768;  // 3 x 256, 6 x 128, 16 x 48

// The in-game tints: the cave's background and rock colours, and the ghost's.
const Colour kCaveTint = {250 / 255.0f, 150 / 255.0f, 100 / 255.0f, 1};
const Colour kRockTint = {150 / 255.0f, 100 / 255.0f, 250 / 255.0f, 1};
const Colour kGhostTint = {1, 200 / 255.0f, 200 / 255.0f, 0.45f};

// Inside of the plate: a square with rounded corners and a small margin, as
// desktop icons are drawn.
float PlateCover(float x, float y) {
  const float margin = kMaster * 0.04f, radius = kMaster * 0.2f;
  float half = kMaster / 2.0f - margin, c = kMaster / 2.0f;
  float qx = std::fabs(x - c) - (half - radius), qy = std::fabs(y - c) - (half - radius);
  float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - radius;
  return Clamp01(0.5f - outside);
}

Image Shrink(const Image& big, int factor) {
  Image small = NewImage(big.w / factor, big.h / factor);
  for (int y = 0; y < small.h; y++)
    for (int x = 0; x < small.w; x++) {
      float acc[4] = {0, 0, 0, 0};
      for (int j = 0; j < factor; j++)
        for (int i = 0; i < factor; i++) {
          Colour c = Pixel(big, x * factor + i, y * factor + j);
          acc[0] += c.r * c.a, acc[1] += c.g * c.a, acc[2] += c.b * c.a, acc[3] += c.a;
        }
      if (acc[3] > 0)
        SetPixel(small, x, y, {acc[0] / acc[3], acc[1] / acc[3], acc[2] / acc[3], acc[3] / (factor * factor)});
    }
  return small;
}

Image MasterIcon() {
  Image icon = NewImage(kMaster, kMaster);
  // The cave behind, darkened towards the plate's edge as the game's vignette does.
  Image bg = Background();
  for (int y = 0; y < kMaster; y++)
    for (int x = 0; x < kMaster; x++) {
      Colour c = Pixel(bg, (x / 2 + 120) % bg.w, (y / 2 + 60) % bg.h);
      float dx = x + 0.5f - kMaster / 2.0f, dy = y + 0.5f - kMaster * 0.45f;
      float light = 1.35f - 0.75f * Smooth(kMaster * 0.15f, kMaster * 0.62f, std::hypot(dx, dy));
      SetPixel(icon, x, y, {c.r * kCaveTint.r * light, c.g * kCaveTint.g * light, c.b * kCaveTint.b * light, 1});
    }
  // The ledge: a row of rock tiles open on top, joined left, right and below.
  const int cell = 224, ledgeTop = 540;
  Image rock = TileImage(28, cell), under = TileImage(30, cell);
  for (int x = -cell / 2; x < kMaster; x += cell) {
    DrawImage(icon, rock, x, ledgeTop, kRockTint);
    DrawImage(icon, under, x, ledgeTop + cell, kRockTint);
  }
  // The ball's shadow on the ledge, then a ghost behind it and the ball.
  const int ballSize = 380, ballX = 430, ballY = 330;
  FillShape(icon, 0, float(ledgeTop - 40), kMaster, float(ledgeTop + 40),
            [&](float x, float y) {
              float u = (x - ballX) / 150.0f, v = (y - ledgeTop - 8) / 22.0f;
              return u * u + v * v <= 1;
            },
            {0, 0, 0, 0.35f});
  DrawImage(icon, BallImage(ballSize, 40), 215 - ballSize / 2, 235 - ballSize / 2, kGhostTint);
  DrawImage(icon, BallImage(ballSize, 12), ballX - ballSize / 2, ballY - ballSize / 2);
  // Cut to the plate, with a thin dark rim so it stands out on light panels.
  for (int y = 0; y < kMaster; y++)
    for (int x = 0; x < kMaster; x++) {
      float px = x + 0.5f, py = y + 0.5f;
      float cover = PlateCover(px, py);
      Colour c = Pixel(icon, x, y);
      float rim = 1 - PlateCover(px - 6, py) * PlateCover(px + 6, py) * PlateCover(px, py - 6) * PlateCover(px, py + 6);
      float dark = 1 - 0.7f * Clamp01(rim);
      SetPixel(icon, x, y, {c.r * dark, c.g * dark, c.b * dark, cover});
    }
  return icon;
}

}  // namespace

std::vector<Image> AppIcons(const std::vector<int>& sizes) {
  static const Image master = MasterIcon();  // the data folder and the theme share one drawing
  std::vector<Image> icons;
  for (int size : sizes) icons.push_back(Shrink(master, kMaster / size));
  return icons;
}
