#!/usr/bin/env bash
# A whole scripted session on the virtual clock: Hard is picked on the title
# screen and a game started, the ball is left to bounce until it meets its
# own ghost, the player types a name, the record lands in scores.dat, and
# Escape on the title screen ends the program.
source "$(dirname "$0")/common.bash"
{
  echo "10000 key UP"   # Easy wraps round to Hard
  echo "10500 key Z"    # start
  # Hard attempts last five seconds; the ghost is met soon after the first.
  for t in $(seq 25000 100 25700); do echo "$t key BACK"; done
  echo "26000 text TESTER"
  echo "27000 key RETURN"
  echo "30000 key ESCAPE"
} > game.txt
"$PLIMBO" --headless --script game.txt || fail "exit code $?"
head -1 Files/248/scores.dat | tr -d "\r" | grep -q "^[0-9]*|TESTER|0|[0-9]*|0|2|0|0$" ||
  fail "no Hard record for TESTER: $(head -1 Files/248/scores.dat)"
echo "ok: $(head -1 Files/248/scores.dat)"
