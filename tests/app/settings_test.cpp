// "Setup.ini": the lenient reader, the fixed-layout writer, their round
// trip, and the audio-driver choice.
#include "app/settings.h"

#include <filesystem>
#include <fstream>

#include "app/startup.h"
#include "controls/controls.h"
#include "tests/support/headless.h"

namespace {

void ReadFrom(const std::string& text) {
  auto root = EnterScratchFolder("settings");
  std::filesystem::current_path(root / "Files");
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
  std::filesystem::current_path(root / "Files" / "248");
  AudioDriverNames = {"pulseaudio", "alsa", "dummy"};
  SetDefaultSettings();
  SetDefaultControls();
  Settings[1] = 1;
  Settings[3] = 1;
  Settings[5] = 1920;
  Settings[6] = 1080;
  Settings[7] = 1;
  Settings[11] = 80;
  Settings[12] = 0;
  Settings[13] = 33;
  Settings[14] = 1;
  ControlTable[0] = 0;  // an unbound slot is not written and keeps its default
  ControlTable[25] = 312;
  int before[100];
  std::copy(Settings, Settings + 100, before);
  WriteSettingsFile();
  EXPECT_EQ(std::filesystem::current_path().filename(), "248");
  ASSERT_TRUE(std::filesystem::exists(root / "Files" / "Setup.ini"));

  std::filesystem::current_path(root / "Files");
  SetDefaultSettings();
  SetDefaultControls();
  ReadSettingsFile();
  for (int i : {1, 3, 5, 6, 7, 11, 12, 13, 14}) EXPECT_EQ(Settings[i], before[i]) << "entry " << i;
  EXPECT_EQ(ControlTable[25], 312);
  EXPECT_EQ(ControlTable[0], 38);
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
