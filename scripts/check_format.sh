#!/usr/bin/env bash
# check_format.sh — every .cpp and .h file of the program, its tests,
# benchmarks and tools follows .clang-format.
# Usage: scripts/check_format.sh [source root]; exit code 1 on any difference.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"
format=$(command -v clang-format-14 || command -v clang-format) || { echo "clang-format is missing"; exit 1; }

files=()
while IFS= read -r file; do
  files+=("$file")
done < <(find app bench controls frame game media music scores tests tools words \( -name '*.cpp' -o -name '*.h' \) | sort)

"$format" --dry-run -Werror "${files[@]}"
echo "check_format: ${#files[@]} files follow .clang-format"
