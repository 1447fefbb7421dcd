#!/usr/bin/env bash
# Builds the downloads of a release from a clean build folder: for Ombriel and
# Zelbrin a portable zip and an MSI each, and SHA256SUMS over them, in
# build/release. Two runs on the same commit give the same bytes (see
# scripts/check-reproducible.sh).
#   RELEASE_TREE  build folder, emptied first (default build/release-tree)
#   RELEASE_OUT   where the downloads go (default build/release)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tree=${RELEASE_TREE:-$root/build/release-tree}
out=${RELEASE_OUT:-$root/build/release}
bash "$root/scripts/install-deps.sh"

if [ -n "$(git -C "$root" status --porcelain 2>/dev/null)" ]; then
  echo "release.sh: the work tree has changes that are not committed;" \
       "these downloads are not those of a commit." >&2
fi
# Every file in the downloads carries the time of the commit.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 315532800)}
export SOURCE_DATE_EPOCH

rm -rf "$tree"
cmake -S "$root" -B "$tree" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$tree" --target release_packages -j 2
rm -rf "$out"
mkdir -p "$out"
cp "$tree"/release/* "$out"/
echo "Release in $out:"
(cd "$out" && ls -l && cat SHA256SUMS)
