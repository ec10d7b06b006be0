#!/usr/bin/env bash
# Runs each fuzz target of the asan build for a bounded time (FUZZ_SECONDS, 30 by default) from
# its committed seed corpus, and prints the runs and the time of each. A failed property, a
# sanitizer report, a leak or a slow input (over 10 s) fails the run; the input is kept in
# build/asan/fuzz-artifacts/.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${FUZZ_SECONDS:-30}
bin=build/asan/tests/fuzz
work=build/asan/fuzz-work
artifacts=build/asan/fuzz-artifacts
mkdir -p "$artifacts"
for target in settings_fuzz number_text_fuzz number_format_fuzz scenario_lexer_fuzz; do
  rm -rf "$work/$target" && mkdir -p "$work/$target"
  log="$work/$target.log"
  start=$(date +%s)
  if ! "$bin/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
      -artifact_prefix="$artifacts/$target-" -print_final_stats=1 \
      "$work/$target" "tests/fuzz/corpus/$target" >"$log" 2>&1; then
    tail -40 "$log"
    echo "fuzz: $target FAILED (input in $artifacts/)"
    exit 1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
  echo "fuzz: $target: $runs runs in $(( $(date +%s) - start )) s"
done
