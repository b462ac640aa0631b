// Reading song files and loops: the header, stretch and pattern grammar, the
// pattern limit, missing files, loop counts with gaps, and the note table.
#include "tests/music/music_fixture.h"

TEST_F(MusicTest, HeadersStretchLinesAndPatternsFollowTheGrammar) {
  WriteSong("Grammar",
            "\"before any header\"\r\n"
            "STRETCH=DOUBLE\r\n"
            "[drums]\r\n"
            "STRETCH RANDOM+\r\n"
            "   \"1 2 \"   \r\n"
            "[CHORDS\r\n"
            "stretch=double\r\n"
            "\"12\"34\"\r\n"
            "[Bass]]\r\n"
            "STRETCH=YES\r\n"
            "\"q\"\r\n"
            "[NOT A SECTION]\r\n"
            "\"still bass\"\r\n"
            "; \"a comment\"\r\n"
            "x\"not a pattern\"\r\n"
            "[MELODY]\r\n"
            "Stretch = false\r\n"
            "[ACCOMPANY]\r\n"
            "STRETCH:random\r\n"
            "[DRUMS\r\n"
            "\"3\"\r\n");
  LoadSong("Grammar", 1, 125);

  EXPECT_EQ(SongPatternCount[SECTION_DRUMS], 2);
  EXPECT_EQ(SongPatterns[SECTION_DRUMS][1], "1 2 ");  // inner and trailing blanks kept
  EXPECT_EQ(SongPatterns[SECTION_DRUMS][2], "3");
  EXPECT_EQ(SongPatternCount[SECTION_CHORDS], 1);
  EXPECT_EQ(SongPatterns[SECTION_CHORDS][1], "1234");
  EXPECT_EQ(SongPatternCount[SECTION_BASS], 2);
  EXPECT_EQ(SongPatterns[SECTION_BASS][2], "still bass");
  EXPECT_EQ(SongPatternCount[SECTION_MELODY], 0);
  EXPECT_EQ(SongPatternCount[SECTION_ACCOMPANY], 0);

  EXPECT_EQ(SongSectionMode[SECTION_DRUMS], 2);
  EXPECT_EQ(SongSectionMode[SECTION_CHORDS], -2);
  EXPECT_EQ(SongSectionMode[SECTION_BASS], -1);
  EXPECT_EQ(SongSectionMode[SECTION_MELODY], 0);
  EXPECT_EQ(SongSectionMode[SECTION_ACCOMPANY], 1);
}

TEST_F(MusicTest, PatternsPastTheLimitAreNotCounted) {
  std::string text = "[MELODY]\n";
  for (int i = 1; i <= 1000; i++) text += "\"" + std::to_string(i) + "\"\n";
  WriteSong("Long", text);
  LoadSong("Long", 1, 125);
  EXPECT_EQ(SongPatternCount[SECTION_MELODY], MaxPatterns);
  EXPECT_EQ(SongPatterns[SECTION_MELODY][1], "1");
  EXPECT_EQ(SongPatterns[SECTION_MELODY][998], "998");
  // Every number the sequencer can draw names a stored pattern.
  for (int i = 0; i < 50; i++) EXPECT_FALSE(PickPattern(SECTION_MELODY, i).empty());
}

TEST_F(MusicTest, EveryLoadReplacesTheSongData) {
  WriteSong("First", "[BASS]\nSTRETCH=FALSE\n\"q\"\n\"w\"\n");
  WriteSong("Second", "[DRUMS]\n\"1\"\n");
  LoadSong("First", 1, 125);
  LoadSong("Second", 1, 125);
  EXPECT_EQ(SongPatternCount[SECTION_BASS], 0);
  EXPECT_EQ(SongSectionMode[SECTION_BASS], -1);
  EXPECT_EQ(SongPatternCount[SECTION_DRUMS], 1);
}

TEST_F(MusicTest, MissingSongEmptiesTheDataButLeavesPlaybackRunning) {
  EXPECT_EQ(MusicOn, 0);
  LoadSong("Nowhere", 1, 125);
  EXPECT_EQ(MusicOn, 0);  // nothing starts

  WriteAllLoops();
  LoadMusicSamples();
  WriteSong("Song", "[DRUMS]\nSTRETCH=FALSE\n\"1\"\n[CHORDS]\n\"qqqq\"\n");
  LoadSong("Song", 1, 125);
  PlaySteps(10);
  int step = StepNo, next = NextStepTime;
  LoadSong("Nowhere", 5, 200);
  EXPECT_EQ(SongPatternCount[SECTION_DRUMS], 0);
  EXPECT_EQ(SongPatternCount[SECTION_CHORDS], 0);
  EXPECT_EQ(MusicOn, 1);
  EXPECT_EQ(StepNo, step);
  EXPECT_EQ(NextStepTime, next);
  EXPECT_EQ(SongSeed, 1);
  PlaySteps(100);  // plays on through a new bar with no patterns left
}

TEST_F(MusicTest, LoopCountsAreTheHighestNumberPresent) {
  WriteLoops({"bass1", "bass2", "bass4", "d1-3", "d2-8", "accompany8", "lead9"});
  LoadMusicSamples();
  EXPECT_EQ(PartSampleCount[SECTION_BASS], 4);
  EXPECT_NE(MusicSamples[21], 0);
  EXPECT_NE(MusicSamples[22], 0);
  EXPECT_EQ(MusicSamples[23], 0);
  EXPECT_NE(MusicSamples[24], 0);
  EXPECT_EQ(PartSampleCount[SECTION_MELODY], 0);  // only loops 1 to 8 count
  EXPECT_EQ(PartSampleCount[SECTION_ACCOMPANY], 8);
  EXPECT_NE(MusicSamples[48], 0);
  EXPECT_EQ(MusicSamples[1], 0);
  EXPECT_NE(MusicSamples[3], 0);
  EXPECT_NE(MusicSamples[18], 0);
}

TEST(NoteTable, SemitonesFromTheRecordedPitch) {
  EXPECT_FLOAT_EQ(NoteRate('q'), 1.0f);
  EXPECT_FLOAT_EQ(NoteRate('e'), 1.26f);
  EXPECT_FLOAT_EQ(NoteRate('E'), 1.26f);
  EXPECT_FLOAT_EQ(NoteRate('i'), 2.0f);
  EXPECT_FLOAT_EQ(NoteRate(']'), 2.996f);
  for (char c : std::string("z a;\"-")) EXPECT_EQ(NoteRate(c), 0.0f) << c;
  const std::string keys = "sxdcvgbhnjmq2w3er5t6y7ui9o0p[=]";
  for (size_t i = 1; i < keys.size(); i++)
    EXPECT_NEAR(NoteRate(keys[i]) / NoteRate(keys[i - 1]), 1.0595f, 0.003f) << keys[i - 1] << keys[i];
}
