// settings.h — the settings table and "Setup.ini".
#pragma once

#include <string>

// 1 full screen, 2 widescreen, 3 renderer, 4 mode index, 5 width, 6 height,
// 7 ESS (slow system), 11 master, 12 sound, 13 music volume, 14 audio driver.
extern int Settings[100];

void SetDefaultSettings();
void ReadSettingsFile();
void ChooseAudioDriver();
void WriteSettingsFile();

