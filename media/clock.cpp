// clock.cpp — the millisecond clock, waits, and local date and time text.
//
// The virtual clock exists for tests and replays: waits return at once and
// only move the count, so a run takes the same course every time and faster
// than real time. Scripted input is keyed to this same count and is
// delivered by the next event poll after its time has passed.
#include <ctime>

#include "media/internal.h"
#include "media/media.h"

static bool Virtual = false;
static uint32_t VirtualNow = 1000;  // a fixed start, so seeds taken from the clock repeat

bool media::VirtualClockOn() { return Virtual; }

// Unsigned arithmetic wraps like the 32-bit count it models.
int Millisecs() { return int(Virtual ? VirtualNow : SDL_GetTicks()); }

void UseVirtualClock(bool on) { Virtual = on; }

void AdvanceVirtualClock(int ms) {
  if (ms > 0) VirtualNow += uint32_t(ms);
}

void SleepMs(int ms) {
  if (Virtual) AdvanceVirtualClock(ms);
  else SDL_Delay(uint32_t(ms > 0 ? ms : 0));
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
