#!/usr/bin/env bash
# Builds the program and starts it. With --windows: builds Ravelon.exe and
# starts it under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs=$(nproc)

if [[ ${1:-} == --windows ]]; then
  cmake --preset mingw >/dev/null
  cmake --build --preset mingw -j "$jobs"
  exe=build/mingw/app/Ravelon.exe
  if [[ -z ${DISPLAY:-} ]]; then
    echo "There is no display (DISPLAY is not set), so the window cannot be shown."
    echo "Run it on a virtual display instead:  xvfb-run -a wine $exe"
    exit 2
  fi
  export WINEPREFIX=${WINEPREFIX:-$PWD/build/wineprefix} WINEDEBUG=${WINEDEBUG:--all}
  exec wine "$exe"
fi

cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs"
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
  echo "There is no display (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window cannot be shown."
  echo "Run it on a virtual display instead:  xvfb-run -a build/release/app/ravelon"
  exit 2
fi
exec build/release/app/ravelon
