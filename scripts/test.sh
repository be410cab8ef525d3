#!/usr/bin/env bash
# Builds everything and runs every test: the debug build with warnings as
# errors, the sanitizer build, a bounded fuzz run, the release build with its
# package and a short benchmark run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc)
run_preset() {
  local preset=$1; shift
  echo "== $preset"
  cmake --preset "$preset" -DRAVELON_WERROR=ON "$@" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
}

run_preset dev
run_preset asan
run_preset fuzz
run_preset release
(cd build/release && cpack >/dev/null && echo "== packed $(ls ravelon_*.deb)")
echo "== all tests passed"
