// controls.cpp — bindings, held tests and names for keys and joysticks.
// Joystick movement is measured against the rest position read at start-up,
// so a pad whose sticks do not centre on 0 still reads as idle.
#include "controls/controls.h"

#include <algorithm>

#include "media/media.h"

int ControlTable[ControlSlots];

int JoyCount;
int JoyButtonMask[5];
std::string JoyName[5];
float JoyRestX[5], JoyRestY[5], JoyRestZ[5], JoyRestR[5], JoyRestU[5], JoyRestV[5];
int JoyHatOk[5];
int JoyEnabled[5];

namespace {

const float DeadZone = 0.3f;

// Axis of the input pair d / 2 (Y, X, Z, U, V, R) and its rest table.
struct AxisPair {
  int axis;
  float* rest;
};
const AxisPair AxisPairs[6] = {
    {AXIS_Y, JoyRestY}, {AXIS_X, JoyRestX}, {AXIS_Z, JoyRestZ},
    {AXIS_U, JoyRestU}, {AXIS_V, JoyRestV}, {AXIS_R, JoyRestR},
};

int AxisHeld(int j, int d) {
  const AxisPair& pair = AxisPairs[d / 2];
  float value = JoystickAxis(j - 1, pair.axis);
  float rest = pair.rest[j];
  if (d % 2 == 0) return value < rest - DeadZone ? 1 : 0;
  return value > rest + DeadZone ? 1 : 0;
}

// The bands overlap so that a diagonal holds both neighbouring directions.
int HatHeld(int j, int d) {
  if (!JoyHatOk[j]) return 0;
  float h = JoystickHat(j - 1);
  switch (d) {
    case 20: return h >= 0 && (h > 0.8f || h < 0.2f);
    case 25: return h > 0.1f && h < 0.4f;
    case 28: return h > 0.3f && h < 0.7f;
    case 23: return h > 0.6f && h < 0.9f;
  }
  return 0;
}

const char* const DigitNames[10] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};

struct NamedKey {
  int code;
  const char* name;
};
const NamedKey KeyNames[] = {
    {0, "Pause"},
    {1, "Left Mousebutton"},
    {2, "Right Mousebutton"},
    {3, "Middle Mousebutton"},
    {8, "Backspace"},
    {9, "Tab"},
    {12, "Clear"},
    {13, "Return"},
    {19, "Pause"},
    {20, "CapsLock"},
    {27, "Escape"},
    {32, "Space"},
    {33, "Page Up"},
    {34, "Page Down"},
    {35, "End"},
    {36, "Home"},
    {37, "Left"},
    {38, "Up"},
    {39, "Right"},
    {40, "Down"},
    {41, "Select"},
    {42, "Print"},
    {43, "Execute"},
    {44, "Screen"},
    {45, "Insert"},
    {46, "Delete"},
    {91, "Sys Left"},
    {92, "Sys Right"},
    {106, "*"},
    {107, "+"},
    {109, "-"},
    {110, "."},
    {111, "/"},
    {144, "NumLock"},
    {145, "ScrollLock"},
    {160, "LShift"},
    {161, "RShift"},
    {162, "LControl"},
    {163, "RControl"},
    {164, "LAlt"},
    {165, "RAlt"},
    {173, "Mute"},
    {174, "Volume Down"},
    {175, "Volume Up"},
    {186, ";"},
    {187, "="},
    {188, ","},
    {189, "-"},
    {190, "."},
    {191, "/"},
    {192, "'"},
    {219, "["},
    {220, "\\"},
    {221, "]"},
    {222, "#"},
    {223, "`"},
    {226, "\\"},
};

// Short enough for a binding button.
std::string PadInputName(int p) {
  static const char* const Buttons[PAD_BUTTONS] = {
      "A",           "B",           "X",        "Y",        "Back",     "Guide",      "Start",
      "Left Stick",  "Right Stick", "LB",       "RB",       "D-Pad Up", "D-Pad Down", "D-Pad Left",
      "D-Pad Right", "Misc",        "Paddle 1", "Paddle 2", "Paddle 3", "Paddle 4",   "Touchpad"};
  static const char* const Axes[2 * PAD_AXES] = {"LS Left", "LS Right", "LS Up", "LS Down", "RS Left", "RS Right",
                                                 "RS Up",   "RS Down",  "LT -",  "LT",      "RT -",    "RT"};
  if (p >= 0 && p < PAD_BUTTONS) return Buttons[p];
  if (p >= PadAxisInputs && p < PadAxisInputs + 2 * PAD_AXES) return Axes[p - PadAxisInputs];
  return std::to_string(p);
}

}  // namespace

int DefaultControlCode(int slot) {
  switch (slot) {
    case ControlSlot(1, CONTROL_UP): return VK_UP;
    case ControlSlot(1, CONTROL_LEFT): return VK_LEFT;
    case ControlSlot(1, CONTROL_RIGHT): return VK_RIGHT;
    case ControlSlot(1, CONTROL_DOWN): return VK_DOWN;
    case ControlSlot(1, CONTROL_BUTTON_1): return 'Z';
    case ControlSlot(1, CONTROL_BUTTON_2): return 'X';
    case ControlSlot(1, CONTROL_BUTTON_3): return 'C';
    case ControlSlot(1, CONTROL_BUTTON_4): return 'V';
  }
  return 0;
}

void SetDefaultControls() {
  for (int slot = 0; slot < ControlSlots; slot++) ControlTable[slot] = DefaultControlCode(slot);
}

void ResetControls() {
  SetDefaultControls();
  JoyCount = 0;
  for (int j = 0; j < 5; j++) {
    JoyButtonMask[j] = JoyHatOk[j] = JoyEnabled[j] = 0;
    JoyName[j].clear();
    JoyRestX[j] = JoyRestY[j] = JoyRestZ[j] = JoyRestR[j] = JoyRestU[j] = JoyRestV[j] = 0;
  }
}

// Joystick j (from 1) as it is now: its name, buttons and rest position.
static void MeasureJoystick(int j) {
  JoyButtonMask[j] = JoystickButtonMask(j - 1);
  JoyName[j] = JoystickName(j - 1);
  JoyRestX[j] = JoystickAxis(j - 1, AXIS_X);
  JoyRestY[j] = JoystickAxis(j - 1, AXIS_Y);
  JoyRestZ[j] = JoystickAxis(j - 1, AXIS_Z);
  JoyRestR[j] = JoystickAxis(j - 1, AXIS_R);
  JoyRestU[j] = JoystickAxis(j - 1, AXIS_U);
  JoyRestV[j] = JoystickAxis(j - 1, AXIS_V);
  JoyEnabled[j] = 1;
  JoyHatOk[j] = JoystickHat(j - 1) == -1.0f ? 1 : 0;
}

static int JoystickChangesSeen;

// Runs before the first frame, so it pumps the events that announce the
// joysticks itself.
void ScanJoysticks() {
  PollEvents();
  JoyCount = std::clamp(JoystickCount(), 0, 4);
  for (int j = 1; j <= JoyCount; j++) MeasureJoystick(j);
  JoystickChangesSeen = JoystickChanges();
}

// A joystick the player switched off stays off while it is the same one.
void FollowJoysticks() {
  if (JoystickChanges() == JoystickChangesSeen) return;
  JoystickChangesSeen = JoystickChanges();
  int count = std::clamp(JoystickCount(), 0, 4);
  for (int j = 1; j <= count; j++)
    if (j > JoyCount || JoyName[j] != JoystickName(j - 1)) MeasureJoystick(j);
  JoyCount = std::max(JoyCount, count);
}

static int PadInputDown(int j, int p) {
  if (p < PadAxisInputs) return PadButtonDown(j - 1, p) ? 1 : 0;
  float value = PadAxis(j - 1, (p - PadAxisInputs) / 2);
  return (p % 2 == 0 ? value < -DeadZone : value > DeadZone) ? 1 : 0;
}

int InputDown(int code) {
  if (code >= 10 && code <= 254 && KeyDown(code)) return 1;
  if (code <= 299 || code >= InputCodeLimit) return 0;
  int j = (code - 300) % 200 / 50 + 1;
  int d = code % 50;
  if (!JoyEnabled[j]) return 0;
  if (code >= PadCodes) return PadInputDown(j, d);
  if (d <= 11) return AxisHeld(j, d);
  if (d >= 20 && d <= 29) return HatHeld(j, d);
  if (d >= 30) return JoystickButtonDown(j - 1, d - 30) ? 1 : 0;
  return 0;
}

// The joystick number of player n's standard pad, or 0.
static int PlayersPad(int player) {
  for (int j = 1, pads = 0; j <= JoyCount; j++)
    if (JoystickIsPad(j - 1) && ++pads == player) return JoyEnabled[j] ? j : 0;
  return 0;
}

static int PadLayoutDown(int control, int player) {
  static const struct {
    int control, button, axisInput;  // -1: none
  } Layout[] = {
      {CONTROL_UP, PAD_DPAD_UP, PadAxisInputs + 2 * PAD_LEFT_Y},
      {CONTROL_DOWN, PAD_DPAD_DOWN, PadAxisInputs + 2 * PAD_LEFT_Y + 1},
      {CONTROL_LEFT, PAD_DPAD_LEFT, PadAxisInputs + 2 * PAD_LEFT_X},
      {CONTROL_RIGHT, PAD_DPAD_RIGHT, PadAxisInputs + 2 * PAD_LEFT_X + 1},
      {CONTROL_BUTTON_1, PAD_A, -1},
      {CONTROL_BUTTON_2, PAD_B, -1},
      {CONTROL_BUTTON_3, PAD_X, -1},
      {CONTROL_BUTTON_4, PAD_Y, -1},
  };
  int j = PlayersPad(player);
  if (j == 0) return 0;
  for (const auto& entry : Layout)
    if (entry.control == control)
      return PadInputDown(j, entry.button) || (entry.axisInput >= 0 && PadInputDown(j, entry.axisInput)) ? 1 : 0;
  return 0;
}

int ControlDown(int control, int player) {
  int slot = ControlSlot(player, control);
  if (slot < 0 || slot >= ControlSlots) return 0;
  return InputDown(ControlTable[slot]) || PadLayoutDown(control, player) ? 1 : 0;
}

int ScanAnyInput() {
  // The hot keys (help, mute, GIF, screenshot, overlay) cannot be bound.
  for (int hotKey : {VK_F1, VK_F9, VK_F10, VK_F11, VK_F12})
    if (KeyDown(hotKey)) return 0;
  // Shift, Control and Alt also read as their side-less codes 16 to 18,
  // which come first but have no names: the sided code is the binding.
  for (int code = 1; code <= 255; code++) {
    if (code >= VK_SHIFT && code <= VK_SHIFT + 2) continue;
    if (KeyDown(code)) return code;
  }
  for (int j = 1; j <= JoyCount; j++) {
    if (!JoyEnabled[j]) continue;
    // A standard pad binds by its layout: its raw numbers differ from model to model.
    if (JoystickIsPad(j - 1)) {
      for (int p = 0; p < PadAxisInputs + 2 * PAD_AXES; p++)
        if ((p < PAD_BUTTONS || p >= PadAxisInputs) && PadInputDown(j, p)) return PadCodes + 50 * (j - 1) + p;
      continue;
    }
    int base = 250 + 50 * j;
    for (int d = 0; d <= 11; d++) {
      if (AxisHeld(j, d)) return base + d;
    }
    if (JoyHatOk[j]) {
      float h = JoystickHat(j - 1);
      if (h == 0.0f) return base + 20;
      if (h == 0.25f) return base + 25;
      if (h == 0.5f) return base + 28;
      if (h == 0.75f) return base + 23;
    }
    for (int b = 0; b < JoyButtonMask[j] && b < 19; b++) {
      if (JoystickButtonDown(j - 1, b)) return base + 30 + b;
    }
  }
  return 0;
}

std::string KeyName(int code) {
  if (code >= 48 && code <= 57) return DigitNames[code - 48];
  if (code >= 96 && code <= 105) return DigitNames[code - 96];
  if (code >= 65 && code <= 90) return std::string(1, static_cast<char>(code));
  if (code >= 112 && code <= 123) {
    std::string name = "F";  // built by appending: GCC 12 misreads "F" + text as an overlapping copy
    return name += std::to_string(code - 111);
  }
  for (const NamedKey& key : KeyNames) {
    if (key.code == code) return key.name;
  }
  // Everything else is named as a joystick input, without its joystick.
  if (code >= PadCodes && code < InputCodeLimit) return PadInputName(code % 50);
  static const char* const AxisNames[12] = {"Y-", "Y+", "X-", "X+", "Z-", "Z+", "U-", "U+", "V-", "V+", "R-", "R+"};
  int d = code % 50;
  if (d >= 0 && d <= 11) return AxisNames[d];
  if (d == 20) return "Up";
  if (d == 25) return "Right";
  if (d == 28) return "Down";
  if (d == 23) return "Left";
  return std::to_string(d - 30);
}
