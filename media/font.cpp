// font.cpp — TrueType fonts through FreeType. Each font renders its Latin-1
// glyphs (bytes 32..255) once, at load, into one texture atlas; text is then
// drawn as one batch of textured quads under the current drawing state.
#include "media/display_internal.h"
#include "media/internal.h"
#include "media/media.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <unordered_map>

using namespace media;

namespace {

struct Glyph {
  int x, y, w, h;  // place in the atlas
  int left, top, advance;
};

struct Font {
  SDL_Texture* texture;
  int atlasW, atlasH;
  int ascent, lineHeight;
  Glyph glyphs[256];
};

std::unordered_map<int, Font> Fonts;
int Current = 0;
FT_Library Library = nullptr;

Font* FindFont(int font) {
  auto it = Fonts.find(font);
  return it == Fonts.end() ? nullptr : &it->second;
}

// One glyph's coverage, 0..255 per pixel, before it is packed.
struct Bitmap {
  int w = 0, h = 0;
  std::vector<uint8_t> coverage;
};

Bitmap Rasterise(FT_Face face, bool smooth) {
  Bitmap out;
  const FT_Bitmap& bm = face->glyph->bitmap;
  out.w = static_cast<int>(bm.width);
  out.h = static_cast<int>(bm.rows);
  out.coverage.resize(static_cast<size_t>(out.w) * out.h);
  for (int y = 0; y < out.h; ++y) {
    const uint8_t* row = bm.buffer + y * bm.pitch;
    for (int x = 0; x < out.w; ++x) {
      uint8_t v = bm.pixel_mode == FT_PIXEL_MODE_MONO ? ((row[x >> 3] >> (7 - (x & 7))) & 1) * 255
                                                       : row[x];
      out.coverage[static_cast<size_t>(y) * out.w + x] = smooth ? v : (v >= 128 ? 255 : 0);
    }
  }
  return out;
}

// The box of the glyphs' quads: the ink the player sees, a pixel or two of
// smoothing around it.
void RecordText(const std::string& text, const std::vector<SDL_Vertex>& vertices) {
  DrawnBox box{DRAWN_TEXT, text, 1e30f, 1e30f, -1e30f, -1e30f, std::fmod(Draw.rotation, 360.0f) != 0.0f};
  for (const SDL_Vertex& v : vertices) {
    box.left = std::min(box.left, v.position.x), box.right = std::max(box.right, v.position.x);
    box.top = std::min(box.top, v.position.y), box.bottom = std::max(box.bottom, v.position.y);
  }
  DrawRecorder(box);
}

}  // namespace

// Font files run to a few hundred kilobytes; a glyph many times the size
// asked for is a broken outline, and drawing it would cost its whole area.
constexpr size_t MaxFontFileBytes = 32 << 20;
constexpr int MaxGlyphScale = 4;
constexpr int MaxAtlasSide = 4096;

int LoadFont(const std::string& path, int pixelSize, bool smooth) {
  if (!Renderer) return LoadFailed(path, "no display is open");
  if (pixelSize <= 0) return 0;
  if (!Library && FT_Init_FreeType(&Library) != 0) return LoadFailed(path, "FreeType did not start");
  std::vector<uint8_t> file;
  std::string why = ReadMediaFile(path, MaxFontFileBytes, file);
  if (!why.empty()) return LoadFailed(path, why);
  FT_Face face;
  if (FT_New_Memory_Face(Library, file.data(), FT_Long(file.size()), 0, &face) != 0)
    return LoadFailed(path, "damaged (not a font FreeType can read)");
  if (FT_Set_Pixel_Sizes(face, 0, pixelSize) != 0) {
    FT_Done_Face(face);
    return LoadFailed(path, "damaged (has no size " + std::to_string(pixelSize) + ")");
  }
  FT_Select_Charmap(face, FT_ENCODING_UNICODE);  // Latin-1 bytes are Unicode 0..255

  Font font{};
  font.ascent = static_cast<int>((face->size->metrics.ascender + 32) >> 6);
  font.lineHeight = static_cast<int>((face->size->metrics.height + 32) >> 6);
  std::vector<Bitmap> bitmaps(256);
  int64_t area = 0;
  const FT_Pos maxGlyph = FT_Pos(MaxGlyphScale) * pixelSize * 64;  // 26.6 units
  FT_Int32 load = smooth ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO;
  for (int c = 32; c < 256; ++c) {
    if (FT_Load_Char(face, static_cast<FT_ULong>(c), load) != 0) continue;
    FT_GlyphSlot slot = face->glyph;
    Glyph& g = font.glyphs[c];
    g.advance = static_cast<int>(std::clamp<FT_Pos>((slot->advance.x + 32) >> 6, -maxGlyph / 64, maxGlyph / 64));
    // Measured before rendering: the outline's box is what rendering would
    // allocate. An oversized glyph stays blank; the rest of the font is fine.
    FT_Pos w = FT_Pos(slot->bitmap.width) * 64, h = FT_Pos(slot->bitmap.rows) * 64;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
      FT_BBox box;
      FT_Outline_Get_CBox(&slot->outline, &box);
      w = box.xMax - box.xMin, h = box.yMax - box.yMin;
    }
    if (w > maxGlyph || h > maxGlyph) continue;
    if (FT_Render_Glyph(slot, smooth ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) continue;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    bitmaps[c] = Rasterise(face, smooth);
    area += int64_t(bitmaps[c].w + 1) * (bitmaps[c].h + 1);
  }
  FT_Done_Face(face);

  // Shelf packing into a square-ish atlas, a pixel of gap between glyphs.
  int width = 256;
  while (width < 4096 && int64_t(width) * width < area * 5 / 4) width *= 2;
  int penX = 0, penY = 0, shelf = 0;
  for (int c = 32; c < 256; ++c) {
    Glyph& g = font.glyphs[c];
    g.w = std::min(bitmaps[c].w, width - 1);
    g.h = bitmaps[c].h;
    if (penX + g.w + 1 > width) {
      penX = 0;
      penY += shelf;
      shelf = 0;
    }
    g.x = penX;
    g.y = penY;
    penX += g.w + 1;
    shelf = std::max(shelf, g.h + 1);
  }
  font.atlasW = width;
  font.atlasH = std::max(1, penY + shelf);
  if (font.atlasH > MaxAtlasSide)
    return LoadFailed(path, "too large (its glyphs at size " + std::to_string(pixelSize) + " need a " +
                                std::to_string(width) + " x " + std::to_string(font.atlasH) + " atlas)");
  std::vector<uint32_t> atlas(static_cast<size_t>(font.atlasW) * font.atlasH, 0x00FFFFFFu);
  for (int c = 32; c < 256; ++c) {
    const Glyph& g = font.glyphs[c];
    for (int y = 0; y < g.h; ++y)
      for (int x = 0; x < g.w; ++x)
        atlas[static_cast<size_t>(g.y + y) * font.atlasW + g.x + x] =
            uint32_t(bitmaps[c].coverage[static_cast<size_t>(y) * bitmaps[c].w + x]) << 24 |
            0xFFFFFFu;
  }
  font.texture = MakeTexture(atlas.data(), font.atlasW, font.atlasH, smooth);
  if (!font.texture) return LoadFailed(path, std::string("the display refused it (") + SDL_GetError() + ")");
  int handle = NewHandle();
  Fonts[handle] = font;
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
    SDL_DestroyTexture(f->texture);
    Fonts.erase(font);
    FreedHandles++;
  }
}

void SetFont(int font) {
  if (FindFont(font)) Current = font;
}

int CurrentFont() { return FindFont(Current) ? Current : 0; }

void DrawText(const std::string& text, float x, float y) {
  Font* f = FindFont(Current);
  if (!f || text.empty()) return;
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
      const float corners[4][2] = {{left, top}, {left + g.w, top}, {left + g.w, top + g.h},
                                   {left, top + g.h}};
      const float uv[4][2] = {{float(g.x), float(g.y)}, {float(g.x + g.w), float(g.y)},
                              {float(g.x + g.w), float(g.y + g.h)}, {float(g.x), float(g.y + g.h)}};
      int base = static_cast<int>(vertices.size());
      for (int k = 0; k < 4; ++k) {
        float px = corners[k][0] * Draw.scaleX, py = corners[k][1] * Draw.scaleY;
        vertices.push_back({{x + px * c - py * s, y + px * s + py * c},
                            colour,
                            {uv[k][0] / f->atlasW, uv[k][1] / f->atlasH}});
      }
      for (int k : {0, 1, 2, 0, 2, 3}) indices.push_back(base + k);
    }
    pen += g.advance;
  }
  if (vertices.empty()) return;
  if (DrawRecorder) RecordText(text, vertices);
  SDL_SetTextureBlendMode(f->texture, SdlBlend(Draw.blend));
  SDL_RenderGeometry(Renderer, f->texture, vertices.data(), static_cast<int>(vertices.size()),
                     indices.data(), static_cast<int>(indices.size()));
}

int TextWidth(const std::string& text) {
  Font* f = FindFont(Current);
  if (!f) return 0;
  int width = 0;
  for (unsigned char ch : text) width += f->glyphs[ch].advance;
  return width;
}

int FontHeight() {
  Font* f = FindFont(Current);
  return f ? f->lineHeight : 0;
}

namespace media {

void FreeAllFonts() {
  for (auto& [handle, font] : Fonts) SDL_DestroyTexture(font.texture);
  FreedHandles += static_cast<int>(Fonts.size());
  Fonts.clear();
  Current = 0;
}

int FontCount() { return int(Fonts.size()); }

int64_t FontBytes() {
  int64_t bytes = 0;
  for (auto& [handle, font] : Fonts) bytes += int64_t(font.atlasW) * font.atlasH * 4;
  return bytes;
}

void FontShutdown() {
  FreeAllFonts();
  if (Library) FT_Done_FreeType(Library);
  Library = nullptr;
}

}  // namespace media
