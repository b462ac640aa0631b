#!/usr/bin/env bash
# The soak, shortened for every test run: scripts/soak.sh with a few minutes
# of game time (the full soak is an hour, on a Release build). The sanitizer
# holds freed memory back for a while; a small hold lets resident memory
# settle within the first minutes, as it does without the sanitizer.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=16
exec bash "$(dirname "$0")/../../scripts/soak.sh" "${SOAK_MINUTES:-2}" "$1"
