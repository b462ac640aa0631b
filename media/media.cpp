// media.cpp — starting and stopping the media services, memory figures,
// the player's folder and ending the process.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "media/internal.h"
#include "media/media.h"

static bool Started = false;
static bool Headless = false;

// The dummy drivers may also be chosen from outside through SDL's own
// environment variables; SDL honours those by itself.
void StartMedia(const MediaConfig& config) {
  UseVirtualClock(config.virtualClock);
  if (Started) return;
  if (config.headless) {
    SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "dummy", SDL_HINT_OVERRIDE);
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
  }
  // Joysticks and video are asked for separately, so that a machine lacking
  // one of them still gets the rest (events, the clock, sound).
  SDL_Init(SDL_INIT_EVENTS | SDL_INIT_TIMER);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) DebugLog(std::string("no video: ") + SDL_GetError());
  if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) DebugLog(std::string("no joysticks: ") + SDL_GetError());
  const char* video = SDL_GetCurrentVideoDriver();
  Headless = config.headless || (video && strcmp(video, "dummy") == 0);
  media::SoundStart(config.headless);
  Started = true;
}

// Everything is torn down even when StartMedia never ran: choosing an audio
// driver, fonts or a window may have started parts of SDL on their own.
void StopMedia() {
  media::ForgetLoadFailures();
  media::DisplayShutdown();
  media::SoundShutdown();
  media::InputShutdown();
  SDL_Quit();
  Started = false;
}

bool MediaHeadless() { return Headless; }

// Memory is freed as handles are freed; there is nothing left to collect,
// so the count reports the handles freed since the last call.
int CollectGarbage() { return std::exchange(media::FreedHandles, 0); }

int64_t MemoryInUse() { return media::BankBytes() + media::SoundBytes() + media::DisplayBytes(); }

// SDL makes the folder if it is missing. No organisation name: the folder
// is the game's own, as players look for it.
std::string PrefFolder(const std::string& name) {
  char* path = SDL_GetPrefPath("", name.c_str());
  if (!path) return "";
  std::string folder = path;
  SDL_free(path);
  return folder;
}

void EndProcess(int code) {
  StopMedia();
  std::exit(code);
}
