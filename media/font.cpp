// font.cpp — TrueType fonts through FreeType. A font keeps its face open
// and renders each Latin-1 glyph (bytes 32..255) the first time it is drawn,
// into the font's 8-bit coverage atlas; a graphics renderer also gets the
// atlas as a texture. Text is drawn under the current drawing state: as one
// batch of textured quads, or by the software drawing straight from the
// coverage. Measuring text loads a glyph's outline, never its pixels.
#include "media/display_internal.h"
#include "media/internal.h"
#include "media/media.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <unordered_map>
#include <utility>

using namespace media;

namespace {

enum GlyphState : uint8_t { GLYPH_UNKNOWN, GLYPH_MEASURED, GLYPH_READY };

struct Glyph {
  int x, y, w, h;  // place in the atlas
  int left, top, advance;
};

struct Font {
  FT_Face face;
  std::shared_ptr<std::vector<uint8_t>> file;  // the face reads it while open
  bool smooth;
  int pixelSize;
  int ascent, lineHeight;
  GlyphState state[256];
  Glyph glyphs[256];
  std::vector<uint8_t> coverage;  // atlasW x atlasH, 0..255 per pixel
  int atlasW, atlasH;
  int penX, penY, shelf;  // where the next glyph goes
  SDL_Texture* texture;   // null while the software drawing is on
};

std::unordered_map<int, Font> Fonts;
int Current = 0;
FT_Library Library = nullptr;
// Sizes of one face share its file's bytes.
std::map<std::string, std::weak_ptr<std::vector<uint8_t>>> FontFiles;

Font* FindFont(int font) {
  auto it = Fonts.find(font);
  return it == Fonts.end() ? nullptr : &it->second;
}

// Font files run to a few hundred kilobytes; a glyph many times the size
// asked for is a broken outline, and drawing it would cost its whole area.
constexpr size_t MaxFontFileBytes = 32 << 20;
constexpr int MaxGlyphScale = 4;
constexpr int MaxAtlasSide = 4096;

FT_Int32 LoadFlags(const Font& f) { return f.smooth ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO; }

// The glyph's advance, from its outline alone. A glyph that does not load
// is blank and takes no room.
void Measure(Font& f, unsigned char c) {
  if (f.state[c] != GLYPH_UNKNOWN) return;
  f.state[c] = GLYPH_MEASURED;
  if (c < 32 || FT_Load_Char(f.face, FT_ULong(c), LoadFlags(f)) != 0) {
    f.state[c] = GLYPH_READY;
    return;
  }
  const FT_Pos maxGlyph = FT_Pos(MaxGlyphScale) * f.pixelSize;
  f.glyphs[c].advance = int(std::clamp<FT_Pos>((f.face->glyph->advance.x + 32) >> 6, -maxGlyph, maxGlyph));
}

// The atlas as texture pixels: white, of the coverage's opacity.
SDL_Texture* AtlasTexture(const Font& f) {
  std::vector<uint32_t> pixels(f.coverage.size());
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint32_t(f.coverage[i]) << 24 | 0xFFFFFFu;
  return MakeTexture(pixels.data(), f.atlasW, f.atlasH, f.smooth);
}

// Room for a w x h glyph on the atlas's shelves, a pixel of gap around it;
// the atlas grows downwards as it fills. False when it cannot grow further.
bool Place(Font& f, Glyph& g) {
  if (f.penX + g.w + 1 > f.atlasW) {
    f.penX = 0;
    f.penY += f.shelf;
    f.shelf = 0;
  }
  int height = f.atlasH;
  while (f.penY + g.h + 1 > height && height < MaxAtlasSide) height *= 2;
  if (f.penY + g.h + 1 > height) return false;
  if (height != f.atlasH) {
    f.coverage.resize(size_t(f.atlasW) * size_t(height), 0);
    f.atlasH = height;
    if (f.texture) {
      SDL_DestroyTexture(f.texture);
      f.texture = AtlasTexture(f);
    }
  }
  g.x = f.penX;
  g.y = f.penY;
  f.penX += g.w + 1;
  f.shelf = std::max(f.shelf, g.h + 1);
  return true;
}

// Renders the glyph into the atlas the first time it is needed. An
// oversized or unrenderable glyph stays blank; the rest of the font is fine.
void Render(Font& f, unsigned char c) {
  Measure(f, c);
  if (f.state[c] == GLYPH_READY) return;
  f.state[c] = GLYPH_READY;
  if (FT_Load_Char(f.face, FT_ULong(c), LoadFlags(f)) != 0) return;
  FT_GlyphSlot slot = f.face->glyph;
  // Measured before rendering: the outline's box is what rendering would allocate.
  const FT_Pos maxGlyph = FT_Pos(MaxGlyphScale) * f.pixelSize * 64;  // 26.6 units
  FT_Pos w = FT_Pos(slot->bitmap.width) * 64, h = FT_Pos(slot->bitmap.rows) * 64;
  if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
    FT_BBox box;
    FT_Outline_Get_CBox(&slot->outline, &box);
    w = box.xMax - box.xMin, h = box.yMax - box.yMin;
  }
  if (w > maxGlyph || h > maxGlyph) return;
  if (FT_Render_Glyph(slot, f.smooth ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) return;
  const FT_Bitmap& bm = slot->bitmap;
  Glyph& g = f.glyphs[c];
  g.w = std::min(int(bm.width), f.atlasW - 1);
  g.h = int(bm.rows);
  if (g.w <= 0 || g.h <= 0 || !Place(f, g)) {
    g.w = g.h = 0;
    return;
  }
  g.left = slot->bitmap_left;
  g.top = slot->bitmap_top;
  std::vector<uint32_t> pixels(size_t(g.w) * size_t(g.h));
  for (int y = 0; y < g.h; ++y) {
    const uint8_t* row = bm.buffer + y * bm.pitch;
    for (int x = 0; x < g.w; ++x) {
      uint8_t v = bm.pixel_mode == FT_PIXEL_MODE_MONO ? ((row[x >> 3] >> (7 - (x & 7))) & 1) * 255 : row[x];
      if (!f.smooth) v = v >= 128 ? 255 : 0;
      f.coverage[size_t(g.y + y) * size_t(f.atlasW) + size_t(g.x + x)] = v;
      pixels[size_t(y) * size_t(g.w) + size_t(x)] = uint32_t(v) << 24 | 0xFFFFFFu;
    }
  }
  if (f.texture) {
    SDL_Rect at{g.x, g.y, g.w, g.h};
    SDL_UpdateTexture(f.texture, &at, pixels.data(), g.w * 4);
  }
}

// The file's bytes, shared with other sizes of the same face already open.
std::string FontFile(const std::string& path, std::shared_ptr<std::vector<uint8_t>>& file) {
  if ((file = FontFiles[path].lock())) return "";
  file = std::make_shared<std::vector<uint8_t>>();
  std::string why = ReadMediaFile(path, MaxFontFileBytes, *file);
  if (why.empty()) FontFiles[path] = file;
  return why;
}

// For the layout check: the box of the glyphs' quads, the ink the player
// sees with a pixel or two of smoothing around it, on either drawing path.
void RecordText(const Font& f, const std::string& text, float x, float y) {
  float c = CosDeg(Draw.rotation), s = SinDeg(Draw.rotation);
  DrawnBox box{DRAWN_TEXT, text, 1e30f, 1e30f, -1e30f, -1e30f, std::fmod(Draw.rotation, 360.0f) != 0.0f};
  int pen = 0;
  for (unsigned char ch : text) {
    const Glyph& g = f.glyphs[ch];
    if (g.w > 0 && g.h > 0) {
      float left = float(pen + g.left), top = float(f.ascent - g.top);
      for (float cx : {left, left + g.w})
        for (float cy : {top, top + g.h}) {
          float px = cx * Draw.scaleX, py = cy * Draw.scaleY;
          float vx = x + px * c - py * s, vy = y + px * s + py * c;
          box.left = std::min(box.left, vx), box.right = std::max(box.right, vx);
          box.top = std::min(box.top, vy), box.bottom = std::max(box.bottom, vy);
        }
    }
    pen += g.advance;
  }
  if (box.left <= box.right) DrawRecorder(box);
}

void CloseFont(Font& f) {
  if (f.texture) SDL_DestroyTexture(f.texture);
  FT_Done_Face(f.face);
}

}  // namespace

int LoadFont(const std::string& path, int pixelSize, bool smooth) {
  if (!Renderer) return LoadFailed(path, "no display is open");
  if (pixelSize <= 0) return 0;
  if (!Library && FT_Init_FreeType(&Library) != 0) return LoadFailed(path, "FreeType did not start");
  Font f{};
  std::string why = FontFile(path, f.file);
  if (!why.empty()) return LoadFailed(path, why);
  if (FT_New_Memory_Face(Library, f.file->data(), FT_Long(f.file->size()), 0, &f.face) != 0)
    return LoadFailed(path, "damaged (not a font FreeType can read)");
  if (FT_Set_Pixel_Sizes(f.face, 0, FT_UInt(pixelSize)) != 0) {
    FT_Done_Face(f.face);
    return LoadFailed(path, "damaged (has no size " + std::to_string(pixelSize) + ")");
  }
  FT_Select_Charmap(f.face, FT_ENCODING_UNICODE);  // Latin-1 bytes are Unicode 0..255
  f.smooth = smooth;
  f.pixelSize = pixelSize;
  f.ascent = static_cast<int>((f.face->size->metrics.ascender + 32) >> 6);
  f.lineHeight = static_cast<int>((f.face->size->metrics.height + 32) >> 6);
  // Wide enough for a line of a dozen glyphs; it grows downwards as used.
  f.atlasW = 256;
  while (f.atlasW < MaxAtlasSide && f.atlasW < pixelSize * 12) f.atlasW *= 2;
  f.atlasH = 64;
  f.coverage.assign(size_t(f.atlasW) * size_t(f.atlasH), 0);
  if (!SoftwareDrawing() && !(f.texture = AtlasTexture(f))) {
    FT_Done_Face(f.face);
    return LoadFailed(path, std::string("the display refused it (") + SDL_GetError() + ")");
  }
  int handle = NewHandle();
  Fonts.emplace(handle, std::move(f));
  return handle;
}

FaceMetrics MeasureFace(const std::string& path) {
  FaceMetrics metrics;
  std::vector<uint8_t> file;
  if (!Library && FT_Init_FreeType(&Library) != 0) return metrics;
  if (!ReadMediaFile(path, MaxFontFileBytes, file).empty()) return metrics;
  FT_Face face;
  if (FT_New_Memory_Face(Library, file.data(), FT_Long(file.size()), 0, &face) != 0) return metrics;
  constexpr int Size = 100;  // large enough that rounding does not show
  if (FT_Set_Pixel_Sizes(face, 0, Size) == 0) {
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    FT_Pos top = 0, bottom = 0, advance = 0;
    const std::string sample = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ";
    for (int c = 33; c < 127; ++c) {
      if (FT_Load_Char(face, FT_ULong(c), FT_LOAD_NO_HINTING) != 0) continue;
      const FT_Glyph_Metrics& g = face->glyph->metrics;
      top = std::max(top, g.horiBearingY);
      bottom = std::min(bottom, g.horiBearingY - g.height);
      if (sample.find(char(c)) != std::string::npos) advance += face->glyph->advance.x;
    }
    if (FT_Load_Char(face, ' ', FT_LOAD_NO_HINTING) == 0) advance += face->glyph->advance.x;
    metrics.inkHeight = float(top - bottom) / 64.0f / Size;
    metrics.advance = float(advance) / 64.0f / Size / float(sample.size());
  }
  FT_Done_Face(face);
  return metrics;
}

void FreeFont(int font) {
  if (Font* f = FindFont(font)) {
    CloseFont(*f);
    Fonts.erase(font);
    FreedHandles++;
  }
}

void SetFont(int font) {
  if (FindFont(font)) Current = font;
}

int CurrentFont() { return FindFont(Current) ? Current : 0; }

namespace {

// Text through the software drawing: each glyph straight from the coverage.
// SDL's software renderer draws an upright glyph's quad as a copy onto the
// rectangle its corners span (filtered as the font is), and a turned one
// as triangles.
void DrawTextSoftware(const Font& f, const std::string& text, float x, float y) {
  SoftSource source;
  source.coverage = f.coverage.data();
  source.pitch = f.atlasW;
  bool upright = std::fmod(Draw.rotation, 360.0f) == 0.0f && Draw.scaleX > 0 && Draw.scaleY > 0;
  int pen = 0;
  for (unsigned char ch : text) {
    const Glyph& g = f.glyphs[ch];
    if (g.w > 0 && g.h > 0) {
      source.x = g.x, source.y = g.y, source.w = g.w, source.h = g.h;
      float left = float(pen + g.left), top = float(f.ascent - g.top);
      if (upright) {
        float x0 = x + left * Draw.scaleX, x1 = x + (left + g.w) * Draw.scaleX;
        float y0 = y + top * Draw.scaleY, y1 = y + (top + g.h) * Draw.scaleY;
        SoftCopy(source, x0, y0, x1 - x0, y1 - y0, false, false, f.smooth);
      } else {
        SoftDraw(source, float(g.w), float(g.h), -left, -top, x, y, f.smooth);
      }
    }
    pen += g.advance;
  }
}

}  // namespace

void DrawText(const std::string& text, float x, float y) {
  Font* f = FindFont(Current);
  if (!f || text.empty()) return;
  for (unsigned char ch : text) Render(*f, ch);  // first, as the atlas may grow
  if (DrawRecorder) RecordText(*f, text, x, y);
  if (!f->texture) return DrawTextSoftware(*f, text, x, y);
  float c = CosDeg(Draw.rotation), s = SinDeg(Draw.rotation);
  SDL_Color colour{Draw.r, Draw.g, Draw.b, static_cast<Uint8>(Draw.alpha * 255.0f + 0.5f)};
  static std::vector<SDL_Vertex> vertices;  // kept between calls: no allocation per line
  static std::vector<int> indices;
  vertices.clear();
  indices.clear();
  int pen = 0;
  for (unsigned char ch : text) {
    const Glyph& g = f->glyphs[ch];
    if (g.w > 0 && g.h > 0) {
      // Corners in the text's own frame, then scaled and turned about (x, y).
      float left = float(pen + g.left), top = float(f->ascent - g.top);
      const float corners[4][2] = {{left, top}, {left + g.w, top}, {left + g.w, top + g.h}, {left, top + g.h}};
      const float uv[4][2] = {{float(g.x), float(g.y)},
                              {float(g.x + g.w), float(g.y)},
                              {float(g.x + g.w), float(g.y + g.h)},
                              {float(g.x), float(g.y + g.h)}};
      int base = static_cast<int>(vertices.size());
      for (int k = 0; k < 4; ++k) {
        float px = corners[k][0] * Draw.scaleX, py = corners[k][1] * Draw.scaleY;
        vertices.push_back(
            {{x + px * c - py * s, y + px * s + py * c}, colour, {uv[k][0] / f->atlasW, uv[k][1] / f->atlasH}});
      }
      for (int k : {0, 1, 2, 0, 2, 3}) indices.push_back(base + k);
    }
    pen += g.advance;
  }
  if (vertices.empty()) return;
  SDL_SetTextureBlendMode(f->texture, SdlBlend(Draw.blend));
  SDL_RenderGeometry(Renderer, f->texture, vertices.data(), static_cast<int>(vertices.size()), indices.data(),
                     static_cast<int>(indices.size()));
}

int TextWidth(const std::string& text) {
  Font* f = FindFont(Current);
  if (!f) return 0;
  int width = 0;
  for (unsigned char ch : text) {
    Measure(*f, ch);
    width += f->glyphs[ch].advance;
  }
  return width;
}

int FontHeight() {
  Font* f = FindFont(Current);
  return f ? f->lineHeight : 0;
}

namespace media {

void FreeAllFonts() {
  for (auto& [handle, font] : Fonts) CloseFont(font);
  FreedHandles += static_cast<int>(Fonts.size());
  Fonts.clear();
  FontFiles.clear();
  Current = 0;
}

int FontCount() { return int(Fonts.size()); }

int64_t FontBytes() {
  int64_t bytes = 0;
  for (auto& [handle, font] : Fonts)
    bytes += int64_t(font.coverage.size()) * (font.texture ? 5 : 1);  // coverage, and the texture
  return bytes;
}

void FontShutdown() {
  FreeAllFonts();
  if (Library) FT_Done_FreeType(Library);
  Library = nullptr;
}

}  // namespace media
