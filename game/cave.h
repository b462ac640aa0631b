// cave.h — the cave of one level: a grid of rock, open space and pickups,
// its generator, the solidity test the ball uses, its tint and its drawing.
#pragma once

constexpr int CAVE_WIDTH = 160;  // built columns 0..CAVE_WIDTH
constexpr int CAVE_HEIGHT = 48;  // built rows 0..CAVE_HEIGHT
constexpr int CAVE_GRID = 260;   // size of both grids in each direction
constexpr int CELL_EMPTY = 0;
constexpr int CELL_ROCK = 1;  // while building; afterwards rock holds its tile frame + 1
constexpr int CELL_PICKUP = 25;

// [row][column]
extern int CaveCells[CAVE_GRID][CAVE_GRID];
extern int CaveFrames[CAVE_GRID][CAVE_GRID];

extern int TintR, TintG, TintB;
extern int PickupTotal, PickupsTaken;

// Seeds the random generator from the clock and generates a new cave.
void BuildCave(int level);
// Generates from the random generator as it stands (tests seed it themselves):
// clears the game's lists, picks the tint, builds the cave until it has a
// start cell and at least one pickup, places the ball and snaps the camera.
void GenerateCave();

// Turns every building rock cell (value 1) into its tile frame + 1, chosen by
// the rock above, left, right and below it.
void SetTileFrames();

int IsSolid(int x, int y);
int AreaClearForStart(int x, int y, int radius);
int AreaClearForPickup(int x, int y, int radius);

// Draws the visible cells and hands visible pickups to the catch rule.
void DrawCave();
