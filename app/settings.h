// settings.h — "Setup.ini" in the player's folder: a lenient reader that
// brings every value into range, a fixed-layout writer, and the audio-driver
// choice. The settings themselves are declared in frame/settings_table.h.
#pragma once

#include <string>
#include <vector>

// The audio drivers the sound service offers, in its order, taken once at
// start-up (at most 100).
extern std::vector<std::string> AudioDriverNames;

void ReadSettingsFile();
void ChooseAudioDriver();
void WriteSettingsFile();
