#!/usr/bin/env bash
# fuzz.sh — builds the fuzz programs (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, in build-fuzz/) and runs each for a while.
#
# Usage: scripts/fuzz.sh [seconds] [target...]     (default 60 seconds, every target)
#
# Each run starts from the target's seeds (tests/fuzz/corpus/<target>/), its
# kept findings (tests/fuzz/regressions/<target>/) and what earlier runs
# found, kept in $PLIMBO_FUZZ_CORPUS/<target>/ (default
# ~/.cache/plimbo-direr-fuzz/), outside the repository. A crash, a broken
# promise, a leak, an input slower than 10 seconds or one needing over 2 GB
# is a finding: it lands in $PLIMBO_FUZZ_CORPUS/findings/ and the exit code
# is 1. $PLIMBO_FUZZ_JOBS targets run at a time (default 1).
#
# With PLIMBO_FUZZ_FIXED=1 (the test command's short pass) each target tries
# a fixed number of inputs from a fixed random seed, with [seconds] only as
# an upper bound, so the pass does about the same work on every machine
# (not exactly the same inputs: which inputs reach new code also depends on
# timing). Longer runs explore freely, and what they find is kept.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
[[ $# -gt 0 ]] && shift
build=$root/build-fuzz
corpus=${PLIMBO_FUZZ_CORPUS:-${XDG_CACHE_HOME:-$HOME/.cache}/plimbo-direr-fuzz}
jobs=${PLIMBO_FUZZ_JOBS:-1}
mkdir -p "$build"

# -O1 with line tables only: quicker to build (CI builds it from scratch)
# than -O2 with full debug information, and findings still name their lines.
CC=clang CXX=clang++ "$root/scripts/setup.sh" build-fuzz -DCMAKE_BUILD_TYPE=Fuzz \
  -DCMAKE_C_FLAGS_FUZZ="-O1 -gline-tables-only" -DCMAKE_CXX_FLAGS_FUZZ="-O1 -gline-tables-only" \
  -DPLIMBO_SANITIZE=ON -DPLIMBO_WERROR=ON -DPLIMBO_FUZZ=ON >"$build/build.log" 2>&1 ||
  { tail -30 "$build/build.log"; echo "fuzz.sh: the fuzz build failed (log: $build/build.log)"; exit 1; }

targets=("$@")
if ((${#targets[@]} == 0)); then
  for program in "$build"/fuzz_*; do targets+=("${program##*/fuzz_}"); done
fi
mkdir -p "$corpus/findings" "$corpus/logs"

# Inputs per target in the fixed pass: about ten seconds each on a 2-core
# machine running two targets at a time.
FixedRuns() {
  case $1 in
    numbers) echo 1000000 ;; fields) echo 300000 ;; png) echo 80000 ;; script) echo 50000 ;;
    song) echo 10000 ;; scores | wav) echo 7000 ;; settings) echo 5000 ;; font) echo 3000 ;;
    words) echo 60 ;; *) echo 10000 ;;
  esac
}
fixed=${PLIMBO_FUZZ_FIXED:-0}

# One target: the fuzzer's own summary becomes one line.
run() {
  local target=$1 program=$build/fuzz_$1 log=$corpus/logs/$1.log
  [[ -x $program ]] || { echo "$target: no such fuzz target"; return 1; }
  local seeds=()
  for folder in "$root/tests/fuzz/corpus/$target" "$root/tests/fuzz/regressions/$target"; do
    [[ -d $folder ]] && seeds+=("$folder")
  done
  # The fonts are the game's own, from the data folder the build makes.
  [[ $target == font ]] && seeds+=("$build/Files/Common")
  local dict=()
  [[ -f $root/tests/fuzz/dict/$target.dict ]] && dict=(-dict="$root/tests/fuzz/dict/$target.dict")
  mkdir -p "$corpus/$target"
  local limits=()
  ((fixed)) && limits=(-seed=1 -reload=0 -runs="$(FixedRuns "$target")")
  local status=0
  # Standard output and error are closed for the target (its logs would
  # bury the report); libFuzzer and the sanitizers keep their own.
  ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0 \
    "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -close_fd_mask=3 -print_final_stats=1 "${limits[@]}" \
    -artifact_prefix="$corpus/findings/$target-" "${dict[@]}" "$corpus/$target" "${seeds[@]}" >"$log" 2>&1 ||
    status=$?
  local done runs speed files
  done=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1 || true)
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  files=$(find "$corpus/$target" -type f | wc -l)
  if ((status == 0)); then
    printf '%-9s %9s runs %6s/s  %s  corpus %s files\n' "$target" "${runs:-?}" "${speed:-?}" \
      "$(grep -oE 'cov: [0-9]+ ft: [0-9]+' <<<"$done")" "$files"
  else
    echo "$target: FINDING (exit $status), log $log:"
    grep -E 'ERROR|SUMMARY|fuzz target:|Test unit written|runtime error' "$log" | head -12
  fi
  return $status
}

failed=0
if ((jobs > 1)); then
  export -f run FixedRuns
  export build corpus root seconds fixed
  printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} bash -c 'run {}' || failed=1
else
  for target in "${targets[@]}"; do run "$target" || failed=1; done
fi
((failed == 0)) || echo "fuzz.sh: findings in $corpus/findings/ (a kept one goes to tests/fuzz/regressions/<target>/)"
exit $failed
