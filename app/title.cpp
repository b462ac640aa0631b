// title.cpp — the title screen between games. Everything slides in over 32
// frames after entry and after every game; the start buttons and Escape are
// latched so that a key still held from a game neither starts the next one
// nor quits.
#include "app/title.h"

#include <utility>

#include "app/settings_panel.h"
#include "app/startup.h"
#include "controls/controls.h"
#include "frame/common_media.h"
#include "frame/draw.h"
#include "frame/engine_test.h"
#include "frame/frame_end.h"
#include "frame/identity.h"
#include "frame/key_help.h"
#include "frame/settings_table.h"
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
  SetFont(FontTable[FONT_SMALL]);
  for (int i = 1; i <= 16; i++) DrawTextAligned(pw / 2 + 5 - off, VirtH - 428 + (i - 1) * 20, CreditLines[i], 1, 0);
}

// Blinks while the display still has the default width, to point new
// players at the settings.
static void DrawSettingsHint() {
  if (Settings[SETTING_WIDTH] == 800 && Millisecs() % 800 < 400) SetDrawColour(255, 255, 0, 1);
  DrawTextAligned(4, 4, "Hit [Tab] for settings, [F1] for help", 0, 0);
}

static void SongHotKeys() {
  if (KeyHit('M')) LoadSong("ZEMPlat", 17, 125);
  if (KeyHit('N')) LoadSong("Rodev", 1, 125);
  if (KeyHit('B')) LoadSong("Pipeline", 64, 125);
}

// A game played or watched takes the screen from the title, and the title
// starts afresh after it.
static void LeaveTitleFor(void (*run)()) {
  int& song = ChannelTable[CHANNEL_TITLE_SONG];
  if (song != 0 && ChannelPlaying(song)) {
    StopChannel(song);
    song = 0;
  }
  PauseState = 1;
  MovePointer(float(VirtW), float(VirtH));  // out of the way of the game
  run();
  PauseState = 0;
  EscLatch = 1;
  StartLatch = 1;
  TitleSlide = 0;
  GraphScroll = 0;
  ShownIndex = 0;
}

void PlayOneGame() { LeaveTitleFor(RunGameHook); }

static int64_t WatchedStamp;

// The "Watch" button of the score panel's detail box.
static void WatchChosenGame() {
  WatchedStamp = std::exchange(WatchRequest, 0);
  if (WatchedStamp != 0 && PanelY < -250) LeaveTitleFor([] { WatchGame(WatchedStamp); });
}

static bool AnyStartButtonDown() {
  static const int buttons[] = {CONTROL_BUTTON_1, CONTROL_BUTTON_2, CONTROL_BUTTON_3, CONTROL_BUTTON_4,
                                CONTROL_UP,       CONTROL_DOWN,     CONTROL_LEFT,     CONTROL_RIGHT};
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
  if (StartLatch == 0 && (ControlDown(CONTROL_UP, 1) || ControlDown(CONTROL_UP, 2))) {
    StartLatch = 1;
    Difficulty = Difficulty == 0 ? 2 : Difficulty - 1;
  }
  if (StartLatch == 0 && (ControlDown(CONTROL_DOWN, 1) || ControlDown(CONTROL_DOWN, 2))) {
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
    HelpScreenShown = HELP_TITLE;
    ResetDrawState();
    DrawStripeBackground();
    if (TitleSlide < 32) TitleSlide++;
    int s = 800 - TitleSlide * 25;

    DrawCredits();
    DrawSettingsHint();
    DrawScorePanel(TitleSlide * 10, Difficulty, GameLevel, GameFlags);
    WatchChosenGame();
    SongHotKeys();

    SetDrawColour(255, 255, 255, 1);
    SetFont(FontTable[FONT_BLUE_32]);
    DrawTextAligned(W / 2, H / 2 + s,
                    "Press Start (" + KeyName(ControlTable[ControlSlot(1, CONTROL_BUTTON_1)]) + ") To Begin", 1, 1);
    // The start uses last frame's StartHeld, so a game begins on the frame
    // after the press, once the difficulty keys have had their chance to latch.
    if (StartHeld == 1 && StartLatch == 0 && PanelY < -250) PlayOneGame();
    StartHeld = AnyStartButtonDown() ? 1 : 0;
    if (StartHeld == 0) StartLatch = 0;

    SetFont(FontTable[FONT_BASIC_32]);
    DifficultyChoice(0, "Easy", H / 2 + 200 - s);
    DifficultyChoice(1, "Medium", H / 2 + 250 - s);
    DifficultyChoice(2, "Hard", H / 2 + 300 - s);
    DifficultyKeys();

    SetDrawColour(255, 255, 255, 1);
    SetFont(FontTable[FONT_BLUE_96]);
    DrawTextAligned(W / 2, H / 2 - 200 - s, TitleWord1, 1, 1);
    SetFont(FontTable[FONT_BLUE_72]);
    DrawTextAligned(W / 2, H / 2 - 140 + s, TitleWord2, 1, 1);

    EndFrame(TargetFps, 1, 1);

    if (!KeyDown(VK_ESCAPE)) EscLatch = 0;
    if (EscLatch == 0 && KeyDown(VK_ESCAPE)) quit = true;
  }
}
