#!/usr/bin/env bash
# docs.sh — the installed documents made at build time: the manual pages
# (from the README's sections, by manpage.awk) and the changelog, compressed
# as Debian wants them (gzip -9, no name or time stamp, so builds agree).
#   docs.sh <source folder> <output folder> <version> <date>
set -euo pipefail
src=$1 out=$2 version=$3 date=$4
mkdir -p "$out"

page() {  # page <name> <section> <summary> <README sections>
  awk -v page="$1" -v section="$2" -v summary="$3" -v version="$version" -v date="$date" \
    -v sections="$4" -f "$src/packaging/manpage.awk" "$src/README.md" | gzip -9n > "$out/$1.$2.gz.tmp"
  mv "$out/$1.$2.gz.tmp" "$out/$1.$2.gz"
}

page plimbo-direr 6 "steer a bouncing ball through a cave, past the ghosts of your earlier tries" \
  "Playing|Command line|Files"
page wordbank 6 "pack a word list into Plimbo Direr's word bank, and search it" \
  "The word list and the \`wordbank\` tool"
gzip -9n < "$src/packaging/changelog" > "$out/changelog.gz.tmp"
mv "$out/changelog.gz.tmp" "$out/changelog.gz"
