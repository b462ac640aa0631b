// music_fixture.h — a scratch game folder with tiny loops and hand-written
// songs, the virtual clock without a sound device (so channels only move
// when a test mixes), and a recorder for the notes the sequencer starts.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "frame/folders.h"
#include "frame/settings_table.h"
#include "media/media.h"
#include "music/music.h"

struct PlayedNote {
  int track, sound;
  float rate, volume;
  int phrase, bar, step;
  bool operator==(const PlayedNote&) const = default;
};

inline std::vector<PlayedNote> PlayedNotes;

inline void RecordNote(int track, int sound, float rate, float volume) {
  PlayedNotes.push_back({track, sound, rate, volume, PhraseNo, BarNo, StepNo});
}

// A 16-bit WAV at 44.1 kHz (samples interleaved when stereo).
inline void WriteWav(const std::string& path, const std::vector<int16_t>& samples, int channels) {
  auto put = [](std::string& s, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; i++) s += char((v >> (8 * i)) & 255);
  };
  uint32_t bytes = uint32_t(samples.size() * 2);
  std::string s = "RIFF";
  put(s, 36 + bytes, 4);
  s += "WAVEfmt ";
  put(s, 16, 4), put(s, 1, 2), put(s, uint32_t(channels), 2), put(s, 44100, 4);
  put(s, uint32_t(88200 * channels), 4), put(s, uint32_t(2 * channels), 2), put(s, 16, 2);
  s += "data";
  put(s, bytes, 4);
  std::ofstream file(path, std::ios::binary);
  file << s;
  file.write(reinterpret_cast<const char*>(samples.data()), std::streamsize(bytes));
}

class MusicTest : public ::testing::Test {
 protected:
  std::filesystem::path root;

  void SetUp() override {
    root = std::filesystem::temp_directory_path() / ("plimbo_music_" + std::to_string(::getpid()));
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "248" / "music");
    UseFolders(root.string());
    UseVirtualClock(true);
    Settings[11] = Settings[13] = 50;
    PlayedNotes.clear();
    MusicNoteStarted = RecordNote;
  }

  void TearDown() override {
    MusicNoteStarted = nullptr;
    std::filesystem::remove_all(root);
  }

  // Loop files by their names in "music/", e.g. {"d1-1", "bass2"}.
  void WriteLoops(const std::vector<std::string>& names, int frames = 4410) {
    for (const std::string& n : names)
      WriteWav((root / "248" / "music" / (n + ".wav")).string(), std::vector<int16_t>(size_t(frames), 1000), 1);
  }

  void WriteAllLoops(int frames = 4410) {
    for (int k = 1; k <= 8; k++) WriteLoops({"d1-" + std::to_string(k), "d2-" + std::to_string(k)}, frames);
    for (int k = 1; k <= 2; k++)
      WriteLoops({"bass" + std::to_string(k), "lead" + std::to_string(k), "accompany" + std::to_string(k)}, frames);
  }

  void WriteSong(const std::string& name, const std::string& text) {
    std::ofstream(root / "248" / "music" / (name + ".ini"), std::ios::binary) << text;
  }

  // Lets the clock pass one step at a time until the sequencer has played
  // the given number of steps.
  void PlaySteps(int steps) {
    for (int i = 0; i < steps; i++) {
      int before = PhraseNo * 64 + StepNo;
      while (PhraseNo * 64 + StepNo == before) {
        AdvanceVirtualClock(1);
        UpdateMusic();
      }
    }
  }
};
