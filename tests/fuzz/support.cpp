// support.cpp — what the fuzz targets share: embedded input, the display,
// a scratch folder and the failure report.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "media/media.h"
#include "tests/fuzz/fuzz.h"

std::string EmbedInput(const std::string& name, const uint8_t* data, size_t size) {
  RegisterEmbedded(name, data, size);
  return "incbin::" + name;
}

// The size the game opens before its own mode is set; small, as every
// image and font a target loads becomes a texture.
void OpenFuzzDisplay() {
  if (DisplayOpen()) return;
  StartMedia(MediaConfig{true, true});
  ChooseRenderer(RENDERER_DX7);
  if (!OpenDisplay(320, 240, 0, 60)) FuzzFailure("no headless display");
}

namespace {

// Made on first use, removed when the process ends normally. In memory
// where the system offers it: every file is synced as it is saved, and a
// disk would make that the whole cost of a run.
std::filesystem::path ScratchRoot() {
  std::error_code error;
  return std::filesystem::is_directory("/dev/shm", error) ? "/dev/shm" : std::filesystem::temp_directory_path();
}

struct Scratch {
  std::filesystem::path path = ScratchRoot() / ("plimbo_fuzz_" + std::to_string(::getpid()));
  Scratch() { std::filesystem::create_directories(path / "248"); }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

}  // namespace

std::string FuzzScratchFolder() {
  static Scratch scratch;
  return scratch.path.string() + "/";
}

// The sanitizers' own report channel stays open when libFuzzer closes
// standard error (scripts/fuzz.sh does, against the game's log lines).
extern "C" void __sanitizer_report_error_summary(const char* summary) __attribute__((weak));

void FuzzFailure(const std::string& what) {
  std::fprintf(stderr, "fuzz target: %s\n", what.c_str());
  if (__sanitizer_report_error_summary) __sanitizer_report_error_summary(("fuzz target: " + what).c_str());
  std::fflush(stderr);
  std::abort();
}
