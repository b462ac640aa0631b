// frame_end.cpp — the one routine that ends every frame on every screen:
// global hot keys, overlays, the message log, mouse capture, pacing to 60
// frames per second, music and presenting. EndFrame reads as the list of
// its steps, in the order they run.
#include "frame/frame_end.h"

#include <utility>

#include "controls/controls.h"
#include "frame/common_media.h"
#include "frame/draw.h"
#include "frame/engine_test.h"
#include "frame/figures.h"
#include "frame/key_help.h"
#include "frame/pause.h"
#include "frame/screenshot.h"
#include "frame/settings_table.h"
#include "media/media.h"

std::list<ment> MessageList;
FrameHooks FrameHook;

// A frame this much behind its deadline was a stall, not a slow frame.
constexpr int StallMillis = 50;
static int DeadlineThirds;  // the deadline's fraction of a millisecond, in thirds

int FrameStartMillis;
int FrameDeadline;
int FrameWaitMillis;
int FrameMillis;
int FpsAverage;
int FpsShown;
int FrameParity;
int GcCollected;
int StatsOverlayOn = 1;
int SettingsMenuOpen;
int PanelY = -300;
int PauseState;
int MouseX, MouseY;
int MouseHitLeft, MouseHitRight;
int FramesPresented;
int FramesEnded;
int FrameLimit;
static bool EscapePending;    // a tap of Escape seen on a skipped frame
static bool PanelOpenAtPump;  // the settings panel was open at the last pump

void AddMessage(const std::string& text, int code) { MessageList.push_back(ment{0, text, code}); }

void ResetFrameState() {
  MessageList.clear();
  FrameStartMillis = FrameMillis = FpsAverage = FpsShown = FrameParity = GcCollected = 0;
  FrameDeadline = DeadlineThirds = FrameWaitMillis = 0;
  StatsOverlayOn = 1;
  SettingsMenuOpen = PauseState = 0;
  KeyHelpOpen = EscapePending = PanelOpenAtPump = false;
  HelpScreenShown = HELP_TITLE;
  PanelY = -300;
  MouseX = MouseY = MouseHitLeft = MouseHitRight = 0;
  FramesPresented = FramesEnded = FrameLimit = 0;
  for (int category = 0; category < SPRITE_CATEGORIES; category++) {
    SpriteBudget[category] = category == SPRITE_IMAGES || category == SPRITE_GLOW ? 50000 : 0;
    SpritesDrawn[category] = 0;
  }
  TargetFps = 60;
  ResetFigures();
}

static void RunHook(void (*hook)()) {
  if (hook) hook();
}

static void ToggleSettingsOnTab() {
  if (!KeyHit(VK_TAB)) return;
  SettingsMenuOpen = 1 - SettingsMenuOpen;
  RunHook(FrameHook.settingsChanged);
}

// The memory collector runs on every other frame.
static void CollectOnOddFrames() {
  if (FrameParity == 1) GcCollected = CollectGarbage();
}

// On a slow system the hot keys wait for a shown frame, so a press made
// during a skipped frame stays pending rather than being lost: the hit
// counts keep F10 and F11, and a quick tap of Escape, which reads as down
// only until the next pump, is remembered. Returns the pause menu's
// result, or 0.
static int ScreenshotAndPauseKeys() {
  bool escape = KeyDown(VK_ESCAPE) && PauseState == 1;
  if (!(FrameParity == 0 || Settings[SETTING_SLOW_SYSTEM] == 0)) {
    EscapePending = EscapePending || escape;
    return 0;
  }
  if (KeyHit(VK_F11)) TakeScreenshot();
  if (KeyHit(VK_F10)) SaveGifOfPlay();
  // A player who switches to another window has stopped playing: the game
  // waits in the pause menu, as after Escape.
  bool focusLost = FocusLost();
  bool pending = std::exchange(EscapePending, false);
  if (!(escape || pending || focusLost) || PauseState != 1) return 0;
  PauseState = 2;
  int result = RunPauseMenu();
  PauseState = 1;
  return result;
}

// F9: all sound off or back on, remembered in the settings file.
static void MuteKey() {
  if (!KeyHit(VK_F9)) return;
  Settings[SETTING_MUTE] = 1 - Settings[SETTING_MUTE];
  SetSoundMuted(Settings[SETTING_MUTE] == 1);
  AddMessage(Settings[SETTING_MUTE] == 1 ? "Sound off" : "Sound on", 1);
  RunHook(FrameHook.settingsChanged);
}

static void DrawStatsOverlay() {
  SetFont(FontTable[FONT_BASIC_24]);
  DrawTextAligned(2, 2, std::to_string(FpsShown), 0, 0);
  SetFont(FontTable[FONT_PANEL]);
  auto budgetLine = [](const char* label, int category) {
    return std::string(label) + std::to_string(SpritesDrawn[category]) + "/" + std::to_string(SpriteBudget[category]);
  };
  DrawTextAligned(2, 40, "Collection : " + std::to_string(GcCollected), 0, 0);
  DrawTextAligned(2, 60, "Used Memory : " + std::to_string(MemoryInUse()), 0, 0);
  DrawTextAligned(2, 80, budgetLine("Drawn Images : ", SPRITE_IMAGES), 0, 0);
  DrawTextAligned(2, 100, budgetLine("Drawn Glow : ", SPRITE_GLOW), 0, 0);
  DrawTextAligned(2, 120, budgetLine("Drawn Particles : ", SPRITE_PARTICLES), 0, 0);
  DrawTextAligned(2, 150, "Hit F12 to remove this", 0, 0);
  SetDrawScale(1.5f);
}

static void StatsOverlay() {
  ResetDrawState();
  SetDrawScale(1.5f);
  SetFont(FontTable[FONT_BASIC_24]);
  if (KeyHit(VK_F12)) StatsOverlayOn = 1 - StatsOverlayOn;
  if (StatsOverlayOn == 1) DrawStatsOverlay();
}

static void DrawPointer(int showPointer) {
  if (showPointer != 1 && SettingsMenuOpen != 1) return;
  SetScale(1.5f, 1.5f);
  SetDrawColour(255, 255, 255, 1);
  DrawImage(IconStrip, PointerX() + 12, PointerY() + 12, ICON_POINTER);
}

static void CaptureMouse() {
  MouseX = int(PointerX());
  MouseY = int(PointerY());
  MouseHitLeft += MouseHit(1);
  MouseHitRight += MouseHit(2);
}

// 1000 / 60 ms is 16 and two thirds: the deadline moves in whole
// milliseconds and keeps the thirds, so sixty steps make exactly a second.
static void StepDeadline() {
  DeadlineThirds += 2;
  FrameDeadline = int(uint32_t(FrameDeadline) + 16u + uint32_t(DeadlineThirds / 3));
  DeadlineThirds %= 3;
}

// Each frame's deadline is one step after the previous frame's deadline,
// however long drawing and presenting took, so a machine that gets a frame
// to the screen within a sixtieth of a second holds 60 frames per second and
// none runs faster. A late frame goes straight on and the next ones catch
// up; one more than StallMillis late (loading, a screenshot, a stall) starts
// the steps afresh from now instead of rushing to make up the time, as does
// a deadline further ahead than one step (a clock that jumped). Clock values
// are compared only by difference, so the wrap of the millisecond count
// cannot stall the wait.
static void Pace() {
  StepDeadline();
  int start = Millisecs();
  int wait = ClockDiff(FrameDeadline, start);
  if (wait < -StallMillis || wait > 17) {
    FrameDeadline = start;
    DeadlineThirds = 0;
  }
  // Whole sleeps to just short of the deadline, then single milliseconds.
  while ((wait = ClockDiff(FrameDeadline, Millisecs())) > 0) SleepMs(wait > 2 ? wait - 1 : 1);
  FrameWaitMillis = ClockDiff(Millisecs(), start);
}

// New messages show black on yellow for a second, then white on black; each
// line sits 14 pixels above the older one and goes after 180 frames.
static void DrawMessageLog() {
  SetDrawScale(1);
  SetFont(FontTable[FONT_SMALL]);
  int y = VirtH - 16;
  for (auto it = MessageList.begin(); it != MessageList.end();) {
    ment& m = *it;
    m.tick++;
    bool fresh = m.tick < 60;
    SetDrawColour(fresh ? 255 : 0, fresh ? 255 : 0, 0, 0.7f);
    std::string shown = CutToWidth(m.txt, VirtW);  // a long message ends in "..." at the window's edge
    DrawRect(0, float(y), float(TextWidth(shown)), float(FontHeight()));
    int shade = fresh ? 0 : 255;
    SetDrawColour(shade, shade, shade, 1);
    DrawTextAligned(0, y, shown, 0, 0);
    y -= 14;
    it = (m.tick == 180) ? MessageList.erase(it) : std::next(it);
  }
}

static void PresentIfShown() {
  if (!FrameShown()) return;
  Flip(0);
  FramesPresented++;
}

static void MeasureFrame() {
  FrameMillis = ClockDiff(Millisecs(), FrameStartMillis);
  if (FrameMillis > 0) FpsAverage = (1000 / FrameMillis + 2 * FpsAverage) / 3;
  FpsShown = FpsAverage;
  FrameStartMillis = Millisecs();
  FrameParity = 1 - FrameParity;
  FramesEnded++;
}

// The one pump of the frame, as late in it as it can be, so that what came
// while the frame was paced and presented counts for the next one. The
// pointer is captured again to match the presses the pump brought, and a
// joystick plugged in or out is taken into the tables.
static void PumpInput() {
  PollEvents();
  PanelOpenAtPump = SettingsMenuOpen == 1;
  FollowJoysticks();
  MouseX = int(PointerX());
  MouseY = int(PointerY());
}

// Alt+Return: the window to full screen or back. The settings follow what
// the display then does, not what was asked.
static void ToggleFullScreen() {
  SetFullScreen(!DisplayFullScreen());
  Settings[SETTING_FULLSCREEN] = DisplayFullScreen() ? 1 : 0;
  RunHook(FrameHook.settingsChanged);
}

// What came while the settings panel was open was the panel's, and goes
// when it shuts (by Tab, Escape or Apply), before the next pump: a press
// that arrives as it slides away is the screen's (a Tab opens it again).
// The pump, not the frame's start, says what was open: a frame that held the
// screen under the panel has pumped many times before it ends, the last
// time with the panel already shut and sliding.
static void ForgetPanelInputIfShut() {
  if (!PanelOpenAtPump || SettingsMenuOpen == 1) return;
  ForgetInput();
  PanelOpenAtPump = false;  // what is left in hand is nobody's
}

// Keys the frame end takes for itself as soon as they arrive, so the screen
// never sees them: Escape only closes the open help, or else the open
// settings panel (on the title it would quit the program), and Alt+Return switches full screen (in name
// entry Return would confirm the name).
static void TakeFrameKeys() {
  CloseHelpOnEscape();
  if (SettingsMenuOpen == 1 && KeyDown(VK_ESCAPE)) {
    SettingsMenuOpen = 0;
    ForgetPanelInputIfShut();  // Escape among it
    RunHook(FrameHook.settingsChanged);
  }
  if ((KeyDown(VK_LMENU) || KeyDown(VK_RMENU)) && KeyDown(VK_RETURN)) {
    TakeKey(VK_RETURN);
    ToggleFullScreen();
  }
}

// A termination signal is acted on here, at the end of a frame, where the
// whole program may run: the closing sequence saves everything first.
static void QuitIfAsked() {
  bool altF4 = KeyDown(VK_F4) && (KeyDown(VK_LMENU) || KeyDown(VK_RMENU));
  bool limitReached = FrameLimit > 0 && FramesEnded >= FrameLimit;
  if (altF4 || CloseRequested() || limitReached || TerminationSignal() != 0) RunHook(FrameHook.shutDown);
}

// The screen as it drew itself, without the frame end's overlays.
static void KeepGifFrame() {
  if (FrameShown()) CaptureGifFrame();
  ReportGifSave();
}

// A renderer that draws in threads of its own (llvmpipe) finishes the game's
// picture here, before the wait for the deadline, on every shown frame:
// keeping a GIF frame reads the window back, which makes it finish here one
// frame in four, and a frame finished after the wait presents late by its
// drawing time, so frames that differ in this judder (17 and 42 ms at 30 fps).
static void FinishShownFrame() {
  if (FrameShown()) FinishDrawing();
}

int EndFrame(int /*targetFps*/, int /*spare*/, int showPointer) {
  if (!ScreenHeld) RunHook(FrameHook.drawPopups);
  KeepGifFrame();
  FinishShownFrame();
  ToggleSettingsOnTab();
  HoldScreenUnderPanel(showPointer);
  HoldScreenUnderHelp(showPointer);
  CollectOnOddFrames();
  int pauseResult = ScreenshotAndPauseKeys();
  MuteKey();
  RunHook(FrameHook.runSettingsPanel);
  DrawKeyHelp();
  StatsOverlay();
  DrawPointer(showPointer);
  CaptureMouse();
  Pace();
  RunHook(FrameHook.advanceMusic);
  DrawMessageLog();
  PresentIfShown();
  MeasureFrame();
  ForgetPanelInputIfShut();
  PumpInput();
  TakeFrameKeys();
  LogFiguresEachMinute();
  QuitIfAsked();
  return pauseResult;
}
