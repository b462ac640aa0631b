// music.h — song files, music loops and the sequencer that plays them.
#pragma once

#include <string>

void LoadMusicSamples();
void LoadSong(const std::string& name, int seed, int tempo);
void UpdateMusic();
