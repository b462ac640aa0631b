// rules_test.cpp — attempts turning into ghosts, ghost touches, pickups caught
// and flown in, sparkles, level completion, and the effect player's slots.
#include <cmath>

#include "scores/popups.h"
#include "tests/game/game_fixture.h"

namespace {

class Rules : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    EmptyCave();
    PlaceBall(50, 20);
    CamX = 50 * 64 - 640;
    CamY = 20 * 64 - 480;
    LastBallScreenX = 640;
    LastBallScreenY = 480;
    ClearAttempts();
    AttemptLength = 120;
    AttemptFrame = 0;
    GameOverCode = GhostHit = 0;
    PickupTotal = 100;
    PickupsTaken = 0;
    CompletionPercent = 0;
    FrameParity = 0;
  }

  // A ghost standing at map position (x, y) on every entry.
  static void AddStandingGhost(int x, int y) {
    GhostList.emplace_front();
    for (int i = 0; i < PLAY_ENTRIES; i++) {
      GhostList.front().x[i] = x;
      GhostList.front().y[i] = y;
    }
  }
};

TEST_F(Rules, AnAttemptRunsOutIntoAGhostAndAPause) {
  LoadEffect(5);
  for (int f = 0; f < 120; f++) {
    BallSubX = f % 30;
    BallFrame = f % 90;
    RecordAttempt();
  }
  EXPECT_EQ(AttemptFrame, -30);
  ASSERT_EQ(GhostList.size(), 1u);
  const play& ghost = GhostList.front();
  EXPECT_EQ(ghost.x[0], 50 * 64);
  EXPECT_EQ(ghost.x[119], 50 * 64 + 119 % 30);
  EXPECT_EQ(ghost.y[119], 20 * 64);
  EXPECT_EQ(ghost.show[119], 119 % 90);
  EXPECT_EQ(ghost.x[120], 0);
  EXPECT_EQ(CurrentPlay.x[0], 0);
  EXPECT_EQ(SfxSlot, 21);

  // Nothing is recorded during the pause; play resumes at frame 0.
  for (int f = 0; f < 30; f++) RecordAttempt();
  EXPECT_EQ(AttemptFrame, 0);
  EXPECT_EQ(CurrentPlay.x[0], 0);
  RecordAttempt();
  EXPECT_EQ(CurrentPlay.x[0], BallTileX * 64 + BallSubX);
  EXPECT_EQ(GhostList.size(), 1u);
}

TEST_F(Rules, GhostsStandAtTheirStartDuringPausesAndTouchOnEvenFrames) {
  LoadEffect(7);
  AddStandingGhost(0, 0);
  GhostList.front().x[0] = 50 * 64 + 10;  // entry 0 overlaps the ball
  GhostList.front().y[0] = 20 * 64;
  AttemptFrame = -12;
  FrameParity = 1;
  UpdateGhosts();
  EXPECT_EQ(GameOverCode, 0);
  FrameParity = 0;
  AttemptFrame = 5;  // entry 5 is far away
  UpdateGhosts();
  EXPECT_EQ(GameOverCode, 0);
  AttemptFrame = -12;
  UpdateGhosts();
  EXPECT_EQ(GameOverCode, 1);
  EXPECT_EQ(GhostHit, 1);
  EXPECT_EQ(SfxSlot, 21);
  AddStandingGhost(50 * 64, 20 * 64);  // a second touch plays nothing more
  UpdateGhosts();
  EXPECT_EQ(SfxSlot, 21);
}

TEST_F(Rules, GhostsOutsideTheMarginsAreNotTested) {
  CamX = 0;
  CamY = 0;
  LastBallScreenX = LastBallScreenY = -300;  // ball and ghost far off screen
  AddStandingGhost(-300, -300);
  UpdateGhosts();
  EXPECT_EQ(GameOverCode, 0);
  CamX = -400;
  CamY = -400;
  LastBallScreenX = LastBallScreenY = 100;
  UpdateGhosts();
  EXPECT_EQ(GameOverCode, 1);
}

TEST_F(Rules, PickupsAreCaughtWithin140Pixels) {
  LastBallScreenX = LastBallScreenY = 0;  // as on the first frame of a game
  CaveCells[3][3] = CELL_PICKUP;
  CatchPickup(3, 3, 140, 0);
  EXPECT_EQ(CaveCells[3][3], CELL_PICKUP);
  CatchPickup(3, 3, 0, -140);
  EXPECT_TRUE(KupList.empty());
  CatchPickup(3, 3, 139, -139);
  EXPECT_EQ(CaveCells[3][3], CELL_EMPTY);
  ASSERT_EQ(KupList.size(), 1u);
  EXPECT_FLOAT_EQ(KupList.front().x, 192);
  EXPECT_FLOAT_EQ(KupList.front().y, 192);
  EXPECT_GE(KupList.front().r, 1);
  EXPECT_LE(KupList.front().r, 360);
}

TEST_F(Rules, FlyingPickupsHomeInLeaveSparklesAndScore) {
  LoadEffect(1);
  GameScore = 0;
  IcleList.clear();
  kup far;
  far.x = 50 * 64 - 480;
  far.y = 20 * 64;
  KupList.push_front(far);
  UpdateFlyingPickups();
  ASSERT_EQ(KupList.size(), 1u);
  EXPECT_FLOAT_EQ(KupList.front().x, 50 * 64 - 480 + 20);
  EXPECT_EQ(IcleList.size(), 1u);
  EXPECT_EQ(PickupsTaken, 0);

  for (int f = 0; f < 200 && !KupList.empty(); f++) UpdateFlyingPickups();
  EXPECT_TRUE(KupList.empty());
  EXPECT_EQ(PickupsTaken, 1);
  EXPECT_EQ(GameScore, 10);
  ASSERT_FALSE(PopupList.empty());
  EXPECT_EQ(PopupList.back().n, 10);
  EXPECT_EQ(PopupList.back().r, 255);
  EXPECT_EQ(PopupList.back().b, 0);
  EXPECT_EQ(SfxSlot, 21);
}

TEST_F(Rules, SparklesFadeOutAndLeave) {
  IcleList.clear();
  icle p;
  p.alp = 1;
  p.gx = 0.5f;
  IcleList.push_front(p);
  int frames = 0;
  while (!IcleList.empty() && frames < 100) {
    UpdateSparkles();
    frames++;
  }
  EXPECT_GE(frames, 20);
  EXPECT_LE(frames, 21);  // 1 - 20 x 0.05 lands a hair either side of 0 in floats
}

TEST_F(Rules, TheCatchThatReaches75PercentCompletesTheLevelAtOnce) {
  LoadEffect(6);
  PickupsTaken = 74;
  UpdateCompletion();
  EXPECT_EQ(CompletionPercent, 74);
  AddStandingGhost(0, 0);
  kup atBall;
  atBall.x = 50 * 64;
  atBall.y = 20 * 64;
  KupList.push_front(atBall);
  kup stillFlying;
  stillFlying.x = 0;
  stillFlying.y = 0;
  KupList.push_back(stillFlying);
  CurrentPlay.x[3] = 7;

  UpdateFlyingPickups();
  EXPECT_EQ(PickupsTaken, 75);
  UpdateCompletion();
  EXPECT_EQ(CompletionPercent, 75);
  CheckLevelComplete();
  EXPECT_EQ(AttemptFrame, -120);
  EXPECT_TRUE(GhostList.empty());
  EXPECT_TRUE(KupList.empty());  // lost, uncounted
  EXPECT_EQ(CurrentPlay.x[3], 0);
  EXPECT_EQ(SfxSlot, 21);

  // The pause runs its course: nothing more until the new cave at -60.
  CheckLevelComplete();
  EXPECT_EQ(AttemptFrame, -120);
}

TEST_F(Rules, LevelCompletionWaitsOutTheLevelPause) {
  PickupsTaken = 80;
  UpdateCompletion();
  AttemptFrame = -30;
  CheckLevelComplete();
  EXPECT_EQ(AttemptFrame, -30);
  AttemptFrame = -29;
  CheckLevelComplete();
  EXPECT_EQ(AttemptFrame, -120);
}

TEST_F(Rules, NewCavesShortenAttemptsDownTo120) {
  AttemptLength = 240;
  AttemptFrame = -59;
  NewLevelIfDue();
  EXPECT_EQ(AttemptLength, 240);
  for (int expected : {180, 120, 120}) {
    AttemptFrame = -60;
    NewLevelIfDue();
    EXPECT_EQ(AttemptLength, expected);
  }
  EXPECT_GT(PickupTotal, 0);
  EXPECT_EQ(PickupsTaken, 0);
}

TEST_F(Rules, CompletionNeverDividesByZero) {
  PickupTotal = 0;
  PickupsTaken = 0;
  UpdateCompletion();
  EXPECT_EQ(CompletionPercent, 0);
  EXPECT_EQ(CompletionText(5), "05%");
  EXPECT_EQ(CompletionText(75), "75%");
  EXPECT_EQ(CompletionText(100), "00%");
}

TEST_F(Rules, EffectsRotateThroughSlots20To255) {
  LoadEffect(2);
  PlaySfx(2, 1, 1, 0);
  EXPECT_EQ(SfxSlot, 21);
  EXPECT_NE(ChannelTable[21], 0);
  EXPECT_FLOAT_EQ(ChannelVolume[21], 1);
  SfxSlot = 255;
  PlaySfx(2, 1, 0.5f, 0);
  EXPECT_EQ(SfxSlot, 20);
  EXPECT_FLOAT_EQ(ChannelVolume[20], 0.5f);
  // Clamped before it is stored.
  PlaySfx(2, 9, 3, 5);
  EXPECT_FLOAT_EQ(ChannelVolume[21], 1);
  PlaySfx(2, NAN, NAN, NAN);
  EXPECT_FLOAT_EQ(ChannelVolume[22], 0);
  // Unknown or unloaded effects do nothing.
  PlaySfx(3, 1, 1, 0);
  PlaySfx(0, 1, 1, 0);
  PlaySfx(500, 1, 1, 0);
  EXPECT_EQ(SfxSlot, 22);
}

TEST_F(Rules, NoEffectsAtSoundVolumeZero) {
  LoadEffect(2);
  Settings[12] = 0;
  PlaySfx(2, 1, 1, 0);
  EXPECT_EQ(SfxSlot, 20);
  for (int slot = 20; slot < 256; slot++) ASSERT_EQ(ChannelTable[slot], 0);
}

}  // namespace
