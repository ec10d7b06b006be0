#!/usr/bin/env bash
# Builds the program and runs a demonstration session on the simulated desktop.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-test-deps.sh
cmake --preset dev
cmake --build --preset dev --target harumado-sim
build/dev/src/sim/harumado-sim --trace tests/scenarios/demo.scenario
