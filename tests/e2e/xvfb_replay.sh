#!/usr/bin/env bash
# A game played in a real window under Xvfb with xdotool, on the real clock,
# then watched from the title's detail box: the watched game must end on the
# same frame with the same score, and the screenshot F11 took in the game
# must match the one the replay takes at the same frame (but for the
# "Replay" marker). Both pictures are kept in e2e-shots/ for a person to see.
source "$(dirname "$0")/common.bash"
command -v Xvfb >/dev/null || fail "Xvfb missing"
SHOTS="$BUILD/e2e-shots"
mkdir -p "$SHOTS"
start_xvfb

PLIMBO_DEBUGLOG=$WORK/debug.log LD_PRELOAD=$(gl_preload) "$PLIMBO" > run.log 2>&1 &
pid=$!

games_over() { [ "$(grep -c '^Game over' debug.log 2>/dev/null)" -ge "$1" ]; }
press() { xdotool key --delay 120 "$@"; sleep 0.3; }
click() { xdotool mousemove --window "$win" "$1" "$2"; sleep 0.3; xdotool click 1; sleep 0.5; }

wait_for 120 loaded || fail "loading did not finish: $(tail -5 run.log)"
win=$(xdotool search --name "Plimbo Direr" | head -1)
[ -n "$win" ] || fail "no window"
xdotool windowfocus --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
sleep 4
press Up                     # Hard
press z
sleep 1.5
xdotool keydown Right; sleep 0.8; xdotool keyup Right
xdotool keydown Left; sleep 0.5; xdotool keyup Left
press F11                    # the game as played, for comparing with its replay
wait_for 60 games_over 1 || fail "the game did not end: $(tail -5 run.log)"
sleep 3
press BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
xdotool type --delay 150 WATCHER
press Return
sleep 2
played=$(ls Files/*Screenshot*.png)
click 690 332                # the newest game's row (800 x 600 shows the virtual screen at 5/8)
click 777 316                # Watch
sleep 3
import -window root "$SHOTS/replay_watching.png"
wait_for 60 games_over 2 || fail "the watched game did not end: $(grep '^Game over' debug.log)"
# "Game Over" stays 1.5 seconds, and a key pressed before the title is back
# only stops the watching: Escape until the program says goodbye.
closing() { grep -qs "Closing Up" Files/Debug.txt; }
for _ in $(seq 20); do sleep 3; closing && break; press Escape; done
closing || fail "Escape on the title did not quit"
sleep 2
press a
wait_for 60 bash -c "! kill -0 $pid 2>/dev/null" || fail "the program did not end"
wait $pid || fail "exit code $?: $(tail -20 run.log)"

grep '^Game over' debug.log > over.txt
[ "$(sed -n 1p over.txt)" = "$(sed -n 2p over.txt)" ] || fail "the watched game ended otherwise: $(cat over.txt)"
ls Files/248/replays/*.rec > /dev/null || fail "no recording kept"
replayed=$(ls Files/*Screenshot*.png | grep -vF "$played" | head -1)
[ -n "$replayed" ] || fail "the replay took no screenshot"
cp "$played" "$SHOTS/replay_original_frame.png"
cp "$replayed" "$SHOTS/replay_replayed_frame.png"
# The marker's corner aside, the two frames are the same picture.
convert "$played" -fill black -draw "rectangle 700,0 800,40" a.png
convert "$replayed" -fill black -draw "rectangle 700,0 800,40" b.png
differing=$(compare -metric AE -fuzz 2% a.png b.png null: 2>&1 || true)
echo "pixels differing outside the marker: $differing"
[ "${differing%%.*}" -lt 50 ] 2>/dev/null || fail "the replay's frame differs from the game's in $differing pixels"
echo "ok: $(sed -n 1p over.txt), watched the same"
