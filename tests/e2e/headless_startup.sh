#!/usr/bin/env bash
# A headless run on the virtual clock: loading, the engine test, the title
# screen, and Escape to quit. It finishes quickly, writes the start-up log,
# the settings and the scores, and leaves no crash marker behind.
source "$(dirname "$0")/common.bash"
cat > quit.txt <<'SCRIPT'
# the title screen is up well before this
12000 key ESCAPE
SCRIPT
start=$(date +%s%N)
"$PLIMBO" --headless --script quit.txt || fail "exit code $?"
ms=$(( ($(date +%s%N) - start) / 1000000 ))
echo "headless run took $ms ms"
grep -q "^Morvane's Tessaloop Engine" Files/Debug.txt || fail "no log header"
grep -q "Engine Test Results" Files/Debug.txt || fail "no engine test"
tail -1 Files/Debug.txt | grep -q "Play again, soon!!" || fail "log not closed"
[ -f Files/Setup.ini ] || fail "no Setup.ini"
[ -f Files/248/scores.dat ] || fail "no scores.dat"
[ ! -e Files/248/crash.dat ] || fail "crash marker left behind"

# A quit while the engine test still runs (the frame limit, or the window's
# close button) is a normal quit too: the marker must not survive it.
for quit in "--frames 3" "--frames 40" "--script close.txt"; do
  echo "500 close" > close.txt
  "$PLIMBO" --headless $quit || fail "$quit: exit code $?"
  [ ! -e Files/248/crash.dat ] || fail "$quit: crash marker left behind"
done
echo "ok"
