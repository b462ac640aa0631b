// records.cpp — the score list and its bit helpers. The file behind it,
// "scores.dat", is score_file.cpp's.
#include "scores/records.h"

#include "scores/panel.h"
#include "scores/popups.h"

std::list<Scores> ScoreList;
std::string PlayerName = "Player";

// Compared rather than subtracted: the difference of two stamps does not fit
// 32 bits once they lie more than 68 years apart, and would then flip sign.
int Scores::Compare(const Scores& other) const { return (other.Timestamp > Timestamp) - (other.Timestamp < Timestamp); }

int GetBit(int value, int n) {
  if (n < 1 || n > 32) return 0;
  return int((uint32_t(value) >> (n - 1)) & 1u);
}

int SetBit(int value, int n, int bit) {
  uint32_t result = uint32_t(value);
  if (n >= 1 && n <= 30) {
    uint32_t mask = 1u << (n - 1);
    result = (result & ~mask) | (bit != 0 ? mask : 0u);
  }
  return int(result & 0x3FFFFFFFu);
}

// list::sort is stable, so records with equal stamps keep their order.
void SortScores() {
  ScoreList.sort([](const Scores& a, const Scores& b) { return a.Compare(b) < 0; });
}

void AddScoreRecord(const Scores& record) {
  ScoreList.push_back(record);
  SortScores();
}

void ResetScores() {
  ScoreList.clear();
  PlayerName = "Player";
  ForgetScoreFile();
  PopupList.clear();
  for (Scores*& row : TopTable) row = nullptr;
  ShownRecord = nullptr;
  ShownIndex = GraphScroll = 0;
  WatchRequest = 0;
  BadgeCount = 16;
}
