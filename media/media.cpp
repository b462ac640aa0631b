// media.cpp — starting and stopping the media services, memory and leak
// figures, the player's folder, termination signals and ending the process.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <utility>

#include "media/display_internal.h"
#include "media/internal.h"
#include "media/media.h"

static bool Started = false;
static bool Headless = false;
static volatile sig_atomic_t TerminationNoted = 0;

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
  // SDL would turn SIGINT and SIGTERM into a close request, which the thanks
  // screen then waits on; the program's own handlers say what happened.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_Init(SDL_INIT_EVENTS | SDL_INIT_TIMER);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) DebugLog(std::string("no video: ") + SDL_GetError());
  // The game-controller layer brings the joysticks with it.
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) DebugLog(std::string("no joysticks: ") + SDL_GetError());
  const char* video = SDL_GetCurrentVideoDriver();
  Headless = config.headless || (video && strcmp(video, "dummy") == 0);
  media::SoundStart(config.headless);
  Started = true;
}

// Everything is torn down even when StartMedia never ran: choosing an audio
// driver, fonts or a window may have started parts of SDL on their own.
void StopMedia() {
  TerminationNoted = 0;
  media::ForgetLoadFailures();
  media::GifShutdown();
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

// Resident memory from /proc/self/statm (its second field, in pages), which
// costs one small read; 0 where there is no /proc.
static int64_t ResidentBytes() {
  FILE* statm = fopen("/proc/self/statm", "r");
  if (!statm) return 0;
  long long size = 0, resident = 0;
  bool read = fscanf(statm, "%lld %lld", &size, &resident) == 2;
  fclose(statm);
  return read ? resident * sysconf(_SC_PAGESIZE) : 0;
}

// The listing holds a descriptor of its own while it is read.
static int OpenFileCount() {
  std::error_code error;
  int count = 0;
  for (std::filesystem::directory_iterator entry("/proc/self/fd", error), end; !error && entry != end;
       entry.increment(error))
    count++;
  return count > 0 ? count - 1 : 0;
}

MediaFigures CountMediaFigures() {
  MediaFigures figures;
  figures.images = media::ImageCount();
  figures.fonts = media::FontCount();
  figures.pixmaps = media::PixmapCount();
  figures.sounds = media::SoundCount();
  figures.streams = media::StreamCount();
  figures.banks = media::BankCount();
  figures.residentBytes = ResidentBytes();
  figures.openFiles = OpenFileCount();
  return figures;
}

// SDL makes the folder if it is missing. No organisation name: the folder
// is the game's own, as players look for it.
std::string PrefFolder(const std::string& name) {
  char* path = SDL_GetPrefPath("", name.c_str());
  if (!path) return "";
  std::string folder = path;
  SDL_free(path);
  return folder;
}

// Only noted: saving and closing down call into the whole program, which is
// not safe inside a handler. A second signal finds the first still noted,
// which means the program is stuck where nothing looks, and ends it at once.
static void NoteTermination(int signal) {
  if (TerminationNoted != 0) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
  }
  TerminationNoted = signal;
}

// SA_RESTART, so a save under way when the signal comes is not cut short by
// an interrupted write. A reader of standard error that went away (the
// terminal closed under a pipe) must not end the program before it has saved.
void CatchTerminationSignals() {
  struct sigaction action = {};
  action.sa_handler = NoteTermination;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) sigaction(signal, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
}

int TerminationSignal() { return TerminationNoted; }

void EndProcess(int code) {
  StopMedia();
  std::exit(code);
}
