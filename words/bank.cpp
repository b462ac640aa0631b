// bank.cpp — packing words, building the bank files and loading the
// embedded bank at start-up.
#include <zlib.h>

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

void LoadWordBank() {
  if (BankSize(WordBank) != WordBankBytes) CreateWordBank();
  int start = Millisecs();
  int zip = LoadBank("incbin::sowpods_bank_zip.dat");
  DebugLog("Loaded Word List : Took " + std::to_string(Millisecs() - start) + " millisecs");
  uLongf size = WordBankBytes;
  if (!zip || uncompress(BankData(WordBank), &size, BankData(zip), uLong(BankSize(zip))) != Z_OK)
    DebugLog("Word List could not be unzipped");
  WordBankVersion++;
  DebugLog("Unzipped Word List : Took " + std::to_string(Millisecs() - start) + " millisecs");
  FreeBank(zip);
}

// The whole list is read and checked before the bank or any file is
// touched, so a bad list leaves the previous bank files as they were.
std::string BuildWordBank(const std::string& wordFile) {
  int in = OpenRead(wordFile);
  if (!in) return "Can't read the word list \"" + wordFile + "\"";
  std::vector<uint32_t> chunks;
  do {
    std::string line = Trim(Upper(ReadLine(in)));
    if (line.size() < 2 || line.size() > 18) continue;
    if (chunks.size() / 3 == size_t(WordBankEntries)) {
      CloseStream(in);
      return "The word list \"" + wordFile + "\" has more than " + std::to_string(WordBankEntries) +
             " words; the bank holds no more";
    }
    for (int c = 0; c < 3; c++) chunks.push_back(uint32_t(PackWordChunk(line, c)));
  } while (!EndOfStream(in));
  CloseStream(in);

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
