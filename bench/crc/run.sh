#!/usr/bin/env bash
# Builds the native tree's CRC benchmark and runs it: each of the splitter's
# CRC-32 paths beside zlib's crc32 and ISA-L's crc32_gzip_refl (and its
# PCLMULQDQ-only by8) over the same buffer, then the byte-at-a-time loop.
# Installs ISA-L (libisal-dev), which only this bench uses.
#   bash bench/crc/run.sh [megabytes] [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
bash "$root/scripts/install-deps.sh" libisal-dev zlib1g-dev >/dev/null
cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/native" --target crc_bench -j 2 >/dev/null
"$root/build/native/bench/crc/crc_bench" "${1:-256}" "${2:-9}"
