#!/usr/bin/env bash
# Set up everything that is missing, build, and start the game.
# Extra arguments go to the game (see README: --headless, --script, --frames, --play).
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/setup.sh" build -DCMAKE_BUILD_TYPE=Release
cd "$root/build"
exec ./plimbo "$@"
