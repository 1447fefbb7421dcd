#!/usr/bin/env bash
# Joins the pieces of a 1 GiB file with and without a .CRC file: the core's
# join engine natively and as a Windows program under Wine, beside `cat` of
# the same pieces plus zlib's crc32 over the result, in one run. Reports
# GB/s, the ratio join / (cat + crc), peak memory and the time of a join
# with the .CRC check over the time of one without.
#   bench/join/run.sh [MiB, default 1024] [rounds, default 5]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
mib=${1:-1024}
rounds=${2:-5}
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
echo "set: $n pieces, $bytes bytes, crc $crc; page cache warm"

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

ours_once() { # native|wine -> "join seconds GB/s message peakMiB privateMiB cpuSeconds"
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

# The machine is shared: every round runs each contender with and without
# the .CRC, the two in turn and in the other order the next round, and each
# keeps the median of its rounds, so a burst of load elsewhere weighs on
# neither side of a ratio alone.
declare -A times cpus peak private msg
for ((r = 0; r < rounds; r++)); do
  order="crc nocrc"
  ((r % 2)) && order="nocrc crc"
  for mode in $order; do
    rm -f "$work/in/data_bin.CRC"
    [ "$mode" = crc ] && write_crc
    read -r s m <<<"$(peer_once "$mode")"
    times[peer,$mode]+="$s "; peak[peer,$mode]=$(python3 -c "print(max(${peak[peer,$mode]:-0}, $m / 1024))")
    for where in native wine; do
      read -r _ s _ id m p c <<<"$(ours_once $where)"
      times[$where,$mode]+="$s "; cpus[$where,$mode]+="$c "; msg[$where,$mode]=$id
      peak[$where,$mode]=$(python3 -c "print(max(${peak[$where,$mode]:-0}, $m))")
      private[$where,$mode]=$(python3 -c "print(max(${private[$where,$mode]:--1}, $p))")
    done
  done
done
median() { python3 -c "import statistics,sys; print(statistics.median(map(float, sys.argv[1:])))" $1; }

echo "median of $rounds rounds; peak = working set (mapped file pages included), private = commit charge (Windows only)"
printf '%-30s %8s %8s %8s %10s %12s\n' "run" "seconds" "GB/s" "ratio" "peak MiB" "private MiB"
row() { # label seconds peerSeconds peak private
  python3 -c "import sys; l,s,p,m,v=sys.argv[1],float(sys.argv[2]),float(sys.argv[3]),float(sys.argv[4]),float(sys.argv[5]); print('%-30s %8.3f %8.2f %8.2f %10.1f %12s' % (l, s, $bytes/s/1e9, p/s, m, '%.1f' % v if v >= 0 else '-'))" "$@"
}
declare -A med
for mode in crc nocrc; do
  for who in peer native wine; do med[$who,$mode]=$(median "${times[$who,$mode]}"); done
  label=$([ "$mode" = crc ] && echo "cat + zlib crc32" || echo "cat")
  row "$label" "${med[peer,$mode]}" "${med[peer,$mode]}" "${peak[peer,$mode]}" -1
  for where in native wine; do
    row "join $where ($mode, msg ${msg[$where,$mode]})" "${med[$where,$mode]}" "${med[peer,$mode]}" \
        "${peak[$where,$mode]}" "${private[$where,$mode]}"
  done
done
python3 -c "import sys; n1,n0,w1,w0=map(float,sys.argv[1:]); print('join with .CRC / without: native %.2f, under Wine %.2f' % (n1/n0, w1/w0))" \
  "${med[native,crc]}" "${med[native,nocrc]}" "${med[wine,crc]}" "${med[wine,nocrc]}"
# Processor time hardly moves with the load of other programs, which a
# shared machine's clock times show; Wine's server is not counted.
declare -A cpu
for key in native,crc native,nocrc wine,crc wine,nocrc; do cpu[$key]=$(median "${cpus[$key]}"); done
python3 -c "import sys; n1,n0,w1,w0=map(float,sys.argv[1:]); print('by processor time (s): native %.3f / %.3f = %.2f, under Wine %.3f / %.3f = %.2f' % (n1, n0, n1/n0, w1, w0, w1/w0))" \
  "${cpu[native,crc]}" "${cpu[native,nocrc]}" "${cpu[wine,crc]}" "${cpu[wine,nocrc]}"
