// Tests of the virtual clock, the event pump, scripted input and joysticks.
// SDL events are pushed here directly to check the keyboard mapping on the
// same path a window's events take.
#include <SDL.h>
#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "media/media.h"

namespace {

class CoreInput : public testing::Test {
 protected:
  void SetUp() override { StartMedia(MediaConfig{true, true}); }
  void TearDown() override { StopMedia(); }
};

void PushKey(SDL_Scancode scancode, SDL_Keycode sym, bool down, bool repeat = false) {
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.repeat = repeat;
  e.key.keysym.scancode = scancode;
  e.key.keysym.sym = sym;
  ASSERT_EQ(SDL_PushEvent(&e), 1);
  PollEvents();
}

// Reads answer from the state the last pump left, as the frame end pumps.
void Pump(int ms) {
  AdvanceVirtualClock(ms);
  PollEvents();
}

TEST(CoreClock, VirtualWaitsReturnAtOnceAndMoveTheCount) {
  UseVirtualClock(true);
  int t0 = Millisecs();
  SleepMs(500);
  EXPECT_EQ(Millisecs(), t0 + 500);
  Delay(2500);
  EXPECT_EQ(Millisecs(), t0 + 3000);
  AdvanceVirtualClock(7);
  SleepMs(-20);
  EXPECT_EQ(Millisecs(), t0 + 3007);
}

TEST(CoreClock, VirtualClockStartsTheSameEveryRun) {
  StartMedia(MediaConfig{true, true});
  EXPECT_EQ(Millisecs(), 1000);
  StopMedia();
  StopMedia();  // twice is harmless
}

TEST(CoreClock, DateAndTimeTexts) {
  setlocale(LC_ALL, "");
  EXPECT_TRUE(std::regex_match(CurrentDate(),
                               std::regex("[0-3][0-9] (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [0-9]{4}")))
      << CurrentDate();
  EXPECT_TRUE(std::regex_match(CurrentTime(), std::regex("[0-2][0-9]:[0-5][0-9]:[0-6][0-9]"))) << CurrentTime();
}

TEST_F(CoreInput, ScriptFileDeliversEventsAtTheirTimes) {
  std::string path = std::string("core_input_script_") + std::to_string(getpid()) + ".txt";
  std::ofstream(path) << "# a short session\r\n"
                         "\r\n"
                         "100 keydown LEFT\r\n"
                         "  200 keyup 37\n"
                         "300 key a\n"
                         "400 mousemove 320.5 240\n"
                         "450 mousedown 1\n"
                         "460 mouseup 1\n"
                         "500 text H\xC3\xA9 !\n"
                         "550 key RETURN\n"
                         "600 close\n"
                         "700 bogus 1\n"
                         "garbage\n";
  ASSERT_TRUE(LoadInputScript(path));
  remove(path.c_str());

  EXPECT_FALSE(KeyDown(VK_LEFT));
  Pump(99);
  EXPECT_FALSE(KeyDown(VK_LEFT));
  Pump(1);
  EXPECT_TRUE(KeyDown(VK_LEFT));
  EXPECT_EQ(KeyHit(VK_LEFT), 1);
  EXPECT_EQ(KeyHit(VK_LEFT), 0);  // cleared by the read
  EXPECT_TRUE(KeyDown(VK_LEFT));

  Pump(100);
  EXPECT_FALSE(KeyDown(VK_LEFT));
  Pump(100);
  EXPECT_TRUE(KeyDown('A'));
  Pump(50);
  EXPECT_FALSE(KeyDown('A'));
  EXPECT_EQ(KeyHit('A'), 1);

  Pump(50);
  EXPECT_FLOAT_EQ(PointerX(), 320.5f);
  EXPECT_FLOAT_EQ(PointerY(), 240.0f);
  EXPECT_FALSE(MouseDown(1));
  Pump(50);
  EXPECT_TRUE(MouseDown(1));
  Pump(10);
  EXPECT_FALSE(MouseDown(1));
  EXPECT_EQ(MouseHit(1), 1);
  EXPECT_EQ(MouseHit(1), 0);
  EXPECT_EQ(MouseHit(2), 0);

  Pump(40);
  EXPECT_EQ(NextChar(), 'H');
  EXPECT_EQ(NextChar(), 0xE9);
  EXPECT_EQ(NextChar(), ' ');
  EXPECT_EQ(NextChar(), '!');
  EXPECT_EQ(NextChar(), 0);
  Pump(50);
  EXPECT_EQ(NextChar(), 13);  // Return types a control character too

  EXPECT_FALSE(CloseRequested());
  Pump(50);
  EXPECT_TRUE(CloseRequested());
  EXPECT_FALSE(CloseRequested());
  EXPECT_FALSE(LoadInputScript("no_such_script.txt"));
}

TEST_F(CoreInput, HitsCountEveryPressAndWaitsDeliverOnTheNextRead) {
  int t = Millisecs();
  for (int i = 0; i < 3; i++) {
    ScriptKey(t + 10 + 20 * i, VK_SPACE, true);
    ScriptKey(t + 20 + 20 * i, VK_SPACE, false);
  }
  Pump(1000);
  EXPECT_EQ(KeyHit(VK_SPACE), 3);
  EXPECT_TRUE(KeyDown(VK_SPACE));  // a tap reads as held until the next pump
  Pump(16);
  EXPECT_FALSE(KeyDown(VK_SPACE));
}

// Pumps 16 ms apart, as frames at 60 per second; a press and release land
// anywhere in a frame, however short: each reads as one hit and as held for
// at least the frame after the pump that brought it.
TEST_F(CoreInput, ATapAnywhereInAFrameCountsOnceAndReadsAsHeld) {
  for (int at = 0; at < 16; at += 3) {
    for (int length : {1, 8, 15, 40}) {
      PollEvents();
      int t = Millisecs();
      ScriptKey(t + at + 1, VK_SPACE, true);
      ScriptKey(t + at + 1 + length, VK_SPACE, false);
      ScriptMouseButton(t + at + 1, 1, true);
      ScriptMouseButton(t + at + 1 + length, 1, false);
      int hits = 0, clicks = 0, framesHeld = 0, framesDown = 0;
      for (int frame = 0; frame < 6; frame++) {
        Pump(16);
        framesHeld += KeyDown(VK_SPACE);
        framesDown += MouseDown(1);
        hits += KeyHit(VK_SPACE);
        clicks += MouseHit(1);
      }
      EXPECT_EQ(hits, 1) << at << " " << length;
      EXPECT_EQ(clicks, 1) << at << " " << length;
      EXPECT_GE(framesHeld, 1) << at << " " << length;
      EXPECT_GE(framesDown, 1) << at << " " << length;
    }
  }
}

TEST_F(CoreInput, EventsOfOneMomentKeepTheirOrder) {
  int t = Millisecs() + 5;
  ScriptKey(t, VK_UP, true);
  ScriptKey(t, VK_UP, false);
  ScriptKey(t, VK_DOWN, false);
  ScriptKey(t, VK_DOWN, true);
  Pump(5);
  Pump(16);  // past the frame in which the tap of Up reads as held
  EXPECT_FALSE(KeyDown(VK_UP));
  EXPECT_TRUE(KeyDown(VK_DOWN));
}

// Lines in any order play in time order; lines of one moment keep the
// order given, after what was already waiting for it ("=" at 100 ms). A
// bad line is skipped and named with its number, the first twenty of them.
TEST_F(CoreInput, ScriptLinesPlayInTimeOrderAndBadOnesAreNamed) {
  std::string manyBad = "1 text z\n";
  for (int n = 0; n < 25; n++) manyBad += "x\n";
  struct Case {
    std::string script;
    std::string typed;               // in the order delivered
    std::vector<std::string> named;  // on standard error
  } cases[] = {
      {"300 text c\n100 text a\n200 text b\n", "=abc", {}},
      {"100 text a\n100 text b\n50 text x\n100 text c\n0 text w\n", "wx=abc", {}},
      {"# a note\n200 text b\nbad\n100 text a\n100 keydown NOSUCHKEY\n150 jump 3\n150 mousemove 1\n",
       "=ab",
       {"line 3 skipped (not a time and a verb): bad", "line 5 skipped (no such key)", "line 6 skipped (no such verb)",
        "line 7 skipped (wrong arguments for mousemove)"}},
      {manyBad, "z=", {"line 2 skipped", "line 21 skipped", "5 more lines skipped"}},
  };
  for (const Case& c : cases) {
    std::string path = "core_input_order_" + std::to_string(getpid()) + ".txt";
    std::ofstream(path, std::ios::binary) << c.script;
    ScriptText(Millisecs() + 100, "=");
    testing::internal::CaptureStderr();
    ASSERT_TRUE(LoadInputScript(path));
    std::string errors = testing::internal::GetCapturedStderr();
    remove(path.c_str());
    Pump(1000);
    std::string typed;
    for (int ch; (ch = NextChar()) != 0;) typed += char(ch);
    EXPECT_EQ(typed, c.typed) << c.script;
    for (const std::string& line : c.named)
      EXPECT_NE(errors.find(line), std::string::npos) << line << " in\n" << errors;
    EXPECT_EQ(errors.find("line 22 skipped"), std::string::npos);
    if (c.named.empty()) {
      EXPECT_EQ(errors, "");
    }
  }
}

TEST_F(CoreInput, SidelessModifiersFollowBothSides) {
  int t = Millisecs();
  ScriptKey(t, 160, true);
  ScriptKey(t, 161, true);
  ScriptKey(t + 10, 160, false);
  ScriptKey(t + 20, 161, false);
  ScriptKey(t + 30, VK_LMENU, true);
  PollEvents();
  EXPECT_TRUE(KeyDown(VK_SHIFT));
  EXPECT_EQ(KeyHit(VK_SHIFT), 2);
  Pump(10);
  EXPECT_TRUE(KeyDown(VK_SHIFT));
  Pump(10);
  EXPECT_FALSE(KeyDown(VK_SHIFT));
  Pump(10);
  EXPECT_TRUE(KeyDown(18));
  EXPECT_TRUE(KeyDown(VK_LMENU));
  EXPECT_FALSE(KeyDown(VK_RMENU));
}

TEST_F(CoreInput, WindowKeysMapToVirtualKeyNumbers) {
  struct {
    SDL_Scancode scancode;
    SDL_Keycode sym;
    int vk;
  } keys[] = {
      {SDL_SCANCODE_A, SDLK_a, 65},
      {SDL_SCANCODE_Q, SDLK_a, 65},  // a French layout's A
      {SDL_SCANCODE_Z, SDLK_z, 90},
      {SDL_SCANCODE_0, SDLK_0, 48},
      {SDL_SCANCODE_1, SDLK_AMPERSAND, 49},
      {SDL_SCANCODE_F1, SDLK_F1, 112},
      {SDL_SCANCODE_F12, SDLK_F12, 123},
      {SDL_SCANCODE_LEFT, SDLK_LEFT, 37},
      {SDL_SCANCODE_DOWN, SDLK_DOWN, 40},
      {SDL_SCANCODE_RETURN, SDLK_RETURN, 13},
      {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, 13},
      {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 27},
      {SDL_SCANCODE_SPACE, SDLK_SPACE, 32},
      {SDL_SCANCODE_TAB, SDLK_TAB, 9},
      {SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, 8},
      {SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, 160},
      {SDL_SCANCODE_RCTRL, SDLK_RCTRL, 163},
      {SDL_SCANCODE_RALT, SDLK_RALT, 165},
      {SDL_SCANCODE_KP_0, SDLK_KP_0, 96},
      {SDL_SCANCODE_KP_9, SDLK_KP_9, 105},
      {SDL_SCANCODE_KP_DIVIDE, SDLK_KP_DIVIDE, 111},
      {SDL_SCANCODE_INSERT, SDLK_INSERT, 45},
      {SDL_SCANCODE_DELETE, SDLK_DELETE, 46},
      {SDL_SCANCODE_HOME, SDLK_HOME, 36},
      {SDL_SCANCODE_PAGEDOWN, SDLK_PAGEDOWN, 34},
      {SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, 186},
      {SDL_SCANCODE_APOSTROPHE, SDLK_QUOTE, 192},
      {SDL_SCANCODE_NONUSHASH, SDLK_HASH, 222},
      {SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE, 223},
      {SDL_SCANCODE_NONUSBACKSLASH, SDLK_BACKSLASH, 226},
      {SDL_SCANCODE_CAPSLOCK, SDLK_CAPSLOCK, 20},
      {SDL_SCANCODE_NUMLOCKCLEAR, SDLK_NUMLOCKCLEAR, 144},
      {SDL_SCANCODE_PAUSE, SDLK_PAUSE, 19},
      {SDL_SCANCODE_PRINTSCREEN, SDLK_PRINTSCREEN, 44},
  };
  for (auto& k : keys) {
    PushKey(k.scancode, k.sym, true);
    EXPECT_TRUE(KeyDown(k.vk)) << k.vk;
    EXPECT_EQ(KeyHit(k.vk), 1) << k.vk;
    PushKey(k.scancode, k.sym, true, true);  // auto-repeat is not a new hit
    EXPECT_EQ(KeyHit(k.vk), 0) << k.vk;
    PushKey(k.scancode, k.sym, false);
    EXPECT_FALSE(KeyDown(k.vk)) << k.vk;
  }
  EXPECT_FALSE(KeyDown(0));
  EXPECT_FALSE(KeyDown(256));
  EXPECT_EQ(KeyHit(-3), 0);
}

TEST_F(CoreInput, TypedTextIsDecodedAndQueuedUpTo256) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  strcpy(e.text.text, "a\xE2\x82\xAC\xF0\x9F\x98\x80");  // a, euro sign, an emoji
  SDL_PushEvent(&e);
  PollEvents();
  EXPECT_EQ(NextChar(), 'a');
  EXPECT_EQ(NextChar(), 0x20AC);
  EXPECT_EQ(NextChar(), 0x1F600);
  EXPECT_EQ(NextChar(), 0);

  ScriptText(Millisecs(), std::string(300, 'x') + "y");
  PollEvents();
  int n = 0;
  while (NextChar() == 'x') n++;
  EXPECT_EQ(n, 256);  // the rest did not fit
  EXPECT_EQ(NextChar(), 0);
}

TEST_F(CoreInput, FlushClearsHitsStatesAndTypedText) {
  int t = Millisecs();
  ScriptKey(t, 'Z', true);
  ScriptText(t, "abc");
  ScriptMouseButton(t, 2, true);
  PollEvents();
  EXPECT_TRUE(KeyDown('Z'));
  FlushInput();
  EXPECT_FALSE(KeyDown('Z'));
  EXPECT_EQ(KeyHit('Z'), 0);
  EXPECT_EQ(NextChar(), 0);
  EXPECT_FALSE(MouseDown(2));  // taken with the keys, until let go
  ScriptMouseButton(Millisecs(), 2, false);
  ScriptMouseButton(Millisecs(), 2, true);
  PollEvents();
  EXPECT_TRUE(MouseDown(2));
}

TEST_F(CoreInput, VirtualJoysticksReadScriptedAxesButtonsAndHat) {
  EXPECT_EQ(JoystickCount(), 0);  // the headless machine has none
  EXPECT_EQ(JoystickName(0), "");
  EXPECT_FLOAT_EQ(JoystickHat(0), -1);
  AddVirtualJoystick("Test Pad", 12);
  ASSERT_EQ(JoystickCount(), 1);
  EXPECT_EQ(JoystickName(0), "Test Pad");
  EXPECT_EQ(JoystickButtonMask(0), 0xFFF);
  EXPECT_FLOAT_EQ(JoystickHat(0), -1);
  EXPECT_FLOAT_EQ(JoystickAxis(0, AXIS_X), 0);

  std::string path = std::string("core_joy_script_") + std::to_string(getpid()) + ".txt";
  std::ofstream(path) << "10 joyaxis 0 1 -0.75\n20 joybutton 0 3 1\n30 joyhat 0 0.875\n40 joybutton 0 3 0\n"
                         "40 joyhat 0 -1\n40 joyaxis 0 5 3\n";
  ASSERT_TRUE(LoadInputScript(path));
  remove(path.c_str());
  ScriptJoystick(Millisecs() + 10, 0, 0, AXIS_R, 0.5f);
  ScriptJoystick(Millisecs() + 10, 7, 1, 0, 1);  // no such joystick: ignored
  Pump(10);
  EXPECT_FLOAT_EQ(JoystickAxis(0, AXIS_Y), -0.75f);
  EXPECT_FLOAT_EQ(JoystickAxis(0, AXIS_R), 0.5f);
  Pump(10);
  EXPECT_TRUE(JoystickButtonDown(0, 3));
  EXPECT_FALSE(JoystickButtonDown(0, 2));
  Pump(10);
  EXPECT_FLOAT_EQ(JoystickHat(0), 0.875f);
  Pump(10);
  EXPECT_FALSE(JoystickButtonDown(0, 3));
  EXPECT_FLOAT_EQ(JoystickHat(0), -1);
  EXPECT_FLOAT_EQ(JoystickAxis(0, AXIS_V), 1.0f);  // clamped
  EXPECT_FALSE(JoystickButtonDown(0, 99));
  EXPECT_FLOAT_EQ(JoystickAxis(0, 6), 0);
}

// An SDL virtual device goes through the same path as a plugged-in joystick.
TEST_F(CoreInput, DeviceJoysticksReportAxesButtonsAndHatPositions) {
  int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 5, 1);
  ASSERT_GE(index, 0) << SDL_GetError();
  SDL_Joystick* device = SDL_JoystickOpen(index);
  ASSERT_NE(device, nullptr);
  PollEvents();
  ASSERT_EQ(JoystickCount(), 1);
  EXPECT_EQ(JoystickButtonMask(0), 0x1F);
  EXPECT_FLOAT_EQ(JoystickHat(0), -1);

  SDL_JoystickSetVirtualAxis(device, 0, -32768);
  SDL_JoystickSetVirtualAxis(device, 3, 16384);
  SDL_JoystickSetVirtualButton(device, 4, SDL_PRESSED);
  SDL_JoystickSetVirtualHat(device, 0, SDL_HAT_RIGHT);
  PollEvents();
  EXPECT_FLOAT_EQ(JoystickAxis(0, AXIS_X), -1);
  EXPECT_NEAR(JoystickAxis(0, AXIS_R), 0.5f, 1e-4);
  EXPECT_TRUE(JoystickButtonDown(0, 4));
  EXPECT_FLOAT_EQ(JoystickHat(0), 0.25f);
  const struct {
    Uint8 hat;
    float fraction;
  } hats[] = {{SDL_HAT_UP, 0},          {SDL_HAT_RIGHTUP, 0.125f},  {SDL_HAT_RIGHTDOWN, 0.375f},
              {SDL_HAT_DOWN, 0.5f},     {SDL_HAT_LEFTDOWN, 0.625f}, {SDL_HAT_LEFT, 0.75f},
              {SDL_HAT_LEFTUP, 0.875f}, {SDL_HAT_CENTERED, -1}};
  for (auto& h : hats) {
    SDL_JoystickSetVirtualHat(device, 0, h.hat);
    PollEvents();
    EXPECT_FLOAT_EQ(JoystickHat(0), h.fraction) << int(h.hat);
  }

  // Unplugged, it keeps its number and reads as at rest.
  SDL_JoystickClose(device);
  PollEvents();
  SDL_JoystickDetachVirtual(index);
  PollEvents();
  EXPECT_EQ(JoystickCount(), 1);
  EXPECT_FALSE(JoystickButtonDown(0, 4));
  EXPECT_FLOAT_EQ(JoystickAxis(0, AXIS_X), 0);
}

TEST(CoreInputWithoutSdl, ScriptedEventsStillArriveWhenSdlIsNotRunning) {
  UseVirtualClock(true);
  ScriptKey(Millisecs() + 1, VK_F4, true);
  ScriptText(Millisecs() + 1, "q");
  ScriptClose(Millisecs() + 1);
  SleepMs(1);
  PollEvents();
  EXPECT_TRUE(KeyDown(VK_F4));
  EXPECT_EQ(NextChar(), 'q');
  EXPECT_TRUE(CloseRequested());
}

}  // namespace
