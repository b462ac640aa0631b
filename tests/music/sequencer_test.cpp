// Sequencer playback: step timing, arrangement by seed, lead-ins, note rates
// over chords, volumes, one note per track, and songs with gaps in them.
#include <algorithm>

#include "frame/common_media.h"
#include "tests/music/music_fixture.h"

namespace {

// Two-bar cycles of one chord per bar half: "q" for bar 1, "e" for bar 2.
const char* EveryStepSong =
    "[DRUMS]\nSTRETCH=FALSE\n\"1\"\n"
    "[CHORDS]\n\"qqqqeeee\"\n"
    "[BASS]\nSTRETCH=FALSE\n\"e\"\n"
    "[MELODY]\nSTRETCH=FALSE\n\"e\"\n"
    "[ACCOMPANY]\nSTRETCH=FALSE\n\"e\"\n";

std::vector<PlayedNote> NotesOf(int track) {
  std::vector<PlayedNote> notes;
  for (const PlayedNote& n : PlayedNotes)
    if (n.track == track) notes.push_back(n);
  return notes;
}

}  // namespace

TEST_F(MusicTest, StepsFollowTheTempoAfterAQuarterSecond) {
  WriteAllLoops();
  LoadMusicSamples();
  WriteSong("Song", EveryStepSong);
  UpdateMusic();  // nothing before a song starts
  EXPECT_EQ(MusicOn, 0);

  int start = Millisecs();
  LoadSong("Song", 3, 125);
  EXPECT_EQ(StepLength, 62);
  EXPECT_EQ(StepNo, -1);
  AdvanceVirtualClock(250);
  UpdateMusic();
  EXPECT_EQ(StepNo, -1);
  PlaySteps(1);
  EXPECT_GE(Millisecs() - start, 250);
  EXPECT_EQ(StepNo, 0);
  EXPECT_EQ(NextStepTime, start + 250 + 62);

  // A late frame plays only one step; the missed ones follow frame by frame.
  AdvanceVirtualClock(1000);
  UpdateMusic();
  EXPECT_EQ(StepNo, 1);
  UpdateMusic();
  EXPECT_EQ(StepNo, 2);
  EXPECT_EQ(NextStepTime, start + 250 + 3 * 62);

  // Seed -1 takes the clock, and a new song restarts the position.
  LoadSong("Song", -1, 200);
  EXPECT_EQ(SongSeed, Millisecs());
  EXPECT_EQ(StepLength, 100);
  EXPECT_EQ(StepNo, -1);
}

TEST_F(MusicTest, SameSongAndSeedPlayTheSameNotes) {
  UseFolders(PLIMBO_BINARY_DIR "/Files/");
  LoadMusicSamples();
  auto play = [&](int seed) {
    PlayedNotes.clear();
    LoadSong("ZEMPlat", seed, 125);
    PlaySteps(64 * 24);
    return PlayedNotes;
  };
  std::vector<PlayedNote> first = play(17);
  ASSERT_GT(first.size(), 500u);
  EXPECT_EQ(play(17), first);
  EXPECT_NE(play(18), first);
}

TEST_F(MusicTest, SilentTracksLeadIntoTheNextCycle) {
  WriteAllLoops();
  LoadMusicSamples();
  WriteSong("Song", EveryStepSong);
  LoadSong("Song", 3, 125);
  for (int t = 0; t < 5; t++) TrackSilent[t] = 1, TrackNextSilent[t] = 0, TrackLeadIn[t] = 2;
  TrackLeadIn[3] = 1;
  TrackNextSilent[4] = 1;  // stays silent next cycle too: never leads in
  PlaySteps(128);          // the whole first cycle of two bars

  std::vector<PlayedNote> bass = NotesOf(2), lead = NotesOf(3);
  ASSERT_EQ(bass.size(), 8u);
  for (int i = 0; i < 8; i++) EXPECT_EQ(bass[size_t(i)].bar * 100 + bass[size_t(i)].step, 256 + i);
  ASSERT_EQ(lead.size(), 16u);
  for (int i = 0; i < 16; i++) EXPECT_EQ(lead[size_t(i)].bar * 100 + lead[size_t(i)].step, 248 + i);
  EXPECT_EQ(NotesOf(0).size(), 8u);
  EXPECT_TRUE(NotesOf(4).empty());
}

TEST_F(MusicTest, NotesPlayAtTheirRateTimesTheChordAndTheSettingsVolume) {
  WriteAllLoops();
  LoadMusicSamples();
  WriteSong("Song", EveryStepSong);
  LoadSong("Song", 3, 125);
  for (int t = 0; t < 5; t++) TrackSilent[t] = 0;
  PlaySteps(128);

  ASSERT_EQ(PlayedNotes.size(), 5u * 128u);
  for (const PlayedNote& n : PlayedNotes) {
    if (n.track < 2) {
      EXPECT_EQ(n.sound, MusicSamples[1 + 10 * n.track]);
    } else {
      EXPECT_EQ(n.sound, MusicSamples[PartSample[n.track] + 10 * n.track]);
      EXPECT_FLOAT_EQ(n.rate, n.bar == 1 ? 1.26f : 1.26f * 1.26f);
    }
    EXPECT_FLOAT_EQ(n.volume, n.track == 4 ? 0.125f : 0.25f);
  }
  EXPECT_FLOAT_EQ(ChannelVolume[4], 0.5f);

  // A settings change applies from the next note on.
  Settings[13] = 100;
  PlayedNotes.clear();
  PlaySteps(1);
  ASSERT_FALSE(PlayedNotes.empty());
  EXPECT_FLOAT_EQ(PlayedNotes[0].volume, 0.5f);
}

TEST_F(MusicTest, ANewNoteCutsTheTracksPreviousNote) {
  WriteAllLoops(44100 * 5);  // far longer than a step
  LoadMusicSamples();
  WriteSong("Song", EveryStepSong);
  LoadSong("Song", 3, 125);
  for (int t = 0; t < 5; t++) TrackSilent[t] = 0;
  int previous[5] = {};
  for (int i = 0; i < 20; i++) {
    PlaySteps(1);
    for (int t = 0; t < 5; t++) {
      ASSERT_NE(ChannelTable[t], 0);
      EXPECT_TRUE(ChannelPlaying(ChannelTable[t]));
      EXPECT_NE(ChannelTable[t], previous[t]);
      if (previous[t]) {
        EXPECT_FALSE(ChannelPlaying(previous[t]));
      }
      previous[t] = ChannelTable[t];
    }
    std::vector<int16_t> mix(2 * 2734);
    MixAudio(mix.data(), 2734);  // a step's worth of sound
    EXPECT_NE(mix[0], 0);
  }
}

TEST_F(MusicTest, StretchModesSlowPatternsDown) {
  WriteSong("Song",
            "[DRUMS]\nSTRETCH=FALSE\n\"12\"\n[CHORDS]\n\"qqqq\"\n[BASS]\n\"q\"\n"
            "[MELODY]\nSTRETCH=DOUBLE\n\"q\"\n[ACCOMPANY]\nSTRETCH=RANDOM+\n\"q\"\n");
  LoadSong("Song", 3, 125);
  EXPECT_EQ(TrackPattern[0], "12");
  EXPECT_EQ(TrackPattern[2], "q ");
  EXPECT_EQ(TrackPattern[3], "q   ");
  EXPECT_EQ(PickChordLine(), "qqqq");
  std::vector<size_t> lengths;
  for (int salt = 0; salt < 40; salt++) lengths.push_back(PickPattern(SECTION_ACCOMPANY, salt).size());
  for (size_t n : {1u, 2u, 4u}) EXPECT_NE(std::count(lengths.begin(), lengths.end(), n), 0) << n;

  // Drum patterns restart every bar; melodic ones run on across the cycle.
  EXPECT_EQ(StepTable[0][0], 1.0f);
  EXPECT_EQ(StepTable[0][1], 2.0f);
  EXPECT_EQ(StepTable[0][63], 2.0f);
  EXPECT_EQ(StepTable[3][0], 1.0f);
  EXPECT_EQ(StepTable[3][1], 0.0f);
}

TEST_F(MusicTest, GapsInASongStaySilent) {
  // Loops for drum hit 1 and one bass loop only; no chords, an empty lead
  // pattern, no accompaniment patterns.
  WriteLoops({"d1-1", "d2-1", "bass1"});
  LoadMusicSamples();
  WriteSong("Song", "[DRUMS]\nSTRETCH=FALSE\n\"1 3 \"\n[BASS]\n\"q\"\n[MELODY]\n\"\"\n");
  LoadSong("Song", 3, 125);
  for (int bar = 1; bar <= 6; bar++) {
    if (bar > 1) PlaySteps(1);  // the first step of a bar starts its cycle
    EXPECT_EQ(BarNo, 1);        // no chord line: every bar is a new cycle
    EXPECT_EQ(PhraseNo, bar - 1);
    for (int t = 0; t < 5; t++) TrackSilent[t] = 0;
    PlaySteps(bar > 1 ? 63 : 64);
  }
  for (const PlayedNote& n : PlayedNotes) {
    EXPECT_NE(n.sound, 0);
    EXPECT_LT(n.track, 3);  // no lead, no accompaniment
    if (n.track < 2) {
      EXPECT_EQ(n.step % 4, 0);  // hit 3 has no loop
    } else {
      EXPECT_EQ(n.rate, 0.0f);  // no chord to play over
    }
  }
  EXPECT_FALSE(NotesOf(0).empty());
}
