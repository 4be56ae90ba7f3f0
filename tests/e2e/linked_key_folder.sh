#!/usr/bin/env bash
# linked_key_folder.sh TEST_EXE: makes D:\KEY-BASE a link to D:\keytarget, which
# Windows code cannot do under Wine, and runs the tests that need it.
set -euo pipefail
exe=$1
d=$WINE_SANDBOX_D
cleanup() { rm -rf "$d/KEY-BASE" "$d/keytarget"; }
trap cleanup EXIT
cleanup
mkdir -p "$d/keytarget"
chmod 755 "$d/keytarget"
ln -s keytarget "$d/KEY-BASE"
wine "$exe" --gtest_filter='HostLinked*'
