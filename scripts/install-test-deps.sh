#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian machine (idempotent).
#   - the native build: cmake, g++, GoogleTest, Google Benchmark; clang and its sanitizer and
#     libFuzzer runtimes (the asan preset, the fuzzers)
#   - the Linux platform (Qt 6, speech-dispatcher) and its tests, and the Linux program's harness
#   - the Windows build and its tests: mingw-w64 (posix threads), wine, a headless X server,
#     ImageMagick and the IPA fonts (pictures and screenshots), and the Japanese locale
#   - the Calc host and its tests: LibreOffice Calc and its SDK (the UNO libraries, cppumaker and
#     the type libraries the UNO headers are generated from), and its Japanese user interface
set -euo pipefail
packages=(cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 fonts-wine xvfb xdotool
  imagemagick fonts-ipafont fonts-ipafont-gothic fonts-ipafont-mincho xclip locales clang zip)
# The Linux platform's services and their tests: Qt's GUI module (the clipboard), libspeechd and
# a speech-dispatcher with a voice, xclip and flock(1) for copies and locks from other processes.
packages+=(qt6-base-dev libspeechd-dev speech-dispatcher speech-dispatcher-espeak-ng
  xdg-user-dirs util-linux)
# The Linux program's harness: a window manager on the virtual screen (the "above" state, the
# frames), a settings manager (the desktop's font DPI), xprop and xwininfo, libxcb for its close
# request, and the IPA P Gothic face; desktop-file-validate for the installed menu entry.
packages+=(openbox xsettingsd x11-utils libxcb1-dev fonts-ipafont-gothic xvfb xdotool imagemagick
  desktop-file-utils)
# The Calc host and its tests: LibreOffice Calc, its SDK and its Japanese user interface.
packages+=(libreoffice-calc libreoffice-core libreoffice-dev libreoffice-l10n-ja)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update -o DPkg::Lock::Timeout=600
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends \
    -o DPkg::Lock::Timeout=600 "${missing[@]}"
fi
# Japanese text under wine needs the glibc locale (without it controls show empty boxes and
# the ANSI code page stays 1252).
if ! locale -a 2>/dev/null | grep -i '^ja_JP\.utf-\?8$' >/dev/null; then
  $SUDO localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
