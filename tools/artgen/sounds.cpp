// Sound effects and the badge jingle, synthesised, plus the WAV writer
// (44.1 kHz, 16-bit mono, peak-normalised, with short fades against clicks).
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "artgen.h"
#include "synth.h"

bool WriteWav(Samples s, float peak, const std::string& path) {
  float top = 0;
  for (float v : s) top = std::max(top, std::fabs(v));
  float gain = top > 0 ? peak / top : 0;
  size_t fadeIn = std::min(s.size(), size_t(kRate * 0.002)), fadeOut = std::min(s.size(), size_t(kRate * 0.012));
  for (size_t i = 0; i < fadeIn; i++) s[i] *= float(i) / fadeIn;
  for (size_t i = 0; i < fadeOut; i++) s[s.size() - 1 - i] *= float(i) / fadeOut;
  std::vector<int16_t> pcm(s.size());
  for (size_t i = 0; i < s.size(); i++) pcm[i] = int16_t(std::lround(std::clamp(s[i] * gain, -1.0f, 1.0f) * 32767));
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "artgen: cannot write %s\n", path.c_str());
    return false;
  }
  uint32_t data = uint32_t(pcm.size() * 2), riff = 36 + data, fmtSize = 16, rate = kRate, byteRate = kRate * 2;
  uint16_t format = 1, channels = 1, align = 2, bits = 16;
  std::fwrite("RIFF", 1, 4, f), std::fwrite(&riff, 4, 1, f), std::fwrite("WAVEfmt ", 1, 8, f);
  std::fwrite(&fmtSize, 4, 1, f), std::fwrite(&format, 2, 1, f), std::fwrite(&channels, 2, 1, f);
  std::fwrite(&rate, 4, 1, f), std::fwrite(&byteRate, 4, 1, f), std::fwrite(&align, 2, 1, f);
  std::fwrite(&bits, 2, 1, f), std::fwrite("data", 1, 4, f), std::fwrite(&data, 4, 1, f);
  std::fwrite(pcm.data(), 2, pcm.size(), f);
  return std::fclose(f) == 0;
}

Samples Silence(float seconds) { return Samples(size_t(seconds * kRate), 0.0f); }

void Mix(Samples& into, const Samples& add, float at, float gain) {
  size_t start = size_t(at * kRate);
  if (into.size() < start + add.size()) into.resize(start + add.size(), 0.0f);
  for (size_t i = 0; i < add.size(); i++) into[start + i] += add[i] * gain;
}

Samples Bell(float freq, float seconds, float decay) {
  Samples s = Silence(seconds);
  for (size_t i = 0; i < s.size(); i++) {
    float t = float(i) / kRate, e = std::exp(-t / decay) * Smooth(0.0f, 0.002f, t);
    s[i] =
        e * (std::sin(kTwoPi * freq * t) + 0.35f * std::exp(-t / (decay * 0.4f)) * std::sin(kTwoPi * freq * 2.76f * t) +
             0.2f * std::sin(kTwoPi * freq * 2.0f * t));
  }
  return s;
}

Samples Brass(float freq, float seconds, float attack) {
  // A saw whose upper harmonics open up after the attack, like a horn section.
  Samples s = Silence(seconds);
  float phase = 0;
  for (size_t i = 0; i < s.size(); i++) {
    float t = float(i) / kRate;
    float vib = 1 + 0.006f * std::sin(kTwoPi * 5.5f * t) * Smooth(0.15f, 0.4f, t);
    phase += freq * vib / kRate;
    float bright = 0.35f + 0.65f * Smooth(0.0f, attack, t);
    float v = 0;
    for (int k = 1; k <= 14 && k * freq < 16000; k++)
      v += std::sin(kTwoPi * phase * k) / k * std::pow(bright, float(k - 1) * 0.5f);
    float env = Smooth(0.0f, 0.02f, t) * (0.8f + 0.2f * std::exp(-t / 0.1f)) * Smooth(seconds, seconds - 0.12f, t);
    s[i] = v * env;
  }
  return s;
}

Samples Effect(int number) {
  Rng rng{uint64_t(number) * 7919};
  Samples s;
  switch (number) {
    case 1:  // pickup chime: two bright bell notes a fifth apart
      s = Silence(0.5f);
      Mix(s, Bell(1318.5f, 0.3f, 0.09f), 0, 0.7f);
      Mix(s, Bell(1975.5f, 0.42f, 0.14f), 0.065f, 0.9f);
      break;
    case 2:    // landing: short rubbery boing, heard on every bounce so kept soft
    case 3: {  // high bounce: a longer boing that springs upwards
      bool high = number == 3;
      float dur = high ? 0.6f : 0.26f;
      s = Silence(dur);
      float phase = 0;
      for (size_t i = 0; i < s.size(); i++) {
        float t = float(i) / kRate;
        float f = high ? 130 + 330 * (1 - std::exp(-t / 0.12f)) : 135 + 190 * std::exp(-t / 0.035f);
        f *= 1 + (high ? 0.09f : 0.06f) * std::sin(kTwoPi * (high ? 13.0f : 18.0f) * t) * std::exp(-t / 0.25f);
        phase += f / kRate;
        float env = Smooth(0.0f, 0.004f, t) * std::exp(-t / (high ? 0.2f : 0.075f));
        s[i] = env * std::tanh(1.6f * std::sin(kTwoPi * phase) + 0.3f * std::sin(kTwoPi * phase * 2));
      }
      break;
    }
    case 4: {  // wall thud: muffled knock
      s = Silence(0.2f);
      float low = 0, phase = 0;
      for (size_t i = 0; i < s.size(); i++) {
        float t = float(i) / kRate;
        low += (rng.Range(-1, 1) - low) * 0.08f;
        phase += (55 + 60 * std::exp(-t / 0.02f)) / kRate;
        s[i] = 2.2f * low * std::exp(-t / 0.018f) + 0.8f * std::sin(kTwoPi * phase) * std::exp(-t / 0.05f);
      }
      break;
    }
    case 5: {  // attempt time-out: a falling two-tone "bwoop-bwoo"
      s = Silence(0.75f);
      float phase = 0;
      for (size_t i = 0; i < s.size(); i++) {
        float t = float(i) / kRate;
        float f = t < 0.2f ? 784 : 523.25f * (1 - 0.25f * Smooth(0.45f, 0.75f, t));
        phase += f / kRate;
        float env = (t < 0.2f ? Smooth(0.0f, 0.01f, t) * Smooth(0.2f, 0.17f, t)
                              : Smooth(0.2f, 0.22f, t) * std::exp(-(t - 0.2f) / 0.3f));
        float v = std::sin(kTwoPi * phase) + 0.3f * std::sin(kTwoPi * phase * 3) + 0.12f * std::sin(kTwoPi * phase * 5);
        s[i] = env * v * (1 + 0.25f * std::sin(kTwoPi * 9 * t));
      }
      break;
    }
    case 6: {  // level complete: rising brass arpeggio landing on a held major chord
      s = Silence(1.7f);
      const float notes[] = {523.25f, 659.25f, 783.99f};
      for (int i = 0; i < 3; i++) Mix(s, Brass(notes[i], 0.16f, 0.05f), i * 0.13f, 0.8f);
      Mix(s, Brass(1046.5f, 1.3f, 0.2f), 0.39f, 0.8f);
      for (float f : {261.63f, 329.63f, 392.0f}) Mix(s, Brass(f, 1.3f, 0.3f), 0.39f, 0.45f);
      for (float f : {2093.0f, 2637.0f, 3136.0f}) Mix(s, Bell(f, 0.6f, 0.15f), 0.39f + (f - 2093) / 20000, 0.15f);
      break;
    }
    case 7: {  // ghost touched: crunching crash with a long falling whine
      s = Silence(1.2f);
      float low = 0, phase = 0;
      for (size_t i = 0; i < s.size(); i++) {
        float t = float(i) / kRate;
        float cut = 0.05f + 0.6f * std::exp(-t / 0.15f);
        low += (rng.Range(-1, 1) - low) * cut;
        phase += (700 * std::exp(-t / 0.35f) + 45) / kRate;
        float saw = 2 * (phase - std::floor(phase)) - 1;
        float boom = std::sin(kTwoPi * (40 + 40 * std::exp(-t / 0.05f)) * t);
        s[i] = std::tanh(1.5f * low * std::exp(-t / 0.25f) + 0.6f * saw * std::exp(-t / 0.45f) +
                         0.9f * boom * std::exp(-t / 0.3f));
      }
      break;
    }
  }
  return s;
}

Samples BadgeJingle() {
  Samples s = Silence(1.5f);
  const float notes[] = {783.99f, 1046.5f, 1318.5f, 1568.0f, 2093.0f};
  for (int i = 0; i < 5; i++) Mix(s, Bell(notes[i], 0.9f, 0.25f), i * 0.075f, 0.6f);
  for (float f : {523.25f, 659.25f, 783.99f}) Mix(s, Brass(f, 1.0f, 0.25f), 0.3f, 0.18f);
  Rng rng{99};
  for (int i = 0; i < 10; i++) Mix(s, Bell(rng.Range(3000, 5200), 0.25f, 0.05f), 0.35f + i * 0.06f, 0.12f);
  return s;
}
