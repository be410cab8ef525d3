#!/usr/bin/env bash
# Builds everything and runs every test: the debug build with warnings as
# errors, the sanitizer build, a bounded fuzz run, the release build with its
# package and a short benchmark run, the web edition in Chromium, the ARM64
# edition with its package and a fuzz run under qemu, Ravelon.exe
# and its installer under Wine, and two release builds from clean clones that
# must give the same bytes.
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

windows_tests() { run_preset mingw; }
if [[ ${1:-} == --windows-only ]]; then
  windows_tests
  exit
fi

run_preset dev
# The web edition, driven in Chromium; its rows and design come from the debug build.
echo "== web"
cmake --preset web -DRAVELON_WERROR=ON >/dev/null
cmake --build --preset web -j "$jobs"
build/dev/tests/web_rows >build/dev/tests/web_rows.json
(cd tests/web && node --test)
run_preset asan
run_preset fuzz
run_preset release
echo "== benchmark (short run)"
build/release/bench/decoder_bench --benchmark_filter='bytes:1048576/' --benchmark_min_time=0.05
node bench/web/page_bench.mjs
# The ARM64 edition under qemu: every suite but those that need an X display or
# the accessibility bus; the fuzzers alone in its fuzzing build.
run_preset arm64
run_preset fuzz-arm64

# The Windows program, tested under Wine on a virtual display when there is none.
if [[ -z ${DISPLAY:-} ]]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --windows-only
else
  windows_tests
fi
echo "== reproducible release artefacts"
tests/app/check_reproducible.sh
echo "== all tests passed"
