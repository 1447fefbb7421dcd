#!/usr/bin/env bash
# Runs every test: the native unit tests (also under the sanitizers), the
# Windows-side unit tests under Wine and the end-to-end tests that drive the
# real programs through their windows; each build replays the fuzz inputs.
# Ends with ctest's summary; exits non-zero when any test fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
# The native tests once more under AddressSanitizer and UBSan: a report of
# either fails its test (tests named sanitize.*).
cmake -S "$root" -B "$root/build/sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSANITIZE=ON \
      >/dev/null
cmake --build "$root/build/sanitize" -j "$(nproc)"

source "$root/scripts/wine-env.sh"
wine_env_start
trap wine_env_stop EXIT

# One ctest run over the three trees, so there is one summary line at the end.
cat > "$root/build/CTestTestfile.cmake" <<CT
subdirs("native")
subdirs("sanitize")
subdirs("windows")
CT
cd "$root/build"
ctest --output-on-failure -j 2 "$@"
