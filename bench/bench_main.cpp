// bench_main.cpp — the one main() of plimbo_bench; each bench/*.cpp only
// registers its benchmarks.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
