// controls.h — input codes for keys and joysticks, the per-player binding
// table, the held test with joystick dead zones, the scan for the first held
// input, and the names shown for codes.
//
// Codes: 1..255 keys (Windows virtual-key numbers), 256..299 nothing,
// 300 + 50 * (joystick - 1) + d for input d of joysticks 1..4 as raw
// joysticks, and 500 + 50 * (joystick - 1) + p for input p of those that are
// standard pads (p: pad button 0..20, or 30 + 2 * axis for the axis pushed
// towards its minus end, one more for its plus end).
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
constexpr int InputCodeLimit = 700;      // codes run 0 (none) .. 699
constexpr int PadCodes = 500;            // the first standard-pad code
constexpr int PadAxisInputs = 30;        // p of the first pad axis direction
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
// Once a frame: a joystick plugged in during play is counted and switched
// on, and one plugged in again under another name is measured afresh.
void FollowJoysticks();
void ResetControls();  // default bindings and no joysticks (tests)

int InputDown(int code);
// The bound input, or player n's standard layout on the n-th standard pad:
// the D-pad and the left stick for the directions, A B X Y for the buttons.
int ControlDown(int control, int player);
int ScanAnyInput();
std::string KeyName(int code);
