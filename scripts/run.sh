#!/usr/bin/env bash
# Installs what is missing, builds, and starts Ombriel in a demo register
# folder (build/demo) under Wine. With no X display it runs on a virtual
# display, saves a screenshot of the screen and prints where it is.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"

demo="$root/build/demo"
bash "$root/scripts/make-demo-register.sh" "$demo"

headless=0
[ -z "${DISPLAY:-}" ] && headless=1
source "$root/scripts/wine-env.sh"
if [ "$headless" -eq 1 ]; then
  # A Wine server left from an earlier run would draw on that run's display.
  wineserver -k 2>/dev/null || true
fi
wine_env_start

bin="$root/build/windows/bin"
(cd "$demo" && exec wine "$bin/Ombriel.exe" </dev/null >/dev/null 2>&1) &
ombriel_pid=$!
# Zelbrin: started beside the register when it has been built.
zelbrin_pid=""
if [ -x "$bin/Zelbrin.exe" ] || [ -f "$bin/Zelbrin.exe" ]; then
  (cd "$demo" && exec wine "$bin/Zelbrin.exe" </dev/null >/dev/null 2>&1) &
  zelbrin_pid=$!
fi

if [ "$headless" -eq 1 ]; then
  # No screen to look at: wait until the window has been drawn, take a
  # picture, stop.
  shot="$root/build/ombriel-screenshot.png"
  for _ in $(seq 60); do
    sleep 1
    import -window root "$shot"
    lit=$(convert "$shot" -format '%[fx:mean>0.05?1:0]' info:)
    [ "$lit" = 1 ] && { sleep 2; import -window root "$shot"; break; }
  done
  echo "Screenshot of the running programs: $shot"
  kill "$ombriel_pid" ${zelbrin_pid:+"$zelbrin_pid"} 2>/dev/null || true
  wine_env_stop
else
  echo "Ombriel is running in $demo (close its window or press ESCI to end)."
  wait "$ombriel_pid" ${zelbrin_pid:+"$zelbrin_pid"} || true
  wine_env_stop
fi
