#!/usr/bin/env bash
# The kill test, shortened for every test run: scripts/kill_test.sh with four
# runs, two of them killed (the full test is 200 runs; every start of the
# sanitizer build costs several seconds of loading).
exec bash "$(dirname "$0")/../../scripts/kill_test.sh" "${KILL_RUNS:-4}" "$1"
