#!/usr/bin/env bash
# common.bash — shared by the end-to-end scripts: a portable copy of the
# program beside a scratch copy of its data folder, to run in, and a private
# X server. The program finds its data beside itself, wherever it is started.
set -euo pipefail
BUILD=$(pwd)
WORK=$(mktemp -d /tmp/plimbo_e2e.XXXXXX)
trap 'kill ${XVFB_PID:-} 2>/dev/null || true; rm -rf "$WORK"' EXIT
cp "$(readlink -f "$1")" "$WORK/plimbo"
PLIMBO=$WORK/plimbo
cp -r "$BUILD/Files" "$WORK/Files"
rm -f "$WORK/Files/Setup.ini" "$WORK/Files/Debug.txt" "$WORK/Files/248/scores.dat"
cd "$WORK"

fail() { echo "FAIL: $*"; exit 1; }

start_xvfb() {
  for n in $(seq 90 120); do
    [ -e /tmp/.X11-unix/X$n ] && continue
    Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=:$n
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  done
  fail "could not start Xvfb"
}

# How much colour the whole screen shows: the sum of the three channel
# means, 0 for a black screen (the game's blues are dark in grey terms).
screen_brightness() {
  import -window root "$1"
  convert "$1" -format "%[fx:mean.r+mean.g+mean.b]" info:
}

# Under the sanitizers Mesa's software driver stays loaded for the whole run:
# SDL unloads it when the window closes, and what a library that is gone
# still holds can be neither freed nor named in tests/lsan.supp. Prints what
# LD_PRELOAD needs for that (nothing for an unsanitized build).
gl_preload() {
  local asan driver
  asan=$(ldd "$PLIMBO" | awk '/libasan/ {print $3}')
  driver=$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -1 || true)
  [[ -n "$asan" && -n "$driver" ]] && echo "$asan:$driver" || true
}

wait_for() {  # wait_for <seconds> <command...>: polls until the command succeeds
  local limit=$1; shift
  for _ in $(seq $((limit * 20))); do "$@" && return 0; sleep 0.05; done
  return 1
}
loaded() { grep -qs "Finished Loading" Files/Debug.txt; }
