// settings.cpp — any bytes as "Setup.ini": every value read lies in its
// range, and what the writer makes of them reads back to the same settings.
#include <cstring>

#include "app/settings.h"
#include "controls/controls.h"
#include "frame/folders.h"
#include "frame/settings_table.h"
#include "media/media.h"
#include "tests/fuzz/fuzz.h"

namespace {

struct Snapshot {
  int settings[SETTING_ENTRIES];
  int controls[ControlSlots];
};

Snapshot Take() {
  Snapshot s;
  std::memcpy(s.settings, Settings, sizeof Settings);
  std::memcpy(s.controls, ControlTable, sizeof ControlTable);
  return s;
}

void CheckRanges() {
  for (int i = 0; i < SettingCount; i++) {
    const SettingDecl& decl = SettingList[i];
    int value = Settings[decl.entry];
    FUZZ_CHECK(!decl.written || (value >= decl.low && value <= decl.high),
               "setting " + std::to_string(decl.entry) + " read as " + std::to_string(value));
  }
  FUZZ_CHECK(Settings[SETTING_AUDIO_DRIVER] < int(AudioDriverNames.size()), "audio driver past the list");
  for (int slot = 0; slot < ControlSlots; slot++)
    FUZZ_CHECK(ControlTable[slot] >= 0 && ControlTable[slot] < InputCodeLimit,
               "slot " + std::to_string(slot) + " bound to " + std::to_string(ControlTable[slot]));
}

}  // namespace

int FuzzSettings(const uint8_t* data, size_t size) {
  AudioDriverNames = {"pulseaudio", "alsa", "dummy"};
  SetDefaultSettings();
  SetDefaultControls();
  UseFolders("incbin::");
  EmbedInput(PlayerFolder.substr(8) + "Setup.ini", data, size);
  ReadSettingsFile();
  CheckRanges();
  Snapshot read = Take();

  UseFolders(FuzzScratchFolder());
  WriteSettingsFile();
  SetDefaultSettings();
  SetDefaultControls();
  ReadSettingsFile();
  Snapshot again = Take();
  FUZZ_CHECK(std::memcmp(read.settings, again.settings, sizeof read.settings) == 0, "settings changed on writing");
  FUZZ_CHECK(std::memcmp(read.controls, again.controls, sizeof read.controls) == 0, "bindings changed on writing");
  return 0;
}
