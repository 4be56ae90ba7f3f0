#!/usr/bin/env bash
# setup ROOT BUILD: starts Xvfb and creates a fresh sandboxed Wine prefix under ROOT.
# cleanup ROOT BUILD: stops that prefix's wineserver and the Xvfb.
set -euo pipefail
action=$1 root=$2 build=$3

export WINEPREFIX="$root/prefix" HOME="$root/home" WINEDEBUG=-all WINEARCH=win32
# Wine names Unix files in the locale's character set: UTF-8 unless the caller chose a locale.
export LC_ALL="${LC_ALL:-C.UTF-8}"
export WINEDLLOVERRIDES='mscoree,mshtml,winemenubuilder.exe='

stop() {
  wineserver -k 2>/dev/null || true
  if [ -f "$root/xvfb.pid" ]; then
    kill "$(cat "$root/xvfb.pid")" 2>/dev/null || true
    rm -f "$root/xvfb.pid"
  fi
}

case $action in
setup)
  stop
  rm -rf "$root"
  mkdir -p "$root/home" "$root/d"
  # -displayfd picks a free display; setsid and closed streams keep ctest from waiting on it.
  setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$root/display" \
    </dev/null >"$root/xvfb.log" 2>&1 &
  echo $! >"$root/xvfb.pid"
  for _ in $(seq 100); do [ -s "$root/display" ] && break; sleep 0.1; done
  [ -s "$root/display" ] || { echo "Xvfb did not start"; cat "$root/xvfb.log"; exit 1; }
  export DISPLAY=":$(cat "$root/display")"
  wineboot -i </dev/null >"$root/wineboot.log" 2>&1
  wineserver -w
  # Z: would expose the whole Unix tree to the tools under test.
  rm -f "$WINEPREFIX/dosdevices/z:"
  ln -sfn "$root/d" "$WINEPREFIX/dosdevices/d:"
  ln -sfn "$build" "$WINEPREFIX/dosdevices/t:"
  echo "prefix ready: $WINEPREFIX on display $DISPLAY"
  ;;
cleanup)
  stop
  ;;
*)
  echo "usage: $0 setup|cleanup ROOT BUILD" >&2
  exit 2
  ;;
esac
