// controls_test.cpp — bindings, held tests with dead zones and hat bands, the
// input scan and the names of codes, driven by scripted keys and a virtual pad.
#include <gtest/gtest.h>

#include "controls/controls.h"
#include "media/media.h"

namespace {

class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    StartMedia({true, true});
    SetDefaultControls();
  }
  void TearDown() override { StopMedia(); }

  // Scripted input arrives through the event pump on the next read.
  static void Key(int vk, bool down) {
    ScriptKey(Millisecs(), vk, down);
    PollEvents();
  }
  static void Axis(int j, int axis, float v) {
    ScriptJoystick(Millisecs(), j, 0, axis, v);
    PollEvents();
  }
  static void Button(int j, int b, bool down) {
    ScriptJoystick(Millisecs(), j, 1, b, down ? 1.0f : 0.0f);
    PollEvents();
  }
  static void Hat(int j, float v) {
    ScriptJoystick(Millisecs(), j, 2, 0, v);
    PollEvents();
  }
};

TEST_F(Controls, DefaultsBindPlayerOneOnly) {
  EXPECT_EQ(ControlTable[0], 38);
  EXPECT_EQ(ControlTable[3], 37);
  EXPECT_EQ(ControlTable[5], 39);
  EXPECT_EQ(ControlTable[8], 40);
  EXPECT_EQ(ControlTable[10], 90);
  EXPECT_EQ(ControlTable[13], 86);
  EXPECT_EQ(ControlTable[30], 0);
  Key('Z', true);
  EXPECT_EQ(ControlDown(10, 1), 1);
  EXPECT_EQ(ControlDown(10, 2), 0);  // slot 30, unbound
  Key(VK_LEFT, true);
  EXPECT_EQ(ControlDown(3, 1), 1);
  EXPECT_EQ(ControlDown(5, 1), 0);
}

TEST_F(Controls, LowKeyCodesAndNonInputsNeverHold) {
  Key(VK_BACK, true);
  Key(VK_TAB, true);
  EXPECT_EQ(InputDown(8), 0);
  EXPECT_EQ(InputDown(9), 0);
  EXPECT_EQ(InputDown(280), 0);
  EXPECT_EQ(InputDown(0), 0);
  EXPECT_EQ(InputDown(-5), 0);
  EXPECT_EQ(InputDown(5000), 0);  // beyond joystick 4
  Key(VK_RETURN, true);
  EXPECT_EQ(InputDown(13), 1);
}

TEST_F(Controls, AxisDeadZoneIsMeasuredFromRest) {
  AddVirtualJoystick("Pad", 4);
  Axis(0, AXIS_X, 0.05f);
  ScanJoysticks();
  ASSERT_EQ(JoyCount, 1);
  EXPECT_FLOAT_EQ(JoyRestX[1], 0.05f);
  EXPECT_EQ(JoyEnabled[1], 1);
  EXPECT_EQ(JoyName[1], "Pad");
  EXPECT_EQ(JoyButtonMask[1], 15);

  Axis(0, AXIS_X, -0.24f);
  EXPECT_EQ(InputDown(302), 0);
  Axis(0, AXIS_X, -0.26f);
  EXPECT_EQ(InputDown(302), 1);
  EXPECT_EQ(InputDown(303), 0);
  Axis(0, AXIS_X, 0.36f);
  EXPECT_EQ(InputDown(303), 1);
  EXPECT_EQ(InputDown(302), 0);

  // The other axes keep their own pairs: Y 0/1, Z 4/5, U 6/7, V 8/9, R 10/11.
  Axis(0, AXIS_Y, 0.5f);
  Axis(0, AXIS_R, -0.5f);
  Axis(0, AXIS_U, 0.5f);
  EXPECT_EQ(InputDown(301), 1);
  EXPECT_EQ(InputDown(310), 1);
  EXPECT_EQ(InputDown(307), 1);
  EXPECT_EQ(InputDown(305), 0);
  EXPECT_EQ(InputDown(309), 0);
}

TEST_F(Controls, HatBandsOverlapOnDiagonals) {
  AddVirtualJoystick("Pad", 2);
  ScanJoysticks();
  ASSERT_EQ(JoyHatOk[1], 1);
  Hat(0, 0.875f);
  EXPECT_EQ(InputDown(320), 1);
  EXPECT_EQ(InputDown(323), 1);
  EXPECT_EQ(InputDown(325), 0);
  EXPECT_EQ(InputDown(328), 0);
  Hat(0, 0.35f);
  EXPECT_EQ(InputDown(325), 1);
  EXPECT_EQ(InputDown(328), 1);
  Hat(0, -1);
  for (int d : {20, 23, 25, 28}) EXPECT_EQ(InputDown(300 + d), 0) << d;
  EXPECT_EQ(InputDown(321), 0);  // no input behind d = 21
}

TEST_F(Controls, HatOffCentreAtStartIsIgnored) {
  AddVirtualJoystick("Pad", 2);
  Hat(0, 0.5f);
  ScanJoysticks();
  EXPECT_EQ(JoyHatOk[1], 0);
  EXPECT_EQ(InputDown(328), 0);
  EXPECT_EQ(ScanAnyInput(), 0);
}

TEST_F(Controls, ButtonsAndSecondJoystick) {
  AddVirtualJoystick("One", 4);
  AddVirtualJoystick("Two", 20);
  ScanJoysticks();
  ASSERT_EQ(JoyCount, 2);
  Button(1, 19, true);
  EXPECT_EQ(InputDown(350 + 30 + 19), 1);
  EXPECT_EQ(InputDown(300 + 30 + 19), 0);
  // The scan stops short of button 19.
  EXPECT_EQ(ScanAnyInput(), 0);
  Button(1, 2, true);
  EXPECT_EQ(ScanAnyInput(), 382);
}

TEST_F(Controls, SwitchedOffJoystickReadsNothing) {
  AddVirtualJoystick("Pad", 4);
  ScanJoysticks();
  Button(0, 1, true);
  Axis(0, AXIS_Y, -1);
  EXPECT_EQ(InputDown(331), 1);
  EXPECT_EQ(ScanAnyInput(), 300);  // Y below rest comes first
  JoyEnabled[1] = 0;
  EXPECT_EQ(InputDown(331), 0);
  EXPECT_EQ(InputDown(300), 0);
  EXPECT_EQ(ScanAnyInput(), 0);
}

TEST_F(Controls, OnlyFourJoysticksAreScanned) {
  for (int j = 0; j < 6; j++) AddVirtualJoystick("Pad " + std::to_string(j), 2);
  ScanJoysticks();
  EXPECT_EQ(JoyCount, 4);
  EXPECT_EQ(JoyName[4], "Pad 3");
}

TEST_F(Controls, ScanFindsLowestKeyAndRefusesF11F12) {
  EXPECT_EQ(ScanAnyInput(), 0);
  Key('A', true);
  Key(VK_LEFT, true);
  EXPECT_EQ(ScanAnyInput(), 37);
  Key(VK_F12, true);
  EXPECT_EQ(ScanAnyInput(), 0);
  Key(VK_F12, false);
  Key(VK_F11, true);
  EXPECT_EQ(ScanAnyInput(), 0);
  Key(VK_F11, false);
  EXPECT_EQ(ScanAnyInput(), 37);
}

// A modifier binds as its sided code, which has a name; the side-less 16-18
// come first in the scan but name nothing.
TEST_F(Controls, ModifiersBindAsTheirSidedNames) {
  const struct {
    int vk;
    const char* name;
  } modifiers[] = {{160, "LShift"},   {161, "RShift"}, {162, "LControl"},
                   {163, "RControl"}, {164, "LAlt"},   {165, "RAlt"}};
  for (const auto& m : modifiers) {
    Key(m.vk, true);
    EXPECT_EQ(ScanAnyInput(), m.vk) << m.name;
    EXPECT_EQ(KeyName(ScanAnyInput()), m.name);
    Key(m.vk, false);
    Key(0, false);  // past the frame in which the release still reads as held
  }
}

TEST_F(Controls, ScanTakesOnlyExactHatPositions) {
  AddVirtualJoystick("Pad", 0);
  ScanJoysticks();
  Hat(0, 0.875f);
  EXPECT_EQ(ScanAnyInput(), 0);
  Hat(0, 0.75f);
  EXPECT_EQ(ScanAnyInput(), 323);
  Hat(0, 0);
  EXPECT_EQ(ScanAnyInput(), 320);
}

TEST(KeyNames, KeysAndJoystickInputs) {
  EXPECT_EQ(KeyName(0), "Pause");
  EXPECT_EQ(KeyName(19), "Pause");
  EXPECT_EQ(KeyName(37), "Left");
  EXPECT_EQ(KeyName(48), "0");
  EXPECT_EQ(KeyName(57), "9");
  EXPECT_EQ(KeyName(65), "A");
  EXPECT_EQ(KeyName(90), "Z");
  EXPECT_EQ(KeyName(101), "5");
  EXPECT_EQ(KeyName(112), "F1");
  EXPECT_EQ(KeyName(123), "F12");
  EXPECT_EQ(KeyName(165), "RAlt");
  EXPECT_EQ(KeyName(220), "\\");
  EXPECT_EQ(KeyName(226), "\\");
  EXPECT_EQ(KeyName(335), "5");
  EXPECT_EQ(KeyName(320), "Up");
  EXPECT_EQ(KeyName(373), "Left");
  EXPECT_EQ(KeyName(10), "R-");
  EXPECT_EQ(KeyName(300), "Y-");
  EXPECT_EQ(KeyName(311), "R+");
  EXPECT_EQ(KeyName(312), "-18");  // remainders without an input read as negative buttons
  EXPECT_EQ(KeyName(499), "19");
  for (auto [code, name] :
       {std::pair{500, "A"}, {613, "D-Pad Left"}, {507, "Left Stick"}, {530, "LS Left"}, {641, "RT"}})
    EXPECT_EQ(KeyName(code), name) << code;
}

}  // namespace
