// songs.cpp — the music loops, the note table and the song file reader.
#include <algorithm>
#include <utility>

#include "frame/folders.h"
#include "media/media.h"
#include "music/music.h"

int MusicSamples[50];
int PartSampleCount[5];
std::string SongPatterns[5][MaxPatterns + 1];
int SongPatternCount[5];
int SongSectionMode[5];

// One key row of a piano laid over the keyboard, a semitone per character
// from "s" up; "q" is the loops' recorded pitch.
static const char NoteChars[] = "zsxdcvgbhnjmq2w3er5t6y7ui9o0p[=]";
static const float NoteRates[] = {0.0f,    0.5295f, 0.561f, 0.5945f, 0.63f,  0.6675f, 0.707f, 0.749f,
                                  0.7935f, 0.841f,  0.891f, 0.944f,  1.0f,   1.059f,  1.122f, 1.189f,
                                  1.26f,   1.335f,  1.414f, 1.498f,  1.587f, 1.682f,  1.782f, 1.888f,
                                  2.0f,    2.118f,  2.244f, 2.378f,  2.52f,  2.67f,   2.828f, 2.996f};
static_assert(sizeof(NoteChars) - 1 == sizeof(NoteRates) / sizeof(NoteRates[0]));

// The loops and song files live in the game folder's "music/".
static std::string MusicFolder() { return GameFolder + "music/"; }

float NoteRate(char c) {
  if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  for (int i = 0; NoteChars[i]; i++)
    if (NoteChars[i] == c) return NoteRates[i];
  return 0;
}

void LoadMusicSamples() {
  static const char* Parts[5] = {"d1-", "d2-", "bass", "lead", "accompany"};
  for (int& s : MusicSamples) FreeSound(std::exchange(s, 0));  // a display change reloads them
  for (int& c : PartSampleCount) c = 0;
  for (int k = 1; k <= 8; k++) {
    for (int part = 0; part < 5; part++) {
      std::string path = MusicFolder() + Parts[part] + std::to_string(k) + ".wav";
      if (part >= 2) {
        if (FileType(path) != 1) continue;
        PartSampleCount[part] = k;
      }
      MusicSamples[k + 10 * part] = LoadSound(path);
    }
  }
  // A part plays loops 1 to the highest present: the gaps below it (or loop
  // 1 when there is none) are tried too, so the loader names each one
  // missing, like a missing drum hit; their notes stay silent.
  for (int part = 2; part < 5; part++)
    for (int k = 1; k <= std::max(PartSampleCount[part], 1); k++)
      if (MusicSamples[k + 10 * part] == 0)
        MusicSamples[k + 10 * part] = LoadSound(MusicFolder() + Parts[part] + std::to_string(k) + ".wav");
}

static bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

static void ReadSongLine(const std::string& raw, int& section) {
  std::string line = Trim(raw);
  if (line.empty()) return;
  if (line[0] == '[') {
    static const char* Headers[5] = {"[DRUMS", "[CHORDS", "[BASS", "[MELODY", "[ACCOMPANY"};
    std::string head = Replace(Upper(line), "]", "");
    for (int i = 0; i < 5; i++)
      if (head == Headers[i]) section = i;
  }
  if (section < 0) return;
  if (Upper(Left(line, 7)) == "STRETCH") {
    std::string up = Upper(line);
    int& mode = SongSectionMode[section];
    if (EndsWith(up, "FALSE")) mode = 0;
    else if (EndsWith(up, "RANDOM+")) mode = 2;
    else if (EndsWith(up, "RANDOM")) mode = 1;
    else if (EndsWith(up, "DOUBLE")) mode = -2;
  }
  if (line[0] == '"' && SongPatternCount[section] < MaxPatterns) {
    // The sequencer draws pattern numbers up to the count, so lines past the
    // last slot are dropped rather than counted.
    SongPatterns[section][++SongPatternCount[section]] = Replace(line, "\"", "");
  }
}

void LoadSong(const std::string& name, int seed, int tempo) {
  for (int s = 0; s < 5; s++) {
    SongPatternCount[s] = 0;
    SongSectionMode[s] = -1;
    for (std::string& p : SongPatterns[s]) p.clear();
  }
  std::string path = MusicFolder() + name + ".ini";
  if (FileType(path) != 1) return;
  int stream = OpenRead(path);
  if (!stream) return;
  int section = -1;
  while (!EndOfStream(stream)) ReadSongLine(ReadLine(stream), section);
  CloseStream(stream);
  StartSong(seed, tempo);
}
