// main.cpp — wordbank: packs a word list into the bank files and searches a
// bank from the command line, with the program's own word-list code.
//
//   wordbank build [WORDS.txt]                 (default sowpods.txt)
//   wordbank find PATTERN [--bank FILE] [--force]
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "media/media.h"
#include "words/words.h"

namespace {

// Longer lists than this need --force.
constexpr double PatientLines = 1000000;
// Collecting and printing one match, as measured on a 2-core desktop with
// the list going to a file ("**", 2.6 million lines: 0.36 s in all, 0.04 s
// of it counting). A terminal shows lines more slowly than this.
constexpr double SecondsPerLine = 1.5e-7;

int Usage() {
  fprintf(stderr,
          "usage: wordbank build [WORDS.txt]\n"
          "       wordbank find PATTERN [--bank FILE] [--force]\n");
  return 2;
}

int Build(const std::string& wordFile) {
  std::string error = BuildWordBank(wordFile);
  if (!error.empty()) {
    fprintf(stderr, "wordbank: %s\n", error.c_str());
    return 1;
  }
  printf("Wrote sowpods_bank.dat and sowpods_bank_zip.dat\n");
  return 0;
}

// The bank in the current folder wins; otherwise the one the build made.
std::string DefaultBank() {
  if (FileType("sowpods_bank_zip.dat") == 1) return "sowpods_bank_zip.dat";
  return std::string(PLIMBO_WORDBANK_DIR) + "/sowpods_bank_zip.dat";
}

// Takes a raw bank (exactly 4,000,000 bytes) as it is, or inflates a
// compressed one the way the program does at start-up.
bool LoadBankFile(const std::string& path) {
  int file = LoadBank(path);  // kept: the embedded entry points into it
  if (!file) return false;
  CreateWordBank();
  if (BankSize(file) == WordBankBytes) {
    memcpy(BankData(WordBank), BankData(file), WordBankBytes);
    WordBankVersion++;
    return true;
  }
  RegisterEmbedded("sowpods_bank_zip.dat", BankData(file), size_t(BankSize(file)));
  LoadWordBank();
  return true;
}

int Find(const std::string& pattern, const std::string& bank, bool force) {
  if (!LoadBankFile(bank)) {
    fprintf(stderr, "wordbank: can't read the bank \"%s\"\n", bank.c_str());
    return 1;
  }
  // Stars multiply the matches (every split of a word counts), so say
  // what is coming before listing it.
  if (pattern.find('*') != std::string::npos) {
    auto start = std::chrono::steady_clock::now();
    double matches = WordMatchCount(pattern);
    if (std::isinf(matches)) {
      fprintf(stderr, "wordbank: too many stars for a search\n");
      return 1;
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // With several stars the search counts once more before collecting.
    fprintf(stderr, "This pattern gives %.0f matches (about %.1f seconds)\n", matches,
            2 * seconds + matches * SecondsPerLine);
    if (matches > double(WordMatchLimit)) {
      fprintf(stderr, "wordbank: more than %lld matches; narrow the pattern\n", (long long)WordMatchLimit);
      return 1;
    }
    if (matches > PatientLines && !force) {
      fprintf(stderr, "wordbank: that is a long list; add --force to print it\n");
      return 1;
    }
  }
  FindWords(pattern, 1);
  if (WordSearchStopped) {
    fprintf(stderr, "wordbank: too many matches (more than %lld) or stars; nothing listed\n",
            (long long)WordMatchLimit);
    return 1;
  }
  for (const WordType& match : WordMatches) printf("%s\n", match.word.c_str());
  printf("%zu matches\n", WordMatches.size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  std::string command = argv[1];
  if (command == "build" && argc <= 3) return Build(argc == 3 ? argv[2] : "sowpods.txt");
  if (command != "find" || argc < 3) return Usage();
  std::string pattern = argv[2], bank = DefaultBank();
  bool force = false;
  for (int i = 3; i < argc; i++) {
    if (strcmp(argv[i], "--force") == 0) force = true;
    else if (strcmp(argv[i], "--bank") == 0 && i + 1 < argc) bank = argv[++i];
    else return Usage();
  }
  return Find(pattern, bank, force);
}
