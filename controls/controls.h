// controls.h — input codes for keys and joysticks, the per-player binding
// table, the held test with joystick dead zones, the scan for the first held
// input, and the names shown for codes.
//
// Codes: 1..255 keys (Windows virtual-key numbers), 256..299 nothing,
// 300 + 50 * (joystick - 1) + d for input d of joysticks 1..4.
#pragma once

#include <string>

// A player's controls; each player has 20 slots, of which these are used.
enum Control {
  CONTROL_UP = 0,
  CONTROL_LEFT = 3,
  CONTROL_RIGHT = 5,
  CONTROL_DOWN = 8,
  CONTROL_BUTTON_1 = 10,  // the four buttons, Z X C V on the keyboard
  CONTROL_BUTTON_2 = 11,
  CONTROL_BUTTON_3 = 12,
  CONTROL_BUTTON_4 = 13,
  CONTROLS_PER_PLAYER = 20,
};
constexpr int ControlSlots = 101;        // the last slot is never stored
constexpr int StoredControlSlots = 100;  // slots 0..99 go into "Setup.ini"
constexpr int InputCodeLimit = 500;      // codes run 0 (none) .. 499
// Slot (player - 1) * 20 + control, players from 1.
constexpr int ControlSlot(int player, int control) { return (player - 1) * CONTROLS_PER_PLAYER + control; }
extern int ControlTable[ControlSlots];

// Joystick tables, indexed by joystick number 1..4 (index 0 unused).
extern int JoyCount;
extern int JoyButtonMask[5];
extern std::string JoyName[5];
extern float JoyRestX[5], JoyRestY[5], JoyRestZ[5], JoyRestR[5], JoyRestU[5], JoyRestV[5];
extern int JoyHatOk[5];
extern int JoyEnabled[5];

void SetDefaultControls();         // player 1 on the arrow keys and Z, X, C, V
int DefaultControlCode(int slot);  // what SetDefaultControls puts in a slot
void ScanJoysticks();              // counts the joysticks and takes their rest positions
void ResetControls();              // default bindings and no joysticks (tests)

int InputDown(int code);
int ControlDown(int control, int player);
int ScanAnyInput();
std::string KeyName(int code);
