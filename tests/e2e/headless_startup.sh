#!/usr/bin/env bash
# A headless start-up on the virtual clock: finishes in well under a second,
# writes the start-up log and the settings file, leaves no crash marker.
source "$(dirname "$0")/common.bash"
start=$(date +%s%N)
"$PLIMBO" --headless --frames 60 || fail "exit code $?"
ms=$(( ($(date +%s%N) - start) / 1000000 ))
echo "headless start-up took $ms ms"
grep -q "^Morvane's Tessaloop Engine" Files/Debug.txt || fail "no log header"
tail -1 Files/Debug.txt | grep -q "Play again, soon!!" || fail "log not closed"
[ -f Files/Setup.ini ] || fail "no Setup.ini"
[ ! -e Files/248/crash.dat ] || fail "crash marker left behind"
echo "ok"
