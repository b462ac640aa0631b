// settings.cpp — the player's choices in "Setup.ini" (a lenient reader, a
// fixed-layout writer) and the audio-driver choice.
#include "app/settings.h"

#include <cstdlib>

#include "app/startup.h"
#include "controls/controls.h"
#include "frame/draw.h"
#include "media/media.h"

int Settings[100];

static bool AudioDriverGiven;

void SetDefaultSettings() {
  for (int& s : Settings) s = 0;
  Settings[5] = 800;
  Settings[6] = 600;
  Settings[11] = Settings[12] = Settings[13] = 50;
}

static int AbsInt(const std::string& text) { return std::abs(ToInt(text)); }

// One "key = value" line; the key is everything before the first "=", the
// value what lies between the first and the second.
static void ApplySettingsLine(const std::string& line) {
  std::string key = Upper(Trim(FieldOf(line, "=", 1, 0)));
  std::string value = Trim(FieldOf(line, "=", 2, 0));
  std::string upperValue = Upper(value);

  if (key == "AUDIODRIVER") {
    AudioDriverGiven = true;
    for (size_t i = 0; i < AudioDriverNames.size(); i++)
      if (value == AudioDriverNames[i]) Settings[14] = int(i);
  }
  if (key == "FULLSCREEN" && (upperValue == "TRUE" || upperValue == "ON")) {
    Settings[1] = 1;
    LogLine("\tSetting to Fullscreen");
  }
  if (key == "GFX ENGINE" || key == "GFXENGINE") {
    if (upperValue == "DX9") {
      Settings[3] = 1;
      LogLine("\tDirectX 9 Mode");
    } else if (upperValue == "DX7") {
      Settings[3] = 2;
      LogLine("\tDirectX 7 Mode");
    }
  }
  if (key == "WIDTH") Settings[5] = AbsInt(value);
  if (key == "HEIGHT") Settings[6] = AbsInt(value);
  if (key == "ESS") {
    Settings[7] = 1;
    LogLine("\tAssuming Emergency Slow System values.");
  }
  if (key == "KEY") {
    int comma = Instr(value, ",");
    int slot = AbsInt(comma ? Left(value, comma - 1) : value);
    int code = AbsInt(comma ? Mid(value, comma + 1) : value);
    if (slot >= 0 && slot <= 99) ControlTable[slot] = code;
  }
  if (key == "MASTER") Settings[11] = AbsInt(value);
  if (key == "SOUND") Settings[12] = AbsInt(value);
  if (key == "MUSIC") Settings[13] = AbsInt(value);
}

void ReadSettingsFile() {
  AudioDriverGiven = false;
  if (FileType("Setup.ini") != 1) return;
  int file = OpenRead("Setup.ini");
  if (file == 0) return;
  LogLine("\tReading Setup File");
  do {
    ApplySettingsLine(ReadLine(file));
  } while (!EndOfStream(file));
  CloseStream(file);
}

void ChooseAudioDriver() {
  if (!AudioDriverGiven) {
    for (size_t i = 0; i < AudioDriverNames.size(); i++) {
      std::string name = Upper(AudioDriverNames[i]);
      if (Left(name, 6) == "OPENAL" || Left(name, 4) == "FREE" || Left(name, 6) == "DIRECT") {
        Settings[14] = int(i);
        break;
      }
    }
  }
  LogLine("Setting Audio Driver");
  int index = Settings[14];
  if (index >= 0 && index < int(AudioDriverNames.size())) {
    const std::string& name = AudioDriverNames[index];
    if (AudioDriverExists(name)) {
      if (Left(Upper(name), 6) != "OPENAL" || EnableOpenAL()) SetAudioDriver(name);
    }
  }
  LogLine("Set Audio Driver");
  LogLine("");
}

void WriteSettingsFile() {
  ChangeDir("..");
  int file = OpenWrite("Setup.ini");
  if (file != 0) {
    auto line = [file](const std::string& text) { WriteLine(file, text); };
    line("[Graphics]");
    if (Settings[1] == 0) line("Fullscreen = False");
    if (Settings[1] == 1) line("Fullscreen = True");
    static const char* engines[] = {"OpenGL", "DX9", "DX7"};
    if (Settings[3] >= 0 && Settings[3] <= 2) line(std::string("GFX Engine = ") + engines[Settings[3]]);
    line("Width=" + std::to_string(Settings[5]));
    line("Height=" + std::to_string(Settings[6]));
    if (Settings[7] == 1)
      line("ESS=1 ; This is a slow system, and things must run a wee bit slower for it.  Awww..");
    line("");
    line("[Audio]");
    line("Master = " + std::to_string(Settings[11]));
    line("Sound = " + std::to_string(Settings[12]));
    line("Music = " + std::to_string(Settings[13]));
    int index = Settings[14];
    bool known = index >= 0 && index < int(AudioDriverNames.size());
    line("AudioDriver = " + (known ? AudioDriverNames[index] : std::string()));
    for (const std::string& name : AudioDriverNames) line("; AudioDriver = " + name);
    line("");
    line("[Controls]");
    for (int slot = 0; slot <= 99; slot++)
      if (ControlTable[slot] > 0) line("Key=" + std::to_string(slot) + "," + std::to_string(ControlTable[slot]));
    CloseStream(file);
  }
  ChangeDir(GameFolder);
}
