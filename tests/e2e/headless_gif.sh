#!/usr/bin/env bash
# F10 in a headless game on the virtual clock: the last ten seconds land in a
# GIF in the player's folder, at half the 800 x 600 window and 15 frames
# a second, that a separate decoder reads whole.
source "$(dirname "$0")/common.bash"
printf '%s\n' "20000 key F10" "21000 close" > gif.txt
"$PLIMBO" --headless --play --script gif.txt || fail "exit code $?"
gifs=(Files/*.gif)
[[ -f "${gifs[0]}" ]] || fail "no GIF in the player's folder: $(ls Files)"
frames=$(identify -format '%w %h\n' "${gifs[0]}") || fail "identify cannot read ${gifs[0]}"
[[ $(sort -u <<<"$frames") == "400 300" ]] || fail "frame sizes: $(sort -u <<<"$frames" | head -3)"
[[ $(wc -l <<<"$frames") == 152 ]] || fail "$(wc -l <<<"$frames") frames, not 152"
grep -q "Saved GIF 1" Files/Debug.txt || fail "no saved line in Debug.txt"
ls Files | grep -q '\.part$' && fail "a temporary file was left behind"
echo "ok: ${gifs[0]}: 152 frames of 400 x 300"
