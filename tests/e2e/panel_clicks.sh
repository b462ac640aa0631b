#!/usr/bin/env bash
# panel_clicks.sh — short clicks on the settings panel in a real window
# under Xvfb: twenty 50 ms clicks on the Windowed/Fullscreen row, each in its
# own opening of the panel, and each must flip the choice that Tab then
# writes to Setup.ini (a click that lands while the panel draws was once
# lost). Every step waits for what it needs (with a limit), not for a fixed
# time, so a loaded machine only makes it slower. The software renderer
# keeps the machine's OpenGL out of it.
source "$(dirname "$0")/common.bash"
command -v Xvfb >/dev/null || fail "Xvfb missing"
# errtrace: a step failing inside one of the functions below stops the script
# too, and without it set -e would end the script there without a word.
set -E
trap 'fail "stopped at line $LINENO (called from ${BASH_LINENO[*]}); $(what_the_game_saw)"' ERR
start_xvfb
printf '[Graphics]\r\nGFX Engine = DX7\r\nWidth=800\r\nHeight=600\r\n' > Files/Setup.ini
PLIMBO_FRAMELOG=$WORK/frames.log "$PLIMBO" --record "$WORK/session.rec" > run.log 2>&1 &
pid=$!

# For a failure: the game is closed, so that it writes down the input it
# took, and the last clicks and Tabs are shown with the pump that took them.
what_the_game_saw() {
  kill "$pid" 2>/dev/null && wait_for 30 test -s session.rec
  echo "$(presents) frames shown; the last input the game took:"
  tr -d '\r' < session.rec | grep -E ' (key(down|up) 9|mouse(down|up) 1|focus.*)$' | tail -8 | tr '\n' ' '
}

choice() { sed -n 's/^Fullscreen = //p' Files/Setup.ini 2>/dev/null | tr -d '\r'; }
written_since() { [ Files/Setup.ini -nt "$1" ]; }
presents() { wc -l < frames.log 2>/dev/null || echo 0; }
at_least() { (($(presents) >= $1)); }
after_presents() {  # waits until the window has shown N more frames
  wait_for 60 at_least $(($(presents) + $1))
}
tab() {  # presses Tab and waits for the settings file it writes
  touch stamp; sleep 0.02
  xdotool key --delay 50 Tab
  wait_for 30 written_since stamp
}

wait_for 120 loaded || fail "loading did not finish: $(tail -5 run.log)"
win=$(xdotool search --name "Plimbo Direr" | head -1)
[ -n "$win" ] || fail "no window"
xdotool windowfocus --sync "$win" 2>/dev/null || xdotool windowfocus "$win"

sleep 8  # the loading hold; the title screen then takes Tab

# The row sits at virtual (30, 60) of the 1280 x 960 screen, scaled into
# the window.
read -r w h < <(xdotool getwindowgeometry "$win" | awk '/Geometry/ {split($2, g, "x"); print g[1], g[2]}')
x=$((30 * w / 1280)); y=$((60 * h / 960))
took=0
for i in $(seq ${CLICKS:-20}); do
  tab || fail "click $i: Tab did not open the panel"
  before=$(choice)
  after_presents 12 || fail "click $i: the window stopped drawing"  # the panel slides down in ten frames
  xdotool mousemove --window "$win" "$x" "$y" sleep 0.1 mousedown 1 sleep 0.05 mouseup 1
  after_presents 2
  tab || fail "click $i: Tab did not close the panel"
  [ "$(choice)" != "$before" ] && took=$((took + 1))
  # Never full screen for real: put the choice back with a second click.
  if [ "$(choice)" = "True" ]; then
    tab; after_presents 12
    xdotool mousemove --window "$win" "$x" "$y" sleep 0.1 mousedown 1 sleep 0.05 mouseup 1
    after_presents 2; tab
  fi
done
echo "$took of ${CLICKS:-20} clicks took effect"
kill "$pid" 2>/dev/null || true
[ "$took" -eq "${CLICKS:-20}" ] || fail "clicks lost"
echo "ok"
