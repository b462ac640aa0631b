// cave.cpp — generating, testing and drawing the cave grid.
// The generator makes pairs of parallel ledges every third row, rings the
// area with rock, and rests pickups a little above the rock.
#include "game/cave.h"

#include "frame/draw.h"
#include "game/ball.h"
#include "game/game.h"
#include "game/rules.h"
#include "media/media.h"

int CaveCells[CAVE_GRID][CAVE_GRID];
int CaveFrames[CAVE_GRID][CAVE_GRID];
int TintR, TintG, TintB;
int PickupTotal, PickupsTaken;

namespace {

// Tile frame for the rock neighbours code (2 above, 4 left, 8 right, 16 below).
const int FrameForCode[32] = {
    16, 0, 12, 0, 15, 0, 11, 0, 13, 0, 9, 0, 14, 0, 10, 0, 4, 0, 8, 0, 3, 0, 7, 0, 1, 0, 5, 0, 2, 0, 6, 0,
};

bool InsideBorder(int x, int y) { return x > 0 && x < CAVE_WIDTH && y > 0 && y < CAVE_HEIGHT; }

void SetLedgeCell(int x, int y) {
  if (x >= 1 && x <= CAVE_WIDTH - 1 && y >= 1 && y <= CAVE_HEIGHT - 1) CaveCells[y][x] = CELL_ROCK;
}

bool GroundBelow(int x, int y) {
  for (int k = 1; k <= 5; k++) {
    if (y + k < CAVE_GRID && CaveCells[y + k][x] == CELL_ROCK) return true;
  }
  return false;
}

// One round of generation; reports whether a start cell was found.
bool GenerateRound() {
  PickupTotal = 0;
  PickupsTaken = 0;
  for (int y = 0; y <= CAVE_HEIGHT; y++) {
    for (int x = 0; x <= CAVE_WIDTH; x++) {
      CaveCells[y][x] = CELL_EMPTY;
      CaveFrames[y][x] = CELL_EMPTY;
    }
  }

  for (int y = 0; y <= CAVE_HEIGHT; y += 3) {
    for (int n = 0; n < 5; n++) {
      int x0 = RandomInt(0, CAVE_WIDTH);
      int length = RandomInt(6, 12);
      int dy = RandomInt(4, 6);
      int dx = RandomInt(-12, 12);
      for (int k = 0; k <= length; k++) {
        SetLedgeCell(x0 + k, y);
        SetLedgeCell(x0 + k + dx, y + dy);
      }
    }
  }

  // Column-major on purpose: a cell is tested while the cells after it in
  // this order (including the bottom border) are not final yet.
  bool startFound = false;
  for (int x = 0; x <= CAVE_WIDTH; x++) {
    for (int y = 0; y <= CAVE_HEIGHT; y++) {
      if (x == 0 || y == 0 || x == CAVE_WIDTH || y == CAVE_HEIGHT) CaveCells[y][x] = CELL_ROCK;
      if (x > CAVE_WIDTH / 2 - 40 && y > CAVE_HEIGHT / 2 - 40 && x < CAVE_WIDTH / 2 + 20 && y < CAVE_HEIGHT / 2 + 20 &&
          AreaClearForStart(x, y, 4) && CaveCells[y + 1][x] == CELL_ROCK) {
        BallTileX = x;
        BallTileY = y;
        startFound = true;
      }
      int r = RandomInt(0, 3);
      if (r == 1 && AreaClearForPickup(x, y, 2) && CaveCells[y][x] == CELL_EMPTY && GroundBelow(x, y)) {
        CaveCells[y][x] = CELL_PICKUP;
        PickupTotal++;
      }
    }
  }

  SetTileFrames();
  return startFound;
}

}  // namespace

void SetTileFrames() {
  for (int y = 0; y <= CAVE_HEIGHT; y++) {
    for (int x = 0; x <= CAVE_WIDTH; x++) {
      CaveFrames[y][x] = 16;
      if (CaveCells[y][x] != CELL_ROCK) continue;
      int code = 0;
      if (y > 0 && CaveCells[y - 1][x] == CELL_ROCK) code += 2;
      if (x > 0 && CaveCells[y][x - 1] == CELL_ROCK) code += 4;
      if (x < CAVE_WIDTH && CaveCells[y][x + 1] == CELL_ROCK) code += 8;
      if (y < CAVE_HEIGHT && CaveCells[y + 1][x] == CELL_ROCK) code += 16;
      CaveFrames[y][x] = FrameForCode[code];
    }
  }
  for (int y = 0; y <= CAVE_HEIGHT; y++) {
    for (int x = 0; x <= CAVE_WIDTH; x++) {
      if (CaveCells[y][x] == CELL_ROCK) CaveCells[y][x] = CaveFrames[y][x];
    }
  }
}

void BuildCave(int /*level*/) {
  SeedRandom(SeedFromClock());
  GenerateCave();
}

void GenerateCave() {
  ClearAttempts();

  do {
    TintR = 50 * RandomInt(1, 5);
    TintG = 50 * RandomInt(1, 5);
    TintB = 50 * RandomInt(1, 5);
  } while (TintR + TintG + TintB < 400);

  // A cave without a start cell would leave the ball inside rock, and one
  // without pickups could never be completed (and its percentage would divide
  // by zero), so such caves are generated again from the same sequence. The
  // cap only guards against a broken generator.
  for (int round = 0; round < 1000; round++) {
    if (GenerateRound() && PickupTotal > 0) break;
  }

  CamTargetX = static_cast<float>(BallTileX * 64 + BallSubX - VirtW / 2);
  CamTargetY = static_cast<float>(BallTileY * 64 + BallSubY - VirtH / 2);
  CamX = CamTargetX;
  CamY = CamTargetY;
}

int IsSolid(int x, int y) {
  // Outside the grid counts as rock, so nothing can leave the cave.
  if (x < 0 || y < 0 || x >= CAVE_GRID || y >= CAVE_GRID) return 1;
  int v = CaveCells[y][x];
  return v >= 1 && v <= 19 ? 1 : 0;
}

int AreaClearForStart(int x, int y, int radius) {
  for (int cx = x - radius; cx <= x + radius; cx++) {
    for (int cy = y - radius; cy <= y; cy++) {
      if (!InsideBorder(cx, cy) || CaveCells[cy][cx] == CELL_ROCK) return 0;
    }
  }
  return 1;
}

int AreaClearForPickup(int x, int y, int radius) {
  for (int cx = x - radius; cx <= x + radius; cx++) {
    for (int cy = y - radius; cy <= y + radius; cy++) {
      if (!InsideBorder(cx, cy) || CaveCells[cy][cx] == CELL_ROCK) return 0;
    }
  }
  int half = radius / 2;
  for (int cx = x - half; cx <= x + half; cx++) {
    for (int cy = y - half; cy <= y + half; cy++) {
      if (!InsideBorder(cx, cy) || CaveCells[cy][cx] == CELL_PICKUP) return 0;
    }
  }
  return 1;
}

void DrawCave() {
  // Only the cells that can pass the margin test are visited.
  int x0 = static_cast<int>((CamX - 192) / 64), x1 = static_cast<int>((CamX + VirtW + 192) / 64);
  int y0 = static_cast<int>((CamY - 192) / 64), y1 = static_cast<int>((CamY + VirtH + 192) / 64);
  if (x0 < 0) x0 = 0;
  if (y0 < 0) y0 = 0;
  if (x1 > CAVE_WIDTH) x1 = CAVE_WIDTH;
  if (y1 > CAVE_HEIGHT) y1 = CAVE_HEIGHT;
  for (int x = x0; x <= x1; x++) {
    for (int y = y0; y <= y1; y++) {
      int v = CaveCells[y][x];
      if (v == CELL_EMPTY) continue;
      int sx = static_cast<int>(x * 64 - CamX);
      int sy = static_cast<int>(y * 64 - CamY);
      if (!OnScreen(sx, sy)) continue;
      if (v >= 1 && v <= 19) {
        SetDrawColour(TintG, TintB, TintR, 1);
        DrawSprite(TileImage, sx, sy, v - 1, SPRITE_IMAGES);
      } else if (v == CELL_PICKUP) {
        SetDrawColour(255, 255, 255, 1);
        DrawSprite(PickupImage, sx, sy, 0, SPRITE_IMAGES);
        CatchPickup(x, y, sx, sy);
      }
    }
  }
}
