// gif_bench.cpp — what keeping GIF frames costs a frame: the title's
// full-screen bands at 800 x 600 offered to the capture once per frame as the frame
// end does, 60 frames a second on the virtual clock (a frame is kept every
// 66 ms, so every fourth), against the same frames not offered.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench/bench_timer.h"
#include "frame/common_media.h"
#include "frame/draw.h"
#include "media/media.h"

namespace {

// 60 frames per iteration; cpu_ms per frame, all threads.
void OfferFrames(benchmark::State& state, bool headless, bool capture) {
  StartMedia({headless, true});
  if (!OpenDisplay(800, 600, 0, 60)) {
    state.SkipWithError("no display");
    StopMedia();
    return;
  }
  state.SetLabel(RendererName());
  SetVirtualResolution(1280, 960);
  ScreenW = 800, ScreenH = 600;
  ProcessTimer timer(state);
  for (auto _ : state) {
    timer.Start();
    for (int f = 0; f < 60; f++) {
      BeginFrame(1);
      DrawStripeBackground();
      if (capture) CaptureGifFrame();
      Flip(0);  // every frame is rendered and shown, as in the game
      SleepMs(f % 3 == 0 ? 16 : 17);
    }
    timer.Stop();
  }
  timer.Report(60);
  state.counters["kept"] = GifFramesHeld();
  StopMedia();
}

void BM_GifCaptureSoftware(benchmark::State& state) { OfferFrames(state, true, state.range(0) != 0); }
void BM_GifCaptureOpenGL(benchmark::State& state) {
  if (!getenv("DISPLAY")) return state.SkipWithError("no DISPLAY (run under xvfb-run -a)");
  OfferFrames(state, false, state.range(0) != 0);
}

BENCHMARK(BM_GifCaptureSoftware)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10)->UseManualTime();
BENCHMARK(BM_GifCaptureOpenGL)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10)->UseManualTime();

}  // namespace
