// records.h — the score records of every finished game, kept newest first in
// ScoreList (records.cpp), and their file "scores.dat" (two lines per record)
// in the player's game folder (score_file.cpp).
#pragma once

#include <cstdint>
#include <list>
#include <string>

struct Scores {
  int64_t Score = 0;
  int64_t Timestamp = 0;  // date-time stamp (datetime.h); larger is later
  int Badges = 0;         // badge n is bit n-1
  std::string Name;
  int Best[31] = {};  // 1..30 copy the game's results; Best[30] = 1 means completed
  int Level = 0;
  int GameMode = 0;
  int GameFlags = 0;
  int Quit = 0;

  // -1 when this record is newer than other, 1 when older, 0 for equal stamps.
  int Compare(const Scores& other) const;
};

extern std::list<Scores> ScoreList;  // newest first
extern std::string PlayerName;       // offered by name entry, copied into new records

int GetBit(int value, int n);           // bit n-1 of value, n from 1
int SetBit(int value, int n, int bit);  // bits 30 and 31 of the result are always clear

void SortScores();
// Reads "scores.dat" on the first call of a run only; see records.cpp.
void LoadScores();
void ReadScoreFile();  // replaces ScoreList with the file's records, if it can be read
// Merges the games another copy of the game saved meanwhile into ScoreList
// and writes the file when that changes it; a failure is told to the player.
// Called after every game and at exit.
void SaveScores();
void AddScoreRecord(const Scores& record);
// The recording of a kept game, beside "scores.dat": "replays/<stamp>.rec".
// It goes when its record is pruned, so there are never more than records.
std::string ReplayFile(int64_t stamp);
// No records, the name back to "Player", no pop-ups, the panel as at start,
// and the next LoadScores reads the file again (tests).
void ResetScores();
void ForgetScoreFile();  // the file's part of ResetScores
