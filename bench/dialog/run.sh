#!/usr/bin/env bash
# Zelbrin.exe through its dialog under Wine, before and after a change, in
# one run: a 2 GiB file split into 8 pieces and joined again, without and
# with CRC Check, timed from the user's "Yes" to the final box (the start of
# the program is not counted). The builds take turns, best of N each.
#   bash bench/dialog/run.sh <before commit> [runs, default 3] [MiB, default 2048] [work folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
before_rev=${1:?usage: bench/dialog/run.sh <before commit> [runs] [MiB] [work folder]}
runs=${2:-3}
mib=${3:-2048}
work=${4:-$root/build/bench-dialog}
mkdir -p "$work"

build() { # source tree, build folder
  cmake -S "$1" -B "$2" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$1/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$2" --target Zelbrin -j 2 >/dev/null
}
tree="$work/before-tree"
rm -rf "$tree"; mkdir -p "$tree"
git -C "$root" archive "$before_rev" | tar -x -C "$tree"
build "$tree" "$work/before"
build "$root" "$root/build/windows"
cmake --build "$root/build/windows" --target zelbrin_dialog_bench -j 2 >/dev/null
bench="$root/build/windows/bin/zelbrin_dialog_bench.exe"

source "$root/scripts/wine-env.sh"
wine_env_start >/dev/null 2>&1
trap wine_env_stop EXIT

src="$work/source.iso"
if [ ! -f "$src" ] || [ "$(stat -c %s "$src")" != $((mib << 20)) ]; then
  head -c $((mib << 20)) /dev/urandom > "$src"
fi
cat "$src" > /dev/null
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }

once() { # exe crc -> "split_s join_s"
  rm -rf "$work/out"; mkdir -p "$work/out"; sync
  wine "$bench" "$(winpath "$1")" "$(winpath "$src")" "$(winpath "$work/out")" "$2" \
       2>/dev/null | tr -d '\r' | awk '{print $2, $4}'
}
min() { awk -v a="$1" -v b="$2" 'BEGIN{print (a == "" || b < a) ? b : a}'; }

declare -A best
for _ in $(seq "$runs"); do
  for b in before after; do
    exe="$work/before/bin/Zelbrin.exe"
    [ $b = after ] && exe="$root/build/windows/bin/Zelbrin.exe"
    for crc in 0 1; do
      read -r s j < <(once "$exe" $crc)
      best[$b,$crc,s]=$(min "${best[$b,$crc,s]:-}" "$s")
      best[$b,$crc,j]=$(min "${best[$b,$crc,j]:-}" "$j")
    done
  done
done
rm -rf "$work/out"
echo "before $(git -C "$root" rev-parse --short "$before_rev"), after $(git -C "$root" rev-parse --short HEAD)" \
     "(uncommitted files: $(git -C "$root" status --porcelain | wc -l)); $mib MiB into 8 pieces; best of $runs"
for b in before after; do
  for op in s j; do
    label=$([ $op = s ] && echo split || echo join)
    awk -v b=$b -v l=$label -v n="${best[$b,0,$op]}" -v c="${best[$b,1,$op]}" -v m="$mib" 'BEGIN{
      printf "  %-6s %-5s without CRC %6.3f s  with CRC %6.3f s  speed with/without %4.2f  (%.2f GB/s with)\n",
             b, l, n, c, n / c, m * 1048576 / c / 1e9 }'
  done
done
