// records_test.cpp — the score list: ordering, bit helpers, and "scores.dat"
// written and read back, including damaged and hand-edited files.
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <sys/stat.h>

#include "scores/records.h"

#include "frame/draw.h"
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

std::string ReadFile(const std::string& path = ScoreFile()) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

ino_t Inode(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_ino;
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

TEST(ScoreFile, NumbersReadAsTheFileMeansThem) {
  EnterScratchFolder("scores_numbers");
  std::string results = "-1|-2";
  for (int n = 3; n <= 30; n++) results += "|0";
  WriteFile("7|AL|-3|-50|-4|x|-6|-7\r\n" + results + "\r\n");
  ReadScoreFile();
  ASSERT_EQ(ScoreList.size(), 1u);
  const Scores& s = ScoreList.front();
  EXPECT_EQ(s.Score, 7);
  EXPECT_EQ(s.Timestamp, -50);  // score and stamp keep their sign, the rest come back positive
  EXPECT_EQ(s.Badges, 3);
  EXPECT_EQ(s.Level, 4);
  EXPECT_EQ(s.GameMode, 0);  // not a number
  EXPECT_EQ(s.GameFlags, 6);
  EXPECT_EQ(s.Quit, 7);
  EXPECT_EQ(s.Best[1], 1);
  EXPECT_EQ(s.Best[2], 2);
  EXPECT_EQ(PlayerName, "AL");
}

// Ten games as SaveScores writes them, newest first: a record line, then its
// results line.
std::vector<std::string> TenGames() {
  std::vector<std::string> lines;
  const char* names[10] = {"ANNA", "BOB", "CARLA", "DMITRI", "EVE", "FRANZ", "GRETA", "HUGO", "IRIS", "JONAS"};
  for (int i = 0; i < 10; i++) {
    lines.push_back(std::to_string(1000 * i + 17) + "|" + names[i] + "|5|" + std::to_string(900000 - i) + "|1|0|0|0");
    std::string results = std::to_string(i + 1);
    for (int n = 2; n <= 30; n++) results += "|" + std::to_string((n * 37 + i) % 1000);
    lines.push_back(results);
  }
  return lines;
}

std::string Joined(const std::vector<std::string>& lines, const std::string& end) {
  std::string text;
  for (const std::string& line : lines) text += line + end;
  return text;
}

// Games of TenGames() in ScoreList with their score, stamp and their own
// results (or zeros, when their results line is gone).
int Surviving() {
  std::vector<std::string> lines = TenGames();
  int found = 0;
  for (size_t i = 0; i < lines.size(); i += 2) {
    for (const Scores& s : ScoreList)
      if (s.Score == ToLong(lines[i]) && s.Timestamp == ToLong(FieldOf(lines[i], "|", 4, 0)) &&
          (s.Best[1] == ToInt(lines[i + 1]) || s.Best[1] + s.Best[2] == 0))
        found++;
  }
  return found;
}

// Each damaged file keeps every game that can still be read; it is left as
// it is by a run that adds nothing, kept as scores.dat.bak once a new game
// is saved over it, and that copy stays when later runs save again.
TEST(ScoreFile, DamagedFilesKeepEveryReadableGame) {
  struct Case {
    const char* damage;
    std::function<void(std::vector<std::string>&)> change;
    const char* lineEnd;
    int surviving;  // of 10; a game without its results line keeps zeros
    bool backedUp;  // line ends alone lose nothing when rewritten
  } cases[] = {
      {"none", [](auto&) {}, "\r\n", 10, false},
      {"one results line missing", [](auto& l) { l.erase(l.begin() + 3); }, "\r\n", 10, true},
      {"a blank line inside a pair", [](auto& l) { l.insert(l.begin() + 3, ""); }, "\r\n", 10, true},
      {"a stray line between games", [](auto& l) { l.insert(l.begin() + 4, "hello"); }, "\r\n", 10, true},
      {"a record joined to its results", [](auto& l) { l[2] += l[3], l.erase(l.begin() + 3); }, "\r\n", 9, true},
      {"results joined to the next record", [](auto& l) { l[3] += l[4], l.erase(l.begin() + 4); }, "\r\n", 9, true},
      {"a line break inside a name", [](auto& l) { l[2] = Replace(l[2], "|BOB|", "|BO\r\nB|"); }, "\r\n", 10, true},
      {"CR line ends only", [](auto&) {}, "\r", 10, false},
      {"LF line ends only", [](auto&) {}, "\n", 10, false},
  };
  for (const Case& c : cases) {
    EnterScratchFolder("scores_damaged");
    ResetScores();
    std::vector<std::string> lines = TenGames();
    c.change(lines);
    const std::string original = Joined(lines, c.lineEnd);
    WriteFile(original);

    LoadScores();
    EXPECT_EQ(Surviving(), c.surviving) << c.damage;
    EXPECT_EQ(int(ScoreList.size()), c.surviving) << c.damage << ": no made-up games";
    EXPECT_EQ(PlayerName, "ANNA") << c.damage;
    const ino_t inode = Inode(ScoreFile());
    SaveScores();
    EXPECT_EQ(Inode(ScoreFile()), inode) << c.damage << ": nothing new, nothing written";
    EXPECT_EQ(ReadFile(), original) << c.damage;

    AddScoreRecord(Record(5, 999999, "NEW"));
    SaveScores();
    const std::string kept = c.backedUp ? original : "";
    EXPECT_EQ(ReadFile(ScoreFile() + ".bak"), kept) << c.damage;

    ResetScores();  // the next run reads what was saved, cleanly, and saves again
    LoadScores();
    EXPECT_EQ(Surviving(), c.surviving) << c.damage;
    EXPECT_EQ(ScoreList.front().Name, "NEW") << c.damage;
    AddScoreRecord(Record(6, 1000000, "NEWER"));
    SaveScores();
    EXPECT_EQ(ReadFile(ScoreFile() + ".bak"), kept) << c.damage << ": the damaged copy is kept";
  }
}

// Another copy of the game saved a game while this one ran: saving keeps
// both, each once, and what this copy pruned stays pruned.
TEST(ScoreFile, TwoCopiesKeepBothPlayersGames) {
  EnterScratchFolder("scores_two_copies");
  std::vector<std::string> ten = TenGames();
  WriteFile(Joined(ten, "\r\n"));
  LoadScores();
  WriteFile(Joined(ten, "\r\n") + "50|OTHER|0|950000|1|0|0|0\r\n" + ten[1] + "\r\n");
  AddScoreRecord(Record(60, 960000, "MINE"));
  ScoreList.remove_if([](const Scores& s) { return s.Name == "JONAS"; });  // as the results panel prunes

  SaveScores();
  SaveScores();
  std::vector<std::string> names;
  for (const Scores& s : ScoreList) names.push_back(s.Name);
  EXPECT_EQ(names.size(), 11u);
  EXPECT_EQ(names[0], "MINE");
  EXPECT_EQ(names[1], "OTHER");
  EXPECT_EQ(std::count(names.begin(), names.end(), "JONAS"), 0);
  ResetScores();
  ReadScoreFile();
  EXPECT_EQ(ScoreList.size(), 11u);
  EXPECT_EQ(Surviving(), 9);
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
