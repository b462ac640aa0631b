// engine_test.h — measures how many sprites this machine draws per frame at
// the target rate and sizes the sprite budgets from it.
#pragma once

extern int TargetFps;

void RunEngineTest(int target, int spriteScale);
