#!/usr/bin/env bash
# Installs what a fresh Debian 12 lacks, and only that: apt-get runs only when
# a package is missing.
#   scripts/setup.sh              everything: the build, every test, the packages
#   scripts/setup.sh run          what building and starting the Linux program needs
#   scripts/setup.sh run-windows  what building Ravelon.exe and starting it under Wine needs
#   scripts/setup.sh run-web      what building the web edition and serving it needs
set -euo pipefail

build=(g++ cmake ninja-build)
qt=(qt6-base-dev qt6-qpa-plugins libgl-dev libxcb1-dev fonts-dejavu-core fonts-dejavu-extra fontconfig)
windows=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 fonts-wine)
# Emscripten's JavaScript optimiser needs acorn from node-acorn; the browser tests Chromium
web=(emscripten node-acorn python3)
web_tests=(chromium fonts-dejavu-core)
# The ARM64 edition: a cross compiler, arm64 libraries beside the host's (multiarch), qemu to run its tests
arm64=(g++-aarch64-linux-gnu qemu-user-static qt6-base-dev:arm64 libx11-dev:arm64 libxtst-dev:arm64
       libclang-rt-14-dev:arm64)
tests=(
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # fuzzing and the sanitizer builds
  clang libclang-rt-14-dev
  # the window on a virtual display
  xvfb xauth x11-utils libx11-dev libxtst-dev
  # what a screen reader hears: a session bus, the accessibility bus, its Python client
  dbus-daemon dbus-bin at-spi2-core python3-pyatspi
  # packages and their checks; clones for the reproducibility check
  dpkg-dev fakeroot file lintian appstream appstream-compose wixl msitools faketime zip python3 git
)

case ${1:-all} in
  all) packages=("${build[@]}" "${qt[@]}" "${windows[@]}" "${tests[@]}" "${web[@]}" "${web_tests[@]}" "${arm64[@]}") ;;
  run) packages=("${build[@]}" "${qt[@]}") ;;
  run-windows) packages=("${build[@]}" "${windows[@]}") ;;
  run-web) packages=("${build[@]}" "${web[@]}") ;;
  *) echo "usage: scripts/setup.sh [all|run|run-windows|run-web]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# Node.js and npm may come from elsewhere than Debian: any will do.
if [[ ${1:-all} == all ]]; then
  command -v node >/dev/null || missing+=(nodejs)
  command -v npm >/dev/null || missing+=(npm)
fi
browser_tools() {
  # playwright-core from npm's registry, as the lock file pins it; it drives the system's Chromium.
  local tests_web
  tests_web=$(cd "$(dirname "$0")/../tests/web" && pwd)
  if [[ $1 == all && ! -d $tests_web/node_modules/playwright-core ]]; then
    (cd "$tests_web" && npm ci --no-audit --no-fund --loglevel=error)
  fi
}
if ((${#missing[@]} == 0)); then
  browser_tools "${1:-all}"
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo=""
if ((EUID != 0)); then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
if [[ " ${missing[*]}" == *:arm64* ]] && ! dpkg --print-foreign-architectures | grep -qx arm64; then
  $sudo dpkg --add-architecture arm64
fi
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
browser_tools "${1:-all}"
