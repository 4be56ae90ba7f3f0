#!/usr/bin/env bash
# Installs what is missing, builds everything for 32-bit Windows and runs the whole
# test suite under Wine. Usage: scripts/test.sh [extra ctest arguments]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}

# File names with Thai and other scripts must reach Wine and the host scripts as UTF-8.
export LC_ALL="${LC_ALL:-C.UTF-8}"
if [ "$(id -u)" = 0 ]; then bash "$here/scripts/setup.sh"; fi
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-i686-mingw.cmake" >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest --output-on-failure --no-tests=error -j2 "$@"
