// sound.cpp — audio drivers, sounds, channels and our own mixer.
//
// Sounds are converted at load to 44.1 kHz 16-bit (mono or stereo), so the
// mixer only resamples for a channel's rate. The mixer is ours because every
// music note needs its own rate. One mutex guards the sound and channel
// tables against the audio thread, which calls MixAudio from the device.
// Without any working sound device the mixer runs on regardless; it is then
// simply never called by a device.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <map>
#include <mutex>

#include "media/internal.h"
#include "media/media.h"

namespace {

struct Sound {
  std::vector<int16_t> samples;  // interleaved when stereo
  int channels = 1;
  int frames = 0;
};

struct Channel {
  int id = 0;     // 0: slot free
  int sound = 0;  // 0: nothing cued, finished or stopped
  double pos = 0;
  float volume = 1, pan = 0, rate = 1;
  bool paused = true;
};

// Finished channels keep their slot until it is needed again, so a handle
// stays valid while the program might still look at it.
const int MaxChannels = 512;
const int OutputRate = 44100;

std::mutex Lock;
std::map<int, Sound> Sounds;
Channel Channels[MaxChannels];
int NextSound = 1, NextChannel = 1;
SDL_AudioDeviceID Device;
bool AudioUp;        // an audio driver is initialised (by us)
bool HeadlessAudio;  // started headless: output stays silent
// The player's mute: read by the audio thread on every mix.
std::atomic<bool> Muted;

Channel* ChannelOf(int id) {
  if (id <= 0) return nullptr;
  for (Channel& c : Channels)
    if (c.id == id) return &c;
  return nullptr;
}

// A free slot, else the finished channel that was handed out first.
Channel* NewChannel() {
  Channel* pick = nullptr;
  for (Channel& c : Channels) {
    if (c.id == 0) {
      pick = &c;
      break;
    }
    if (c.sound == 0 && (!pick || c.id < pick->id)) pick = &c;
  }
  if (!pick) return nullptr;
  *pick = Channel();
  pick->id = NextChannel++;
  return pick;
}

// The final limiter. Below KneeStart the mix passes untouched, so the
// default volumes (music peaks near 21,000) sound exactly as mixed. Louder
// mixes (full volumes reach 2.6 times full scale) are pulled down by a gain
// follower that drops within about a millisecond and climbs back over a
// fifth of a second; the soft knee bends what slips past during the drop
// toward Ceiling, which it never reaches, so no sample is ever clipped.
constexpr float KneeStart = 24576, Ceiling = 32000;
constexpr float GainAttack = 0.05f, GainRelease = 1.0f / (0.2f * OutputRate);
float LimiterGain = 1;

float Knee(float v) {
  float a = std::fabs(v);
  if (a <= KneeStart) return v;
  float over = (a - KneeStart) / (Ceiling - KneeStart);
  return std::copysign(KneeStart + (Ceiling - KneeStart) * over / (1 + over), v);
}

void Limit(float* mix, int frames) {
  for (int f = 0; f < frames; f++) {
    float& l = mix[f * 2];
    float& r = mix[f * 2 + 1];
    float peak = std::max(std::fabs(l), std::fabs(r));
    float wanted = peak > KneeStart ? KneeStart / peak : 1;
    if (wanted < LimiterGain) LimiterGain += (wanted - LimiterGain) * GainAttack;
    else LimiterGain = std::min(wanted, LimiterGain + GainRelease);  // back to exactly 1
    l = Knee(l * LimiterGain);
    r = Knee(r * LimiterGain);
  }
}

void Callback(void*, Uint8* stream, int len) { MixAudio(reinterpret_cast<int16_t*>(stream), len / 4); }

bool OpenDevice() {
  SDL_AudioSpec want{}, have{};
  want.freq = OutputRate;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 1024;
  want.callback = Callback;
  Device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (Device == 0) return false;
  SDL_PauseAudioDevice(Device, 0);
  return true;
}

void CloseAudio() {
  if (Device) SDL_CloseAudioDevice(Device);
  Device = 0;
  if (AudioUp) SDL_AudioQuit();
  AudioUp = false;
}

// Starts the named driver (nullptr: SDL's own choice) and opens output on it.
bool StartDriver(const char* name) {
  CloseAudio();
  AudioUp = SDL_AudioInit(name) == 0;
  if (AudioUp && OpenDevice()) return true;
  CloseAudio();
  return false;
}

// Falls back to silent output so that the rest of the program never notices
// a machine without sound.
void StartAnyDriver(const char* name) {
  if (StartDriver(name)) return;
  DebugLog(std::string("no sound output on ") + (name ? name : "the default driver") + ": " + SDL_GetError());
  StartDriver("dummy");
}

// Adds one channel into the float mix, resampling by its rate with linear
// interpolation; returns the position reached.
template <int Channels>
double MixChannel(const Sound& s, double pos, float rate, float left, float right, float* mix, int frames) {
  const int16_t* d = s.samples.data();
  int last = s.frames - 1;
  for (int f = 0; f < frames; f++, pos += rate) {
    int i = int(pos);
    if (i > last) break;
    float frac = float(pos - i);
    int j = i < last ? i + 1 : i;
    float a = d[i * Channels], b = d[j * Channels];
    float l = a + (b - a) * frac, r = l;
    if constexpr (Channels == 2) {
      float c = d[i * 2 + 1], e = d[j * 2 + 1];
      r = c + (e - c) * frac;
    }
    mix[f * 2] += l * left;
    mix[f * 2 + 1] += r * right;
  }
  return pos;
}

}  // namespace

void media::SoundStart(bool headless) {
  HeadlessAudio = headless;
  StartAnyDriver(headless ? "dummy" : nullptr);
}

std::string AudioDriverInUse() {
  const char* name = AudioUp ? SDL_GetCurrentAudioDriver() : nullptr;
  return name ? name : "";
}

void media::SoundShutdown() {
  CloseAudio();
  std::lock_guard<std::mutex> guard(Lock);
  Sounds.clear();
  std::fill(std::begin(Channels), std::end(Channels), Channel());
  Muted = false;
}

int media::SoundCount() {
  std::lock_guard<std::mutex> guard(Lock);
  return int(Sounds.size());
}

int64_t media::SoundBytes() {
  std::lock_guard<std::mutex> guard(Lock);
  int64_t total = 0;
  for (auto& [id, s] : Sounds) total += int64_t(s.samples.size() * sizeof(int16_t));
  return total;
}

// ---------------------------------------------------------------- drivers

// "disk" writes the sound to a file beside the program (some 600 MB an
// hour) and "dummy" throws it away: neither is a choice for a player.
std::vector<std::string> ListAudioDrivers() {
  std::vector<std::string> names;
  for (int i = 0; i < SDL_GetNumAudioDrivers() && names.size() < 100; i++) {
    std::string name = SDL_GetAudioDriver(i);
    if (name != "disk" && name != "dummy") names.push_back(name);
  }
  return names;
}

// Any driver SDL has, listed or not.
bool AudioDriverExists(const std::string& name) {
  for (int i = 0; i < SDL_GetNumAudioDrivers(); i++)
    if (Upper(SDL_GetAudioDriver(i)) == Upper(name)) return true;
  return false;
}

// A driver that will not open leaves output on the one that worked before.
bool SetAudioDriver(const std::string& name) {
  if (HeadlessAudio) return false;
  for (int i = 0; i < SDL_GetNumAudioDrivers(); i++) {
    std::string n = SDL_GetAudioDriver(i);
    if (Upper(n) != Upper(name)) continue;
    const char* current = SDL_GetCurrentAudioDriver();
    std::string previous = current ? current : "dummy";
    if (StartDriver(n.c_str())) return true;
    StartAnyDriver(previous.c_str());
    return false;
  }
  return false;
}

bool EnableOpenAL() { return false; }

// ---------------------------------------------------------------- sounds

// The game's sounds are seconds long and a few hundred kilobytes; these
// bounds leave room for far longer ones.
constexpr size_t MaxSoundFileBytes = 64 << 20;
constexpr int MaxSoundSeconds = 600;
constexpr size_t MaxConversionBytes = 256 << 20;

static uint32_t Le(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; i--) v = v << 8 | p[i];
  return v;
}

// Plain samples only: 8, 16, 24 or 32-bit integers, or 32-bit floats. SDL
// also decodes compressed WAVs, but no sound of ours is one, and each
// decoder is more code a damaged file can reach.
static std::string CheckFormat(const uint8_t* fmt, uint32_t size) {
  uint32_t tag = Le(fmt, 2), channels = Le(fmt + 2, 2), rate = Le(fmt + 4, 4), bits = Le(fmt + 14, 2);
  if (tag == 0xFFFE && size >= 26) tag = Le(fmt + 24, 2);  // the extensible form names it further on
  bool plain = (tag == 1 && (bits == 8 || bits == 16 || bits == 24 || bits == 32)) || (tag == 3 && bits == 32);
  if (!plain)
    return "unsupported (format " + std::to_string(tag) + " with " + std::to_string(bits) +
           "-bit samples; plain 8, 16, 24 or 32-bit samples expected)";
  if (channels < 1 || channels > 8) return "damaged (" + std::to_string(channels) + " channels, 1 to 8 expected)";
  if (rate < 4000 || rate > 192000) return "damaged (" + std::to_string(rate) + " Hz, 4000 to 192000 expected)";
  return "";
}

// Walks the RIFF chunks before SDL sees the file: SDL takes a chunk's
// declared size at its word and allocates it (4 GB for a 1 KB file that
// says so), and it knows nothing of how long a sound may sensibly be.
static std::string CheckWav(const std::vector<uint8_t>& f) {
  if (f.size() < 12 || memcmp(f.data(), "RIFF", 4) != 0 || memcmp(f.data() + 8, "WAVE", 4) != 0)
    return "damaged (not a WAV file)";
  const uint8_t* fmt = nullptr;
  for (size_t at = 12; at + 8 <= f.size();) {
    uint64_t size = Le(&f[at + 4], 4), left = f.size() - at - 8;
    std::string id(reinterpret_cast<const char*>(&f[at]), 4);
    if (size > left)
      return "damaged (its \"" + id + "\" chunk declares " + std::to_string(size) + " bytes, the file has " +
             std::to_string(left) + " left)";
    if (id == "fmt " && !fmt) {
      if (size < 16) return "damaged (format chunk too short)";
      fmt = &f[at + 8];
      if (std::string why = CheckFormat(fmt, uint32_t(size)); !why.empty()) return why;
    }
    if (id == "data") {
      if (!fmt) return "damaged (no format before the sound data)";
      uint64_t frames = size / (Le(fmt + 2, 2) * Le(fmt + 14, 2) / 8), rate = Le(fmt + 4, 4);
      if (frames > rate * MaxSoundSeconds)
        return "too large (" + std::to_string(frames / rate) + " seconds of sound, at most " +
               std::to_string(MaxSoundSeconds) + ")";
      return "";
    }
    at += 8 + size + (size & 1);
  }
  return "damaged (no sound data)";
}

int LoadSound(const std::string& path) {
  std::vector<uint8_t> file;
  std::string why = media::ReadMediaFile(path, MaxSoundFileBytes, file);
  if (why.empty()) why = CheckWav(file);
  if (!why.empty()) return media::LoadFailed(path, why);
  SDL_RWops* rw = SDL_RWFromConstMem(file.data(), int(file.size()));
  SDL_AudioSpec wav{};
  Uint8* data = nullptr;
  Uint32 length = 0;
  if (!rw || !SDL_LoadWAV_RW(rw, 1, &wav, &data, &length))
    return media::LoadFailed(path, std::string("damaged (") + SDL_GetError() + ")");
  int channels = wav.channels >= 2 ? 2 : 1;
  SDL_AudioCVT cvt;
  if (SDL_BuildAudioCVT(&cvt, wav.format, wav.channels, wav.freq, AUDIO_S16SYS, Uint8(channels), OutputRate) < 0) {
    SDL_FreeWAV(data);
    return media::LoadFailed(path, std::string("unsupported format (") + SDL_GetError() + ")");
  }
  size_t workBytes = size_t(length) * size_t(std::max(cvt.len_mult, 1));
  if (workBytes > MaxConversionBytes) {
    SDL_FreeWAV(data);
    return media::LoadFailed(path, "too large (" + std::to_string(workBytes) + " bytes to convert, at most " +
                                       std::to_string(MaxConversionBytes) + ")");
  }
  std::vector<uint8_t> work(workBytes);
  std::copy(data, data + length, work.begin());
  SDL_FreeWAV(data);
  cvt.buf = work.data();
  cvt.len = int(length);
  if (cvt.needed && SDL_ConvertAudio(&cvt) < 0)
    return media::LoadFailed(path, std::string("unsupported format (") + SDL_GetError() + ")");
  int bytes = cvt.needed ? cvt.len_cvt : int(length);
  // Nothing to play: a silent stand-in would hide that the file is wrong.
  if (bytes < 2 * channels) return media::LoadFailed(path, "empty (no sound in its data chunk)");
  Sound s;
  s.channels = channels;
  s.frames = bytes / (2 * channels);
  s.samples.resize(size_t(s.frames) * size_t(channels));
  memcpy(s.samples.data(), work.data(), s.samples.size() * sizeof(int16_t));
  std::lock_guard<std::mutex> guard(Lock);
  int id = NextSound++;
  Sounds[id] = std::move(s);
  return id;
}

void FreeSound(int sound) {
  std::lock_guard<std::mutex> guard(Lock);
  if (!Sounds.erase(sound)) return;
  for (Channel& c : Channels)
    if (c.sound == sound) c.sound = 0;
  media::FreedHandles++;
}

// ---------------------------------------------------------------- channels

int AllocChannel() {
  std::lock_guard<std::mutex> guard(Lock);
  Channel* c = NewChannel();
  return c ? c->id : 0;
}

int CueSound(int sound, int channel) {
  std::lock_guard<std::mutex> guard(Lock);
  if (!Sounds.count(sound)) return 0;
  Channel* c = channel ? ChannelOf(channel) : NewChannel();
  if (!c) return 0;
  c->sound = sound;
  c->pos = 0;
  c->paused = true;
  return c->id;
}

void ResumeChannel(int channel) {
  std::lock_guard<std::mutex> guard(Lock);
  if (Channel* c = ChannelOf(channel)) c->paused = false;
}

void StopChannel(int channel) {
  std::lock_guard<std::mutex> guard(Lock);
  if (Channel* c = ChannelOf(channel)) c->sound = 0;
}

bool ChannelPlaying(int channel) {
  std::lock_guard<std::mutex> guard(Lock);
  Channel* c = ChannelOf(channel);
  return c && c->sound != 0;
}

void SetChannelVolume(int channel, float volume) {
  std::lock_guard<std::mutex> guard(Lock);
  if (Channel* c = ChannelOf(channel)) c->volume = std::isfinite(volume) ? std::clamp(volume, 0.0f, 1.0f) : 0.0f;
}

void SetChannelPan(int channel, float pan) {
  std::lock_guard<std::mutex> guard(Lock);
  if (Channel* c = ChannelOf(channel)) c->pan = std::isfinite(pan) ? std::clamp(pan, -1.0f, 1.0f) : 0.0f;
}

// Rate 0 holds the sound still (a note of no pitch); it plays on silently
// until stopped.
void SetChannelRate(int channel, float rate) {
  std::lock_guard<std::mutex> guard(Lock);
  if (Channel* c = ChannelOf(channel)) c->rate = std::isfinite(rate) ? std::clamp(rate, 0.0f, 64.0f) : 1.0f;
}

// ---------------------------------------------------------------- mixing

void MixAudio(int16_t* out, int frames) {
  if (frames <= 0) return;
  static thread_local std::vector<float> mix;
  mix.assign(size_t(frames) * 2, 0.0f);
  {
    std::lock_guard<std::mutex> guard(Lock);
    for (Channel& c : Channels) {
      if (c.id == 0 || c.sound == 0 || c.paused) continue;
      auto it = Sounds.find(c.sound);
      if (it == Sounds.end()) {
        c.sound = 0;
        continue;
      }
      const Sound& s = it->second;
      // Linear pan: the centre keeps both sides at full volume.
      float left = c.volume * (c.pan > 0 ? 1 - c.pan : 1);
      float right = c.volume * (c.pan < 0 ? 1 + c.pan : 1);
      c.pos = s.channels == 2 ? MixChannel<2>(s, c.pos, c.rate, left, right, mix.data(), frames)
                              : MixChannel<1>(s, c.pos, c.rate, left, right, mix.data(), frames);
      if (c.pos >= double(s.frames)) c.sound = 0;
    }
    Limit(mix.data(), frames);
  }
  // Muted output still mixes, so songs and effects keep their place and
  // come back where they would be.
  if (Muted) std::fill(mix.begin(), mix.end(), 0.0f);
  for (size_t i = 0; i < mix.size(); i++) out[i] = int16_t(std::clamp(std::lround(mix[i]), -32768L, 32767L));
}

void SetSoundMuted(bool muted) { Muted = muted; }
bool SoundMuted() { return Muted; }
