#!/usr/bin/env bash
# Set up everything that is missing, build with AddressSanitizer and
# UndefinedBehaviorSanitizer (warnings are errors), and run every test; then
# build the fuzz targets with clang (build-fuzz/) and give each a short,
# repeatable pass (a fixed number of inputs from a fixed seed, at most 30
# seconds) from its seeds and kept findings. Extra arguments go to ctest and
# skip the fuzzing.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/setup.sh" build-test -DCMAKE_BUILD_TYPE=Debug -DPLIMBO_SANITIZE=ON -DPLIMBO_WERROR=ON
cd "$root/build-test"
ctest --output-on-failure -j"$(nproc)" "$@"
if (($# == 0)); then
  rm -rf "$root/build-fuzz/corpus"
  PLIMBO_FUZZ_CORPUS="$root/build-fuzz/corpus" PLIMBO_FUZZ_JOBS="$(nproc)" PLIMBO_FUZZ_FIXED=1 \
    "$root/scripts/fuzz.sh" 30
fi
