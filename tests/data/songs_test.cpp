// The three song files as the sequencer reads them: the five sections, valid
// stretch values, quoted patterns, chord lines of whole bars, characters from
// the note table only, and only drum hits and loops that exist on disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kNoteTable = "zsxdcvgbhnjmq2w3er5t6y7ui9o0p[=]";
const char* kSections[5] = {"[DRUMS", "[CHORDS", "[BASS", "[MELODY", "[ACCOMPANY"};

struct Song {
  std::vector<std::string> patterns[5];
  std::vector<std::string> problems;
};

std::string Upper(std::string s) {
  for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

Song ReadSong(const std::string& path) {
  Song song;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    song.problems.push_back("cannot open " + path);
    return song;
  }
  int section = -1;
  std::string line;
  while (std::getline(in, line)) {
    while (!line.empty() && static_cast<unsigned char>(line.back()) < 33) line.pop_back();
    size_t first = 0;
    while (first < line.size() && static_cast<unsigned char>(line[first]) < 33) first++;
    line = line.substr(first);
    if (line.empty()) continue;
    if (line[0] == '[') {
      std::string head = Upper(line);
      head.erase(std::remove(head.begin(), head.end(), ']'), head.end());
      auto it = std::find(std::begin(kSections), std::end(kSections), head);
      if (it == std::end(kSections)) song.problems.push_back("unknown section " + line);
      else section = int(it - std::begin(kSections));
    } else if (Upper(line.substr(0, 7)) == "STRETCH") {
      std::string value = Upper(line.substr(7));
      value.erase(0, value.find_first_not_of(" =\t"));
      if (section < 0) song.problems.push_back("STRETCH before any section");
      if (value != "FALSE" && value != "RANDOM" && value != "RANDOM+" && value != "DOUBLE")
        song.problems.push_back("unknown stretch " + line);
    } else if (line[0] == '"') {
      if (section < 0) song.problems.push_back("pattern before any section");
      else {
        std::string p = line;
        if (std::count(p.begin(), p.end(), '"') != 2 || p.back() != '"')
          song.problems.push_back("pattern not quoted as one string: " + line);
        p.erase(std::remove(p.begin(), p.end(), '"'), p.end());
        song.patterns[section].push_back(p);
      }
    } else if (line[0] != ';') {
      song.problems.push_back("line that means nothing: " + line);
    }
  }
  return song;
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

class SongFile : public ::testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(SongFile, FollowsTheGrammar) {
  Song song = ReadSong(std::string("Files/248/music/") + GetParam() + ".ini");
  for (const std::string& p : song.problems) ADD_FAILURE() << GetParam() << ": " << p;
  for (int s = 0; s < 5; s++) {
    ASSERT_FALSE(song.patterns[s].empty()) << GetParam() << " has no patterns in " << kSections[s];
    bool anySound = false;
    for (const std::string& p : song.patterns[s]) {
      ASSERT_FALSE(p.empty()) << GetParam() << " " << kSections[s];
      anySound |= p.find_first_not_of(' ') != std::string::npos;
      for (char c : p) {
        if (s == 0) {
          EXPECT_TRUE(c == ' ' || (c >= '1' && c <= '8')) << GetParam() << " drum '" << c << "'";
        } else if (c != ' ') {
          EXPECT_NE(kNoteTable.find(char(std::tolower(c))), std::string::npos) << GetParam() << " '" << c << "'";
        }
      }
      if (s == 1) {
        EXPECT_EQ(p.size() % 4, 0u) << GetParam() << " chord line " << p;
        // A blank or "z" chord would be rate 0: every note under it would fall silent.
        EXPECT_EQ(p.find_first_of(" zZ"), std::string::npos) << GetParam() << " chord line " << p;
      } else {
        // Patterns fit the 64-step bar so they keep in time with the chords.
        EXPECT_TRUE(64 % p.size() == 0 || p.size() % 64 == 0) << GetParam() << " pattern of " << p.size();
      }
    }
    EXPECT_TRUE(anySound) << GetParam() << " " << kSections[s] << " is all rests";
  }
}

TEST_P(SongFile, UsesOnlyHitsAndLoopsThatExist) {
  Song song = ReadSong(std::string("Files/248/music/") + GetParam() + ".ini");
  for (const std::string& p : song.patterns[0])
    for (char c : p)
      if (c >= '1' && c <= '8') {
        for (int kit = 1; kit <= 2; kit++)
          EXPECT_TRUE(FileExists("Files/248/music/d" + std::to_string(kit) + "-" + c + ".wav")) << c;
      }
  // The sequencer picks loops 1 up to the highest number found, so there are no gaps.
  for (const char* part : {"bass", "lead", "accompany"}) {
    int count = 0;
    for (int k = 1; k <= 8; k++)
      if (FileExists("Files/248/music/" + std::string(part) + std::to_string(k) + ".wav")) count = k;
    EXPECT_GE(count, 1) << part;
    for (int k = 1; k <= count; k++)
      EXPECT_TRUE(FileExists("Files/248/music/" + std::string(part) + std::to_string(k) + ".wav")) << part << k;
  }
}

TEST_P(SongFile, IsTheCopyOfTheSourceFile) {
  auto slurp = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  };
  std::string copy = slurp(std::string("Files/248/music/") + GetParam() + ".ini");
  EXPECT_FALSE(copy.empty());
  EXPECT_EQ(copy, slurp(std::string(PLIMBO_SOURCE_DIR) + "/data/songs/" + GetParam() + ".ini"));
}

INSTANTIATE_TEST_SUITE_P(Songs, SongFile, ::testing::Values("ZEMPlat", "Rodev", "Pipeline"));
