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

// PNG files as 0xAARRGGBB pixels (png.cpp). Decoding gives "" or why the
// bytes were refused ("damaged (...)", "too large (...)"); writing false.
std::string DecodePNG(const std::vector<uint8_t>& file, std::vector<uint32_t>& pixels, int& width,
                      int& height);
bool WritePNG(const std::string& path, const std::vector<uint32_t>& pixels, int width,
              int height, int level);

}  // namespace media
