#!/usr/bin/env bash
# Installs the Debian packages that are missing, then configures and builds
# into the folder given as $1 (extra CMake options follow). The build also
# fills the data folder (Files/) beside the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1; shift

missing=()
while read -r pkg; do
  [[ -z "$pkg" || "$pkg" == \#* ]] && continue
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done < "$root/scripts/packages.txt"
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=(); [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi

generator=(); command -v ninja >/dev/null && generator=(-G Ninja)
cmake -S "$root" -B "$root/$build" "${generator[@]}" "$@"
cmake --build "$root/$build" -j"$(nproc)"
