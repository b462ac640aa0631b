// Framework artwork: the 16 x 16 icon strip (panel icons, graph dot, mouse
// pointer), the game and community logos and the sixteen badges.
#include <algorithm>
#include <cmath>

#include "artgen.h"

static const float kPi = float(M_PI);
static const Colour kWhite = {1, 1, 1, 1}, kInk = {0.06f, 0.06f, 0.08f, 0.85f};

// Icons are white so the panel can tint them; a thin dark edge keeps them
// readable over the translucent panel and bright backgrounds alike.
static void Outlined(Image& img, const Shape& inside, Colour fill = kWhite) {
  FillShape(
      img, 0, 0, float(img.w), float(img.h),
      [&](float x, float y) {
        for (int k = 0; k < 8; k++) {
          float a = k * kPi / 4;
          if (inside(x + std::cos(a), y + std::sin(a))) return true;
        }
        return inside(x, y);
      },
      kInk);
  FillShape(img, 0, 0, float(img.w), float(img.h), inside, fill);
}

static Shape Poly(std::vector<float> xy) {
  return [xy](float x, float y) { return InPolygon(xy, x, y); };
}
static Shape Disc(float cx, float cy, float r) {
  return [=](float x, float y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}
static Shape Ring(float cx, float cy, float r, float w) {
  return [=](float x, float y) {
    float d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
    return std::fabs(d - r) <= w / 2;
  };
}
static Shape Box(float x0, float y0, float x1, float y1) {
  return [=](float x, float y) { return x >= x0 && x <= x1 && y >= y0 && y <= y1; };
}
static Shape Line(float x0, float y0, float x1, float y1, float w) {
  return [=](float x, float y) { return SegmentDistance(x, y, x0, y0, x1, y1) <= w / 2; };
}
static Shape Any(std::vector<Shape> parts) {
  return [parts](float x, float y) {
    for (auto& p : parts)
      if (p(x, y)) return true;
    return false;
  };
}
static Shape Frame(float x0, float y0, float x1, float y1, float w) {
  return [=](float x, float y) { return Box(x0, y0, x1, y1)(x, y) && !Box(x0 + w, y0 + w, x1 - w, y1 - w)(x, y); };
}

static Shape Speaker() { return Poly({1.5f, 6, 4.5f, 6, 8, 2.5f, 8, 13.5f, 4.5f, 10, 1.5f, 10}); }
static Shape Wave(float r) {
  return [=](float x, float y) {
    float dx = x - 7, dy = y - 8;
    return dx > 1 && std::fabs(dy) < dx * 1.1f && std::fabs(std::sqrt(dx * dx + dy * dy) - r) <= 0.75f;
  };
}

std::vector<Image> IconFrames() {
  std::vector<Image> f(64, NewImage(16, 16));
  Outlined(f[0], Poly(StarPoints(8, 8, 7, 2, 4, 0)));
  Outlined(f[1], [](float x, float y) {
    float u = (x - 8) / 6, v = -(y - 7.5f) / 6, a = u * u + v * v - 1;
    return a * a * a - u * u * v * v * v <= 0;
  });
  Outlined(f[2], Any({Line(2.5f, 8.5f, 6, 12, 2.6f), Line(6, 12, 13.5f, 3.5f, 2.6f)}));
  // Key cap: light rim, dark face, so the key name drawn over it stays legible.
  FillRoundRect(f[3], 0.5f, 0.5f, 15, 15, 3.5f, {0.95f, 0.95f, 0.95f, 1});
  FillRoundRect(f[3], 2, 1.8f, 12, 11, 2.5f, {0.16f, 0.16f, 0.18f, 0.9f});
  Outlined(f[4], Poly({8, 1.5f, 14, 8, 10.5f, 8, 10.5f, 14.5f, 5.5f, 14.5f, 5.5f, 8, 2, 8}));
  Outlined(f[5], Poly({14.5f, 8, 8, 14, 8, 10.5f, 1.5f, 10.5f, 1.5f, 5.5f, 8, 5.5f, 8, 2}));
  Outlined(f[6], Poly({8, 14.5f, 14, 8, 10.5f, 8, 10.5f, 1.5f, 5.5f, 1.5f, 5.5f, 8, 2, 8}));
  // Graph dot: a small shaded bead, tinted by the score graph.
  FillCircle(f[7], 8, 8, 5.5f, {0.55f, 0.55f, 0.55f, 1});
  FillCircle(f[7], 7.6f, 7.6f, 4.4f, kWhite);
  FillCircle(f[7], 6.4f, 6.3f, 1.6f, {1, 1, 1, 1});
  Outlined(f[8], Any({Box(5.5f, 1, 10.5f, 15), Box(1, 5.5f, 15, 10.5f)}));
  FillCircle(f[8], 8, 8, 1.6f, {0.2f, 0.2f, 0.2f, 1});
  Outlined(f[9], Any({Poly({2, 15, 14, 15, 12.5f, 11.5f, 3.5f, 11.5f}), Box(7, 5, 9, 12), Disc(8, 4.5f, 3.5f)}));
  FillCircle(f[10], 8, 8, 7.5f, {0.95f, 0.95f, 0.95f, 1});
  FillCircle(f[10], 8, 8, 5.8f, {0.16f, 0.16f, 0.18f, 0.9f});
  Outlined(f[11], Any({Frame(2, 2.5f, 14, 11.5f, 1.5f), Box(6.5f, 11.5f, 9.5f, 13), Box(4, 13, 12, 14.5f)}));
  Outlined(f[12], Any({Frame(0.5f, 4, 15.5f, 12.5f, 1.5f), Box(3, 6.5f, 5, 10), Box(11, 6.5f, 13, 10)}));
  Outlined(f[13], Any({Frame(1, 2, 15, 14, 1.3f), Box(1, 2, 15, 5)}));
  Outlined(f[14], Any({Poly({1, 1, 6, 1, 1, 6}), Poly({15, 1, 10, 1, 15, 6}), Poly({1, 15, 6, 15, 1, 10}),
                       Poly({15, 15, 10, 15, 15, 10}), Frame(4, 4, 12, 12, 1.3f)}));
  Outlined(f[15], Any({Speaker(), Line(10, 5.5f, 14.5f, 10.5f, 1.5f), Line(10, 10.5f, 14.5f, 5.5f, 1.5f)}));
  Outlined(f[16], Any({Disc(5, 12.5f, 2.6f), Box(6.6f, 2, 8, 12.5f), Poly({6.6f, 2, 13, 4, 13, 7, 8, 5})}));
  Outlined(f[17], [](float x, float y) {
    float dx = x - 8, dy = y - 8, d = std::sqrt(dx * dx + dy * dy), a = std::atan2(dy, dx);
    float r = 5 + 1.8f * (std::cos(a * 8) > 0.2f);
    return d <= r && d >= 2.4f;
  });
  // Frame-skip and renderer options share these: all frames, every other, a third.
  for (int k = 0; k < 3; k++) {
    std::vector<Shape> parts;
    for (int i = 0; i < 3; i++) {
      float x = 1 + i * 5;
      bool solid = k == 0 || (k == 1 && i != 1) || (k == 2 && i == 0);
      parts.push_back(solid ? Box(x, 4, x + 4, 12) : Frame(x, 4, x + 4, 12, 1.2f));
    }
    Outlined(f[18 + k], Any(parts));
  }
  // Slider track halves meet at the cell edge: the left one is open on its right.
  Outlined(f[21], [](float x, float y) {
    return y >= 6 && y <= 10 && x >= 1 && (x >= 3 || (x - 3) * (x - 3) + (y - 8) * (y - 8) <= 4);
  });
  Outlined(f[22], [](float x, float y) {
    return y >= 6 && y <= 10 && x <= 15 && (x <= 13 || (x - 13) * (x - 13) + (y - 8) * (y - 8) <= 4);
  });
  FillRoundRect(f[23], 3.5f, 1, 9, 14, 3, {0.35f, 0.35f, 0.35f, 1});
  FillRoundRect(f[23], 4.5f, 2, 7, 12, 2.5f, kWhite);
  FillRoundRect(f[23], 7, 4, 2, 8, 1, {0.6f, 0.6f, 0.6f, 1});
  Outlined(f[24], Any({Speaker(), Wave(4)}));
  Outlined(f[25], Any({Speaker(), Wave(4), Wave(7)}));
  Outlined(f[26], Any({Speaker(), Wave(4), Wave(7), Wave(10)}));
  Outlined(f[27], Any({Ring(8, 9, 6, 1.6f), Box(0.8f, 9, 4.5f, 15), Box(11.5f, 9, 15.2f, 15)}));
  Outlined(f[28], [](float x, float y) {
    return x > 1 && x < 15 && std::fabs(y - 8 + 5 * std::sin((x - 1) / 14 * 2 * kPi)) <= 1.0f;
  });
  Outlined(f[29],
           Any({Box(1, 7, 3, 9), Box(4, 4, 6, 12), Box(7, 1.5f, 9, 14.5f), Box(10, 5, 12, 11), Box(13, 7, 15, 9)}));
  Outlined(f[30], Any({Box(2, 6.5f, 14, 9.5f), Box(6.5f, 2, 9.5f, 14)}));
  Outlined(f[31], Box(2, 6.5f, 14, 9.5f));
  Outlined(f[32], Poly({4, 2, 14, 8, 4, 14}));
  Outlined(f[33], Any({Box(3, 2, 6.5f, 14), Box(9.5f, 2, 13, 14)}));
  Outlined(f[34], Any({Line(3, 3, 13, 13, 2.8f), Line(13, 3, 3, 13, 2.8f)}));
  Outlined(f[35], Ring(8, 8, 5.5f, 2.2f));
  Outlined(f[36], Box(3, 3, 13, 13));
  Outlined(f[37], Poly({8, 1.5f, 14.5f, 8, 8, 14.5f, 1.5f, 8}));
  Outlined(f[38], Poly({8, 2, 14.5f, 14, 1.5f, 14}));
  Outlined(f[39], Poly(StarPoints(8, 8.6f, 7, 2.9f, 5, 0)));
  // Mouse pointer: the tip sits on the cell's top-left pixel.
  std::vector<float> arrow = {0.6f, 0.6f, 0.6f, 12.5f, 3.6f, 9.8f, 6, 14.8f, 8.2f, 13.8f, 5.9f, 9, 9.6f, 9};
  FillShape(f[63], 0, 0, 16, 16,
            [&](float x, float y) {
              for (size_t i = 0; i < arrow.size(); i += 2) {
                size_t j = (i + 2) % arrow.size();
                if (SegmentDistance(x, y, arrow[i], arrow[i + 1], arrow[j], arrow[j + 1]) <= 0.9f) return true;
              }
              return false;
            },
            {0.03f, 0.03f, 0.05f, 1});
  FillPolygon(f[63], arrow, kWhite);
  return f;
}

// Text at the largest size up to `size` that fits `width` pixels.
static Image FittedText(const char* font, int size, const char* text, int width) {
  Image t = RenderText(FontPath(font), size, text);
  while (t.w > width && size > 8) t = RenderText(FontPath(font), --size, text);
  return t;
}

// Stamps a text mask with a shadow, a thick dark outline and a gradient fill.
static void BoldText(Image& dst, const Image& mask, int x, int y, float outline, Colour top, Colour bottom,
                     Colour edge) {
  int r = int(std::ceil(outline));
  Image grown = NewImage(mask.w, mask.h);
  for (int j = 0; j < mask.h; j++)
    for (int i = 0; i < mask.w; i++) {
      float best = 0;
      for (int dy = -r; dy <= r; dy++)
        for (int dx = -r; dx <= r; dx++) {
          float d = std::sqrt(float(dx * dx + dy * dy));
          if (d > outline + 0.5f) continue;
          best = std::max(best, Pixel(mask, i + dx, j + dy).a * Clamp01(outline + 0.5f - d));
        }
      SetPixel(grown, i, j, {edge.r, edge.g, edge.b, best});
    }
  DrawImage(dst, grown, x + 5, y + 6, {0.2f, 0.2f, 0.2f, 0.55f});
  DrawImage(dst, grown, x, y);
  for (int j = 0; j < mask.h; j++) {
    float t = Clamp01((j - mask.h * 0.25f) / (mask.h * 0.55f));
    Colour c = {top.r + (bottom.r - top.r) * t, top.g + (bottom.g - top.g) * t, top.b + (bottom.b - top.b) * t, 1};
    for (int i = 0; i < mask.w; i++) Blend(dst, x + i, y + j, c, Pixel(mask, i, j).a);
  }
}

Image GameLogo() {
  Image img = NewImage(512, 256);
  Image big = FittedText("Blue Highway.ttf", 150, "PLIMBO", 480);
  Image small = FittedText("Blue Highway.ttf", 96, "DIRER", 330);
  int bx = (512 - big.w) / 2 - 6;
  BoldText(img, big, bx, 6, 6, {1, 0.95f, 0.45f, 1}, {1, 0.48f, 0.12f, 1}, {0.16f, 0.05f, 0.22f, 1});
  int sx = 500 - small.w;
  BoldText(img, small, sx, 140, 5, {0.6f, 0.9f, 1, 1}, {0.2f, 0.45f, 1, 1}, {0.10f, 0.05f, 0.22f, 1});
  std::vector<Image> ball = BallFrames();
  float bs = 1.5f;
  DrawScaled(img, ball[12], sx - 64 * bs - 14, 148, bs);
  return img;
}

Image CommunityLogo() {
  Image img = NewImage(384, 192);
  FillCircle(img, 96, 96, 84, {0.95f, 0.78f, 0.30f, 1});
  FillCircle(img, 96, 96, 77, {0.10f, 0.28f, 0.30f, 1});
  // Hill with a hall on its brim, under a rising sun.
  FillCircle(img, 96, 78, 22, {1, 0.72f, 0.30f, 1});
  FillShape(img, 19, 19, 173, 173,
            [](float x, float y) {
              float d = (x - 96) * (x - 96) + (y - 96) * (y - 96);
              return d <= 77 * 77 && y > 112 - 26 * std::exp(-(x - 96) * (x - 96) / 2600.0f);
            },
            {0.35f, 0.70f, 0.42f, 1});
  FillPolygon(img, {70, 92, 96, 72, 122, 92}, {0.96f, 0.93f, 0.86f, 1});
  FillRoundRect(img, 74, 92, 44, 5, 1, {0.96f, 0.93f, 0.86f, 1});
  for (int i = 0; i < 4; i++) FillRoundRect(img, 77.0f + i * 11, 97, 5, 16, 1, {0.96f, 0.93f, 0.86f, 1});
  FillRoundRect(img, 72, 111, 48, 4, 1, {0.96f, 0.93f, 0.86f, 1});
  StrokeRing(img, 96, 96, 80.5f, 2.5f, {0.45f, 0.30f, 0.08f, 1});
  Image name = FittedText("Blue Highway.ttf", 64, "BRIMHALL", 180);
  Image sub = FittedText("SVBasicManual.ttf", 26, "GAMES CLUB", 170);
  BoldText(img, name, 186, 98 - name.h, 3, {1, 0.92f, 0.55f, 1}, {0.95f, 0.65f, 0.25f, 1}, {0.10f, 0.12f, 0.14f, 1});
  BoldText(img, sub, 186 + (name.w - sub.w) / 2, 102, 2, {0.75f, 0.95f, 0.85f, 1}, {0.55f, 0.85f, 0.75f, 1},
           {0.08f, 0.14f, 0.14f, 1});
  return img;
}

std::vector<Image> BadgeFrames() {
  static const Colour face[16] = {
      {0.90f, 0.30f, 0.25f, 1}, {0.95f, 0.45f, 0.65f, 1}, {0.25f, 0.50f, 0.95f, 1}, {0.95f, 0.75f, 0.15f, 1},
      {0.30f, 0.75f, 0.80f, 1}, {0.60f, 0.35f, 0.85f, 1}, {0.20f, 0.75f, 0.55f, 1}, {0.95f, 0.55f, 0.20f, 1},
      {0.35f, 0.70f, 0.30f, 1}, {0.25f, 0.30f, 0.60f, 1}, {0.98f, 0.60f, 0.15f, 1}, {0.75f, 0.25f, 0.55f, 1},
      {0.20f, 0.60f, 0.95f, 1}, {0.40f, 0.80f, 0.35f, 1}, {0.70f, 0.55f, 0.35f, 1}, {0.85f, 0.20f, 0.35f, 1}};
  std::vector<Shape> symbol = {
      Poly(StarPoints(32, 34, 17, 7.5f, 5, 0)),
      [](float x, float y) {
        float u = (x - 32) / 15, v = -(y - 31) / 15, a = u * u + v * v - 1;
        return a * a * a - u * u * v * v * v <= 0;
      },
      [](float x, float y) {
        float dx = x - 32, dy = y - 32;
        if (dx * dx + dy * dy > 15 * 15) return false;
        return ((int(std::floor((dx + 16) / 8)) + int(std::floor((dy + 16) / 8))) & 1) == 0 ||
               std::fabs(std::sqrt(dx * dx + dy * dy) - 14) < 1.2f;
      },
      Poly({36, 14, 22, 35, 31, 35, 27, 50, 42, 28, 33, 28}),
      Any({Ring(32, 32, 14, 3.5f), Line(32, 32, 32, 22, 3.2f), Line(32, 32, 40, 36, 3.2f)}),
      Poly({17, 42, 15, 22, 24, 31, 32, 18, 40, 31, 49, 22, 47, 42}),
      Poly({32, 15, 46, 28, 32, 49, 18, 28}),
      Any({Poly({20, 16, 44, 16, 42, 30, 32, 36, 22, 30}), Box(30, 35, 34, 44), Box(23, 43, 41, 48),
           Ring(19, 22, 5, 2.5f), Ring(45, 22, 5, 2.5f)}),
      Any({Box(21, 14, 24, 50), Poly({24, 15, 46, 21, 24, 31})}),
      [](float x, float y) {
        return (x - 32) * (x - 32) + (y - 32) * (y - 32) <= 15 * 15 &&
               (x - 39) * (x - 39) + (y - 27) * (y - 27) > 12 * 12;
      },
      [](float x, float y) {
        float dx = x - 32, dy = y - 32, d = std::sqrt(dx * dx + dy * dy), a = std::atan2(dy, dx);
        return d <= 8.5f || (d >= 11 && d <= 17 && std::cos(a * 8) > 0.55f);
      },
      Any({Poly(StarPoints(32, 22, 9, 4, 5, 0)), Poly(StarPoints(21, 40, 8, 3.5f, 5, 0)),
           Poly(StarPoints(43, 40, 8, 3.5f, 5, 0))}),
      Poly({32, 13, 47, 30, 38, 30, 38, 50, 26, 50, 26, 30, 17, 30}),
      Any({Line(20, 33, 28, 42, 6), Line(28, 42, 45, 22, 6)}),
      Any({Ring(24, 32, 7, 4), Box(30, 30, 48, 34.5f), Box(40, 34, 43.5f, 41), Box(45, 34, 48, 39)}),
      [](float x, float y) {
        float dx = std::fabs(x - 32), dy = y - 32;
        return dx * 0.866f + std::fabs(dy) * 0.5f <= 15 && dx <= 15 && !(dx * dx + dy * dy < 36);
      }};
  std::vector<Image> frames;
  for (int b = 0; b < 16; b++) {
    Image img = NewImage(64, 64);
    FillCircle(img, 32, 32, 30.5f, {0.30f, 0.24f, 0.10f, 1});
    FillShape(img, 0, 0, 64, 64, Disc(32, 32, 29), {0.98f, 0.82f, 0.35f, 1});
    FillShape(img, 0, 0, 64, 64, Disc(31, 31, 24.5f), {0.75f, 0.55f, 0.18f, 1});
    FillCircle(img, 32, 32, 23.5f, face[b]);
    // Soft top light on the enamel.
    FillShape(img, 0, 0, 64, 64,
              [](float x, float y) { return (x - 28) * (x - 28) + (y - 22) * (y - 22) * 2.2f <= 17 * 17; },
              {1, 1, 1, 0.18f});
    Image mark = NewImage(64, 64);
    FillShape(mark, 0, 0, 64, 64, symbol[b], {0.99f, 0.97f, 0.90f, 1});
    DrawImage(img, mark, 1, 2, {0.15f, 0.1f, 0.1f, 0.45f});
    DrawImage(img, mark, 0, 0);
    frames.push_back(img);
  }
  return frames;
}
