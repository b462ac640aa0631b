// settings_panel.cpp — the settings panel that Tab slides down over every
// screen: graphics options with Apply, the players' binding pads, the audio
// driver, three volume sliders and the joystick list. It is drawn from
// EndFrame, so no screen has to know about it; all of it is mouse-driven.
#include "app/settings_panel.h"

#include <algorithm>

#include "app/assets.h"
#include "app/settings.h"
#include "app/startup.h"
#include "controls/controls.h"
#include "frame/common_media.h"
#include "frame/draw.h"
#include "frame/frame_end.h"
#include "frame/settings_table.h"
#include "game/game.h"
#include "media/media.h"

// An out-of-range value shows label0, so a click moves on from option 0:
// what the player sees is what the click advances. The audio row shows the
// driver sound is on even when it is none of the choices (no speaker could
// be reached, so output went to SDL's silent one); a click then picks the
// first choice.
int OptionRow(int entry, int x, int y, int iconBase, const std::string& label0, const std::string& label1,
              const std::string& label2, const std::string& label3, const std::string& label4,
              const std::string& label5) {
  std::string labels[6] = {label0, label1, label2, label3, label4, label5};
  bool audio = label0 == "AUDIO" && !AudioDriverNames.empty();
  if (audio) {
    for (int i = 0; i < 6; i++)
      labels[i] = i < int(AudioDriverNames.size()) ? "Audio Driver|" + AudioDriverNames[i] : "";
  }
  int count = 1;
  for (int i = 1; i <= 5; i++)
    if (!labels[i].empty()) count = i + 1;
  int value = Settings[entry];
  bool valid = value >= 0 && value < count && !labels[value].empty();
  std::string shown = valid ? labels[value] : labels[0];
  int from = valid ? value : 0;
  if (audio && !valid && !AudioDriverInUse().empty()) {
    shown = "Audio Driver|" + AudioDriverInUse();
    from = -1;
  }

  SetDrawScale(1);
  SetFont(FontTable[FONT_PANEL]);
  int top = y + PanelY;
  int w = 0;
  if (Instr(shown, "|") == 0) {
    DrawTextAligned(x + 38, top + 16, shown, 0, 1);
    w = TextWidth(shown);
  } else {
    std::string first = FieldOf(shown, "|", 1, 0);
    DrawTextAligned(x + 38, top + 8, first, 0, 1);
    DrawTextAligned(x + 38, top + 24, FieldOf(shown, "|", 2, 0), 0, 1);
    w = TextWidth(first);
  }

  // The icon follows the stored value (the resolution row shows the
  // widescreen flag this way); frames outside the strip are skipped.
  SetDrawScale(2);
  int frame = (value >= 0 && value < 64) ? iconBase + value : iconBase;
  if (!MouseInBox(x, top, w, 32)) DrawSprite(IconStripCrisp, x, top, frame, SPRITE_IMAGES);
  if (!MouseInBox(x, top, w + 38, 32)) return 0;
  DrawGlowSprite(IconStripCrisp, x, top, frame, IconStrip, 1.1f, 0.8f);
  if (MouseHitLeft) Settings[entry] = (from + 1) % count;
  return 1;
}

// The row of a declared setting, with the labels its declaration gives.
static int SettingRow(int entry, int x, int y, int iconBase) {
  const SettingDecl& decl = SettingFor(entry);
  auto label = [&decl](int i) { return std::string(decl.labels[i] ? decl.labels[i] : ""); };
  return OptionRow(entry, x, y, iconBase, label(0), label(1), label(2));
}

int VolumeSlider(int value, int x, int y, const std::string& caption) {
  // The knob only makes sense from 0 to 100.
  value = std::clamp(value, 0, 100);
  SetDrawColour(80, 255, 80);
  SetDrawScale(3.1f, 1.5f);
  DrawSprite(IconStripCrisp, x - 2, y, 21, SPRITE_IMAGES);
  DrawSprite(IconStripCrisp, x + 48, y, 22, SPRITE_IMAGES);
  SetDrawColour(255, 80, 80);
  SetDrawScale(1, 1.5f);
  DrawSprite(IconStripCrisp, x + value - 9, y, 23, SPRITE_IMAGES);
  SetDrawColour(80, 180, 255);
  if (MouseInBox(x - 2, y - 4, 100, 24) && MouseDown(1)) value = std::clamp(MouseX - (x - 2), 0, 100);
  SetDrawScale(1);
  DrawTextAligned(x, y + 20, caption + " : " + std::to_string(value), 0, 0);
  return value;
}

// Drawn from the code the slot held before this frame's scan, so a new
// binding shows from the next frame on.
constexpr int BindingLabelWidth = 44;  // a button is 48 wide

void BindingButton(int slot, int x, int y) {
  if (slot < 0 || slot >= ControlSlots) return;
  int old = ControlTable[slot];
  float lit = 0;
  // Only on the fully open panel: while it slides, the Tab that moved it
  // may still be held and must not become a binding.
  if (MouseInBox(x, y, 48, 48) && PanelY >= 0) {
    lit = 1;
    int n = ScanAnyInput();
    if (n > 8) ControlTable[slot] = n;
    if (n == 8) ControlTable[slot] = 0;
  }
  if (InputDown(ControlTable[slot])) lit = 1;

  int frame = 0;
  bool atCorner = false;
  std::string label = KeyName(old);
  if (old == 0) {
    frame = 3;
    label = "?!";
  } else if (old >= 9 && old <= 254) {
    frame = 3;
  } else if (old >= PadCodes) {
    int p = old % 50;
    if (p >= PadAxisInputs) frame = 9, atCorner = true;
    else if (p >= PAD_DPAD_UP && p <= PAD_DPAD_RIGHT) frame = 8, atCorner = true;
    else frame = 10;
  } else if (old >= 300) {
    int d = old % 50;
    if (d < 12) frame = 9, atCorner = true;
    else if (d >= 20 && d <= 29) frame = 8, atCorner = true;
    else if (d >= 30) frame = 10;
  }
  if (frame == 0) return;
  SetDrawScale(3);
  DrawGlowSprite(IconStripCrisp, x, y, frame, IconStrip, 1.1f, lit);
  SetDrawScale(1);
  int offset = atCorner ? 0 : 24;
  DrawTextWithin(x + offset, y + offset, label, 1, 1, BindingLabelWidth);  // long key names stay on their button
}

static void DrawBackground() {
  SetBlendKind(2);
  SetDrawColour(40, 40, 40, 0.8f);
  DrawRect(0, 0, float(VirtW), float(PanelY + 300));
  SetBlendKind(1);
  SetDrawColour(80, 80, 80, 0.4f);
  DrawRect(0, 0, float(VirtW), float(PanelY + 298));
  SetDrawColour(180, 255, 180, 1);
  DrawRect(0, float(PanelY + 298), float(VirtW), 2);
}

// A machine may list no usable mode at all; the open size then stays.
static void StepDisplayMode(int direction) {
  int count = std::min(ModeCount, ModeListSize - 1);
  if (count < 1) return;
  int mode = Settings[SETTING_MODE] + direction;
  if (mode < 1 || mode > count) mode = direction > 0 ? 1 : count;
  Settings[SETTING_MODE] = mode;
  Settings[SETTING_WIDTH] = ModeListW[mode];
  Settings[SETTING_HEIGHT] = ModeListH[mode];
}

static void ResolutionRow() {
  int over = SettingRow(SETTING_WIDESCREEN, 20, 70, 11);
  if (!over && !MouseInBox(20, 70 + PanelY, 200, 70)) return;
  // Both keys of a pair are read so that neither press lingers for later.
  int next = KeyHit(VK_RIGHT) + KeyHit(VK_UP);
  if (next > 0 || MouseHitLeft) StepDisplayMode(1);
  int previous = KeyHit(VK_LEFT) + KeyHit(VK_DOWN);
  if (previous > 0 || MouseHitRight) StepDisplayMode(-1);
}

static void QualityNote() {
  SetDrawScale(1);
  int height = Settings[SETTING_HEIGHT];
  DrawTextAligned(20, PanelY + 108, std::to_string(Settings[SETTING_WIDTH]) + "x" + std::to_string(height), 0, 0);
  if (height < 900) {
    SetDrawColour(255, 180, 80);
    DrawTextAligned(80, PanelY + 128, "Small (Bit blurry)", 0, 0);
  } else if (height > 960) {
    SetDrawColour(180, 255, 80);
    DrawTextAligned(80, PanelY + 128, "Bigger! (High-Definition!)", 0, 0);
  } else {
    SetDrawColour(255, 255, 80);
    DrawTextAligned(80, PanelY + 128, "Native (Crisp, Clear)", 0, 0);
  }
}

// Returns true once the display has been reopened: the reload runs frames of
// its own (the engine test), which already drew the panel on the new display.
static bool ApplyButton() {
  SetDrawScale(1);
  SetDrawColour(0, 120, 0, 0.5f);
  int w = TextWidth("Apply") + 4, h = FontHeight() + 4;
  if (MouseInBox(18, PanelY + 258, w, h)) {
    DrawRect(18, float(PanelY + 258), float(w), float(h));
    if (MouseHitLeft) {
      MouseHitLeft = 0;
      SettingsMenuOpen = 0;
      WriteSettingsFile();
      ApplyDisplayMode();
      WriteSettingsFile();  // again, with what the display really opened
      return true;
    }
  }
  SetDrawColour(80, 255, 80, 1);
  DrawTextAligned(20, PanelY + 260, "Apply", 0, 0);
  return false;
}

// Frame skipping chosen here is the player's own: the engine test keeps it.
static void SlowSystemRow() {
  int before = Settings[SETTING_SLOW_SYSTEM];
  SettingRow(SETTING_SLOW_SYSTEM, 20, 146, 18);
  if (Settings[SETTING_SLOW_SYSTEM] != before) Settings[SETTING_SLOW_BY_TEST] = 0;
}

static bool GraphicsColumn() {
  SetDrawColour(80, 255, 80, 1);
  DrawTextAligned(20, PanelY + 4, "Graphics", 0, 0);
  SettingRow(SETTING_FULLSCREEN, 20, 30, 13);
  ResolutionRow();
  QualityNote();
  SetDrawColour(80, 255, 80);
  SlowSystemRow();
  SettingRow(SETTING_RENDERER, 20, 184, 18);
  return ApplyButton();
}

// A game pad: the directions as a cross on the left, the four buttons as a
// diamond on the right.
static void BindingPad(int player) {
  static const int padX[5] = {0, 250, 250, 650, 650}, padY[5] = {0, 10, 160, 10, 160};
  struct PadButton {
    int control, dx, dy, r, g, b;
  };
  static const PadButton buttons[] = {
      {CONTROL_UP, 50, 0, 80, 255, 80},         {CONTROL_LEFT, 0, 50, 80, 255, 80},
      {CONTROL_RIGHT, 100, 50, 80, 255, 80},    {CONTROL_DOWN, 50, 50, 80, 255, 80},
      {CONTROL_BUTTON_4, 190, 0, 255, 255, 80}, {CONTROL_BUTTON_3, 155, 30, 80, 80, 255},
      {CONTROL_BUTTON_2, 225, 30, 255, 80, 80}, {CONTROL_BUTTON_1, 190, 60, 80, 255, 80}};
  int x = padX[player], y = PanelY + padY[player];
  for (const PadButton& b : buttons) {
    SetDrawColour(b.r, b.g, b.b);
    BindingButton(ControlSlot(player, b.control), x + b.dx, y + b.dy);
  }
}

static int SnapVolume(int value) {
  if (value < 6) return 0;
  if (value > 94) return 100;
  return value;
}

static void AudioColumn() {
  int x = VirtW - 280, y = PanelY + 10;
  SettingRow(SETTING_AUDIO_DRIVER, x, 20, 24);
  SetDrawScale(1);
  SetDrawColour(255, 180, 180, 1);
  DrawTextAligned(x, y + 40, "Changes require a Restart", 0, 0);
  y += 60;
  const int volumes[3] = {SETTING_MASTER, SETTING_SOUND, SETTING_MUSIC};
  for (int i = 0; i < 3; i++)
    Settings[volumes[i]] =
        SnapVolume(VolumeSlider(Settings[volumes[i]], x, y + 50 * i, SettingFor(volumes[i]).labels[0]));
  y += 160;
  for (int j = 1; j <= std::min(JoyCount, 4); j++) {
    int red = JoystickButtonDown(j - 1, 0) ? 255 : 80;
    SetDrawColour(red, 255, 80, JoyEnabled[j] ? 1.0f : 0.2f);
    if (MouseInBox(x, y, TextWidth(JoyName[j]), 14) && MouseHitLeft) {
      MouseHitLeft = 0;
      JoyEnabled[j] = JoyEnabled[j] ? 0 : 1;
    }
    DrawTextAligned(x, y, CutToWidth(JoyName[j], VirtW - x), 0, 0);
    y += 15;
  }
}

static void DrawAndWorkPanel() {
  SetFont(FontTable[FONT_PANEL]);
  ResetDrawState();
  DrawBackground();
  // The panel's icons must never be refused by the sprite budget.
  SpritesDrawn[SPRITE_IMAGES] = 0;
  SpritesDrawn[SPRITE_GLOW] = 0;
  if (GraphicsColumn()) return;
  if (InputMode == 0)
    for (int p = 1; p <= std::min(PlayerSlots, 4); p++) BindingPad(p);
  AudioColumn();
}

// Clicks add up until the panel has looked at them, then are spent: one
// that hit no widget was not for the panel, and must not fire later when
// the panel opens.
void RunSettingsPanel() {
  MouseHitLeft += MouseHit(1);
  MouseHitRight += MouseHit(2);
  if (SettingsMenuOpen == 1 && PanelY < 0) PanelY += 32;
  if (SettingsMenuOpen == 0 && PanelY > -300) PanelY -= 32;
  if (PanelY > -300) DrawAndWorkPanel();
  MouseHitLeft = MouseHitRight = 0;
}
