# Sourced by the scripts that run Windows programs: a private Wine prefix in
# build/wineprefix, a virtual X display when none is set, and a persistent
# wineserver so each program start is quick. Call wine_env_stop when done.
root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX="$root/build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine_env_xvfb_pid=""

wine_env_start() {
  if [ -z "${DISPLAY:-}" ]; then
    local n=90
    while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    wine_env_xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${n}" ] && break; sleep 0.1; done
  fi
  if [ ! -f "$WINEPREFIX/.initialised" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    # Without a window manager Wine pauses about 2 s whenever a box closes;
    # a virtual desktop avoids it. The crash dialog would hang unattended runs.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1000 /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.initialised"
  fi
  wineserver -p 2>/dev/null || true
  # Wine's system processes start with the first program and inherit its
  # standard handles; if that program is a test under ctest they hold ctest's
  # pipe open and the test never ends. A quiet idle program started here keeps
  # them running, detached from any test.
  setsid bash -c 'sleep infinity | wine cmd' >/dev/null 2>&1 </dev/null &
  wine_env_keepalive_pid=$!
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

wine_env_stop() {
  if [ -n "${wine_env_keepalive_pid:-}" ]; then
    kill -- -"$wine_env_keepalive_pid" 2>/dev/null || true
  fi
  wineserver -k 2>/dev/null || true
  if [ -n "$wine_env_xvfb_pid" ]; then
    kill "$wine_env_xvfb_pid" 2>/dev/null || true
  fi
}
