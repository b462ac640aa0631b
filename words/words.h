// words.h — the embedded word list and its pattern search.
//
// The word list lives in WordBank as fixed 12-byte entries: three 32-bit
// little-endian chunks of six 5-bit letter codes ("A" = 1 .. "Z" = 26, 0 for
// no letter). A search compares whole chunks under bit masks, so a pass over
// the bank does no string work. The program carries the bank compressed
// ("sowpods_bank_zip.dat", one zlib stream) and inflates it once at start-up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct WordType {
  std::string word;
};

constexpr int WordBankBytes = 4000000;
constexpr int WordEntryBytes = 12;
constexpr int WordBankEntries = WordBankBytes / WordEntryBytes;  // 333,333
constexpr int WordScanEntries = 270001;                          // entries 0..270,000 are searched
// A search that would collect more matches than this stops and keeps none:
// patterns full of stars list every word in countless splits and would
// otherwise exhaust memory. Every pattern of up to three stars fits ("***"
// alone gives 15.7 million).
constexpr int64_t WordMatchLimit = 20000000;

extern int WordBank;                       // bank handle, WordBankBytes long
extern int WordBankVersion;                // changes whenever the bank's contents do
extern std::vector<WordType> WordMatches;  // results of FindWords
// Set when the last FindWords gave up (over WordMatchLimit matches, or more
// stars than it expands) and added nothing.
extern bool WordSearchStopped;

// Registers the compressed bank as the embedded file "sowpods_bank_zip.dat".
// Defined by the plimbo_wordbank_blob library, which the build makes from the
// word list; programs linked without it have no embedded bank.
void RegisterWordBankFile();

void CreateWordBank();  // a zeroed WordBank and an empty WordMatches
// Inflates "incbin::sowpods_bank_zip.dat" into WordBank. A damaged one is
// logged with LogFailure and leaves no bank (WordBank 0: searches find nothing).
void LoadWordBank();
// Makes a bank file the WordBank: a raw one (exactly WordBankBytes) is used
// in place, mapped rather than read; any other is inflated. Returns "" when
// done, otherwise what is wrong with the file, and leaves no bank.
std::string LoadWordBankFile(const std::string& path);
// Fills WordBank from a word file, one word per line, and writes
// "sowpods_bank.dat" and "sowpods_bank_zip.dat" in the current folder.
// Returns "" when done, otherwise why nothing was written.
std::string BuildWordBank(const std::string& wordFile = "sowpods.txt");

// The checks behind the three above, on bytes in memory. Each returns "" when
// all is well, otherwise what is wrong, worded to follow a file's name.
// A raw bank: exactly WordBankBytes, no chunk a built bank cannot hold (top
// bits set, codes above 27), and at least one word.
std::string WordBankFault(const uint8_t* bank, size_t size);
// One zlib stream, nothing after it, inflating to exactly WordBankBytes
// (into `bank`) of valid raw bank.
std::string InflateWordBank(const uint8_t* zip, size_t size, uint8_t* bank);
// A word list as three chunks per usable line (lines end at LF, CR or CR LF).
// Refuses binary content, more than WordBankEntries words, and a list
// without a single word.
std::string PackWordList(const uint8_t* text, size_t size, std::vector<uint32_t>& chunks);

int32_t PackWordChunk(const std::string& text, int chunk);  // chunk 0, 1 or 2
std::string UnpackWord(uint32_t w0, uint32_t w1, uint32_t w2);

// "?" or any non-letter matches one letter, "*" a run of 0 to 12 letters.
// top = 1 empties WordMatches first and logs the time taken; top = 0 adds.
// Always returns "".
std::string FindWords(const std::string& pattern, int top);
// How many matches FindWords would give, duplicates included, counted in
// one pass without collecting them (HUGE_VAL past the stars it expands).
double WordMatchCount(const std::string& pattern);
