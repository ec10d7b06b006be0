#!/usr/bin/env bash
# A bounded soak of random sessions: tests/soak/run.sh BUILD_DIR [SESSIONS [FIRST_SEED]].
# The test command runs it on the asan build; a longer run on demand, for example
#   tests/soak/run.sh build/asan 100000 1
# A failing session is written to BUILD_DIR/tests/soak/run/failure-seed-N.scenario, a scenario
# file that harumado-sim runs to the same failure.
set -euo pipefail
build=$1 sessions=${2:-6000} seed=${3:-1}
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
out="$build/tests/soak/run"
rm -rf "$out"
start=$SECONDS
"$build/tests/soak/harumado-soak" --sessions "$sessions" --seed "$seed" --out "$out"
echo "soak: $((SECONDS - start)) s"
