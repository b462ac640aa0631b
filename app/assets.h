// assets.h — display modes and the virtual screen, and loading the common
// media every display needs (the tables themselves are in
// frame/common_media.h, where every layer that draws can read them).
#pragma once

#include <string>

constexpr int ModeListSize = 2500;  // index 0 unused, so 2499 modes fit
extern int ModeListW[ModeListSize], ModeListH[ModeListSize];
extern int ModeCount;
extern int GraphicsOpen;  // 1 once the first display is open and the loading screen shown

void ApplyDisplayMode();
std::string CrashMarker();  // "crash.dat" in the player's game folder
void LoadCommonAssets();

// The three font faces, and the pixel size a face is loaded at for a slot of
// the given base size and scale factor: corrected so the face has the shape
// the layout expects (assets.cpp, beside the font table).
enum FontFace { FACE_BASIC = 0, FACE_BLUE = 1, FACE_ACK = 2, FACE_COUNT = 3 };
std::string FaceFile(int face);
int FontSizeFor(int face, int size, float factor);
