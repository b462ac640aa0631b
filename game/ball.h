// ball.h — the bouncing ball: its state and one physics step.
#pragma once

extern int BallTileX, BallTileY;  // cell of the ball
extern int BallSubX;              // offset from the cell, -32..32
extern int BallSubY;              // offset from the cell, -63..63
extern int VelX;                  // px per frame, -8..8
extern float VelY;
extern float BounceAngle, BounceStep, BounceSpeed;
extern int BallFrame;  // 0..89

void ResetBallMotion();  // a new game; cell and offsets are kept
void BallStep();         // one frame of physics, steered by player 1
