#!/usr/bin/env bash
# Runs every fuzz harness with libFuzzer, one after another, and says per
# harness how many inputs it ran and what it found.
# Usage: fuzz.sh [seconds per harness, default 60] [harness ...]
# Builds build/fuzz with clang (installed here when missing: only this script
# needs it). New inputs that widen the coverage stay in build/fuzz/work/; an
# input that makes a harness fail is saved in build/fuzz/findings/<harness>/ and
# belongs in fuzz/regressions/<harness>/ once the fault is mended.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true

bash "$root/scripts/install-deps.sh" clang libclang-rt-14-dev cmake make

build="$root/build/fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DFUZZ_ENGINE=ON \
  >/dev/null
cmake --build "$build" --target fuzz_all -j 2 >/dev/null

if [ $# -gt 0 ]; then
  harnesses=("$@")
else
  harnesses=()
  for f in "$root"/fuzz/register/*_fuzz.cpp "$root"/fuzz/splitter/*_fuzz.cpp; do
    n=$(basename "$f" _fuzz.cpp)
    harnesses+=("$n")
  done
fi

# The .CRC harness writes files for every input: memory is far quicker than disk.
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm

summary=()
failed=0
for h in "${harnesses[@]}"; do
  work="$build/work/$h"
  findings="$build/findings/$h/$(date +%Y%m%d-%H%M%S)"
  log="$build/logs/$h.log"
  mkdir -p "$work" "$findings" "$(dirname "$log")"
  seeds=("$root/fuzz/corpus/$h")
  [ -d "$root/fuzz/regressions/$h" ] && seeds+=("$root/fuzz/regressions/$h")
  maxlen=4096
  [ "$h" = crc32 ] && maxlen=8192
  echo "== $h: ${seconds}s"
  set +e
  "$build/fuzz/fuzz_$h" -max_total_time="$seconds" -max_len="$maxlen" -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$work" "${seeds[@]}" >"$log" 2>&1
  rc=$?
  set -e
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  found=$(find "$findings" -type f | wc -l)
  if [ "$rc" -eq 0 ] && [ "$found" -eq 0 ]; then
    line="$h: ${runs:-?} inputs, 0 findings"
  else
    failed=1
    line="$h: ${runs:-?} inputs, $found finding(s) in $findings (exit $rc, log $log)"
    grep -m3 -E 'ERROR|check failed|runtime error' "$log" || true
  fi
  echo "$line"
  summary+=("$line")
done

echo
echo "Summary (${seconds}s per harness):"
printf '  %s\n' "${summary[@]}"
exit "$failed"
