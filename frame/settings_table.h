// settings_table.h — the Settings table every layer reads, a name for each
// entry, and the one list that declares each setting: how "Setup.ini" spells
// it, its default, its valid range and its row in the settings panel. The
// file's reader and writer (app/settings.cpp) and the panel
// (app/settings_panel.cpp) work from that list.
#pragma once

enum SettingEntry {
  SETTING_FULLSCREEN = 1,  // 0 windowed, 1 full screen
  SETTING_WIDESCREEN = 2,  // 1 while a 16:9 or 16:10 mode is open
  SETTING_RENDERER = 3,    // 0 OpenGL, 1 DirectX 9, 2 DirectX 7
  SETTING_MODE = 4,        // the open mode's index in ModeListW / ModeListH
  SETTING_WIDTH = 5,       // display size in pixels
  SETTING_HEIGHT = 6,
  SETTING_SLOW_SYSTEM = 7,   // "ESS": draw every other frame, aim for 30 fps
  SETTING_SLOW_BY_TEST = 8,  // 1 when the engine test, not the player, switched ESS on
  SETTING_MASTER = 11,       // volumes in percent
  SETTING_SOUND = 12,
  SETTING_MUSIC = 13,
  SETTING_AUDIO_DRIVER = 14,  // index in AudioDriverNames, from 0
  SETTING_MUTE = 15,          // 1: all sound off (F9)
  SETTING_ENTRIES = 100,
};

extern int Settings[SETTING_ENTRIES];

// How a setting is spelled in "Setup.ini".
enum SettingKind {
  SETTING_WORKED_OUT,  // set while running, never stored
  SETTING_NAMED,       // one of `names`; reading the name of option 0 changes nothing
  SETTING_NUMBER,      // a decimal number
  SETTING_PRESENT,     // a line with the key switches it on, whatever its value
  SETTING_DRIVER,      // the name of an audio driver
};

struct SettingDecl {
  int entry;
  SettingKind kind;
  const char* section;     // the file section it is written in, or null
  const char* written;     // how the writer starts its line; the key is what comes before "="
  int initial, low, high;  // the default and the valid range
  bool magnitude;          // a number read as its absolute value (sizes: -1024 is 1024)
  const char* names[3];    // option names as written; "|" adds other spellings the reader takes
  const char* notes[3];    // start-up log line when the reader sets that option
  const char* labels[3];   // the panel row's label per option (the slider's caption)
};

extern const SettingDecl SettingList[];
extern const int SettingCount;
const SettingDecl& SettingFor(int entry);  // a declared entry

void SetDefaultSettings();  // every entry 0, then the declared defaults
