#!/usr/bin/env bash
# Where the program finds its data and writes the player's files, wherever it
# is started from: an installed layout writes into the player's data folder
# (and keeps the scores found there), --data names another folder, and a
# missing data folder is one clear line while nothing is written beside the
# program.
source "$(dirname "$0")/common.bash"
export HOME=$WORK/home XDG_DATA_HOME=$WORK/xdg
mkdir -p "$HOME"
listing() { (cd "$1" && find . | sort); }

# Installed: <prefix>/bin and <prefix>/share/plimbo-direr, run from elsewhere.
mkdir -p prefix/bin prefix/share
cp "$PLIMBO" prefix/bin/plimbo
cp -r Files prefix/share/plimbo-direr
saves=$XDG_DATA_HOME/plimbo-direr
mkdir -p "$saves/248"
printf '77|EARLIER|0|65000000000|0|0|0|0\r\n0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0\r\n' > "$saves/248/scores.dat"
before=$(listing prefix)
(cd / && "$WORK/prefix/bin/plimbo" --headless --frames 400) || fail "installed run: exit code $?"
[[ "$(listing prefix)" == "$before" ]] || fail "the installed run wrote under the prefix"
for f in Setup.ini Debug.txt; do [[ -f "$saves/$f" ]] || fail "no $f in $saves"; done
grep -q "Finished Loading" "$saves/Debug.txt" || fail "the installed data was not loaded"
grep -q "^77|EARLIER|" "$saves/248/scores.dat" || fail "the player's scores were replaced"
[[ ! -e "$saves/248/crash.dat" ]] || fail "crash marker left behind"
echo "ok: installed layout writes to $saves"

# A portable copy with --data: the copy's own folder stays untouched.
before=$(listing Files)
"$PLIMBO" --headless --frames 400 --data "$WORK/elsewhere" || fail "--data run: exit code $?"
[[ "$(listing Files)" == "$before" ]] || fail "the --data run wrote into the data folder"
for f in Setup.ini Debug.txt 248/scores.dat; do [[ -f "$WORK/elsewhere/$f" ]] || fail "no $f in --data folder"; done
echo "ok: --data folder"

# No data folder, or one without its common folder: start-up ends with one
# line naming what is missing, and nothing is written beside the program.
mkdir -p lonely broken/Files
cp "$PLIMBO" lonely/plimbo
cp "$PLIMBO" broken/plimbo
cp -r Files/248 broken/Files/
for case in "lonely|no data folder (looked for $WORK/lonely/Files/ and $WORK/share/plimbo-direr/)" \
            "broken|the data folder has no common folder $WORK/broken/Files/Common/"; do
  dir=${case%%|*} line="plimbo: cannot start: ${case#*|}"
  code=0
  "$dir/plimbo" --headless --frames 400 > "$dir.out" 2>&1 || code=$?
  [[ $code == 1 ]] || fail "$dir: exit code $code"
  [[ $(grep -c "^plimbo:" "$dir.out") == 1 ]] && grep -qxF "$line" "$dir.out" ||
    fail "$dir: not the one line \"$line\": $(grep "^plimbo:" "$dir.out")"
  echo "ok: $line"
done
[[ "$(ls lonely)" == plimbo ]] || fail "something was written beside the program: $(ls lonely)"
