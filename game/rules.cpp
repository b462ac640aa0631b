// rules.cpp — the rules of play: timed attempts recorded frame by frame and
// replayed as ghosts, pickups flown to the ball and scored, sparkles, level
// completion at three quarters of the pickups, and the game-over code.
#include "game/rules.h"

#include "frame/draw.h"
#include "frame/frame_end.h"
#include "game/ball.h"
#include "game/cave.h"
#include "game/game.h"
#include "media/media.h"
#include "scores/popups.h"

std::list<play> GhostList;
play CurrentPlay;
std::list<kup> KupList;
std::list<icle> IcleList;

int AttemptLength = 600;
int AttemptFrame;
int CompletionPercent;
int GhostHit;
int GameOverCode;
int LastBallScreenX, LastBallScreenY;

namespace {

int BallMapX() { return BallTileX * 64 + BallSubX; }
int BallMapY() { return BallTileY * 64 + BallSubY; }

// A faint copy of a ghost at another entry of its record.
void DrawGhostTrail(const play& ghost, int entry) {
  int sx = static_cast<int>(ghost.x[entry] - CamX);
  int sy = static_cast<int>(ghost.y[entry] - CamY);
  DrawSprite(BallImage, sx, sy, ghost.show[entry], SPRITE_IMAGES);
}

}  // namespace

void AddScore(int points, int x, int y, int r, int g, int b) {
  GameScore += points;
  AddPopup(points, x, y, r, g, b);
}

bool OnScreen(int sx, int sy) { return sx > -128 && sy > -128 && sx < VirtW + 128 && sy < VirtH + 128; }

void ClearAttempts() {
  GhostList.clear();
  KupList.clear();
  CurrentPlay = play{};
}

void CatchPickup(int column, int row, int sx, int sy) {
  if (LastBallScreenX - sx >= 140 || sx - LastBallScreenX >= 140) return;
  if (LastBallScreenY - sy >= 140 || sy - LastBallScreenY >= 140) return;
  CaveCells[row][column] = CELL_EMPTY;
  kup k;
  k.x = static_cast<float>(column * 64);
  k.y = static_cast<float>(row * 64);
  k.r = RandomInt(1, 360);
  KupList.push_front(k);
}

void RecordAttempt() {
  if (AttemptFrame >= 0 && AttemptFrame < AttemptLength && AttemptFrame < PLAY_ENTRIES) {
    CurrentPlay.x[AttemptFrame] = BallMapX();
    CurrentPlay.y[AttemptFrame] = BallMapY();
    CurrentPlay.show[AttemptFrame] = BallFrame;
  }
  AttemptFrame++;
  if (AttemptFrame == AttemptLength) {
    PlaySfx(SFX_ATTEMPT_OVER, 1, 1, 0);
    AttemptFrame = -30;
    GhostList.push_front(CurrentPlay);
    CurrentPlay = play{};
  }
}

void UpdateGhosts() {
  int i = AttemptFrame < 0 ? 0 : AttemptFrame;
  if (i >= PLAY_ENTRIES) return;
  for (const play& ghost : GhostList) {
    int sx = static_cast<int>(ghost.x[i] - CamX);
    int sy = static_cast<int>(ghost.y[i] - CamY);
    if (!OnScreen(sx, sy)) continue;
    SetDrawColour(255, 200, 200, 0.75f);
    DrawSprite(BallImage, sx, sy, ghost.show[i], SPRITE_IMAGES);
    if (GhostHit == 0 && FrameParity == 0 &&
        ImagesCollide(BallImage, LastBallScreenX, LastBallScreenY, BallFrame, BallImage, sx, sy, ghost.show[i])) {
      GhostHit = 1;
      PlaySfx(SFX_GHOST, 1, 1, 0);
      GameOverCode = 1;
    }
    SetDrawColour(255, 200, 200, 0.2f);
    if (i > 2) DrawGhostTrail(ghost, i - 2);
    // The second faint copy runs two entries ahead, a glimpse of where the
    // ghost is going; past the end of its recording there is nothing to show.
    if (i + 2 < AttemptLength && i + 2 < PLAY_ENTRIES) DrawGhostTrail(ghost, i + 2);
  }
}

void UpdateFlyingPickups() {
  for (auto it = KupList.begin(); it != KupList.end();) {
    kup& k = *it;
    SetDrawColour(255, 255, 255, 0.4f);
    SetDrawScale(1);
    int sx = static_cast<int>(static_cast<int>(k.x) - CamX);
    int sy = static_cast<int>(static_cast<int>(k.y) - CamY);
    if (OnScreen(sx, sy)) {
      DrawSprite(PickupImage, sx, sy, 0, SPRITE_GLOW);
      icle p;
      p.x = k.x;
      p.y = k.y;
      p.alp = 1;
      p.gx = RandomBetween(-1, 1);
      p.gy = RandomBetween(-1, 1);
      IcleList.push_front(p);
    }
    k.x -= (k.x - BallMapX()) / 24;
    k.y -= (k.y - BallMapY()) / 24;
    sx = static_cast<int>(static_cast<int>(k.x) - CamX);
    sy = static_cast<int>(static_cast<int>(k.y) - CamY);
    if (OnScreen(sx, sy)) {
      SetDrawColour(255, 255, 255, 1);
      DrawSprite(PickupImage, sx, sy, 0, SPRITE_IMAGES);
      if (ImagesCollide(PickupImage, sx, sy, 0, BallImage, LastBallScreenX, LastBallScreenY, BallFrame)) {
        AddScore(10, static_cast<int>(k.x), static_cast<int>(k.y), 255, 255, 0);
        PlaySfx(SFX_PICKUP, 0.75f + CompletionPercent / 200.0f, 0.5f, 0);
        PickupsTaken++;
        it = KupList.erase(it);
        continue;
      }
    }
    ++it;
  }
}

void UpdateSparkles() {
  for (auto it = IcleList.begin(); it != IcleList.end();) {
    icle& p = *it;
    SetDrawColour(255, 255, 255, p.alp / 3);
    SetDrawScale(p.alp);
    p.alp -= 0.05f;
    bool dead = !(p.alp > 0);
    p.x += p.gx;
    p.y += p.gy;
    int sx = static_cast<int>(p.x - CamX);
    int sy = static_cast<int>(p.y - CamY);
    if (OnScreen(sx, sy)) DrawSprite(PickupImage, sx, sy, 0, SPRITE_IMAGES);
    it = dead ? IcleList.erase(it) : std::next(it);
  }
}

void UpdateCompletion() { CompletionPercent = PickupTotal > 0 ? PickupsTaken * 100 / PickupTotal : 0; }

void CheckLevelComplete() {
  if (CompletionPercent < 75 || AttemptFrame <= -30) return;
  PlaySfx(SFX_LEVEL_DONE, 1, 1, 0);
  GhostList.clear();
  KupList.clear();
  CurrentPlay = play{};
  AttemptFrame = -120;
}

void NewLevelIfDue() {
  if (AttemptFrame != -60) return;
  BuildCave(1);
  AttemptLength -= 60;
  if (AttemptLength < 120) AttemptLength = 120;
}
