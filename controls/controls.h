// controls.h — input codes for keys and joysticks, the per-player binding
// table, the held test with joystick dead zones, the scan for the first held
// input, and the names shown for codes.
//
// Codes: 1..255 keys (Windows virtual-key numbers), 256..299 nothing,
// 300 + 50 * (joystick - 1) + d for input d of joysticks 1..4.
#pragma once

#include <string>

// Slot (player - 1) * 20 + control; controls 0 up, 3 left, 5 right, 8 down,
// 10..13 the four buttons.
extern int ControlTable[101];

// Joystick tables, indexed by joystick number 1..4 (index 0 unused).
extern int JoyCount;
extern int JoyButtonMask[5];
extern std::string JoyName[5];
extern float JoyRestX[5], JoyRestY[5], JoyRestZ[5], JoyRestR[5], JoyRestU[5], JoyRestV[5];
extern int JoyHatOk[5];
extern int JoyEnabled[5];

void SetDefaultControls();  // player 1 on the arrow keys and Z, X, C, V
void ScanJoysticks();       // counts the joysticks and takes their rest positions

int InputDown(int code);
int ControlDown(int control, int player);
int ScanAnyInput();
std::string KeyName(int code);
