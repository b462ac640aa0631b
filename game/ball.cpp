// ball.cpp — the ball's physics. The vertical motion follows the cosine of a
// bounce phase rather than integrated gravity; the horizontal motion is an
// integer velocity with one pixel per frame of push and of friction.
#include "game/ball.h"

#include <cstdlib>

#include "controls/controls.h"
#include "game/cave.h"
#include "game/game.h"
#include "media/media.h"

int BallTileX, BallTileY;
int BallSubX, BallSubY;
int VelX;
float VelY;
float BounceAngle;
float BounceStep = 2;
float BounceSpeed = 8;
int BallFrame;

namespace {

const int LeftControl = 3, RightControl = 5, HighBounceControl = 10;

// Puts the ball flush against the wall it hit and sends it back: direction
// -1 off rock on the right, +1 off rock on the left.
void BounceOffWall(int direction) {
  BallSubX = 0;
  VelX = direction * std::abs(VelX);
  PlaySfx(4, 1, 1, 0);
}

void TestWalls(int d) {
  if (BallSubX > -2 && BallSubX < 8 && VelX > 1 && IsSolid(BallTileX + 1, BallTileY + d)) BounceOffWall(-1);
  // Not an else: in a one-cell corridor the ball bounces straight back off the other side.
  if (BallSubX > -8 && BallSubX < 2 && VelX < -1 && IsSolid(BallTileX - 1, BallTileY + d)) BounceOffWall(1);
}

}  // namespace

void ResetBallMotion() {
  BounceAngle = 0;
  BounceSpeed = 8;
  BounceStep = 2;
  VelY = 0;
  VelX = 0;
  BallFrame = 0;
}

void BallStep() {
  BallFrame += 3 + VelX;
  if (BallFrame < 0) BallFrame += 90;
  if (BallFrame > 89) BallFrame -= 90;

  BallSubY = static_cast<int>(BallSubY + VelY);
  if (BallSubY <= -64) {
    BallSubY += 64;
    BallTileY--;
  }
  if (BallSubY >= 64) {
    BallSubY -= 64;
    BallTileY++;
  }

  BounceAngle += BounceStep;
  if (BounceAngle >= 180) BounceAngle -= 180;
  if (BounceAngle > 170) {
    BounceAngle = 170;
    BounceSpeed += 0.2f;
    if (BounceSpeed > 16) BounceSpeed = 16;
  }

  // Landing and head bump read last frame's VelY, so at most one fires.
  if (-(BounceSpeed - 0.5f) < BallSubY && BallSubY <= BounceSpeed - 0.5f && IsSolid(BallTileX, BallTileY + 1) &&
      VelY > 1) {
    DebugLog("Plimbo");
    BounceAngle = 0;
    BallSubY = 0;
    BounceStep = 2.2f;
    BounceSpeed = 8.5f;
    int effect = 2;
    if (ControlDown(HighBounceControl, 1)) {
      BounceSpeed = 16;
      effect = 3;
    }
    PlaySfx(effect, 1, 1, 0);
  }
  if (-BounceSpeed < BallSubY && BallSubY <= BounceSpeed - 0.5f && IsSolid(BallTileX, BallTileY - 1) && VelY < -1) {
    DebugLog("Thwump");
    BounceAngle = 90;
    BallSubY = 0;
    BounceStep = 2.2f;
    BounceSpeed = 13;
  }

  TestWalls(0);
  if (BallSubY < -16) TestWalls(-1);
  if (BallSubY > 16) TestWalls(1);

  VelY = CosDeg(BounceAngle + 180) * BounceSpeed;

  bool left = ControlDown(LeftControl, 1);
  bool right = ControlDown(RightControl, 1);
  if (left) VelX -= 1;
  if (right) VelX += 1;
  if (VelX < 0 && !left) VelX += 1;
  if (VelX > 0 && !right) VelX -= 1;
  if (VelX < -8) VelX = -8;
  if (VelX > 8) VelX = 8;

  // The wall tests above only look inside their window, which a ball can be
  // past: one drifting at speed 1, or one a double reversal left at 0 that
  // then moves at 8. The step into the next cell is the last chance: into
  // rock it becomes a bounce, or the ball would pass through the border and
  // out of the cave for good.
  BallSubX += VelX;
  if (BallSubX < -32) {
    if (IsSolid(BallTileX - 1, BallTileY)) {
      BounceOffWall(1);
    } else {
      BallSubX += 64;
      BallTileX--;
    }
  }
  if (BallSubX > 32) {
    if (IsSolid(BallTileX + 1, BallTileY)) {
      BounceOffWall(-1);
    } else {
      BallSubX -= 64;
      BallTileX++;
    }
  }
}
