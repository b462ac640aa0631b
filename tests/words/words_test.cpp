// words_test.cpp — the packed word bank, its files and the pattern search,
// checked against the text list and a plain 13-scans-per-star search.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include <zlib.h>

#include "media/media.h"
#include "words/words.h"

using namespace std::string_literals;

namespace {

const std::string WordList = std::string(PLIMBO_SOURCE_DIR) + "/data/sowpods.txt";

std::vector<std::string> ListWords() {
  std::ifstream in(WordList);
  std::vector<std::string> words;
  for (std::string line; std::getline(in, line);) words.push_back(line);
  return words;
}

void LoadEmbeddedBank() {
  RegisterWordBankFile();
  CreateWordBank();
  LoadWordBank();
}

std::vector<std::string> Found(const std::string& pattern) {
  FindWords(pattern, 1);
  std::vector<std::string> words;
  for (const WordType& match : WordMatches) words.push_back(match.word);
  return words;
}

std::vector<std::string> Grep(const std::string& regex) {
  std::regex re(regex);
  std::vector<std::string> words;
  for (const std::string& word : ListWords())
    if (std::regex_match(word, re)) words.push_back(word);
  return words;
}

// The search as first written: one full scan per expansion, recursing on
// each star in turn. Slow, but plainly right.
void PlainSearch(std::string pattern, std::vector<std::string>& out) {
  pattern = Replace(Upper(pattern), "?", "[");
  size_t star = pattern.find('*');
  if (star != std::string::npos) {
    for (int k = 0; k <= 12; k++)
      PlainSearch(pattern.substr(0, star) + std::string(size_t(k), '?') + pattern.substr(star + 1), out);
    return;
  }
  uint32_t value[3], mask[3];
  for (int c = 0; c < 3; c++) {
    value[c] = uint32_t(PackWordChunk(pattern, c));
    mask[c] = 0;
    for (int p = 0; p < 6; p++)
      if (uint32_t code = (value[c] >> (5 * p)) & 31; code >= 1 && code <= 26) mask[c] |= 31u << (5 * p);
    value[c] &= mask[c];
  }
  const uint8_t* bank = BankData(WordBank);
  for (int i = 0; i < WordScanEntries; i++) {
    uint32_t w[3];
    memcpy(w, bank + i * 12, 12);
    if ((w[0] & mask[0]) != value[0] || (w[1] & mask[1]) != value[1] || (w[2] & mask[2]) != value[2]) continue;
    std::string word = UnpackWord(w[0], w[1], w[2]);
    if (word.size() == pattern.size()) out.push_back(word);
  }
}

// The bank builder writes into the current folder, as the tool does.
std::string EnterScratchFolder(const std::string& name) {
  auto folder = std::filesystem::temp_directory_path() / ("plimbo_words_" + name + std::to_string(getpid()));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  std::filesystem::current_path(folder);
  return folder.string();
}

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace

TEST(PackWordChunk, PacksFiveBitsPerLetterFirstLetterLowest) {
  EXPECT_EQ(PackWordChunk("Banana", 0), 48281634);
  EXPECT_EQ(PackWordChunk("Banana", 1), 0);
  EXPECT_EQ(PackWordChunk("Banana", 2), 0);
  EXPECT_EQ(PackWordChunk("a?c", 0), 3937);          // "?" is the wildcard code 27
  EXPECT_EQ(PackWordChunk("A-C", 0), 1 + 3 * 1024);  // other characters pack as no letter
  EXPECT_EQ(PackWordChunk("\xe9"
                          "B",
                          0),
            2 * 32);
  std::string eighteen = "ABCDEFGHIJKLMNOPQR";
  EXPECT_EQ(UnpackWord(uint32_t(PackWordChunk(eighteen, 0)), uint32_t(PackWordChunk(eighteen, 1)),
                       uint32_t(PackWordChunk(eighteen, 2))),
            eighteen);
  EXPECT_EQ(PackWordChunk(eighteen + "S", 2), PackWordChunk("MNOPQR", 0));  // only 18 letters fit
  EXPECT_EQ(UnpackWord(1 | 3 << 10, 0, 26), "ACZ");                         // a gap adds nothing
}

TEST(WordBank, EmbeddedFileIsOneDefaultZlibStream) {
  RegisterWordBankFile();
  int zip = LoadBank("incbin::sowpods_bank_zip.dat");
  ASSERT_NE(zip, 0);
  EXPECT_EQ(BankSize(zip), 935615);
  EXPECT_EQ(BankData(zip)[0], 0x78);
  EXPECT_EQ(BankData(zip)[1], 0x9C);
}

TEST(WordBank, LoadedBankHoldsTheListInOrderThenZeros) {
  LoadEmbeddedBank();
  ASSERT_EQ(BankSize(WordBank), 4000000);
  const uint8_t* bank = BankData(WordBank);
  const uint8_t firstEntry[12] = {33, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};  // "AA"
  EXPECT_EQ(memcmp(bank, firstEntry, 12), 0);

  std::vector<std::string> words = ListWords();
  ASSERT_EQ(words.size(), 267751u);
  for (size_t i = 0; i < words.size(); i++) {
    int at = int(i) * 12;
    ASSERT_EQ(UnpackWord(uint32_t(PeekInt(WordBank, at)), uint32_t(PeekInt(WordBank, at + 4)),
                         uint32_t(PeekInt(WordBank, at + 8))),
              words[i])
        << "entry " << i;
  }
  EXPECT_EQ(words.back(), "ZZZS");
  for (size_t at = words.size() * 12; at < 4000000; at++) ASSERT_EQ(bank[at], 0) << "byte " << at;
}

TEST(WordBank, LoadWritesBothTimingLines) {
  std::string log = std::filesystem::temp_directory_path() / ("plimbo_words_log" + std::to_string(getpid()));
  std::filesystem::remove(log);
  setenv("PLIMBO_DEBUGLOG", log.c_str(), 1);
  LoadEmbeddedBank();
  FindWords("CAT", 1);
  std::string text = ReadBytes(log);
  EXPECT_TRUE(std::regex_search(text, std::regex("Loaded Word List : Took \\d+ millisecs")));
  EXPECT_TRUE(std::regex_search(text, std::regex("Unzipped Word List : Took \\d+ millisecs")));
  EXPECT_TRUE(std::regex_search(text, std::regex("Check took \\d+ millisecs")));
  std::filesystem::remove(log);
}

TEST(BuildWordBank, RebuildsTheEmbeddedFilesByteForByte) {
  LoadEmbeddedBank();
  std::string loaded(reinterpret_cast<const char*>(BankData(WordBank)), 4000000);
  int zip = LoadBank("incbin::sowpods_bank_zip.dat");
  std::string embedded(reinterpret_cast<const char*>(BankData(zip)), size_t(BankSize(zip)));
  EnterScratchFolder("rebuild");
  ASSERT_EQ(BuildWordBank(WordList), "");
  EXPECT_TRUE(ReadBytes("sowpods_bank.dat") == loaded);
  EXPECT_TRUE(ReadBytes("sowpods_bank_zip.dat") == embedded);
}

// Lists come from any system: lines end at LF, CR or CR LF.
TEST(BuildWordBank, TrimsUpperCasesAndSkipsUnusableLinesWhateverTheLineEnds) {
  EnterScratchFolder("lines");
  struct Case {
    std::string list;
    std::vector<std::string> words;
  } cases[] = {
      {"  cat \r\nA\n\nABCDEFGHIJKLMNOPQRS\nABCDEFGHIJKLMNOPQR\nzz", {"CAT", "ABCDEFGHIJKLMNOPQR", "ZZ"}},
      {"ONE\rTWO\rTHREE", {"ONE", "TWO", "THREE"}},
      {"ONE\r\nTWO\r\n", {"ONE", "TWO"}},
      {"\xEF\xBB\xBFONE\nTWO\r\r\nTHREE\n\r", {"ONE", "TWO", "THREE"}},
  };
  for (const Case& c : cases) {
    WriteText("sowpods.txt", c.list);
    ASSERT_EQ(BuildWordBank(), "") << c.list;
    int raw = LoadBank("sowpods_bank.dat");
    ASSERT_EQ(BankSize(raw), 4000000);
    std::vector<std::string> words;
    for (int at = 0; PeekInt(raw, at) != 0; at += 12)
      words.push_back(
          UnpackWord(uint32_t(PeekInt(raw, at)), uint32_t(PeekInt(raw, at + 4)), uint32_t(PeekInt(raw, at + 8))));
    EXPECT_EQ(words, c.words) << c.list;
    FreeBank(raw);
  }
  WriteText("sowpods.txt", "ABCDEFGHIJKLMNOPQR");
  ASSERT_EQ(BuildWordBank(), "");
  EXPECT_NE(PeekInt(LoadBank("sowpods_bank.dat"), 8), 0);  // eighteen letters fill the third chunk
}

TEST(BuildWordBank, ShorterListLeavesNoEarlierWordsBehind) {
  LoadEmbeddedBank();
  EnterScratchFolder("shorter");
  EXPECT_GT(Found("*O").size(), 100u);  // searched once on the old bank
  WriteText("sowpods.txt", "ONE\nTWO\n");
  ASSERT_EQ(BuildWordBank(), "");
  EXPECT_EQ(Found("???"), (std::vector<std::string>{"ONE", "TWO"}));
  EXPECT_EQ(Found("*O"), (std::vector<std::string>{"TWO"}));  // nothing kept from the old bank
  EXPECT_TRUE(Found("ZZZS").empty());
  EXPECT_EQ(PeekInt(WordBank, 2 * 12), 0);
  EXPECT_EQ(PeekInt(WordBank, 267750 * 12), 0);
}

TEST(BuildWordBank, BadListsWriteNothing) {
  EnterScratchFolder("bad");
  EXPECT_NE(BuildWordBank(), "");  // no sowpods.txt
  EXPECT_EQ(FileType("sowpods_bank.dat"), 0);
  EXPECT_EQ(FileType("sowpods_bank_zip.dat"), 0);

  WriteText("small.txt", "OLD\n");
  ASSERT_EQ(BuildWordBank("small.txt"), "");
  std::string raw = ReadBytes("sowpods_bank.dat"), zip = ReadBytes("sowpods_bank_zip.dat");
  std::string tooMany;
  for (int i = 0; i < 333334; i++) tooMany += "WORD\n";
  struct Case {
    std::string list, why;
  } cases[] = {
      {"", "has no words"},
      {"\n \r\nA\r\n   B\n" + std::string(19, 'X'), "has no words"},
      {"--\n?!\n", "has no words"},
      {"CAT\nD\0G\n"s, "is not text (byte 0 on line 2)"},
      {"C\0A\0T\0\r\0\n\0"s, "is not text (byte 0 on line 1)"},  // UTF-16
      {"CAT\rDOG\r\x1b[0m\r", "is not text (byte 27 on line 3)"},
      {tooMany, "has more than 333333 words"},
  };
  for (const Case& c : cases) {
    WriteText("sowpods.txt", c.list);
    std::string error = BuildWordBank();
    EXPECT_NE(error.find(c.why), std::string::npos) << error;
    EXPECT_TRUE(ReadBytes("sowpods_bank.dat") == raw && ReadBytes("sowpods_bank_zip.dat") == zip) << c.why;
  }

  tooMany.resize(tooMany.size() - 5);  // exactly a full bank is fine
  WriteText("sowpods.txt", tooMany);
  EXPECT_EQ(BuildWordBank(), "");
  for (const auto& file : std::filesystem::directory_iterator("."))
    EXPECT_NE(file.path().extension(), ".part") << file.path();  // no temporary left over
}

// Bank files from elsewhere (the tool's --bank): either form is taken, and
// anything that is not a whole bank is refused and leaves no bank, rather
// than searching whatever part of it arrived.
TEST(WordBankFile, RawOrCompressedIsTakenAnythingElseRefused) {
  LoadEmbeddedBank();
  std::vector<std::string> cxt = Found("C?T");
  const std::string raw(reinterpret_cast<const char*>(BankData(WordBank)), 4000000);
  int embedded = LoadBank("incbin::sowpods_bank_zip.dat");
  const std::string zip(reinterpret_cast<const char*>(BankData(embedded)), size_t(BankSize(embedded)));
  auto compressed = [](const std::string& bytes) {
    std::string out(compressBound(uLong(bytes.size())), '\0');
    uLongf size = uLongf(out.size());
    compress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(bytes.data()),
             uLong(bytes.size()));
    return out.substr(0, size);
  };
  std::string noise(4000000, '\0');
  uint32_t state = 12345;
  for (char& c : noise) c = char((state = state * 1103515245 + 12345) >> 24);
  std::string badEntry = raw;
  badEntry[267751 * 12 + 3] = char(0x40);  // a chunk's top bits set, past the last word
  std::string zeros(4000000, '\0');
  std::string folder = EnterScratchFolder("bankfile");
  struct Case {
    std::string bytes, why;  // why empty: a good bank
  } cases[] = {
      {raw, ""},
      {zip, ""},
      {"", "is empty"},
      {zip.substr(0, zip.size() / 2), "is not a whole zlib stream"},
      {raw.substr(0, 3999988), "is 3999988 bytes and not compressed"},
      {noise, "holds something other than words at entry 0"},
      {noise.substr(0, 1000), "not compressed"},
      {zip + "junk", "has 4 stray bytes after its zlib stream"},
      {badEntry, "holds something other than words at entry 267751"},
      {compressed(badEntry), "holds something other than words at entry 267751"},
      {zeros, "holds no words"},
      {compressed(zeros), "holds no words"},
      {compressed(raw + "X"), "inflates to more than 4000000 bytes"},
      {compressed(raw.substr(12)), "inflates to 3999988 bytes"},
  };
  for (const Case& c : cases) {
    WriteText("bank.dat", c.bytes);
    std::string why = LoadWordBankFile("bank.dat");
    if (c.why.empty()) {
      EXPECT_EQ(why, "");
      EXPECT_EQ(Found("C?T"), cxt);
    } else {
      EXPECT_NE(why.find(c.why), std::string::npos) << why;
      EXPECT_TRUE(Found("").empty()) << c.why;
    }
  }
  EXPECT_EQ(LoadWordBankFile("missing.dat"), "can't be read");
  EXPECT_TRUE(Found("C?T").empty());
}

// The program carries its bank; if that copy is damaged the run goes on,
// says so once, and no search returns words from half a bank.
TEST(WordBank, DamagedEmbeddedBankIsReportedAndFindsNothing) {
  LoadEmbeddedBank();
  int embedded = LoadBank("incbin::sowpods_bank_zip.dat");
  for (size_t keep : {size_t(BankSize(embedded)) - 100, size_t(0)}) {
    RegisterEmbedded("sowpods_bank_zip.dat", BankData(embedded), keep);
    testing::internal::CaptureStderr();
    LoadWordBank();
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("sowpods_bank_zip.dat"), std::string::npos) << said;
    EXPECT_TRUE(Found("").empty());
    EXPECT_TRUE(Found("C?T").empty());
  }
}

TEST(FindWords, LettersWildcardsAndCase) {
  LoadEmbeddedBank();
  EXPECT_EQ(Found("cat"), std::vector<std::string>{"CAT"});
  std::vector<std::string> cxt = Found("C?T");
  EXPECT_EQ(cxt, Grep("C.T"));
  EXPECT_EQ(Found("C!T"), cxt);
  EXPECT_EQ(Found("c\xc9t"), cxt);  // a byte above 127 is a wildcard too
  EXPECT_EQ(Found("?????????????????Q").size(), 0u);
  EXPECT_EQ(Found("QQQQQQQQQQQQQQQQQQQ"), std::vector<std::string>{});  // 19 characters
  EXPECT_EQ(Found("???????????????????").size(), 0u);
  EXPECT_EQ(Found("??s?a???"), Grep("..S.A..."));
}

TEST(FindWords, EmptyPatternFindsTheEmptyEntriesInRange) {
  LoadEmbeddedBank();
  std::vector<std::string> found = Found("");
  EXPECT_EQ(found.size(), 2250u);
  EXPECT_EQ(found, std::vector<std::string>(2250, ""));
}

TEST(FindWords, OneStarListsShorterExpansionsFirst) {
  LoadEmbeddedBank();
  std::vector<std::string> found = Found("CA*");
  ASSERT_FALSE(found.empty());
  // Shorter first, alphabetical within a length: what a length-then-name
  // sort of the regex matches gives.
  std::vector<std::string> expected = Grep("CA[A-Z]{0,12}");
  std::stable_sort(expected.begin(), expected.end(),
                   [](const std::string& a, const std::string& b) { return a.size() < b.size(); });
  EXPECT_EQ(found, expected);
  std::vector<std::string> plain;
  for (std::string pattern : {"*ING", "Q*", "?X*?", "*"}) {
    plain.clear();
    PlainSearch(pattern, plain);
    EXPECT_EQ(Found(pattern), plain) << pattern;
  }
}

TEST(FindWords, SeveralStarsKeepEveryDuplicateInNestingOrder) {
  LoadEmbeddedBank();
  std::vector<std::string> found = Found("CAT**");
  EXPECT_EQ(std::count(found.begin(), found.end(), "CATS"), 2);
  for (std::string pattern : {"CAT**", "*Z*Z*", "Q?*U*"}) {
    std::vector<std::string> plain;
    PlainSearch(pattern, plain);
    EXPECT_EQ(Found(pattern), plain) << pattern;
    EXPECT_EQ(WordMatchCount(pattern), double(plain.size())) << pattern;
  }
}

// Matches arrive a few at a time (one batch per expansion); growing the list
// to the exact new size on each would copy it over and over.
TEST(FindWords, AppendingMatchesSeldomMovesTheList) {
  LoadEmbeddedBank();
  FindWords("", 1);
  int moves = 0;
  for (int call = 0; call < 100; call++) {
    const WordType* before = WordMatches.data();
    FindWords("CAT*", 0);
    moves += WordMatches.data() != before;
  }
  EXPECT_EQ(WordMatches.size(), 2250 + 100 * WordMatchCount("CAT*"));
  EXPECT_LE(moves, 12);
}

TEST(FindWords, TopLevelReplacesNestedCallsAdd) {
  LoadEmbeddedBank();
  FindWords("CAT", 1);
  FindWords("DOG", 0);
  FindWords("COW", 0);
  ASSERT_EQ(WordMatches.size(), 3u);
  EXPECT_EQ(WordMatches[2].word, "COW");
  FindWords("PIG", 1);
  ASSERT_EQ(WordMatches.size(), 1u);
  EXPECT_EQ(WordMatches[0].word, "PIG");
}

TEST(FindWords, AnyBytesAndStarsEndSafely) {
  LoadEmbeddedBank();
  EXPECT_EQ(FindWords(std::string(1000, 'A'), 1), "");
  EXPECT_TRUE(WordMatches.empty());
  std::string anyBytes;
  for (int c = 1; c < 256; c++) anyBytes += char(c);
  FindWords(anyBytes, 1);
  EXPECT_TRUE(WordMatches.empty());
  FindWords(std::string(1000, '*'), 1);
  EXPECT_TRUE(WordSearchStopped);
  EXPECT_TRUE(WordMatches.empty());
  FindWords("****", 1);  // tens of millions of splits
  EXPECT_TRUE(WordSearchStopped);
  EXPECT_TRUE(WordMatches.empty());
  FindWords("*Q*U*I*X*O*T*I*C*", 1);
  EXPECT_FALSE(WordSearchStopped);
  EXPECT_EQ(WordMatches.size(), WordMatchCount("*Q*U*I*X*O*T*I*C*"));
  std::string manyLetters = "A";
  for (int i = 0; i < 400; i++) manyLetters += "*B";
  FindWords(manyLetters, 1);
  EXPECT_TRUE(WordMatches.empty());
}

TEST(FindWords, NoBankFindsNothing) {
  WordBank = 0;
  EXPECT_EQ(FindWords("CAT", 1), "");
  EXPECT_TRUE(WordMatches.empty());
  EXPECT_EQ(WordMatchCount("C*T"), 0);
}
