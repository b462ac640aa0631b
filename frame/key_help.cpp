// key_help.cpp — the F1 help: the keys of the screen underneath, read from
// the bindings as they are now, in a translucent box in the settings panel's
// colours, and in the game its rules. While it is open the screen under it
// stands still, as under the settings panel.
#include "frame/key_help.h"

#include <algorithm>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "frame/common_media.h"
#include "frame/draw.h"
#include "frame/engine_test.h"
#include "frame/frame_end.h"
#include "frame/pause.h"
#include "media/media.h"

int HelpScreenShown = HELP_TITLE;
bool KeyHelpOpen;

namespace {

struct HelpRow {
  std::string keys, action;
};

std::string Bound(int control) {
  int code = ControlTable[ControlSlot(1, control)];
  return code == 0 ? "(not bound)" : KeyName(code);
}

std::string Either(const std::string& a, const std::string& b) { return a + " / " + b; }

std::vector<HelpRow> ScreenRows(int screen) {
  switch (screen) {
    case HELP_GAME:
      return {{Either(Bound(CONTROL_LEFT), Bound(CONTROL_RIGHT)), "push the ball"},
              {Bound(CONTROL_BUTTON_1), "held as the ball lands: bounce high"},
              {KeyName(VK_ESCAPE), "pause"}};
    case HELP_PAUSE:
      return {{Either(Bound(CONTROL_UP), Bound(CONTROL_DOWN)), "choose Continue or Quit"},
              {Either(Bound(CONTROL_BUTTON_1), KeyName(VK_SPACE)), "take the choice"},
              {KeyName(VK_ESCAPE), "take the choice"}};
    case HELP_NAME_ENTRY:
      return {{"Letters", "type your name"}, {KeyName(VK_BACK), "rub out a letter"}, {KeyName(VK_RETURN), "keep it"}};
    case HELP_SETTINGS:
      return {{"Mouse", "click a choice or drag a slider"},
              {"Any key or pad", "over a control button: bind it"},
              {KeyName(VK_BACK), "over a control button: clear it"},
              {Either(KeyName(VK_TAB), KeyName(VK_ESCAPE)), "close the settings"}};
    default:
      return {{Either(Bound(CONTROL_UP), Bound(CONTROL_DOWN)), "choose the difficulty"},
              {Bound(CONTROL_BUTTON_1), "start a game"},
              {"M / N / B", "play a song"},
              {KeyName(VK_TAB), "settings"},
              {KeyName(VK_ESCAPE), "quit"}};
  }
}

std::vector<HelpRow> Rows(int screen) {
  std::vector<HelpRow> rows = ScreenRows(screen);
  rows.insert(rows.end(), {{KeyName(VK_F9), "sound off / on"},
                           {KeyName(VK_F10), "save the last 10 seconds as a GIF"},
                           {KeyName(VK_F11), "screenshot"},
                           {KeyName(VK_F12), "statistics"},
                           {Either(KeyName(VK_F1), KeyName(VK_ESCAPE)), "close this help"}});
  return rows;
}

const char* const ScreenNames[] = {"Title", "Game", "Pause Menu", "Name Entry", "Settings"};
const char* const Rules[] = {"Collect three quarters of the hearts to open the next cave.",
                             "Every attempt becomes a ghost when its time runs out.",
                             "Touching a ghost ends the game."};

void Toggle(bool open) {
  KeyHelpOpen = open;
  TakeKey(VK_F1);
}

}  // namespace

// Starts on a frame that was drawn, as the settings panel's hold does, so
// the picture is whole. Pausing waits while the help is open: Escape is the
// help's, and a lost focus finds the game standing still already.
void HoldScreenUnderHelp(int showPointer) {
  if (KeyHelpOpen) {
    if (KeyHit(VK_F1)) Toggle(false);
    return;
  }
  // On a skipped frame the press waits for a shown one.
  if (!FrameShown() || !KeyHit(VK_F1)) return;
  Toggle(true);
  HoldScreen([] { return KeyHelpOpen; }, showPointer);
}

void CloseHelpOnEscape() {
  if (!KeyHelpOpen || !KeyDown(VK_ESCAPE)) return;
  TakeKey(VK_ESCAPE);
  KeyHelpOpen = false;
}

void DrawKeyHelp() {
  if (!KeyHelpOpen) return;
  int screen = SettingsMenuOpen == 1 ? HELP_SETTINGS : std::clamp(HelpScreenShown, 0, int(HELP_SETTINGS));
  std::vector<HelpRow> rows = Rows(screen);
  int rules = screen == HELP_GAME ? 3 : 0;
  ResetDrawState();
  SetFont(FontTable[FONT_PANEL]);
  const int line = FontHeight() + 8, margin = 24;
  int width = std::min(VirtW - 40, 1000);
  int height = line * (int(rows.size()) + 2 + (rules ? rules + 1 : 0)) + 2 * margin;
  int x = (VirtW - width) / 2, y = (VirtH - height) / 2;
  SetBlendKind(2);
  SetDrawColour(40, 40, 40, 0.8f);
  DrawRect(float(x), float(y), float(width), float(height));
  SetBlendKind(1);
  SetDrawColour(80, 80, 80, 0.4f);
  DrawRect(float(x), float(y), float(width), float(height - 2));
  SetDrawColour(180, 255, 180, 1);
  DrawRect(float(x), float(y + height - 2), float(width), 2);

  int inner = width - 2 * margin, keysWidth = inner * 2 / 5, gap = 24;
  int top = y + margin;
  DrawTextWithin(x + width / 2, top, std::string("Keys: ") + ScreenNames[screen], 1, 0, inner);
  top += 2 * line;
  for (const HelpRow& row : rows) {
    SetDrawColour(255, 255, 80, 1);
    DrawTextWithin(x + margin + keysWidth, top, row.keys, 2, 0, keysWidth);
    SetDrawColour(255, 255, 255, 1);
    DrawTextWithin(x + margin + keysWidth + gap, top, row.action, 0, 0, inner - keysWidth - gap);
    top += line;
  }
  SetDrawColour(180, 255, 180, 1);
  top += line;
  for (int i = 0; i < rules; i++, top += line) DrawTextWithin(x + width / 2, top, Rules[i], 1, 0, inner);
}
