// panel.cpp — the score panel: builds the best-25 table of the current game
// variant, draws the history graph and the table, lets the mouse pick a game
// for the detail box, and drops records that have fallen out of both the 50
// newest and the best 25 of their variant.
#include "scores/panel.h"

#include <vector>

#include "frame/common_media.h"
#include "frame/draw.h"
#include "frame/identity.h"
#include "media/media.h"
#include "scores/datetime.h"

int BadgeCount = 16;
Scores* TopTable[26];
Scores* ShownRecord;
int ShownIndex;
int GraphScroll;
int64_t WatchRequest;
const std::string MakerAddress = "www.morvane.example";

struct Variant {
  int gameMode, level, gameFlags;
};

static bool InVariant(const Scores& s, const Variant& v) {
  return s.GameMode == v.gameMode && s.Level == v.level && s.GameFlags == v.gameFlags;
}

static bool InTopTable(const Scores* s) {
  for (int n = 1; n <= 25; n++) {
    if (TopTable[n] == s) return true;
  }
  return false;
}

// Newest first, so among equal scores the newer record keeps the higher
// slot. Returns the variant's highest score, at least 1 (the graph divides by it).
static int64_t BuildTopTable(const Variant& v) {
  for (Scores*& slot : TopTable) slot = nullptr;
  int64_t highest = 0;
  for (Scores& s : ScoreList) {
    if (!InVariant(s, v)) continue;
    if (s.Score > highest) highest = s.Score;
    int at = 0;
    for (int n = 1; n <= 25 && at == 0; n++) {
      if (TopTable[n] && TopTable[n]->Score < s.Score) at = n;
    }
    for (int n = 1; n <= 25 && at == 0; n++) {
      if (!TopTable[n]) at = n;
    }
    if (at == 0) continue;
    for (int n = 25; n > at; n--) TopTable[n] = TopTable[n - 1];
    TopTable[at] = &s;
  }
  return highest == 0 ? 1 : highest;
}

// Bar height 0..150 for scores 0..highest; a hand-edited negative score
// is held just below the panel instead of overflowing.
static int BarHeight(int64_t score, int64_t highest) {
  __int128 h = __int128(score) * 150 / highest;
  return h < -1000 ? -1000 : int(h);
}

// Columns run right to left, newest first, 18 pixels apart. Records to prune
// are collected, not erased, so the detail box may still show one this frame.
// Returns whether the oldest game's column was drawn.
static bool DrawGraph(int a, int64_t highest, const Variant& v, std::vector<std::list<Scores>::iterator>* doomed) {
  int W = VirtW, H = VirtH;
  int x = W - a + 306 + GraphScroll;
  bool havePrevious = false;
  int px = 0, py = 0, count = 0;
  bool oldestDrawn = true;
  for (auto it = ScoreList.begin(); it != ScoreList.end(); ++it) {
    Scores& s = *it;
    if (!InVariant(s, v)) continue;
    count++;
    if (count == ShownIndex && !ShownRecord) ShownRecord = &s;
    if (count > 50 && !InTopTable(&s)) doomed->push_back(it);
    oldestDrawn = x > W - a - 14;
    if (!oldestDrawn) continue;

    int h = BarHeight(s.Score, highest);
    int y = H - 10 - h;
    SetDrawColour(float(255 - h), 255, 80, 1);
    DrawSprite(IconStrip, x - 8, y - 8, 7, SPRITE_IMAGES);
    SetDrawColour(255, float(80 + h), 80, 1);
    if (havePrevious) DrawLine(float(x), float(y), float(px), float(py), true);
    SetDrawColour(0, 0, 0, 0.3f);
    DrawLine(float(x - 9), float(H - 160), float(x - 9), float(H - 11), true);
    havePrevious = true;
    px = x, py = y;
    if (MouseInBox(x - 9, H - 160, 19, 150)) {
      ShownRecord = &s;
      if (MouseDown(1)) ShownIndex = count;
    }
    if (ShownRecord == &s) {
      SetDrawColour(255, 255, 255, 0.3f);
      DrawRect(float(x - 9), float(H - 160), 19, 150);
    }
    x -= 18;
  }
  return oldestDrawn;
}

constexpr int NameGap = 8;  // between a table row's name and its score

// Returns how many rows were drawn.
static int DrawTable(int a) {
  int W = VirtW, H = VirtH;
  SetFont(FontTable[FONT_SMALL]);
  int rows = 0;
  for (int n = 1; n <= 16; n++) {
    Scores* s = TopTable[n];
    if (!s) continue;
    int y = H - 436 + (n - 1) * 17;
    rows++;
    if (ShownIndex == 1000 + n && !ShownRecord) ShownRecord = s;
    SetDrawColour(255, 255, 255, 1);
    if (MouseInBox(W - a - 6, y, 320, 18)) {
      ShownRecord = s;
      if (MouseDown(1)) ShownIndex = 1000 + n;
    }
    // A name of wide letters is cut short of its score rather than running into it.
    std::string score = Right("000000000000" + std::to_string(s->Score), 12);
    DrawTextAligned(W - a - 6, y, CutToWidth(Left(s->Name, 24), 320 - TextWidth(score) - NameGap), 0, 0);
    DrawTextAligned(W - a + 314, y, score, 2, 0);
    if (s == ShownRecord) {
      SetDrawColour(255, 255, 255, 0.3f);
      DrawRect(float(W - a - 6), float(y), 320, 17);
    }
  }
  return rows;
}

static void DrawThanksBox(int a) {
  int W = VirtW;
  if (Millisecs() % 10000 > 5000) SetDrawColour(0, 0, 110, 0.7f);
  else SetDrawColour(0, 0, 80, 0.6f);
  DrawRect(float(W - a - 12), 0, 330, 200);
  SetFont(FontTable[FONT_BASIC_24]);
  int cx = W - 10 - (a + 2) / 2;
  SetDrawColour(255, 255, 0);
  DrawTextAligned(cx, 20, "You've been enjoying", 1, 1);
  DrawTextAligned(cx, 38, TitleWord1, 1, 1);
  DrawTextAligned(cx, 56, TitleWord2, 1, 1);
  SetDrawColour(255, 128, 0);
  DrawTextAligned(cx, 90, "Why not thank Morvane", 1, 1);
  DrawTextAligned(cx, 108, "for making yet another", 1, 1);
  DrawTextAligned(cx, 126, "free downloadable game!", 1, 1);
  SetDrawColour(0, 128, 255);
  DrawTextAligned(cx, 165, MakerAddress, 1, 1);
}

// In the detail box's bottom right corner, clear of the date and the badges.
// A click asks the title to play the game back; it pins nothing.
static void DrawWatchButton(int a, const Scores& s) {
  int x = VirtW - a + 254, y = VirtH - 466, w = 60, h = 24;
  bool over = MouseInBox(x, y, w, h);
  SetDrawColour(0, 0, over ? 140 : 80, 0.8f);
  DrawRect(float(x), float(y), float(w), float(h));
  SetFont(FontTable[FONT_SMALL]);
  SetDrawColour(255, 255, 255);
  DrawTextWithin(x + w / 2, y + h / 2, "Watch", 1, 1, w - 4);
  if (over && MouseDown(1)) WatchRequest = s.Timestamp;
}

static void DrawDetailBox(int a, const Scores& s) {
  int W = VirtW, H = VirtH;
  SetDrawColour(255, 255, 255, 0.6f);
  DrawRect(float(W - a - 12), float(H - 576), 330, 140);
  SetFont(FontTable[FONT_BASIC_24]);
  SetDrawColour(80, 80, 0);
  DrawTextAligned(W - a - 6, H - 572, CutToWidth(s.Name, 320), 0, 0);  // the box is 330 wide
  SetDrawColour(0, 0, 80);
  DrawTextAligned(W - a + 314, H - 551, std::to_string(s.Score), 2, 0);
  SetFont(FontTable[FONT_BASIC_20]);
  SetDrawColour(0, 80, 0);
  if (s.Best[30] == 1) DrawTextAligned(W - a - 6, H - 526, "Complete!", 0, 1);
  SetFont(FontTable[FONT_SMALL]);
  SetDrawColour(0, 0, 0);
  DrawTextAligned(W - a - 6, H - 440, DateText(s.Timestamp) + ", " + TimeText(s.Timestamp), 0, 2);
  SetDrawScale(0.28f);
  SetDrawColour(255, 255, 255);
  for (int b = 1; b <= BadgeCount; b++) {
    if (GetBit(s.Badges, b) == 1) DrawSprite(BadgeImage, W - a - 4 + (b - 1) * 20, H - 486, b - 1, SPRITE_IMAGES);
  }
  SetDrawScale(1);
  DrawWatchButton(a, s);
}

void DrawScorePanel(int a, int gameMode, int level, int gameFlags) {
  int W = VirtW, H = VirtH;
  Variant v{gameMode, level, gameFlags};
  int64_t highest = BuildTopTable(v);
  ShownRecord = nullptr;

  SetDrawColour(0, 0, 0, 0.6f);
  DrawRect(float(W - a - 8), float(H - 432), 322, 422);
  SetDrawColour(0, 0, 80, 1);
  DrawLine(float(W - a - 8), float(H - 160), float(W - 8), float(H - 160), true);

  std::vector<std::list<Scores>::iterator> doomed;
  bool oldestDrawn = DrawGraph(a, highest, v, &doomed);

  // Older games scroll in only while there are some left to show.
  if (MouseInBox(W - a - 12, H - 160, 32, 150) && GraphScroll < 1000 && !oldestDrawn) GraphScroll += 8;
  if (MouseInBox(W - a + 270, H - 160, 62, 150) && GraphScroll > 0) GraphScroll -= 8;

  if (DrawTable(a) > 10) DrawThanksBox(a);
  if (ShownRecord) DrawDetailBox(a, *ShownRecord);

  for (auto it : doomed) {
    if (ShownRecord == &*it) ShownRecord = nullptr;
    DeleteFile(ReplayFile(it->Timestamp));
    ScoreList.erase(it);
  }
}
