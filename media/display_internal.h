// display_internal.h — what the display, image, font and PNG files of the
// media services share: the drawing state, handle numbering, texture
// helpers and PNG reading and writing. Nothing outside media/ includes it.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

struct DrawnBox;  // media.h

namespace media {

// The drawing state every draw reads (owned by image.cpp).
struct DrawState {
  uint8_t r = 255, g = 255, b = 255;
  float alpha = 1.0f;
  int blend = 1;  // BLEND_ALPHA
  float rotation = 0.0f;
  float scaleX = 1.0f, scaleY = 1.0f;
};
extern DrawState Draw;
SDL_BlendMode SdlBlend(int kind);

// One counter for images, fonts and pixmaps, so a handle is never reused and
// a stale one can never reach a newer object (owned by display.cpp).
int NewHandle();

// A texture from 0xAARRGGBB pixels, or null (owned by image.cpp).
SDL_Texture* MakeTexture(const uint32_t* pixels, int width, int height, bool filtered);
// A one-frame image from 0xAARRGGBB pixels; handle centred when AutoCentre is on.
int ImageFromPixels(const std::vector<uint32_t>& pixels, int width, int height, int flags);

// The layout check's recorder (display.cpp): null unless a check set it.
extern void (*DrawRecorder)(const DrawnBox&);

// Called by CloseDisplay: textures die with the renderer.
void FreeAllImages();  // image.cpp
void FreeAllFonts();   // font.cpp
void FontShutdown();   // font.cpp: releases FreeType
int64_t ImageBytes();  // image.cpp: pixels held, for the memory figure
int64_t FontBytes();   // font.cpp
int ImageCount();      // image.cpp: live handles, for the leak figures
int FontCount();       // font.cpp
int PixmapCount();     // display.cpp

// Where the virtual screen lies in the window: its scale, and the
// letterboxed rectangle it fills when the window's shape differs from its
// own (as SDL's logical size places it; owned by display.cpp).
struct ViewPlace {
  float scale;
  int x, y, w, h;
};
ViewPlace CurrentView();

// The software renderer's own drawing (software.cpp). While it is on, images
// and fonts keep their pixels here instead of in SDL textures, and every
// image, rectangle and glyph is drawn straight into the window's pixels.
extern bool SoftDrawingOn;  // chosen by OpenDisplay
bool SoftwareDrawing();     // on, and a display is open

// A part of an image already stretched to a size on the window, kept by the
// image: drawn at its natural scale, an image lands at the same window size
// frame after frame, so it is stretched once instead of on every draw.
struct SoftScaled {
  int x, y, w, h;  // the source part, and
  int toW, toH;    // the window size it was stretched to
  uint32_t tint;   // the colour it was tinted with (0xRRGGBB; white for none)
  std::vector<uint32_t> pixels;
};

// Part of a source: 0xAARRGGBB pixels, or 8-bit coverage (white of that opacity).
struct SoftSource {
  const uint32_t* argb = nullptr;
  const uint8_t* coverage = nullptr;
  int pitch = 0;                              // pixels per row
  int x = 0, y = 0, w = 0, h = 0;             // the part drawn
  std::vector<SoftScaled>* scaled = nullptr;  // the image's stretched parts, if it keeps them
  size_t scaledLimit = 0;                     // how many it keeps
};
struct SoftTarget {
  uint32_t* pixels;
  int pitch;      // pixels per row
  SDL_Rect clip;  // the letterboxed virtual screen, within the window
};
SoftTarget CurrentTarget();  // null pixels when there is nothing to draw on
// The source stretched over w x h virtual units whose handle point lands on
// (x, y), under the drawing state. Smooth: filtered where an upright copy is
// scaled; turned copies take the nearest texel, as SDL's triangles do.
void SoftDraw(const SoftSource& source, float w, float h, float handleX, float handleY, float x, float y, bool smooth);
// An upright copy onto the virtual rectangle, mirrored when asked.
void SoftCopy(const SoftSource& source, float left, float top, float width, float height, bool mirrorX, bool mirrorY,
              bool smooth);

// The window's pixels as drawn so far this frame (0x..RRGGBB), rows `pitch`
// apart: the window's own in software drawing, else read back into scratch.
// Null with no display (display.cpp).
const uint32_t* WindowPixels(std::vector<uint32_t>& scratch, int* width, int* height, int* pitch);

// PNG files as 0xAARRGGBB pixels (png.cpp). Decoding gives "" or why the
// bytes were refused ("damaged (...)", "too large (...)"); writing false.
std::string DecodePNG(const std::vector<uint8_t>& file, std::vector<uint32_t>& pixels, int& width, int& height);
bool WritePNG(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height, int level);

}  // namespace media
