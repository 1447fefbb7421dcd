#!/usr/bin/env bash
# Makes the downloads of a release, byte for byte the same from the same
# commit: every file gets the commit's time, text files get Windows line ends,
# and nothing records when or where the build ran.
#
#   package.sh zip  OUT.zip FILE...
#   package.sh msi  OUT.msi WXS FIXUPS.sql VERSION PRODUCTCODE FILE...
#   package.sh sums OUT FILE...
#
# Paths are absolute. Times come from SOURCE_DATE_EPOCH, else from the last
# commit. Files are staged in STAGE_DIR (default: OUT's folder/.stage).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  # 1980-01-01, the earliest time a zip can hold, when there is no history.
  SOURCE_DATE_EPOCH=$(git -C "$here" log -1 --format=%ct 2>/dev/null || echo 315532800)
fi
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C

# stage DIR FILE...: copies the files into a fresh DIR with fixed modes and
# times; .TXT files get CR LF line ends, and a UTF-8 byte-order mark when they
# hold anything beyond ASCII, so that any Notepad shows them right.
stage() {
  local dir=$1
  shift
  rm -rf "$dir"
  mkdir -p "$dir"
  local f name
  for f in "$@"; do
    name=$(basename "$f")
    case "$name" in
    *.TXT)
      {
        if grep -q '[^[:print:][:space:]]' "$f"; then printf '\xef\xbb\xbf'; fi
        sed 's/\r*$/\r/' "$f"
      } > "$dir/$name"
      ;;
    *) cp "$f" "$dir/$name" ;;
    esac
    case "$name" in
    *.exe) chmod 755 "$dir/$name" ;;
    *) chmod 644 "$dir/$name" ;;
    esac
    touch -d "@$SOURCE_DATE_EPOCH" "$dir/$name"
  done
}

# The first 128 bits of a SHA-256, written as a GUID.
guid_of() {
  sha256sum "$1" | cut -c1-32 | tr a-f A-F |
    sed -E 's/^(.{8})(.{4})(.{4})(.{4})(.{12})$/{\1-\2-\3-\4-\5}/'
}

property() { # MSI NAME (the export ends its lines with CR LF)
  msiinfo export "$1" Property | tr -d '\r' | awk -F '\t' -v n="$2" '$1 == n { print $2 }'
}

staging() { echo "${STAGE_DIR:-$(dirname "$1")/.stage}/$(basename "$1")"; }

make_zip() {
  local out=$1
  shift
  local dir names=() f
  dir=$(staging "$out")
  stage "$dir" "$@"
  for f in "$@"; do names+=("$(basename "$f")"); done
  rm -f "$out" "$out.tmp"
  mkdir -p "$(dirname "$out")"
  # -X: no extra fields (owner, Unix times); names in the order given.
  (cd "$dir" && zip -q -X -9 "$out.tmp" "${names[@]}")
  mv "$out.tmp" "$out"
}

make_msi() {
  local out=$1 wxs=$2 fixups=$3 version=$4 productCode=$5
  shift 5
  local dir
  dir=$(staging "$out")
  stage "$dir" "$@"
  rm -f "$out"
  mkdir -p "$(dirname "$out")"
  # wixl stamps the package with the current time: it is given the commit's.
  local when
  when=$(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S')
  (cd "$dir" && faketime -f "$when" wixl -a x64 -D Version="$version" \
    -D ProductCode="$productCode" -o package.msi "$wxs")
  # The fix-ups are SQL statements, one a line, with @VERSION@ and
  # @UPGRADECODE@ standing for this package's.
  local queries=() line upgradeCode
  upgradeCode=$(property "$dir/package.msi" UpgradeCode)
  while IFS= read -r line; do
    case "$line" in '' | '#'*) continue ;; esac
    line=${line//@VERSION@/$version}
    queries+=(-q "${line//@UPGRADECODE@/$upgradeCode}")
  done < "$fixups"
  msibuild "$dir/package.msi" "${queries[@]}"
  # The package code names this exact package: wixl draws a random one, so it
  # is first replaced by zeros and then by a hash of the package.
  local name manufacturer language
  name=$(property "$dir/package.msi" ProductName)
  manufacturer=$(property "$dir/package.msi" Manufacturer)
  language=$(property "$dir/package.msi" ProductLanguage)
  local summary=("$name $version" "$manufacturer" "x64;$language")
  msibuild "$dir/package.msi" -s "${summary[@]}" "{00000000-0000-0000-0000-000000000000}"
  msibuild "$dir/package.msi" -s "${summary[@]}" "$(guid_of "$dir/package.msi")"
  mv "$dir/package.msi" "$out"
}

make_sums() {
  local out=$1
  shift
  (cd "$(dirname "$out")" && for f in "$@"; do sha256sum "$(basename "$f")"; done) > "$out.tmp"
  mv "$out.tmp" "$out"
}

command=${1:?usage: package.sh zip|msi|sums OUT ...}
shift
case "$command" in
zip) make_zip "$@" ;;
msi) make_msi "$@" ;;
sums) make_sums "$@" ;;
*)
  echo "package.sh: unknown command $command" >&2
  exit 2
  ;;
esac
