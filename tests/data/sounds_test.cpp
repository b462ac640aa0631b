// The generated sounds: valid 16-bit 44.1 kHz PCM WAV files that never reach
// full scale and start and end quietly (no clicks), and melodic loops that are
// all tuned to the same root so the sequencer's rates play in key.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Wav {
  bool ok = false;
  int format = 0, channels = 0, rate = 0, bits = 0;
  std::vector<float> samples;  // first channel
};

uint32_t U32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

Wav ReadWav(const std::string& path) {
  Wav w;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return w;
  std::vector<uint8_t> b;
  uint8_t buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) b.insert(b.end(), buf, buf + n);
  std::fclose(f);
  if (b.size() < 12 || std::memcmp(&b[0], "RIFF", 4) || std::memcmp(&b[8], "WAVE", 4)) return w;
  if (U32(&b[4]) + 8 != b.size()) return w;
  bool haveFormat = false;
  for (size_t pos = 12; pos + 8 <= b.size();) {
    uint32_t size = U32(&b[pos + 4]);
    if (pos + 8 + size > b.size()) return w;
    const uint8_t* body = &b[pos + 8];
    if (!std::memcmp(&b[pos], "fmt ", 4) && size >= 16) {
      w.format = U16(body), w.channels = U16(body + 2), w.rate = int(U32(body + 4)), w.bits = U16(body + 14);
      haveFormat = true;
    } else if (!std::memcmp(&b[pos], "data", 4) && haveFormat && w.bits == 16 && w.channels > 0) {
      for (uint32_t i = 0; i + 2 * w.channels <= size; i += 2 * w.channels)
        w.samples.push_back(int16_t(U16(body + i)) / 32768.0f);
      w.ok = true;
    }
    pos += 8 + size + (size & 1);
  }
  return w;
}

std::vector<std::string> AllSounds() {
  std::vector<std::string> files = {"Files/Common/badgeget.wav"};
  char name[64];
  for (int i = 1; i <= 7; i++) {
    std::snprintf(name, sizeof name, "Files/248/%03d.wav", i);
    files.push_back(name);
  }
  for (int kit = 1; kit <= 2; kit++)
    for (int hit = 1; hit <= 8; hit++) {
      std::snprintf(name, sizeof name, "Files/248/music/d%d-%d.wav", kit, hit);
      files.push_back(name);
    }
  for (const char* part : {"bass", "lead", "accompany"})
    for (int k = 1; k <= 4; k++) files.push_back("Files/248/music/" + std::string(part) + std::to_string(k) + ".wav");
  return files;
}

// Fundamental frequency by autocorrelation over a window after the attack.
double Pitch(const std::vector<float>& s, int rate) {
  const size_t start = size_t(rate * 0.08), len = 4096;
  if (s.size() < start + len + 1000) return 0;
  int minLag = rate / 1100, maxLag = rate / 50;
  std::vector<double> r(maxLag + 2, 0);
  for (int lag = minLag; lag <= maxLag + 1; lag++) {
    double num = 0, e1 = 0, e2 = 0;
    for (size_t i = start; i < start + len; i++) {
      num += s[i] * s[i + lag];
      e1 += s[i] * s[i];
      e2 += s[i + lag] * s[i + lag];
    }
    r[lag] = num / std::sqrt(e1 * e2 + 1e-12);
  }
  // The first lag that comes close to the best correlation is the period.
  double best = 0;
  for (int lag = minLag; lag <= maxLag; lag++) best = std::max(best, r[lag]);
  for (int lag = minLag + 1; lag <= maxLag; lag++) {
    if (r[lag] >= 0.9 * best && r[lag] >= r[lag - 1] && r[lag] >= r[lag + 1]) {
      double a = r[lag - 1], b = r[lag], c = r[lag + 1];
      double shift = (a - 2 * b + c) != 0 ? 0.5 * (a - c) / (a - 2 * b + c) : 0;
      return rate / (lag + shift);
    }
  }
  return 0;
}

}  // namespace

TEST(DataSounds, EverySoundIsQuiet16BitPcmAt44100) {
  for (const std::string& path : AllSounds()) {
    Wav w = ReadWav(path);
    ASSERT_TRUE(w.ok) << path << " is missing or not a RIFF/WAVE file";
    EXPECT_EQ(w.format, 1) << path;
    EXPECT_EQ(w.bits, 16) << path;
    EXPECT_EQ(w.rate, 44100) << path;
    EXPECT_GT(w.samples.size(), 44100u / 20) << path;
    float peak = 0;
    for (float v : w.samples) peak = std::max(peak, std::fabs(v));
    EXPECT_LT(peak, 0.95f) << path << " comes too close to full scale";
    EXPECT_GT(peak, 0.2f) << path << " is nearly silent";
    // Fades at both ends, so starting or cutting a sound does not click.
    EXPECT_LT(std::fabs(w.samples.front()), 0.01f) << path;
    EXPECT_LT(std::fabs(w.samples.back()), 0.01f) << path;
  }
}

TEST(DataSounds, MelodicLoopsAreAllTunedToTheRootC) {
  for (const char* part : {"bass", "lead", "accompany"})
    for (int k = 1; k <= 4; k++) {
      std::string path = "Files/248/music/" + std::string(part) + std::to_string(k) + ".wav";
      Wav w = ReadWav(path);
      ASSERT_TRUE(w.ok) << path;
      double f = Pitch(w.samples, w.rate);
      ASSERT_GT(f, 0) << path << " has no clear pitch";
      // Cents away from the nearest C (C4 = 261.63 Hz); octave is free.
      double cents = std::fmod(1200 * std::log2(f / 261.63) + 1200 * 20, 1200.0);
      EXPECT_LT(std::min(cents, 1200 - cents), 30) << path << " sounds at " << f << " Hz";
    }
}
