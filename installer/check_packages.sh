#!/usr/bin/env bash
# Checks the downloads in a release folder: each zip holds exactly the files
# it should, and SHA256SUMS names every download there and matches it.
#   check_packages.sh RELEASE_DIR ZIP "FILE..." [ZIP "FILE..."]...
set -uo pipefail
dir=${1:?usage: check_packages.sh RELEASE_DIR ZIP "FILE..." ...}
shift
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

while [ $# -ge 2 ]; do
  zip=$1 expected=$2
  shift 2
  if [ ! -f "$dir/$zip" ]; then
    fail "$zip is missing"
    continue
  fi
  held=$(unzip -Z1 "$dir/$zip" | sort | tr '\n' ' ')
  want=$(printf '%s\n' $expected | sort | tr '\n' ' ')
  [ "$held" = "$want" ] || fail "$zip holds [$held], expected [$want]"
  # Nothing in a zip is damaged.
  unzip -tq "$dir/$zip" >/dev/null || fail "$zip does not test clean"
done

if [ ! -f "$dir/SHA256SUMS" ]; then
  fail "SHA256SUMS is missing"
else
  listed=$(awk '{ print $2 }' "$dir/SHA256SUMS" | sort | tr '\n' ' ')
  present=$(cd "$dir" && ls -1 -- *.zip *.msi 2>/dev/null | sort | tr '\n' ' ')
  [ "$listed" = "$present" ] || fail "SHA256SUMS lists [$listed], the folder holds [$present]"
  (cd "$dir" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the files"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "release packages in $dir: all checks passed"
