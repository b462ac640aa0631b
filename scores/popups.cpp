// popups.cpp — score numbers that float up from where they were won and fade
// out over two seconds, drawn by the frame end on every screen.
#include "scores/popups.h"

#include <string>

#include "frame/common_media.h"
#include "frame/draw.h"
#include "media/media.h"

std::list<ore> PopupList;

void AddPopup(int points, int x, int y, int r, int g, int b) {
  PopupList.push_back(ore{points, float(x), float(y), 120, r, g, b});
}

void DrawPopups(float camX, float camY) {
  SetFont(FontTable[FONT_SMALL]);
  ResetDrawState();
  for (auto it = PopupList.begin(); it != PopupList.end();) {
    ore& p = *it;
    p.t--;
    p.y -= 0.25f;
    SetDrawColour(float(p.r), float(p.g), float(p.b), p.t / 120.0f);
    DrawTextAligned(int(p.x - camX), int(p.y - camY), std::to_string(p.n), 1, 1);
    it = (p.t <= 0) ? PopupList.erase(it) : std::next(it);
  }
}
