#!/usr/bin/env bash
# Builds both trees: build/native (portable cores, unit tests) and
# build/windows (Ombriel.exe, Zelbrin.exe, Windows-side and end-to-end tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/native" -j "$jobs"
cmake -S "$root" -B "$root/build/windows" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$root/build/windows" -j "$jobs"

# What a Windows user downloads, in one folder: the zips, the MSIs and
# SHA256SUMS (scripts/release.sh makes the same from a clean build folder).
release="$root/build/release"
rm -rf "$release"
mkdir -p "$release"
cp "$root/build/windows/release/"* "$release/"
