#!/usr/bin/env bash
# The game as a player gets it: installed into a scratch prefix (DESTDIR), the
# desktop entry, metainfo, icons and manual pages checked with the desktop's
# own tools, then the installed program started twice from a foreign folder
# with a scratch home: a scripted game, then a plain start. The player's files
# must land in the home, the score must survive, and the prefix must not change.
source "$(dirname "$0")/common.bash"
stage=$WORK/stage
export HOME=$WORK/home XDG_DATA_HOME=$WORK/home/share
mine=$XDG_DATA_HOME/plimbo-direr

DESTDIR=$stage cmake --install "$BUILD" --prefix /usr > install.log || fail "install: $(tail -3 install.log)"
usr=$stage/usr
game=$(find "$usr" -name plimbo-direr -type f -perm -u+x)
[ -n "$game" ] || fail "no plimbo-direr installed"
left=$(find "$usr" -name Setup.ini -o -name Debug.txt -o -name scores.dat -o -name crash.dat)
[ -z "$left" ] || fail "the build's player files were installed: $left"

desktop-file-validate "$usr/share/applications/plimbo-direr.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$usr"/share/metainfo/*.metainfo.xml > appstream.log ||
  fail "metainfo: $(cat appstream.log)"
for n in 48 128 256; do
  icon=$usr/share/icons/hicolor/${n}x$n/apps/plimbo-direr.png
  [ "$(identify -format %wx%h "$icon" 2>/dev/null)" = "${n}x$n" ] || fail "icon $icon"
done
for page in "$usr"/share/man/man6/plimbo-direr.6.gz "$usr"/share/man/man6/wordbank.6.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] && LC_ALL=C.UTF-8 man -l "$page" | grep -q "NAME" || fail "man page $page: $warnings"
done

find "$stage" -printf '%p %s %T@\n' | sort > before.txt
mkdir elsewhere && cd elsewhere
{
  echo "10000 key UP"   # Easy wraps round to Hard
  echo "10500 key Z"
  for t in $(seq 25000 100 25700); do echo "$t key BACK"; done
  echo "26000 text INSTALLED"
  echo "27000 key RETURN"
  echo "30000 key ESCAPE"
} > game.txt
"$game" --headless --script game.txt 2> first.err || fail "first run: exit code $? $(cat first.err)"
record=$(head -1 "$mine/248/scores.dat" | tr -d '\r')
[[ $record == *"|INSTALLED|"* ]] || fail "no record for INSTALLED in $mine: $record"
"$game" --headless --frames 400 2> second.err || fail "second run: exit code $? $(cat second.err)"
cd ..

! grep -h "^plimbo:" elsewhere/*.err || fail "the installed game reported failures"
for f in Setup.ini Debug.txt 248/scores.dat; do [ -f "$mine/$f" ] || fail "no $f in $mine"; done
grep -q "SFX(7)" "$mine/Debug.txt" && grep -q "Finished Loading" "$mine/Debug.txt" ||
  fail "the data was not loaded: $(cat "$mine/Debug.txt")"
[ "$(head -1 "$mine/248/scores.dat" | tr -d '\r')" = "$record" ] || fail "the second start lost the score"
find "$stage" -printf '%p %s %T@\n' | sort > after.txt
diff before.txt after.txt > changed.txt || fail "the game wrote under the prefix: $(cat changed.txt)"
echo "ok: $record"
