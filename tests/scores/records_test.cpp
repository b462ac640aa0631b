// records_test.cpp — the score list: ordering, bit helpers, and "scores.dat"
// written and read back, including damaged and hand-edited files.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "scores/records.h"
#include "tests/support/headless.h"

namespace {

Scores Record(int64_t score, int64_t stamp, const std::string& name, int mode = 0) {
  Scores s;
  s.Score = score;
  s.Timestamp = stamp;
  s.Name = name;
  s.GameMode = mode;
  return s;
}

std::string ScoreFile() { return PlayerGameFolder + "scores.dat"; }

void WriteFile(const std::string& text) { std::ofstream(ScoreFile(), std::ios::binary) << text; }

std::string ReadFile() {
  std::ifstream in(ScoreFile(), std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

TEST(Bits, GetAndSet) {
  EXPECT_EQ(GetBit(5, 1), 1);
  EXPECT_EQ(GetBit(5, 2), 0);
  EXPECT_EQ(GetBit(5, 3), 1);
  EXPECT_EQ(GetBit(-1, 32), 1);
  EXPECT_EQ(GetBit(-1, 0), 0);  // out of range asks for nothing
  EXPECT_EQ(GetBit(-1, 33), 0);
  EXPECT_EQ(SetBit(0x7FFFFFFF, 1, 0), 0x3FFFFFFE);
  EXPECT_EQ(SetBit(0, 16, 1), 1 << 15);
  EXPECT_EQ(SetBit(-1, 3, 1), 0x3FFFFFFF);  // bits 30 and 31 always clear
  EXPECT_EQ(SetBit(0, 31, 1), 0);
}

TEST(Compare, NewerSortsFirstEvenDecadesApart) {
  Scores older = Record(0, 1000, "a"), newer = Record(0, 1001, "b");
  EXPECT_EQ(newer.Compare(older), -1);
  EXPECT_EQ(older.Compare(newer), 1);
  EXPECT_EQ(older.Compare(older), 0);
  // 3e9 seconds apart: a difference cut to 32 bits would come out negative.
  Scores far = Record(0, 1000 + 3000000000LL, "c");
  EXPECT_EQ(older.Compare(far), 1);
  EXPECT_EQ(far.Compare(older), -1);
  Scores lowest = Record(0, INT64_MIN, "d"), highest = Record(0, INT64_MAX, "e");
  EXPECT_EQ(lowest.Compare(highest), 1);
}

TEST(ScoreList, AddKeepsNewestFirstAndTiesInArrivalOrder) {
  AddScoreRecord(Record(1, 100, "old"));
  AddScoreRecord(Record(2, 300, "new"));
  AddScoreRecord(Record(3, 200, "mid"));
  AddScoreRecord(Record(4, 200, "mid2"));
  std::vector<std::string> names;
  for (const Scores& s : ScoreList) names.push_back(s.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"new", "mid", "mid2", "old"}));
}

TEST(ScoreFile, SavedRecordsReadBackTheSame) {
  EnterScratchFolder("scores_roundtrip");
  Scores a = Record(1250, 62836000000LL, "ANNA");
  a.Badges = 5;
  a.Level = 1;
  for (int i = 1; i <= 30; i++) a.Best[i] = i * 7;
  a.Best[30] = 1;
  Scores b = Record(-42, 62835000000LL, "  bob  ", 2);
  b.Quit = 1;
  b.GameFlags = 9;
  ScoreList = {b, a};  // out of order on purpose: saving sorts
  SaveScores();

  std::string text = ReadFile();
  EXPECT_EQ(text.substr(0, text.find("\r\n")), "1250|ANNA|5|62836000000|1|0|0|0");
  EXPECT_NE(text.find("\r\n7|14|21|"), std::string::npos);
  EXPECT_NE(text.find("|203|1\r\n-42|"), std::string::npos);  // no trailing separator

  ScoreList.clear();
  PlayerName = "Someone";
  ReadScoreFile();
  ASSERT_EQ(ScoreList.size(), 2u);
  const Scores& r = ScoreList.front();
  EXPECT_EQ(r.Score, 1250);
  EXPECT_EQ(r.Name, "ANNA");
  EXPECT_EQ(r.Badges, 5);
  EXPECT_EQ(r.Timestamp, 62836000000LL);
  EXPECT_EQ(r.Level, 1);
  for (int i = 1; i <= 30; i++) EXPECT_EQ(r.Best[i], a.Best[i]) << i;
  const Scores& s = ScoreList.back();
  EXPECT_EQ(s.Score, -42);
  EXPECT_EQ(s.Name, "bob");  // blanks at the ends do not survive
  EXPECT_EQ(s.GameMode, 2);
  EXPECT_EQ(s.GameFlags, 9);
  EXPECT_EQ(s.Quit, 1);
  EXPECT_EQ(PlayerName, "ANNA");
}

TEST(ScoreFile, DamagedLinesReadAsZeros) {
  EnterScratchFolder("scores_damaged");
  WriteFile(
      "100|BOB\r\n"
      "1|2|x\r\n"
      "\r\n"
      "stray text\r\n"
      "7|AL|-3|-50|-4|-5|-6|-7\r\n"
      "-1|-2\r\n"
      "9|LAST||20\r\n");
  ReadScoreFile();
  ASSERT_EQ(ScoreList.size(), 3u);
  auto it = ScoreList.begin();
  EXPECT_EQ(it->Name, "LAST");  // stamp 20, the newest
  EXPECT_EQ(it->Badges, 0);
  for (int i = 1; i <= 30; i++) EXPECT_EQ(it->Best[i], 0);  // the file ended
  ++it;
  EXPECT_EQ(it->Name, "BOB");
  EXPECT_EQ(it->Score, 100);
  EXPECT_EQ(it->Timestamp, 0);
  EXPECT_EQ(it->Best[1], 1);
  EXPECT_EQ(it->Best[2], 2);
  EXPECT_EQ(it->Best[3], 0);
  ++it;
  EXPECT_EQ(it->Name, "AL");
  EXPECT_EQ(it->Score, 7);
  EXPECT_EQ(it->Timestamp, -50);
  EXPECT_EQ(it->Badges, 3);
  EXPECT_EQ(it->Level, 4);
  EXPECT_EQ(it->GameMode, 5);
  EXPECT_EQ(it->GameFlags, 6);
  EXPECT_EQ(it->Quit, 7);
  EXPECT_EQ(it->Best[1], 1);
  EXPECT_EQ(it->Best[2], 2);
  EXPECT_EQ(PlayerName, "BOB");  // first in the file, not the newest
}

TEST(ScoreFile, ABarInANameCannotShiftTheFields) {
  EnterScratchFolder("scores_bar");
  Scores s = Record(500, 77, "A|B\nC");
  s.Badges = 6;
  ScoreList = {s};
  SaveScores();
  ScoreList.clear();
  ReadScoreFile();
  ASSERT_EQ(ScoreList.size(), 1u);
  EXPECT_EQ(ScoreList.front().Name,
            "A\xA6"
            "B C");
  EXPECT_EQ(ScoreList.front().Badges, 6);
  EXPECT_EQ(ScoreList.front().Timestamp, 77);
}

TEST(ScoreFile, MissingOrUnusableFileLeavesTheListAlone) {
  auto root = EnterScratchFolder("scores_missing");
  ScoreList = {Record(1, 1, "kept")};
  ReadScoreFile();
  EXPECT_EQ(ScoreList.size(), 1u);
  EXPECT_EQ(PlayerName, "Player");

  std::filesystem::create_directory(root / "Files" / "248" / "scores.dat");
  ReadScoreFile();
  SaveScores();
  EXPECT_EQ(ScoreList.size(), 1u);
  EXPECT_EQ(FileType(ScoreFile()), 2);
}

TEST(ScoreFile, LaterLoadsKeepGamesPlayedSinceStartUp) {
  EnterScratchFolder("scores_reload");
  WriteFile("10|ONE|0|5|0|0|0|0\r\n0\r\n");
  LoadScores();
  ASSERT_EQ(ScoreList.size(), 1u);
  AddScoreRecord(Record(20, 6, "TWO"));
  LoadScores();  // a display-mode change
  ASSERT_EQ(ScoreList.size(), 2u);
  EXPECT_EQ(ScoreList.front().Name, "TWO");
}

}  // namespace
