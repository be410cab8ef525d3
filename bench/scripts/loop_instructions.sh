#!/usr/bin/env bash
# Instructions per 64 output bytes in each vector path's block loop, as the
# release builds compile them: AVX2 and AVX-512 VBMI with the host's g++, NEON with
# clang for aarch64 (as the arm64 preset builds it).
#   bench/scripts/loop_instructions.sh
set -eu
top=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for path in avx2 avx512vbmi; do
  g++ -std=c++20 -O3 -DNDEBUG -I"$top" -S -o "$work/$path.s" "$top/decoder/detail/x86/$path.cpp"
done
clang++ --target=aarch64-linux-gnu -std=c++20 -O3 -DNDEBUG -I"$top" -S -o "$work/neon.s" "$top/decoder/detail/arm/neon.cpp"
python3 "$(dirname "$0")/loop_instructions.py" "$work"/{avx2,avx512vbmi,neon}.s
