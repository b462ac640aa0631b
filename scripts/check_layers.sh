#!/usr/bin/env bash
# check_layers.sh — the program's folders depend on each other one way only.
# Every quoted #include must name the file's own folder or a folder below it;
# the machine's libraries are included by media (and zlib by words too) only.
#
# Bottom to top (folders on one line do not see each other):
#   media core   clock, files, logs, text, random: no SDL
#   media        display, images, fonts, sound, input (SDL, libpng, FreeType)
#   controls  words
#   frame
#   music  scores
#   game
#   app
# The word code and the wordbank tool see only the media core.
#
# Usage: scripts/check_layers.sh [source root]; exit code 1 on any breach.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

declare -A sees=(
  [media]="media"
  [controls]="media controls"
  [words]="media words"
  [frame]="media controls frame"
  [music]="media controls frame music"
  [scores]="media controls frame scores"
  [game]="media controls frame music scores game"
  [app]="media controls words frame music scores game app"
  [tools/wordbank]="media words"
)
core_files="media/core.h media/core_internal.h media/clock.cpp media/files.cpp media/log.cpp media/random.cpp media/text.cpp"

breaches=0
breach() {
  echo "$1: $2"
  breaches=$((breaches + 1))
}

for folder in "${!sees[@]}"; do
  for file in "$folder"/*.cpp "$folder"/*.h; do
    [[ -e "$file" ]] || continue
    core=0
    [[ " $core_files " == *" $file "* ]] && core=1
    # Quoted includes: the folder of the header must be one this file sees.
    while IFS= read -r line; do
      header=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*)".*/\1/' <<<"$line")
      [[ "$header" == *..* ]] && { breach "$file" "relative include $header"; continue; }
      target=${header%%/*}
      [[ " ${sees[$folder]} " == *" $target "* ]] || { breach "$file" "includes $header"; continue; }
      # Below the SDL part: the media core, and what builds on it alone.
      if [[ $target == media && ($core == 1 || $folder == words || $folder == tools/wordbank) ]]; then
        [[ $header == media/core.h || ($core == 1 && $header == media/core_internal.h) ]] ||
          breach "$file" "includes $header, which needs SDL"
      fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
    # The machine's own libraries.
    while IFS= read -r line; do
      case "$line" in
        *'<SDL'* | *'<png.h>'* | *'<ft2build.h>'* | *FT_FREETYPE_H*)
          [[ $folder == media && $core == 0 ]] || breach "$file" "$line" ;;
        *'<zlib.h>'*)
          [[ $folder == words || ($folder == media && $core == 0) ]] || breach "$file" "$line" ;;
      esac
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<A-Z]' "$file" || true)
  done
done

if ((breaches)); then
  echo "check_layers: $breaches include(s) against the layer order (see the top of $0)"
  exit 1
fi
echo "check_layers: every include follows the layer order"
