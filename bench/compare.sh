#!/usr/bin/env bash
# Zelbrin before and after a change, in one run on the same 1 GiB file: the
# split and join engines natively (split_bench, join_bench: 8 pieces with the
# checksum, then their join) and the whole program under Wine through its
# dialog (zelbrin_dialog_bench: the same split and join, timed from the
# user's "Yes" to the final box). The two builds take turns, best of N each;
# the ratio is after / before (above 1: slower).
#   bash bench/compare.sh <before commit> [runs, default 3] [work folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
before_rev=${1:?usage: bench/compare.sh <before commit> [runs] [work folder]}
runs=${2:-3}
work=${3:-$root/build/bench-compare}
mkdir -p "$work"

# build <source tree> <build folder>: the two benches natively, the program
# for Windows.
build() {
  cmake -S "$1" -B "$2/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$2/native" --target split_bench join_bench -j "$(nproc)" >/dev/null
  cmake -S "$1" -B "$2/windows" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$1/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$2/windows" --target Zelbrin -j "$(nproc)" >/dev/null
}
before_id=$(git -C "$root" rev-parse --short "$before_rev")
tree="$work/before-tree"
rm -rf "$tree"; mkdir -p "$tree"
git -C "$root" archive "$before_rev" | tar -x -C "$tree"
build "$tree" "$work/before"
build "$root" "$work/after"
cmake --build "$work/after/windows" --target zelbrin_dialog_bench -j "$(nproc)" >/dev/null
dialog_bench="$work/after/windows/bin/zelbrin_dialog_bench.exe"

source "$root/scripts/wine-env.sh"
wine_env_start >/dev/null 2>&1
trap wine_env_stop EXIT

src="$work/source.iso"
if [ ! -f "$src" ] || [ "$(stat -c %s "$src")" != 1073741824 ]; then
  head -c 1073741824 /dev/urandom > "$src"
fi
cat "$src" > /dev/null
winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }
fresh() { rm -rf "$work/out"; mkdir -p "$work/out/pieces" "$work/out/joined"; sync; }

# One run of one build; prints "split_s join_s".
engines() { # build folder
  local bin="$1/native/bench" s j
  fresh
  s=$("$bin/split/split_bench" "$src" "$work/out/pieces" pieces 8 1 | awk '{print $1}')
  j=$("$bin/join/join_bench" "$work/out/pieces/source_iso.1" "$work/out/joined" 1 | awk '{print $2}')
  echo "$s $j"
}
program() { # build folder
  fresh
  wine "$dialog_bench" "$(winpath "$1/windows/bin/Zelbrin.exe")" "$(winpath "$src")" \
       "$(winpath "$work/out")" 2>/dev/null | tr -d '\r' | awk '{print $2, $4}'
}

# compare <label> <function>: alternates the builds, keeps each one's best.
compare() {
  local bs="" bj="" as="" aj="" s j
  for _ in $(seq "$runs"); do
    read -r s j < <("$2" "$work/before")
    bs=$(awk -v a="$bs" -v b="$s" 'BEGIN{print (a == "" || b < a) ? b : a}')
    bj=$(awk -v a="$bj" -v b="$j" 'BEGIN{print (a == "" || b < a) ? b : a}')
    read -r s j < <("$2" "$work/after")
    as=$(awk -v a="$as" -v b="$s" 'BEGIN{print (a == "" || b < a) ? b : a}')
    aj=$(awk -v a="$aj" -v b="$j" 'BEGIN{print (a == "" || b < a) ? b : a}')
  done
  awk -v l="$1" -v bs="$bs" -v as="$as" -v bj="$bj" -v aj="$aj" 'BEGIN{
    printf "  %-28s split %6.3f s -> %6.3f s  ratio %4.2f\n", l, bs, as, as / bs
    printf "  %-28s join  %6.3f s -> %6.3f s  ratio %4.2f\n", "", bj, aj, aj / bj }'
}

echo "before $before_id, after $(git -C "$root" rev-parse --short HEAD)" \
     "(with uncommitted changes: $(git -C "$root" status --porcelain | wc -l) files); best of $runs"
compare "engines, native" engines
compare "Zelbrin.exe under Wine" program
fresh
