// song.cpp — any bytes as a song file, loaded and played for a few phrases
// (the sequencer picks, stretches and steps through whatever was read).
#include "frame/folders.h"
#include "media/media.h"
#include "music/music.h"
#include "tests/fuzz/fuzz.h"

int FuzzSong(const uint8_t* data, size_t size) {
  UseVirtualClock(true);
  ResetMusic();
  UseFolders("incbin::");
  EmbedInput(GameFolder.substr(8) + "music/fuzz.ini", data, size);
  LoadSong("fuzz", 17, 125);  // as the title screen starts one
  for (int s = 0; s < 5; s++)
    FUZZ_CHECK(SongPatternCount[s] >= 0 && SongPatternCount[s] <= MaxPatterns, "pattern count out of range");
  for (int step = 0; step < 64 * 6 && MusicOn; step++) {
    AdvanceVirtualClock(250);
    UpdateMusic();
  }
  return 0;
}
