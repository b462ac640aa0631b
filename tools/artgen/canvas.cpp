// Drawing primitives for the generator: antialiased shapes by supersampling,
// alpha compositing, sprite sheets, tiling noise, FreeType text and PNG output.
#include <ft2build.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include FT_FREETYPE_H
#include <png.h>

#include "artgen.h"

uint64_t Rng::Next() {
  // splitmix64: tiny, fast and the same on every machine.
  uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}
float Rng::Unit() { return float(Next() >> 40) / float(1 << 24); }
float Rng::Range(float lo, float hi) { return lo + (hi - lo) * Unit(); }

Image NewImage(int w, int h, Colour fill) {
  Image img{w, h, std::vector<float>(size_t(w) * h * 4)};
  for (size_t i = 0; i < img.px.size(); i += 4) {
    img.px[i] = fill.r, img.px[i + 1] = fill.g, img.px[i + 2] = fill.b, img.px[i + 3] = fill.a;
  }
  return img;
}

Colour Pixel(const Image& img, int x, int y) {
  if (x < 0 || y < 0 || x >= img.w || y >= img.h) return {0, 0, 0, 0};
  const float* p = &img.px[(size_t(y) * img.w + x) * 4];
  return {p[0], p[1], p[2], p[3]};
}

void SetPixel(Image& img, int x, int y, Colour c) {
  if (x < 0 || y < 0 || x >= img.w || y >= img.h) return;
  float* p = &img.px[(size_t(y) * img.w + x) * 4];
  p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = c.a;
}

void Blend(Image& img, int x, int y, Colour c, float cover) {
  if (x < 0 || y < 0 || x >= img.w || y >= img.h) return;
  float a = c.a * cover;
  if (a <= 0) return;
  float* p = &img.px[(size_t(y) * img.w + x) * 4];
  float outA = a + p[3] * (1 - a);
  if (outA <= 0) return;
  for (int k = 0; k < 3; k++) {
    float src = k == 0 ? c.r : k == 1 ? c.g : c.b;
    p[k] = (src * a + p[k] * p[3] * (1 - a)) / outA;
  }
  p[3] = outA;
}

void FillShape(Image& img, float x0, float y0, float x1, float y1, const Shape& inside, Colour c) {
  int ix0 = std::max(0, int(std::floor(x0))), iy0 = std::max(0, int(std::floor(y0)));
  int ix1 = std::min(img.w - 1, int(std::ceil(x1))), iy1 = std::min(img.h - 1, int(std::ceil(y1)));
  for (int y = iy0; y <= iy1; y++) {
    for (int x = ix0; x <= ix1; x++) {
      int hits = 0;
      for (int sy = 0; sy < 4; sy++)
        for (int sx = 0; sx < 4; sx++) hits += inside(x + (sx + 0.5f) / 4, y + (sy + 0.5f) / 4);
      if (hits) Blend(img, x, y, c, hits / 16.0f);
    }
  }
}

void FillCircle(Image& img, float cx, float cy, float r, Colour c) {
  FillShape(
      img, cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1,
      [=](float x, float y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; }, c);
}

void FillRoundRect(Image& img, float x, float y, float w, float h, float radius, Colour c) {
  FillShape(
      img, x - 1, y - 1, x + w + 1, y + h + 1,
      [=](float px, float py) {
        float qx = std::max({x + radius - px, px - (x + w - radius), 0.0f});
        float qy = std::max({y + radius - py, py - (y + h - radius), 0.0f});
        return px >= x && px <= x + w && py >= y && py <= y + h && qx * qx + qy * qy <= radius * radius;
      },
      c);
}

bool InPolygon(const std::vector<float>& xy, float x, float y) {
  bool in = false;
  size_t n = xy.size() / 2;
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
  }
  return in;
}

void FillPolygon(Image& img, const std::vector<float>& xy, Colour c) {
  float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
  for (size_t i = 0; i < xy.size(); i += 2) {
    x0 = std::min(x0, xy[i]), x1 = std::max(x1, xy[i]);
    y0 = std::min(y0, xy[i + 1]), y1 = std::max(y1, xy[i + 1]);
  }
  FillShape(
      img, x0, y0, x1, y1, [&](float x, float y) { return InPolygon(xy, x, y); }, c);
}

float SegmentDistance(float px, float py, float x0, float y0, float x1, float y1) {
  float dx = x1 - x0, dy = y1 - y0;
  float len2 = dx * dx + dy * dy;
  float t = len2 > 0 ? std::clamp(((px - x0) * dx + (py - y0) * dy) / len2, 0.0f, 1.0f) : 0;
  float ex = px - (x0 + t * dx), ey = py - (y0 + t * dy);
  return std::sqrt(ex * ex + ey * ey);
}

void StrokeLine(Image& img, float x0, float y0, float x1, float y1, float width, Colour c) {
  float r = width / 2;
  FillShape(
      img, std::min(x0, x1) - r, std::min(y0, y1) - r, std::max(x0, x1) + r, std::max(y0, y1) + r,
      [=](float x, float y) { return SegmentDistance(x, y, x0, y0, x1, y1) <= r; }, c);
}

void StrokeRing(Image& img, float cx, float cy, float r, float width, Colour c) {
  float o = r + width / 2, i = r - width / 2;
  FillShape(
      img, cx - o - 1, cy - o - 1, cx + o + 1, cy + o + 1,
      [=](float x, float y) {
        float d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        return d2 <= o * o && d2 >= i * i;
      },
      c);
}

std::vector<float> StarPoints(float cx, float cy, float outer, float inner, int points, float turn) {
  std::vector<float> xy;
  for (int i = 0; i < points * 2; i++) {
    float a = turn + float(M_PI) * i / points - float(M_PI) / 2;
    float r = i % 2 ? inner : outer;
    xy.push_back(cx + r * std::cos(a));
    xy.push_back(cy + r * std::sin(a));
  }
  return xy;
}

void DrawImage(Image& dst, const Image& src, int x, int y, Colour tint) {
  for (int j = 0; j < src.h; j++)
    for (int i = 0; i < src.w; i++) {
      Colour c = Pixel(src, i, j);
      Blend(dst, x + i, y + j, {c.r * tint.r, c.g * tint.g, c.b * tint.b, c.a * tint.a}, 1);
    }
}

void DrawScaled(Image& dst, const Image& src, float x, float y, float scale) {
  int w = int(src.w * scale), h = int(src.h * scale);
  for (int j = 0; j < h; j++)
    for (int i = 0; i < w; i++) {
      float sx = (i + 0.5f) / scale - 0.5f, sy = (j + 0.5f) / scale - 0.5f;
      int x0 = int(std::floor(sx)), y0 = int(std::floor(sy));
      float fx = sx - x0, fy = sy - y0, acc[4] = {0, 0, 0, 0};
      for (int k = 0; k < 4; k++) {
        Colour c = Pixel(src, x0 + (k & 1), y0 + (k >> 1));
        float wgt = ((k & 1) ? fx : 1 - fx) * ((k >> 1) ? fy : 1 - fy);
        acc[0] += c.r * c.a * wgt, acc[1] += c.g * c.a * wgt, acc[2] += c.b * c.a * wgt, acc[3] += c.a * wgt;
      }
      if (acc[3] > 0)
        Blend(dst, int(x) + i, int(y) + j, {acc[0] / acc[3], acc[1] / acc[3], acc[2] / acc[3], acc[3]}, 1);
    }
}

Image Crop(const Image& src, int x, int y, int w, int h) {
  Image out = NewImage(w, h);
  for (int j = 0; j < h; j++)
    for (int i = 0; i < w; i++) SetPixel(out, i, j, Pixel(src, x + i, y + j));
  return out;
}

Image Sheet(const std::vector<Image>& frames, int perRow) {
  int fw = frames[0].w, fh = frames[0].h;
  int rows = (int(frames.size()) + perRow - 1) / perRow;
  Image out = NewImage(fw * perRow, fh * rows);
  for (size_t i = 0; i < frames.size(); i++)
    for (int y = 0; y < fh; y++)
      for (int x = 0; x < fw; x++)
        SetPixel(out, int(i % perRow) * fw + x, int(i / perRow) * fh + y, Pixel(frames[i], x, y));
  return out;
}

bool WritePng(const Image& img, const std::string& path) {
  // The game masks pure black as transparent, so every visible pixel is kept
  // at least one step above black and every invisible one is exactly black.
  std::vector<uint8_t> bytes(size_t(img.w) * img.h * 4);
  for (size_t i = 0; i < bytes.size(); i += 4) {
    float a = Clamp01(img.px[i + 3]);
    uint8_t a8 = uint8_t(std::lround(a * 255));
    uint8_t rgb[3];
    for (int k = 0; k < 3; k++) rgb[k] = uint8_t(std::lround(Clamp01(img.px[i + k]) * 255));
    if (a8 == 0) {
      rgb[0] = rgb[1] = rgb[2] = 0;
    } else if (rgb[0] == 0 && rgb[1] == 0 && rgb[2] == 0) {
      rgb[0] = rgb[1] = rgb[2] = 1;
    }
    bytes[i] = rgb[0], bytes[i + 1] = rgb[1], bytes[i + 2] = rgb[2], bytes[i + 3] = a8;
  }
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = img.w;
  png.height = img.h;
  png.format = PNG_FORMAT_RGBA;
  bool ok = png_image_write_to_file(&png, path.c_str(), 0, bytes.data(), 0, nullptr);
  if (!ok) std::fprintf(stderr, "artgen: cannot write %s: %s\n", path.c_str(), png.message);
  return ok;
}

float Clamp01(float x) { return x < 0 ? 0 : x > 1 ? 1 : x; }

float Smooth(float e0, float e1, float x) {
  float t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

static uint32_t Hash(int x, int y, uint32_t seed) {
  uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

static float Lattice(int x, int y, int period, uint32_t seed) {
  x = ((x % period) + period) % period;
  y = ((y % period) + period) % period;
  return (Hash(x, y, seed) & 0xFFFF) / 65535.0f;
}

float TileNoise(float x, float y, int period, uint32_t seed) {
  int x0 = int(std::floor(x)), y0 = int(std::floor(y));
  float fx = x - x0, fy = y - y0;
  fx = fx * fx * (3 - 2 * fx), fy = fy * fy * (3 - 2 * fy);
  float a = Lattice(x0, y0, period, seed), b = Lattice(x0 + 1, y0, period, seed);
  float c = Lattice(x0, y0 + 1, period, seed), d = Lattice(x0 + 1, y0 + 1, period, seed);
  return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

float TileFbm(float x, float y, int period, int octaves, uint32_t seed) {
  // period is in noise cells of the first octave; each octave doubles it so
  // the sum still repeats at the same pixel distance.
  float sum = 0, amp = 0.5f, norm = 0;
  for (int o = 0; o < octaves; o++) {
    sum += amp * TileNoise(x, y, period, seed + o * 101);
    norm += amp;
    x *= 2, y *= 2, period *= 2, amp *= 0.5f;
  }
  return sum / norm;
}

void TileCells(float x, float y, int period, int count, uint32_t seed, float& d1, float& d2, int& id) {
  d1 = d2 = 1e9f;
  id = 0;
  for (int i = 0; i < count; i++) {
    uint32_t h = Hash(i, 7, seed);
    float cx = (h & 0xFFFF) / 65536.0f * period, cy = (h >> 16) / 65536.0f * period;
    for (int oy = -1; oy <= 1; oy++)
      for (int ox = -1; ox <= 1; ox++) {
        float dx = x - (cx + ox * period), dy = y - (cy + oy * period);
        float d = std::sqrt(dx * dx + dy * dy);
        if (d < d1) d2 = d1, d1 = d, id = i;
        else if (d < d2) d2 = d;
      }
  }
}

static std::string FontFolder = "Files/Common";
void SetFontFolder(const std::string& folder) { FontFolder = folder; }
std::string FontPath(const std::string& fileName) { return FontFolder + "/" + fileName; }

Image RenderText(const std::string& fontPath, int pixelSize, const std::string& text) {
  FT_Library lib;
  FT_Face face;
  if (FT_Init_FreeType(&lib)) return NewImage(1, 1);
  if (FT_New_Face(lib, fontPath.c_str(), 0, &face)) {
    std::fprintf(stderr, "artgen: cannot open font %s\n", fontPath.c_str());
    FT_Done_FreeType(lib);
    return NewImage(1, 1);
  }
  FT_Set_Pixel_Sizes(face, 0, pixelSize);
  int ascent = int(face->size->metrics.ascender >> 6), descent = int(-face->size->metrics.descender >> 6);
  int width = 0;
  for (unsigned char ch : text) {
    if (!FT_Load_Char(face, ch, FT_LOAD_DEFAULT)) width += int(face->glyph->advance.x >> 6);
  }
  Image img = NewImage(width + 4, ascent + descent + 4, {1, 1, 1, 0});
  int pen = 2;
  for (unsigned char ch : text) {
    if (FT_Load_Char(face, ch, FT_LOAD_RENDER)) continue;
    FT_Bitmap& bm = face->glyph->bitmap;
    for (unsigned y = 0; y < bm.rows; y++)
      for (unsigned x = 0; x < bm.width; x++) {
        int px = pen + face->glyph->bitmap_left + int(x), py = 2 + ascent - face->glyph->bitmap_top + int(y);
        float a = bm.buffer[y * bm.pitch + x] / 255.0f;
        Colour old = Pixel(img, px, py);
        SetPixel(img, px, py, {1, 1, 1, std::max(old.a, a)});
      }
    pen += int(face->glyph->advance.x >> 6);
  }
  FT_Done_Face(face);
  FT_Done_FreeType(lib);
  return img;
}
