// clock.cpp — the millisecond clock, waits, and local date and time text.
//
// The virtual clock exists for tests and replays: waits return at once and
// only move the count, so a run takes the same course every time and faster
// than real time. Scripted input is keyed to this same count and is
// delivered by the next event poll after its time has passed.
#include <chrono>
#include <ctime>
#include <thread>

#include "media/core.h"
#include "media/core_internal.h"

namespace {

constexpr uint32_t VirtualStart = 1000;  // a fixed start, so seeds taken from the clock repeat
bool Virtual = false;
uint32_t VirtualNow = VirtualStart;
// The real count runs from the program's start, as a frame-rate or seed
// needs nothing more.
const std::chrono::steady_clock::time_point RealStart = std::chrono::steady_clock::now();

}  // namespace

bool media::VirtualClockOn() { return Virtual; }

// Unsigned arithmetic wraps like the 32-bit count it models.
int Millisecs() {
  if (Virtual) return int(VirtualNow);
  auto elapsed = std::chrono::steady_clock::now() - RealStart;
  return int(uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()));
}

int ClockDiff(int later, int earlier) { return int(uint32_t(later) - uint32_t(earlier)); }

void UseVirtualClock(bool on) { Virtual = on; }

void AdvanceVirtualClock(int ms) {
  if (ms > 0) VirtualNow += uint32_t(ms);
}

void ResetVirtualClock() { VirtualNow = VirtualStart; }

void SleepMs(int ms) {
  if (Virtual) AdvanceVirtualClock(ms);
  else std::this_thread::sleep_for(std::chrono::milliseconds(ms > 0 ? ms : 0));
}

void Delay(int ms) { SleepMs(ms); }

static std::tm LocalNow() {
  std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  return t;
}

// Month names are spelled out here rather than taken from the locale: the
// score stamps parse them back as English abbreviations.
std::string CurrentDate() {
  static const char* const Months[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::tm t = LocalNow();
  char text[32];
  snprintf(text, sizeof text, "%02d %s %04d", t.tm_mday, Months[t.tm_mon % 12], t.tm_year + 1900);
  return text;
}

std::string CurrentTime() {
  std::tm t = LocalNow();
  char text[16];
  snprintf(text, sizeof text, "%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
  return text;
}
