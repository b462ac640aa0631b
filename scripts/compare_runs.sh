#!/usr/bin/env bash
# compare_runs.sh OLD_BUILD NEW_BUILD — plays the same scripted headless
# session with two builds of the game and compares what each wrote, byte for
# byte: Debug.txt, Setup.ini, scores.dat and the screenshots. For changes
# that must not change what the player gets (restructuring, speed work).
#
# The session: Hard chosen on the title screen, a game with a screenshot
# (F11) and the overlay (F12), name entry after meeting the ghost, Tab
# twice, a second screenshot. Each build runs as a portable copy beside a
# fresh copy of its own data folder, started from inside that copy (older
# builds open their files from the current folder), both at once. The date
# and time (in screenshot names and the record's stamp) may differ by the
# second the runs straddle; everything else must be the same.
set -uo pipefail
old=$(cd "$1" && pwd) new=$(cd "$2" && pwd)
work=$(mktemp -d /tmp/plimbo_compare.XXXXXX)
trap 'rm -rf "$work"' EXIT

{
  echo "10000 key UP"
  echo "10500 key Z"
  echo "12000 key F11"
  echo "14000 key F12"
  for t in $(seq 25000 100 25600); do echo "$t key BACK"; done
  echo "26000 text TESTER"
  echo "27000 key RETURN"
  echo "28000 key TAB"
  echo "28700 key TAB"
  echo "29500 key F11"
} > "$work/session.txt"

for side in old new; do
  build=${!side}
  mkdir "$work/$side"
  cp "$build/plimbo" "$work/$side/"
  cp -r "$build/Files" "$work/$side/"
  rm -f "$work/$side"/Files/{Setup.ini,Debug.txt,*.png} "$work/$side"/Files/248/{scores.dat,crash.dat}
done
for side in old new; do
  (cd "$work/$side" && ./plimbo --headless --script "$work/session.txt" --frames 2400 > run.log 2>&1) &
done
wait

# The file with its date and time blanked out.
comparable() {
  sed -E -e 's/\(Screenshot_[^)]*\)/(Screenshot_DATE)/' -e 's/^(-?[0-9]+\|[^|]*\|[^|]*\|)[0-9]+\|/\1STAMP|/' "$1"
}

differences=0
for file in Debug.txt Setup.ini 248/scores.dat; do
  if cmp -s <(comparable "$work/old/Files/$file") <(comparable "$work/new/Files/$file"); then
    echo "same: $file ($(wc -c < "$work/new/Files/$file") bytes)"
  else
    echo "DIFFERENT: $file"
    diff <(comparable "$work/old/Files/$file" | tr -d '\r') <(comparable "$work/new/Files/$file" | tr -d '\r') | head -10
    differences=$((differences + 1))
  fi
done
mapfile -t olds < <(ls "$work"/old/Files/*.png 2>/dev/null)
mapfile -t news < <(ls "$work"/new/Files/*.png 2>/dev/null)
[[ ${#olds[@]} == "${#news[@]}" ]] || { echo "DIFFERENT: ${#olds[@]} and ${#news[@]} screenshots"; differences=$((differences + 1)); }
for i in "${!news[@]}"; do
  if cmp -s "${olds[$i]:-}" "${news[$i]}"; then
    echo "same: screenshot $((i + 1)) ($(wc -c < "${news[$i]}") bytes)"
  else
    echo "DIFFERENT: screenshot $((i + 1))"
    differences=$((differences + 1))
  fi
done
exit $((differences > 0))
