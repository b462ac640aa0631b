#!/usr/bin/env bash
# Recordings: a headless session (a game on Hard until the ghost, a name, the
# game watched again from the title's detail box, quitting) is recorded, and
# its recording played back in a fresh copy of the same folder must leave
# the same scores.dat, Debug.txt and kept recording, record itself again
# line for line, and end the watched game as the game itself ended. A
# recording of another version is not played.
source "$(dirname "$0")/common.bash"
{
  echo "10000 key UP"   # Easy wraps round to Hard
  echo "10500 key Z"
  echo "26000 text REPLAYER"
  echo "27000 key RETURN"
  echo "29000 mousemove 1100 530"  # the newest game's row (virtual units): pin it
  echo "29200 mousedown 1"
  echo "29300 mouseup 1"
  echo "29500 mousemove 1244 506"  # the detail box's Watch button
  echo "29700 mousedown 1"
  echo "29800 mouseup 1"
  echo "60000 key ESCAPE"
} > session.txt
cp -r Files start
PLIMBO_DEBUGLOG=first.log "$PLIMBO" --headless --script session.txt --record session.rec || fail "exit code $?"
grep "^Game over" first.log > first.over || true
[ "$(wc -l < first.over)" = 2 ] || fail "expected the game and its replay to end: $(cat first.over)"
[ "$(sed -n 1p first.over)" = "$(sed -n 2p first.over)" ] || fail "the watched game ended otherwise: $(cat first.over)"
ls Files/248/replays/*.rec > /dev/null || fail "no recording kept beside scores.dat"

mv Files first && cp -r start Files
PLIMBO_DEBUGLOG=second.log "$PLIMBO" --headless --script session.rec --record again.rec || fail "replay exit code $?"
for f in 248/scores.dat Debug.txt 248/replays; do
  diff -r "first/$f" "Files/$f" > /dev/null || fail "the replay's $f differs"
done
cmp -s session.rec again.rec || fail "the replay recorded another session: $(diff session.rec again.rec | head -5)"
diff <(grep "^Game over" second.log) first.over > /dev/null || fail "the replay's games ended otherwise"

sed '1s/^recording [^ ]*/recording 0.0.1/' session.rec > other.rec
if "$PLIMBO" --headless --script other.rec 2> refused.txt; then fail "another version's recording was played"; fi
grep -q "made by another version" refused.txt || fail "no reason given: $(cat refused.txt)"
echo "ok: $(sed -n 1p first.over), $(wc -l < session.rec) lines replayed"
