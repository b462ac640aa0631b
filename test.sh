#!/usr/bin/env bash
# Set up everything that is missing, build with AddressSanitizer and
# UndefinedBehaviorSanitizer (warnings are errors), and run every test.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/setup.sh" build-test -DCMAKE_BUILD_TYPE=Debug -DPLIMBO_SANITIZE=ON -DPLIMBO_WERROR=ON
cd "$root/build-test"
ctest --output-on-failure -j"$(nproc)" "$@"
