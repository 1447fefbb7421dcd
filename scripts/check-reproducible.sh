#!/usr/bin/env bash
# Builds the release twice from scratch, in two build folders of different
# names, and compares the programs, the zips and the MSIs byte for byte.
# Exits non-zero when any of them differ. Takes about twice a release build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work="$root/build/reproducible"
rm -rf "$work"
for run in first second-run; do
  RELEASE_TREE="$work/$run-tree" RELEASE_OUT="$work/$run" \
    bash "$root/scripts/release.sh" >"$work.$run.log" 2>&1 ||
    { echo "release build failed, see $work.$run.log"; exit 1; }
done

differ=0
compare() { # label file-a file-b
  if cmp -s "$2" "$3"; then
    echo "same       $1"
  else
    echo "DIFFERENT  $1"
    differ=1
  fi
}
for exe in Ombriel.exe Zelbrin.exe; do
  compare "$exe" "$work/first-tree/bin/$exe" "$work/second-run-tree/bin/$exe"
done
for f in "$work"/first/*; do
  compare "$(basename "$f")" "$f" "$work/second-run/$(basename "$f")"
done
exit "$differ"
