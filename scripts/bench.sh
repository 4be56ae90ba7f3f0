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
grep -q '^program=' "$build/bench/paths.txt" && targets+=(Project1)
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

bench='' minimal_window='' control='' program=''
while IFS='=' read -r key value; do printf -v "$key" '%s' "$value"; done <"$build/bench/paths.txt"
# Drive T: is the build tree.
windows_path() { local p=${1#"$build"/}; echo "T:\\${p//\//\\}"; }

"$here/scripts/wine-prefix.sh" setup "$root" "$build" >/dev/null
trap '"$here/scripts/wine-prefix.sh" cleanup "$root" "$build"; rm -rf "$root/d"' EXIT
export WINEPREFIX="$root/prefix" HOME="$root/home" WINEDEBUG=-all WINEARCH=win32
export WINEDLLOVERRIDES='mscoree,mshtml,winemenubuilder.exe='
export DISPLAY=":$(cat "$root/display")"

# The small application folder of a normal run.
mkdir -p "$root/d/App"
[ -n "$program" ] && cp "$program" "$root/d/App/"
[ -n "$control" ] && cp "$control" "$root/d/App/SetACL.ocx" && wine regsvr32 /s 'D:\App\SetACL.ocx'
: >"$root/d/App/Tarvo-Convoy.exe"
cp "$minimal_window" "$root/d/"

cd "$root/d"  # a working folder Wine can map (D:)
cpu_model=$(sed -n 's/^model name\s*:\s*//p' /proc/cpuinfo | head -n1)
wine "$(windows_path "$bench")" run 'D:\App\Project1.exe' 'D:\minimal_window.exe' \
  "$(nproc)" "$cpu_model" "$(wine --version)" | tee "$build/bench-report.md"
