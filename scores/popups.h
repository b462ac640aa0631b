// popups.h — floating score numbers that rise and fade where points were won.
#pragma once

#include <list>

struct ore {
  int n = 0;
  float x = 0, y = 0;
  int t = 0;
  int r = 0, g = 0, b = 0;
};

extern std::list<ore> PopupList;

// Adds points to the game's score and a popup at map position (x, y).
void AddScore(int points, int x, int y, int r, int g, int b);
void DrawPopups();
