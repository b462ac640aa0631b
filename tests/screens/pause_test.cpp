// The pause menu: the Escape release wait, Continue and Quit with Escape and
// with fire, wrapping selection, the input latch, reseeding afterwards.
#include "frame/pause.h"

#include "tests/screens/screens_fixture.h"

namespace {

class PauseTest : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    PauseState = 2;
  }
};

TEST_F(PauseTest, EscapeHeldOnOpeningWaitsForReleaseThenContinues) {
  int start = Millisecs();
  ScriptKey(start, VK_ESCAPE, true);
  ScriptKey(start + 300, VK_ESCAPE, false);
  Tap(VK_ESCAPE, 600, 700);
  EXPECT_EQ(RunPauseMenu(), 1);
  // Left only on the second press, and after its release.
  EXPECT_GE(Millisecs() - start, 700);
  EXPECT_FALSE(KeyDown(VK_ESCAPE));
}

TEST_F(PauseTest, EscapeWithQuitHighlightedQuits) {
  Tap(VK_DOWN, 100, 150);
  Tap(VK_ESCAPE, 300, 350);
  EXPECT_EQ(RunPauseMenu(), 99);
}

TEST_F(PauseTest, UpFromContinueSelectsQuit) {
  Tap(VK_UP, 100, 150);
  Tap(VK_ESCAPE, 300, 350);
  EXPECT_EQ(RunPauseMenu(), 99);
}

TEST_F(PauseTest, DownDownWrapsBackToContinue) {
  Tap(VK_DOWN, 100, 150);
  Tap(VK_DOWN, 200, 250);
  Tap(VK_ESCAPE, 400, 450);
  EXPECT_EQ(RunPauseMenu(), 1);
}

TEST_F(PauseTest, PlayerBindingsMoveTheSelection) {
  ControlTable[20 + 8] = 'S';  // player 2 down
  Tap('S', 100, 150);
  Tap(VK_ESCAPE, 300, 350);
  EXPECT_EQ(RunPauseMenu(), 99);
}

TEST_F(PauseTest, DownHeldOnOpeningDoesNothingUntilReleased) {
  ScriptKey(Millisecs(), VK_DOWN, true);
  ScriptKey(Millisecs() + 500, VK_DOWN, false);
  Tap(VK_ESCAPE, 700, 750);
  EXPECT_EQ(RunPauseMenu(), 1);
}

TEST_F(PauseTest, DownPressedAgainAfterReleaseMoves) {
  ScriptKey(Millisecs(), VK_DOWN, true);
  ScriptKey(Millisecs() + 500, VK_DOWN, false);
  Tap(VK_DOWN, 600, 650);
  Tap(VK_ESCAPE, 800, 850);
  EXPECT_EQ(RunPauseMenu(), 99);
}

TEST_F(PauseTest, FireTakesTheHighlightedItem) {
  Tap(VK_SPACE, 100, 150);
  EXPECT_EQ(RunPauseMenu(), 1);
}

TEST_F(PauseTest, FireOnQuitQuits) {
  Tap(VK_DOWN, 100, 150);
  Tap('Z', 300, 350);
  EXPECT_EQ(RunPauseMenu(), 99);
}

TEST_F(PauseTest, FireHeldOnOpeningIsIgnoredUntilReleased) {
  ScriptKey(Millisecs(), VK_SPACE, true);
  ScriptKey(Millisecs() + 300, VK_SPACE, false);
  Tap(VK_DOWN, 400, 450);
  Tap(VK_SPACE, 600, 650);
  EXPECT_EQ(RunPauseMenu(), 99);
}

TEST_F(PauseTest, ReseedsTheGeneratorFromTheClockAfterwards) {
  Tap(VK_SPACE, 100, 150);
  ASSERT_EQ(RunPauseMenu(), 1);
  int state = RandomState();
  SeedRandom(Millisecs());
  EXPECT_EQ(state, RandomState());
}

TEST_F(PauseTest, FramesAreEndedWhileItRuns) {
  int before = FramesEnded;
  Tap(VK_SPACE, 300, 350);
  RunPauseMenu();
  EXPECT_GE(FramesEnded - before, 300 / 16);
  EXPECT_EQ(PauseState, 2);
}

}  // namespace
