// popups.h — floating score numbers that rise and fade where points were won.
#pragma once

#include <list>

struct ore {
  int n = 0;
  float x = 0, y = 0;  // map position
  int t = 0;
  int r = 0, g = 0, b = 0;
};

extern std::list<ore> PopupList;

// A popup of the points at map position (x, y); the game's AddScore adds
// the points themselves.
void AddPopup(int points, int x, int y, int r, int g, int b);
// Moves, fades and draws them with the map point (camX, camY) at the
// screen's top-left corner; the frame end runs it on every screen.
void DrawPopups(float camX, float camY);
