// replay_test.cpp — every seed and every kept finding of each fuzz target,
// run through the target's own entry in the normal sanitizer build, so a
// finding that comes back fails the tests even where there is no clang.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/fuzz/fuzz.h"

namespace {

struct Target {
  const char* name;  // its folders in tests/fuzz/corpus/ and tests/fuzz/regressions/
  int (*entry)(const uint8_t*, size_t);
};

// Every target of tests/fuzz/, by its file name.
const Target Targets[] = {
    {"fields", FuzzFields}, {"font", FuzzFont},     {"numbers", FuzzNumbers},   {"png", FuzzPng},
    {"scores", FuzzScores}, {"script", FuzzScript}, {"settings", FuzzSettings}, {"song", FuzzSong},
    {"wav", FuzzWav},       {"words", FuzzWords},
};

std::vector<std::filesystem::path> Inputs(const Target& target) {
  namespace fs = std::filesystem;
  std::vector<fs::path> inputs;
  const fs::path fuzz = fs::path(PLIMBO_SOURCE_DIR) / "tests" / "fuzz";
  for (const fs::path& folder : {fuzz / "corpus" / target.name, fuzz / "regressions" / target.name})
    if (fs::is_directory(folder))
      for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) inputs.push_back(entry.path());
  // The fonts are the game's own, from the data folder the build makes.
  if (std::string(target.name) == "font")
    for (const auto& entry : fs::directory_iterator(fs::path(PLIMBO_BINARY_DIR) / "Files" / "Common"))
      if (entry.path().extension() == ".ttf") inputs.push_back(entry.path());
  return inputs;
}

class Replay : public ::testing::TestWithParam<Target> {};

TEST_P(Replay, SeedsAndFindings) {
  auto inputs = Inputs(GetParam());
  EXPECT_FALSE(inputs.empty());
  for (const auto& path : inputs) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::fprintf(stderr, "replaying %s\n", path.c_str());  // named before any crash report
    GetParam().entry(bytes.data(), bytes.size());
  }
}

INSTANTIATE_TEST_SUITE_P(Fuzz, Replay, ::testing::ValuesIn(Targets),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
