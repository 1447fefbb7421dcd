#!/usr/bin/env bash
# Runs every test: the native unit tests, the Windows-side unit tests under
# Wine and the end-to-end tests that drive the real programs through their
# windows. Ends with ctest's summary; exits non-zero when any test fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"

source "$root/scripts/wine-env.sh"
wine_env_start
trap wine_env_stop EXIT

# One ctest run over both trees, so there is one summary line at the end.
cat > "$root/build/CTestTestfile.cmake" <<CT
subdirs("native")
subdirs("windows")
CT
cd "$root/build"
ctest --output-on-failure -j 2 "$@"
