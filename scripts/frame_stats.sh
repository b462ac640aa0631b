#!/usr/bin/env bash
# frame_stats.sh — the frame rate a player saw, from a frame log written by
# PLIMBO_FRAMELOG=path: presented frames per second, and the median and 99th
# percentile of the intervals between presents, in milliseconds.
#
#   scripts/frame_stats.sh LOG [FROM [TO]]
#
# FROM and TO are seconds after the first present (default: all of it).
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 LOG [FROM [TO]]" >&2; exit 2; }
# The presents in the window, then the gaps between them, sorted.
awk -v from="${2:-0}" -v to="${3:-1e12}" '
  NR == 1 { first = $1 }
  ($1 - first) / 1e6 >= from && ($1 - first) / 1e6 <= to { print $1 }' "$1" |
  awk 'NR == 1 { start = $1 } NR > 1 { print ($1 - last) / 1000 } { last = $1 }
       END { if (NR > 1) printf "span %d %f\n", NR, (last - start) / 1e6 }' |
  sort -n | awk '
    $1 == "span" { n = $2; seconds = $3; next }
    { gap[++m] = $1 }
    END {
      if (m < 2) { print "fewer than 3 presents in the window"; exit 1 }
      p99 = int(m * 0.99); if (p99 < m * 0.99) p99++
      printf "presents %d  fps %.1f  median %.1f ms  p99 %.1f ms  max %.1f ms\n",
        n, (n - 1) / seconds, gap[int((m + 1) / 2)], gap[p99], gap[m]
    }'
