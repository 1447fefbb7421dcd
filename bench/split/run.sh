#!/usr/bin/env bash
# Splits one 1 GiB file into 8 pieces and into 100 MB pieces, with and without
# the checksum, with the core's engine natively and as a Windows program under
# Wine, and with GNU split in the same run. Best of N runs per case, the
# contenders taking turns; the target is emptied and synced between runs (not
# timed).
#   bash bench/split/run.sh [runs] [work folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-3}
work=${2:-$root/build/bench-split}
cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/native" --target split_bench -j 2 >/dev/null
cmake -S "$root" -B "$root/build/windows" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$root/build/windows" --target split_bench -j 2 >/dev/null
source "$root/scripts/wine-env.sh"
wine_env_start >/dev/null 2>&1
trap wine_env_stop EXIT

mkdir -p "$work/out"
src="$work/source.bin"
if [ ! -f "$src" ] || [ "$(stat -c %s "$src")" != 1073741824 ]; then
  head -c 1073741824 /dev/urandom > "$src"
fi
cat "$src" > /dev/null   # every tool reads it from the page cache
size=1073741824
native="$root/build/native/bench/split/split_bench"
windows="$root/build/windows/bin/split_bench.exe"
winsrc="Z:$(echo "$src" | tr / '\\')"
winout="Z:$(echo "$work/out" | tr / '\\')"

fresh() { rm -rf "$work/out"; mkdir -p "$work/out"; sync; }

# keep <key> <"seconds peakMB">: remembers the fastest run of each key.
declare -A bestS bestM
keep() {
  local s m
  s=$(echo "$2" | awk '{print $1}'); m=$(echo "$2" | awk '{print $2}')
  if [ -z "${bestS[$1]:-}" ] || awk "BEGIN{exit !($s < ${bestS[$1]})}"; then
    bestS[$1]=$s; bestM[$1]=$m
  fi
}

engine() { # native|windows method value crc
  local out
  if [ "$1" = native ]; then
    out=$("$native" "$src" "$work/out" "$2" "$3" "$4")
  else
    out=$(wine "$windows" "$winsrc" "$winout" "$2" "$3" "$4" 2>/dev/null | tr -d '\r')
  fi
  echo "$out" | awk '{print $1, $6}'
}

gnu_split() { # split options...
  local t
  t=$( { /usr/bin/time -f "%e %M" split "$@" "$src" "$work/out/x" ; } 2>&1 | tail -1)
  echo "$t" | awk '{print $1, $2/1024}'
}

report() { # label seconds peak peerSeconds
  awk -v l="$1" -v s="$2" -v m="$3" -v p="$4" -v n="$size" \
    'BEGIN{printf "  %-34s %6.3f s  %5.2f GB/s  ratio %4.2f  peak %6.1f MB\n", l, s, n/s/1e9, p/s, m}'
}

# Within a case the runs take turns (GNU split, then the engine natively and
# under Wine, without and with the checksum), so a busy moment on a shared
# machine costs each of them alike.
for case in "pieces 8 -n 8" "size 100 -b 100M"; do
  set -- $case
  method=$1 value=$2; shift 2
  echo "== $method $value (1 GiB source)"
  bestS=(); bestM=()
  for _ in $(seq "$runs"); do
    fresh; keep gnu "$(gnu_split "$@")"
    for crc in 0 1; do
      for where in native windows; do
        fresh; keep "$where $crc" "$(engine "$where" "$method" "$value" "$crc")"
      done
    done
  done
  gs=${bestS[gnu]}
  report "GNU split $*" "$gs" "${bestM[gnu]}" "$gs"
  for crc in 0 1; do
    report "engine native, crc $crc" "${bestS[native $crc]}" "${bestM[native $crc]}" "$gs"
    report "engine under Wine, crc $crc" "${bestS[windows $crc]}" "${bestM[windows $crc]}" "$gs"
  done
  awk -v n0="${bestS[native 0]}" -v n1="${bestS[native 1]}" -v w0="${bestS[windows 0]}" \
      -v w1="${bestS[windows 1]}" 'BEGIN{
    printf "  speed with CRC / without: native %.2f, under Wine %.2f\n", n0 / n1, w0 / w1 }'
done
fresh
echo "ratio = GNU split time / engine time (1.0 or more: at least as fast as split)"
