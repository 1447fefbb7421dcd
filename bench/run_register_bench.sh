#!/usr/bin/env bash
# Register reload benchmark on registers of record files (BENCH_SIZES,
# default 1,000, 10,000 and 100,000). Natively and under Wine, in one process:
# the bare listing of Doc and the bare list/open/read loop beside the first
# start (no cache), the second start (the first one's cache) and a command's
# reload after one record changed. Under Wine, then, Ombriel.exe started on
# each register (time until the window shows the filled grid, peak memory),
# at a first and a second start.
# With BENCH_BEFORE=<commit> the same figures of that commit's program are
# taken in the same run (its tree is built in build/bench-before).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sizes=(${BENCH_SIZES:-1000 10000 100000})
work="$root/build/bench"
mkdir -p "$work"

cmake --build "$root/build/native" --target ombriel_reload_bench -j2 >/dev/null
cmake --build "$root/build/windows" --target ombriel_reload_bench ombriel_fill_bench Ombriel -j2 >/dev/null
native="$root/build/native/bench/ombriel_reload_bench"

before=""
if [ -n "${BENCH_BEFORE:-}" ]; then
  before="$root/build/bench-before"
  if [ ! -d "$before/src" ]; then
    mkdir -p "$before/src"
    git -C "$root" archive "$BENCH_BEFORE" | tar -x -C "$before/src"
  fi
  cmake -S "$before/src" -B "$before/native" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
  cmake -S "$before/src" -B "$before/windows" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
    -DCMAKE_TOOLCHAIN_FILE="$before/src/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$before/native" --target ombriel_reload_bench -j2 >/dev/null
  cmake --build "$before/windows" --target Ombriel ombriel_reload_bench -j2 >/dev/null
fi

folders=()
for n in "${sizes[@]}"; do
  f="$work/reg_$n"
  if [ "$(find "$f/Doc" -name '*.dat' 2>/dev/null | wc -l)" != "$n" ]; then
    "$native" --make "$n" "$f"
  fi
  folders+=("reg_$n")
done
mkdir -p "$work/reg_0"
printf '""\r\n""\r\n""\r\n' > "$work/reg_0/Ombriel.ini"

echo "== native (Linux): bare listing, bare loop, first and second start, reload after one change"
(cd "$work" && "$native" "${folders[@]}")
if [ -n "$before" ]; then
  echo "== native, $BENCH_BEFORE: its reload (every start and every reload read every record)"
  (cd "$work" && "$before/native/bench/ombriel_reload_bench" "${folders[@]}")
fi

source "$root/scripts/wine-env.sh"
wine_env_start
trap wine_env_stop EXIT
bin="$root/build/windows/bin"
echo "== Wine: the same, in one process"
(cd "$work" && wine "$bin/ombriel_reload_bench.exe" "${folders[@]}" </dev/null 2>/dev/null)
if [ -n "$before" ]; then
  echo "== Wine, $BENCH_BEFORE: its reload, in one process"
  (cd "$work" && wine "$before/windows/bin/ombriel_reload_bench.exe" "${folders[@]}" </dev/null 2>/dev/null)
fi
echo "== Wine: Ombriel.exe from process start to the filled grid, beside the bare loop in a fresh process"
(cd "$work" && wine "$bin/ombriel_fill_bench.exe" "$bin/Ombriel.exe" "$bin/ombriel_reload_bench.exe" reg_0 "${folders[@]}" </dev/null 2>/dev/null)
if [ -n "$before" ]; then
  echo "== Wine, $BENCH_BEFORE: its Ombriel.exe the same way (it keeps no cache: both starts alike)"
  (cd "$work" && wine "$bin/ombriel_fill_bench.exe" "$before/windows/bin/Ombriel.exe" "$bin/ombriel_reload_bench.exe" reg_0 "${folders[@]}" </dev/null 2>/dev/null)
fi
