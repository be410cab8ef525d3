#!/usr/bin/env bash
# Builds the program alone (no tests, no benchmarks) and starts it.
# With --windows: builds Ravelon.exe and starts it under Wine.
# With --web: builds the web edition and serves it on this computer (PORT, 8000 unless set).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)

if [[ ${1:-} == --windows ]]; then
  scripts/setup.sh run-windows
  cmake --preset app-mingw >/dev/null
  cmake --build --preset app-mingw -j "$jobs"
  exe=build/app-mingw/app/Ravelon.exe
  if [[ -z ${DISPLAY:-} ]]; then
    echo "There is no display (DISPLAY is not set), so the window cannot be shown."
    echo "Run it on a virtual display instead:  xvfb-run -a wine $exe"
    exit 2
  fi
  export WINEPREFIX=${WINEPREFIX:-$PWD/build/wineprefix} WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d"}
  exec wine "$exe"
fi

if [[ ${1:-} == --web ]]; then
  scripts/setup.sh run-web
  cmake --preset web >/dev/null
  cmake --build --preset web -j "$jobs"
  port=${PORT:-8000}
  echo "Ravelon is at http://127.0.0.1:$port/ (Ctrl+C stops it)"
  exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web/site
fi

scripts/setup.sh run
cmake --preset app >/dev/null
cmake --build --preset app -j "$jobs"
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
  echo "There is no display (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window cannot be shown."
  echo "Run it on a virtual display instead:  xvfb-run -a build/app/app/ravelon"
  exit 2
fi
exec build/app/app/ravelon
