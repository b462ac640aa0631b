// bank.cpp — packing words, building the bank files, loading the embedded
// bank at start-up or a bank file for the wordbank tool, and the checks that
// keep a damaged bank or word list from being taken for a good one.
#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "media/core.h"
#include "words/words.h"

int WordBank = 0;
int WordBankVersion = 0;
std::vector<WordType> WordMatches;

void CreateWordBank() {
  if (WordBank) FreeBank(WordBank);
  WordBank = CreateBank(WordBankBytes);
  WordBankVersion++;
  WordMatches.clear();
}

int32_t PackWordChunk(const std::string& text, int chunk) {
  if (chunk < 0) return 0;
  std::string letters = Mid(Upper(Replace(text, "?", "[")), chunk * 6 + 1, 6);
  uint32_t packed = 0;
  for (size_t p = 0; p < letters.size(); p++) {
    int code = (unsigned char)letters[p] - 64;
    if (code >= 1 && code <= 27) packed |= uint32_t(code) << (5 * p);
  }
  return int32_t(packed);
}

std::string UnpackWord(uint32_t w0, uint32_t w1, uint32_t w2) {
  char letters[18];
  size_t length = 0;
  for (uint32_t w : {w0, w1, w2})
    for (int p = 0; p < 6; p++) {
      uint32_t code = (w >> (5 * p)) & 31;
      if (code) letters[length++] = char(code + 64);
    }
  return std::string(letters, length);
}

// Every chunk a built bank can hold: the top two bits clear and no 5-bit
// code above 27 (a code of 28 or more has its three high bits set, which
// shows in w & w >> 1 & w >> 2 at each code's third bit).
static bool ChunkFits(uint32_t w) { return (w >> 30 | (w & w >> 1 & w >> 2 & 0x08421084u)) == 0; }

std::string WordBankFault(const uint8_t* bank, size_t size) {
  if (size != size_t(WordBankBytes))
    return "is " + std::to_string(size) + " bytes, not " + std::to_string(WordBankBytes);
  // A branch-free pass in blocks (so it runs at memory speed); only a block
  // that fails is searched for the entry to name.
  constexpr size_t Block = 1536;  // chunks, a whole number of entries
  constexpr size_t Chunks = size_t(WordBankEntries) * 3;
  uint32_t any = 0;
  for (size_t from = 0; from < Chunks; from += Block) {
    size_t to = std::min(from + Block, Chunks);
    uint32_t bad = 0;
    for (size_t c = from; c < to; c++) {
      uint32_t w;
      memcpy(&w, bank + 4 * c, 4);
      bad |= w >> 30 | (w & w >> 1 & w >> 2 & 0x08421084u);
      any |= w;
    }
    if (bad == 0) continue;
    for (size_t c = from;; c++) {
      uint32_t w;
      memcpy(&w, bank + 4 * c, 4);
      if (!ChunkFits(w)) return "holds something other than words at entry " + std::to_string(c / 3);
    }
  }
  return any ? "" : "holds no words";
}

std::string InflateWordBank(const uint8_t* zip, size_t size, uint8_t* bank) {
  if (size == 0) return "is empty";
  // A zlib stream opens with a method byte and a check byte, together a multiple of 31.
  if (size < 2 || (zip[0] & 15) != 8 || (zip[0] << 8 | zip[1]) % 31 != 0)
    return "is " + std::to_string(size) + " bytes and not compressed (a raw bank is exactly " +
           std::to_string(WordBankBytes) + ")";
  uLongf produced = WordBankBytes;
  uLong used = uLong(size);
  int result = uncompress2(bank, &produced, zip, &used);
  if (result == Z_BUF_ERROR) return "inflates to more than " + std::to_string(WordBankBytes) + " bytes";
  if (result != Z_OK) return "is not a whole zlib stream (cut short or damaged)";
  if (produced != uLongf(WordBankBytes))
    return "inflates to " + std::to_string(produced) + " bytes, not " + std::to_string(WordBankBytes);
  if (used != size) return "has " + std::to_string(size - used) + " stray bytes after its zlib stream";
  return WordBankFault(bank, WordBankBytes);
}

// After a failure nothing is searched: a partly inflated bank would give
// wrong answers, where no bank gives none.
static void DropWordBank() {
  FreeBank(WordBank);
  WordBank = 0;
  WordBankVersion++;
}

void LoadWordBank() {
  if (BankSize(WordBank) != WordBankBytes) CreateWordBank();
  int start = Millisecs();
  int zip = LoadBank("incbin::sowpods_bank_zip.dat");
  DebugLog("Loaded Word List : Took " + std::to_string(Millisecs() - start) + " millisecs");
  std::string fault =
      zip ? InflateWordBank(BankData(zip), size_t(BankSize(zip)), BankData(WordBank)) : "is not in the program";
  WordBankVersion++;
  DebugLog("Unzipped Word List : Took " + std::to_string(Millisecs() - start) + " millisecs");
  FreeBank(zip);
  if (!fault.empty()) {
    LogFailure("The embedded word list sowpods_bank_zip.dat " + fault + "; word searches will find nothing");
    DropWordBank();
  }
}

// A raw bank is searched where it lies in the file, so a run costs no
// inflating and no copy; a compressed one is inflated once into a new bank.
std::string LoadWordBankFile(const std::string& path) {
  int file = MapBank(path);
  std::string fault;
  if (!file) {
    fault = "can't be read";
  } else if (BankSize(file) == WordBankBytes) {
    fault = WordBankFault(BankData(file), WordBankBytes);
    if (fault.empty()) {
      FreeBank(WordBank);
      WordBank = file;
      WordBankVersion++;
      return "";
    }
  } else {
    CreateWordBank();
    fault = InflateWordBank(BankData(file), size_t(BankSize(file)), BankData(WordBank));
  }
  FreeBank(file);
  if (!fault.empty()) DropWordBank();
  WordBankVersion++;
  return fault;
}

std::string PackWordList(const uint8_t* text, size_t size, std::vector<uint32_t>& chunks) {
  chunks.clear();
  size_t at = 0, words = 0;
  if (size >= 3 && memcmp(text, "\xEF\xBB\xBF", 3) == 0) at = 3;  // a UTF-8 mark is no part of a word
  // Lines end at LF, CR or CR LF, whichever system wrote the list. The
  // last line need not end; an empty file is one empty line.
  for (size_t line = 1; at <= size; line++) {
    size_t end = at;
    for (; end < size && text[end] != '\n' && text[end] != '\r'; end++)
      if (text[end] < 9 || (text[end] > 13 && text[end] < 32))  // NUL, or a control no text holds
        return "is not text (byte " + std::to_string(text[end]) + " on line " + std::to_string(line) + ")";
    std::string word = Trim(Upper(std::string(reinterpret_cast<const char*>(text) + at, end - at)));
    at = end + (end + 1 < size && text[end] == '\r' && text[end + 1] == '\n' ? 2 : 1);
    if (word.size() < 2 || word.size() > 18) continue;
    if (chunks.size() / 3 == size_t(WordBankEntries))
      return "has more than " + std::to_string(WordBankEntries) + " words; the bank holds no more";
    for (int c = 0; c < 3; c++) chunks.push_back(uint32_t(PackWordChunk(word, c)));
    words += std::any_of(word.begin(), word.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
  }
  return words ? "" : "has no words (lines of 2 to 18 characters with letters)";
}

// The whole list is read and checked before the bank or any file is
// touched, so a bad list leaves the previous bank files as they were.
std::string BuildWordBank(const std::string& wordFile) {
  int in = LoadBank(wordFile);
  if (!in) return "Can't read the word list \"" + wordFile + "\"";
  std::vector<uint32_t> chunks;
  std::string fault = PackWordList(BankData(in), size_t(BankSize(in)), chunks);
  FreeBank(in);
  if (!fault.empty()) return "The word list \"" + wordFile + "\" " + fault;

  // Zero the whole block first: a shorter list must not leave words of an
  // earlier bank behind its last entry.
  if (BankSize(WordBank) != WordBankBytes) CreateWordBank();
  uint8_t* bank = BankData(WordBank);
  memset(bank, 0, WordBankBytes);
  for (size_t i = 0; i < chunks.size(); i++) PokeInt(WordBank, int(i * 4), int32_t(chunks[i]));
  WordBankVersion++;

  uLongf zipSize = compressBound(WordBankBytes);
  int zip = CreateBank(int(zipSize));
  bool ok = compress(BankData(zip), &zipSize, bank, WordBankBytes) == Z_OK;
  std::string error;
  if (!ok) {
    error = "Can't compress the word bank";
  } else if (!SaveBank(WordBank, "sowpods_bank.dat")) {
    error = "Can't write sowpods_bank.dat";
  } else {
    ResizeBank(zip, int(zipSize));
    if (!SaveBank(zip, "sowpods_bank_zip.dat")) {
      DeleteFile("sowpods_bank.dat");  // the pair must match
      error = "Can't write sowpods_bank_zip.dat";
    }
  }
  FreeBank(zip);
  return error;
}
