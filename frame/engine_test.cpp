// engine_test.cpp — the sprite-budget speed test. Over a visible background
// it draws more and more invisible sprites per frame, eight frames a step,
// until the frame rate drops below the target, and sizes the per-frame
// sprite budgets from the last count that still kept it.
//
// A step's frame rate is what its frames' cost allows, not what the overlay
// shows: the pacing holds the shown rate at 60 at best (its truncating
// average sits at 58 or 59), and one hiccup of a busy machine drags that
// average down for several frames. So each frame's working time (from the
// end of the frame before to the end of this one, presenting included,
// without the wait for the deadline) is measured, and the step's rate is
// 1000 over the second-quickest of its eight frames: what the machine does
// when nothing else wants it. On a shared two-core machine drawing through a
// software OpenGL, the median swung a verdict between 1000 and 2500 sprites
// from one start to the next; the second-quickest frame barely moves, and
// still ignores a single freak.
#include "frame/engine_test.h"

#include <algorithm>
#include <string>

#include "frame/common_media.h"
#include "frame/draw.h"
#include "frame/frame_end.h"
#include "frame/settings_table.h"
#include "media/media.h"

int TargetFps = 60;

// Returns the frame's working time in milliseconds.
static int DrawTestFrame(int n, int spriteScale) {
  BeginFrame(1);
  DrawStripeBackground();
  SetDrawScale(1.5f);
  DrawImage(LogoImage, VirtW * 0.3f, VirtH * 0.3f, 0);
  DrawImage(CommunityLogoImage, VirtW * 0.7f, VirtH * 0.7f, 0);
  SetDrawScale(1);
  // Fully transparent and unbudgeted: they cost drawing time, nothing else.
  // A headless run runs on the virtual clock, which never sees that time, so
  // there the draws would only slow the run down; the random sequence stays.
  bool measure = !MediaHeadless();
  for (int i = 0; i <= n; i++) {
    SetDrawRotation(float(RandomInt(1, 360)));
    SetDrawColour(0, 0, 0, 0);
    SetDrawScale(float(spriteScale));
    int x = RandomInt(1, VirtW), y = RandomInt(1, VirtH);
    if (measure) DrawImage(IconStripCrisp, float(x), float(y), 0);
  }
  EndFrame(250, 0, 0);
  return FrameMillis - FrameWaitMillis;
}

// Frames per second from the second-quickest working time; a frame too
// quick for the millisecond clock counts as a thousand.
int StepFrameRate(std::vector<int> workMillis) {
  if (workMillis.empty()) return 0;
  std::sort(workMillis.begin(), workMillis.end());
  int quick = workMillis[std::min<size_t>(1, workMillis.size() - 1)];
  return quick > 1 ? 1000 / quick : 1000;
}

void SizeSpriteBudgets(int best) {
  LogLine("Test Complete");
  SpriteBudget[SPRITE_IMAGES] = int(best * 0.4);
  SpriteBudget[SPRITE_GLOW] = int(best * 0.4);
  SpriteBudget[SPRITE_PARTICLES] = int(best * 0.2);
  LogLine("");
  LogLine("Engine Test Results");
  LogLine("");
  LogLine("\tMaximum Sprites Allowed for " + std::to_string(TargetFps) + " Frames Per Second");
  LogLine("\tMain sprites : " + std::to_string(SpriteBudget[SPRITE_IMAGES]));
  LogLine("\tGlowy Sprites : " + std::to_string(SpriteBudget[SPRITE_GLOW]));
  LogLine("\tParticles : " + std::to_string(SpriteBudget[SPRITE_PARTICLES]));
  LogLine("");
  if (SpriteBudget[SPRITE_IMAGES] < 1000) {
    SpriteBudget[SPRITE_IMAGES] = 1000;
    if (Settings[SETTING_SLOW_SYSTEM] == 0) Settings[SETTING_SLOW_BY_TEST] = 1;
    TargetFps = 30;
    Settings[SETTING_SLOW_SYSTEM] = 1;
  }
  if (SpriteBudget[SPRITE_GLOW] < 500) SpriteBudget[SPRITE_GLOW] = 500;
  if (SpriteBudget[SPRITE_PARTICLES] < 250) SpriteBudget[SPRITE_PARTICLES] = 250;
  if (TargetFps == 30) LogLine("Settings Overwritten, Set to Default Lower Limits at 30fps.");
  LogLine("");
}

void RunEngineTest(int target, int spriteScale) {
  StatsOverlayOn = 0;
  // Frame skipping that an earlier test switched on is measured afresh, so a
  // start that does better (a quieter machine, another renderer) draws every
  // frame again; frame skipping the player chose is kept.
  if (Settings[SETTING_SLOW_BY_TEST] == 1) Settings[SETTING_SLOW_SYSTEM] = 0;
  Settings[SETTING_SLOW_BY_TEST] = 0;
  if (Settings[SETTING_SLOW_SYSTEM] == 1) target = 30;
  TargetFps = target;
  SpriteBudget[SPRITE_IMAGES] = 500;
  SpriteBudget[SPRITE_GLOW] = 500;
  SpriteBudget[SPRITE_PARTICLES] = 250;
  int best = 0;
  LogLine("Starting Engine Test");
  LogLine("Aiming for " + std::to_string(target) + "," + std::to_string(spriteScale));

  for (int n = 500; n <= 20000; n += 500) {
    std::vector<int> work;
    // Its timings decide how many frames it runs, so a replay takes them back.
    for (int frame = 0; frame < 8; frame++) work.push_back(RecordedNumber("work", DrawTestFrame(n, spriteScale)));
    int rate = StepFrameRate(work);
    DebugLog("Engine test: " + std::to_string(n) + " sprites, " + std::to_string(rate) + " frames per second");
    // The first step only warms up.
    if (n > 500 && rate >= target - 2) best = n;
    if (n > 500 && rate <= target - 2) break;
  }
  SizeSpriteBudgets(best);
  StatsOverlayOn = 0;
}
