// fuzz.h — the fuzz targets: each entry takes any bytes as one of the files
// (or texts) the game reads, and must neither crash nor break a promise the
// reader makes. libFuzzer drives them in the clang build (fuzzer_main.cpp,
// scripts/fuzz.sh); replay_test.cpp runs every seed and every kept finding
// through the same entries in the normal sanitizer build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

int FuzzFields(const uint8_t* data, size_t size);
int FuzzFont(const uint8_t* data, size_t size);
int FuzzNumbers(const uint8_t* data, size_t size);
int FuzzPng(const uint8_t* data, size_t size);
int FuzzScores(const uint8_t* data, size_t size);
int FuzzScript(const uint8_t* data, size_t size);
int FuzzSettings(const uint8_t* data, size_t size);
int FuzzSong(const uint8_t* data, size_t size);
int FuzzWav(const uint8_t* data, size_t size);
int FuzzWords(const uint8_t* data, size_t size);

// The input registered as an embedded file; returns the "incbin::" name the
// loaders take. The bytes are not copied: valid until the entry returns.
std::string EmbedInput(const std::string& name, const uint8_t* data, size_t size);
// A headless display on the software renderer, opened on first use (and
// again whenever something closed it).
void OpenFuzzDisplay();
// A folder of this process for files a target writes and reads back.
std::string FuzzScratchFolder();
// A broken promise: names it on standard error and aborts, so the fuzzer
// keeps the input and the replay fails.
[[noreturn]] void FuzzFailure(const std::string& what);
#define FUZZ_CHECK(condition, what)      \
  do {                                   \
    if (!(condition)) FuzzFailure(what); \
  } while (0)
