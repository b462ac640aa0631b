// random.cpp — the program's seeded random generator.
//
// A 31-bit Park–Miller style generator (Schrage's method, multiplier 48271)
// reproduced step for step, because the music and other seeded sequences
// must come out the same on every machine.
#include <cmath>
#include <cstdint>

#include "media/core.h"

static int32_t State = 4660;

static int32_t Step() {
  int32_t r = (State % 44488) * 48271 - (State / 44488) * 3399;
  if (r < 0) r += 2147483647;
  State = r;
  return r;
}

// Kept in double: at full precision the value never reaches 1, whereas
// rounding it to float can, which would let RandomInt return hi + 1.
static double RandomDouble() {
  double s1 = Step() & 536870908;
  double s2 = Step() & 536870904;
  return (s1 + s2 / 134217728.0) / 536870912.0;
}

void SeedRandom(int32_t seed) {
  State = seed & 2147483647;
  if (State == 0 || State == 2147483647) State = 4660;
}

int32_t RandomState() { return State; }

float RandomReal() {
  float r = float(RandomDouble());
  return r < 1.0f ? r : std::nextafter(1.0f, 0.0f);
}

int RandomInt(int lo, int hi) {
  int64_t d = int64_t(hi) - lo;
  double r = RandomDouble();
  if (d > 0) return int(lo + int64_t(r * double(d + 1)));
  return int(hi + int64_t(r * double(1 - d)));
}

float RandomBetween(float a, float b) {
  double low = a < b ? a : b;
  return float(low + RandomDouble() * std::fabs(double(b) - double(a)));
}
