#!/usr/bin/env bash
# kill_test.sh [RUNS] [PROGRAM] — kills the game (SIGKILL) at random moments
# while it saves, RUNS times (default 200; PROGRAM defaults to build/plimbo),
# and checks after every kill that nothing the player had was lost:
#   - Setup.ini and scores.dat are the old file or a complete new one, never
#     half-written and never missing once they existed;
#   - every game that reached scores.dat in an earlier run is still there, and
#     a run that got past its name entry (it logged the screenshot taken
#     after it) has its game saved;
#   - every screenshot is a complete PNG, and none that existed is gone;
#   - temporary files left by a kill never stop a later save: a run that is
#     not killed exits with 0, saves everything and leaves none behind.
# Each run is a headless scripted session on the virtual clock: a game with
# a screenshot, quit from the pause menu, the name entered (the game is
# saved), a screenshot of the title, the settings panel opened and closed
# (Setup.ini, twice), and quitting (both saved again if changed). Seven runs
# in ten are killed at a save: a kind of file (Setup.ini, scores.dat, a
# screenshot) is picked, and the run kills itself at a random step of that
# kind's saves (kill_at_step.c, preloaded, knows the steps; a timer cannot
# hit a save of a few milliseconds on a busy machine). Two in ten are killed
# by a timer at any moment of a run; the first and last runs of a folder and
# every tenth are not killed. Every 25 runs start over in a fresh player's
# folder, so the score panel's pruning (50 games a difficulty) never removes
# a game on purpose.
set -uo pipefail
runs=${1:-200}
root=$(cd "$(dirname "$0")/.." && pwd)
program=$(readlink -f "${2:-$root/build/plimbo}")
work=$(mktemp -d /tmp/plimbo_kill.XXXXXX)
pid=
trap '[[ -n $pid ]] && kill -9 "$pid" 2>/dev/null; rm -rf "$work"' EXIT
shopt -s nullglob
player=$work/player
cc -shared -fPIC -O2 -o "$work/kill_at_step.so" "$root/scripts/kill_at_step.c" -ldl || exit 1
# A sanitizer build wants its runtime first among the libraries; the
# preloaded one only passes calls on.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0

session() {  # the name to enter
  echo "6000 key Z"        # a game...
  echo "6500 key F11"      # ...with a screenshot
  echo "7000 key ESCAPE"   # the pause menu:
  echo "7500 key DOWN"     # Quit
  echo "8000 key SPACE"
  for t in $(seq 10500 100 11600); do echo "$t key BACK"; done
  echo "11800 text $1"
  echo "12000 key RETURN"  # the game is saved
  echo "12500 key F11"     # a screenshot of the title: the game was saved before it
  echo "13000 key TAB"     # the settings panel opens and closes: Setup.ini twice
  echo "13500 key TAB"
  echo "14000 key ESCAPE"  # quit
}

# Complete as the program writes it: CR LF line ends and the same lines as
# the first complete one, values aside.
skeleton() { tr -d '\r' < "$1" | sed 's/=.*//'; }
ends_in_crlf() { [[ $(tail -c 2 "$1" | od -An -c | tr -d ' ') == '\r\n' ]]; }
complete_ini() {
  ends_in_crlf "$1" && [[ $(grep -c $'\r$' "$1") == $(wc -l < "$1") ]] && cmp -s <(skeleton "$1") "$work/skeleton.ini"
}
# A record line of eight fields, then its results line of thirty numbers,
# every line ending in CR LF.
complete_scores() {
  ends_in_crlf "$1" &&
    tr -d '\r' < "$1" | awk -F'|' 'NR % 2 == 1 && NF != 8 { exit 1 } NR % 2 == 0 && NF != 30 { exit 1 }
      END { exit NR % 2 }'
}
complete_png() { [[ $(tail -c 12 "$1" | od -An -tx1 | tr -d ' \n') == 0000000049454e44ae426082 ]]; }
names_in() { [[ -e $1 ]] && tr -d '\r' < "$1" | awk -F'|' 'NR % 2 == 1 { print $2 }' | sort; }

fail() {
  echo "FAIL: run $run ($how): $*"
  echo "--- player's folder:"; ls -la "$player" "$player/248"
  echo "--- end of Debug.txt:"; tail -5 "$player/Debug.txt" 2>/dev/null
  exit 1
}

declare -A outcome
mid_save=0 stray=0
for ((run = 1; run <= runs; run++)); do
  if (((run - 1) % 25 == 0)); then
    rm -rf "$player" && mkdir -p "$player"
    : > "$work/saved_names"
  fi
  # How this run ends: the first and last of a folder's runs, every tenth
  # and the very last are not killed (each proves that the temporary files
  # earlier kills left never block a save); of the rest, seven in nine are
  # killed at a save, two at any moment of a run.
  roll=$((RANDOM % 9)) step=
  if (((run - 1) % 25 == 0 || run % 25 == 0 || run % 10 == 0 || run == runs)); then how=complete
  elif ((roll < 2)); then how=anytime
  else
    how=$(printf '%s\n' Setup.ini scores.dat .png | shuf -n 1)
    step=$((1 + RANDOM % $(awk -v k="$how." '$1 == k { print ($2 > 0 ? $2 : 1) }' "$work/steps")))
  fi

  # The old files: Setup.ini with LF line ends, which the program never
  # writes, so the old and a new one are told apart.
  if [[ -e $player/Setup.ini ]]; then
    tr -d '\r' < "$player/Setup.ini" > "$work/old.ini" && cp "$work/old.ini" "$player/Setup.ini"
  else rm -f "$work/old.ini"; fi
  rm -f "$work/old.dat"; [[ -e $player/248/scores.dat ]] && cp "$player/248/scores.dat" "$work/old.dat"
  shots_before=("$player"/*.png)

  session "K$run" > "$work/session.txt"
  started=$(date +%s.%N)
  rm -f "$work/run_steps"
  KILL_KIND=$how KILL_AT_STEP=$step KILL_STEPS_FILE=$work/run_steps LD_PRELOAD=$work/kill_at_step.so \
    "$program" --headless --script "$work/session.txt" --data "$player" > "$work/run.log" 2>&1 &
  pid=$!
  if [[ $how == anytime ]]; then
    sleep "$(awk -v s="$RANDOM" -v t="$whole" 'BEGIN { printf "%.3f", s / 32768 * t }')"
    kill -9 "$pid" 2>/dev/null
  fi
  wait "$pid" 2>/dev/null; status=$?; pid=
  left=("$player"/*.part "$player"/248/*.part)
  ((${#left[@]})) && mid_save=$((mid_save + 1)) && stray=$((stray + ${#left[@]}))

  if [[ $how == complete ]]; then
    [[ $status == 0 ]] || fail "exit code $status: $(cat "$work/run.log")"
    ((${#left[@]} == 0)) || fail "temporary files left after a whole run: ${left[*]}"
    grep -q "could not save\|Not saved" "$work/run.log" && fail "a save failed: $(cat "$work/run.log")"
    [[ -e $work/skeleton.ini ]] || skeleton "$player/Setup.ini" > "$work/skeleton.ini"
    cp "$work/run_steps" "$work/steps"  # how many steps each kind of save takes
    whole=$(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { print b - a }')  # the range of "anytime"
  fi

  # Setup.ini: old or new, and there once it was there.
  if [[ -e $player/Setup.ini ]]; then
    if [[ -e $work/old.ini ]] && cmp -s "$work/old.ini" "$player/Setup.ini"; then ini=old
    elif complete_ini "$player/Setup.ini"; then ini=new
    else fail "Setup.ini is neither the old file nor a complete new one"; fi
  elif [[ -e $work/old.ini ]]; then fail "Setup.ini is gone"
  else ini=none; fi

  # scores.dat: old or a complete new one that kept every game.
  names_in "$player/248/scores.dat" > "$work/names"
  if [[ -e $player/248/scores.dat ]]; then
    if [[ -e $work/old.dat ]] && cmp -s "$work/old.dat" "$player/248/scores.dat"; then dat=old
    elif complete_scores "$player/248/scores.dat"; then dat=new
    else fail "scores.dat is neither the old file nor a complete new one"; fi
  elif [[ -e $work/old.dat ]]; then fail "scores.dat is gone"
  else dat=none; fi
  lost=$(comm -23 "$work/saved_names" "$work/names")
  [[ -z $lost ]] || fail "games saved earlier are gone: $lost"
  if (($(grep -c "Saving Screenshot" "$player/Debug.txt" 2>/dev/null) >= 2)); then
    grep -qx "K$run" "$work/names" || fail "the game was saved (the title's screenshot followed it) but is not in scores.dat"
  fi
  extra=$(comm -13 "$work/saved_names" "$work/names" | grep -vx "K$run")
  [[ -z $extra ]] || fail "scores.dat has games no run played: $extra"
  cp "$work/names" "$work/saved_names"

  # Screenshots: complete, and none lost.
  for shot in "${shots_before[@]}"; do [[ -e $shot ]] || fail "screenshot gone: $shot"; done
  for shot in "$player"/*.png; do complete_png "$shot" || fail "half-written screenshot: $shot"; done

  key="${how% step*}: Setup.ini $ini, scores.dat $dat"
  outcome[$key]=$((${outcome[$key]:-0} + 1))
  [[ -n $step ]] && how="$how step $step"
  printf 'run %3d %-20s exit %3d  Setup.ini %-4s scores.dat %-4s games %2d  temporary files left %d\n' \
    "$run" "$how" "$status" "$ini" "$dat" "$(wc -l < "$work/names")" "${#left[@]}"
done

echo "--- outcomes"
for key in "${!outcome[@]}"; do echo "${outcome[$key]} x $key"; done | sort -t: -k1,1 -k2
echo "$runs/$runs runs: every file old or new and complete, no game lost, no screenshot half-written;" \
  "$mid_save kills left $stray temporary files, all cleared by the next saves"
