#!/usr/bin/env bash
# Runs the whole test command N times in a row (default 10) and counts the
# runs that failed, to show that the tests pass the first time, every time.
# Each run's output is kept in build/soak/run-K.log.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-10}
mkdir -p "$root/build/soak"
failed=0
for k in $(seq 1 "$runs"); do
  log="$root/build/soak/run-$k.log"
  start=$(date +%s)
  if bash "$root/scripts/test.sh" >"$log" 2>&1; then
    result=passed
  else
    result=FAILED
    failed=$((failed + 1))
  fi
  summary=$(grep -E 'tests passed|tests failed' "$log" | tail -n 1)
  echo "run $k: $result in $(( $(date +%s) - start )) s: $summary"
  grep -E '^[[:space:]]+[0-9]+ - .*\((Failed|Timeout|SEGFAULT|Exception)' "$log" | sed 's/^/    /'
done
echo "$((runs - failed)) of $runs runs passed, $failed failed"
[ "$failed" -eq 0 ]
