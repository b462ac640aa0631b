// pad_test.cpp — a standard pad, plugged in while the game runs, steers the
// ball with the default layout: an SDL virtual joystick given a standard
// mapping, exactly as SDL's own database maps a real pad.
#include <SDL.h>

#include "tests/game/game_fixture.h"

namespace {

class Pad : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    EmptyCave();
    PlaceBall(50, 20);
    ScanJoysticks();  // no pad yet: it comes during play
    // SDL drops pad input while no window has the focus, as a headless one never does.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    char guid[64];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), guid, sizeof guid);
    std::string mapping = std::string(guid) +
                          ",Test Pad,a:b0,b:b1,x:b2,y:b3,back:b4,guide:b5,start:b6,leftstick:b7,rightstick:b8,"
                          "leftshoulder:b9,rightshoulder:b10,dpup:b11,dpdown:b12,dpleft:b13,dpright:b14,"
                          "leftx:a0,lefty:a1,rightx:a2,righty:a3,lefttrigger:a4,righttrigger:a5,";
    ASSERT_GE(SDL_GameControllerAddMapping(mapping.c_str()), 0) << SDL_GetError();
    stick = SDL_JoystickOpen(index);  // the test's own hold, to move it
    ASSERT_NE(stick, nullptr);
    Settle();
  }
  void TearDown() override {
    if (stick) SDL_JoystickClose(stick);
    GameTest::TearDown();
  }

  // As the frame end does: pump, then follow what was plugged in or out.
  static void Settle() {
    PollEvents();
    FollowJoysticks();
  }

  SDL_Joystick* stick = nullptr;
};

TEST_F(Pad, PluggedInDuringPlayItSteersTheBallByItsLayout) {
  ASSERT_EQ(JoyCount, 1);
  EXPECT_TRUE(JoystickIsPad(0));
  struct Case {
    const char* what;
    int button, axis, value;  // -1: not this kind
    int velocity;             // after ten steps
  };
  const Case cases[] = {
      {"D-pad right", 14, -1, 0, 8},
      {"D-pad left", 13, -1, 0, -8},
      {"left stick right", -1, 0, 32767, 8},
      {"left stick left", -1, 0, -32768, -8},
      {"stick inside the dead zone", -1, 0, 6000, 0},
  };
  for (const Case& c : cases) {
    VelX = 0;
    if (c.button >= 0) SDL_JoystickSetVirtualButton(stick, c.button, 1);
    if (c.axis >= 0) SDL_JoystickSetVirtualAxis(stick, c.axis, int16_t(c.value));
    Settle();
    for (int i = 0; i < 10; i++) BallStep();
    EXPECT_EQ(VelX, c.velocity) << c.what;
    if (c.button >= 0) SDL_JoystickSetVirtualButton(stick, c.button, 0);
    if (c.axis >= 0) SDL_JoystickSetVirtualAxis(stick, c.axis, 0);
    Settle();
  }
  SDL_JoystickSetVirtualButton(stick, 0, 1);
  Settle();
  EXPECT_EQ(ControlDown(CONTROL_BUTTON_1, 1), 1) << "A is the first button";
  EXPECT_EQ(ScanAnyInput(), PadCodes);
  EXPECT_EQ(KeyName(ScanAnyInput()), "A");
}

TEST_F(Pad, UnpluggedItReadsAtRestAndPluggedAgainKeepsItsNumber) {
  SDL_JoystickSetVirtualButton(stick, 14, 1);
  Settle();
  ASSERT_EQ(ControlDown(CONTROL_RIGHT, 1), 1);
  SDL_JoystickClose(stick);
  stick = nullptr;
  SDL_JoystickDetachVirtual(0);
  Settle();
  EXPECT_EQ(ControlDown(CONTROL_RIGHT, 1), 0);
  ASSERT_GE(SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0), 0);
  Settle();
  EXPECT_EQ(JoystickCount(), 1);
  EXPECT_TRUE(JoystickIsPad(0));
}

}  // namespace
