#!/usr/bin/env bash
# Installs the test dependencies, builds everything and runs every test; prints the time of each
# phase. SOAK_SESSIONS (3000) and FUZZ_SECONDS (30 per target) bound the soak and the fuzzing.
set -euo pipefail
cd "$(dirname "$0")/.."
phase_start=$(date +%s)
phase() {
  local now
  now=$(date +%s)
  echo "=== phase '$1': $((now - phase_start)) s"
  phase_start=$now
}
scripts/install-test-deps.sh
phase install
cmake --preset dev
cmake --build --preset dev
phase "native build"
ctest --preset dev -LE qt-harness
phase "native tests"
# The Linux program on virtual X screens (each case with its own Xvfb and window manager).
ctest --preset dev -L qt-harness
phase "Linux program harness"
# The README's first command as a newcomer runs it on a machine without a display: the Linux
# program beside Calc on a virtual screen, pasting a few values (the build is the one above).
env -u DISPLAY -u WAYLAND_DISPLAY scripts/run.sh
test -s build/dev/run/calc-pasted.png
phase "first command (scripts/run.sh)"
# The whole native suite again under AddressSanitizer and UndefinedBehaviorSanitizer: any
# report, leaks included, fails its test (exit code 99).
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:exitcode=99:detect_stack_use_after_return=1:strict_init_order=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:exitcode=99
export LSAN_OPTIONS=exitcode=99
cmake --preset asan
cmake --build --preset asan
ctest --preset asan
phase "sanitizer build and tests"
tests/fuzz/run.sh
phase fuzz
tests/soak/run.sh build/asan "${SOAK_SESSIONS:-3000}" 1
phase soak
# The Windows program, cross-built and tested under wine.
scripts/test-windows.sh
phase Windows
# ...and the Windows program one command away, as the README says (no display: a picture of it).
rm -f build/windows/run-screenshot.png
env -u DISPLAY -u WAYLAND_DISPLAY scripts/run.sh --windows
test -s build/windows/run-screenshot.png
phase "Windows program (scripts/run.sh --windows)"
# The paste steps against a real LibreOffice Calc: wall time and host operations per paste, to
# read beside the Windows program's figures against the Excel double above...
echo "=== paste against LibreOffice Calc"
build/dev/tests/bench/calc_paste_bench
# ...and through the Linux program: a copy to the cursor moved in Calc.
HARUMADO_CLIPBOARD_OWNER="$PWD/build/dev/tests/qt/harumado-clipboard-owner" \
  HARUMADO_CLOSE_WINDOW="$PWD/build/dev/tests/qt/harumado-close-window" \
  tests/calc/program/calc_journeys.sh build/dev/src/qt/harumado \
  build/dev/tests/calc/harumado-calc-cells build/dev/bench copy_to_cursor_benchmark
phase "Calc benchmark"
# The Linux program's windows beside the Windows program's, from the pictures both harnesses kept.
scripts/side-by-side.sh
phase "pictures side by side"
