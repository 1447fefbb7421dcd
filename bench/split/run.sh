#!/usr/bin/env bash
# Splits one 1 GiB file into 8 pieces and into 100 MB pieces, with and without
# the checksum, with the core's engine natively and as a Windows program under
# Wine, and with GNU split in the same run. The median of N runs per case,
# the contenders taking turns; the target is emptied and synced between runs
# (not timed).
#   bash bench/split/run.sh [runs, default 5] [work folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-5}
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

# keep <key> <"seconds peakMB cpuSeconds">: adds a run of the key; the peak
# is the largest of its runs.
declare -A runS runC peakM
keep() {
  local s m c
  read -r s m c <<<"$2"
  runS[$1]+="$s "; runC[$1]+="$c "
  peakM[$1]=$(awk -v a="${peakM[$1]:-0}" -v b="$m" 'BEGIN{print (b > a) ? b : a}')
}
median() { echo "$1" | tr ' ' '\n' | grep . | sort -g | awk '{v[NR] = $1} END{
  print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

engine() { # native|windows method value crc
  local out
  if [ "$1" = native ]; then
    out=$("$native" "$src" "$work/out" "$2" "$3" "$4")
  else
    out=$(wine "$windows" "$winsrc" "$winout" "$2" "$3" "$4" 2>/dev/null | tr -d '\r')
  fi
  echo "$out" | awk '{print $1, $6, $11}'
}

gnu_split() { # split options...
  local t
  t=$( { /usr/bin/time -f "%e %M %U %S" split "$@" "$src" "$work/out/x" ; } 2>&1 | tail -1)
  echo "$t" | awk '{print $1, $2/1024, $3 + $4}'
}

report() { # label seconds peak peerSeconds cpuSeconds
  awk -v l="$1" -v s="$2" -v m="$3" -v p="$4" -v c="$5" -v n="$size" \
    'BEGIN{printf "  %-34s %6.3f s  %5.2f GB/s  ratio %4.2f  peak %6.1f MB  cpu %6.3f s\n", l, s, n/s/1e9, p/s, m, c}'
}

# Within a case the runs take turns (GNU split, then the engine natively and
# under Wine, each without and with the checksum back to back, the two in the
# other order the next run), so a busy moment on a shared machine costs each
# of them alike, and each keeps the median of its runs: one burst of load
# elsewhere moves a median less than it moves a best or a mean.
for case in "pieces 8 -n 8" "size 100 -b 100M"; do
  set -- $case
  method=$1 value=$2; shift 2
  echo "== $method $value (1 GiB source), median of $runs runs"
  runS=(); peakM=()
  for run in $(seq "$runs"); do
    fresh; keep gnu "$(gnu_split "$@")"
    order="0 1"
    ((run % 2)) || order="1 0"
    for where in native windows; do
      for crc in $order; do
        fresh; keep "$where $crc" "$(engine "$where" "$method" "$value" "$crc")"
      done
    done
  done
  declare -A med=() cpu=()
  for key in gnu "native 0" "native 1" "windows 0" "windows 1"; do
    med[$key]=$(median "${runS[$key]}")
    cpu[$key]=$(median "${runC[$key]}")
  done
  gs=${med[gnu]}
  report "GNU split $*" "$gs" "${peakM[gnu]}" "$gs" "${cpu[gnu]}"
  for crc in 0 1; do
    report "engine native, crc $crc" "${med[native $crc]}" "${peakM[native $crc]}" "$gs" \
           "${cpu[native $crc]}"
    report "engine under Wine, crc $crc" "${med[windows $crc]}" "${peakM[windows $crc]}" "$gs" \
           "${cpu[windows $crc]}"
  done
  awk -v n0="${med[native 0]}" -v n1="${med[native 1]}" -v w0="${med[windows 0]}" \
      -v w1="${med[windows 1]}" 'BEGIN{
    printf "  speed with CRC / without: native %.2f, under Wine %.2f\n", n0 / n1, w0 / w1 }'
  # A busy moment only ever adds time, and it seldom falls on both runs of
  # one round: the ratio of each round's two runs, and that of the two best
  # runs, show a cost of a few per cent that the medians' swings can hide.
  for where in native windows; do
    python3 -c "import statistics,sys
w0 = list(map(float, sys.argv[2].split())); w1 = list(map(float, sys.argv[3].split()))
print('  %s: median of the rounds\' ratios %.2f, best without / best with %.2f' % (sys.argv[1],
      statistics.median(a / b for a, b in zip(w0, w1)), min(w0) / min(w1)))" \
      "$([ $where = native ] && echo native || echo 'under Wine')" "${runS[$where 0]}" "${runS[$where 1]}"
  done
  # Processor time hardly moves with the load of other programs, which a
  # shared machine's clock times show; Wine's server is not counted.
  awk -v n0="${cpu[native 0]}" -v n1="${cpu[native 1]}" -v w0="${cpu[windows 0]}" \
      -v w1="${cpu[windows 1]}" 'BEGIN{
    printf "  by processor time, with CRC / without: native %.2f, under Wine %.2f\n", n0 / n1, w0 / w1 }'
  echo "  runs (s): native 0: ${runS[native 0]}| native 1: ${runS[native 1]}"
  echo "            Wine 0: ${runS[windows 0]}| Wine 1: ${runS[windows 1]}"
done
fresh
echo "ratio = GNU split time / engine time (1.0 or more: at least as fast as split); cpu = user + system processor time of the split itself"
