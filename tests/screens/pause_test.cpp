// The pause menu: the Escape release wait, Continue and Quit with Escape and
// with fire, wrapping selection, the input latch, reseeding afterwards.
#include "frame/pause.h"

#include <vector>

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

// Each case presses keys at times from the menu's opening (down, up) and
// expects the menu's result. Player 2's down is bound to S.
TEST_F(PauseTest, KeysMoveTheSelectionAndPickAnItem) {
  struct Press {
    int key, down, up;
  };
  struct Case {
    const char* what;
    std::vector<Press> presses;
    int result;
  };
  const Case cases[] = {
      {"Escape with Quit highlighted quits", {{VK_DOWN, 100, 150}, {VK_ESCAPE, 300, 350}}, 99},
      {"Up from Continue selects Quit", {{VK_UP, 100, 150}, {VK_ESCAPE, 300, 350}}, 99},
      {"Down twice wraps back to Continue", {{VK_DOWN, 100, 150}, {VK_DOWN, 200, 250}, {VK_ESCAPE, 400, 450}}, 1},
      {"a player's binding moves the selection", {{'S', 100, 150}, {VK_ESCAPE, 300, 350}}, 99},
      {"Down held on opening does nothing", {{VK_DOWN, 0, 500}, {VK_ESCAPE, 700, 750}}, 1},
      {"Down pressed again after release moves", {{VK_DOWN, 0, 500}, {VK_DOWN, 600, 650}, {VK_ESCAPE, 800, 850}}, 99},
      {"fire takes the highlighted item", {{VK_SPACE, 100, 150}}, 1},
      {"fire on Quit quits", {{VK_DOWN, 100, 150}, {'Z', 300, 350}}, 99},
      {"fire held on opening is ignored", {{VK_SPACE, 0, 300}, {VK_DOWN, 400, 450}, {VK_SPACE, 600, 650}}, 99},
  };
  ControlTable[ControlSlot(2, CONTROL_DOWN)] = 'S';
  for (const Case& c : cases) {
    FlushInput();
    for (const Press& p : c.presses) Tap(p.key, p.down, p.up);
    EXPECT_EQ(RunPauseMenu(), c.result) << c.what;
  }
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
