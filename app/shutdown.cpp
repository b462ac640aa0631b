// shutdown.cpp — the one way the program ends. Everything worth keeping is
// written before anything is shown, so killing the process on the thanks
// screen loses nothing but the log's last lines.
#include "app/shutdown.h"

#include "app/assets.h"
#include "app/settings.h"
#include "app/startup.h"
#include "controls/controls.h"
#include "frame/common_media.h"
#include "frame/draw.h"
#include "frame/folders.h"
#include "frame/frame_end.h"
#include "frame/screenshot.h"
#include "game/game.h"
#include "media/media.h"
#include "scores/records.h"

// Closing the game's display freed its fonts, so the four the thanks screen
// uses are loaded again for the new window, at their base sizes: the window
// has a fixed size and no virtual screen.
static void LoadThanksFonts() {
  FontTable[FONT_BLUE_72] = LoadFont(FaceFile(FACE_BLUE), FontSizeFor(FACE_BLUE, 72, 1), true);
  FontTable[FONT_BLUE_32] = LoadFont(FaceFile(FACE_BLUE), FontSizeFor(FACE_BLUE, 32, 1), true);
  FontTable[FONT_BASIC_32] = LoadFont(FaceFile(FACE_BASIC), FontSizeFor(FACE_BASIC, 32, 1), true);
  FontTable[FONT_BASIC_14] = LoadFont(FaceFile(FACE_BASIC), FontSizeFor(FACE_BASIC, 14, 1), true);
}

// The big thanks ends short of the club's logo beside it (at x = 384).
constexpr int ThanksWidth = 380;

static void DrawFeedbackText(int x, int y, int slot, const char* text) {
  SetFont(FontTable[slot]);
  DrawTextWithin(x, y, text, 0, 0, slot == FONT_BLUE_72 ? ThanksWidth : 640 - x);
}

static void LoadThanksMedia() {
  AutoCentre(false);
  LogoImage = LoadImage(CommonFolder + "logo.png", IMAGE_MASKED | IMAGE_FILTERED);
  CommunityLogoImage = LoadImage(CommonFolder + "Brimhall.png", IMAGE_MASKED | IMAGE_FILTERED);
  SetImageHandle(LogoImage, 0, 0);
  SetImageHandle(CommunityLogoImage, 0, 0);
  LoadThanksFonts();
}

static void DrawThanksScreen() {
  Cls();
  ResetDrawState();
  SetDrawColour(0, 0, 80, 1);
  DrawRect(0, 0, 640, 480);

  SetBlendKind(1);
  SetDrawColour(255, 255, 255, 1);
  SetDrawScale(0.5f);
  DrawImage(LogoImage, 0, 0, 0);
  DrawImage(CommunityLogoImage, 384, 224, 0);
  SetDrawScale(1);

  SetDrawColour(0, 0, 0, 0.8f);
  DrawFeedbackText(2, 222, FONT_BLUE_72, "Thanks for Playing");
  DrawFeedbackText(52, 276, FONT_BLUE_32, "Send Feedback!");
  SetDrawColour(255, 255, 255, 1);
  DrawFeedbackText(0, 220, FONT_BLUE_72, "Thanks for Playing");
  DrawFeedbackText(50, 274, FONT_BLUE_32, "Send Feedback!");

  SetDrawColour(180, 255, 255, 1);
  DrawFeedbackText(320, 4, FONT_BASIC_32, "This Game is Free");
  const struct {
    int y;
    const char* text;
  } lines[] = {{44, "I do not ask for money."},
               {64, "I create these games for fun."},
               {84, "All I ask is that players send some feedback."},
               {104, "A comment, an email, a vote."},
               {134, "Do the right thing."},
               {164, "Support Homebrew games by"},
               {184, "saying thanks to their developers."}};
  for (const auto& line : lines) DrawFeedbackText(270, line.y, FONT_BASIC_14, line.text);
}

void ShowThanksScreen() {
  CloseDisplay();
  OpenDisplay(640, 480, 0, 60);
  LoadThanksMedia();
  DrawThanksScreen();
  Flip(0);
}

// The window's close button counts as input too: the thanks screen is the
// one window the player could otherwise not close with it.
static bool AnyInput() {
  bool altF4 = KeyDown(VK_F4) && (KeyDown(VK_LMENU) || KeyDown(VK_RMENU));
  return ScanAnyInput() > 0 || MouseDown(1) || MouseDown(2) || altF4 || CloseRequested() || TerminationSignal() != 0;
}

// Only a press made after the screen appeared ends it: what was held then
// (the Escape that quit) must be let go first, and the characters typed
// during the game are thrown away, not taken for a key. The screen is drawn
// again every frame, since an X server without a compositor does not keep
// a window's picture: one drawn before the window was mapped, or covered
// since, is simply gone.
void WaitOnThanksScreen() {
  FlushInput();
  while (!AnyInput()) {
    SleepMs(16);
    PollEvents();
    DrawThanksScreen();
    Flip(0);
  }
}

// Reached only from a running program: the display opened fine, so the
// marker of a display being opened must not outlive it (a quit during the
// engine test would otherwise make the next start change renderer).
static void ClearDisplayCrashMarker() { DeleteFile(CrashMarker()); }

void ShutDown() {
  ShowPointer();
  PutBackWatcherSettings();  // shut while watching: the player's settings, not the recording's
  WriteSettingsFile();
  SaveScores();
  FinishGifSave();
  if (!Options.record.empty() && !SaveSessionRecording(Options.record))
    LogFailure("could not save the recording " + Options.record + ": " + WriteFailure());
  LogLine("Closing Up");
  LogLine("");
  LogLine("Bye!");
  LogLine("");
  LogLine("Play again, soon!!");
  ClearDisplayCrashMarker();

  // Ended by a signal, the program is not shown anything more: the terminal
  // or the session is closing, and no one waits to press a key.
  bool signalled = TerminationSignal() != 0;
  if (!signalled) ShowThanksScreen();
  bool unattended = signalled || Options.headless || (FrameLimit > 0 && FramesEnded >= FrameLimit);
  if (!unattended) WaitOnThanksScreen();
  CloseDisplay();
  CloseStartupLog();
  EndProcess(0);
}
