#!/usr/bin/env bash
# soak.sh [MINUTES] [PROGRAM] — a long headless session on the virtual clock
# (default 60 minutes of game time; the program defaults to build/plimbo),
# watched for leaks. Every minute of game time the script plays a game
# (paused and continued once), enters the name, takes a screenshot of the
# title, plays a song and applies the settings panel, which reloads every
# image, font and sound. The program logs its figures (resident memory, open
# files, live media handles) each minute and after every reload to
# PLIMBO_DEBUGLOG; this prints them as a table and checks they are flat:
#   - open files: the same at every minute from minute 1 on;
#   - media handles: the same after every Apply, and at every minute from
#     minute 4 on never above the most seen in minutes 1 to 3 (screens keep
#     a picture or two they made for themselves until the next reload);
#   - resident memory: from minute 2 on never above minute 2's figure by more
#     than 5 % (and at least 8 MiB: the allocator's own slack on a small heap).
# It also checks that every game was played and saved and every Apply
# happened, so a script that lost its way through the screens cannot pass.
# KEEP=1 keeps the scratch folder (script, player's files, figures).
set -euo pipefail
minutes=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
program=$(readlink -f "${2:-$root/build/plimbo}")
work=$(mktemp -d /tmp/plimbo_soak.XXXXXX)
[[ -n ${KEEP:-} ]] && echo "keeping $work" || trap 'rm -rf "$work"' EXIT
round=60000  # ms of game time per round
rounds=$minutes

# The time-based script keeps long gaps between screens, so that a game
# that runs a little longer or shorter never sends a key to the wrong one.
soak_script() {
  echo "9000 key UP"  # Easy wraps round to Hard: short games
  for ((r = 0; r < rounds; r++)); do
    local t=$((10000 + r * round))
    echo "$t key Z"                                  # a game
    echo "$((t + 4000)) key ESCAPE"                  # the pause menu...
    echo "$((t + 6000)) key ESCAPE"                  # ...continue
    for k in $(seq 0 100 1100); do echo "$((t + 26000 + k)) key BACK"; done
    echo "$((t + 27500)) text SOAK$r"                # name entry
    echo "$((t + 28000)) key RETURN"
    echo "$((t + 32000)) key F11"                    # a screenshot of the title
    echo "$((t + 34000)) key $(((r % 3) == 0 ? 77 : (r % 3) == 1 ? 78 : 66))"  # M, N or B: a song
    echo "$((t + 40000)) key TAB"                    # the settings panel...
    echo "$((t + 41000)) mousemove 28 286"
    echo "$((t + 41500)) mousedown 1"                # ...Apply: the display and its media reload
    echo "$((t + 41550)) mouseup 1"
    echo "$((t + 50000)) mousemove 400 580"
  done
  echo "$((10000 + rounds * round)) key ESCAPE"  # quit from the title screen
}
soak_script > "$work/soak.txt"
frames=$(((10000 + rounds * round) * 60 / 1000 + 3600))  # a stop should the script lose its way

start=$(date +%s)
PLIMBO_DEBUGLOG="$work/figures.log" "$program" --headless --script "$work/soak.txt" --data "$work/player" \
  --frames "$frames" > "$work/run.log" 2>&1 || { status=$?; cat "$work/run.log"; echo "FAIL: exit code $status"; exit 1; }
wall=$(($(date +%s) - start))

# The score table keeps the 50 newest games (and its best ones): a longer
# soak finds at least 50 in the file.
awk -v want_minutes="$minutes" -v want_games=$((rounds < 50 ? rounds : 50)) -v want_loads=$((rounds + 1)) \
  -v games="$(grep -c "|SOAK" "$work/player/248/scores.dat" || true)" -v wall="$wall" '
  function field(name,   i, kv) {
    for (i = 3; i <= NF; i++) { split($i, kv, "="); if (kv[1] == name) return kv[2] + 0 }
    return -1
  }
  function handles() {
    return field("images") " " field("fonts") " " field("pixmaps") " " field("sounds") " " field("streams") " " field("banks")
  }
  $1 != "figures" { next }
  $2 == "loaded" {
    loads++
    if (loads >= 2) { if (loaded == "") loaded = handles(); else if (handles() != loaded) bad = bad "\n  handles after Apply " loads - 1 ": " handles() ", after the first: " loaded }
    next
  }
  {
    split($2, kv, "="); m = kv[2] + 0
    rss[m] = field("rss_kib"); fds[m] = field("fds"); h[m] = handles(); last = m
    printf "%6d %9.1f %5d %7d %6d %8d %7d %8d %6d %9.1f\n", m, rss[m] / 1024, fds[m], field("images"), field("fonts"),
      field("pixmaps"), field("sounds"), field("streams"), field("banks"), field("media_kib") / 1024
  }
  BEGIN { print "minute   RSS MiB   fds  images  fonts  pixmaps  sounds  streams  banks  media MiB" }
  END {
    if (last < want_minutes) bad = bad "\n  only " last " minutes of game time logged, " want_minutes " wanted"
    if (games < want_games) bad = bad "\n  " games " games saved, " want_games " played"
    if (loads < want_loads) bad = bad "\n  " loads " loads of the media, " want_loads " wanted (start-up and every Apply)"
    allowance = rss[2] * 0.05; if (allowance < 8192) allowance = 8192
    for (m = 1; m <= 3 && m <= last; m++) { split(h[m], now, " "); for (k = 1; k <= 6; k++) if (now[k] > most[k]) most[k] = now[k] }
    for (m = 1; m <= last; m++) {
      if (fds[m] != fds[1]) bad = bad "\n  minute " m ": " fds[m] " open files, " fds[1] " at minute 1"
      if (m < 2) continue
      if (rss[m] > rss[2] + allowance) bad = bad sprintf("\n  minute %d: resident memory %.1f MiB, minute 2 %.1f MiB", m, rss[m] / 1024, rss[2] / 1024)
      if (m < 4) continue
      split(h[m], now, " ")
      for (k = 1; k <= 6; k++) if (now[k] > most[k]) { bad = bad "\n  minute " m ": handles " h[m] " above the most of minutes 1 to 3"; break }
    }
    printf "%d minutes of game time in %d s of wall time; %d games, %d loads\n", last, wall, games, loads
    if (bad != "") { print "FAIL: not flat:" bad; exit 1 }
    print "ok: flat"
  }' "$work/figures.log"
