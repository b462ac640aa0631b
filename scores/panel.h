// panel.h — the score panel down the right of the title screen: best-25
// table, history graph, detail box for one game, and the thank-the-maker box.
// Drawing it also prunes the variant's old records from ScoreList.
#pragma once

#include <string>

#include "scores/records.h"

extern int BadgeCount;        // badges a record can show (16)
extern Scores* TopTable[26];  // slots 1..25: the variant's best, higher first
extern Scores* ShownRecord;   // the record in the detail box this frame
extern int ShownIndex;        // 0 none, 1..1000 n-th newest of the variant, 1000 + n table row n
extern int GraphScroll;       // 0..1000 pixels, older games come in from the left
extern const std::string MakerAddress;
// The stamp of the game whose "Watch" button was clicked, for the title to
// play back; 0 when none. The title clears it.
extern int64_t WatchRequest;

// a: slide-in offset, 0..320. Only records of the given variant take part.
void DrawScorePanel(int a, int gameMode, int level, int gameFlags);
