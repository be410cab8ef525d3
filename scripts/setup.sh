#!/usr/bin/env bash
# Installs what the build and the tests need beyond g++, CMake, GoogleTest and
# Google Benchmark. Idempotent: apt-get runs only when a package is missing.
set -euo pipefail

packages=(
  # decoder: fuzzing and the sanitizer build
  clang libclang-rt-14-dev
  # Linux program: Qt 6 Widgets, its X11 plugin, fonts, a virtual display
  qt6-base-dev qt6-qpa-plugins libgl-dev fonts-dejavu-core fonts-dejavu-extra fontconfig
  xvfb xauth x11-utils
  # Windows program: cross compiler, Wine
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 fonts-wine
  # packaging
  dpkg-dev file ninja-build
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo=""
if ((EUID != 0)); then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
