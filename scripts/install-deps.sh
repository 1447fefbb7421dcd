#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; does nothing when
# they are all present, so it is safe to run before every build. Given package
# names, installs those instead (scripts/fuzz.sh asks for clang this way).
#   install-deps.sh [package ...]
set -euo pipefail
# clang-format: the layout check of the sources; libasan8 and libubsan1: the
# sanitizer build of the native tests; wixl,
# msitools, faketime, zip and unzip: the release downloads and their tests.
pkgs=(cmake make g++ clang-format libasan8 libubsan1 libgtest-dev zlib1g-dev mingw-w64
      g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth imagemagick
      git wixl msitools faketime zip unzip)
if [ $# -gt 0 ]; then pkgs=("$@"); fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
