#!/usr/bin/env bash
# host_drives.sh TEST_EXE: maps two drives for the run, which Windows code cannot do
# under Wine: R:, empty, to use a drive root as the application folder without touching
# the shared D:; and L:, whose KEY-BASE is a link to L:\keytarget. Then runs the tests
# that need them and removes both.
set -euo pipefail
exe=$1
devices=$WINEPREFIX/dosdevices
r=$WINE_TEST_ROOT/e2e-drive-r
l=$WINE_TEST_ROOT/e2e-drive-l
cleanup() { rm -f "$devices/r:" "$devices/l:"; rm -rf "$r" "$l"; }
trap cleanup EXIT
cleanup
mkdir -p "$r" "$l/keytarget"
ln -s keytarget "$l/KEY-BASE"
ln -s "$r" "$devices/r:"
ln -s "$l" "$devices/l:"
wine "$exe" --gtest_filter='HostDrives.*'
