#!/usr/bin/env bash
# Register reload benchmark on registers of record files (BENCH_SIZES,
# default 1,000, 10,000 and 100,000). Natively and under Wine, in one process:
# the bare listing of Doc and the bare list/open/read loop beside the first
# start (no cache), the second start (the first one's cache) and a command's
# reload after one record changed. Under Wine, then, Ombriel.exe started on
# each register (time until the window shows the filled grid, peak memory),
# at a first and a second start. Natively, the peak memory of each run.
# With BENCH_BEFORE="<commit> ..." the same figures of those commits' programs
# are taken in the same run (each tree is built in build/bench-before-<commit>).
# BENCH_ROUNDS sets how many times the bare loop and the first start alternate
# (default 3); each figure is the median of its rounds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sizes=(${BENCH_SIZES:-1000 10000 100000})
work="$root/build/bench"
mkdir -p "$work"

cmake --build "$root/build/native" --target ombriel_reload_bench -j2 >/dev/null
cmake --build "$root/build/windows" --target ombriel_reload_bench ombriel_fill_bench Ombriel -j2 >/dev/null
native="$root/build/native/bench/ombriel_reload_bench"

befores=(${BENCH_BEFORE:-})
for commit in "${befores[@]}"; do
  before="$root/build/bench-before-$commit"
  if [ ! -d "$before/src" ]; then
    mkdir -p "$before/src"
    git -C "$root" archive "$commit" | tar -x -C "$before/src"
  fi
  cmake -S "$before/src" -B "$before/native" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
  cmake -S "$before/src" -B "$before/windows" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
    -DCMAKE_TOOLCHAIN_FILE="$before/src/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$before/native" --target ombriel_reload_bench -j2 >/dev/null
  cmake --build "$before/windows" --target Ombriel ombriel_reload_bench -j2 >/dev/null
done

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
# Peak memory natively, of one process per start as a run of the program:
# a first start (no cache), then a second (the first's cache), each followed
# by a reload after one change. Starts after one another in one process
# would count what the allocator keeps of each thread's frees as well.
echo "== native: peak resident memory of a run, by start"
for f in "${folders[@]}"; do
  rm -f "$work/$f.bench-cache"
  for start in first second; do
    (cd "$work" && /usr/bin/time -f "  $f, $start start: %M KiB" "$native" --start "$f" >/dev/null)
  done
done
peak_of_run() { /usr/bin/time -f "  peak resident memory of the run: %M KiB" "$@"; }
for commit in "${befores[@]}"; do
  echo "== native, $commit: its reload"
  (cd "$work" && peak_of_run "$root/build/bench-before-$commit/native/bench/ombriel_reload_bench" "${folders[@]}")
done

source "$root/scripts/wine-env.sh"
wine_env_start
trap wine_env_stop EXIT
bin="$root/build/windows/bin"
echo "== Wine: the same, in one process"
(cd "$work" && wine "$bin/ombriel_reload_bench.exe" "${folders[@]}" </dev/null 2>/dev/null)
for commit in "${befores[@]}"; do
  echo "== Wine, $commit: its reload, in one process"
  (cd "$work" && wine "$root/build/bench-before-$commit/windows/bin/ombriel_reload_bench.exe" "${folders[@]}" </dev/null 2>/dev/null)
done
echo "== Wine: Ombriel.exe from process start to the filled grid, beside the bare loop in a fresh process"
(cd "$work" && wine "$bin/ombriel_fill_bench.exe" "$bin/Ombriel.exe" "$bin/ombriel_reload_bench.exe" reg_0 "${folders[@]}" </dev/null 2>/dev/null)
for commit in "${befores[@]}"; do
  echo "== Wine, $commit: its Ombriel.exe the same way"
  (cd "$work" && wine "$bin/ombriel_fill_bench.exe" "$root/build/bench-before-$commit/windows/bin/Ombriel.exe" "$bin/ombriel_reload_bench.exe" reg_0 "${folders[@]}" </dev/null 2>/dev/null)
done
