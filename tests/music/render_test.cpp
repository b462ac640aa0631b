// Renders the three songs offline, as the game would hear them, and checks
// that every track really sounds. The renders stay in the temp folder as
// "<song>.wav" for listening to or inspecting with sox.
#include <cmath>

#include "tests/music/music_fixture.h"

namespace {

struct Render {
  int notes[5] = {};
  double rms = 0;
  double clipped = 0;  // share of samples at full scale
};

// Seconds of the song, the sequencer stepped every 16 ms frame and the mixer
// run for the samples in between, written as a 44.1 kHz stereo WAV.
Render RenderSong(const std::string& name, int seed, int seconds, const std::string& out) {
  Render r;
  LoadSong(name, seed, 125);
  std::vector<int16_t> all;
  std::vector<int16_t> frame;
  int64_t mixed = 0;
  for (int ms = 16; ms <= seconds * 1000; ms += 16) {
    AdvanceVirtualClock(16);
    UpdateMusic();
    int64_t due = int64_t(ms) * 44100 / 1000;
    frame.assign(size_t(due - mixed) * 2, 0);
    MixAudio(frame.data(), int(due - mixed));
    mixed = due;
    all.insert(all.end(), frame.begin(), frame.end());
  }
  for (const PlayedNote& n : PlayedNotes) r.notes[n.track]++;
  double sum = 0;
  int full = 0;
  for (int16_t v : all) {
    sum += double(v) * v;
    full += v == 32767 || v == -32768;
  }
  r.rms = std::sqrt(sum / double(all.size()));
  r.clipped = double(full) / double(all.size());

  WriteWav(out, all, 2);
  return r;
}

// The songs and seeds of the title screen's hot keys.
class SongRender : public MusicTest, public ::testing::WithParamInterface<std::string> {};

}  // namespace

TEST_P(SongRender, EveryTrackSoundsWithoutClipping) {
  std::string name = GetParam();
  int seed = name == "ZEMPlat" ? 17 : name == "Rodev" ? 1 : 64;
  std::string out = (std::filesystem::temp_directory_path() / (name + ".wav")).string();
  UseFolders(PLIMBO_BINARY_DIR "/Files/");
  LoadMusicSamples();
  // A minute: the arrangement can keep a track silent for several cycles.
  Render r = RenderSong(name, seed, 60, out);

  for (int t = 0; t < 5; t++) EXPECT_GT(r.notes[t], 0) << name << " track " << t;
  EXPECT_GT(r.rms, 300.0) << name;
  EXPECT_LT(r.clipped, 0.001) << name;
}

INSTANTIATE_TEST_SUITE_P(Songs, SongRender, ::testing::Values("ZEMPlat", "Rodev", "Pipeline"),
                         [](const auto& info) { return info.param; });
