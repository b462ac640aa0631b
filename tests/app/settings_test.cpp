// "Setup.ini": the lenient reader, the fixed-layout writer, their round
// trip, and the audio-driver choice.
#include "app/settings.h"

#include <filesystem>
#include <fstream>

#include "controls/controls.h"
#include "frame/settings_table.h"
#include "tests/support/headless.h"

namespace {

void ReadFrom(const std::string& text) {
  auto root = EnterScratchFolder("settings");
  std::ofstream(root / "Files" / "Setup.ini", std::ios::binary) << text;
  SetDefaultSettings();
  SetDefaultControls();
  ReadSettingsFile();
}

}  // namespace

TEST(SettingsFile, FullScreenAcceptsAnySpellingAndIsNeverSwitchedOffByTheReader) {
  for (const char* line : {"fullscreen=on", "FULLSCREEN = True", "  FullScreen=TRUE  "}) {
    ReadFrom(std::string(line) + "\r\n");
    EXPECT_EQ(Settings[1], 1) << line;
  }
  ReadFrom("Fullscreen = True\r\nFullscreen = False\r\n");
  EXPECT_EQ(Settings[1], 1);
}

TEST(SettingsFile, EngineEssSizesAndVolumes) {
  ReadFrom("GFXEngine=dx7\nESS=0\nWidth=-1024\nHeight=768 pixels\nMaster=75\nsound = 10\nMUSIC=0");
  EXPECT_EQ(Settings[3], 2);
  EXPECT_EQ(Settings[7], 1);
  EXPECT_EQ(Settings[5], 1024);
  EXPECT_EQ(Settings[6], 768);
  EXPECT_EQ(Settings[11], 75);
  EXPECT_EQ(Settings[12], 10);
  EXPECT_EQ(Settings[13], 0);  // the last line has no line end
  ReadFrom("GFX Engine = OpenGL\nWidth=\n");
  EXPECT_EQ(Settings[3], 0);
  EXPECT_EQ(Settings[5], 0);
}

TEST(SettingsFile, KeyLinesBindSlotsByAbsoluteValue) {
  ReadFrom("Key=0,38\nKey=100,5\nKey=-1,5\nKey=12\n; Key=2,9\n[Controls]\n");
  EXPECT_EQ(ControlTable[0], 38);
  EXPECT_EQ(ControlTable[1], 5);
  EXPECT_EQ(ControlTable[12], 12);
  EXPECT_EQ(ControlTable[2], 0);
  EXPECT_EQ(ControlTable[100], 0);
}

TEST(SettingsFile, WrittenFileReadsBackToTheSameSettings) {
  auto root = EnterScratchFolder("roundtrip");
  AudioDriverNames = {"pulseaudio", "alsa", "dummy"};
  SetDefaultSettings();
  SetDefaultControls();
  Settings[1] = 1;
  Settings[3] = 1;
  Settings[5] = 1920;
  Settings[6] = 1080;
  Settings[7] = 1;
  Settings[8] = 1;  // frame skipping was the engine test's choice
  Settings[11] = 80;
  Settings[12] = 0;
  Settings[13] = 33;
  Settings[14] = 1;
  Settings[SETTING_MUTE] = 1;
  ControlTable[0] = 0;  // a cleared default binding stays cleared
  ControlTable[25] = 312;
  int before[100];
  std::copy(Settings, Settings + 100, before);
  WriteSettingsFile();
  ASSERT_TRUE(std::filesystem::exists(root / "Files" / "Setup.ini"));

  SetDefaultSettings();
  SetDefaultControls();
  ReadSettingsFile();
  for (int i : {1, 3, 5, 6, 7, 8, 11, 12, 13, 14, int(SETTING_MUTE)})
    EXPECT_EQ(Settings[i], before[i]) << "entry " << i;
  EXPECT_EQ(ControlTable[25], 312);
  EXPECT_EQ(ControlTable[0], 0);
  EXPECT_EQ(ControlTable[3], 37);
}

// Whatever the file holds, every value read is in range afterwards; values
// that were not are named in the log.
TEST(SettingsFile, ExtremeValuesAreBroughtIntoRange) {
  struct Case {
    const char* text;
    int entry, expected;
  };
  const Case cases[] = {
      {"Width=-2147483648", SETTING_WIDTH, 16384},  // was a negative width
      {"Height=99999", SETTING_HEIGHT, 16384},
      {"Master=100000\nSound=100000", SETTING_MASTER, 100},  // the volume product overflowed
      {"Master=100000\nSound=100000", SETTING_SOUND, 100},
      {"Master=1000", SETTING_MASTER, 100},
      {"Music=-100", SETTING_MUSIC, 0},  // was full volume
  };
  for (const Case& c : cases) {
    ReadFrom(c.text);
    EXPECT_EQ(Settings[c.entry], c.expected) << c.text;
  }
}

TEST(SettingsFile, KeyLinesThatNameNoSlotOrInputChangeNoBinding) {
  for (const char* text : {"Key=2147483648,1", "Key=", "Key=,5", "Key=x,5", "Key=100,5", "Key=3,2147483648"}) {
    ReadFrom(text);
    for (int slot = 0; slot < ControlSlots; slot++)
      EXPECT_EQ(ControlTable[slot], DefaultControlCode(slot)) << text << " slot " << slot;
  }
}

// Editors save text in several ways; each must read as the same settings.
TEST(SettingsFile, LineEndsAndEncodingsAllRead) {
  const std::string text = "Fullscreen=True\rWidth=1024\r\nHeight=768\nMaster=75";
  std::string utf16le = "\xFF\xFE", utf16be = "\xFE\xFF";
  for (char c : text) utf16le += std::string{c, '\0'}, utf16be += std::string{'\0', c};
  for (const std::string& file : {text, "\xEF\xBB\xBF" + text, utf16le, utf16be}) {
    ReadFrom(file);
    EXPECT_EQ(Settings[SETTING_FULLSCREEN], 1);
    EXPECT_EQ(Settings[SETTING_WIDTH], 1024);
    EXPECT_EQ(Settings[SETTING_HEIGHT], 768);
    EXPECT_EQ(Settings[SETTING_MASTER], 75);
  }
}

TEST(AudioDriver, FirstMatchingNameInListOrderWinsWhenTheFileNamesNone) {
  ReadFrom("[Audio]\n");
  AudioDriverNames = {"alsa", "FreeAudio", "OpenAL Soft", "dummy"};
  ChooseAudioDriver();
  EXPECT_EQ(Settings[14], 1);
}

TEST(AudioDriver, AGivenNameSwitchesTheFallbackOff) {
  AudioDriverNames = {"alsa", "FreeAudio"};
  ReadFrom("AudioDriver = nothing-like-it\n");
  ChooseAudioDriver();
  EXPECT_EQ(Settings[14], 0);
  ReadFrom("AudioDriver = FreeAudio\n");
  EXPECT_EQ(Settings[14], 1);
}
