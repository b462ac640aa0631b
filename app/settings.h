// settings.h — the settings table, "Setup.ini" and the start-up log "Debug.txt".
#pragma once

#include <string>

// 1 full screen, 2 widescreen, 3 renderer, 4 mode index, 5 width, 6 height,
// 7 ESS (slow system), 11 master, 12 sound, 13 music volume, 14 audio driver.
extern int Settings[100];

void SetDefaultSettings();
void ReadSettingsFile();
void ChooseAudioDriver();
void WriteSettingsFile();

bool OpenStartupLog();   // "Debug.txt" in the current folder, rewritten
void CloseStartupLog();
void LogLine(const std::string& text);

