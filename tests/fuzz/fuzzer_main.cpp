// fuzzer_main.cpp — the libFuzzer entry of one fuzz target, compiled once
// per target in the clang fuzz build with PLIMBO_FUZZ_ENTRY naming it.
#ifdef PLIMBO_FUZZ_ENTRY
#include "tests/fuzz/fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return PLIMBO_FUZZ_ENTRY(data, size); }
#endif
