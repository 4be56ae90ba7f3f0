#!/usr/bin/env bash
# Builds everything and runs Project1.exe's whole job once, in a Wine prefix of its
# own under the build tree (own HOME, no Z:, D: a scratch folder). D:\Apps\Shared\ holds
# the program, the control (not registered: the program registers it), the engine with
# its settings file and a placeholder sibling program. Prints the access lists of the
# three folders before and after, the exit code, the key folder's attributes, the
# control's log and the engine settings before and after; then removes the prefix.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
root=$build/sandbox

if [ "$(id -u)" = 0 ]; then bash "$here/scripts/setup.sh"; fi
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-i686-mingw.cmake" >/dev/null
cmake --build "$build" -j"$(nproc)"

bash "$here/scripts/wine-prefix.sh" setup "$root" "$build"
trap 'bash "$here/scripts/wine-prefix.sh" cleanup "$root" "$build"; rm -rf "$root"' EXIT
export WINEPREFIX="$root/prefix" HOME="$root/home" WINEDEBUG=-all WINEARCH=win32
export WINEDLLOVERRIDES='mscoree,mshtml,winemenubuilder.exe=' DISPLAY=":$(cat "$root/display")"
unset IDAPI_CONFIG
# A working folder on D:, so that Wine has a drive path for it.
cd "$root/d"

app=$root/d/Apps/Shared
mkdir -p "$app"
cp "$build/startup/Project1.exe" "$build/setacl/SetACL.ocx" "$build/idapi/IDAPI32.dll" "$app/"
cp "$build/tests/tools/placeholder.exe" "$app/Tarvo-Convoy.exe"
printf '%s\r\n' '; Paradox driver settings of the sandbox' '[\DRIVERS\PARADOX\INIT]' 'VERSION=4.0' \
  'NET DIR=C:\' 'LANGDRIVER=ascii' >"$app/IDAPI32.INI"

temp=$(wine cmd /c 'echo %TEMP%' | tr -d '\r')
folders=('D:\KEY-BASE' 'D:\Apps\Shared\' "$temp")
acls() { wine 'T:\tests\tools\acldump.exe' "${folders[@]}" | tr -d '\r'; }

echo "== D:\\Apps\\Shared"
ls -l "$app"
echo "== Access lists before"
acls
echo "== Engine settings before"
cat "$app/IDAPI32.INI"

echo "== Running D:\\Apps\\Shared\\Project1.exe (every window it shows is listed and answered OK)"
wine 'T:\tests\uidriver\uidriver.exe' --timeout 120 --passive TForm1 --answer ok --answer ok --answer ok \
  -- 'D:\Apps\Shared\Project1.exe' | tr -d '\r'

echo "== Access lists after"
acls
echo "== Control's log D:\\Apps\\Shared\\SetACLLog.txt"
if [ -f "$app/SetACLLog.txt" ]; then cat "$app/SetACLLog.txt"; else echo "(none)"; fi
echo "== Engine settings after"
cat "$app/IDAPI32.INI"
