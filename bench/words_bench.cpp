// words_bench.cpp — loading the word bank (inflated at start-up, or a bank
// file as the wordbank tool takes it) and pattern search speed, from a few
// matches to millions, with grep on the text list alongside for scale.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "media/media.h"
#include "words/words.h"

namespace {

void EnsureBank() {
  static bool loaded = [] {
    RegisterWordBankFile();
    CreateWordBank();
    LoadWordBank();
    return true;
  }();
  (void)loaded;
}

void BM_LoadWordBank(benchmark::State& state) {
  EnsureBank();
  for (auto _ : state) LoadWordBank();
}
BENCHMARK(BM_LoadWordBank)->Unit(benchmark::kMillisecond);

void BM_FindWords(benchmark::State& state, const char* pattern) {
  EnsureBank();
  for (auto _ : state) FindWords(pattern, 1);
  state.counters["matches"] = double(WordMatches.size());
}
BENCHMARK_CAPTURE(BM_FindWords, NoStar_CxT, "C?T")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindWords, NoStar_QUIXOTIC, "QUIXOTIC")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindWords, OneStar_CAx, "CA*")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindWords, OneStar_xING, "*ING")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindWords, OneStar_xZZ, "*ZZ")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindWords, TwoStars_CxTxS, "C*T*S")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindWords, FiveStars_xAxExIxOxUx, "*A*E*I*O*U*")->Unit(benchmark::kMillisecond);
// Millions of matches (every split of every word): the cost is in
// collecting them, which must stay linear in their number.
BENCHMARK_CAPTURE(BM_FindWords, TwoStars_xx_2_6M, "**")
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_FindWords, ThreeStars_xxx_15_7M, "***")
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(2);

// What the wordbank tool does before a search: take a raw bank file as it
// lies (mapped and checked) or inflate a compressed one.
void BM_LoadWordBankFile(benchmark::State& state, const char* name) {
  EnsureBank();
  std::string path = "/tmp/plimbo_bench_" + std::string(name);
  if (std::string(name) == "raw") {
    SaveBank(WordBank, path);
  } else {
    int zip = LoadBank("incbin::sowpods_bank_zip.dat");
    SaveBank(zip, path);
    FreeBank(zip);
  }
  for (auto _ : state)
    if (!LoadWordBankFile(path).empty()) state.SkipWithError("bank refused");
  DeleteFile(path);
  LoadWordBank();
}
BENCHMARK_CAPTURE(BM_LoadWordBankFile, raw, "raw")->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_LoadWordBankFile, compressed, "zip")->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// The same searches as regular expressions over the text list, whole
// process included: what a shell user would otherwise run.
void BM_Grep(benchmark::State& state, const char* regex) {
  std::string here = __FILE__;  // the list sits beside bench/ in the source tree
  std::string list = here.substr(0, here.rfind('/')) + "/../data/sowpods.txt";
  std::string command = std::string("grep -cxE '") + regex + "' " + list + " > /dev/null";
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError("grep failed");
}
BENCHMARK_CAPTURE(BM_Grep, CxT, "C.T")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Grep, CAx, "CA[A-Z]{0,12}")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
