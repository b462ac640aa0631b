// music.h — song files, music loops and the sequencer that plays them.
//
// A song is not a recording: the sequencer arranges short loops from
// "music/" while it plays, following the song file's drum patterns, chord
// lines and note patterns. Everything is seeded from the song seed and the
// position, so a song and seed always give the same music.
#pragma once

#include <string>

// Sections of a song file, and the parts of the loop table.
enum { SECTION_DRUMS = 0, SECTION_CHORDS, SECTION_BASS, SECTION_MELODY, SECTION_ACCOMPANY };
const int MaxPatterns = 998;

// Loops, slot k + 10 x part (parts: kit 1, kit 2, bass, lead, accompaniment).
extern int MusicSamples[50];
extern int PartSampleCount[5];  // bass, lead, accompaniment: highest loop present

// Song data, replaced by every LoadSong; patterns numbered from 1.
extern std::string SongPatterns[5][MaxPatterns + 1];
extern int SongPatternCount[5];
extern int SongSectionMode[5];  // -1 default, 0 FALSE, 1 RANDOM, 2 RANDOM+, -2 DOUBLE

// Playback state.
extern int MusicOn;
extern int SongSeed;
extern int StepLength;
extern int NextStepTime;
extern int StepNo, BarNo, PhraseNo;
extern std::string ChordLine;
extern float MusicPan;
extern int TrackSilent[20], TrackNextSilent[20], TrackLeadIn[20];
extern int PartSample[5];            // bass, lead, accompaniment loop in use
extern std::string TrackPattern[5];  // drum A, drum B, bass, lead, accompaniment
extern float StepTable[5][64];       // drum hit or note rate per step of the bar

void LoadMusicSamples();
void ResetMusic();  // silent, no song, no loops, no note watcher (tests)
void LoadSong(const std::string& name, int seed, int tempo);
void StartSong(int seed, int tempo);
void UpdateMusic();
void NextPhrase();
std::string PickPattern(int section, int salt);
std::string PickChordLine();

// Playback rate of a note or chord character; 0 for a rest.
float NoteRate(char c);

// Tests watch the notes through this; it is called for every note started.
extern void (*MusicNoteStarted)(int track, int sound, float rate, float volume);
