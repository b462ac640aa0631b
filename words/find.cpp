// find.cpp — pattern search over the packed word bank.
//
// A pattern without "*" is one pass comparing each entry's three chunks
// under masks. A "*" stands for 0 to 12 unknown letters, and each length
// makes a different pattern; the results list them in that order, shortest
// expansion first. Since a word can fit only the expansion of its own
// length, one pass can test all thirteen at once, sorting hits into one
// bucket per length. With several stars, every star but the last is
// expanded in turn (first star outermost, as the results are ordered) and
// each step narrows the list of entries still in the running, so the work
// follows the number of matches rather than 13 passes per star.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "media/core.h"
#include "words/words.h"

bool WordSearchStopped = false;

namespace {

constexpr int MaxLetters = 18;  // three chunks of six
constexpr int MaxRun = 12;      // letters one "*" stands for, at most
// Deeper than this, the expansion would recurse too far; no one types it.
constexpr int MaxStars = 100;

struct Masks {
  uint32_t value[3] = {0, 0, 0};
  uint32_t mask[3] = {0, 0, 0};
};

struct Search {
  std::vector<std::string> parts;  // the pattern split at its stars
  std::vector<int> lettersFrom;    // letters in parts[i..]
  const uint8_t* bank = nullptr;
  int64_t found = 0;
  bool stopped = false;
};

// Only letters constrain an entry; wildcards and other characters leave
// their position free. Positions past 18 cannot be compared.
Masks MasksOf(const std::string& expanded) {
  Masks m;
  for (size_t q = 0; q < expanded.size() && q < MaxLetters; q++) {
    uint32_t code = uint32_t((unsigned char)expanded[q]) - 64;
    if (code < 1 || code > 26) continue;
    m.value[q / 6] |= code << (5 * (q % 6));
    m.mask[q / 6] |= 31u << (5 * (q % 6));
  }
  return m;
}

// A run of `stars` adjacent stars can share out d letters this many ways
// (each star taking 0 to 12): all the ways, less those where one star takes
// 13 or more (two cannot, with at most 18 letters).
double RunWays(int stars, int d) {
  static const auto table = [] {
    std::vector<std::array<double, MaxLetters + 1>> t(MaxStars + 1);
    for (int r = 1; r <= MaxStars; r++) {
      auto choose = [r](int letters) {
        double c = 1;
        for (int i = 1; i <= letters; i++) c = c * double(r - 1 + i) / i;
        return c;
      };
      for (int n = 0; n <= MaxLetters; n++)
        t[size_t(r)][size_t(n)] = choose(n) - (n > MaxRun ? r * choose(n - MaxRun - 1) : 0);
    }
    return t;
  }();
  return table[size_t(stars)][size_t(d)];
}

void ReadEntry(const uint8_t* bank, int i, uint32_t w[3]) { memcpy(w, bank + size_t(i) * WordEntryBytes, 12); }

bool Fits(const uint32_t w[3], const Masks& m) {
  return ((w[0] & m.mask[0]) == m.value[0]) & ((w[1] & m.mask[1]) == m.value[1]) & ((w[2] & m.mask[2]) == m.value[2]);
}

// Bit j set for each entry block + j (block .. end - 1, at most 64) that
// fits the masks. Four entries are three 16-byte loads; each lane is compared
// under the mask for the chunk it holds, and an entry fits when its three
// lanes do, so the scan runs at about the speed memory delivers the bank.
uint64_t FitsBlock(const uint8_t* bank, int block, int end, const Masks& m) {
  uint64_t fit = 0;
  int i = block;
#ifdef __SSE2__
  const __m128i mask[3] = {_mm_setr_epi32(int(m.mask[0]), int(m.mask[1]), int(m.mask[2]), int(m.mask[0])),
                           _mm_setr_epi32(int(m.mask[1]), int(m.mask[2]), int(m.mask[0]), int(m.mask[1])),
                           _mm_setr_epi32(int(m.mask[2]), int(m.mask[0]), int(m.mask[1]), int(m.mask[2]))};
  const __m128i value[3] = {_mm_setr_epi32(int(m.value[0]), int(m.value[1]), int(m.value[2]), int(m.value[0])),
                            _mm_setr_epi32(int(m.value[1]), int(m.value[2]), int(m.value[0]), int(m.value[1])),
                            _mm_setr_epi32(int(m.value[2]), int(m.value[0]), int(m.value[1]), int(m.value[2]))};
  for (; i + 4 <= end; i += 4) {
    const uint8_t* at = bank + size_t(i) * WordEntryBytes;
    unsigned lanes = 0;
    for (int q = 0; q < 3; q++) {
      __m128i words = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * q));
      __m128i same = _mm_cmpeq_epi32(_mm_and_si128(words, mask[q]), value[q]);
      lanes |= unsigned(_mm_movemask_ps(_mm_castsi128_ps(same))) << (4 * q);
    }
    for (int e = 0; e < 4; e++) fit |= uint64_t(((lanes >> (3 * e)) & 7) == 7) << (i + e - block);
  }
#endif
  for (; i < end; i++) {
    uint32_t w[3];
    ReadEntry(bank, i, w);
    fit |= uint64_t(Fits(w, m)) << (i - block);
  }
  return fit;
}

// The length of the unpacked word: its non-zero letter codes.
// One bit per letter position, then a multiply sums the six bits into the
// top field (each partial sum stays below 32, so no field overflows).
int LetterCount(const uint32_t w[3]) {
  uint32_t n = 0;
  for (int c = 0; c < 3; c++) {
    uint32_t any = (w[c] | w[c] >> 1 | w[c] >> 2 | w[c] >> 3 | w[c] >> 4) & 0x02108421u;
    n += (any * 0x02108421u) >> 25 & 7;
  }
  return int(n);
}

// The entries of the scan range by the length of their word, in bank order,
// for patterns that start with a star. Made on first use and again whenever
// the bank has changed since.
const std::vector<int>* EntriesByLength(const uint8_t* bank) {
  static std::vector<int> byLength[MaxLetters + 1];
  static int builtFor = -1;
  static const uint8_t* builtBank = nullptr;
  if (builtFor != WordBankVersion || builtBank != bank) {
    for (auto& entries : byLength) entries.clear();
    for (int i = 0; i < WordScanEntries; i++) {
      uint32_t w[3];
      ReadEntry(bank, i, w);
      byLength[LetterCount(w)].push_back(i);
    }
    builtFor = WordBankVersion;
    builtBank = bank;
  }
  return byLength;
}

uint32_t CodeAt(const uint32_t w[3], int q) { return (w[q / 6] >> (5 * (q % 6))) & 31; }

// Room for `more` matches. The list grows by doubling, never to the exact
// new size: a search appends once per expansion, and exact growth would copy
// the whole list each time (minutes for "***").
void MakeRoom(size_t more) {
  size_t needed = WordMatches.size() + more;
  if (needed > WordMatches.capacity()) WordMatches.reserve(std::max(needed, 2 * WordMatches.capacity()));
}

void Append(Search& s, const std::vector<int>& hits) {
  if (s.stopped || s.found + int64_t(hits.size()) > WordMatchLimit) {
    s.stopped = true;
    return;
  }
  s.found += int64_t(hits.size());
  MakeRoom(hits.size());
  for (int i : hits) {
    uint32_t w[3];
    ReadEntry(s.bank, i, w);
    WordMatches.push_back(WordType{UnpackWord(w[0], w[1], w[2])});
  }
}

// The last step: head is everything before the last star (already fixed),
// tail what follows it; maxRun 0 when the pattern has no star. Each entry
// can fit only the expansion of its own length, so one pass serves them all.
void Finish(Search& s, const std::string& head, const std::string& tail, int maxRun, const std::vector<int>* entries) {
  Masks first = MasksOf(head);
  Masks expansion[MaxRun + 1];
  int base = int(head.size() + tail.size());
  for (int k = 0; k <= maxRun; k++) expansion[k] = MasksOf(head + std::string(size_t(k), '[') + tail);
  std::vector<int> hits[MaxRun + 1];
  auto test = [&](int i) {
    uint32_t w[3];
    ReadEntry(s.bank, i, w);
    unsigned k = unsigned(LetterCount(w) - base);
    bool fits = Fits(w, first) & (k <= unsigned(maxRun)) & Fits(w, expansion[k <= unsigned(maxRun) ? k : 0]);
    return fits ? int(k) : -1;
  };
  if (entries) {
    for (int i : *entries)
      if (int k = test(i); k >= 0) hits[k].push_back(i);
  } else {
    // Whole bank. With letters before the star, their fixed start is a cheap
    // test of 64 entries at a time that marks the few worth a closer look.
    // A pattern that starts with a star has no fixed start: there the words
    // of each length are tested against the one expansion of that length.
    bool fixedStart = first.mask[0] != 0;
    if (!fixedStart) {
      const std::vector<int>* byLength = EntriesByLength(s.bank);
      for (int k = 0; k <= maxRun && base + k <= MaxLetters; k++) {
        for (int i : byLength[base + k]) {
          uint32_t w[3];
          ReadEntry(s.bank, i, w);
          if (Fits(w, expansion[k])) hits[k].push_back(i);
        }
      }
    } else {
      for (int block = 0; block < WordScanEntries; block += 64) {
        uint64_t fit = FitsBlock(s.bank, block, std::min(block + 64, WordScanEntries), first);
        for (; fit; fit &= fit - 1) {
          int i = block + std::countr_zero(fit);
          if (int k = test(i); k >= 0) hits[k].push_back(i);
        }
      }
    }
  }
  for (int k = 0; k <= maxRun; k++) Append(s, hits[k]);
}

// head covers the pattern up to star number `star` (1-based); expands that
// star and every later one but the last.
void Expand(Search& s, size_t star, const std::string& head, const std::vector<int>& entries) {
  size_t last = s.parts.size() - 1;
  if (star == last) return Finish(s, head, s.parts[last], MaxRun, &entries);
  int starsAfter = int(last - star);
  for (int k = 0; k <= MaxRun && !s.stopped; k++) {
    std::string next = head + std::string(size_t(k), '[') + s.parts[star];
    int shortest = int(next.size()) + s.lettersFrom[star + 1];
    if (shortest > MaxLetters) break;  // and every longer run
    int longest = shortest + MaxRun * starsAfter;
    Masks m = MasksOf(next);
    std::vector<int> left;
    for (int i : entries) {
      uint32_t w[3];
      ReadEntry(s.bank, i, w);
      int n = LetterCount(w);
      if (n >= shortest && n <= longest && Fits(w, m)) left.push_back(i);
    }
    if (left.empty()) continue;
    if (left.size() == entries.size()) {  // nothing ruled out: share the list
      std::vector<int>().swap(left);
      Expand(s, star + 1, next, entries);
    } else {
      Expand(s, star + 1, next, left);
    }
  }
}

// The number of expansions an entry fits: counted position by position over
// the pattern's letter parts and runs of stars, without expanding anything.
double ExpansionsFitted(const Search& s, const uint32_t w[3], int n) {
  double ways[MaxLetters + 1] = {1};
  int stars = 0;  // the run of stars before the current part
  for (size_t p = 0; p < s.parts.size(); p++) {
    bool last = p + 1 == s.parts.size();
    const std::string& letters = s.parts[p];
    if (p > 0 && letters.empty() && !last) {  // stars side by side
      stars++;
      continue;
    }
    double next[MaxLetters + 1] = {};
    if (stars == 1) {  // a lone star: the sum over the last MaxRun + 1 positions
      double window = 0;
      for (int pos = 0; pos <= n; pos++) {
        window += ways[pos] - (pos > MaxRun ? ways[pos - MaxRun - 1] : 0);
        next[pos] = window;
      }
      memcpy(ways, next, sizeof ways);
      memset(next, 0, sizeof next);
    } else if (stars) {
      for (int pos = 0; pos <= n; pos++)
        if (ways[pos] > 0)
          for (int d = 0; pos + d <= n; d++) next[pos + d] += ways[pos] * RunWays(stars, d);
      memcpy(ways, next, sizeof ways);
      memset(next, 0, sizeof next);
    }
    int length = int(letters.size());
    for (int pos = 0; pos + length <= n; pos++) {
      bool fits = ways[pos] > 0;
      for (int t = 0; t < length && fits; t++) {
        uint32_t code = uint32_t((unsigned char)letters[size_t(t)]) - 64;
        fits = code < 1 || code > 26 || CodeAt(w, pos + t) == code;
      }
      if (fits) next[pos + length] = ways[pos];
    }
    memcpy(ways, next, sizeof ways);
    stars = last ? 0 : 1;
  }
  return ways[n];
}

// Whether the letter parts between the first and the last star can lie in
// the word in order at all, each placed as early as it fits (a star's
// 12-letter limit aside): most words fail this cheap test, and only the
// rest are counted in full.
bool PartsInOrder(const Search& s, const uint32_t w[3], int n) {
  int at = int(s.parts[0].size()), end = n - int(s.parts.back().size());
  for (size_t p = 1; p + 1 < s.parts.size(); p++) {
    const std::string& letters = s.parts[p];
    int length = int(letters.size());
    bool placed = false;
    for (; !placed && at + length <= end; at++) {
      placed = true;
      for (int t = 0; t < length && placed; t++) {
        uint32_t code = uint32_t((unsigned char)letters[size_t(t)]) - 64;
        placed = code < 1 || code > 26 || CodeAt(w, at + t) == code;
      }
    }
    if (!placed) return false;
    at += length - 1;  // the loop stepped once past the start it placed
  }
  return at <= end;
}

// Entries that fit at least one expansion, found cheaply where possible
// (length range, the part before the first star at the start and the part
// after the last one at the end), with the number of matches they give.
std::vector<int> Contenders(const Search& s, double* expected) {
  int stars = int(s.parts.size()) - 1;
  int letters = s.lettersFrom[0];
  Masks m = MasksOf(s.parts[0]);
  const std::string& tail = s.parts.back();
  std::vector<int> left;
  *expected = 0;
  // With no letters between the first star and the last, every entry of one
  // length that passed the checks below fits the same number of ways.
  bool lettersBetween = false;
  for (size_t p = 1; p + 1 < s.parts.size(); p++)
    for (char c : s.parts[p]) lettersBetween |= c >= 'A' && c <= 'Z';
  double waysOfLength[MaxLetters + 1];
  std::fill(std::begin(waysOfLength), std::end(waysOfLength), -1.0);
  auto consider = [&](int i) {
    uint32_t w[3];
    ReadEntry(s.bank, i, w);
    int n = LetterCount(w);
    if (n < letters || n > letters + MaxRun * stars || !Fits(w, m)) return;
    for (size_t t = 0; t < tail.size(); t++) {
      uint32_t code = uint32_t((unsigned char)tail[t]) - 64;
      if (code >= 1 && code <= 26 && CodeAt(w, n - int(tail.size()) + int(t)) != code) return;
    }
    // One star: the checks above leave exactly the expansion of length n.
    if (stars > 1 && !PartsInOrder(s, w, n)) return;
    double ways = 1;
    if (stars > 1 && lettersBetween) ways = ExpansionsFitted(s, w, n);
    else if (stars > 1) ways = waysOfLength[n] >= 0 ? waysOfLength[n] : (waysOfLength[n] = ExpansionsFitted(s, w, n));
    if (ways <= 0) return;
    left.push_back(i);
    *expected += ways;
  };
  if (m.mask[0] == 0) {
    for (int i = 0; i < WordScanEntries; i++) consider(i);
  } else {  // letters first: a block test sets aside all but the few that start right
    for (int block = 0; block < WordScanEntries; block += 64)
      for (uint64_t fit = FitsBlock(s.bank, block, std::min(block + 64, WordScanEntries), m); fit; fit &= fit - 1)
        consider(block + std::countr_zero(fit));
  }
  return left;
}

Search Parse(const std::string& pattern) {
  Search s;
  std::string text = Replace(Upper(pattern), "?", "[");
  size_t from = 0;
  for (size_t star; (star = text.find('*', from)) != std::string::npos; from = star + 1)
    s.parts.push_back(text.substr(from, star - from));
  s.parts.push_back(text.substr(from));
  s.lettersFrom.assign(s.parts.size() + 1, 0);
  for (size_t i = s.parts.size(); i-- > 0;) s.lettersFrom[i] = s.lettersFrom[i + 1] + int(s.parts[i].size());
  return s;
}

}  // namespace

std::string FindWords(const std::string& pattern, int top) {
  if (top == 1) WordMatches.clear();
  int start = Millisecs();
  size_t before = WordMatches.size();
  Search s = Parse(pattern);
  s.bank = BankData(WordBank);
  // Every expansion is at least this long, and no entry holds more than
  // 18 letters.
  if (s.bank && BankSize(WordBank) >= WordBankBytes && s.lettersFrom[0] <= MaxLetters) {
    if (s.parts.size() == 1) {
      Finish(s, s.parts[0], "", 0, nullptr);
    } else if (s.parts.size() == 2) {
      Finish(s, s.parts[0], s.parts[1], MaxRun, nullptr);
    } else {
      // Counted first, so that a search that would pass the limit stops
      // before collecting anything.
      double expected = 0;
      std::vector<int> left;
      if (s.parts.size() - 1 > size_t(MaxStars)) s.stopped = true;
      else left = Contenders(s, &expected);
      if (expected > double(WordMatchLimit)) s.stopped = true;
      if (!left.empty() && !s.stopped) {
        MakeRoom(size_t(expected));  // the count is exact: one allocation
        Expand(s, 1, s.parts[0], left);
      }
    }
  }
  if (s.stopped) {
    WordMatches.resize(before);
    DebugLog("Search stopped: more than " + std::to_string(WordMatchLimit) + " matches or " + std::to_string(MaxStars) +
             " stars");
  }
  WordSearchStopped = s.stopped;
  if (top == 1) DebugLog("Check took " + std::to_string(Millisecs() - start) + " millisecs");
  return "";
}

double WordMatchCount(const std::string& pattern) {
  Search s = Parse(pattern);
  s.bank = BankData(WordBank);
  if (!s.bank || BankSize(WordBank) < WordBankBytes || s.lettersFrom[0] > MaxLetters) return 0;
  if (s.parts.size() - 1 > size_t(MaxStars)) return HUGE_VAL;
  double expected = 0;
  Contenders(s, &expected);
  return expected;
}
