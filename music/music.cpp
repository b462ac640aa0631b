// music.cpp — songs and the sequencer. Silent until the sequencer is built.
#include "music/music.h"

void LoadMusicSamples() {}
void LoadSong(const std::string&, int, int) {}
void UpdateMusic() {}
