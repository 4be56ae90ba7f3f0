#!/usr/bin/env bash
# thai_codepage.sh TEST_EXE BUILD_DIR: runs TEST_EXE under Wine in a prefix of its
# own, started under the Thai locale so that the ANSI code page is 874. The build's
# shared prefix cannot be reused: Wine fixes the code page when its server starts.
set -euo pipefail
exe=$1 build=$2
here=$(cd "$(dirname "$0")/../.." && pwd)
root="$(dirname "$exe")/wine-thai"
export LC_ALL=th_TH.UTF-8
trap '"$here/scripts/wine-prefix.sh" cleanup "$root" "$build" >/dev/null' EXIT
"$here/scripts/wine-prefix.sh" setup "$root" "$build"
export WINEPREFIX="$root/prefix" HOME="$root/home" WINEDEBUG=-all WINEARCH=win32
export WINEDLLOVERRIDES='mscoree,mshtml,winemenubuilder.exe='
export DISPLAY=":$(cat "$root/display")"
wine "$exe"
