// headless.h — test helpers: a headless display on the virtual clock, and a
// scratch folder laid out like the game's data folder.
//
// Every test starts from a fresh program (fresh_program.cpp): default
// settings and controls, no media, the build's data folder to read from and
// an empty player's folder to write to.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "frame/folders.h"
#include "media/media.h"

// Opens an 800 x 600 headless display showing a 1280 x 960 virtual screen.
inline void OpenHeadlessDisplay() {
  StartMedia(MediaConfig{true, true});
  ASSERT_TRUE(OpenDisplay(800, 600, 0, 60));
  SetVirtualResolution(1280, 960);
}

// Scratch folders go when the test program ends, so runs leave no litter
// (a death test's child shares them and leaves them alone).
struct ScratchFolders {
  const pid_t owner = ::getpid();
  std::vector<std::filesystem::path> made;
  ~ScratchFolders() {
    std::error_code ignored;
    if (::getpid() == owner)
      for (const auto& folder : made) std::filesystem::remove_all(folder, ignored);
  }
};
inline ScratchFolders MadeScratchFolders;

// A fresh folder holding Files/, Files/Common/ and Files/248/, which becomes
// both the data folder and the player's folder.
inline std::filesystem::path EnterScratchFolder(const std::string& name) {
  auto root = std::filesystem::temp_directory_path() / ("plimbo_" + name + "_" + std::to_string(::getpid()));
  std::filesystem::remove_all(root);
  MadeScratchFolders.made.push_back(root);
  std::filesystem::create_directories(root / "Files" / "Common");
  std::filesystem::create_directories(root / "Files" / "248");
  UseFolders((root / "Files").string());
  return root;
}

// The build's fonts, art and sounds copied into a scratch data folder, so a
// whole start-up or display change finds every file it needs.
inline void CopyGameData(const std::filesystem::path& root) {
  const std::filesystem::path data = std::filesystem::path(PLIMBO_BINARY_DIR) / "Files";
  const auto options = std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing;
  std::filesystem::copy(data / "Common", root / "Files" / "Common", options);
  std::filesystem::copy(data / "248", root / "Files" / "248", options);
  for (const char* own : {"scores.dat", "scores.dat.bak", "crash.dat"})
    std::filesystem::remove(root / "Files" / "248" / own);
}

// The lines of a text file, carriage returns dropped.
inline std::vector<std::string> ReadLines(const std::filesystem::path& path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// Colour channels of a back-buffer pixel in real display pixels.
inline int Red(uint32_t argb) { return (argb >> 16) & 255; }
inline int Green(uint32_t argb) { return (argb >> 8) & 255; }
inline int Blue(uint32_t argb) { return argb & 255; }
