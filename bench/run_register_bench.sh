#!/usr/bin/env bash
# Register reload benchmark: registers of 1,000, 10,000, 32,767 and 100,000
# record files; natively the core's reload against a bare list/open/read loop;
# under Wine the same pair in-process, then Ombriel.exe started on each
# register (time until the window shows the filled grid, peak memory).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sizes=(${BENCH_SIZES:-1000 10000 32767 100000})
work="$root/build/bench"
mkdir -p "$work"

cmake --build "$root/build/native" --target ombriel_reload_bench -j2 >/dev/null
cmake --build "$root/build/windows" --target ombriel_reload_bench ombriel_fill_bench Ombriel -j2 >/dev/null
native="$root/build/native/bench/ombriel_reload_bench"

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

echo "== native (Linux): core reload vs bare loop"
(cd "$work" && "$native" "${folders[@]}")

source "$root/scripts/wine-env.sh"
wine_env_start
trap wine_env_stop EXIT
bin="$root/build/windows/bin"
echo "== Wine: core reload vs bare loop, in one process"
(cd "$work" && wine "$bin/ombriel_reload_bench.exe" "${folders[@]}" </dev/null 2>/dev/null)
echo "== Wine: Ombriel.exe from process start to the filled grid"
(cd "$work" && wine "$bin/ombriel_fill_bench.exe" "$bin/Ombriel.exe" reg_0 "${folders[@]}" </dev/null 2>/dev/null)
