// Mixer cost: one second of 44.1 kHz stereo output with 32 channels playing
// at assorted rates, volumes and pans, mixed in device-sized blocks.
// Target: well under 20 ms per second of audio (2 % of one core).
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "media/media.h"

namespace {

void Put(std::string& s, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; i++) s += char((v >> (8 * i)) & 255);
}

// A ten-second stereo tone, so no channel ends inside a measured second.
int ToneSound() {
  static std::string wav;
  if (wav.empty()) {
    const int frames = 441000;
    std::string data;
    for (int i = 0; i < frames; i++) {
      int16_t v = int16_t(8000 * std::sin(i * 0.05));
      Put(data, uint16_t(v), 2);
      Put(data, uint16_t(-v), 2);
    }
    wav = "RIFF";
    Put(wav, uint32_t(36 + data.size()), 4);
    wav += "WAVEfmt ";
    Put(wav, 16, 4), Put(wav, 1, 2), Put(wav, 2, 2), Put(wav, 44100, 4), Put(wav, 44100 * 4, 4);
    Put(wav, 4, 2), Put(wav, 16, 2);
    wav += "data";
    Put(wav, uint32_t(data.size()), 4);
    wav += data;
    RegisterEmbedded("bench_tone.wav", wav.data(), wav.size());
  }
  return LoadSound("incbin::bench_tone.wav");
}

void BM_MixOneSecond32Channels(benchmark::State& state) {
  int sound = ToneSound();
  std::vector<int16_t> block(1024 * 2);
  std::vector<int> channels;
  for (auto _ : state) {
    state.PauseTiming();
    for (int ch : channels) StopChannel(ch);
    channels.clear();
    for (int i = 0; i < 32; i++) {
      int ch = CueSound(sound);
      SetChannelRate(ch, 0.5f + 0.05f * float(i));  // never exactly 1: always interpolating
      SetChannelVolume(ch, 0.3f);
      SetChannelPan(ch, float(i % 5) * 0.5f - 1.0f);
      ResumeChannel(ch);
      channels.push_back(ch);
    }
    state.ResumeTiming();
    for (int done = 0; done < 44100; done += 1024) MixAudio(block.data(), std::min(1024, 44100 - done));
    benchmark::DoNotOptimize(block.data());
  }
  state.SetLabel("time per second of audio");
}
BENCHMARK(BM_MixOneSecond32Channels)->Unit(benchmark::kMillisecond);

}  // namespace
