// game_bench.cpp — the cost of one game frame (logic and drawing) at an
// 800 x 600 window: during play, during the spinning attempt pause and in
// the pause menu, with the software renderer headless and, when a display
// is there, with OpenGL.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "app/assets.h"
#include "app/startup.h"
#include "bench/bench_timer.h"
#include "controls/controls.h"
#include "frame/common_media.h"
#include "frame/draw.h"
#include "frame/folders.h"
#include "frame/frame_end.h"
#include "frame/settings_table.h"
#include "game/game.h"
#include "game/rules.h"
#include "media/media.h"

namespace {

// Opens the display and loads the generated artwork from the build folder's
// data folder; returns false when the display cannot be had.
bool OpenGameDisplay(bool headless, int renderer) {
  StartMedia({headless, true});
  ChooseRenderer(renderer);
  if (!OpenDisplay(800, 600, 0, 60)) return false;
  SetVirtualResolution(1280, 960);
  Settings[11] = Settings[12] = 50;
  SpriteBudget[1] = SpriteBudget[2] = SpriteBudget[3] = 50000;
  SetDefaultControls();
  UseFolders("Files/");
  ConnectFrameHooks();
  LoadCommonAssets();  // the fonts: the pause menu's spray is text
  LoadGameImages();
  return true;
}

// A game under way with one ghost's worth of history; false (the benchmark
// skipped) when the display cannot be had.
bool StartBenchGame(benchmark::State& state, bool headless, int renderer) {
  if (!OpenGameDisplay(headless, renderer)) {
    state.SkipWithError("no display");
    StopMedia();
    return false;
  }
  state.SetLabel(RendererName());
  StartGame();
  for (int f = 0; f < 120; f++) GameFrame();
  return true;
}

// 100 frames per iteration (cpu_ms: per frame, all threads); paused holds the game in the attempt
// pause (the background spins and the giant ball swells).
void RunFrames(benchmark::State& state, bool headless, int renderer, bool paused) {
  if (!StartBenchGame(state, headless, renderer)) return;
  ProcessTimer timer(state);
  for (auto _ : state) {
    timer.Start();
    for (int f = 0; f < 100; f++) {
      if (paused && AttemptFrame >= 0) AttemptFrame = -30;
      GameOverCode = 0;
      GameFrame();
    }
    timer.Stop();
  }
  timer.Report(100);
  StopMedia();
}

// The pause menu over a game: Escape opens it and, about 100 frames later,
// Escape closes it again, all inside one game frame (cpu_ms: per frame).
void RunPauseMenuFrames(benchmark::State& state, bool headless) {
  if (!StartBenchGame(state, headless, RENDERER_OPENGL)) return;
  PauseState = 1;
  ProcessTimer timer(state);
  int frames = 0;
  for (auto _ : state) {
    int now = Millisecs();
    ScriptKey(now + 1, VK_ESCAPE, true);
    ScriptKey(now + 40, VK_ESCAPE, false);
    ScriptKey(now + 40 + 100 * 1000 / 60, VK_ESCAPE, true);
    ScriptKey(now + 80 + 100 * 1000 / 60, VK_ESCAPE, false);
    int before = FramesEnded;
    timer.Start();
    GameOverCode = 0;
    while (FramesEnded - before < 100) GameFrame();
    timer.Stop();
    frames += FramesEnded - before;
  }
  timer.Report(double(frames) / double(state.iterations()));
  StopMedia();
}

// Pacing with drawing that costs next to nothing: empty frames ended on the
// real clock (a headless display presents in well under a millisecond).
// An iteration is 120 frames: 2000 ms of wall time when the pacing is right.
void BM_PacedFramesDrawingFree(benchmark::State& state) {
  StartMedia({true, false});
  if (!OpenDisplay(800, 600, 0, 60)) {
    state.SkipWithError("no display");
    StopMedia();
    return;
  }
  SetVirtualResolution(1280, 960);
  for (int f = 0; f < 10; f++) BeginFrame(1), EndFrame(60, 0, 0);  // settles the deadline
  ProcessTimer timer(state);
  for (auto _ : state) {
    timer.Start();
    for (int f = 0; f < 120; f++) BeginFrame(1), EndFrame(60, 0, 0);
    timer.Stop();
  }
  timer.Report(120);
  StopMedia();
}

void BM_GameFramePlaySoftware(benchmark::State& state) { RunFrames(state, true, RENDERER_OPENGL, false); }
void BM_GameFramePauseSoftware(benchmark::State& state) { RunFrames(state, true, RENDERER_OPENGL, true); }
void BM_GameFramePlayOpenGL(benchmark::State& state) {
  if (!getenv("DISPLAY")) return state.SkipWithError("no DISPLAY (run under xvfb-run -a)");
  RunFrames(state, false, RENDERER_OPENGL, false);
}
void BM_GameFramePauseOpenGL(benchmark::State& state) {
  if (!getenv("DISPLAY")) return state.SkipWithError("no DISPLAY (run under xvfb-run -a)");
  RunFrames(state, false, RENDERER_OPENGL, true);
}

void BM_PauseMenuSoftware(benchmark::State& state) { RunPauseMenuFrames(state, true); }
void BM_PauseMenuOpenGL(benchmark::State& state) {
  if (!getenv("DISPLAY")) return state.SkipWithError("no DISPLAY (run under xvfb-run -a)");
  RunPauseMenuFrames(state, false);
}

BENCHMARK(BM_GameFramePlaySoftware)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_GameFramePauseSoftware)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_GameFramePlayOpenGL)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_GameFramePauseOpenGL)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_PacedFramesDrawingFree)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_PauseMenuSoftware)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_PauseMenuOpenGL)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

}  // namespace
