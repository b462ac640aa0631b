// Art and sound generator for Plimbo Direr: shared image, drawing, noise and
// sound helpers. Every picture and sound in the data folder is computed here
// from fixed seeds, so a build always yields the same bytes.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Colour {
  float r, g, b, a;
};

// Straight (not premultiplied) RGBA, 0..1 per channel, rows top to bottom.
struct Image {
  int w = 0, h = 0;
  std::vector<float> px;
};

struct Rng {
  uint64_t state;
  uint64_t Next();
  float Unit();  // 0 <= x < 1
  float Range(float lo, float hi);
};

using Shape = std::function<bool(float, float)>;

Image NewImage(int w, int h, Colour fill = {0, 0, 0, 0});
Colour Pixel(const Image& img, int x, int y);
void SetPixel(Image& img, int x, int y, Colour c);
void Blend(Image& img, int x, int y, Colour c, float cover);
void FillShape(Image& img, float x0, float y0, float x1, float y1, const Shape& inside, Colour c);
void FillCircle(Image& img, float cx, float cy, float r, Colour c);
void FillRoundRect(Image& img, float x, float y, float w, float h, float radius, Colour c);
void FillPolygon(Image& img, const std::vector<float>& xy, Colour c);
void StrokeLine(Image& img, float x0, float y0, float x1, float y1, float width, Colour c);
void StrokeRing(Image& img, float cx, float cy, float r, float width, Colour c);
bool InPolygon(const std::vector<float>& xy, float x, float y);
float SegmentDistance(float px, float py, float x0, float y0, float x1, float y1);
std::vector<float> StarPoints(float cx, float cy, float outer, float inner, int points, float turn);
void DrawImage(Image& dst, const Image& src, int x, int y, Colour tint = {1, 1, 1, 1});
// Bilinear draw of `src` scaled, top-left at (x, y).
void DrawScaled(Image& dst, const Image& src, float x, float y, float scale);
Image Crop(const Image& src, int x, int y, int w, int h);
Image Sheet(const std::vector<Image>& frames, int perRow);
bool WritePng(const Image& img, const std::string& path);

// Smooth value noise that repeats every `period` pixels in both directions.
float TileNoise(float x, float y, int period, uint32_t seed);
float TileFbm(float x, float y, int period, int octaves, uint32_t seed);
// Distance to the nearest and second-nearest of `count` random points per
// period square, wrapped, for stone and crystal patterns.
void TileCells(float x, float y, int period, int count, uint32_t seed, float& d1, float& d2, int& id);
float Smooth(float e0, float e1, float x);
float Clamp01(float x);

// Text through FreeType, as a white image whose alpha is the glyph coverage.
Image RenderText(const std::string& fontPath, int pixelSize, const std::string& text);
void SetFontFolder(const std::string& folder);
std::string FontPath(const std::string& fileName);

// Images (sprites.cpp, panels.cpp).
std::vector<Image> BallFrames();
std::vector<Image> TileFrames();
Image BallImage(int size, float turn);  // one ball frame at another size
Image TileImage(int code, int size);    // one rock tile (neighbour code) at another size
Image Background();
Image Vignette();
Image TimerDial();
Image Pickup();
std::vector<Image> IconFrames();
Image GameLogo();
Image CommunityLogo();
std::vector<Image> BadgeFrames();
// The game's icon (icon.cpp) at each size; every size must divide 768.
std::vector<Image> AppIcons(const std::vector<int>& sizes);

// Sounds (sounds.cpp, music.cpp): mono 44.1 kHz samples, written as 16-bit WAV.
constexpr int kRate = 44100;
using Samples = std::vector<float>;
bool WriteWav(Samples s, float peak, const std::string& path);
Samples Effect(int number);  // 1..7
Samples BadgeJingle();
Samples DrumHit(int kit, int hit);                  // kit 1..2, hit 1..8
Samples MusicLoop(const std::string& part, int k);  // "bass", "lead", "accompany"; k 1..4
