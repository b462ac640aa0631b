#!/usr/bin/env bash
# A real window under Xvfb: the loading screen shows the stripe background
# (not black), the start-up log is written, and the program ends cleanly.
source "$(dirname "$0")/common.bash"
command -v Xvfb >/dev/null || { echo "Xvfb missing"; exit 1; }
start_xvfb
"$PLIMBO" > run.log 2>&1 &
pid=$!
# Wait for the window, then look at it during the loading hold.
for _ in $(seq 100); do xdotool search --name "Plimbo Direr" >/dev/null 2>&1 && break; sleep 0.05; done
sleep 0.8
b=$(screen_brightness shot.png)
echo "screen brightness $b"
awk -v b="$b" 'BEGIN { exit !(b > 0.02) }' || fail "the screen is black"
wait $pid || fail "exit code $?"
grep -q "Finished Loading" Files/Debug.txt || fail "log incomplete"
tail -1 Files/Debug.txt | grep -q "Play again, soon!!" || fail "log not closed"
echo "ok"
