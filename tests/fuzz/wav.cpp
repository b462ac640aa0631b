// wav.cpp — any bytes as a WAV sound: loaded, played through the mixer at
// two rates, freed.
#include <vector>

#include "media/media.h"
#include "tests/fuzz/fuzz.h"

int FuzzWav(const uint8_t* data, size_t size) {
  int sound = LoadSound(EmbedInput("fuzz.wav", data, size));
  if (sound == 0) return 0;
  std::vector<int16_t> out(2 * 4096);
  for (float rate : {1.0f, 2.7f}) {
    int channel = CueSound(sound);
    SetChannelRate(channel, rate);
    ResumeChannel(channel);
    MixAudio(out.data(), 4096);
    StopChannel(channel);
  }
  FreeSound(sound);
  return 0;
}
