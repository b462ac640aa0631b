// sequencer.cpp — plays the loaded song: five tracks stepping through 64-step
// bars, rearranged at every chord cycle from the seeded random generator.
#include <cstdint>

#include "frame/common_media.h"
#include "frame/settings_table.h"
#include "media/media.h"
#include "music/music.h"

int MusicOn;
int SongSeed;
int StepLength;
int NextStepTime;
int StepNo, BarNo, PhraseNo;
std::string ChordLine;
float MusicPan;
int TrackSilent[20], TrackNextSilent[20], TrackLeadIn[20];
int PartSample[5];
std::string TrackPattern[5];
float StepTable[5][64];
void (*MusicNoteStarted)(int track, int sound, float rate, float volume);

// Seeds wrap like 32-bit integers: the clock can stand in for the song seed,
// and its value times 1024 does not fit.
static void SeedMusic(int64_t value) { SeedRandom(int32_t(uint32_t(uint64_t(value)))); }

static int64_t PositionSeed() { return int64_t(SongSeed) * 1024 + BarNo + PhraseNo; }

std::string PickPattern(int section, int salt) {
  SeedMusic(PositionSeed() + salt);
  for (int i = PhraseNo * 4 + salt; i > 0; i--) RandomInt(0, 1000);
  int n = RandomInt(1, SongPatternCount[section]);
  int roll = RandomInt(0, 2);
  // An empty section leaves nothing to play: the track stays silent.
  if (n < 1 || n > SongPatternCount[section]) return "";
  std::string p = SongPatterns[section][n];
  int mode = SongSectionMode[section];
  int stretches = ((mode > 0 && roll > 0) || mode < 0) + ((mode == 2 && roll == 2) || mode == -2);
  for (int s = 0; s < stretches; s++) {
    std::string wide;
    for (char c : p) wide += c, wide += ' ';
    p = wide;
  }
  return p;
}

std::string PickChordLine() {
  SeedMusic(PositionSeed() + 13);
  for (int i = PhraseNo * 4 + 13; i > 0; i--) RandomInt(0, 1000);
  int n = RandomInt(1, SongPatternCount[SECTION_CHORDS]);
  return n >= 1 && n <= SongPatternCount[SECTION_CHORDS] ? SongPatterns[SECTION_CHORDS][n] : "";
}

static void NewCycle() {
  for (int part = SECTION_BASS; part <= SECTION_ACCOMPANY; part++)
    PartSample[part] = RandomInt(1, PartSampleCount[part]);
  BarNo = 1;
  ChordLine = PickChordLine();
  for (int t = 0; t < 20; t++) {
    TrackSilent[t] = TrackNextSilent[t];
    TrackNextSilent[t] = RandomInt(0, 1);
    TrackLeadIn[t] = RandomInt(1, 2);
  }
  if (TrackSilent[0] != 0 && TrackSilent[1] == 1) TrackSilent[RandomInt(0, 1)] = 0;
  if (TrackSilent[2] && TrackSilent[3]) TrackSilent[RandomInt(2, 3)] = 0;
  TrackPattern[0] = PickPattern(SECTION_DRUMS, 3);
  TrackPattern[1] = PickPattern(SECTION_DRUMS, 7);
  TrackPattern[2] = PickPattern(SECTION_BASS, 13);
  TrackPattern[3] = PickPattern(SECTION_MELODY, 19);
  TrackPattern[4] = PickPattern(SECTION_ACCOMPANY, 29);
}

void NextPhrase() {
  SeedMusic(PositionSeed());
  PhraseNo++;
  BarNo++;
  int length = int(ChordLine.size());
  if (BarNo > length / 4 || length == 0) NewCycle();
  for (int t = 0; t < 5; t++) {
    const std::string& p = TrackPattern[t];
    int n = int(p.size());
    for (int i = 0; i < 64; i++) {
      float v = 0;
      if (n > 0 && t < 2) {
        char c = p[size_t(i % n)];
        v = c >= '0' && c <= '9' ? float(c - '0') : 0;
      } else if (n > 0) {
        v = NoteRate(p[size_t((i + (BarNo - 1) * 64) % n)]);
      }
      StepTable[t][i] = v;
    }
  }
}

void ResetMusic() {
  MusicOn = SongSeed = StepLength = NextStepTime = StepNo = BarNo = PhraseNo = 0;
  ChordLine.clear();
  MusicPan = 0;
  for (int t = 0; t < 20; t++) TrackSilent[t] = TrackNextSilent[t] = TrackLeadIn[t] = 0;
  for (int part = 0; part < 5; part++) {
    PartSample[part] = PartSampleCount[part] = SongPatternCount[part] = SongSectionMode[part] = 0;
    TrackPattern[part].clear();
    for (std::string& p : SongPatterns[part]) p.clear();
    for (float& step : StepTable[part]) step = 0;
  }
  for (int& sample : MusicSamples) sample = 0;
  MusicNoteStarted = nullptr;
}

void StartSong(int seed, int tempo) {
  if (seed == -1) seed = SeedFromClock();
  SeedMusic(int64_t(seed) * 1024);
  SongSeed = seed;
  MusicPan = 0.3f;
  ChordLine.clear();
  StepNo = BarNo = PhraseNo = -1;
  StepLength = tempo / 2;
  for (int& s : TrackNextSilent) s = RandomInt(0, 1);
  NextPhrase();
  NextStepTime = int(uint32_t(Millisecs()) + 250u);
  MusicOn = 1;
}

// Starts one note on track t, cutting the track's previous note. Drums keep
// their recorded rate (passed as 1).
static void PlayNote(int t, int sample, float rate) {
  int sound = MusicSamples[sample];
  if (!sound) return;  // a loop missing on disk: the note is a rest
  int& slot = ChannelTable[CHANNEL_MUSIC_FIRST + t];
  if (slot && ChannelPlaying(slot)) StopChannel(slot);
  int channel = CueSound(sound, AllocChannel());
  slot = channel;
  if (t == 4) ChannelVolume[CHANNEL_MUSIC_FIRST + 4] = 0.5f;
  if (!channel) return;
  static const float Pans[5] = {1, -1, -1, 0, 1};
  float volume = float(Settings[SETTING_MUSIC]) * float(Settings[SETTING_MASTER]) / 100.0f / (t == 4 ? 200.0f : 100.0f);
  if (t != 3) SetChannelPan(channel, Pans[t] * MusicPan);
  if (t >= 2) SetChannelRate(channel, rate);
  SetChannelVolume(channel, volume);
  ResumeChannel(channel);
  if (MusicNoteStarted) MusicNoteStarted(t, sound, rate, volume);
}

// Times are compared by their difference so that the 32-bit clock may wrap.
static int MsUntil(int time) { return int(uint32_t(time) - uint32_t(Millisecs())); }

void UpdateMusic() {
  if (!MusicOn || MsUntil(NextStepTime) >= 0) return;
  NextStepTime = int(uint32_t(NextStepTime) + uint32_t(StepLength));
  if (++StepNo >= 64) {
    StepNo = 0;
    NextPhrase();
  }
  int length = int(ChordLine.size());
  int eighth = StepNo / 8 + (BarNo - 1) * 8;
  int quarter = StepNo / 16 + (BarNo - 1) * 4;
  int leadIn = eighth >= 2 * length - 1 ? 2 : quarter >= length - 1 ? 1 : 0;
  float chord = quarter < length ? NoteRate(ChordLine[size_t(quarter)]) : 0;
  for (int t = 0; t < 5; t++) {
    float v = StepTable[t][StepNo];
    bool sounds = t < 2 ? (v >= 1 && v <= 8) : v != 0;
    bool muted =
        TrackSilent[t] == 1 && !(TrackNextSilent[t] == 0 && (leadIn == 2 || (leadIn == 1 && TrackLeadIn[t] == 1)));
    if (!sounds || muted) continue;
    if (t < 2) PlayNote(t, int(v) + 10 * t, 1);
    else PlayNote(t, PartSample[t] + 10 * t, v * chord);
  }
}
