// draw.cpp — the drawing helpers: the framework's colour, scale, rotation and
// blend terms on top of the media layer, aligned text, budgeted sprites.
#include "frame/draw.h"

#include "frame/frame_end.h"
#include "frame/settings_table.h"
#include "media/media.h"

int SpriteBudget[SPRITE_CATEGORIES] = {0, 50000, 50000};
int SpritesDrawn[SPRITE_CATEGORIES];

void BeginFrame(int clear) {
  if (clear == 1) Cls();
  for (int i = 1; i <= 10; i++) SpritesDrawn[i] = 0;
}

void ResetDrawState() {
  SetRotation(0);
  SetScale(1, 1);
  SetColour(255, 255, 255);
  SetAlpha(1);
  SetBlendKind(1);
}

void SetDrawColour(float r, float g, float b) {
  SetColour(int(ClampFloat(r, 0, 255)), int(ClampFloat(g, 0, 255)), int(ClampFloat(b, 0, 255)));
}

// A fade that overshoots below 0 ends fully transparent; written as "not
// above 0" so that a NaN does too.
void SetDrawColour(float r, float g, float b, float a) {
  SetDrawColour(r, g, b);
  SetAlpha(a > 0 ? ClampFloat(a, 0, 1) : 0);
}

void SetDrawScale(float sx, float sy) { SetScale(sx, sy); }
void SetDrawScale(float s) { SetScale(s, s); }
void SetDrawRotation(float degrees) { SetRotation(degrees); }

void SetBlendKind(int kind) {
  if (kind >= BLEND_SOLID && kind <= BLEND_ADD) SetBlend(kind);
}

void DrawTextAligned(int x, int y, const std::string& text, int horizontal, int vertical) {
  if (horizontal == 1) x -= TextWidth(text) / 2;
  if (horizontal == 2) x -= TextWidth(text);
  if (vertical == 1) y -= FontHeight() / 2;
  if (vertical == 2) y -= FontHeight();
  DrawText(text, float(x), float(y));
}

static float DrawnWidth(const std::string& text) { return TextWidth(text) * GetScaleX(); }

std::string CutToWidth(const std::string& text, int maxWidth) {
  if (DrawnWidth(text) <= maxWidth) return text;
  size_t keep = text.size();
  while (keep > 0 && DrawnWidth(text.substr(0, keep) + "...") > maxWidth) keep--;
  return text.substr(0, keep) + "...";
}

std::string CutStartToWidth(const std::string& text, int maxWidth) {
  if (DrawnWidth(text) <= maxWidth) return text;
  size_t skip = 0;
  while (skip < text.size() && DrawnWidth("..." + text.substr(skip)) > maxWidth) skip++;
  return "..." + text.substr(skip);
}

void DrawTextWithin(int x, int y, const std::string& text, int horizontal, int vertical, int maxWidth) {
  float sx = GetScaleX(), sy = GetScaleY(), width = DrawnWidth(text);
  if (width <= maxWidth || width <= 0) return DrawTextAligned(x, y, text, horizontal, vertical);
  float shrink = maxWidth / width, height = FontHeight() * sy * shrink;
  SetScale(sx * shrink, sy * shrink);
  float left = x - (horizontal == 1 ? maxWidth / 2.0f : horizontal == 2 ? float(maxWidth) : 0.0f);
  float top = y - (vertical == 1 ? height / 2 : vertical == 2 ? height : 0.0f);
  DrawText(text, left, top);
  SetScale(sx, sy);
}

// A slow system draws and presents only every other frame; logic still runs.
bool FrameShown() { return Settings[SETTING_SLOW_SYSTEM] == 0 || FrameParity == 0; }

// Sprites are centre-handled, so a top-left position becomes the centre by
// adding half the scaled size.
static void DrawAtTopLeft(int image, int x, int y, int frame, float sx, float sy) {
  DrawImage(image, x + ImageWidth(image) * sx / 2, y + ImageHeight(image) * sy / 2, frame);
}

static bool TakeFromBudget(int category) {
  if (category < 0 || category >= SPRITE_CATEGORIES || SpritesDrawn[category] >= SpriteBudget[category]) return false;
  SpritesDrawn[category]++;
  return true;
}

void DrawSprite(int image, int x, int y, int frame, int category) {
  if (!FrameShown()) return;
  if (TakeFromBudget(category)) DrawAtTopLeft(image, x, y, frame, GetScaleX(), GetScaleY());
}

void DrawGlowSprite(int image, int x, int y, int frame, int glow, float glowScale, float glowAlpha) {
  if (!FrameShown()) return;
  float sx = GetScaleX(), sy = GetScaleY(), alpha = GetAlpha();
  int blend = GetBlend();
  if (TakeFromBudget(SPRITE_IMAGES)) DrawAtTopLeft(image, x, y, frame, sx, sy);

  SetScale(sx * glowScale, sy * glowScale);
  SetAlpha(alpha * glowAlpha);
  SetBlendKind(BLEND_ADD);
  if (TakeFromBudget(SPRITE_GLOW)) {
    // Same centre as the main copy, from the main image's unenlarged size.
    float cx = x + ImageWidth(image) * sx / 2, cy = y + ImageHeight(image) * sy / 2;
    DrawImage(glow != 0 ? glow : image, cx, cy, frame);
  }
  SetScale(sx, sy);
  SetAlpha(alpha);
  SetBlend(blend);
}

float ClampFloat(float value, float low, float high) {
  if (value > high) return high;
  if (value < low) return low;
  return value;
}

bool MouseInBox(int x, int y, int w, int h) { return MouseX > x && MouseX < x + w && MouseY > y && MouseY < y + h; }

// Fields are separated by the separator (and, with spaceEnds 1, by a single
// space); asking past the last separator gives "-+-", except field 2 of a
// text without any separator, which is the whole text.
std::string FieldOf(const std::string& raw, const std::string& separator, int n, int spaceEnds) {
  std::string text = Trim(raw);
  int start = 1, last = 0;
  bool missing = false;
  for (int i = 1; i < n; i++) {
    int p = Instr(text, separator, start);
    if (p + 1 <= last) missing = true;
    if (p + 1 > last) last = p + 1;
    int space = Instr(text, " ", start);
    if (spaceEnds == 1 && space > 0 && space + 1 < last) last = space + 1;
    start = last;
  }
  int length = Instr(text, separator, start) - start;
  if (spaceEnds == 1) {
    int space = Instr(text, " ", start);
    if (space > 0 && space - start < length) length = space - start;
  }
  if (missing) return "-+-";
  return Mid(text, start, length);
}
