// Tests of streams, atomic writes, embedded files, folders and banks. Each
// test runs in a fresh scratch folder of its own.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <sstream>

#include "media/media.h"

namespace {

class CoreFiles : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/plimbo_core_files_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    ASSERT_EQ(chdir(folder.c_str()), 0);  // the test's own files, by short names
  }
  void TearDown() override {
    EXPECT_EQ(chdir("/tmp"), 0);
    std::string cmd = "rm -rf '" + folder + "'";
    EXPECT_EQ(system(cmd.c_str()), 0);
  }
  std::string folder;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void Spit(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::vector<std::string> Entries(const std::string& path) {
  std::vector<std::string> names;
  DIR* d = opendir(path.c_str());
  while (dirent* e = readdir(d))
    if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
  closedir(d);
  return names;
}

TEST_F(CoreFiles, LinesRoundTripWithCrLfAndHighBytes) {
  int out = OpenWrite("lines.txt");
  ASSERT_NE(out, 0);
  WriteLine(out, "Width=640");
  WriteLine(out, "caf\xE9 \xFF|x");
  WriteLine(out, "");
  CloseStream(out);
  EXPECT_EQ(Slurp("lines.txt"), "Width=640\r\ncaf\xE9 \xFF|x\r\n\r\n");

  int in = OpenRead("lines.txt");
  ASSERT_NE(in, 0);
  EXPECT_FALSE(EndOfStream(in));
  EXPECT_EQ(ReadLine(in), "Width=640");
  EXPECT_EQ(ReadLine(in), "caf\xE9 \xFF|x");
  EXPECT_EQ(ReadLine(in), "");
  EXPECT_TRUE(EndOfStream(in));
  EXPECT_EQ(ReadLine(in), "");
  CloseStream(in);
}

TEST_F(CoreFiles, ReadingTakesLfOnlyLinesAndAnUnfinishedLastLine) {
  Spit("mixed.txt", std::string("one\ntwo\r\n\rthree\0four", 20));
  int in = OpenRead("mixed.txt");
  EXPECT_EQ(ReadLine(in), "one");
  EXPECT_EQ(ReadLine(in), "two");
  EXPECT_EQ(ReadLine(in), std::string("three\0four", 10));
  EXPECT_TRUE(EndOfStream(in));
  CloseStream(in);

  Spit("empty.txt", "");
  in = OpenRead("empty.txt");
  ASSERT_NE(in, 0);
  EXPECT_TRUE(EndOfStream(in));
  CloseStream(in);
}

TEST_F(CoreFiles, WriteReplacesTheTargetOnlyAtClose) {
  Spit("scores.dat", "old\r\n");
  int out = OpenWrite("scores.dat");
  ASSERT_NE(out, 0);
  WriteLine(out, "new");
  EXPECT_EQ(Slurp("scores.dat"), "old\r\n");  // a crash here keeps the old file
  CloseStream(out);
  EXPECT_EQ(Slurp("scores.dat"), "new\r\n");
  EXPECT_EQ(Entries("."), std::vector<std::string>{"scores.dat"});
}

// A killed copy's leftovers go with the next save of the same kind of file,
// a screenshot's too though the next one has another name; what is not a
// temporary file of the game's, or is another kind, stays.
TEST_F(CoreFiles, SavingClearsTemporaryFilesOfDeadCopies) {
  const std::string dead = ".999999999.part";  // beyond any process number
  for (const char* name : {"Shot 1.png", "Setup.ini", "notes", "holiday.png.part"})
    Spit(name + (std::string(name).ends_with(".part") ? "" : dead), "cut short");
  CloseStream(OpenWrite("Shot 2.png"));
  std::vector<std::string> left = Entries(".");
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"Setup.ini" + dead, "Shot 2.png", "holiday.png.part", "notes" + dead}));
}

TEST_F(CoreFiles, FailedOpensGiveNoStreamAndStaleStreamsDoNothing) {
  EXPECT_EQ(OpenRead("missing.txt"), 0);
  EXPECT_EQ(OpenRead("."), 0);
  EXPECT_EQ(OpenWrite("no/such/folder/file.txt"), 0);
  mkdir("sub", 0755);
  EXPECT_EQ(OpenWrite("sub"), 0);
  EXPECT_EQ(ReadLine(0), "");
  EXPECT_TRUE(EndOfStream(0));  // a read loop over a bad stream still ends
  WriteLine(12345, "x");
  CloseStream(12345);
  int out = OpenWrite("a.txt");
  CloseStream(out);
  CloseStream(out);  // twice is harmless
  EXPECT_EQ(ReadLine(out), "");
}

TEST_F(CoreFiles, EmbeddedFilesOpenByIncbinName) {
  static const char song[] = "Tempo=8\r\nChords=CFG";
  RegisterEmbedded("song.txt", song, sizeof song - 1);
  EXPECT_EQ(FileType("incbin::song.txt"), 1);
  EXPECT_EQ(FileType("incbin::other.txt"), 0);
  EXPECT_EQ(OpenRead("incbin::other.txt"), 0);
  int in = OpenRead("incbin::song.txt");
  ASSERT_NE(in, 0);
  EXPECT_EQ(ReadLine(in), "Tempo=8");
  EXPECT_EQ(ReadLine(in), "Chords=CFG");
  EXPECT_TRUE(EndOfStream(in));
  CloseStream(in);

  static const uint8_t blob[] = {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 9};
  RegisterEmbedded("blob.dat", blob, sizeof blob);
  int bank = LoadBank("incbin::blob.dat");
  ASSERT_NE(bank, 0);
  EXPECT_EQ(BankSize(bank), 9);
  EXPECT_EQ(PeekInt(bank, 0), 1);
  EXPECT_EQ(PeekInt(bank, 4), INT_MAX);
  EXPECT_EQ(LoadBank("incbin::nothing"), 0);
  EXPECT_EQ(OpenWrite("incbin::song.txt"), 0);
  EXPECT_FALSE(DeleteFile("incbin::song.txt"));
}

TEST_F(CoreFiles, FoldersAndFileTypes) {
  mkdir("Files", 0755);
  Spit("Files/Setup.ini", "x");
  EXPECT_EQ(FileType("Files"), 2);
  EXPECT_EQ(FileType("Files/"), 2);
  EXPECT_EQ(FileType("Files/Setup.ini"), 1);
  EXPECT_EQ(FileType("nothing"), 0);
  EXPECT_EQ(FileType(""), 0);

  EXPECT_TRUE(MakeFolder(folder + "/Player/248/"));  // parents too
  EXPECT_EQ(FileType("Player/248"), 2);
  EXPECT_TRUE(FolderWritable(folder + "/Player/"));
  EXPECT_FALSE(FolderWritable(folder + "/Nowhere/"));
  EXPECT_FALSE(MakeFolder(folder + "/Files/Setup.ini/x/"));  // a file is in the way
  EXPECT_EQ(FileType(ProgramFolder() + "tests_media"), 1);

  EXPECT_TRUE(DeleteFile("Files/Setup.ini"));
  EXPECT_EQ(FileType("Files/Setup.ini"), 0);
  EXPECT_FALSE(DeleteFile("Files/Setup.ini"));
  EXPECT_FALSE(DeleteFile("Files"));  // folders are not files
}

TEST_F(CoreFiles, BanksPeekAndPokeLittleEndianWithinBounds) {
  int bank = CreateBank(8);
  ASSERT_NE(bank, 0);
  EXPECT_EQ(BankSize(bank), 8);
  PokeInt(bank, 0, 0x12345678);
  PokeInt(bank, 4, -2);
  const uint8_t expected[8] = {0x78, 0x56, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(memcmp(BankData(bank), expected, 8), 0);
  EXPECT_EQ(PeekInt(bank, 0), 0x12345678);
  EXPECT_EQ(PeekInt(bank, 4), -2);
  EXPECT_EQ(PeekInt(bank, 2), int32_t(0xFFFE1234));

  for (int offset : {5, 8, -1, INT_MAX, INT_MIN}) {
    EXPECT_EQ(PeekInt(bank, offset), 0) << offset;
    PokeInt(bank, offset, 0x55555555);
  }
  EXPECT_EQ(memcmp(BankData(bank), expected, 8), 0);

  ResizeBank(bank, 12);
  EXPECT_EQ(BankSize(bank), 12);
  EXPECT_EQ(PeekInt(bank, 4), -2);
  EXPECT_EQ(PeekInt(bank, 8), 0);
  ResizeBank(bank, 2);
  EXPECT_EQ(PeekInt(bank, 0), 0);
  EXPECT_EQ(BankData(bank)[1], 0x56);

  FreeBank(bank);
  EXPECT_EQ(BankSize(bank), 0);
  EXPECT_EQ(BankData(bank), nullptr);
  EXPECT_EQ(PeekInt(bank, 0), 0);
  PokeInt(bank, 0, 1);
  EXPECT_EQ(CreateBank(-4) > 0, true);
}

TEST_F(CoreFiles, SaveBankIsAtomicAndLoadsBack) {
  int bank = CreateBank(6);
  PokeInt(bank, 1, 0x01020304);
  Spit("bank.dat", "previous");
  ASSERT_TRUE(SaveBank(bank, "bank.dat"));
  EXPECT_EQ(Slurp("bank.dat"), std::string("\0\4\3\2\1\0", 6));
  EXPECT_EQ(Entries("."), std::vector<std::string>{"bank.dat"});
  int loaded = LoadBank("bank.dat");
  EXPECT_EQ(BankSize(loaded), 6);
  EXPECT_EQ(PeekInt(loaded, 1), 0x01020304);
  EXPECT_FALSE(SaveBank(bank, "no/such/dir/bank.dat"));
  EXPECT_FALSE(SaveBank(0, "other.dat"));
  EXPECT_EQ(FileType("other.dat"), 0);
  EXPECT_EQ(LoadBank("missing.dat"), 0);
}

// A mapped bank must behave like a loaded one, and never write to its file.
TEST_F(CoreFiles, MappedBankReadsTheFileAndKeepsWritesPrivate) {
  Spit("bank.dat", "ABCDEFGH");
  Spit("empty.dat", "");
  int bank = MapBank("bank.dat");
  ASSERT_EQ(BankSize(bank), 8);
  EXPECT_EQ(PeekInt(bank, 4), 0x48474645);
  PokeInt(bank, 0, 0x34333231);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(BankData(bank)), 8), "1234EFGH");
  EXPECT_EQ(Slurp("bank.dat"), "ABCDEFGH");
  ResizeBank(bank, 10);  // takes its own copy
  EXPECT_EQ(std::string(reinterpret_cast<char*>(BankData(bank)), 10), std::string("1234EFGH\0\0", 10));
  FreeBank(bank);
  int mapped = MapBank("bank.dat");
  EXPECT_EQ(BankData(mapped)[0], 'A');
  FreeBank(mapped);
  EXPECT_EQ(BankSize(MapBank("empty.dat")), 0);
  EXPECT_NE(MapBank("empty.dat"), 0);
  EXPECT_EQ(MapBank("missing.dat"), 0);
  EXPECT_EQ(MapBank("."), 0);
}

TEST_F(CoreFiles, MemoryFiguresFollowBanks) {
  CollectGarbage();
  int64_t before = MemoryInUse();
  int a = CreateBank(1000), b = CreateBank(24);
  EXPECT_EQ(MemoryInUse(), before + 1024);
  FreeBank(a);
  FreeBank(b);
  FreeBank(b);
  EXPECT_EQ(MemoryInUse(), before);
  EXPECT_EQ(CollectGarbage(), 2);
  EXPECT_EQ(CollectGarbage(), 0);
}

}  // namespace
