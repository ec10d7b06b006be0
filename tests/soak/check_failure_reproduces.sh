#!/usr/bin/env bash
# A session that fails is written out, and harumado-sim runs that file to the same failure.
# usage: check_failure_reproduces.sh SOAK SIM DIR
set -u
soak=$1 sim=$2 dir=$3
rm -rf "$dir"
if "$soak" --sessions 1 --seed 8 --out "$dir" --inject-failure >"$dir.log" 2>&1; then
  echo "the soak passed a session that cannot pass"; cat "$dir.log"; exit 1
fi
file="$dir/failure-seed-8.scenario"
[ -f "$file" ] || { echo "no $file"; cat "$dir.log"; exit 1; }
grep -q 'expect state PasteActive 7' "$file" || { echo "the failing statement is not in $file"; exit 1; }
line=$(grep -n '^expect state PasteActive 7$' "$file" | cut -d: -f1)
out=$("$sim" "$file" 2>&1)
code=$?
[ "$code" -eq 1 ] || { echo "harumado-sim exit code $code, expected 1"; echo "$out"; exit 1; }
grep -qxF -- "$file:$line: expected state PasteActive 7, got 0" <<<"$out" ||
  { echo "harumado-sim does not report the same failure:"; echo "$out"; exit 1; }
# The same seed gives the same session.
cmp -s <("$soak" --print 8) <("$soak" --print 8) || { echo "seed 8 gives two sessions"; exit 1; }
echo "reproduced: $file:$line"
