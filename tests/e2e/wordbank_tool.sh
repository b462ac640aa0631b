#!/usr/bin/env bash
# The word-bank tool as a user meets it: a search on the bank the build made;
# bank files that are cut short, random or empty refused (message, exit 1);
# word lists from any system read, bad ones refused with the earlier bank
# files left exactly as they were.
set -euo pipefail
TOOL=$(pwd)/tools/wordbank/wordbank
WORK=$(mktemp -d /tmp/plimbo_wordbank.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK"
fail() { echo "FAIL: $*"; exit 1; }

[ "$("$TOOL" find 'C?T' | tail -n 1)" = "4 matches" ] || fail "C?T on the built bank"

head -c 100000 "$(dirname "$TOOL")/sowpods_bank_zip.dat" > cut.dat
head -c 4000000 /dev/urandom > random.dat
: > empty.dat
for bank in cut.dat random.dat empty.dat; do
  status=0
  "$TOOL" find 'C?T' --bank $bank > out.txt 2> err.txt || status=$?
  [ $status -eq 1 ] || fail "$bank: exit $status"
  [ ! -s out.txt ] || fail "$bank: listed something"
  grep -q "$bank" err.txt || fail "$bank: no message naming it"
done

printf 'ONE\rTWO\rSIX\r' > sowpods.txt
"$TOOL" build > /dev/null || fail "a CR-only list"
[ "$("$TOOL" find '???' | tr '\n' ' ')" = "ONE TWO SIX 3 matches " ] || fail "CR-only list read wrong"
before=$(cat sowpods_bank.dat sowpods_bank_zip.dat | md5sum)
printf '' > empty.txt
printf 'CAT\0DOG\n' > binary.txt
for list in empty.txt binary.txt; do
  status=0
  "$TOOL" build $list > /dev/null 2> err.txt || status=$?
  [ $status -eq 1 ] && grep -q "$list" err.txt || fail "$list: exit $status, $(cat err.txt)"
done
[ "$(cat sowpods_bank.dat sowpods_bank_zip.dat | md5sum)" = "$before" ] || fail "a refused list touched the bank"
echo "ok"
