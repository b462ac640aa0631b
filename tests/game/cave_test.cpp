// cave_test.cpp — generated caves over many seeds keep their invariants:
// rock border, a start cell standing on rock under open space, pickups apart
// and above ground, and tile frames that match the rock around each cell.
#include <gtest/gtest.h>

#include <cstring>

#include "frame/common_media.h"
#include "game/ball.h"
#include "game/cave.h"
#include "game/game.h"
#include "game/rules.h"
#include "media/media.h"

namespace {

// Tile frame for the neighbours code: 2 above, 4 left, 8 right, 16 below.
int ExpectedFrame(int code) {
  switch (code) {
    case 0: return 16;
    case 2: return 12;
    case 4: return 15;
    case 6: return 11;
    case 8: return 13;
    case 10: return 9;
    case 12: return 14;
    case 14: return 10;
    case 16: return 4;
    case 18: return 8;
    case 20: return 3;
    case 22: return 7;
    case 24: return 1;
    case 26: return 5;
    case 28: return 2;
    case 30: return 6;
  }
  return -1;
}

bool Rock(int x, int y) { return CaveCells[y][x] >= 1 && CaveCells[y][x] <= 16; }

TEST(Cave, InvariantsHoldOverManySeeds) {
  SetVirtualResolution(1280, 960);
  bool sawIsolated = false, sawFourSided = false;
  for (int seed = 1; seed <= 300; seed++) {
    SCOPED_TRACE(seed);
    SeedRandom(seed * 7919);
    GenerateCave();

    for (int x = 0; x <= CAVE_WIDTH; x++) {
      ASSERT_TRUE(Rock(x, 0));
      ASSERT_TRUE(Rock(x, CAVE_HEIGHT));
    }
    for (int y = 0; y <= CAVE_HEIGHT; y++) {
      ASSERT_TRUE(Rock(0, y));
      ASSERT_TRUE(Rock(CAVE_WIDTH, y));
    }

    // Start: in the centre window, on rock, with open space above it.
    ASSERT_GT(BallTileX, 40);
    ASSERT_LT(BallTileX, 100);
    ASSERT_LT(BallTileY, 44);
    ASSERT_TRUE(Rock(BallTileX, BallTileY + 1));
    for (int x = BallTileX - 4; x <= BallTileX + 4; x++)
      for (int y = BallTileY - 4; y <= BallTileY; y++) ASSERT_FALSE(IsSolid(x, y)) << x << "," << y;

    int pickups = 0;
    for (int x = 0; x <= CAVE_WIDTH; x++) {
      for (int y = 0; y <= CAVE_HEIGHT; y++) {
        int v = CaveCells[y][x];
        ASSERT_TRUE(v == CELL_EMPTY || v == CELL_PICKUP || (v >= 1 && v <= 16)) << v;
        if (v == CELL_PICKUP) {
          pickups++;
          ASSERT_GE(x, 3);
          ASSERT_LE(x, CAVE_WIDTH - 3);
          ASSERT_GE(y, 3);
          ASSERT_LE(y, CAVE_HEIGHT - 3);
          for (int dx = -1; dx <= 1; dx++)
            for (int dy = -1; dy <= 1; dy++) {
              if (dx == 0 && dy == 0) continue;
              ASSERT_NE(CaveCells[y + dy][x + dx], CELL_PICKUP);
            }
          for (int dx = -2; dx <= 2; dx++)
            for (int dy = -2; dy <= 2; dy++) ASSERT_FALSE(Rock(x + dx, y + dy));
          bool ground = false;  // the bottom border does not count as ground
          for (int k = 1; k <= 5; k++) ground = ground || (y + k < CAVE_HEIGHT && Rock(x, y + k));
          ASSERT_TRUE(ground);
        }
        if (Rock(x, y)) {
          int code = (y > 0 && Rock(x, y - 1) ? 2 : 0) + (x > 0 && Rock(x - 1, y) ? 4 : 0) +
                     (x < CAVE_WIDTH && Rock(x + 1, y) ? 8 : 0) + (y < CAVE_HEIGHT && Rock(x, y + 1) ? 16 : 0);
          ASSERT_EQ(v, ExpectedFrame(code)) << x << "," << y;
          sawIsolated = sawIsolated || code == 0;
          sawFourSided = sawFourSided || code == 30;
        }
      }
    }
    ASSERT_EQ(pickups, PickupTotal);
    ASSERT_GT(PickupTotal, 0);
    ASSERT_EQ(PickupsTaken, 0);
    ASSERT_TRUE(TintR + TintG + TintB >= 400);
    ASSERT_EQ(TintR % 50, 0);
  }
  // Ledges are at least seven cells long and clipped ones touch the border,
  // so a generated cave never holds an isolated rock.
  EXPECT_FALSE(sawIsolated);
  EXPECT_TRUE(sawFourSided);
}

TEST(Cave, TileFramesOfHandMadeRock) {
  for (int y = 0; y <= CAVE_HEIGHT; y++)
    for (int x = 0; x <= CAVE_WIDTH; x++) CaveCells[y][x] = CELL_EMPTY;
  CaveCells[10][10] = CELL_ROCK;   // isolated
  for (int d = -1; d <= 1; d++) {  // a plus sign around (20, 20)
    CaveCells[20][20 + d] = CELL_ROCK;
    CaveCells[20 + d][20] = CELL_ROCK;
  }
  CaveCells[30][30] = CELL_PICKUP;
  CaveCells[0][0] = CELL_ROCK;  // the grid's edge counts as open
  CaveCells[0][1] = CELL_ROCK;
  SetTileFrames();
  EXPECT_EQ(CaveCells[10][10], 16);
  EXPECT_EQ(CaveCells[20][20], 6);
  EXPECT_EQ(CaveCells[19][20], 4);   // rock below only
  EXPECT_EQ(CaveCells[21][20], 12);  // rock above only
  EXPECT_EQ(CaveCells[20][19], 13);  // rock right only
  EXPECT_EQ(CaveCells[20][21], 15);  // rock left only
  EXPECT_EQ(CaveCells[30][30], CELL_PICKUP);
  EXPECT_EQ(CaveCells[0][0], 13);
  EXPECT_EQ(CaveCells[0][1], 15);
}

TEST(Cave, SameClockGivesSameCaveAndSnapsCamera) {
  StartMedia({true, true});
  SetVirtualResolution(1280, 960);
  BallSubX = 10;
  BallSubY = -5;
  BuildCave(1);
  static int first[CAVE_GRID][CAVE_GRID];
  memcpy(first, CaveCells, sizeof first);
  int bx = BallTileX, by = BallTileY;
  BuildCave(1);
  EXPECT_EQ(memcmp(first, CaveCells, sizeof first), 0);
  EXPECT_EQ(BallTileX, bx);
  EXPECT_EQ(BallTileY, by);
  EXPECT_EQ(BallSubX, 10);  // offsets are kept
  EXPECT_FLOAT_EQ(CamX, BallTileX * 64 + 10 - 640);
  EXPECT_FLOAT_EQ(CamY, BallTileY * 64 - 5 - 480);
  EXPECT_FLOAT_EQ(CamTargetX, CamX);
  AdvanceVirtualClock(1);
  BuildCave(1);
  EXPECT_NE(memcmp(first, CaveCells, sizeof first), 0);
  StopMedia();
}

TEST(Cave, BuildingClearsGhostsAndFlyingPickupsButNotSparkles) {
  SetVirtualResolution(1280, 960);
  GhostList.emplace_front();
  KupList.emplace_front();
  IcleList.emplace_front();
  CurrentPlay.x[5] = 99;
  SeedRandom(5);
  GenerateCave();
  EXPECT_TRUE(GhostList.empty());
  EXPECT_TRUE(KupList.empty());
  EXPECT_EQ(IcleList.size(), 1u);
  EXPECT_EQ(CurrentPlay.x[5], 0);
}

TEST(Cave, SolidityOfValuesAndOutsideTheGrid) {
  CaveCells[5][5] = 1;
  CaveCells[5][6] = 16;
  CaveCells[5][7] = 19;
  CaveCells[5][8] = 20;
  CaveCells[5][9] = CELL_PICKUP;
  CaveCells[5][10] = CELL_EMPTY;
  EXPECT_EQ(IsSolid(5, 5), 1);
  EXPECT_EQ(IsSolid(6, 5), 1);
  EXPECT_EQ(IsSolid(7, 5), 1);
  EXPECT_EQ(IsSolid(8, 5), 0);
  EXPECT_EQ(IsSolid(9, 5), 0);
  EXPECT_EQ(IsSolid(10, 5), 0);
  EXPECT_EQ(IsSolid(-1, 5), 1);
  EXPECT_EQ(IsSolid(5, -1), 1);
  EXPECT_EQ(IsSolid(CAVE_GRID, 5), 1);
  EXPECT_EQ(IsSolid(5, CAVE_GRID), 1);
}

TEST(Cave, ClearAreaTests) {
  // Start test: the rows below do not matter, the row itself and above do.
  EXPECT_EQ(AreaClearForStart(50, 20, 4), 1);
  CaveCells[21][50] = 1;
  EXPECT_EQ(AreaClearForStart(50, 20, 4), 1);
  CaveCells[16][54] = 1;
  EXPECT_EQ(AreaClearForStart(50, 20, 4), 0);
  CaveCells[16][54] = 0;
  EXPECT_EQ(AreaClearForStart(50, 4, 4), 0);    // reaches row 0
  EXPECT_EQ(AreaClearForStart(156, 20, 4), 0);  // reaches column 160

  // Pickup test: rock in the 5 x 5 square, pickups in the 3 x 3 one.
  EXPECT_EQ(AreaClearForPickup(50, 20, 2), 0);  // the rock at (50, 21)
  CaveCells[21][50] = 0;
  EXPECT_EQ(AreaClearForPickup(50, 20, 2), 1);
  CaveCells[22][52] = CELL_PICKUP;
  EXPECT_EQ(AreaClearForPickup(50, 20, 2), 1);
  CaveCells[21][51] = CELL_PICKUP;
  EXPECT_EQ(AreaClearForPickup(50, 20, 2), 0);
  EXPECT_EQ(AreaClearForPickup(2, 20, 2), 0);
}

}  // namespace
