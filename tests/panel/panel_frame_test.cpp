// The panel as a whole: sliding open and shut, the closed panel drawing
// nothing, the background, the sprite budget reset, the Apply button, and
// Tab through EndFrame.
#include "tests/panel/panel_fixture.h"

namespace {

TEST_F(PanelTest, OpensInTenFramesAndClosesInTen) {
  PanelY = -300;
  for (int i = 1; i <= 10; i++) {
    Frame();
    EXPECT_EQ(PanelY, -300 + 32 * i);
  }
  Frame();
  EXPECT_EQ(PanelY, 20);
  SettingsMenuOpen = 0;
  for (int i = 1; i <= 10; i++) {
    Frame();
    EXPECT_EQ(PanelY, 20 - 32 * i);
  }
  Frame();
  EXPECT_EQ(PanelY, -300);
}

TEST_F(PanelTest, ClosedPanelSpendsClicksWithoutDrawing) {
  SettingsMenuOpen = 0;
  PanelY = -300;
  SpritesDrawn[1] = 7;
  Cls();
  Click(1);
  EXPECT_EQ(MouseHitLeft, 0);  // not kept to fire when the panel opens
  EXPECT_EQ(MouseHitRight, 0);
  EXPECT_EQ(SpritesDrawn[1], 7);
  EXPECT_EQ(ReadBackPixel(400, 198), 0xFF000000u);
}

TEST_F(PanelTest, DrawsTheLightBottomEdge) {
  Cls();
  Frame();
  // The edge lies at virtual y 318..320, about real row 199 on the 800 x 600
  // display; which row the renderer rounds it to is its own business.
  bool edgeFound = false;
  for (int y = 197; y <= 200; y++) {
    uint32_t p = ReadBackPixel(400, y);
    edgeFound = edgeFound || (Red(p) == 180 && Green(p) == 255 && Blue(p) == 180);
  }
  EXPECT_TRUE(edgeFound);
  // Over black, the translucent grey shows as a dark grey.
  uint32_t inside = ReadBackPixel(375, 175);
  EXPECT_GT(Red(inside), 10);
  EXPECT_LT(Red(inside), 60);
  EXPECT_EQ(ReadBackPixel(400, 300), 0xFF000000u);
}

TEST_F(PanelTest, IconsAreDrawnEvenWithTheBudgetSpent) {
  SpriteBudget[1] = SpriteBudget[2] = 40;
  SpritesDrawn[1] = SpritesDrawn[2] = 40;
  Frame();
  EXPECT_GT(SpritesDrawn[1], 0);
  EXPECT_LT(SpritesDrawn[1], 40);
  EXPECT_GT(SpritesDrawn[2], 0);
}

TEST_F(PanelTest, BudgetsAreAlsoResetWhileSliding) {
  PanelY = -140;
  SpritesDrawn[1] = SpritesDrawn[2] = 999;
  Frame();
  EXPECT_LT(SpritesDrawn[1], 999);
  EXPECT_LT(SpritesDrawn[2], 999);
}

TEST_F(PanelTest, ApplyClosesThePanelWritesTheFileAndReopensTheDisplay) {
  CopyGameData(root);
  Settings[1] = 0;
  Settings[13] = 37;
  PointAt(25, 285);
  Click(1);
  int64_t loaded = MemoryInUse();
  SettingsMenuOpen = 1, PanelY = 20;
  PointAt(25, 285);  // the reload's own frames moved it
  Click(1);
  // Sounds outlive the display: a reload frees the ones it replaces.
  EXPECT_EQ(MemoryInUse(), loaded);
  EXPECT_EQ(SettingsMenuOpen, 0);
  EXPECT_EQ(MouseHitLeft, 0);
  EXPECT_TRUE(DisplayOpen());
  auto lines = ReadLines(root / "Files" / "Setup.ini");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Music = 37"), lines.end());
  // Reloading runs frames of its own, so the panel may already be gone.
  Frame();
  EXPECT_LT(PanelY, 20);
}

TEST_F(PanelTest, ClickElsewhereDoesNotApply) {
  PointAt(25, 400);
  Click(1);
  EXPECT_EQ(SettingsMenuOpen, 1);
  EXPECT_FALSE(std::filesystem::exists(root / "Files" / "Setup.ini"));
}

TEST_F(PanelTest, TabThroughEndFrameSlidesThePanelDown) {
  SettingsMenuOpen = 0;
  PanelY = -300;
  FrameStartMillis = Millisecs();
  // The panel holds the screen under it: the frame that opened it ends only
  // once it is shut again and has slid away.
  int start = Millisecs();
  ScriptKey(start, VK_TAB, true);
  ScriptKey(start, VK_TAB, false);
  ScriptKey(start + 1000, VK_ESCAPE, true);
  ScriptKey(start + 1050, VK_ESCAPE, false);
  AdvanceVirtualClock(1);
  PollEvents();  // as the frame before would
  EndFrame(60, 0, 0);
  EXPECT_GE(Millisecs() - start, 1000);
  EXPECT_EQ(SettingsMenuOpen, 0);
  EXPECT_EQ(PanelY, -300);
  EXPECT_TRUE(std::filesystem::exists(root / "Files" / "Setup.ini"));
}

// A Tab that lands in any frame of the slide-out, the last one included,
// opens the panel again (then or on the next frame) rather than being thrown
// away with the panel's input; with frame skipping too, where the panel may
// open on a skipped frame and hold the screen from the next one.
TEST_F(PanelTest, TabWhileThePanelSlidesAwayOpensItAgain) {
  for (auto [slow, parity] : {std::pair{0, 0}, {1, 0}, {1, 1}})
    for (int delay = 100; delay <= 220; delay += 8) {
      Settings[SETTING_SLOW_SYSTEM] = slow;
      FrameParity = parity;
      SettingsMenuOpen = 0;
      PanelY = -300;
      FlushInput();
      FrameStartMillis = Millisecs();
      int start = Millisecs();
      for (int at : {start, start + 300, start + 300 + delay, start + 600 + delay}) {
        ScriptKey(at, VK_TAB, true);
        ScriptKey(at + 30, VK_TAB, false);
      }
      AdvanceVirtualClock(1);
      PollEvents();  // as the frame before would
      while (Millisecs() - start < 340 + delay) EndFrame(60, 0, 0);
      if (SettingsMenuOpen == 1) EndFrame(60, 0, 0);  // opened on a skipped frame: held from the next
      ASSERT_GE(Millisecs() - start, 600 + delay)
          << "the Tab " << delay << " ms after closing was lost (frame skipping " << slow << ", parity " << parity
          << ")";
      EXPECT_EQ(SettingsMenuOpen, 0);
      ASSERT_EQ(PanelY, -300);
    }
}

}  // namespace
