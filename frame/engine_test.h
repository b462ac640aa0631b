// engine_test.h — measures how many sprites this machine draws per frame at
// the target rate and sizes the sprite budgets from it.
#pragma once

#include <vector>

extern int TargetFps;  // every screen passes it to EndFrame

void RunEngineTest(int target, int spriteScale);

// Budgets from the best sprite count that kept the target, logged, then
// raised to the minimums; a weak result switches on frame skipping at 30 fps.
void SizeSpriteBudgets(int best);

// The frame rate a step's frames allow: 1000 over the second-quickest of
// their working times in milliseconds.
int StepFrameRate(std::vector<int> workMillis);
