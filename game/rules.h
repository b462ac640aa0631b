// rules.h — attempts and their recordings, ghosts, pickups in flight,
// sparkles, completion and the game-over code.
#pragma once

#include <list>

constexpr int PLAY_ENTRIES = 2000;

// One recorded attempt: ball map position and animation frame per frame.
struct play {
  int x[PLAY_ENTRIES] = {};
  int y[PLAY_ENTRIES] = {};
  int show[PLAY_ENTRIES] = {};
};

// A pickup flying to the ball.
struct kup {
  float x = 0, y = 0;
  int r = 0;
};

// A sparkle left behind by a flying pickup.
struct icle {
  float x = 0, y = 0;
  float alp = 0;
  float gx = 0, gy = 0;
};

extern std::list<play> GhostList;  // newest first
extern play CurrentPlay;
extern std::list<kup> KupList;    // newest first
extern std::list<icle> IcleList;  // newest first

extern int AttemptLength;
extern int AttemptFrame;  // negative during pauses
extern int CompletionPercent;
extern int GhostHit;
extern int GameOverCode;  // 0 playing, 1 ghost touched, 99 quit
extern int LastBallScreenX, LastBallScreenY;

bool OnScreen(int sx, int sy);  // inside the 128-pixel drawing margins

void ClearAttempts();  // no ghosts, no pickups in flight, a fresh recording
void CatchPickup(int column, int row, int sx, int sy);
void RecordAttempt();
void UpdateGhosts();
void UpdateFlyingPickups();
void UpdateSparkles();
void UpdateCompletion();
void CheckLevelComplete();
void NewLevelIfDue();
