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

# What a Windows user needs, in one folder.
release="$root/build/release"
mkdir -p "$release"
for f in Ombriel.exe Zelbrin.exe README.TXT; do
  [ -f "$root/build/windows/bin/$f" ] && cp -f "$root/build/windows/bin/$f" "$release/"
done
