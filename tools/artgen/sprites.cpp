// The game's own pictures: the spinning ball, the rock tiles, the parallax
// background, the darkening vignette, the attempt timer dial and the pickup.
#include <algorithm>
#include <cmath>

#include "artgen.h"

static const float kPi = float(M_PI);

static float Dot3(const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
static void Normalise3(float* v) {
  float l = std::sqrt(Dot3(v, v));
  for (int k = 0; k < 3; k++) v[k] /= l;
}

// One ball frame `size` pixels square: a lit sphere with a checker skin
// turned clockwise by `turn` degrees; the light stays put so only the skin
// appears to roll. The game's frames are 64 pixels; the icon draws it larger.
Image BallImage(int size, float turn) {
  const float scale = size / 64.0f, R = 29.5f * scale, c = size / 2.0f, tilt = 0.45f;
  float light[3] = {-0.55f, -0.65f, 0.75f};
  Normalise3(light);
  float half[3] = {light[0], light[1], light[2] + 1};
  Normalise3(half);
  float ca = std::cos(turn * kPi / 180), sa = std::sin(turn * kPi / 180);
  Image img = NewImage(size, size);
  for (int y = 0; y < size; y++)
    for (int x = 0; x < size; x++) {
      float acc[3] = {0, 0, 0};
      int hits = 0;
      for (int s = 0; s < 16; s++) {
        float dx = x + (s % 4 + 0.5f) / 4 - c, dy = y + (s / 4 + 0.5f) / 4 - c;
        float d = std::sqrt(dx * dx + dy * dy);
        if (d > R) continue;
        hits++;
        float n[3] = {dx / R, dy / R, std::sqrt(std::max(0.0f, 1 - (dx * dx + dy * dy) / (R * R)))};
        // Skin coordinates: undo the spin, then tip the pole towards the viewer.
        float u = dx * ca + dy * sa, v = -dx * sa + dy * ca;
        float p[3] = {u / R, v / R, n[2]};
        float py = p[1] * std::cos(tilt) - p[2] * std::sin(tilt), pz = p[1] * std::sin(tilt) + p[2] * std::cos(tilt);
        float lat = std::asin(std::clamp(py, -1.0f, 1.0f)), lon = std::atan2(p[0], pz);
        int check = (int(std::floor(lon / (kPi / 4))) + int(std::floor((lat + kPi / 2) / (kPi / 4)))) & 1;
        float base[3] = {0.98f, 0.97f, 0.92f};
        if (check) base[0] = 0.10f, base[1] = 0.42f, base[2] = 0.98f;
        float diffuse = std::max(0.0f, Dot3(n, light));
        float specular = std::pow(std::max(0.0f, Dot3(n, half)), 40.0f);
        float bounce = std::max(0.0f, n[1]) * 0.18f;  // light thrown back up from the rock below
        for (int k = 0; k < 3; k++) {
          float col = base[k] * (0.28f + 0.78f * diffuse) + bounce * (k == 2 ? 0.9f : 0.6f) + 0.75f * specular;
          if (d > R - 1.6f * scale) col *= 0.25f;  // dark rim keeps the ball readable on any cave colour
          acc[k] += col;
        }
      }
      if (hits) SetPixel(img, x, y, {acc[0] / hits, acc[1] / hits, acc[2] / hits, hits / 16.0f});
    }
  return img;
}

std::vector<Image> BallFrames() {
  std::vector<Image> frames;
  for (int f = 0; f < 100; f++) frames.push_back(BallImage(64, float(f % 90) * 4));
  return frames;
}

// Cave neighbour code for each tile frame: 2 rock above, 4 left, 8 right, 16 below.
static const int kTileCode[16] = {24, 28, 20, 16, 26, 30, 22, 18, 10, 14, 6, 2, 8, 12, 4, 0};

static float TileHeight(float x, float y, int code) {
  // The rock body is a rounded box; sides that join a neighbour reach far
  // past the cell, so only open sides and open corners show an edge.
  float x0 = (code & 4) ? -40.0f : 1.0f, x1 = (code & 8) ? 104.0f : 63.0f;
  float y0 = (code & 2) ? -40.0f : 1.0f, y1 = (code & 16) ? 104.0f : 63.0f;
  const float r = 13;
  float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  float qx = std::fabs(x - cx) - ((x1 - x0) / 2 - r), qy = std::fabs(y - cy) - ((y1 - y0) / 2 - r);
  float outside = std::sqrt(std::max(qx, 0.0f) * std::max(qx, 0.0f) + std::max(qy, 0.0f) * std::max(qy, 0.0f));
  float depth = -(outside + std::min(std::max(qx, qy), 0.0f) - r);
  if (depth < 0) return -1;
  float d1, d2;
  int id;
  TileCells(x, y, 64, 6, 11, d1, d2, id);
  float stones = 1.6f * Smooth(0.0f, 4.0f, d2 - d1);
  float grain = TileFbm(x / 8, y / 8, 8, 3, 5);
  return 10 * Smooth(0.0f, 9.0f, depth) + stones + 1.2f * grain;
}

// One rock tile `size` pixels square, worked out in the 64-unit cell of the
// game's tiles so that a larger one (the icon's) is the same stone, sharper.
Image TileImage(int code, int size) {
  const float k = 64.0f / size;
  Image img = NewImage(size, size);
  float light[3] = {-0.35f, -0.85f, 0.8f};
  Normalise3(light);
  for (int y = 0; y < size; y++)
    for (int x = 0; x < size; x++) {
      float px = (x + 0.5f) * k, py = (y + 0.5f) * k;
      int cover = 0;
      for (int s = 0; s < 16; s++)
        cover += TileHeight((x + (s % 4 + 0.5f) / 4) * k, (y + (s / 4 + 0.5f) / 4) * k, code) >= 0;
      if (!cover) continue;
      float h = std::max(0.0f, TileHeight(px, py, code));
      float hx = std::max(0.0f, TileHeight(px + 0.5f, py, code)) - std::max(0.0f, TileHeight(px - 0.5f, py, code));
      float hy = std::max(0.0f, TileHeight(px, py + 0.5f, code)) - std::max(0.0f, TileHeight(px, py - 0.5f, code));
      float n[3] = {-hx, -hy, 1};
      Normalise3(n);
      float d1, d2;
      int id;
      TileCells(px, py, 64, 6, 11, d1, d2, id);
      float tone = 0.80f + 0.16f * ((id * 37 % 6) / 5.0f - 0.5f);
      float shade = 0.42f + 0.72f * std::max(0.0f, Dot3(n, light));
      if (d2 - d1 < 1.2f) shade *= 0.72f;  // mortar line between stones
      if (h < 1.2f) shade *= 0.45f;        // crisp dark lip on open edges
      float v = std::min(1.0f, tone * shade);
      SetPixel(img, x, y, {v * 1.0f, v * 0.98f, v * 0.95f, cover / 16.0f});
    }
  return img;
}

std::vector<Image> TileFrames() {
  std::vector<Image> frames;
  for (int code : kTileCode) frames.push_back(TileImage(code, 64));
  return frames;
}

Image Background() {
  // 480 px repeats seamlessly: every noise below has a period that divides it.
  Image img = NewImage(480, 480);
  for (int y = 0; y < 480; y++)
    for (int x = 0; x < 480; x++) {
      float clouds = TileFbm(x / 60.0f, y / 60.0f, 8, 4, 21);
      float strata = TileNoise(x / 20.0f, y / 96.0f, 24, 22) * 0.5f + TileNoise(x / 10.0f, y / 48.0f, 48, 23) * 0.25f;
      float d1, d2;
      int id;
      TileCells(float(x), float(y), 480, 18, 24, d1, d2, id);
      float crack = Smooth(0.0f, 6.0f, d2 - d1);
      float boulder = 0.8f + 0.2f * ((id * 53 % 11) / 10.0f);
      float v = (0.09f + 0.16f * clouds + 0.07f * strata) * boulder * (0.72f + 0.28f * crack);
      float glint = TileNoise(x / 2.0f, y / 2.0f, 240, 25);
      if (glint > 0.93f) v += (glint - 0.93f) * 2.5f;  // sparse mineral flecks
      SetPixel(img, x, y, {v * 0.95f, v * 0.98f, v * 1.05f, 1});
    }
  return img;
}

Image Vignette() {
  Image img = NewImage(512, 512);
  for (int y = 0; y < 512; y++)
    for (int x = 0; x < 512; x++) {
      float dx = x + 0.5f - 256, dy = (y + 0.5f - 256) * 1.15f;
      float v = 1 - 0.78f * Smooth(95.0f, 262.0f, std::sqrt(dx * dx + dy * dy));
      SetPixel(img, x, y, {v, v, v, 1});
    }
  return img;
}

Image TimerDial() {
  Image img = NewImage(64, 64);
  FillCircle(img, 32, 32, 30, {0.78f, 0.82f, 0.88f, 1});
  FillCircle(img, 32, 32, 27, {0.10f, 0.12f, 0.20f, 0.92f});
  for (int i = 0; i < 12; i++) {
    float a = i * kPi / 6, inner = i % 3 ? 21.5f : 18.5f;
    StrokeLine(img, 32 + inner * std::sin(a), 32 - inner * std::cos(a), 32 + 24.5f * std::sin(a),
               32 - 24.5f * std::cos(a), i % 3 ? 1.6f : 2.6f, {0.92f, 0.94f, 1, 1});
  }
  // The hand points straight up; the game turns the whole dial to show time.
  FillPolygon(img, {32, 8, 35.5f, 32, 32, 37, 28.5f, 32}, {1, 0.78f, 0.18f, 1});
  FillPolygon(img, {32, 8, 34, 17, 30, 17}, {1, 0.30f, 0.20f, 1});
  FillCircle(img, 32, 32, 4, {0.95f, 0.95f, 0.95f, 1});
  FillCircle(img, 32, 32, 1.8f, {0.85f, 0.35f, 0.20f, 1});
  return img;
}

Image Pickup() {
  Image img = NewImage(64, 64);
  auto heart = [](float s, float ox, float oy) {
    return [=](float x, float y) {
      float u = (x - ox) / s, v = -(y - oy) / s;
      float a = u * u + v * v - 1;
      return a * a * a - u * u * v * v * v <= 0;
    };
  };
  FillShape(img, 0, 0, 64, 64, heart(23, 32, 30), {0.45f, 0.02f, 0.10f, 1});
  for (int y = 0; y < 64; y++) {
    float t = Clamp01((y - 8) / 48.0f);
    Colour c = {1.0f - 0.18f * t, 0.32f - 0.22f * t, 0.45f - 0.25f * t, 1};
    FillShape(
        img, 0, float(y), 64, float(y) + 1,
        [&](float x, float py) { return int(py) == y && heart(20.5f, 32, 30)(x, py); }, c);
  }
  FillShape(img, 10, 8, 34, 30,
            [](float x, float y) {
              float u = (x - 21) / 8.5f, v = (y - 19) / 5.5f;
              float r = std::cos(0.6f), s = std::sin(0.6f);
              float a = u * r + v * s, b = -u * s + v * r;
              return a * a + b * b <= 1;
            },
            {1, 0.92f, 0.95f, 0.85f});
  FillPolygon(img, StarPoints(50, 14, 9, 2.2f, 4, 0), {1, 1, 0.85f, 1});
  FillCircle(img, 50, 14, 2.4f, {1, 1, 1, 1});
  return img;
}
