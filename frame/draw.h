// draw.h — the drawing helpers every screen uses: colour, scale, rotation and
// blend in the framework's terms, aligned text, sprites under a per-frame
// budget, glow sprites, and a few small utilities.
#pragma once

#include <string>

// Per-frame sprite budget by category.
enum SpriteCategory { SPRITE_IMAGES = 1, SPRITE_GLOW = 2, SPRITE_PARTICLES = 3, SPRITE_CATEGORIES = 20 };
extern int SpriteBudget[SPRITE_CATEGORIES];
extern int SpritesDrawn[SPRITE_CATEGORIES];

void BeginFrame(int clear);
void ResetDrawState();
// r, g, b clamped to 0..255 and truncated; the alpha is left unchanged, or
// clamped to 0..1 when given.
void SetDrawColour(float r, float g, float b);
void SetDrawColour(float r, float g, float b, float a);
void SetDrawScale(float sx, float sy);
void SetDrawScale(float s);
void SetDrawRotation(float degrees);
void SetBlendKind(int kind);  // 0 solid, 1 alpha, 2 multiply, 3 additive

// horizontal 0 left, 1 centre, 2 right; vertical 0 top, 1 middle, 2 bottom.
void DrawTextAligned(int x, int y, const std::string& text, int horizontal, int vertical);

// Texts of any length (names, messages) kept to a width, in the current font
// and scale: the longest start that fits followed by "...", or "..." and the
// longest end that fits (a name being typed keeps its end in view).
std::string CutToWidth(const std::string& text, int maxWidth);
std::string CutStartToWidth(const std::string& text, int maxWidth);
// As DrawTextAligned, but a text wider than maxWidth is drawn smaller, about
// the same aligned point, so that it is exactly that wide.
void DrawTextWithin(int x, int y, const std::string& text, int horizontal, int vertical, int maxWidth);

bool FrameShown();  // false on the skipped frames of a slow system
void DrawSprite(int image, int x, int y, int frame, int category);
void DrawGlowSprite(int image, int x, int y, int frame, int glow, float glowScale, float glowAlpha);

// The full-screen diagonal blue bands behind the loading and title screens,
// and the same with red mixed in behind name entry.
void DrawStripeBackground();
void DrawRedStripeBackground();

float ClampFloat(float value, float low, float high);
bool MouseInBox(int x, int y, int w, int h);
std::string FieldOf(const std::string& text, const std::string& separator, int n, int spaceEnds);
