// The sequencer's raw material: two drum kits of eight hits and the melodic
// loops. Every melodic loop is one decaying note of its part's root (C), so
// the sequencer's playback rate alone sets the pitch of each note.
#include <algorithm>
#include <cmath>

#include "synth.h"

static const float kBassRoot = 130.81f, kAccompanyRoot = 261.63f, kLeadRoot = 523.25f;

// Drum hit with a pitched body (start -> end Hz) and a filtered noise part.
struct HitShape {
  float seconds, startHz, endHz, sweep, toneDecay, tone, noise, noiseDecay, brightness;
};

static Samples Hit(const HitShape& h, uint64_t seed) {
  Samples s = Silence(h.seconds);
  Rng rng{seed};
  float phase = 0, low = 0;
  for (size_t i = 0; i < s.size(); i++) {
    float t = float(i) / kRate;
    phase += (h.endHz + (h.startHz - h.endHz) * std::exp(-t / h.sweep)) / kRate;
    float white = rng.Range(-1, 1);
    low += (white - low) * 0.25f;
    // brightness 0 keeps the low-passed noise, 1 the high-passed rest.
    float hiss = h.brightness * (white - low) + (1 - h.brightness) * low;
    float body = std::sin(kTwoPi * phase) * std::exp(-t / h.toneDecay);
    s[i] = h.tone * body + h.noise * hiss * std::exp(-t / h.noiseDecay);
  }
  return s;
}

static Samples Metal(float seconds, const std::vector<float>& freqs, float decay, float bright) {
  Samples s = Silence(seconds);
  Rng rng{4242};
  float low = 0;
  for (size_t i = 0; i < s.size(); i++) {
    float t = float(i) / kRate, v = 0;
    for (float f : freqs) v += std::sin(kTwoPi * f * t) > 0 ? 1.0f : -1.0f;
    float white = rng.Range(-1, 1);
    low += (white - low) * 0.3f;
    s[i] = (0.12f * v + bright * (white - low)) * std::exp(-t / decay);
  }
  return s;
}

Samples DrumHit(int kit, int hit) {
  uint64_t seed = uint64_t(kit * 100 + hit);
  if (kit == 1) {
    switch (hit) {
      case 1: return Hit({0.45f, 150, 48, 0.035f, 0.22f, 1.0f, 0.25f, 0.006f, 0.8f}, seed);
      case 2: return Hit({0.32f, 220, 180, 0.02f, 0.06f, 0.55f, 0.9f, 0.11f, 0.75f}, seed);
      case 3: return Hit({0.09f, 0, 0, 1, 1, 0, 0.8f, 0.022f, 1.0f}, seed);
      case 4: return Hit({0.45f, 0, 0, 1, 1, 0, 0.7f, 0.16f, 1.0f}, seed);
      case 5: return Hit({0.5f, 140, 88, 0.06f, 0.24f, 1.0f, 0.12f, 0.02f, 0.5f}, seed);
      case 6: return Hit({0.4f, 230, 150, 0.05f, 0.18f, 1.0f, 0.12f, 0.02f, 0.5f}, seed);
      case 7: {
        Samples s = Silence(0.3f);
        for (int k = 0; k < 3; k++) Mix(s, Hit({0.012f, 0, 0, 1, 1, 0, 1, 0.004f, 0.7f}, seed + k), k * 0.011f, 1);
        Mix(s, Hit({0.26f, 0, 0, 1, 1, 0, 1, 0.07f, 0.7f}, seed + 9), 0.033f, 0.8f);
        return s;
      }
      default: return Metal(1.3f, {587, 845, 1123, 1480, 2210}, 0.45f, 0.9f);
    }
  }
  switch (hit) {
    case 1: {
      Samples s = Hit({0.7f, 95, 44, 0.05f, 0.45f, 1.0f, 0.1f, 0.003f, 0.5f}, seed);
      for (float& v : s) v = std::tanh(1.8f * v);
      return s;
    }
    case 2: return Hit({0.08f, 820, 780, 0.01f, 0.018f, 0.8f, 0.5f, 0.01f, 0.9f}, seed);
    case 3: {
      Samples s = Hit({0.14f, 0, 0, 1, 1, 0, 0.8f, 0.05f, 0.95f}, seed);
      for (size_t i = 0; i < s.size(); i++) s[i] *= Smooth(0.0f, 0.018f, float(i) / kRate);
      return s;
    }
    case 4: return Metal(0.3f, {540, 800}, 0.07f, 0.0f);
    case 5: return Hit({0.3f, 230, 175, 0.015f, 0.11f, 1.0f, 0.3f, 0.008f, 0.6f}, seed);
    case 6: return Hit({0.25f, 340, 290, 0.012f, 0.08f, 1.0f, 0.3f, 0.008f, 0.6f}, seed);
    case 7: return Hit({0.12f, 0, 0, 1, 1, 0, 1, 0.025f, 0.85f}, seed);
    default: return Hit({0.22f, 2400, 90, 0.03f, 0.12f, 0.9f, 0, 1, 0}, seed);
  }
}

// Sum of harmonics whose levels follow amp(k, t); stops below 16 kHz so the
// loops stay clean even when the sequencer plays them three times faster.
template <class Amp>
static Samples Additive(float freq, float seconds, int harmonics, float vibrato, Amp amp) {
  Samples s = Silence(seconds);
  float phase = 0;
  int top = std::max(1, std::min(harmonics, int(5300 / freq)));
  for (size_t i = 0; i < s.size(); i++) {
    float t = float(i) / kRate;
    phase += freq * (1 + vibrato * std::sin(kTwoPi * 5.5f * t) * Smooth(0.18f, 0.45f, t)) / kRate;
    phase -= std::floor(phase);
    float v = 0;
    for (int k = 1; k <= top; k++) v += amp(k, t) * std::sin(kTwoPi * phase * k);
    s[i] = v;
  }
  return s;
}

static Samples Fm(float freq, float seconds, float ratio, float index, float indexDecay, float decay) {
  Samples s = Silence(seconds);
  for (size_t i = 0; i < s.size(); i++) {
    float t = float(i) / kRate;
    float mod = (index * std::exp(-t / indexDecay) + 0.3f) * std::sin(kTwoPi * freq * ratio * t);
    s[i] = std::sin(kTwoPi * freq * t + mod) * std::exp(-t / decay) * Smooth(0.0f, 0.003f, t);
  }
  return s;
}

Samples MusicLoop(const std::string& part, int k) {
  auto attack = [](float t, float a) { return Smooth(0.0f, a, t); };
  if (part == "bass") {
    float f = kBassRoot;
    switch (k) {
      case 1:  // finger bass: round body, quickly fading overtones
        return Additive(f, 1.6f, 10, 0, [&](int h, float t) {
          return attack(t, 0.004f) * std::pow(float(h), -1.4f) * std::exp(-t * (0.9f + 1.8f * h));
        });
      case 2:  // square synth bass with a closing filter
        return Additive(f, 1.6f, 15, 0, [&](int h, float t) {
          return h % 2 ? attack(t, 0.003f) / h * std::exp(-t * (1.0f + 3.0f * h)) : 0.0f;
        });
      case 3: return Fm(f, 1.6f, 1.0f, 2.5f, 0.08f, 0.55f);
      default:  // sub bass
        return Additive(f, 1.6f, 3, 0, [&](int h, float t) {
          return attack(t, 0.006f) * (h == 1 ? 1.0f : h == 2 ? 0.3f : 0.12f) * std::exp(-t / 0.7f);
        });
    }
  }
  if (part == "lead") {
    float f = kLeadRoot;
    switch (k) {
      case 1:  // pulse lead
        return Additive(f, 1.5f, 9, 0.006f, [&](int h, float t) {
          return attack(t, 0.01f) * (h % 2 ? 1.0f : 0.35f) / h * (0.6f + 0.4f * std::exp(-t / 0.15f)) *
                 std::exp(-t / 1.1f);
        });
      case 2: return Fm(f, 1.5f, 3.0f, 2.0f, 0.12f, 0.45f);  // glassy bell
      case 3:                                                // soft saw
        return Additive(f, 1.5f, 9, 0.007f, [&](int h, float t) {
          return attack(t, 0.015f) * std::pow(float(h), -1.3f) * std::exp(-t * (0.8f + 0.25f * h));
        });
      default:  // ocarina
        return Additive(f, 1.5f, 3, 0.008f, [&](int h, float t) {
          return attack(t, 0.03f) * (h == 1 ? 1.0f : h == 2 ? 0.12f : 0.05f) * std::exp(-t / 0.9f);
        });
    }
  }
  float f = kAccompanyRoot;
  switch (k) {
    case 1: {  // electric piano
      Samples s = Fm(f, 2.0f, 1.0f, 1.4f, 0.25f, 0.8f);
      Mix(s, Fm(f, 0.2f, 14.0f, 0.6f, 0.02f, 0.03f), 0, 0.15f);
      return s;
    }
    case 2: {  // organ
      const float bars[] = {0, 0.8f, 0.6f, 0.45f, 0.3f, 0, 0.2f, 0, 0.15f};
      return Additive(f, 2.0f, 8, 0,
                      [&](int h, float t) { return attack(t, 0.01f) * bars[h] * (1 - 0.5f * Smooth(0.3f, 2.0f, t)); });
    }
    case 3:  // harp
      return Additive(f, 2.0f, 12, 0, [&](int h, float t) {
        return attack(t, 0.002f) * std::pow(float(h), -1.1f) * std::exp(-t * (0.8f + 0.7f * h));
      });
    default: {  // pad of three detuned saws
      Samples s = Silence(2.0f);
      for (float d : {0.996f, 1.0f, 1.004f})
        Mix(s,
            Additive(f * d, 2.0f, 10, 0,
                     [&](int h, float t) {
                       return attack(t, 0.09f) * std::pow(float(h), -1.5f) * (1 - 0.6f * Smooth(0.2f, 2.0f, t));
                     }),
            0, 0.33f);
      return s;
    }
  }
}
