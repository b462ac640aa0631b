// input.cpp — the event pump, keyboard, mouse, typed text, joysticks and
// scripted input.
//
// Events are pumped at one point of each frame (PollEvents, from the frame
// end); reads between pumps answer from the state that pump left, so every
// step of a frame sees the same input. Key, mouse and joystick state is kept
// in our own tables, filled only from events, so scripted events (pushed into
// SDL's queue when due) and real ones change the state the same way.
//
// A press is never lost between pumps: hit counts add up until read, and a
// key or button that went down since the last pump reads as held until the
// next one, even when it was let go before it (a quick tap at 30 frames per
// second). A press that was taken (TakeKey, FlushInput) reads as up until it
// is let go, so whoever took it is the only one to see it.
//
// Input script format (LoadInputScript): one event per line,
//   <ms> <verb> <args>
// where <ms> is milliseconds of the clock after the script was loaded.
// Blank lines and lines starting with "#" are skipped; a malformed line is
// skipped and named, with its number, on standard error.
//   keydown VK        key pressed (VK: number 1..255, or a name, in any
//   keyup VK          case: LEFT RIGHT UP DOWN SPACE RETURN ENTER ESCAPE TAB
//   key VK            BACK F1..F12 A..Z 0..9 LALT RALT LSHIFT RSHIFT
//                     LCONTROL RCONTROL); "key" is a press released 50 ms
//                     later. Note "1".."9" are digit keys, not codes 1..9.
//   mousemove X Y     pointer to (X, Y) in virtual units
//   mousedown B       button 1 left, 2 right, 3 middle
//   mouseup B
//   text STRING       the rest of the line (after one space), typed as is
//   close             the window's close button
//   focuslost         the window loses the keyboard focus
//   joyaxis J AXIS V  joystick J (from 0), axis 0..5 (X Y Z R U V) to V
//   joybutton J B 0|1 button B released (0) or pressed (1)
//   joyhat J V        hat to V: -1 centred, else clockwise fraction from up
// Example:
//   # start a game, steer left for a second, quit
//   500 key RETURN
//   1000 keydown LEFT
//   2000 keyup LEFT
//   2100 text Ann
//   3000 close
#include <algorithm>
#include <cstring>
#include <deque>
#include <utility>

#include "media/internal.h"
#include "media/media.h"

namespace {

enum ScriptKind {
  S_KEYDOWN = 1,
  S_KEYUP,
  S_MOUSEMOVE,
  S_MOUSEDOWN,
  S_MOUSEUP,
  S_JOYAXIS,
  S_JOYBUTTON,
  S_JOYHAT,
  S_FOCUSLOST
};

struct ScriptEvent {
  uint32_t at;
  SDL_Event event;
};

struct Joystick {
  SDL_Joystick* device = nullptr;     // null for a virtual one, or while unplugged
  SDL_GameController* pad = nullptr;  // set when SDL's mappings know its layout
  SDL_JoystickID id = -1;
  SDL_JoystickGUID guid{};
  std::string name;
  int buttonCount = 0;
  bool buttons[32] = {};
  float axes[6] = {};
  float hat = -1;
  bool padButtons[PAD_BUTTONS] = {};
  float padAxes[PAD_AXES] = {};
};

int KeyHits[256];
bool KeysHeld[256];    // as the events left them
bool KeysTapped[256];  // went down since the last pump
bool KeysTaken[256];   // read as up until let go
int MouseHits[4];
bool MouseHeld[4];
bool MouseTapped[4];
bool MouseTaken[4];
float MouseX, MouseY;
int Typed[256];
int TypedCount, TypedStart;
int CloseRequests;
int FocusLosses;
std::vector<Joystick> Joysticks;
int JoystickChangeCount;  // plugged in or out
// Scripted events: Script is sorted by time; new ones wait in Added, in the
// order given, until the next delivery sorts them in all at once (a script
// of 100,000 lines in any order loads in n log n, not n squared).
std::deque<ScriptEvent> Script;
std::vector<ScriptEvent> Added;
uint32_t ScriptEventType;

// ---------------------------------------------------------------- state changes

// A repeat is the same press going on: it neither counts nor frees a taken key.
void PressKey(int vk, bool repeat) {
  if (vk <= 0 || vk > 255) return;
  if (!repeat) {
    KeyHits[vk]++;
    KeysTapped[vk] = true;
    KeysTaken[vk] = false;
  }
  KeysHeld[vk] = true;
}

void ReleaseKey(int vk) {
  if (vk <= 0 || vk > 255) return;
  KeysHeld[vk] = false;
  KeysTaken[vk] = false;
}

// Keys that type a control character, as text input leaves them out.
int ControlCharOf(int vk) { return vk == 8 || vk == 9 || vk == 13 || vk == 27 ? vk : 0; }

void QueueChar(int code) {
  if (TypedCount == 256) return;  // a full queue drops the newest
  Typed[(TypedStart + TypedCount++) % 256] = code;
}

// The side-less codes for Shift, Control and Alt follow their two sides.
int GenericOf(int vk) {
  if (vk == 160 || vk == 161) return 16;
  if (vk == 162 || vk == 163) return 17;
  if (vk == 164 || vk == 165) return 18;
  return 0;
}

void KeyEvent(int vk, bool down, bool repeat) {
  media::NoteEvent(std::string(!down ? "keyup " : repeat ? "keyrepeat " : "keydown ") + std::to_string(vk));
  int generic = GenericOf(vk);
  if (down) {
    if (ControlCharOf(vk)) QueueChar(vk);
    PressKey(vk, repeat);
    if (generic) PressKey(generic, repeat);
  } else {
    ReleaseKey(vk);
    int left = vk & ~1;  // 160, 162 or 164; the right-hand key is one above
    if (generic && !KeysHeld[left] && !KeysHeld[left + 1]) ReleaseKey(generic);
  }
}

// Characters above 255 are kept as their code points; whoever stores text
// as bytes decides what to do with them.
void QueueUtf8(const char* text) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  while (*p) {
    int code = *p++, extra = 0;
    if (code >= 0xF0) code &= 0x07, extra = 3;
    else if (code >= 0xE0) code &= 0x0F, extra = 2;
    else if (code >= 0xC0) code &= 0x1F, extra = 1;
    else if (code >= 0x80) continue;  // a stray continuation byte
    for (; extra > 0 && (*p & 0xC0) == 0x80; extra--) code = code << 6 | (*p++ & 0x3F);
    if (extra == 0) media::NoteEvent("char " + std::to_string(code)), QueueChar(code);
  }
}

// The pointer is noted only where it matters: before a click and once a pump.
float NotedX, NotedY;
void NotePointer() {
  if (MouseX == NotedX && MouseY == NotedY) return;
  char text[64];
  snprintf(text, sizeof text, "mousemove %.9g %.9g", double(MouseX), double(MouseY));
  media::NoteEvent(text);
  NotedX = MouseX, NotedY = MouseY;
}

void MouseButton(int button, bool down) {
  if (button < 1 || button > 3) return;
  NotePointer();
  media::NoteEvent(std::string(down ? "mousedown " : "mouseup ") + std::to_string(button));
  if (down) MouseHits[button]++, MouseTapped[button] = true;
  MouseHeld[button] = down;
  MouseTaken[button] = false;
}

void RequestClose() {
  media::NoteEvent("close");
  CloseRequests = 1;
}

void ReleaseEverything() {
  std::fill(std::begin(KeysHeld), std::end(KeysHeld), false);
  std::fill(std::begin(KeysTaken), std::end(KeysTaken), false);
  std::fill(std::begin(MouseHeld), std::end(MouseHeld), false);
  std::fill(std::begin(MouseTaken), std::end(MouseTaken), false);
}

// Keys let go elsewhere never reach us: none may stay stuck.
void LoseFocus() {
  media::NoteEvent("focuslost");
  ReleaseEverything();
  FocusLosses++;
}

// What a pump or a flush starts from: no press is new any more.
void ForgetTaps() {
  std::fill(std::begin(KeysTapped), std::end(KeysTapped), false);
  std::fill(std::begin(MouseTapped), std::end(MouseTapped), false);
}

// ---------------------------------------------------------------- key codes

int LetterOrDigit(const SDL_Keysym& k) {
  if (k.sym >= SDLK_a && k.sym <= SDLK_z) return 'A' + int(k.sym - SDLK_a);
  if (k.scancode >= SDL_SCANCODE_A && k.scancode <= SDL_SCANCODE_Z) return 'A' + int(k.scancode - SDL_SCANCODE_A);
  if (k.scancode >= SDL_SCANCODE_1 && k.scancode <= SDL_SCANCODE_9) return '1' + int(k.scancode - SDL_SCANCODE_1);
  if (k.scancode == SDL_SCANCODE_0) return '0';
  return 0;
}

// By key position, so the numbers do not change with the keyboard layout.
// The punctuation follows a UK keyboard, whose key caps the control names show.
int VirtualKeyOf(const SDL_Keysym& k) {
  if (int vk = LetterOrDigit(k)) return vk;
  SDL_Scancode s = k.scancode;
  if (s >= SDL_SCANCODE_F1 && s <= SDL_SCANCODE_F12) return 112 + int(s - SDL_SCANCODE_F1);
  if (s >= SDL_SCANCODE_F13 && s <= SDL_SCANCODE_F24) return 124 + int(s - SDL_SCANCODE_F13);
  if (s >= SDL_SCANCODE_KP_1 && s <= SDL_SCANCODE_KP_9) return 97 + int(s - SDL_SCANCODE_KP_1);
  switch (s) {
    case SDL_SCANCODE_BACKSPACE: return 8;
    case SDL_SCANCODE_TAB: return 9;
    case SDL_SCANCODE_CLEAR:
    case SDL_SCANCODE_KP_CLEAR: return 12;
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER:
    case SDL_SCANCODE_RETURN2: return 13;
    case SDL_SCANCODE_PAUSE: return 19;
    case SDL_SCANCODE_CAPSLOCK: return 20;
    case SDL_SCANCODE_ESCAPE: return 27;
    case SDL_SCANCODE_SPACE: return 32;
    case SDL_SCANCODE_PAGEUP: return 33;
    case SDL_SCANCODE_PAGEDOWN: return 34;
    case SDL_SCANCODE_END: return 35;
    case SDL_SCANCODE_HOME: return 36;
    case SDL_SCANCODE_LEFT: return 37;
    case SDL_SCANCODE_UP: return 38;
    case SDL_SCANCODE_RIGHT: return 39;
    case SDL_SCANCODE_DOWN: return 40;
    case SDL_SCANCODE_SELECT: return 41;
    case SDL_SCANCODE_EXECUTE: return 43;
    case SDL_SCANCODE_PRINTSCREEN: return 44;
    case SDL_SCANCODE_INSERT: return 45;
    case SDL_SCANCODE_DELETE: return 46;
    case SDL_SCANCODE_HELP: return 47;
    case SDL_SCANCODE_LGUI: return 91;
    case SDL_SCANCODE_RGUI: return 92;
    case SDL_SCANCODE_APPLICATION: return 93;
    case SDL_SCANCODE_SLEEP: return 95;
    case SDL_SCANCODE_KP_0: return 96;
    case SDL_SCANCODE_KP_MULTIPLY: return 106;
    case SDL_SCANCODE_KP_PLUS: return 107;
    case SDL_SCANCODE_KP_MINUS: return 109;
    case SDL_SCANCODE_KP_PERIOD: return 110;
    case SDL_SCANCODE_KP_DIVIDE: return 111;
    case SDL_SCANCODE_NUMLOCKCLEAR: return 144;
    case SDL_SCANCODE_SCROLLLOCK: return 145;
    case SDL_SCANCODE_LSHIFT: return 160;
    case SDL_SCANCODE_RSHIFT: return 161;
    case SDL_SCANCODE_LCTRL: return 162;
    case SDL_SCANCODE_RCTRL: return 163;
    case SDL_SCANCODE_LALT: return 164;
    case SDL_SCANCODE_RALT: return 165;
    case SDL_SCANCODE_MUTE:
    case SDL_SCANCODE_AUDIOMUTE: return 173;
    case SDL_SCANCODE_VOLUMEDOWN: return 174;
    case SDL_SCANCODE_VOLUMEUP: return 175;
    case SDL_SCANCODE_AUDIONEXT: return 176;
    case SDL_SCANCODE_AUDIOPREV: return 177;
    case SDL_SCANCODE_AUDIOSTOP: return 178;
    case SDL_SCANCODE_AUDIOPLAY: return 179;
    case SDL_SCANCODE_SEMICOLON: return 186;
    case SDL_SCANCODE_EQUALS: return 187;
    case SDL_SCANCODE_COMMA: return 188;
    case SDL_SCANCODE_MINUS: return 189;
    case SDL_SCANCODE_PERIOD: return 190;
    case SDL_SCANCODE_SLASH: return 191;
    case SDL_SCANCODE_APOSTROPHE: return 192;
    case SDL_SCANCODE_LEFTBRACKET: return 219;
    case SDL_SCANCODE_BACKSLASH: return 220;
    case SDL_SCANCODE_RIGHTBRACKET: return 221;
    case SDL_SCANCODE_NONUSHASH: return 222;
    case SDL_SCANCODE_GRAVE: return 223;
    case SDL_SCANCODE_NONUSBACKSLASH: return 226;
    default: return 0;
  }
}

// ---------------------------------------------------------------- joysticks

Joystick* JoystickOf(SDL_JoystickID id) {
  for (Joystick& j : Joysticks)
    if (j.device && j.id == id) return &j;
  return nullptr;
}

float HatFraction(int hat) {
  switch (hat) {
    case SDL_HAT_UP: return 0;
    case SDL_HAT_RIGHTUP: return 0.125f;
    case SDL_HAT_RIGHT: return 0.25f;
    case SDL_HAT_RIGHTDOWN: return 0.375f;
    case SDL_HAT_DOWN: return 0.5f;
    case SDL_HAT_LEFTDOWN: return 0.625f;
    case SDL_HAT_LEFT: return 0.75f;
    case SDL_HAT_LEFTUP: return 0.875f;
    default: return -1;
  }
}

float AxisValue(int raw) { return std::max(-1.0f, float(raw) / 32767.0f); }

float PadAxisValue(SDL_GameControllerAxis axis, int raw) {
  // Triggers rest at 0 and press towards 1; sticks are as joystick axes.
  return axis >= SDL_CONTROLLER_AXIS_TRIGGERLEFT ? std::max(0.0f, AxisValue(raw)) : AxisValue(raw);
}

void ReadPadState(Joystick& j) {
  for (int b = 0; b < PAD_BUTTONS; b++)
    j.padButtons[b] = SDL_GameControllerGetButton(j.pad, SDL_GameControllerButton(b)) != 0;
  for (int a = 0; a < PAD_AXES; a++)
    j.padAxes[a] = PadAxisValue(SDL_GameControllerAxis(a), SDL_GameControllerGetAxis(j.pad, SDL_GameControllerAxis(a)));
}

// A pad SDL's game-controller mappings know (its own database, or
// SDL_GAMECONTROLLERCONFIG) also reads by the standard layout; any other
// reads only as a joystick. A pad plugged in again takes the number it had,
// so its bindings still apply.
void OpenJoystick(int deviceIndex) {
  SDL_GameController* pad = SDL_IsGameController(deviceIndex) ? SDL_GameControllerOpen(deviceIndex) : nullptr;
  SDL_Joystick* device = pad ? SDL_GameControllerGetJoystick(pad) : SDL_JoystickOpen(deviceIndex);
  if (!device || JoystickOf(SDL_JoystickInstanceID(device))) {
    if (pad) SDL_GameControllerClose(pad);  // SDL counts opens: this one is ours to close
    else if (device) SDL_JoystickClose(device);
    return;
  }
  SDL_JoystickGUID guid = SDL_JoystickGetGUID(device);
  auto sameModel = [&](const Joystick& j) {
    return !j.device && j.id >= 0 && memcmp(&j.guid, &guid, sizeof guid) == 0;
  };
  auto unplugged = std::find_if(Joysticks.begin(), Joysticks.end(), sameModel);
  Joystick& j = unplugged != Joysticks.end() ? *unplugged : Joysticks.emplace_back();
  j = Joystick();
  j.device = device;
  j.pad = pad;
  j.id = SDL_JoystickInstanceID(device);
  j.guid = guid;
  const char* name = pad ? SDL_GameControllerName(pad) : SDL_JoystickName(device);
  j.name = name ? name : "Joystick";
  j.buttonCount = std::clamp(SDL_JoystickNumButtons(device), 0, 31);
  for (int b = 0; b < j.buttonCount; b++) j.buttons[b] = SDL_JoystickGetButton(device, b);
  for (int a = 0; a < std::min(6, SDL_JoystickNumAxes(device)); a++)
    j.axes[a] = AxisValue(SDL_JoystickGetAxis(device, a));
  if (SDL_JoystickNumHats(device) > 0) j.hat = HatFraction(SDL_JoystickGetHat(device, 0));
  if (pad) ReadPadState(j);
  JoystickChangeCount++;
}

void CloseDevice(Joystick& j) {
  if (j.pad) SDL_GameControllerClose(j.pad);
  else if (j.device) SDL_JoystickClose(j.device);
  j.pad = nullptr;
  j.device = nullptr;
}

// A joystick keeps its number once found, so the program's tables stay
// valid; an unplugged one reads as at rest.
void CloseJoystick(SDL_JoystickID id) {
  if (Joystick* j = JoystickOf(id)) {
    CloseDevice(*j);
    std::fill(std::begin(j->buttons), std::end(j->buttons), false);
    std::fill(std::begin(j->axes), std::end(j->axes), 0.0f);
    std::fill(std::begin(j->padButtons), std::end(j->padButtons), false);
    std::fill(std::begin(j->padAxes), std::end(j->padAxes), 0.0f);
    j->hat = -1;
    JoystickChangeCount++;
  }
}

void SetJoystick(int index, int kind, int which, float value) {
  if (index < 0 || index >= int(Joysticks.size())) return;
  Joystick& j = Joysticks[size_t(index)];
  if (kind == 0 && which >= 0 && which < 6) j.axes[which] = std::clamp(value, -1.0f, 1.0f);
  if (kind == 1 && which >= 0 && which < 32) j.buttons[which] = value != 0;
  if (kind == 2) j.hat = value;
}

// ---------------------------------------------------------------- events

float FloatOf(void* p) {
  float f;
  uint32_t bits = uint32_t(reinterpret_cast<uintptr_t>(p));
  memcpy(&f, &bits, 4);
  return f;
}

void* PointerOf(float f) {
  uint32_t bits;
  memcpy(&bits, &f, 4);
  return reinterpret_cast<void*>(uintptr_t(bits));
}

int IntOf(void* p) { return int(reinterpret_cast<intptr_t>(p)); }

void ScriptedEvent(const SDL_UserEvent& e) {
  switch (e.code) {
    case S_KEYDOWN: KeyEvent(IntOf(e.data1), true, false); break;
    case S_KEYUP: KeyEvent(IntOf(e.data1), false, false); break;
    case S_MOUSEMOVE: MouseX = FloatOf(e.data1), MouseY = FloatOf(e.data2); break;
    case S_MOUSEDOWN: MouseButton(IntOf(e.data1), true); break;
    case S_MOUSEUP: MouseButton(IntOf(e.data1), false); break;
    case S_JOYAXIS: SetJoystick(int(e.windowID), 0, IntOf(e.data1), FloatOf(e.data2)); break;
    case S_JOYBUTTON: SetJoystick(int(e.windowID), 1, IntOf(e.data1), FloatOf(e.data2)); break;
    case S_JOYHAT: SetJoystick(int(e.windowID), 2, 0, FloatOf(e.data2)); break;
    case S_FOCUSLOST: LoseFocus(); break;
  }
}

int OurButton(int sdlButton) {
  return sdlButton == SDL_BUTTON_LEFT ? 1 : sdlButton == SDL_BUTTON_RIGHT ? 2 : sdlButton == SDL_BUTTON_MIDDLE ? 3 : 0;
}

bool WatchTakesEvent(const SDL_Event& e);

void HandleEvent(const SDL_Event& e) {
  if (WatchTakesEvent(e)) return;
  switch (e.type) {
    case SDL_QUIT: RequestClose(); break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) RequestClose();
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) LoseFocus();
      media::DisplayHandleEvent(e);
      break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET: media::DisplayHandleEvent(e); break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      int vk = VirtualKeyOf(e.key.keysym);
      KeyEvent(vk, e.type == SDL_KEYDOWN, e.key.repeat != 0);
      break;
    }
    case SDL_TEXTINPUT: QueueUtf8(e.text.text); break;
    case SDL_MOUSEMOTION: MouseX = float(e.motion.x), MouseY = float(e.motion.y); break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      MouseX = float(e.button.x), MouseY = float(e.button.y);
      MouseButton(OurButton(e.button.button), e.type == SDL_MOUSEBUTTONDOWN);
      break;
    case SDL_JOYDEVICEADDED: OpenJoystick(e.jdevice.which); break;
    case SDL_JOYDEVICEREMOVED: CloseJoystick(e.jdevice.which); break;
    case SDL_JOYAXISMOTION:
      if (Joystick* j = JoystickOf(e.jaxis.which); j && e.jaxis.axis < 6)
        j->axes[e.jaxis.axis] = AxisValue(e.jaxis.value);
      break;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
      if (Joystick* j = JoystickOf(e.jbutton.which); j && e.jbutton.button < 32)
        j->buttons[e.jbutton.button] = e.jbutton.state == SDL_PRESSED;
      break;
    case SDL_JOYHATMOTION:
      if (Joystick* j = JoystickOf(e.jhat.which); j && e.jhat.hat == 0) j->hat = HatFraction(e.jhat.value);
      break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      if (Joystick* j = JoystickOf(e.cbutton.which); j && e.cbutton.button < PAD_BUTTONS)
        j->padButtons[e.cbutton.button] = e.cbutton.state == SDL_PRESSED;
      break;
    case SDL_CONTROLLERAXISMOTION:
      if (Joystick* j = JoystickOf(e.caxis.which); j && e.caxis.axis < PAD_AXES)
        j->padAxes[e.caxis.axis] = PadAxisValue(SDL_GameControllerAxis(e.caxis.axis), e.caxis.value);
      break;
    default:
      if (ScriptEventType && e.type == ScriptEventType) ScriptedEvent(e.user);
  }
}

// While a game is watched, the player's input is not the game's: a press,
// click or close stops the watching and is not passed on.
bool WatchTakesEvent(const SDL_Event& e) {
  if (!media::WatchingReplay()) return false;
  bool close = e.type == SDL_QUIT || (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_CLOSE);
  bool press =
      (e.type == SDL_KEYDOWN && !e.key.repeat) || e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_JOYBUTTONDOWN ||
      (ScriptEventType && e.type == ScriptEventType && (e.user.code == S_KEYDOWN || e.user.code == S_MOUSEDOWN));
  if (close || press) media::StopWatchOnInput(close);
  bool window = e.type == SDL_WINDOWEVENT && !close && e.window.event != SDL_WINDOWEVENT_FOCUS_LOST;
  return !window && e.type != SDL_RENDER_TARGETS_RESET && e.type != SDL_RENDER_DEVICE_RESET &&
         e.type != SDL_JOYDEVICEADDED && e.type != SDL_JOYDEVICEREMOVED;
}

// Script events carry SDL_USEREVENT until they are delivered.
void HandleDirect(const SDL_Event& e) {
  if (e.type == SDL_USEREVENT) ScriptedEvent(e.user);
  else HandleEvent(e);
}

bool EventsRunning() { return SDL_WasInit(SDL_INIT_EVENTS) != 0; }

// Due scripted events go into SDL's queue behind whatever the window already
// delivered; without SDL running they are applied directly.
// Times are compared by their difference, so the 32-bit clock may wrap.
bool Earlier(const ScriptEvent& a, const ScriptEvent& b) { return int32_t(a.at - b.at) < 0; }

// Stable on both counts: events of the same moment stay in the order they
// were given, the ones already waiting first.
void SortInAdded() {
  if (Added.empty()) return;
  std::stable_sort(Added.begin(), Added.end(), Earlier);
  size_t waiting = Script.size();
  Script.insert(Script.end(), Added.begin(), Added.end());
  Added.clear();
  std::inplace_merge(Script.begin(), Script.begin() + long(waiting), Script.end(), Earlier);
}

void DeliverDueScript() {
  SortInAdded();
  uint32_t now = uint32_t(Millisecs());
  size_t due = 0;
  while (due < Script.size() && int32_t(Script[due].at - now) <= 0) due++;
  if (due == 0) return;
  std::vector<ScriptEvent> ready(Script.begin(), Script.begin() + long(due));
  Script.erase(Script.begin(), Script.begin() + long(due));
  for (ScriptEvent& s : ready) {
    SDL_Event e = s.event;
    if (e.type == SDL_USEREVENT) e.type = ScriptEventType;
    if (!ScriptEventType || SDL_PushEvent(&e) != 1) HandleDirect(s.event);
  }
}

void AddScript(int atMillis, const SDL_Event& e) { Added.push_back(ScriptEvent{uint32_t(atMillis), e}); }

SDL_Event UserEvent(int kind, int window, void* data1, void* data2) {
  SDL_Event e{};
  e.type = SDL_USEREVENT;  // the registered type replaces it when pushed
  e.user.code = kind;
  e.user.windowID = uint32_t(window);
  e.user.data1 = data1;
  e.user.data2 = data2;
  return e;
}

// Joysticks are noted by what changed since the last pump, whichever way
// the change came (a device, a script, an unplugging).
std::vector<Joystick> NotedJoysticks;
void NoteJoysticks() {
  char text[96];
  for (size_t i = 0; i < Joysticks.size(); i++) {
    const Joystick& j = Joysticks[i];
    if (i >= NotedJoysticks.size()) {
      media::NoteEvent("joystick " + std::to_string(j.buttonCount) + " " + j.name);
      NotedJoysticks.push_back(Joystick{});
      NotedJoysticks.back().buttonCount = j.buttonCount;
    }
    Joystick& noted = NotedJoysticks[i];
    for (int a = 0; a < 6; a++)
      if (j.axes[a] != noted.axes[a])
        snprintf(text, sizeof text, "joyaxis %zu %d %.9g", i, a, double(j.axes[a])), media::NoteEvent(text);
    for (int b = 0; b < 32; b++)
      if (j.buttons[b] != noted.buttons[b])
        snprintf(text, sizeof text, "joybutton %zu %d %d", i, b, int(j.buttons[b])), media::NoteEvent(text);
    if (j.hat != noted.hat) snprintf(text, sizeof text, "joyhat %zu %.9g", i, double(j.hat)), media::NoteEvent(text);
    std::copy(std::begin(j.axes), std::end(j.axes), std::begin(noted.axes));
    std::copy(std::begin(j.buttons), std::end(j.buttons), std::begin(noted.buttons));
    noted.hat = j.hat;
  }
}

}  // namespace

void PollEvents() {
  ForgetTaps();
  if (!ScriptEventType && EventsRunning()) {
    uint32_t type = SDL_RegisterEvents(1);
    ScriptEventType = type == uint32_t(-1) ? SDL_USEREVENT + 1 : type;
  }
  media::DeliverNoted();
  DeliverDueScript();
  if (EventsRunning()) {
    SDL_Event e;
    while (SDL_PollEvent(&e)) HandleEvent(e);
  }
  NotePointer();
  NoteJoysticks();
}

void media::InputShutdown() {
  for (Joystick& j : Joysticks) CloseDevice(j);
  Joysticks.clear();
  JoystickChangeCount = 0;
  Script.clear();
  Added.clear();
  std::fill(std::begin(KeyHits), std::end(KeyHits), 0);
  std::fill(std::begin(MouseHits), std::end(MouseHits), 0);
  ReleaseEverything();
  ForgetTaps();
  TypedCount = TypedStart = 0;
  CloseRequests = FocusLosses = 0;
  ScriptEventType = 0;
  NotedX = NotedY = 0;
  NotedJoysticks.clear();
  media::ReplayShutdown();
}

void media::InputPointerMoved(float x, float y) { MouseX = x, MouseY = y; }

// ---------------------------------------------------------------- reads

int KeyHit(int vk) {
  if (vk <= 0 || vk > 255) return 0;
  return std::exchange(KeyHits[vk], 0);
}

bool KeyDown(int vk) { return vk > 0 && vk <= 255 && (KeysHeld[vk] || KeysTapped[vk]) && !KeysTaken[vk]; }

void TakeKey(int vk) {
  if (vk <= 0 || vk > 255) return;
  KeyHits[vk] = 0;
  KeysTapped[vk] = false;
  KeysTaken[vk] = KeysHeld[vk];
}

float PointerX() { return MouseX; }
float PointerY() { return MouseY; }

int MouseHit(int button) {
  if (button < 1 || button > 3) return 0;
  return std::exchange(MouseHits[button], 0);
}

bool MouseDown(int button) {
  return button >= 1 && button <= 3 && (MouseHeld[button] || MouseTapped[button]) && !MouseTaken[button];
}

int NextChar() {
  if (TypedCount == 0) return 0;
  int code = Typed[TypedStart];
  TypedStart = (TypedStart + 1) % 256;
  TypedCount--;
  return code;
}

// Events already waiting count as before the flush and go with it. Keys and
// buttons still held are taken rather than forgotten: an auto-repeat of a
// key held through the flush must not read as a new press.
void FlushInput() {
  PollEvents();
  ForgetInput();
}

void ForgetInput() {
  std::fill(std::begin(KeyHits), std::end(KeyHits), 0);
  std::fill(std::begin(MouseHits), std::end(MouseHits), 0);
  std::copy(std::begin(KeysHeld), std::end(KeysHeld), std::begin(KeysTaken));
  std::copy(std::begin(MouseHeld), std::end(MouseHeld), std::begin(MouseTaken));
  ForgetTaps();
  TypedCount = TypedStart = 0;
}

bool CloseRequested() { return std::exchange(CloseRequests, 0) != 0; }
bool FocusLost() { return std::exchange(FocusLosses, 0) != 0; }

int JoystickCount() { return int(Joysticks.size()); }

static const Joystick* JoystickAt(int j) {
  return j >= 0 && j < int(Joysticks.size()) ? &Joysticks[size_t(j)] : nullptr;
}

std::string JoystickName(int j) {
  const Joystick* joy = JoystickAt(j);
  return joy ? joy->name : "";
}

int JoystickButtonMask(int j) {
  const Joystick* joy = JoystickAt(j);
  return joy ? int((1u << joy->buttonCount) - 1) : 0;
}

bool JoystickButtonDown(int j, int button) {
  const Joystick* joy = JoystickAt(j);
  return joy && button >= 0 && button < 32 && joy->buttons[button];
}

float JoystickAxis(int j, int axis) {
  const Joystick* joy = JoystickAt(j);
  return joy && axis >= 0 && axis < 6 ? joy->axes[axis] : 0;
}

float JoystickHat(int j) {
  const Joystick* joy = JoystickAt(j);
  return joy ? joy->hat : -1;
}

int JoystickChanges() { return JoystickChangeCount; }

bool JoystickIsPad(int j) {
  const Joystick* joy = JoystickAt(j);
  return joy && joy->pad;
}

bool PadButtonDown(int j, int button) {
  const Joystick* joy = JoystickAt(j);
  return joy && button >= 0 && button < PAD_BUTTONS && joy->padButtons[button];
}

float PadAxis(int j, int axis) {
  const Joystick* joy = JoystickAt(j);
  return joy && axis >= 0 && axis < PAD_AXES ? joy->padAxes[axis] : 0;
}

void AddVirtualJoystick(const std::string& name, int buttons) {
  Joystick j;
  j.name = name;
  j.buttonCount = std::clamp(buttons, 0, 31);
  Joysticks.push_back(j);
}

// ---------------------------------------------------------------- replays

bool media::KnownNoteVerb(const std::string& verb) {
  static const char* const Verbs[] = {"keydown",      "keyup",     "keyrepeat",  "keystate",    "mousemove",
                                      "pointerstate", "mousedown", "mouseup",    "buttonstate", "char",
                                      "close",        "focuslost", "joystick",   "joyaxis",     "joybutton",
                                      "joyhat",       "watchstop", "watchclose", "end"};
  for (const char* v : Verbs)
    if (verb == v) return true;
  return false;
}

// The state lines carry hits, held, tapped and taken, so a take starts from
// the input exactly as its game found it.
void media::ApplyNoted(const std::string& verb, const std::string& args) {
  int a = 0, b = 0, c = 0, d = 0, e = 0;
  float x = 0, y = 0;
  char name[64] = "";
  const char* text = args.c_str();
  if (verb == "keydown" || verb == "keyup" || verb == "keyrepeat") {
    if (sscanf(text, "%d", &a) == 1 && a > 0 && a <= 255) KeyEvent(a, verb != "keyup", verb == "keyrepeat");
  } else if (verb == "keystate" && sscanf(text, "%d %d %d %d %d", &a, &b, &c, &d, &e) == 5 && a > 0 && a <= 255) {
    KeyHits[a] = b, KeysHeld[a] = c, KeysTapped[a] = d, KeysTaken[a] = e;
  } else if (verb == "buttonstate" && sscanf(text, "%d %d %d %d %d", &a, &b, &c, &d, &e) == 5 && a >= 1 && a <= 3) {
    MouseHits[a] = b, MouseHeld[a] = c, MouseTapped[a] = d, MouseTaken[a] = e;
  } else if ((verb == "mousemove" || verb == "pointerstate") && sscanf(text, "%f %f", &x, &y) == 2) {
    MouseX = x, MouseY = y;
  } else if ((verb == "mousedown" || verb == "mouseup") && sscanf(text, "%d", &a) == 1) {
    MouseButton(a, verb == "mousedown");
  } else if (verb == "char" && sscanf(text, "%d", &a) == 1) {
    NoteEvent("char " + std::to_string(a));
    QueueChar(a);
  } else if (verb == "close") {
    RequestClose();
  } else if (verb == "focuslost") {
    LoseFocus();
  } else if (verb == "joystick" && sscanf(text, "%d %63[^\n]", &a, name) >= 1) {
    AddVirtualJoystick(name, a);
  } else if (verb == "joyaxis" && sscanf(text, "%d %d %f", &a, &b, &x) == 3) {
    SetJoystick(a, 0, b, x);
  } else if (verb == "joybutton" && sscanf(text, "%d %d %f", &a, &b, &x) == 3) {
    SetJoystick(a, 1, b, x);
  } else if (verb == "joyhat" && sscanf(text, "%d %f", &a, &x) == 2) {
    SetJoystick(a, 2, 0, x);
  } else if (verb == "watchstop" || verb == "watchclose") {
    StopWatchOnInput(verb == "watchclose");
  }
}

void media::NoteInputState() {
  char text[64];
  for (int vk = 1; vk <= 255; vk++)
    if (KeyHits[vk] || KeysHeld[vk] || KeysTapped[vk] || KeysTaken[vk])
      snprintf(text, sizeof text, "keystate %d %d %d %d %d", vk, KeyHits[vk], KeysHeld[vk], KeysTapped[vk],
               KeysTaken[vk]),
          NoteEvent(text);
  for (int b = 1; b <= 3; b++)
    if (MouseHits[b] || MouseHeld[b] || MouseTapped[b] || MouseTaken[b])
      snprintf(text, sizeof text, "buttonstate %d %d %d %d %d", b, MouseHits[b], MouseHeld[b], MouseTapped[b],
               MouseTaken[b]),
          NoteEvent(text);
  snprintf(text, sizeof text, "pointerstate %.9g %.9g", double(MouseX), double(MouseY));
  NoteEvent(text);
}

void media::ClearInputState() {
  std::fill(std::begin(KeyHits), std::end(KeyHits), 0);
  std::fill(std::begin(MouseHits), std::end(MouseHits), 0);
  ReleaseEverything();
  ForgetTaps();
  TypedCount = TypedStart = 0;
}

// ---------------------------------------------------------------- scripting

void ScriptKey(int atMillis, int vk, bool down) {
  AddScript(atMillis, UserEvent(down ? S_KEYDOWN : S_KEYUP, 0, reinterpret_cast<void*>(intptr_t(vk)), nullptr));
}

void ScriptMouseMove(int atMillis, float x, float y) {
  AddScript(atMillis, UserEvent(S_MOUSEMOVE, 0, PointerOf(x), PointerOf(y)));
}

void ScriptMouseButton(int atMillis, int button, bool down) {
  AddScript(atMillis, UserEvent(down ? S_MOUSEDOWN : S_MOUSEUP, 0, reinterpret_cast<void*>(intptr_t(button)), nullptr));
}

// Sent as ordinary text-input events, in pieces that fit the event and do
// not split a character.
void ScriptText(int atMillis, const std::string& text) {
  size_t at = 0;
  while (at < text.size()) {
    size_t n = std::min<size_t>(text.size() - at, SDL_TEXTINPUTEVENT_TEXT_SIZE - 1);
    while (n > 1 && at + n < text.size() && (uint8_t(text[at + n]) & 0xC0) == 0x80) n--;
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    memcpy(e.text.text, text.data() + at, n);
    AddScript(atMillis, e);
    at += n;
  }
}

void ScriptClose(int atMillis) {
  SDL_Event e{};
  e.type = SDL_QUIT;
  AddScript(atMillis, e);
}

void ScriptJoystick(int atMillis, int j, int kind, int index, float value) {
  static const int Kinds[3] = {S_JOYAXIS, S_JOYBUTTON, S_JOYHAT};
  if (kind < 0 || kind > 2) return;
  AddScript(atMillis, UserEvent(Kinds[kind], j, reinterpret_cast<void*>(intptr_t(index)), PointerOf(value)));
}

void ScriptFocusLost(int atMillis) { AddScript(atMillis, UserEvent(S_FOCUSLOST, 0, nullptr, nullptr)); }

static int KeyByName(const std::string& word) {
  static const struct {
    const char* name;
    int vk;
  } Names[] = {{"LEFT", 37},    {"RIGHT", 39},   {"UP", 38},        {"DOWN", 40},     {"SPACE", 32}, {"RETURN", 13},
               {"ENTER", 13},   {"ESCAPE", 27},  {"TAB", 9},        {"BACK", 8},      {"LALT", 164}, {"RALT", 165},
               {"LSHIFT", 160}, {"RSHIFT", 161}, {"LCONTROL", 162}, {"RCONTROL", 163}};
  std::string w = Upper(word);
  for (auto& n : Names)
    if (w == n.name) return n.vk;
  if (w.size() == 1 && ((w[0] >= 'A' && w[0] <= 'Z') || (w[0] >= '0' && w[0] <= '9'))) return w[0];
  if (w.size() >= 2 && w[0] == 'F' && w.find_first_not_of("0123456789", 1) == std::string::npos) {
    int f = ToInt(w.substr(1));
    if (f >= 1 && f <= 12) return 111 + f;
  }
  if (!w.empty() && w.find_first_not_of("0123456789") == std::string::npos) {
    int vk = ToInt(w);
    if (vk >= 1 && vk <= 255) return vk;
  }
  return 0;
}

// One script line: "" once its events are queued, else why it was skipped.
static std::string ScriptLine(int base, const std::string& line) {
  char verb[32] = "";
  int ms = 0, consumed = 0;
  if (sscanf(line.c_str(), "%d %31s %n", &ms, verb, &consumed) < 2) return "not a time and a verb";
  std::string args = line.substr(size_t(consumed));
  int at = int(uint32_t(base) + uint32_t(ms));  // the clock wraps; so may the sum
  std::string v = verb;
  char word[32] = "";
  float x = 0, y = 0, z = 0;
  int a = 0, b = 0;
  const std::string badArguments = "wrong arguments for " + v;
  if (v == "keydown" || v == "keyup" || v == "key") {
    int vk = sscanf(args.c_str(), "%31s", word) == 1 ? KeyByName(word) : 0;
    if (!vk) return "no such key";
    ScriptKey(at, vk, v != "keyup");
    if (v == "key") ScriptKey(int(uint32_t(at) + 50), vk, false);
  } else if (v == "mousemove") {
    if (sscanf(args.c_str(), "%f %f", &x, &y) != 2) return badArguments;
    ScriptMouseMove(at, x, y);
  } else if (v == "mousedown" || v == "mouseup") {
    if (sscanf(args.c_str(), "%d", &a) != 1) return badArguments;
    ScriptMouseButton(at, a, v == "mousedown");
  } else if (v == "text") {
    // The text starts one space after the verb; the line up to it was
    // already consumed together with all following white space.
    size_t start = line.find("text") + 5;
    ScriptText(at, start <= line.size() ? line.substr(start) : "");
  } else if (v == "close") {
    ScriptClose(at);
  } else if (v == "focuslost") {
    ScriptFocusLost(at);
  } else if (v == "joyaxis") {
    if (sscanf(args.c_str(), "%d %d %f", &a, &b, &z) != 3) return badArguments;
    ScriptJoystick(at, a, 0, b, z);
  } else if (v == "joybutton") {
    if (sscanf(args.c_str(), "%d %d %f", &a, &b, &z) != 3) return badArguments;
    ScriptJoystick(at, a, 1, b, z);
  } else if (v == "joyhat") {
    if (sscanf(args.c_str(), "%d %f", &a, &z) != 2) return badArguments;
    ScriptJoystick(at, a, 2, 0, z);
  } else {
    return "no such verb";
  }
  return "";
}

// A skipped line is named with its number on standard error (and in the
// start-up log once that is open): a script is written by hand for a test
// or a replay, and a line that silently does nothing makes the run go
// wrong far from its cause. The first few are named; a file that is not a
// script at all would otherwise bury the terminal.
bool LoadInputScript(const std::string& path) {
  int stream = OpenRead(path);
  if (!stream) return false;
  const int namedAtMost = 20;
  int base = Millisecs(), skipped = 0;
  for (int number = 1; !EndOfStream(stream); number++) {
    std::string line = ReadLine(stream), trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == '#') continue;
    std::string text = trimmed == line ? line : line.substr(line.find(trimmed[0]));
    // A recording made by another version is not played at all: played in
    // part, it would show some other game.
    if (text.rfind("recording ", 0) == 0) {
      if (std::string refused = media::ScriptHeaderLine(text); !refused.empty()) {
        LogFailure("input script " + path + " is not played: this recording " + refused);
        CloseStream(stream);
        return false;
      }
      continue;
    }
    std::string why = text[0] == '@' ? media::ScriptNoteLine(text) : ScriptLine(base, text);
    if (!why.empty() && ++skipped <= namedAtMost)
      LogFailure("input script " + path + " line " + std::to_string(number) + " skipped (" + why +
                 "): " + Left(line, 60));
  }
  if (skipped > namedAtMost)
    LogFailure("input script " + path + ": " + std::to_string(skipped - namedAtMost) + " more lines skipped");
  CloseStream(stream);
  return true;
}
