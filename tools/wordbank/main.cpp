// main.cpp — wordbank: packs a word list into the bank files and searches a
// bank from the command line, with the program's own word-list code.
//
//   wordbank build [WORDS.txt]                 (default sowpods.txt)
//   wordbank find PATTERN [--bank FILE] [--force]
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "media/core.h"
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

// Says what is wrong with a bank that cannot be used.
bool LoadBankFile(const std::string& path) {
  std::string fault = LoadWordBankFile(path);
  if (!fault.empty()) fprintf(stderr, "wordbank: the bank \"%s\" %s\n", path.c_str(), fault.c_str());
  return fault.empty();
}

// The bank in the current folder wins; then the one installed with the tool
// (<prefix>/bin/wordbank finds <prefix>/share/plimbo-direr/); otherwise the
// one the build made, raw when it is there and sound, so that a search
// neither inflates nor copies it.
bool LoadDefaultBank() {
  if (FileType("sowpods_bank_zip.dat") == 1) return LoadBankFile("sowpods_bank_zip.dat");
  std::string installed = ProgramFolder() + "../share/plimbo-direr/sowpods_bank_zip.dat";
  if (FileType(installed) == 1) return LoadBankFile(installed);
  std::string raw = std::string(PLIMBO_WORDBANK_DIR) + "/sowpods_bank.dat";
  std::string zip = std::string(PLIMBO_WORDBANK_DIR) + "/sowpods_bank_zip.dat";
  if (FileType(raw) == 1) {
    std::string fault = LoadWordBankFile(raw);
    if (fault.empty()) return true;
    fprintf(stderr, "wordbank: the bank \"%s\" %s; using the compressed one\n", raw.c_str(), fault.c_str());
  }
  return LoadBankFile(zip);
}

int Find(const std::string& pattern, const std::string& bank, bool force) {
  if (!(bank.empty() ? LoadDefaultBank() : LoadBankFile(bank))) return 1;
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
  std::string pattern = argv[2], bank;  // none named: the default
  bool force = false;
  for (int i = 3; i < argc; i++) {
    if (strcmp(argv[i], "--force") == 0) force = true;
    else if (strcmp(argv[i], "--bank") == 0 && i + 1 < argc) bank = argv[++i];
    else return Usage();
  }
  return Find(pattern, bank, force);
}
