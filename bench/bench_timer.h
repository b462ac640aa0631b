// bench_timer.h — what a benchmark's iterations really cost. Google
// Benchmark's CPU column counts only the calling thread, but llvmpipe
// renders in threads of its own, and a renderer may still be drawing when
// the draw calls return. So each iteration reads back one pixel (the
// renderer must then finish) before the clock stops, the wall time is
// reported as the iteration's time, and the CPU time of every thread of the
// process is reported beside it as cpu_ms per item.
#pragma once

#include <benchmark/benchmark.h>
#include <time.h>

#include <chrono>

#include "media/media.h"

class ProcessTimer {
 public:
  explicit ProcessTimer(benchmark::State& state) : state_(state) {}
  void Start() {
    wallStart_ = std::chrono::steady_clock::now();
    cpuStart_ = ProcessCpuSeconds();
  }
  // Waits for the renderer, then books the iteration.
  void Stop() {
    if (DisplayOpen()) ReadBackPixel(0, 0);
    cpu_ += ProcessCpuSeconds() - cpuStart_;
    state_.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart_).count());
  }
  // cpu_ms: process CPU per item (all threads), in milliseconds.
  void Report(double itemsPerIteration) {
    double items = double(state_.iterations()) * itemsPerIteration;
    if (items > 0) state_.counters["cpu_ms"] = cpu_ * 1000.0 / items;
  }

 private:
  static double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
  }
  benchmark::State& state_;
  std::chrono::steady_clock::time_point wallStart_;
  double cpuStart_ = 0, cpu_ = 0;
};
