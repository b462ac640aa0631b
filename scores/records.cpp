// records.cpp — the score list, its bit helpers and "scores.dat" in the
// player's game folder.
#include "scores/records.h"

#include "frame/draw.h"
#include "frame/folders.h"
#include "media/media.h"
#include "scores/panel.h"
#include "scores/popups.h"

std::list<Scores> ScoreList;
std::string PlayerName = "Player";

static std::string ScoreFile() { return PlayerGameFolder + "scores.dat"; }

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

// Int fields are stored as magnitudes; widened first so the most negative
// value cannot overflow.
static int Magnitude(const std::string& field) {
  int64_t v = ToInt(field);
  return int(v < 0 ? -v : v);
}

void ReadScoreFile() {
  if (FileType(ScoreFile()) != 1) return;
  int in = OpenRead(ScoreFile());
  if (in == 0) return;
  ScoreList.clear();
  bool first = true;
  while (!EndOfStream(in)) {
    std::string line = ReadLine(in);
    if (Instr(line, "|") == 0) continue;
    Scores s;
    s.Score = ToLong(FieldOf(line, "|", 1, 0));
    s.Name = Trim(FieldOf(line, "|", 2, 0));
    s.Badges = Magnitude(FieldOf(line, "|", 3, 0));
    s.Timestamp = ToLong(FieldOf(line, "|", 4, 0));
    s.Level = Magnitude(FieldOf(line, "|", 5, 0));
    s.GameMode = Magnitude(FieldOf(line, "|", 6, 0));
    s.GameFlags = Magnitude(FieldOf(line, "|", 7, 0));
    s.Quit = Magnitude(FieldOf(line, "|", 8, 0));
    if (first) PlayerName = s.Name;  // the newest game's name is offered again
    first = false;
    std::string best = ReadLine(in);
    for (int i = 1; i <= 30; i++) s.Best[i] = Magnitude(FieldOf(best, "|", i, 0));
    ScoreList.push_back(s);
  }
  CloseStream(in);
  SortScores();
}

// The file is only written at shutdown, so after start-up the list in memory
// is the whole truth: a reload on a display-mode change would throw away the
// games played since and undo the pruning. Later calls therefore keep it.
static bool ScoresLoaded = false;

void LoadScores() {
  if (ScoresLoaded) return;
  ScoresLoaded = true;
  ReadScoreFile();
}

void ResetScores() {
  ScoreList.clear();
  PlayerName = "Player";
  ScoresLoaded = false;
  PopupList.clear();
  for (Scores*& row : TopTable) row = nullptr;
  ShownRecord = nullptr;
  ShownIndex = GraphScroll = 0;
  BadgeCount = 16;
}

// A "|" in a name would shift every later field of its line when read back,
// and a line break would split the record; both are stored as look-alikes.
static std::string StoredName(std::string name) {
  for (char& c : name) {
    if (c == '|') c = char(166);  // broken bar
    else if (uint8_t(c) < 32) c = ' ';
  }
  return name;
}

void SaveScores() {
  int out = OpenWrite(ScoreFile());
  if (out == 0) return;
  SortScores();
  for (const Scores& s : ScoreList) {
    WriteLine(out, std::to_string(s.Score) + "|" + StoredName(s.Name) + "|" + std::to_string(s.Badges) + "|" +
                       std::to_string(s.Timestamp) + "|" + std::to_string(s.Level) + "|" + std::to_string(s.GameMode) +
                       "|" + std::to_string(s.GameFlags) + "|" + std::to_string(s.Quit));
    std::string best = std::to_string(s.Best[1]);
    for (int i = 2; i <= 30; i++) (best += '|') += std::to_string(s.Best[i]);
    WriteLine(out, best);
  }
  CloseStream(out);
}
