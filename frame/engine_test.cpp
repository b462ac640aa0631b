// engine_test.cpp — the sprite-budget speed test. Until it measures, the
// budgets keep their start-up values and the target stays at 60.
#include "frame/engine_test.h"

int TargetFps = 60;

void RunEngineTest(int target, int /*spriteScale*/) { TargetFps = target; }
