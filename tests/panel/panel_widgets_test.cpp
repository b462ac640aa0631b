// The panel's widgets: option rows and their labels, the resolution row,
// the binding pads, the volume sliders and the joystick list.
#include "tests/panel/panel_fixture.h"

namespace {

// The hover box of a row is its icon plus the shown label's (first line's)
// width: probing its right end tells which label is shown.
bool OverRowAt(int entry, int x, int y, const std::string& label0, const std::string& label1, int dx) {
  MouseX = x + dx, MouseY = y + PanelY + 16;
  MouseHitLeft = 0;
  return OptionRow(entry, x, y, 0, label0, label1) == 1;
}

TEST_F(PanelTest, RowWithAValueOutOfRangeShowsLabel0AndAdvancesFromIt) {
  SetFont(FontTable[2]);
  int w = TextWidth("A");
  Settings[50] = 9;
  EXPECT_TRUE(OverRowAt(50, 20, 400, "A", "Much longer label", w + 37));
  EXPECT_FALSE(OverRowAt(50, 20, 400, "A", "Much longer label", w + 38));
  PointAt(25, 400 + PanelY + 16);
  MouseHitLeft = 1;
  OptionRow(50, 20, 400, 0, "A", "Much longer label");
  EXPECT_EQ(Settings[50], 1);
  Settings[50] = -3;
  OptionRow(50, 20, 400, 0, "A", "Much longer label");
  EXPECT_EQ(Settings[50], 1);
  OptionRow(50, 20, 400, 0, "A", "Much longer label");
  EXPECT_EQ(Settings[50], 0);
}

TEST_F(PanelTest, RowShowsTheChosenLabel) {
  SetFont(FontTable[2]);
  int w = TextWidth("Much longer label");
  Settings[50] = 1;
  EXPECT_TRUE(OverRowAt(50, 20, 400, "A", "Much longer label", w + 37));
}

TEST_F(PanelTest, TwoLineLabelIsAsWideAsItsFirstLine) {
  SetFont(FontTable[2]);
  int w = TextWidth("Draw all Frames");
  Settings[7] = 0;
  PointAt(20 + w + 37, 146 + PanelY + 16);
  EXPECT_EQ(OptionRow(7, 20, 146, 18, "Draw all Frames|Decent System", "Frameskip|Slow System"), 1);
  PointAt(20 + w + 38, 146 + PanelY + 16);
  EXPECT_EQ(OptionRow(7, 20, 146, 18, "Draw all Frames|Decent System", "Frameskip|Slow System"), 0);
}

TEST_F(PanelTest, ClickOnTheWindowRowTogglesFullScreen) {
  PointAt(30, 60);
  Click(1);
  EXPECT_EQ(Settings[1], 1);
  Click(1);
  EXPECT_EQ(Settings[1], 0);
}

TEST_F(PanelTest, DriverRowCyclesThroughTheDrivers) {
  AudioDriverNames = {"alsa", "pulseaudio", "dummy"};
  Settings[14] = 0;
  PointAt(1010, 55);
  Click(1);
  EXPECT_EQ(Settings[14], 1);
  Click(1);
  EXPECT_EQ(Settings[14], 2);
  Click(1);
  EXPECT_EQ(Settings[14], 0);
}

TEST_F(PanelTest, DriverRowWithOneDriverShowsItAndAClickKeepsIt) {
  AudioDriverNames = {"dummy"};
  SetFont(FontTable[2]);
  int w = TextWidth("Audio Driver");
  Settings[14] = 0;
  PointAt(1000 + w + 37, 55);
  EXPECT_EQ(OptionRow(14, 1000, 20, 24, "AUDIO"), 1);
  PointAt(1000 + w + 38, 55);
  EXPECT_EQ(OptionRow(14, 1000, 20, 24, "AUDIO"), 0);
  PointAt(1010, 55);
  Click(1);
  EXPECT_EQ(Settings[14], 0);
}

TEST_F(PanelTest, DriverIndexBeyondTheListIsSafeAndAClickComesBackIntoIt) {
  AudioDriverNames = {"alsa", "dummy"};
  Settings[14] = 9;
  PointAt(1010, 55);
  Click(1);
  // The row showed the driver in use, which is none of the choices: a click
  // picks the first.
  EXPECT_EQ(Settings[14], 0);
}

TEST_F(PanelTest, DriverRowWithoutDriversStaysAtZero) {
  AudioDriverNames.clear();
  Settings[14] = 3;
  PointAt(1010, 55);
  Click(1);
  EXPECT_EQ(Settings[14], 0);
}

class ResolutionTest : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    const int w[] = {0, 640, 800, 1024, 1280, 1920}, h[] = {0, 480, 600, 768, 960, 1080};
    for (int i = 1; i <= 5; i++) ModeListW[i] = w[i], ModeListH[i] = h[i];
    ModeCount = 5;
    PointAt(100, 120);
  }
};

TEST_F(ResolutionTest, RightFromTheLastModeWrapsToTheFirst) {
  Settings[4] = 5;
  TapKey(VK_RIGHT);
  EXPECT_EQ(Settings[4], 1);
  EXPECT_EQ(Settings[5], 640);
  EXPECT_EQ(Settings[6], 480);
}

TEST_F(ResolutionTest, DownFromTheFirstModeWrapsToTheLast) {
  Settings[4] = 1;
  TapKey(VK_DOWN);
  EXPECT_EQ(Settings[4], 5);
  EXPECT_EQ(Settings[5], 1920);
  EXPECT_EQ(Settings[6], 1080);
}

TEST_F(ResolutionTest, UpAndLeftStepAndRightClickGoesBack) {
  Settings[4] = 2;
  TapKey(VK_UP);
  EXPECT_EQ(Settings[4], 3);
  TapKey(VK_LEFT);
  EXPECT_EQ(Settings[4], 2);
  Click(2);
  EXPECT_EQ(Settings[4], 1);
  EXPECT_EQ(Settings[5], 640);
}

TEST_F(ResolutionTest, LeftClickOnTheRowStepsAndClearsTheWideFlag) {
  Settings[2] = 1;
  Settings[4] = 3;
  PointAt(30, 100);
  Click(1);
  EXPECT_EQ(Settings[4], 4);
  EXPECT_EQ(Settings[2], 0);
}

TEST_F(ResolutionTest, KeysAwayFromTheRowLeaveTheModeAlone) {
  Settings[4] = 3;
  PointAt(640, 700);
  TapKey(VK_RIGHT);
  EXPECT_EQ(Settings[4], 3);
}

TEST_F(ResolutionTest, NoModeChosenYetStepsIntoTheList) {
  Settings[4] = 0;
  TapKey(VK_LEFT);
  EXPECT_EQ(Settings[4], 5);
  Settings[4] = 0;
  TapKey(VK_RIGHT);
  EXPECT_EQ(Settings[4], 1);
}

TEST_F(PanelTest, WithNoUsableModeTheSizeStays) {
  ModeCount = 0;
  Settings[4] = 0;
  Settings[5] = 1280;
  Settings[6] = 1024;
  ModeListW[0] = 77;  // never to be read
  PointAt(100, 120);
  TapKey(VK_RIGHT);
  TapKey(VK_LEFT);
  Click(1);
  Click(2);
  EXPECT_EQ(Settings[4], 0);
  EXPECT_EQ(Settings[5], 1280);
  EXPECT_EQ(Settings[6], 1024);
}

// Player 1's up button is at (300, PanelY + 10), 48 square.
TEST_F(PanelTest, HalfOpenPanelDoesNotScanBindings) {
  PanelY = -44;
  PointAt(320, 35);
  HoldKey('Q', true);
  Frame();
  ASSERT_EQ(PanelY, -12);
  EXPECT_EQ(ControlTable[0], VK_UP);
  Frame();
  ASSERT_EQ(PanelY, 20);
  EXPECT_EQ(ControlTable[0], 'Q');
}

TEST_F(PanelTest, BackspaceClearsTheBindingPointedAt) {
  PointAt(320, 50);
  HoldKey(VK_BACK, true);
  Frame();
  EXPECT_EQ(ControlTable[0], 0);
  HoldKey(VK_BACK, false);
  Frame();
  EXPECT_EQ(ControlTable[0], 0);
  EXPECT_EQ(ControlTable[3], VK_LEFT);
}

TEST_F(PanelTest, BindingsIgnoreTheMouseElsewhere) {
  PointAt(640, 700);
  HoldKey('Q', true);
  Frame();
  for (int slot : {0, 3, 5, 8, 10, 11, 12, 13}) EXPECT_NE(ControlTable[slot], 'Q') << slot;
}

TEST_F(PanelTest, SecondPlayersPadBindsTheirSlots) {
  PlayerSlots = 2;
  PointAt(320, 200);  // player 2's up button at (300, 180)
  HoldKey('W', true);
  Frame();
  EXPECT_EQ(ControlTable[20], 'W');
}

TEST_F(PanelTest, FourthPlayersFirstButtonIsAtTheBottomOfTheDiamond) {
  PlayerSlots = 4;
  PointAt(650 + 190 + 10, 180 + 60 + 10);
  HoldKey('K', true);
  Frame();
  EXPECT_EQ(ControlTable[70], 'K');
}

TEST_F(PanelTest, PadsAreHiddenUnlessTheInputModeIsZero) {
  InputMode = 1;
  PointAt(320, 50);
  HoldKey('Q', true);
  Frame();
  EXPECT_EQ(ControlTable[0], VK_UP);
}

TEST_F(PanelTest, PadsOnlyForThePlayersInUse) {
  PlayerSlots = 1;
  PointAt(320, 200);
  HoldKey('W', true);
  Frame();
  EXPECT_EQ(ControlTable[20], 0);
}

TEST_F(PanelTest, CodesWithoutAnInputDrawNothing) {
  struct Case {
    int code;
    int sprites;
  };
  const Case cases[] = {{0, 1},   {5, 0},   {8, 0},   {9, 1},   {254, 1}, {255, 0}, {299, 0}, {300, 1},
                        {311, 1}, {312, 0}, {319, 0}, {320, 1}, {329, 1}, {335, 1}, {-4, 0}};
  for (const Case& c : cases) {
    ControlTable[40] = c.code;
    SpritesDrawn[1] = 0;
    BindingButton(40, 600, 600);
    EXPECT_EQ(SpritesDrawn[1], c.sprites) << c.code;
  }
}

// The master slider lies at x 1000, y PanelY + 70; its grip box starts two
// pixels left of it and is 100 wide.
TEST_F(PanelTest, DraggingTheSliderToItsEndsGivesZeroAndHundred) {
  Settings[11] = 50;
  ScriptMouseButton(Millisecs(), 1, true);
  PointAt(999, 95);
  Frame();
  EXPECT_EQ(Settings[11], 0);
  PointAt(1097, 95);
  Frame();
  EXPECT_EQ(Settings[11], 100);
  PointAt(1040, 95);
  Frame();
  EXPECT_EQ(Settings[11], 42);
}

TEST_F(PanelTest, SliderValuesNearTheEndsSnap) {
  ScriptMouseButton(Millisecs(), 1, true);
  const int value[] = {5, 6, 94, 95}, expected[] = {0, 6, 94, 100};
  for (int i = 0; i < 4; i++) {
    PointAt(998 + value[i], 145);  // the sound-effects slider
    Frame();
    EXPECT_EQ(Settings[12], expected[i]) << value[i];
  }
}

TEST_F(PanelTest, ReleasedSliderKeepsItsValue) {
  Settings[13] = 60;
  PointAt(1010, 195);  // the music slider
  Frame();
  EXPECT_EQ(Settings[13], 60);
}

TEST_F(PanelTest, VolumesFromTheFileAreBroughtIntoRange) {
  Settings[11] = 500;
  Settings[12] = -20;
  Settings[13] = 3;
  Frame();
  EXPECT_EQ(Settings[11], 100);
  EXPECT_EQ(Settings[12], 0);
  EXPECT_EQ(Settings[13], 0);
  EXPECT_EQ(VolumeSlider(1000000, 100, 700, "Test"), 100);
  EXPECT_EQ(VolumeSlider(-1000000, 100, 700, "Test"), 0);
}

class JoystickListTest : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    AddVirtualJoystick("Test Pad", 4);
    ScanJoysticks();
    ASSERT_EQ(JoyCount, 1);
  }
};

// The list starts at y PanelY + 230; the joysticks are the last thing drawn,
// so the draw colour afterwards is the last joystick's.
TEST_F(JoystickListTest, ClickOnTheNameSwitchesTheJoystickOffAndOn) {
  Frame();
  EXPECT_FLOAT_EQ(GetAlpha(), 1.0f);
  PointAt(1005, 256);
  Click(1);
  EXPECT_EQ(JoyEnabled[1], 0);
  EXPECT_EQ(MouseHitLeft, 0);
  Frame();
  EXPECT_NEAR(GetAlpha(), 0.2f, 0.001f);
  Click(1);
  EXPECT_EQ(JoyEnabled[1], 1);
}

TEST_F(JoystickListTest, ClickBesideTheNameDoesNothing) {
  SetFont(FontTable[2]);
  PointAt(1000 + TextWidth("Test Pad") + 5, 256);
  Click(1);
  EXPECT_EQ(JoyEnabled[1], 1);
}

TEST_F(JoystickListTest, HeldFirstButtonTurnsTheNameYellow) {
  ScriptJoystick(Millisecs(), 0, 1, 0, 1.0f);
  Frame();
  int r, g, b;
  GetColour(&r, &g, &b);
  EXPECT_EQ(r, 255);
  EXPECT_EQ(g, 255);
  EXPECT_EQ(b, 80);
}

}  // namespace
