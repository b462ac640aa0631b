// The end of frame: pacing and frame-rate figures on the virtual clock,
// frame parity and alternate presenting, the message log, hot keys.
#include "frame/frame_end.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "controls/controls.h"
#include "frame/common_media.h"
#include "frame/draw.h"
#include "frame/key_help.h"
#include "frame/settings_table.h"
#include "tests/support/headless.h"

namespace {

std::filesystem::path EnterGameFolder(const char* name) { return EnterScratchFolder(name) / "Files"; }

}  // namespace

// Each frame spends `work(i)` milliseconds of virtual time drawing before
// EndFrame; the case gives the clock time the 60 frames after a first one
// take from end to end, and the longest and shortest of them.
TEST(EndFrame, PacesFromDeadlineToDeadline) {
  struct Case {
    const char* what;
    bool nearWrap;  // the clock starts half a second before its 32-bit wrap
    int (*work)(int frame);
    int total, shortest, longest;
  };
  const Case cases[] = {
      {"free drawing holds 60, not faster", false, [](int) { return 0; }, 1000, 16, 17},
      {"12 ms of drawing still holds 60", false, [](int) { return 12; }, 1000, 16, 17},
      {"a 30 ms frame is caught up", false, [](int i) { return i == 10 ? 30 : 0; }, 1000, 3, 30},
      {"20 ms of drawing runs as fast as it can", false, [](int) { return 20; }, 1200, 20, 20},
      {"a stall starts the steps afresh", false, [](int i) { return i == 10 ? 300 : 0; }, 1283, 16, 300},
      {"the clock's wrap changes nothing", true, [](int) { return 5; }, 1000, 16, 17},
  };
  for (const Case& c : cases) {
    ResetFrameState();
    ResetVirtualClock();
    OpenHeadlessDisplay();
    EnterGameFolder("pace");
    if (c.nearWrap) AdvanceVirtualClock(INT32_MAX - Millisecs() - 500);
    EndFrame(60, 0, 0);  // the first frame starts the steps
    int start = Millisecs(), shortest = 1 << 30, longest = 0;
    for (int i = 1; i <= 60; i++) {
      AdvanceVirtualClock(c.work(i));
      EndFrame(60, 0, 0);
      shortest = std::min(shortest, FrameMillis);
      longest = std::max(longest, FrameMillis);
    }
    EXPECT_NEAR(ClockDiff(Millisecs(), start), c.total, 1) << c.what;
    EXPECT_EQ(shortest, c.shortest) << c.what;
    EXPECT_EQ(longest, c.longest) << c.what;
    StopMedia();
  }
}

TEST(EndFrame, ShowsSixtyFramesPerSecondWhenHoldingSixty) {
  OpenHeadlessDisplay();
  EnterGameFolder("fps60");
  for (int i = 0; i < 120; i++) EndFrame(60, 0, 0);
  // Frames of 17, 17 and 16 ms through the truncating average.
  EXPECT_GE(FpsShown, 58);
  EXPECT_LE(FpsShown, 60);
  EXPECT_EQ(FramesEnded, 120);
}

TEST(EndFrame, FrameRateAverageSmoothsOverThreeFrames) {
  OpenHeadlessDisplay();
  EnterGameFolder("fps");
  FpsAverage = 60;
  FrameStartMillis = Millisecs() - 20;  // the pacing target has passed already
  int now = Millisecs();
  EndFrame(60, 0, 0);
  // One sleep of 1 ms: the frame took 21 ms -> (1000 / 21 + 120) / 3 = 55.
  EXPECT_EQ(FrameMillis, Millisecs() - now + 20);
  EXPECT_EQ(FpsShown, (1000 / FrameMillis + 2 * 60) / 3);
}

TEST(EndFrame, SlowSystemPresentsEveryOtherFrame) {
  OpenHeadlessDisplay();
  EnterGameFolder("ess");
  Settings[7] = 1;
  FrameParity = 0;
  for (int i = 0; i < 10; i++) EndFrame(60, 0, 0);
  EXPECT_EQ(FramesPresented, 5);
  EXPECT_EQ(FrameParity, 0);
  Settings[7] = 0;
  for (int i = 0; i < 4; i++) EndFrame(60, 0, 0);
  EXPECT_EQ(FramesPresented, 9);
}

TEST(EndFrame, TabOpensThePanelWhichHoldsTheFrameUntilTabShutsIt) {
  OpenHeadlessDisplay();
  auto folder = EnterGameFolder("tab");
  int start = Millisecs();
  ScriptKey(start, VK_TAB, true);
  ScriptKey(start + 1, VK_TAB, false);
  ScriptKey(start + 500, VK_TAB, true);
  ScriptKey(start + 501, VK_TAB, false);
  AdvanceVirtualClock(1);
  PollEvents();  // as the frame before would
  EndFrame(60, 0, 0);
  EXPECT_GE(Millisecs() - start, 500);
  EXPECT_EQ(SettingsMenuOpen, 0);
  EXPECT_TRUE(std::filesystem::exists(folder / "Setup.ini"));
}

TEST(EndFrame, F12TogglesTheStatisticsOverlay) {
  OpenHeadlessDisplay();
  EnterGameFolder("f12");
  StatsOverlayOn = 1;
  ScriptKey(Millisecs(), VK_F12, true);
  PollEvents();
  EndFrame(60, 0, 0);
  EXPECT_EQ(StatsOverlayOn, 0);
}

TEST(EndFrame, CapturesTheMousePositionAsIntegers) {
  OpenHeadlessDisplay();
  EnterGameFolder("mouse");
  ScriptMouseMove(Millisecs(), 321.7f, 99.2f);
  EndFrame(60, 0, 0);
  EXPECT_NEAR(MouseX, 321, 2);  // the display maps real pixels to virtual ones
  EXPECT_NEAR(MouseY, 99, 2);
}

TEST(MessageLog, MessagesAgeAndLeaveAfter180Frames) {
  OpenHeadlessDisplay();
  EnterGameFolder("ageing");
  AddMessage("first", 1);
  for (int i = 0; i < 100; i++) EndFrame(60, 0, 0);
  AddMessage("second", 7);
  ASSERT_EQ(MessageList.size(), 2u);
  EXPECT_EQ(MessageList.front().tick, 100);
  EXPECT_EQ(MessageList.back().c, 7);
  for (int i = 0; i < 79; i++) EndFrame(60, 0, 0);
  EXPECT_EQ(MessageList.size(), 2u);
  EndFrame(60, 0, 0);  // the 180th frame of "first": drawn, then removed
  ASSERT_EQ(MessageList.size(), 1u);
  EXPECT_EQ(MessageList.front().txt, "second");
  EXPECT_EQ(MessageList.front().tick, 80);
}

TEST(MessageLog, NewestLineSitsHighestAndFreshLinesAreYellow) {
  OpenHeadlessDisplay();
  EnterGameFolder("lines");
  FontTable[FONT_SMALL] = LoadFont(PLIMBO_BINARY_DIR "/Files/Common/SVBasicManual.ttf", 16, true);
  if (FontTable[FONT_SMALL] == 0) GTEST_SKIP() << "fonts are not built";
  AddMessage("MMMMMMMMMM", 1);
  AddMessage("MMMMMMMMMM", 1);
  AddMessage("MMMMMMMMMM", 1);
  // Draw a frame by hand so the log is still on the back buffer.
  FrameParity = 1;
  Settings[7] = 1;  // not presented: the back buffer keeps what was drawn
  BeginFrame(1);
  EndFrame(60, 0, 0);
  Settings[7] = 0;
  // Bars at virtual y = 944, 930, 916: real rows 590, 581, 572 (x 1 is
  // left of every glyph, so the bar's colour shows).
  for (int realY : {591, 582, 573}) {
    uint32_t p = ReadBackPixel(1, realY);
    EXPECT_GT(Red(p), 60) << realY;
    EXPECT_GT(Green(p), 60) << realY;
    EXPECT_LT(Blue(p), 40) << realY;
  }
  EXPECT_EQ(Red(ReadBackPixel(1, 560)), 0);
}

// Losing the window's focus opens the pause menu where Escape would (in
// play) and nowhere else; fire then continues.
TEST(EndFrame, FocusLossPausesOnlyWherePausingIsAllowed) {
  OpenHeadlessDisplay();
  EnterGameFolder("focus");
  for (int pauseState : {1, 0}) {
    PauseState = pauseState;
    int start = Millisecs();
    ScriptFocusLost(start);
    ScriptKey(start + 300, VK_SPACE, true);
    ScriptKey(start + 350, VK_SPACE, false);
    PollEvents();
    EXPECT_EQ(EndFrame(60, 0, 0), pauseState == 1 ? 1 : 0) << "pause state " << pauseState;
    FlushInput();
  }
}

TEST(EndFrame, F9MutesAndRestoresAllSoundAndSaysSo) {
  OpenHeadlessDisplay();
  auto folder = EnterGameFolder("mute");
  for (const char* said : {"Sound off", "Sound on"}) {
    ScriptKey(Millisecs(), VK_F9, true);
    ScriptKey(Millisecs() + 1, VK_F9, false);
    PollEvents();
    EndFrame(60, 0, 0);
    EXPECT_EQ(SoundMuted(), said == std::string("Sound off"));
    EXPECT_EQ(Settings[SETTING_MUTE], SoundMuted() ? 1 : 0);
    ASSERT_FALSE(MessageList.empty());
    EXPECT_EQ(MessageList.back().txt, said);
  }
  EXPECT_TRUE(std::filesystem::exists(folder / "Setup.ini"));
}

// F1 holds the frame under the help until F1 again or Escape closes it; the
// Escape is the help's, so the screen below never sees it.
TEST(EndFrame, F1HelpHoldsTheFrameUntilF1OrEscapeClosesIt) {
  OpenHeadlessDisplay();
  EnterGameFolder("help");
  for (int closer : {VK_F1, VK_ESCAPE}) {
    PauseState = 1;
    int start = Millisecs();
    ScriptKey(start, VK_F1, true);
    ScriptKey(start + 20, VK_F1, false);
    ScriptKey(start + 400, closer, true);
    ScriptKey(start + 420, closer, false);
    PollEvents();
    EXPECT_EQ(EndFrame(60, 0, 0), 0);
    EXPECT_GE(Millisecs() - start, 400) << KeyName(closer);
    EXPECT_FALSE(KeyHelpOpen);
    EXPECT_FALSE(KeyDown(VK_ESCAPE));
    EXPECT_EQ(PauseState, 1);
    FlushInput();
  }
}

// Under frame skipping the pause key waits for a shown frame; a quick tap of
// Escape (down and up within one pump) that lands before a skipped frame
// must still open the menu on the next shown one.
TEST(EndFrame, QuickEscapeTapOpensThePauseMenuUnderFrameSkipping) {
  OpenHeadlessDisplay();
  EnterGameFolder("escape_tap");
  Settings[SETTING_SLOW_SYSTEM] = 1;
  for (int parity : {0, 1}) {
    PauseState = 1;
    if (FrameParity != parity) EndFrame(30, 0, 0);
    int start = Millisecs();
    ScriptKey(start, VK_ESCAPE, true);
    ScriptKey(start + 1, VK_ESCAPE, false);
    ScriptKey(start + 500, VK_ESCAPE, true);  // and Escape leaves the menu
    ScriptKey(start + 520, VK_ESCAPE, false);
    int result = 0;
    for (int frame = 0; frame < 3 && result == 0; frame++) result = EndFrame(30, 0, 0);
    EXPECT_EQ(result, 1) << "tap pumped in a frame of parity " << parity;
    FlushInput();
  }
  Settings[SETTING_SLOW_SYSTEM] = 0;
}
