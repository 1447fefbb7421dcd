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

# cat + crc: wall time of both commands, peak memory of the larger.
peer() {
  local best=999999 peak=0
  for ((r = 0; r < rounds; r++)); do
    rm -f "$work/out/data.bin"
    local t0 t1 m1 m2
    t0=$(date +%s.%N)
    m1=$(/usr/bin/time -f %M sh -c 'cat "$@" > "$0"' "$work/out/data.bin" "${pieces[@]}" 2>&1)
    if [ "$1" = crc ]; then
      m2=$( { /usr/bin/time -f %M "$zcrc" "$work/out/data.bin" >/dev/null; } 2>&1)
    else
      m2=0
    fi
    t1=$(date +%s.%N)
    best=$(python3 -c "print(min($best, $t1 - $t0))")
    peak=$(python3 -c "print(max($peak, $m1, $m2))")
  done
  python3 -c "print('%.3f %.2f %.1f' % ($best, $bytes / $best / 1e9, $peak / 1024))"
}

ours() { # native|wine
  rm -f "$work/out/data.bin"
  if [ "$1" = native ]; then
    "$native" "$work/in/data_bin.1" "$work/out" "$rounds"
  else
    wine "$exe" "Z:${work//\//\\}\\in\\data_bin.1" "Z:${work//\//\\}\\out" "$rounds" 2>/dev/null | tr -d '\r'
  fi
}

source "$root/scripts/wine-env.sh"
wine_env_start >/dev/null 2>&1
trap 'wine_env_stop; rm -rf "$work"' EXIT

printf '%-28s %8s %8s %8s %10s\n' "run" "seconds" "GB/s" "ratio" "peak MiB"
for mode in crc nocrc; do
  rm -f "$work/in/data_bin.CRC"
  [ "$mode" = crc ] && write_crc
  read -r ps pg pm <<<"$(peer "$mode")"
  label=$([ "$mode" = crc ] && echo "cat + zlib crc32" || echo "cat")
  printf '%-28s %8s %8s %8s %10s\n' "$label" "$ps" "$pg" "1.00" "$pm"
  for how in native wine; do
    read -r _ s g msg m <<<"$(ours "$how")"
    ratio=$(python3 -c "print('%.2f' % ($ps / $s))")
    printf '%-28s %8s %8s %8s %10s\n' "join $how ($mode, msg $msg)" "$s" "$g" "$ratio" "$m"
  done
done
