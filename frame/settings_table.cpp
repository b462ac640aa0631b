// settings_table.cpp — the settings and their declarations, in the order
// "Setup.ini" lists them.
#include "frame/settings_table.h"

int Settings[SETTING_ENTRIES];

// Sizes go up to the largest texture a renderer is asked for; 0 is allowed
// and means "the size open before" (a Width line without a number).
// clang-format off: one declaration per row reads better than one field per line.
const SettingDecl SettingList[] = {
    {SETTING_FULLSCREEN,
     SETTING_NAMED,
     "[Graphics]",
     "Fullscreen = ",
     0,
     0,
     1,
     false,
     {"False", "True|On"},
     {nullptr, "\tSetting to Fullscreen"},
     {"Windowed", "Fullscreen"}},
    {SETTING_RENDERER,
     SETTING_NAMED,
     "[Graphics]",
     "GFX Engine = ",
     0,
     0,
     2,
     false,
     {"OpenGL", "DX9", "DX7"},
     {nullptr, "\tDirectX 9 Mode", "\tDirectX 7 Mode"},
     {"OpenGL|Optimum", "DirectX 9|Alternative", "DirectX 7|Backup"}},
    {SETTING_WIDTH, SETTING_NUMBER, "[Graphics]", "Width=", 800, 0, 16384, true, {}, {}, {}},
    {SETTING_HEIGHT, SETTING_NUMBER, "[Graphics]", "Height=", 600, 0, 16384, true, {}, {}, {}},
    {SETTING_SLOW_SYSTEM,
     SETTING_PRESENT,
     "[Graphics]",
     "ESS=1 ; This is a slow system, and things must run a wee bit slower for it.  Awww..",
     0,
     0,
     1,
     false,
     {},
     {nullptr, "\tAssuming Emergency Slow System values."},
     {"Draw all Frames|Decent System", "Frameskip|Slow System"}},
    // A line of its own, which older versions skip: they still read the ESS
    // line above and skip frames, as they always did.
    {SETTING_SLOW_BY_TEST,
     SETTING_PRESENT,
     "[Graphics]",
     "ESS by Engine Test=1 ; Frameskip was the engine test's choice: the next start measures again.",
     0,
     0,
     1,
     false,
     {},
     {},
     {}},
    {SETTING_MASTER, SETTING_NUMBER, "[Audio]", "Master = ", 50, 0, 100, false, {}, {}, {"Master Volume"}},
    {SETTING_SOUND, SETTING_NUMBER, "[Audio]", "Sound = ", 50, 0, 100, false, {}, {}, {"Sounds"}},
    {SETTING_MUSIC, SETTING_NUMBER, "[Audio]", "Music = ", 50, 0, 100, false, {}, {}, {"Music"}},
    // Older versions skip the line and play sound.
    {SETTING_MUTE, SETTING_NAMED, "[Audio]", "Mute = ", 0, 0, 1, false, {"False", "True|On"}, {}, {}},
    {SETTING_AUDIO_DRIVER, SETTING_DRIVER, "[Audio]", "AudioDriver = ", 0, 0, 99, false, {}, {}, {"AUDIO"}},
    {SETTING_WIDESCREEN, SETTING_WORKED_OUT, nullptr, nullptr, 0, 0, 1, false, {}, {}, {"Resolution"}},
    {SETTING_MODE, SETTING_WORKED_OUT, nullptr, nullptr, 0, 0, 2499, false, {}, {}, {}},
};
// clang-format on
const int SettingCount = int(sizeof SettingList / sizeof SettingList[0]);

const SettingDecl& SettingFor(int entry) {
  for (const SettingDecl& decl : SettingList)
    if (decl.entry == entry) return decl;
  return SettingList[0];
}

void SetDefaultSettings() {
  for (int& s : Settings) s = 0;
  for (const SettingDecl& decl : SettingList) Settings[decl.entry] = decl.initial;
}
