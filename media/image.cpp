// image.cpp — images and 2D drawing: PNG images and strips cut from a sheet,
// their handles, the drawing state (colour, alpha, blend, rotation, scale),
// drawing images, rectangles and lines, and pixel-accurate collisions.
//
// Each image is one texture holding its frames on a grid. Every cell has a
// one-pixel border that repeats its own edge pixels: smooth scaling samples
// half a texel past a frame's edge, and there it finds the frame's own
// colour rather than a neighbour or a transparent gap, so tiles laid edge
// to edge show no seam. The frames' opacity stays on the CPU as masks for
// the collision test.
#include "media/display_internal.h"
#include "media/internal.h"
#include "media/media.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace media {
DrawState Draw;
}

using namespace media;

namespace {

struct Image {
  SDL_Texture* texture;          // null while the software renderer draws itself
  std::vector<uint32_t> pixels;  // the texture's pixels then, atlasWidth a row
  int atlasWidth;
  bool filtered;                       // smoothed when scaled
  int width, height, frames, columns;  // frame size; frames per texture row
  float handleX, handleY;
  std::vector<uint8_t> opaque;     // frames × height × width, 1 where alpha > 0
  std::vector<SoftScaled> scaled;  // frames stretched to the window (software drawing)
};

std::unordered_map<int, Image> Images;
bool AutoCentring = false;
SDL_Texture* WhiteTexel = nullptr;  // stretched into filled rectangles
constexpr int kPad = 1;             // border around each cell, on every side
constexpr int kMaxTextureWidth = 4096;

Image* FindImage(int image) {
  auto it = Images.find(image);
  return it == Images.end() ? nullptr : &it->second;
}

// The cells asked for all lie on the sheet.
bool CellsFit(int sheetW, int sheetH, int cellW, int cellH, int firstCell, int count) {
  if (cellW <= 0 || cellH <= 0 || cellW > sheetW || cellH > sheetH || count <= 0 || firstCell < 0) return false;
  return int64_t(firstCell) + count <= int64_t(sheetW / cellW) * (sheetH / cellH);
}

// Builds an image from cells of a sheet; cell i of the image is sheet cell
// firstCell + i, counting left to right, then top to bottom.
int MakeImage(const std::vector<uint32_t>& sheet, int sheetW, int sheetH, int cellW, int cellH, int firstCell,
              int count, int flags) {
  if (!Renderer || !CellsFit(sheetW, sheetH, cellW, cellH, firstCell, count)) return 0;
  int sheetColumns = sheetW / cellW;

  int columns = std::clamp(kMaxTextureWidth / (cellW + 2 * kPad), 1, count);
  int rows = (count + columns - 1) / columns;
  int texW = columns * (cellW + 2 * kPad), texH = rows * (cellH + 2 * kPad);
  std::vector<uint32_t> atlas(static_cast<size_t>(texW) * texH, 0);
  std::vector<uint8_t> opaque(static_cast<size_t>(count) * cellW * cellH);
  for (int f = 0; f < count; ++f) {
    int cell = firstCell + f;
    int sx = cell % sheetColumns * cellW, sy = cell / sheetColumns * cellH;
    int tx = f % columns * (cellW + 2 * kPad), ty = f / columns * (cellH + 2 * kPad);
    for (int y = -kPad; y < cellH + kPad; ++y) {
      for (int x = -kPad; x < cellW + kPad; ++x) {
        int cx = std::clamp(x, 0, cellW - 1), cy = std::clamp(y, 0, cellH - 1);
        uint32_t c = sheet[static_cast<size_t>(sy + cy) * sheetW + sx + cx];
        if ((flags & IMAGE_MASKED) && (c & 0xFFFFFF) == 0) c = 0;
        atlas[static_cast<size_t>(ty + kPad + y) * texW + tx + kPad + x] = c;
        if (cx == x && cy == y) opaque[(static_cast<size_t>(f) * cellH + y) * cellW + x] = (c >> 24) != 0;
      }
    }
  }
  bool filtered = flags & IMAGE_FILTERED;
  SDL_Texture* texture = nullptr;
  if (!SoftwareDrawing() && !(texture = MakeTexture(atlas.data(), texW, texH, filtered))) return 0;
  if (texture) std::vector<uint32_t>().swap(atlas);  // the texture holds the pixels now
  int handle = NewHandle();
  float hx = AutoCentring ? cellW / 2.0f : 0, hy = AutoCentring ? cellH / 2.0f : 0;
  Images[handle] = {texture, std::move(atlas),  texW, filtered, cellW, cellH, count, columns, hx,
                    hy,      std::move(opaque), {}};
  return handle;
}

// SDL's own software renderer, used when the window's pixels are not a
// format the program draws into itself.
bool SoftwareRenderer() {
  static SDL_Renderer* known = nullptr;
  static bool software = false;
  if (Renderer != known) {
    SDL_RendererInfo info{};
    known = Renderer;
    software = SDL_GetRendererInfo(Renderer, &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE);
  }
  return software;
}

// The software renderer truncates a draw's scaled position and size each on
// its own, so two tiles meeting at a fraction of a real pixel leave a pixel
// of gap between them. Their edges go to whole real pixels instead (the
// left and top where truncation put them), so neighbours share an edge.
void SnapToPixels(SDL_FRect& r) {
  float sx = 1, sy = 1;
  SDL_RenderGetScale(Renderer, &sx, &sy);
  if (sx <= 0 || sy <= 0) return;
  // Away from zero, so the renderer's own multiply and truncate land on it.
  auto exact = [](float whole, float scale) { return (whole + (whole < 0 ? -0.001f : 0.001f)) / scale; };
  auto edge = [](float v) { return v < 0 ? std::ceil(v - 0.001f) : std::floor(v + 0.001f); };
  float left = edge(r.x * sx), right = edge((r.x + r.w) * sx);
  float top = edge(r.y * sy), bottom = edge((r.y + r.h) * sy);
  r = SDL_FRect{exact(left, sx), exact(top, sy), exact(right - left, sx), exact(bottom - top, sy)};
}

// Draws a texture rectangle of size w × h whose handle point lands on (x, y),
// under the drawing state, scaled and turned about that point. A negative
// scale mirrors it; the handle then sits as far from the opposite edge.
void DrawTransformed(SDL_Texture* texture, const SDL_Rect& src, float w, float h, float handleX, float handleY, float x,
                     float y) {
  SDL_SetTextureBlendMode(texture, SdlBlend(Draw.blend));
  bool turned = std::fmod(Draw.rotation, 360.0f) != 0.0f;
  SDL_SetTextureColorMod(texture, Draw.r, Draw.g, Draw.b);
  SDL_SetTextureAlphaMod(texture, static_cast<Uint8>(Draw.alpha * 255.0f + 0.5f));
  float sx = std::fabs(Draw.scaleX), sy = std::fabs(Draw.scaleY);
  float cx = (Draw.scaleX < 0 ? w - handleX : handleX) * sx;
  float cy = (Draw.scaleY < 0 ? h - handleY : handleY) * sy;
  SDL_FRect dst{x - cx, y - cy, w * sx, h * sy};
  if (SoftwareRenderer()) SnapToPixels(dst);
  SDL_FPoint centre{cx, cy};
  int flip = (Draw.scaleX < 0 ? SDL_FLIP_HORIZONTAL : 0) | (Draw.scaleY < 0 ? SDL_FLIP_VERTICAL : 0);
  SDL_RenderCopyExF(Renderer, texture, &src, &dst, turned ? Draw.rotation : 0, &centre,
                    static_cast<SDL_RendererFlip>(flip));
}

// For the layout check: the box a w × h draw with its handle on (x, y)
// covers, unturned (a turned one is flagged, and its box is not checked).
void RecordBox(int kind, float w, float h, float handleX, float handleY, float x, float y) {
  float x1 = x - handleX * Draw.scaleX, y1 = y - handleY * Draw.scaleY;
  float x2 = x1 + w * Draw.scaleX, y2 = y1 + h * Draw.scaleY;
  DrawRecorder(DrawnBox{kind, "", std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2),
                        std::fmod(Draw.rotation, 360.0f) != 0.0f});
}

}  // namespace

namespace media {

SDL_BlendMode SdlBlend(int kind) {
  switch (kind) {
    case BLEND_SOLID: return SDL_BLENDMODE_NONE;
    case BLEND_MULTIPLY: return SDL_BLENDMODE_MOD;
    case BLEND_ADD: return SDL_BLENDMODE_ADD;
    default: return SDL_BLENDMODE_BLEND;
  }
}

SDL_Texture* MakeTexture(const uint32_t* pixels, int width, int height, bool filtered) {
  SDL_Texture* texture = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, width, height);
  if (!texture) return nullptr;
  if (SDL_UpdateTexture(texture, nullptr, pixels, width * 4) != 0) {
    SDL_DestroyTexture(texture);
    return nullptr;
  }
  SDL_SetTextureScaleMode(texture, filtered ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  return texture;
}

int ImageFromPixels(const std::vector<uint32_t>& pixels, int width, int height, int flags) {
  return MakeImage(pixels, width, height, width, height, 0, 1, flags);
}

void FreeAllImages() {
  for (auto& [handle, image] : Images)
    if (image.texture) SDL_DestroyTexture(image.texture);
  FreedHandles += static_cast<int>(Images.size());
  Images.clear();
  if (WhiteTexel) SDL_DestroyTexture(WhiteTexel);
  WhiteTexel = nullptr;
}

int ImageCount() { return int(Images.size()); }

int64_t ImageBytes() {
  int64_t bytes = 0;
  for (auto& [handle, image] : Images)
    bytes += int64_t(image.width) * image.height * image.frames * 5;  // texture + mask
  return bytes;
}

}  // namespace media

// Art files are a few hundred kilobytes; a PNG beyond this is not ours.
constexpr size_t MaxImageFileBytes = 64 << 20;

static std::string ReadSheet(const std::string& path, std::vector<uint32_t>& pixels, int& w, int& h) {
  if (!Renderer) return "no display is open";
  std::vector<uint8_t> file;
  std::string why = ReadMediaFile(path, MaxImageFileBytes, file);
  return why.empty() ? DecodePNG(file, pixels, w, h) : why;
}

// whole: the picture is the one frame, whatever its size.
static int LoadCells(const std::string& path, bool whole, int cellW, int cellH, int firstCell, int count, int flags) {
  std::vector<uint32_t> pixels;
  int w = 0, h = 0;
  std::string why = ReadSheet(path, pixels, w, h);
  if (!why.empty()) return LoadFailed(path, why);
  if (whole) cellW = w, cellH = h;
  if (!CellsFit(w, h, cellW, cellH, firstCell, count))
    return LoadFailed(path, "damaged (a " + std::to_string(w) + " x " + std::to_string(h) + " sheet has no room for " +
                                std::to_string(count) + " cells of " + std::to_string(cellW) + " x " +
                                std::to_string(cellH) + " from cell " + std::to_string(firstCell) + ")");
  int image = MakeImage(pixels, w, h, cellW, cellH, firstCell, count, flags);
  return image ? image : LoadFailed(path, std::string("the display refused it (") + SDL_GetError() + ")");
}

int LoadImage(const std::string& path, int flags) { return LoadCells(path, true, 0, 0, 0, 1, flags); }

int LoadImageStrip(const std::string& path, int cellWidth, int cellHeight, int firstCell, int cellCount, int flags) {
  return LoadCells(path, false, cellWidth, cellHeight, firstCell, cellCount, flags);
}

void FreeImage(int image) {
  if (Image* i = FindImage(image)) {
    if (i->texture) SDL_DestroyTexture(i->texture);
    Images.erase(image);
    FreedHandles++;
  }
}

void AutoCentre(bool on) { AutoCentring = on; }

void SetImageHandle(int image, float x, float y) {
  if (Image* i = FindImage(image)) {
    i->handleX = x;
    i->handleY = y;
  }
}

int ImageWidth(int image) {
  Image* i = FindImage(image);
  return i ? i->width : 0;
}

int ImageHeight(int image) {
  Image* i = FindImage(image);
  return i ? i->height : 0;
}

int ImageFrames(int image) {
  Image* i = FindImage(image);
  return i ? i->frames : 0;
}

void SetColour(int r, int g, int b) {
  Draw.r = static_cast<uint8_t>(std::clamp(r, 0, 255));
  Draw.g = static_cast<uint8_t>(std::clamp(g, 0, 255));
  Draw.b = static_cast<uint8_t>(std::clamp(b, 0, 255));
}

void SetAlpha(float alpha) { Draw.alpha = std::clamp(alpha, 0.0f, 1.0f); }

void SetBlend(int kind) {
  if (kind >= BLEND_SOLID && kind <= BLEND_ADD) Draw.blend = kind;
}

void SetRotation(float degrees) { Draw.rotation = degrees; }

void SetScale(float sx, float sy) {
  Draw.scaleX = sx;
  Draw.scaleY = sy;
}

float GetAlpha() { return Draw.alpha; }
int GetBlend() { return Draw.blend; }
float GetRotation() { return Draw.rotation; }
float GetScaleX() { return Draw.scaleX; }
float GetScaleY() { return Draw.scaleY; }

void GetColour(int* r, int* g, int* b) {
  if (r) *r = Draw.r;
  if (g) *g = Draw.g;
  if (b) *b = Draw.b;
}

void DrawImage(int image, float x, float y, int frame) {
  Image* i = FindImage(image);
  if (!i || frame < 0 || frame >= i->frames) return;
  if (DrawRecorder) RecordBox(DRAWN_IMAGE, float(i->width), float(i->height), i->handleX, i->handleY, x, y);
  SDL_Rect src{frame % i->columns * (i->width + 2 * kPad) + kPad, frame / i->columns * (i->height + 2 * kPad) + kPad,
               i->width, i->height};
  if (!i->texture) {
    SoftSource source;
    source.argb = i->pixels.data();
    source.pitch = i->atlasWidth;
    source.x = src.x, source.y = src.y, source.w = src.w, source.h = src.h;
    source.scaled = &i->scaled;
    source.scaledLimit = size_t(i->frames) * 2 + 8;
    return SoftDraw(source, float(i->width), float(i->height), i->handleX, i->handleY, x, y, i->filtered);
  }
  DrawTransformed(i->texture, src, float(i->width), float(i->height), i->handleX, i->handleY, x, y);
}

// A stretched white texel rather than SDL_RenderGeometry: SDL's software
// renderer draws untextured geometry with its own choice of blend mode.
void DrawRect(float x, float y, float width, float height) {
  if (!Renderer) return;
  if (SoftwareDrawing()) {
    static const uint32_t white = 0xFFFFFFFFu;
    SoftSource source;
    source.argb = &white;
    source.pitch = source.w = source.h = 1;
    return SoftDraw(source, width, height, 0, 0, x, y, false);
  }
  if (!WhiteTexel) {
    const uint32_t white = 0xFFFFFFFFu;
    WhiteTexel = MakeTexture(&white, 1, 1, false);
    if (!WhiteTexel) return;
  }
  if (DrawRecorder) RecordBox(DRAWN_RECT, width, height, 0, 0, x, y);
  DrawTransformed(WhiteTexel, SDL_Rect{0, 0, 1, 1}, width, height, 0, 0, x, y);
}

void DrawLine(float x1, float y1, float x2, float y2, bool lastPixel) {
  if (!Renderer) return;
  if (!lastPixel) {
    // Stop one step short along the longer axis.
    float steps = std::max(std::fabs(x2 - x1), std::fabs(y2 - y1));
    if (steps < 1.0f) return;
    x2 -= (x2 - x1) / steps;
    y2 -= (y2 - y1) / steps;
  }
  SDL_SetRenderDrawBlendMode(Renderer, SdlBlend(Draw.blend));
  SDL_SetRenderDrawColor(Renderer, Draw.r, Draw.g, Draw.b, static_cast<Uint8>(Draw.alpha * 255.0f + 0.5f));
  SDL_RenderDrawLineF(Renderer, x1, y1, x2, y2);
}

bool ImagesCollide(int imageA, float ax, float ay, int frameA, int imageB, float bx, float by, int frameB) {
  Image* a = FindImage(imageA);
  Image* b = FindImage(imageB);
  if (!a || !b || frameA < 0 || frameA >= a->frames || frameB < 0 || frameB >= b->frames) return false;
  // Top-left corners on the pixel grid; B's position relative to A.
  int aLeft = static_cast<int>(std::floor(ax - a->handleX));
  int aTop = static_cast<int>(std::floor(ay - a->handleY));
  int dx = static_cast<int>(std::floor(bx - b->handleX)) - aLeft;
  int dy = static_cast<int>(std::floor(by - b->handleY)) - aTop;
  int x0 = std::max(0, dx), x1 = std::min(a->width, dx + b->width);
  int y0 = std::max(0, dy), y1 = std::min(a->height, dy + b->height);
  const uint8_t* maskA = &a->opaque[static_cast<size_t>(frameA) * a->width * a->height];
  const uint8_t* maskB = &b->opaque[static_cast<size_t>(frameB) * b->width * b->height];
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      if (maskA[y * a->width + x] && maskB[(y - dy) * b->width + (x - dx)]) return true;
  return false;
}
