// ball_test.cpp — one physics step at a time in hand-made cells: rising,
// landing with and without the high bounce, head bumps, walls, friction and
// the clamps. Effects are observed through the effect slot counter.
#include <cmath>

#include "tests/game/game_fixture.h"

namespace {

class Ball : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    EmptyCave();
    PlaceBall(50, 20);
  }
};

TEST_F(Ball, FirstStepRisesFromRest) {
  CaveCells[21][50] = 5;  // standing on rock, but VelY is still 0
  BallStep();
  EXPECT_EQ(BallSubY, 0);
  EXPECT_FLOAT_EQ(BounceAngle, 2);
  EXPECT_NEAR(VelY, std::cos(182 * M_PI / 180) * 8, 1e-4);
  EXPECT_EQ(BallFrame, 3);
  BallStep();
  EXPECT_EQ(BallSubY, -7);  // truncated toward zero
}

TEST_F(Ball, LandingPlaysEffectTwoOrThreeWithTheHighBounce) {
  LoadEffect(3);  // only the high-bounce effect can be heard
  CaveCells[21][50] = 5;
  VelY = 3;
  BounceAngle = 150;
  BallStep();
  EXPECT_FLOAT_EQ(BounceAngle, 0);
  EXPECT_FLOAT_EQ(BounceStep, 2.2f);
  EXPECT_FLOAT_EQ(BounceSpeed, 8.5f);
  EXPECT_EQ(BallSubY, 0);
  EXPECT_NEAR(VelY, -8.5f, 1e-4);
  EXPECT_EQ(SfxSlot, 20);  // effect 2 is not loaded

  PlaceBall(50, 20);
  VelY = 3;
  Hold('Z', true);
  BallStep();
  EXPECT_FLOAT_EQ(BounceSpeed, 16);
  EXPECT_EQ(SfxSlot, 21);

  // Holding the button in mid-air changes nothing.
  PlaceBall(50, 10);
  VelY = 3;
  BallStep();
  EXPECT_FLOAT_EQ(BounceSpeed, 8);
  EXPECT_EQ(SfxSlot, 21);
}

TEST_F(Ball, LandingNeedsNearZeroOffsetAndDownwardSpeed) {
  CaveCells[21][50] = 5;
  VelY = 1;  // not above 1
  BallStep();
  EXPECT_FLOAT_EQ(BounceAngle, 2);
  PlaceBall(50, 20);
  BallSubY = 20;  // outside the window of BounceSpeed - 0.5
  VelY = 3;
  BallStep();
  EXPECT_FLOAT_EQ(BounceAngle, 2);
}

TEST_F(Ball, HeadBumpStartsTheFall) {
  LoadEffect(2);
  CaveCells[19][50] = 5;
  VelY = -5;
  BounceAngle = 40;
  BallStep();
  EXPECT_FLOAT_EQ(BounceAngle, 90);
  EXPECT_FLOAT_EQ(BounceSpeed, 13);
  EXPECT_FLOAT_EQ(BounceStep, 2.2f);
  EXPECT_EQ(BallSubY, 0);
  EXPECT_NEAR(VelY, 0, 1e-4);
  EXPECT_EQ(SfxSlot, 20);  // no sound
  BallStep();
  EXPECT_GT(VelY, 0);
}

TEST_F(Ball, WallsReverseTheBallBothWays) {
  LoadEffect(4);
  CaveCells[20][51] = 5;
  VelX = 4;
  BallSubX = 3;
  BallStep();
  EXPECT_EQ(VelX, -3);  // reversed, then one step of friction
  EXPECT_EQ(BallSubX, -3);
  EXPECT_EQ(SfxSlot, 21);

  EmptyCave();
  CaveCells[20][49] = 5;
  PlaceBall(50, 20);
  VelX = -6;
  BallSubX = -5;
  BallStep();
  EXPECT_EQ(VelX, 5);
  EXPECT_EQ(BallSubX, 5);
  EXPECT_EQ(SfxSlot, 22);

  // Speed 1 is no wall hit: the ball drifts on towards the rock.
  PlaceBall(50, 20);
  VelX = -1;
  Hold(VK_LEFT, true);
  BallStep();
  EXPECT_EQ(VelX, -2);
  EXPECT_EQ(SfxSlot, 22);
}

// Past the wall test's window (or drifting at 1) the ball is caught at the
// step into the rock instead, and bounces off it as from a wall.
TEST_F(Ball, CrossingIntoRockBouncesBothWays) {
  LoadEffect(4);
  for (int side : {1, -1}) {
    EmptyCave();
    CaveCells[20][50 + side] = 5;
    PlaceBall(50, 20);
    BallSubX = 30 * side;
    VelX = 8 * side;
    BallStep();
    EXPECT_EQ(BallTileX, 50);
    EXPECT_EQ(BallSubX, 0);
    EXPECT_EQ(VelX, -7 * side);  // one step of friction, then the bounce
  }
  EXPECT_EQ(SfxSlot, 22);
}

TEST_F(Ball, OneCellCorridorBouncesTwice) {
  LoadEffect(4);
  CaveCells[20][49] = 5;
  CaveCells[20][51] = 5;
  VelX = 4;
  BallStep();
  EXPECT_EQ(SfxSlot, 22);
  EXPECT_EQ(VelX, 3);
}

TEST_F(Ball, RowsAboveAndBelowAreTestedFarFromTheCentre) {
  LoadEffect(4);
  CaveCells[19][51] = 5;  // rock only beside the row above
  VelX = 4;
  BallSubY = -10;
  BallStep();
  EXPECT_GT(VelX, 0);
  PlaceBall(50, 20);
  VelX = 4;
  BallSubY = -20;
  BallStep();
  EXPECT_LT(VelX, 0);
  EXPECT_EQ(SfxSlot, 21);
}

TEST_F(Ball, SteeringFrictionAndClamp) {
  Hold(VK_RIGHT, true);
  for (int i = 0; i < 20; i++) BallStep();
  EXPECT_EQ(VelX, 8);
  Hold(VK_LEFT, true);  // both held: no push, no friction
  BallStep();
  EXPECT_EQ(VelX, 8);
  Hold(VK_LEFT, false);
  Hold(VK_RIGHT, false);
  BallStep();
  EXPECT_EQ(VelX, 7);
  for (int i = 0; i < 10; i++) BallStep();
  EXPECT_EQ(VelX, 0);
  // Pushing left against rightward motion brakes by two per frame.
  VelX = 5;
  Hold(VK_LEFT, true);
  BallStep();
  EXPECT_EQ(VelX, 3);
}

TEST_F(Ball, OffsetsWrapIntoNeighbouringCells) {
  Hold(VK_RIGHT, true);
  for (int i = 0; i < 200; i++) {
    BallStep();
    ASSERT_GE(BallSubX, -32);
    ASSERT_LE(BallSubX, 32);
    ASSERT_GT(BallSubY, -64);
    ASSERT_LT(BallSubY, 64);
    ASSERT_GE(BallFrame, 0);
    ASSERT_LE(BallFrame, 89);
  }
  EXPECT_GT(BallTileX, 50);
  PlaceBall(50, 20);
  BallSubY = 60;
  VelY = 10;
  BallStep();
  EXPECT_EQ(BallTileY, 21);
  EXPECT_EQ(BallSubY, 6);
}

}  // namespace
