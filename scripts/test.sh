#!/usr/bin/env bash
# Installs the test dependencies, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-test-deps.sh
cmake --preset dev
cmake --build --preset dev
ctest --preset dev
# The Windows program, cross-built and tested under wine.
scripts/test-windows.sh
