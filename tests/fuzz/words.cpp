// words.cpp — any bytes as a word pattern on the game's own bank: the
// search gives as many matches as its count promises, and a pattern past
// the match limit stops before collecting anything.
#include <cmath>

#include "media/media.h"
#include "tests/fuzz/fuzz.h"
#include "words/words.h"

namespace {

// Searches that collect more than this are only counted: they are correct
// or not at any size, and each million matches costs a second here.
constexpr double CollectedAtMost = 200000;

}  // namespace

int FuzzWords(const uint8_t* data, size_t size) {
  static const bool loaded = [] {
    RegisterWordBankFile();
    LoadWordBank();
    return WordBank != 0;
  }();
  FUZZ_CHECK(loaded, "the embedded word bank did not load");
  std::string pattern(reinterpret_cast<const char*>(data), size);
  double expected = WordMatchCount(pattern);
  if (expected > double(WordMatchLimit)) {
    FindWords(pattern, 1);
    FUZZ_CHECK(WordSearchStopped && WordMatches.empty(), "a search past the limit collected matches");
  } else if (expected <= CollectedAtMost) {
    FindWords(pattern, 1);
    FUZZ_CHECK(!WordSearchStopped, "a search within the limit stopped");
    FUZZ_CHECK(double(WordMatches.size()) == expected,
               std::to_string(WordMatches.size()) + " matches where " + std::to_string(expected) + " were counted");
  }
  return 0;
}
