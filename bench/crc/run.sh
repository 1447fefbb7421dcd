#!/usr/bin/env bash
# Builds the native tree's CRC benchmark and runs it: the splitter's CRC-32
# beside zlib's crc32 over the same buffer, then the byte-at-a-time loop.
#   bash bench/crc/run.sh [megabytes] [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/native" --target crc_bench -j 2 >/dev/null
"$root/build/native/bench/crc/crc_bench" "${1:-256}" "${2:-9}"
