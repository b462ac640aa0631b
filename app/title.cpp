// title.cpp — the title screen between games. Everything slides in over 32
// frames after entry and after every game; the start buttons and Escape are
// latched so that a key still held from a game neither starts the next one
// nor quits.
#include "app/title.h"

#include "app/assets.h"
#include "app/settings.h"
#include "app/settings_panel.h"
#include "app/startup.h"
#include "controls/controls.h"
#include "frame/draw.h"
#include "frame/engine_test.h"
#include "frame/frame_end.h"
#include "game/game.h"
#include "media/media.h"
#include "music/music.h"
#include "scores/panel.h"

int TitleSlide;
int StartHeld;
int StartLatch;
int EscLatch;
void (*RunGameHook)() = RunGame;

static void DrawCredits() {
  int pw = 320, ps = 10;
  if (ScreenW < 900) pw = 416, ps = 13;  // small screens get bigger fonts
  int off = pw - TitleSlide * ps;
  SetDrawColour(0, 0, 0, 0.6f);
  DrawRect(float(10 - off), float(VirtH - 430), float(pw), 422);
  SetDrawColour(255, 255, 255, 1);
  SetFont(FontTable[3]);
  for (int i = 1; i <= 16; i++) DrawTextAligned(pw / 2 + 5 - off, VirtH - 428 + (i - 1) * 20, CreditLines[i], 1, 0);
}

// Blinks while the display still has the default width, to point new
// players at the settings.
static void DrawSettingsHint() {
  if (Settings[5] == 800 && Millisecs() % 800 < 400) SetDrawColour(255, 255, 0, 1);
  DrawTextAligned(4, 4, "Hit [Tab] for settings", 0, 0);
}

static void SongHotKeys() {
  if (KeyHit('M')) LoadSong("ZEMPlat", 17, 125);
  if (KeyHit('N')) LoadSong("Rodev", 1, 125);
  if (KeyHit('B')) LoadSong("Pipeline", 64, 125);
}

void PlayOneGame() {
  if (ChannelTable[1] != 0 && ChannelPlaying(ChannelTable[1])) {
    StopChannel(ChannelTable[1]);
    ChannelTable[1] = 0;
  }
  PauseState = 1;
  MovePointer(float(VirtW), float(VirtH));  // out of the way of the game
  RunGameHook();
  PauseState = 0;
  EscLatch = 1;
  StartLatch = 1;
  TitleSlide = 0;
  GraphScroll = 0;
  ShownIndex = 0;
}

static bool AnyStartButtonDown() {
  static const int buttons[] = {10, 11, 12, 13, 0, 8, 3, 5};
  for (int p = 1; p <= 4; p++)
    for (int b : buttons)
      if (ControlDown(b, p)) return true;
  return false;
}

static void DifficultyChoice(int index, const char* label, int y) {
  SetDrawColour(255, 255, 255, Difficulty == index ? 1.0f : 0.5f);
  DrawTextAligned(VirtW / 2 - 100, y, label, 0, 0);
  if (MouseInBox(VirtW / 2 - 100, y, 200, 40) && MouseDown(1)) Difficulty = index;
}

// Up and down are start buttons too: setting the latch in the frame they are
// first seen makes them change the difficulty without starting a game.
static void DifficultyKeys() {
  if (StartLatch == 0 && (ControlDown(0, 1) || ControlDown(0, 2))) {
    StartLatch = 1;
    Difficulty = Difficulty == 0 ? 2 : Difficulty - 1;
  }
  if (StartLatch == 0 && (ControlDown(8, 1) || ControlDown(8, 2))) {
    StartLatch = 1;
    Difficulty = Difficulty == 2 ? 0 : Difficulty + 1;
  }
}

void RunTitleScreen() {
  // Both latches start set so that a key still held from the loading screen
  // (or from a game run straight after loading) has to be released first;
  // with nothing held they clear on the first frame.
  TitleSlide = 0;
  StartHeld = 0;
  StartLatch = 1;
  EscLatch = 1;
  bool quit = false;
  while (!quit) {
    const int W = VirtW, H = VirtH;  // the settings panel can change the display
    BeginFrame(1);
    ResetDrawState();
    DrawStripeBackground();
    if (TitleSlide < 32) TitleSlide++;
    int s = 800 - TitleSlide * 25;

    DrawCredits();
    DrawSettingsHint();
    DrawScorePanel(TitleSlide * 10, Difficulty, GameLevel, GameFlags);
    SongHotKeys();

    SetDrawColour(255, 255, 255, 1);
    SetFont(FontTable[7]);
    DrawTextAligned(W / 2, H / 2 + s, "Press Start (" + KeyName(ControlTable[10]) + ") To Begin", 1, 1);
    // The start uses last frame's StartHeld, so a game begins on the frame
    // after the press, once the difficulty keys have had their chance to latch.
    if (StartHeld == 1 && StartLatch == 0 && PanelY < -250) PlayOneGame();
    StartHeld = AnyStartButtonDown() ? 1 : 0;
    if (StartHeld == 0) StartLatch = 0;

    SetFont(FontTable[8]);
    DifficultyChoice(0, "Easy", H / 2 + 200 - s);
    DifficultyChoice(1, "Medium", H / 2 + 250 - s);
    DifficultyChoice(2, "Hard", H / 2 + 300 - s);
    DifficultyKeys();

    SetDrawColour(255, 255, 255, 1);
    SetFont(FontTable[5]);
    DrawTextAligned(W / 2, H / 2 - 200 - s, TitleWord1, 1, 1);
    SetFont(FontTable[6]);
    DrawTextAligned(W / 2, H / 2 - 140 + s, TitleWord2, 1, 1);

    EndFrame(TargetFps, 1, 1);

    if (!KeyDown(VK_ESCAPE)) EscLatch = 0;
    if (EscLatch == 0 && KeyDown(VK_ESCAPE)) quit = true;
  }
}
