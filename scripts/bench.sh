#!/usr/bin/env bash
# Builds the benchmark and runs it in a sandboxed Wine prefix of its own (build/bench-wine):
# the ACL control's grant on large trees against a minimal loop, and the whole run of
# Project1.exe against a minimal windowed program. Prints the report as Markdown and
# keeps it in build/bench-report.md. Usage: scripts/bench.sh
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
root=$build/bench-wine

if [ "$(id -u)" = 0 ]; then bash "$here/scripts/setup.sh"; fi
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-i686-mingw.cmake" >/dev/null
targets=(bench minimal_window)
grep -q '^control=' "$build/bench/paths.txt" && targets+=(SetACL)
grep -q '^engine=' "$build/bench/paths.txt" && targets+=(IDAPI32)
grep -q '^program=' "$build/bench/paths.txt" && targets+=(Project1)
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

bench='' minimal_window='' control='' engine='' program=''
while IFS='=' read -r key value; do printf -v "$key" '%s' "$value"; done <"$build/bench/paths.txt"
# Drive T: is the build tree.
windows_path() { local p=${1#"$build"/}; echo "T:\\${p//\//\\}"; }

"$here/scripts/wine-prefix.sh" setup "$root" "$build" >/dev/null
trap '"$here/scripts/wine-prefix.sh" cleanup "$root" "$build"; rm -rf "$root/d"' EXIT
export WINEPREFIX="$root/prefix" HOME="$root/home" WINEDEBUG=-all WINEARCH=win32
export WINEDLLOVERRIDES='mscoree,mshtml,winemenubuilder.exe='
export DISPLAY=":$(cat "$root/display")"
unset IDAPI_CONFIG
cd "$root/d"  # a working folder Wine can map (D:)
# A virtual desktop stands in for a window manager: on bare Xvfb Wine waits 2 s for a
# manager that never answers whenever a shown window is destroyed, which would swamp
# the whole-run figures of both programs.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null

# The small application folder of a normal run: the program, the control, the engine
# with its settings and a placeholder sibling program.
app=$root/d/App
mkdir -p "$app"
[ -n "$program" ] && cp "$program" "$app/"
[ -n "$engine" ] && cp "$engine" "$app/" &&
  printf '%s\r\n' '[\DRIVERS\PARADOX\INIT]' 'VERSION=4.0' 'NET DIR=C:\' 'LANGDRIVER=ascii' >"$app/IDAPI32.INI"
[ -n "$control" ] && cp "$control" "$app/SetACL.ocx" && wine regsvr32 /s 'D:\App\SetACL.ocx'
: >"$app/Tarvo-Convoy.exe"
cp "$minimal_window" "$root/d/"

cpu_model=$(sed -n 's/^model name\s*:\s*//p' /proc/cpuinfo | head -n1)
wine "$(windows_path "$bench")" run 'D:\App\Project1.exe' 'D:\minimal_window.exe' \
  "$(nproc)" "$cpu_model" "$(wine --version)" | tee "$build/bench-report.md"
