// settings.cpp — the player's choices in "Setup.ini": a lenient reader and a
// fixed-layout writer, both driven by the declarations in
// frame/settings_table.cpp, and the audio-driver choice.
//
// Every value is brought into its valid range here, as it is read, so no
// later code can meet one out of range (an unchecked key slot used to crash,
// and a huge volume overflowed the mixer's product); each value that had to
// be moved is named in the log.
#include "app/settings.h"

#include <cctype>
#include <cstring>

#include "app/startup.h"
#include "controls/controls.h"
#include "frame/draw.h"
#include "frame/folders.h"
#include "frame/save_report.h"
#include "frame/settings_table.h"
#include "media/media.h"

std::vector<std::string> AudioDriverNames;

static bool AudioDriverGiven;

static std::string SettingsFile() { return PlayerFolder + "Setup.ini"; }

// ---------------------------------------------------------------- reading

// The file's lines however an editor saved it: with or without a UTF-8
// byte-order mark, or as UTF-16 with its mark (characters beyond one byte
// read as "?"), and with lines ended by CR LF, LF or a CR alone. An empty
// file is one empty line.
static std::vector<std::string> FileLines(const uint8_t* bytes, size_t size) {
  std::string text;
  bool littleEndian = size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
  bool bigEndian = size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF;
  if (littleEndian || bigEndian) {
    for (size_t i = 2; i + 1 < size; i += 2) {
      unsigned unit = littleEndian ? bytes[i] | bytes[i + 1] << 8 : bytes[i] << 8 | bytes[i + 1];
      text += unit < 256 ? char(unit) : '?';
    }
  } else {
    size_t start = size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF ? 3 : 0;
    text.assign(reinterpret_cast<const char*>(bytes) + start, size - start);
  }
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < text.size(); i++) {
    char c = text[i];
    if (c != '\r' && c != '\n') {
      lines.back() += c;
      continue;
    }
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') i++;
    if (i + 1 < text.size()) lines.emplace_back();
  }
  return lines;
}

// Widened first, so the most negative number has a magnitude too.
static int64_t Magnitude(const std::string& text) {
  int64_t value = ToInt(text);
  return value < 0 ? -value : value;
}

// Digits (or "%" / "$" and digits) after an optional sign.
static bool HasNumber(const std::string& text) {
  std::string t = Trim(text);
  size_t i = !t.empty() && (t[0] == '-' || t[0] == '+') ? 1 : 0;
  if (i < t.size() && (t[i] == '%' || t[i] == '$')) i++;
  return i < t.size() && std::isxdigit(static_cast<unsigned char>(t[i]));
}

static void Complain(const std::string& line, const std::string& outcome) {
  LogFailure("Setup.ini: \"" + Trim(line) + "\" " + outcome);
}

// A value outside the declared range takes the nearest end of it.
static int InRange(const SettingDecl& decl, const std::string& line, int64_t value) {
  if (value >= decl.low && value <= decl.high) return int(value);
  int kept = value < decl.low ? decl.low : decl.high;
  Complain(line, "is out of range (" + std::to_string(decl.low) + " to " + std::to_string(decl.high) + "); using " +
                     std::to_string(kept));
  return kept;
}

static std::string KeyOf(const SettingDecl& decl) { return Upper(Trim(FieldOf(decl.written, "=", 1, 0))); }

// The key as written, or without its spaces ("GFX ENGINE" or "GFXENGINE").
static bool KeyMatches(const std::string& key, const SettingDecl& decl) {
  std::string own = KeyOf(decl);
  return key == own || key == Replace(own, " ", "");
}

// Spellings are separated by "|"; case does not matter.
static bool NameMatches(const char* names, const std::string& value) {
  if (!names) return false;
  std::string rest = names;
  for (size_t bar; !rest.empty(); rest = bar == std::string::npos ? "" : rest.substr(bar + 1)) {
    bar = rest.find('|');
    if (Upper(rest.substr(0, bar)) == Upper(value)) return true;
  }
  return false;
}

static void ApplySetting(const SettingDecl& decl, const std::string& line, const std::string& value) {
  int& setting = Settings[decl.entry];
  switch (decl.kind) {
    case SETTING_NAMED:
      // Option 0 is what the file falls back to: naming it changes nothing,
      // so "Fullscreen = False" after "Fullscreen = True" leaves full screen on.
      for (int option = 1; option <= decl.high; option++) {
        if (!NameMatches(decl.names[option], value)) continue;
        setting = option;
        if (decl.notes[option]) LogLine(decl.notes[option]);
      }
      break;
    case SETTING_NUMBER:
      setting = InRange(decl, line, decl.magnitude ? Magnitude(value) : int64_t(ToInt(value)));
      break;
    case SETTING_PRESENT:
      setting = 1;
      if (decl.notes[1]) LogLine(decl.notes[1]);
      break;
    case SETTING_DRIVER:
      AudioDriverGiven = true;
      for (size_t i = 0; i < AudioDriverNames.size(); i++)
        if (value == AudioDriverNames[i]) setting = int(i);
      break;
    case SETTING_WORKED_OUT: break;
  }
}

// "Key=slot,code" binds a control slot ("Key=n" alone binds slot n to code
// n); both are read as absolute values.
static void ApplyKeyLine(const std::string& line, const std::string& value) {
  int comma = Instr(value, ",");
  std::string slotText = comma ? Left(value, comma - 1) : value;
  std::string codeText = comma ? Mid(value, comma + 1) : value;
  int64_t slot = Magnitude(slotText), code = Magnitude(codeText);
  if (!HasNumber(slotText) || slot >= StoredControlSlots) {
    Complain(line, "names no control slot (0 to " + std::to_string(StoredControlSlots - 1) + "); ignored");
    return;
  }
  if (code >= InputCodeLimit) {
    code = DefaultControlCode(int(slot));
    Complain(line, "names no input; the slot keeps " + std::to_string(code));
  }
  ControlTable[slot] = int(code);
}

// The key is everything before the first "=", the value what lies between
// the first and the second.
static void ApplySettingsLine(const std::string& line) {
  std::string key = Upper(Trim(FieldOf(line, "=", 1, 0)));
  std::string value = Trim(FieldOf(line, "=", 2, 0));
  if (key == "KEY") ApplyKeyLine(line, value);
  for (int i = 0; i < SettingCount; i++) {
    const SettingDecl& decl = SettingList[i];
    if (decl.written && KeyMatches(key, decl)) ApplySetting(decl, line, value);
  }
}

void ReadSettingsFile() {
  AudioDriverGiven = false;
  if (FileType(SettingsFile()) != 1) return;
  int file = LoadBank(SettingsFile());
  if (file == 0) return;
  LogLine("\tReading Setup File");
  for (const std::string& line : FileLines(BankData(file), size_t(BankSize(file)))) ApplySettingsLine(line);
  FreeBank(file);
}

// A driver that would not open left sound on another one: when that one is
// among the choices it becomes the choice, so the panel and the file say
// what plays. (One that is not, the panel names by itself.) A headless run
// is silent by request and leaves the player's choice alone.
static void ChooseAudioDriverInUse() {
  std::string inUse = AudioDriverInUse();
  if (Options.headless || inUse.empty()) return;
  for (size_t i = 0; i < AudioDriverNames.size(); i++)
    if (AudioDriverNames[i] == inUse) Settings[SETTING_AUDIO_DRIVER] = int(i);
}

void ChooseAudioDriver() {
  int& driver = Settings[SETTING_AUDIO_DRIVER];
  if (!AudioDriverGiven) {
    for (size_t i = 0; i < AudioDriverNames.size(); i++) {
      std::string name = Upper(AudioDriverNames[i]);
      if (Left(name, 6) == "OPENAL" || Left(name, 4) == "FREE" || Left(name, 6) == "DIRECT") {
        driver = int(i);
        break;
      }
    }
  }
  LogLine("Setting Audio Driver");
  if (driver >= 0 && driver < int(AudioDriverNames.size())) {
    const std::string& name = AudioDriverNames[driver];
    if (AudioDriverExists(name)) {
      if (Left(Upper(name), 6) != "OPENAL" || EnableOpenAL()) SetAudioDriver(name);
    }
  }
  ChooseAudioDriverInUse();
  LogLine("Set Audio Driver");
  LogLine("");
}

// ---------------------------------------------------------------- writing

static std::string WrittenName(const char* names) {
  std::string all = names ? names : "";
  return all.substr(0, all.find('|'));
}

static void WriteSetting(int file, const SettingDecl& decl) {
  int value = Settings[decl.entry];
  switch (decl.kind) {
    case SETTING_NAMED:
      if (value >= decl.low && value <= decl.high) WriteLine(file, decl.written + WrittenName(decl.names[value]));
      break;
    case SETTING_NUMBER: WriteLine(file, decl.written + std::to_string(value)); break;
    case SETTING_PRESENT:
      if (value == 1) WriteLine(file, decl.written);
      break;
    case SETTING_DRIVER: {
      bool known = value >= 0 && value < int(AudioDriverNames.size());
      WriteLine(file, decl.written + (known ? AudioDriverNames[value] : std::string()));
      // The choices, as comments the reader skips.
      for (const std::string& name : AudioDriverNames) WriteLine(file, std::string("; ") + decl.written + name);
      break;
    }
    case SETTING_WORKED_OUT: break;
  }
}

// A cleared binding is written as code 0 where the slot has a default, so it
// stays cleared at the next start instead of the default coming back.
static void WriteBindings(int file) {
  WriteLine(file, "[Controls]");
  for (int slot = 0; slot < StoredControlSlots; slot++) {
    int code = ControlTable[slot];
    if (code > 0 || (code == 0 && DefaultControlCode(slot) > 0))
      WriteLine(file, "Key=" + std::to_string(slot) + "," + std::to_string(code));
  }
}

void WriteSettingsFile() {
  int file = OpenWrite(SettingsFile());
  if (file == 0) return ReportSave(SettingsFile(), WriteFailure());
  const char* section = nullptr;
  for (int i = 0; i < SettingCount; i++) {
    const SettingDecl& decl = SettingList[i];
    if (!decl.section) continue;
    if (!section || std::strcmp(section, decl.section) != 0) {
      if (section) WriteLine(file, "");
      WriteLine(file, decl.section);
      section = decl.section;
    }
    WriteSetting(file, decl);
  }
  WriteLine(file, "");
  WriteBindings(file);
  ReportSave(SettingsFile(), CloseStream(file) ? "" : WriteFailure());
}
