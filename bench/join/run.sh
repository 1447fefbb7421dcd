#!/usr/bin/env bash
# Joins the pieces of a 1 GiB file with and without a .CRC file: the core's
# join engine natively and as a Windows program under Wine, beside `cat` of
# the same pieces plus zlib's crc32 over the result, in one run. Reports
# GB/s, the ratio join / (cat + crc) and peak memory.
#   bench/join/run.sh [MiB, default 1024] [rounds, default 3]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
mib=${1:-1024}
rounds=${2:-3}
piece_mib=100

cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/native" --target join_bench zlib_crc32 -j2 >/dev/null
cmake -S "$root" -B "$root/build/windows" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$root/build/windows" --target join_bench -j2 >/dev/null
native=$root/build/native/bench/join/join_bench
zcrc=$root/build/native/bench/join/zlib_crc32
exe=$root/build/windows/bin/join_bench.exe

work=$(mktemp -d "${TMPDIR:-/tmp}/join_bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/in" "$work/out"
head -c $((mib << 20)) /dev/urandom > "$work/data.bin"
pieces=()
n=0
for ((off = 0; off < mib; off += piece_mib)); do
  n=$((n + 1))
  dd if="$work/data.bin" of="$work/in/data_bin.$n" bs=1M skip=$off count=$piece_mib status=none
  pieces+=("$work/in/data_bin.$n")
done
crc=$("$zcrc" "$work/data.bin")
rm "$work/data.bin"
bytes=$((mib << 20))
echo "set: $n pieces, $bytes bytes, crc $crc; best of $rounds rounds; page cache warm"

write_crc() { # little-endian 4 bytes of the hex value
  python3 -c "import struct,sys; open(sys.argv[1],'wb').write(struct.pack('<I', int(sys.argv[2],16)))" \
    "$work/in/data_bin.CRC" "$crc"
}

# One timed run of each contender, on a fresh output file each time.
peer_once() { # crc|nocrc -> "seconds peakKiB"
  rm -f "$work/out/data.bin"
  local t0 t1 m1 m2=0
  t0=$(date +%s.%N)
  m1=$( { /usr/bin/time -f %M sh -c 'cat "$@" > "$0"' "$work/out/data.bin" "${pieces[@]}"; } 2>&1)
  if [ "$1" = crc ]; then
    m2=$( { /usr/bin/time -f %M "$zcrc" "$work/out/data.bin" >/dev/null; } 2>&1)
  fi
  t1=$(date +%s.%N)
  echo "$(python3 -c "print($t1 - $t0)") $((m1 > m2 ? m1 : m2))"
}

ours_once() { # native|wine -> "join seconds GB/s message peakMiB"
  rm -f "$work/out/data.bin"
  if [ "$1" = native ]; then
    "$native" "$work/in/data_bin.1" "$work/out" 1
  else
    wine "$exe" "Z:${work//\//\\}\\in\\data_bin.1" "Z:${work//\//\\}\\out" 1 2>/dev/null | tr -d '\r'
  fi
}

source "$root/scripts/wine-env.sh"
wine_env_start >/dev/null 2>&1
trap 'wine_env_stop; rm -rf "$work"' EXIT

# The machine is shared: the contenders take turns round by round and each
# keeps its best time, so a burst of load elsewhere hits all of them alike.
printf '%-30s %8s %8s %8s %10s\n' "run" "seconds" "GB/s" "ratio" "peak MiB"
for mode in crc nocrc; do
  rm -f "$work/in/data_bin.CRC"
  [ "$mode" = crc ] && write_crc
  pbest=999 pmem=0 nbest=999 nmem=0 nmsg=0 wbest=999 wmem=0 wmsg=0
  for ((r = 0; r < rounds; r++)); do
    read -r s m <<<"$(peer_once "$mode")"
    pbest=$(python3 -c "print(min($pbest, $s))"); pmem=$((m > pmem ? m : pmem))
    read -r _ s _ nmsg m <<<"$(ours_once native)"
    nbest=$(python3 -c "print(min($nbest, $s))"); nmem=$(python3 -c "print(max($nmem, $m))")
    read -r _ s _ wmsg m <<<"$(ours_once wine)"
    wbest=$(python3 -c "print(min($wbest, $s))"); wmem=$(python3 -c "print(max($wmem, $m))")
  done
  row() { python3 -c "import sys; l,s,p,m=sys.argv[1],float(sys.argv[2]),float(sys.argv[3]),sys.argv[4]; print('%-30s %8.3f %8.2f %8.2f %10s' % (l, s, $bytes/s/1e9, p/s, m))" "$@"; }
  label=$([ "$mode" = crc ] && echo "cat + zlib crc32" || echo "cat")
  row "$label" "$pbest" "$pbest" "$(python3 -c "print('%.1f' % ($pmem / 1024))")"
  row "join native ($mode, msg $nmsg)" "$nbest" "$pbest" "$nmem"
  row "join wine ($mode, msg $wmsg)" "$wbest" "$pbest" "$wmem"
done
