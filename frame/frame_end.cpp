// frame_end.cpp — the one routine that ends every frame on every screen:
// global hot keys, overlays, the message log, mouse capture, pacing to 60
// frames per second, music, presenting and the frame-rate figures.
#include "frame/frame_end.h"

#include "app/assets.h"
#include "app/settings.h"
#include "app/settings_panel.h"
#include "app/shutdown.h"
#include "frame/draw.h"
#include "frame/pause.h"
#include "frame/screenshot.h"
#include "media/media.h"
#include "music/music.h"
#include "scores/popups.h"

std::list<ment> MessageList;

int FrameStartMillis;
int FrameMillis;
int FpsAverage;
int FpsShown;
int FrameParity;
int GcCollected;
int StatsOverlayOn = 1;
int SettingsMenuOpen;
int PauseState;
int MouseX, MouseY;
int MouseHitLeft, MouseHitRight;
int FramesPresented;
int FramesEnded;
int FrameLimit;

void AddMessage(const std::string& text, int code) { MessageList.push_back(ment{0, text, code}); }

static void DrawStatsOverlay() {
  SetFont(FontTable[1]);
  DrawTextAligned(2, 2, std::to_string(FpsShown), 0, 0);
  SetFont(FontTable[2]);
  auto budgetLine = [](const char* label, int category) {
    return std::string(label) + std::to_string(SpritesDrawn[category]) + "/" +
           std::to_string(SpriteBudget[category]);
  };
  DrawTextAligned(2, 40, "Collection : " + std::to_string(GcCollected), 0, 0);
  DrawTextAligned(2, 60, "Used Memory : " + std::to_string(MemoryInUse()), 0, 0);
  DrawTextAligned(2, 80, budgetLine("Drawn Images : ", 1), 0, 0);
  DrawTextAligned(2, 100, budgetLine("Drawn Glow : ", 2), 0, 0);
  DrawTextAligned(2, 120, budgetLine("Drawn Particles : ", 3), 0, 0);
  DrawTextAligned(2, 150, "Hit F12 to remove this", 0, 0);
  SetDrawScale(1.5f);
}

// New messages show black on yellow for a second, then white on black; each
// line sits 14 pixels above the older one and goes after 180 frames.
static void DrawMessageLog() {
  SetDrawScale(1);
  SetFont(FontTable[3]);
  int y = VirtH - 16;
  for (auto it = MessageList.begin(); it != MessageList.end();) {
    ment& m = *it;
    m.tick++;
    bool fresh = m.tick < 60;
    SetDrawColour(fresh ? 255 : 0, fresh ? 255 : 0, 0, 0.7f);
    DrawRect(0, float(y), float(TextWidth(m.txt)), float(FontHeight()));
    int shade = fresh ? 0 : 255;
    SetDrawColour(shade, shade, shade, 1);
    DrawTextAligned(0, y, m.txt, 0, 0);
    y -= 14;
    it = (m.tick == 180) ? MessageList.erase(it) : std::next(it);
  }
}

static void Pace() {
  do {
    SleepMs(1);
  } while (Millisecs() < FrameStartMillis - 2 + 1000.0 / 60);
}

int EndFrame(int /*targetFps*/, int /*spare*/, int showPointer) {
  int pauseResult = 0;
  DrawPopups();

  if (KeyHit(VK_TAB)) {
    SettingsMenuOpen = 1 - SettingsMenuOpen;
    WriteSettingsFile();
  }
  if (FrameParity == 1) GcCollected = CollectGarbage();

  // On a slow system the hot keys wait for a shown frame, so a press made
  // during a skipped frame stays pending rather than being lost.
  if (FrameParity == 0 || Settings[7] == 0) {
    if (KeyHit(VK_F11)) TakeScreenshot();
    if (KeyDown(VK_ESCAPE) && PauseState == 1) {
      PauseState = 2;
      pauseResult = RunPauseMenu();
      PauseState = 1;
    }
  }

  RunSettingsPanel();

  ResetDrawState();
  SetDrawScale(1.5f);
  SetFont(FontTable[1]);
  if (KeyHit(VK_F12)) StatsOverlayOn = 1 - StatsOverlayOn;
  if (StatsOverlayOn == 1) DrawStatsOverlay();

  if (showPointer == 1 || SettingsMenuOpen == 1) {
    SetScale(1.5f, 1.5f);
    SetDrawColour(255, 255, 255, 1);
    DrawImage(IconStrip, PointerX() + 12, PointerY() + 12, 63);
  }

  MouseX = int(PointerX());
  MouseY = int(PointerY());
  MouseHitLeft = MouseHit(1);
  MouseHitRight = MouseHit(2);

  Pace();
  UpdateMusic();
  DrawMessageLog();
  if (FrameShown()) {
    Flip(0);
    FramesPresented++;
  }

  FrameMillis = Millisecs() - FrameStartMillis;
  if (FrameMillis > 0) FpsAverage = (1000 / FrameMillis + 2 * FpsAverage) / 3;
  FpsShown = FpsAverage;
  FrameStartMillis = Millisecs();
  FrameParity = 1 - FrameParity;
  FramesEnded++;

  bool altF4 = KeyDown(VK_F4) && (KeyDown(VK_LMENU) || KeyDown(VK_RMENU));
  if (altF4 || CloseRequested() || (FrameLimit > 0 && FramesEnded >= FrameLimit)) ShutDown();
  return pauseResult;
}
