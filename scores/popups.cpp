// popups.cpp — score numbers that float up from where they were won and fade
// out over two seconds, drawn by the frame end on every screen.
#include "scores/popups.h"

#include <string>

#include "app/assets.h"
#include "frame/draw.h"
#include "game/game.h"
#include "media/media.h"

std::list<ore> PopupList;

void AddScore(int points, int x, int y, int r, int g, int b) {
  GameScore += points;
  PopupList.push_back(ore{points, float(x), float(y), 120, r, g, b});
}

void DrawPopups() {
  SetFont(FontTable[3]);
  ResetDrawState();
  for (auto it = PopupList.begin(); it != PopupList.end();) {
    ore& p = *it;
    p.t--;
    p.y -= 0.25f;
    SetDrawColour(float(p.r), float(p.g), float(p.b), p.t / 120.0f);
    DrawTextAligned(int(p.x - CamX), int(p.y - CamY), std::to_string(p.n), 1, 1);
    it = (p.t <= 0) ? PopupList.erase(it) : std::next(it);
  }
}
