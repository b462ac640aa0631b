// pause.cpp — what stops the screen under it. The pause menu: the frozen
// game picture turns and pulses under a spray of window titles, and a small
// box offers "Continue" and "Quit"; any player's up, down and first two
// buttons work it, as do the cursor keys and Space; Escape leaves it. And
// the settings panel, which holds the screen still under it while it is open.
#include "frame/pause.h"

#include "controls/controls.h"
#include "frame/common_media.h"
#include "frame/draw.h"
#include "frame/engine_test.h"
#include "frame/frame_end.h"
#include "frame/identity.h"
#include "frame/key_help.h"
#include "media/media.h"

static bool AnyPlayerDown(int control) {
  for (int p = 1; p <= 4; p++)
    if (ControlDown(control, p)) return true;
  return false;
}

bool ScreenHeld;

// Runs outside frames, so it pumps the events itself.
static void WaitForEscapeRelease() {
  for (PollEvents(); KeyDown(VK_ESCAPE); PollEvents()) SleepMs(1);
}

// The screen as drawn so far this frame: the whole back buffer, however the
// window scales the virtual screen into it. Its handle is at its centre.
static int GrabScreen() {
  int picture = GrabImage(0, 0, RealWidth(), RealHeight());
  SetImageHandle(picture, RealWidth() / 2.0f, RealHeight() / 2.0f);
  return picture;
}

// The grabbed screen back over the whole virtual screen, as it was shown.
static void DrawScreen(int picture) {
  if (ImageWidth(picture) == 0 || ImageHeight(picture) == 0) return;
  ResetDrawState();
  SetBlendKind(BLEND_SOLID);
  SetDrawScale(float(VirtW) / ImageWidth(picture), float(VirtH) / ImageHeight(picture));
  DrawImage(picture, VirtW / 2.0f, VirtH / 2.0f, 0);
  ResetDrawState();
}

// Continues the random sequence, so the caller reseeds once per frame and
// every frame sprays the same titles in the same colours.
static void DrawTitleSpray(int first, int last, float angle) {
  for (int k = first; k <= last; k++) {
    SetDrawRotation(angle + 2.0f * k);
    int r = 50 * RandomInt(1, 5);
    int g = 50 * RandomInt(1, 5);
    int b = 50 * RandomInt(1, 5);
    SetDrawColour(r, g, b, 0.4f);
    int x = RandomInt(0, VirtW);
    int y = RandomInt(0, VirtH);
    DrawTextAligned(x, y, WindowTitle, 1, 1);
  }
}

static void SetPulseScale(float phase) {
  SetDrawScale(1.5f + 0.5f * SinDeg(phase), 1.5f + 0.5f * SinDeg(1.3f * phase));
}

// One menu item; the highlighted one is yellow, indented, and taken by fire.
static void DrawItem(const char* label, int y, bool highlighted, bool fire, int value, int* latch, int* result) {
  int indent = 0;
  SetDrawColour(255, 255, 255, 1);
  if (highlighted) {
    SetDrawColour(255, 255, 0);
    indent = 20;
    if (fire && *latch == 0) {
      *latch = 1;
      *result = value;
    }
  }
  DrawTextAligned(int(VirtW * 0.1f + 10 + indent), y, label, 0, 0);
}

int RunPauseMenu() {
  WaitForEscapeRelease();
  int picture = GrabScreen();
  float phase = 0, angle = 0;
  int selection = 0, latch = 1, result = 0;

  while (result == 0) {
    BeginFrame(1);
    ResetDrawState();
    SetBlendKind(1);
    phase += 0.4f;
    SetPulseScale(phase);
    angle += 0.1f;
    SetDrawRotation(angle);
    SetFont(FontTable[FONT_BLUE_32]);
    DrawImage(picture, float(VirtW / 2), float(VirtH / 2), 0);

    SeedRandom(37171650);
    DrawTitleSpray(1, 140, angle);

    SetDrawRotation(0);
    SetDrawScale(1);
    SetDrawColour(0, 0, 0, 0.5f);
    DrawRect(VirtW * 0.1f, VirtH * 0.375f, float(VirtW / 6), float(VirtH / 4));

    bool up = AnyPlayerDown(CONTROL_UP) || KeyDown(VK_UP);
    bool down = AnyPlayerDown(CONTROL_DOWN) || KeyDown(VK_DOWN);
    bool fire = AnyPlayerDown(CONTROL_BUTTON_1) || AnyPlayerDown(CONTROL_BUTTON_2) || KeyDown(VK_SPACE);
    if (up && latch == 0) selection--, latch = 1;
    if (down && latch == 0) selection++, latch = 1;
    if (!up && !down && !fire) latch = 0;

    int y = int(VirtH * 0.375f);
    SetDrawColour(255, 255, 255);
    if (selection < 0) selection = 1;
    y += 60;
    DrawItem("Continue", y, selection == 0, fire, 1, &latch, &result);
    y += 60;
    DrawItem("Quit", y, selection == 1, fire, 99, &latch, &result);
    if (selection > 1) selection = 0;

    SetPulseScale(phase);
    DrawTitleSpray(141, 180, angle);

    HelpScreenShown = HELP_PAUSE;
    EndFrame(TargetFps, 1, 1);
    if (KeyDown(VK_ESCAPE)) result = selection == 1 ? 99 : 1;
  }

  // Quitting shows "Game Over" over the game, which is drawn no more: the
  // frame being ended must show the game as it was, not this menu.
  if (result == 99) DrawScreen(picture);
  FreeImage(picture);
  SeedRandom(SeedFromClock());  // the game's randomness must not repeat the spray
  WaitForEscapeRelease();
  HelpScreenShown = HELP_GAME;  // only the game opens it
  return result;
}

void HoldScreen(bool (*held)(), int showPointer) {
  int picture = GrabScreen();
  int pauseState = PauseState;
  if (PauseState == 1) PauseState = 2;  // Escape there is the overlay's
  while (held()) {
    BeginFrame(1);
    DrawScreen(picture);
    EndFrame(TargetFps, 1, showPointer);
  }
  PauseState = pauseState;
  FreeImage(picture);
}

// Starts on a frame that was drawn (a slow system skips every other one), so
// the picture is whole. A display reopened by Apply meanwhile has freed the
// picture; the panel then slides away over black.
void HoldScreenUnderPanel(int showPointer) {
  if (ScreenHeld || SettingsMenuOpen != 1 || !FrameShown() || !FrameHook.runSettingsPanel) return;
  ScreenHeld = true;
  HoldScreen([] { return SettingsMenuOpen == 1 || PanelY > -300; }, showPointer);
  ScreenHeld = false;
}
