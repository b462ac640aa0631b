// stripes.cpp — the striped backgrounds of the loading, title and name-entry
// screens: diagonal bands, each a little brighter than the one before.
#include "frame/common_media.h"
#include "frame/draw.h"
#include "media/media.h"

// The bands cover the whole screen opaquely and depend only on the display,
// so each kind is drawn once per display and grabbed; later frames copy the
// grabbed picture back pixel for pixel, which costs a fraction of drawing
// a hundred turned bands (most of a frame in the software renderer).
static void DrawStripes(bool red, int* cache) {
  ResetDrawState();
  if (ImageWidth(*cache) == ScreenW && ImageHeight(*cache) == ScreenH) {
    SetDrawScale(float(VirtW) / ScreenW, float(VirtH) / ScreenH);
    DrawImage(*cache, 0, 0, 0);
    ResetDrawState();
    return;
  }
  float blue = 50;
  SetDrawRotation(-45);
  for (int y = 0; y <= VirtH; y += 10) {
    blue += 0.5f;
    SetDrawColour(red ? 100 - blue : 0, 0, blue);
    DrawRect(-100, 3.0f * y, VirtW + 1800.0f, 30);
  }
  FreeImage(*cache);
  *cache = GrabImage(0, 0, ScreenW, ScreenH);
  SetImageHandle(*cache, 0, 0);
  ResetDrawState();
}

void DrawStripeBackground() {
  static int cache;
  DrawStripes(false, &cache);
}

void DrawRedStripeBackground() {
  static int cache;
  DrawStripes(true, &cache);
}
