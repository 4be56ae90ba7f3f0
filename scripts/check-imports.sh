#!/usr/bin/env bash
# Fails when a PE file imports a DLL outside the Windows system set.
set -euo pipefail
allowed='^(kernel32|user32|gdi32|advapi32|ole32|oleaut32|olepro32|shell32|shlwapi|comctl32|comdlg32|msvcrt|version|uxtheme|rpcrt4|ntdll|psapi|secur32|ws2_32|imm32)\.dll$'
status=0
for f in "$@"; do
  dlls=$(i686-w64-mingw32-objdump -p "$f" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
  [ -n "$dlls" ] || { echo "$f: no import table found"; status=1; continue; }
  for d in $dlls; do
    if ! [[ $d =~ $allowed ]]; then
      echo "$f imports $d, which a clean Windows does not have"
      status=1
    fi
  done
  echo "$f: $(echo $dlls | tr '\n' ' ')"
done
exit $status
