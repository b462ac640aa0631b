// Tests of WAV loading, channels and the mixer (driven directly, without a
// sound device taking its output), and of the fallback to silent output.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "media/media.h"

namespace {

void Put16(std::string& s, int v) { s += char(v & 255), s += char((v >> 8) & 255); }
void Put32(std::string& s, uint32_t v) { Put16(s, int(v & 0xFFFF)), Put16(s, int(v >> 16)); }

// A PCM WAV of 16-bit samples (interleaved when stereo).
std::string Wav(const std::vector<int16_t>& samples, int channels, int rate) {
  std::string data;
  for (int16_t v : samples) Put16(data, v);
  std::string s = "RIFF";
  Put32(s, uint32_t(36 + data.size()));
  s += "WAVEfmt ";
  Put32(s, 16);
  Put16(s, 1);
  Put16(s, channels);
  Put32(s, uint32_t(rate));
  Put32(s, uint32_t(rate * channels * 2));
  Put16(s, channels * 2);
  Put16(s, 16);
  s += "data";
  Put32(s, uint32_t(data.size()));
  return s + data;
}

int LoadWavBytes(const std::string& bytes) {
  static int n = 0;
  std::string path = "core_sound_" + std::to_string(getpid()) + "_" + std::to_string(n++) + ".wav";
  std::ofstream(path, std::ios::binary) << bytes;
  int sound = LoadSound(path);
  remove(path.c_str());
  return sound;
}

int ConstantSound(int16_t value, int frames) {
  return LoadWavBytes(Wav(std::vector<int16_t>(size_t(frames), value), 1, 44100));
}

std::vector<int16_t> Mix(int frames) {
  std::vector<int16_t> out(size_t(frames) * 2, 12345);
  MixAudio(out.data(), frames);
  return out;
}

TEST(CoreSound, CuedChannelIsSilentUntilResumed) {
  int sound = ConstantSound(10000, 1000);
  ASSERT_NE(sound, 0);
  int ch = CueSound(sound);
  ASSERT_NE(ch, 0);
  EXPECT_TRUE(ChannelPlaying(ch));  // cued counts as playing
  for (int16_t v : Mix(100)) ASSERT_EQ(v, 0);
  ResumeChannel(ch);
  std::vector<int16_t> out = Mix(100);
  EXPECT_EQ(out[0], 10000);
  EXPECT_EQ(out[1], 10000);
  EXPECT_EQ(out[199], 10000);
}

TEST(CoreSound, VolumeAndPanScaleTheSides) {
  int ch = CueSound(ConstantSound(10000, 5000));
  ResumeChannel(ch);
  SetChannelVolume(ch, 0.5f);
  auto out = Mix(10);
  EXPECT_EQ(out[0], 5000);
  EXPECT_EQ(out[1], 5000);
  SetChannelPan(ch, 1);
  out = Mix(10);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1], 5000);
  SetChannelPan(ch, -0.5f);
  out = Mix(10);
  EXPECT_EQ(out[0], 5000);
  EXPECT_EQ(out[1], 2500);
  SetChannelVolume(ch, 7);  // clamped to full
  SetChannelPan(ch, 0);
  EXPECT_EQ(Mix(1)[0], 10000);
  SetChannelVolume(ch, NAN);
  EXPECT_EQ(Mix(1)[0], 0);
}

TEST(CoreSound, RateResamplesWithInterpolationAndShortensTheSound) {
  std::vector<int16_t> ramp(100);
  for (int i = 0; i < 100; i++) ramp[size_t(i)] = int16_t(i * 10);
  int sound = LoadWavBytes(Wav(ramp, 1, 44100));

  int fast = CueSound(sound);
  SetChannelRate(fast, 2);
  ResumeChannel(fast);
  auto out = Mix(60);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[2], 20);
  EXPECT_EQ(out[2 * 49], 980);
  EXPECT_EQ(out[2 * 50], 0);  // an octave up lasts half as long
  EXPECT_FALSE(ChannelPlaying(fast));

  int slow = CueSound(sound);
  SetChannelRate(slow, 0.5f);
  ResumeChannel(slow);
  out = Mix(8);
  for (int f = 0; f < 8; f++) EXPECT_EQ(out[size_t(f) * 2], f * 5) << f;
  out = Mix(200);
  EXPECT_EQ(out[2 * 191], 990);
  EXPECT_EQ(out[2 * 192], 0);
  EXPECT_FALSE(ChannelPlaying(slow));
}

TEST(CoreSound, ChannelsEndStopAndGoStale) {
  int sound = ConstantSound(1000, 100);
  int ch = CueSound(sound);
  ResumeChannel(ch);
  auto out = Mix(150);
  EXPECT_EQ(out[2 * 99], 1000);
  EXPECT_EQ(out[2 * 100], 0);
  EXPECT_FALSE(ChannelPlaying(ch));

  int again = CueSound(sound, ch);  // a finished channel can be cued anew
  EXPECT_EQ(again, ch);
  EXPECT_TRUE(ChannelPlaying(ch));
  ResumeChannel(ch);
  StopChannel(ch);
  EXPECT_FALSE(ChannelPlaying(ch));
  EXPECT_EQ(Mix(10)[0], 0);

  EXPECT_EQ(CueSound(0), 0);
  EXPECT_EQ(CueSound(9999), 0);
  EXPECT_EQ(CueSound(sound, 424242), 0);
  ResumeChannel(424242);
  StopChannel(-1);
  SetChannelRate(0, 2);
  EXPECT_FALSE(ChannelPlaying(424242));

  int playing = CueSound(sound);
  ResumeChannel(playing);
  FreeSound(sound);  // freeing a sound silences its channels
  EXPECT_FALSE(ChannelPlaying(playing));
  EXPECT_EQ(Mix(10)[0], 0);
  EXPECT_EQ(CueSound(sound), 0);
}

// Below the knee the mix is the plain sum, so the default volumes sound as
// mixed; above it nothing reaches the rail, however many loud channels add.
TEST(CoreSound, ChannelsMixAndTheLimiterNeverClips) {
  struct Case {
    std::vector<int16_t> levels;  // one channel each, at full volume
    int low, high;                // the settled output
  } cases[] = {
      {{10000}, 10000, 10000},
      {{12000, 12288}, 24288, 24288},
      {{-20000, -4000}, -24000, -24000},
      {{30000, -30000}, 0, 0},
      {{30000, 30000}, 24000, 32000},
      {std::vector<int16_t>(32, 32767), 24000, 32000},
      {std::vector<int16_t>(32, -32768), -32000, -24000},
      {{10000}, 10000, 10000},  // after the loudest, exactly as before
  };
  for (const Case& c : cases) {
    std::vector<int> channels;
    for (int16_t level : c.levels) {
      channels.push_back(CueSound(ConstantSound(level, 44100)));
      ResumeChannel(channels.back());
    }
    std::vector<int16_t> out = Mix(22050);  // long enough for the gain to settle
    for (int16_t v : out) ASSERT_TRUE(v > -32768 && v < 32767) << c.levels.size() << " x " << c.levels[0];
    EXPECT_GE(out.back(), c.low) << c.levels.size() << " x " << c.levels[0];
    EXPECT_LE(out.back(), c.high) << c.levels.size() << " x " << c.levels[0];
    for (int ch : channels) StopChannel(ch);
  }
}

TEST(CoreSound, StereoAndOtherRatesAreConvertedAtLoad) {
  int stereo = LoadWavBytes(Wav({1000, -2000, 1000, -2000, 1000, -2000}, 2, 44100));
  int ch = CueSound(stereo);
  ResumeChannel(ch);
  auto out = Mix(2);
  EXPECT_EQ(out[0], 1000);
  EXPECT_EQ(out[1], -2000);

  // 100 frames at 22.05 kHz last about 200 frames at 44.1 kHz.
  int half = LoadWavBytes(Wav(std::vector<int16_t>(100, 4000), 1, 22050));
  ASSERT_NE(half, 0);
  ch = CueSound(half);
  ResumeChannel(ch);
  out = Mix(400);
  int sounding = 0;
  for (int f = 0; f < 400; f++) sounding += out[size_t(f) * 2] != 0;
  EXPECT_NEAR(sounding, 200, 4);
  EXPECT_NEAR(out[2 * 50], 4000, 40);
  EXPECT_FALSE(ChannelPlaying(ch));
}

TEST(CoreSound, BadOrMissingWavGivesNoSound) {
  EXPECT_EQ(LoadSound("no_such_sound.wav"), 0);
  EXPECT_EQ(LoadWavBytes(""), 0);
  EXPECT_EQ(LoadWavBytes("RIFF\x10\0\0\0WAVEjunkjunkjunk"), 0);
  std::string good = Wav(std::vector<int16_t>(50, 1), 1, 44100);
  EXPECT_EQ(LoadWavBytes(good.substr(0, 30)), 0);  // cut inside the header
  std::string noisy = good;
  for (size_t i = 12; i < noisy.size(); i += 3) noisy[i] = char(i * 37);
  LoadWavBytes(noisy);  // whatever it makes of it, it must not crash
  std::string zeroChannels = good;
  zeroChannels[22] = 0;
  EXPECT_EQ(LoadWavBytes(zeroChannels), 0);
}

TEST(CoreSound, EmbeddedWavLoadsAndCountsInMemory) {
  static std::string wav = Wav(std::vector<int16_t>(441, 7), 1, 44100);
  RegisterEmbedded("beep.wav", wav.data(), wav.size());
  int64_t before = MemoryInUse();
  int sound = LoadSound("incbin::beep.wav");
  ASSERT_NE(sound, 0);
  EXPECT_EQ(MemoryInUse(), before + 441 * 2);
  CollectGarbage();
  FreeSound(sound);
  FreeSound(sound);
  EXPECT_EQ(CollectGarbage(), 1);
  EXPECT_EQ(MemoryInUse(), before);
}

TEST(CoreSound, LiveChannelsAreBoundedAndFinishedOnesReused) {
  int sound = ConstantSound(1, 10);
  int last = 0;
  for (int i = 0; i < 2000; i++) {  // allocated, never used: reusable
    int ch = AllocChannel();
    ASSERT_GT(ch, last);
    last = ch;
  }
  std::vector<int> cued;
  for (int ch; (ch = CueSound(sound)) != 0 && cued.size() < 5000;) cued.push_back(ch);
  ASSERT_GE(cued.size(), 260u);  // the program's whole channel table fits
  ASSERT_LT(cued.size(), 5000u);
  for (int ch : cued) ASSERT_TRUE(ChannelPlaying(ch));  // none was taken away
  StopChannel(cued[7]);
  EXPECT_NE(CueSound(sound), 0);
}

TEST(CoreSound, DriversAndFallbackToSilentOutput) {
  setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
  StartMedia(MediaConfig{false, false});
  std::vector<std::string> names = ListAudioDrivers();
  ASSERT_FALSE(names.empty());
  EXPECT_LE(names.size(), 100u);
  EXPECT_TRUE(AudioDriverExists("DuMmY"));
  EXPECT_FALSE(AudioDriverExists("no_such_driver"));
  EXPECT_FALSE(EnableOpenAL());
  EXPECT_FALSE(SetAudioDriver("no_such_driver"));

  // The fallback device takes the mixer's output in real time, so a short
  // sound finishes on its own.
  int sound = ConstantSound(100, 2205);
  int ch = CueSound(sound);
  ResumeChannel(ch);
  for (int waited = 0; ChannelPlaying(ch) && waited < 20000; waited += 10) SleepMs(10);
  EXPECT_FALSE(ChannelPlaying(ch));

  EXPECT_TRUE(SetAudioDriver("DUMMY"));
  ch = CueSound(sound);
  ResumeChannel(ch);
  for (int waited = 0; ChannelPlaying(ch) && waited < 20000; waited += 10) SleepMs(10);
  EXPECT_FALSE(ChannelPlaying(ch));
  StopMedia();
}

}  // namespace
