#!/usr/bin/env bash
# The real program in a real window under Xvfb, driven with xdotool: the
# title screen, a game on Hard, the pause menu, quitting the game, typing a
# name, and leaving through the thanks screen. Screenshots of each screen
# are kept in e2e-shots/ beside the build for a person to look at. The
# window carries the game's caption and icon.
source "$(dirname "$0")/common.bash"
command -v Xvfb >/dev/null || fail "Xvfb missing"
SHOTS="$BUILD/e2e-shots"
mkdir -p "$SHOTS"
start_xvfb

LD_PRELOAD=$(gl_preload) "$PLIMBO" > run.log 2>&1 &
pid=$!

press() { xdotool key --delay 120 "$@"; sleep 0.3; }
shot() {  # shot <name> <minimum brightness>
  local b
  b=$(screen_brightness "$SHOTS/$1.png")
  echo "$1: brightness $b"
  awk -v b="$b" -v m="$2" 'BEGIN { exit !(b > m) }' || fail "$1 looks black"
}

wait_for 120 loaded || fail "loading did not finish: $(tail -5 run.log)"
win=$(xdotool search --name "Plimbo Direr" | head -1)
[ -n "$win" ] || fail "no window"
caption() { xprop -id "$win" _NET_WM_NAME | grep -q '= "#248 : Plimbo Direr"$'; }
icon() { xprop -id "$win" _NET_WM_ICON | grep -q "Icon (128 x 128)"; }
# The window manager's properties reach the server a little after the window.
wait_for 10 caption || fail "caption: $(xprop -id "$win" _NET_WM_NAME)"
wait_for 10 icon || fail "no window icon"
xdotool windowfocus --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
sleep 4                      # the loading hold, then the title slides in
shot title 0.05

press Up                     # Easy wraps round to Hard
press z                      # start
sleep 3
shot game 0.02

xdotool keydown Escape; sleep 0.4; xdotool keyup Escape   # pause menu
sleep 1.5
shot pause 0.02
press Down                   # Quit
press space
sleep 3                      # "Game Over", the wait, then name entry
shot name_entry 0.02
press BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
xdotool type --delay 150 WINDOW
sleep 0.5
press Return
sleep 2
shot title_again 0.05
press Escape                 # quit: the thanks screen, which any key closes
sleep 2
press a
wait_for 30 bash -c "! kill -0 $pid 2>/dev/null" || fail "the program did not end"
wait $pid || fail "exit code $?: $(tail -20 run.log)"

tail -1 Files/Debug.txt | grep -q "Play again, soon!!" || fail "log not closed"
head -1 Files/248/scores.dat | tr -d "\r" | grep -q "|WINDOW|0|[0-9]*|0|2|0|1$" ||
  fail "no quit Hard record for WINDOW: $(head -1 Files/248/scores.dat)"
echo "ok: $(head -1 Files/248/scores.dat)"
