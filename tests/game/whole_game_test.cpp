// whole_game_test.cpp — whole games on the virtual clock: the ball is left to
// bounce on its start cell, the attempt times out, the ball meets its own
// ghost, and the game ends on the "Game Over" title.
#include "scores/records.h"
#include "tests/game/game_fixture.h"

namespace {

class WholeGame : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    FontTable[5] = LoadFont("Files/Common/Blue Highway.ttf", 64, true);
    SizedFonts[4] = LoadFont("Files/Common/Blue Highway.ttf", 24, true);
    ASSERT_NE(FontTable[5], 0);
    FrameLimit = 20000;  // a runaway game closes down instead of hanging
    PauseState = 1;
    Difficulty = 2;
    // The full-screen background and vignette cost most of a frame in the
    // software renderer and play no part in the rules.
    // BackgroundImage = VignetteImage = 0;
  }

  // Counts yellow title pixels around the centre of the presented screen.
  static int YellowPixels() {
    int count = 0;
    for (int y = 250; y < 350; y += 2)
      for (int x = 150; x < 650; x += 2) {
        uint32_t p = ReadBackPixel(x, y);
        int r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
        if (r > 220 && g > 220 && b < 60) count++;
      }
    return count;
  }
};

TEST_F(WholeGame, TheBallMeetsItsGhostAndTheGameEnds) {
  StartGame();
  int code = 0;
  for (int frame = 0; frame < 5000 && code == 0; frame++) code = GameFrame();
  EXPECT_EQ(code, 1);
  EXPECT_EQ(GhostHit, 1);
  EXPECT_EQ(AttemptLength, 300);
  EXPECT_GE(GhostList.size(), 1u);  // the first attempt became a ghost
  EXPECT_GT(FramesEnded, 330);      // the ghost appears only after the first attempt's pause
  ShowEndTitle();
  EXPECT_GT(YellowPixels(), 20);
}

TEST_F(WholeGame, AFinishedGameWaitsAndBecomesAScoreRecord) {
  int started = Millisecs();
  // Return pressed now and then: name entry takes the first press after it opens.
  for (int second = 1; second <= 60; second++)
    ScriptKey(started + second * 1000, VK_RETURN, true), ScriptKey(started + second * 1000 + 50, VK_RETURN, false);
  RunGame();
  EXPECT_EQ(PauseState, 0);
  EXPECT_GE(Millisecs() - started, 300 * 15 + 1500);  // a whole attempt and the wait
  ASSERT_EQ(ScoreList.size(), 1u);
  const Scores& record = ScoreList.front();
  EXPECT_EQ(record.Score, GameScore);
  EXPECT_EQ(record.Quit, 0);
  EXPECT_EQ(record.GameMode, 2);
  EXPECT_EQ(record.Name, PlayerName);
}

TEST_F(WholeGame, FramesRunWithoutArtwork) {
  VignetteImage = BackgroundImage = TileImage = BallImage = TimerImage = PickupImage = 0;
  StartGame();
  for (int f = 0; f < 400; f++) ASSERT_EQ(GameFrame(), 0);
  EXPECT_EQ(GhostList.size(), 1u);  // no images, no touches
}

}  // namespace

// While the settings panel is open the game stands still: its attempt timer
// and ghosts do not move, however long the panel stays.
TEST_F(WholeGame, TheAttemptTimerStandsStillWhileThePanelIsOpen) {
  StartGame();
  for (int f = 0; f < 40; f++) GameFrame();
  int attemptFrame = AttemptFrame, now = Millisecs();
  ScriptKey(now, VK_TAB, true), ScriptKey(now + 20, VK_TAB, false);
  ScriptKey(now + 3000, VK_TAB, true), ScriptKey(now + 3020, VK_TAB, false);
  PollEvents();  // as the frame before would
  GameFrame();   // held by the panel until it shuts
  EXPECT_GE(ClockDiff(Millisecs(), now), 3000);
  EXPECT_EQ(AttemptFrame, attemptFrame + 1);
}
