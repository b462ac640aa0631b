// frame_end.h — the end of every frame: hot keys, overlays, message log,
// mouse capture, pacing to 60 frames per second, music and presenting.
#pragma once

#include <list>
#include <string>

// One message-log line.
struct ment {
  int tick = 0;
  std::string txt;
  int c = 0;
};

extern std::list<ment> MessageList;

extern int FrameStartMillis;  // the clock at the end of the last frame
extern int FrameDeadline;     // the clock value the frame being ended waits for
extern int FrameWaitMillis;   // how long the last frame waited for its deadline
extern int FrameMillis;       // the last frame, end to end
extern int FpsAverage;
extern int FpsShown;
extern int FrameParity;
extern int GcCollected;
extern int StatsOverlayOn;
extern int SettingsMenuOpen;
// Where the settings panel hangs: -300 closed, 20 fully open. The panel
// slides it; the screens under it and the frame end read it.
extern int PanelY;
extern int PauseState;  // 0 no pausing, 1 pausing allowed, 2 pause menu open
extern int MouseX, MouseY;
// Presses of mouse buttons 1 and 2 not yet read by the settings panel: they
// add up until it has looked at them, so no click is ever overwritten.
extern int MouseHitLeft, MouseHitRight;

// Frames presented so far (a slow system presents every other frame).
extern int FramesPresented;

// Frames ended so far, and an optional limit after which the program closes
// down as if the window had been closed (0 = no limit; for scripted runs).
extern int FramesEnded;
extern int FrameLimit;

// What the frame end runs for the layers above it. Start-up connects them
// (ConnectFrameHooks in app/startup.cpp); an empty hook is skipped, so a
// test of a lower layer runs frames without the layers above.
struct FrameHooks {
  void (*drawPopups)();        // the floating score numbers
  void (*settingsChanged)();   // Tab or full screen changed them: write the settings file
  void (*runSettingsPanel)();  // draws the panel and works its widgets
  void (*advanceMusic)();      // one step of the music sequencer
  void (*shutDown)();          // the closing sequence; does not return
};
extern FrameHooks FrameHook;

// Returns the pause menu's result when it ran during this call (1 continue,
// 99 quit), else 0.
int EndFrame(int targetFps, int spare, int showPointer);
void AddMessage(const std::string& text, int code);

// The frame figures, the message log, the panel and pause flags, the sprite
// budgets and the frame-rate target back to their start (tests; the hooks
// stay).
void ResetFrameState();
