#!/usr/bin/env bash
# key_link.sh TEST_EXE: plants D:\KEY-BASE as a link to a folder elsewhere, as an
# ordinary user could before the tool runs, runs TEST_EXE (which runs the program)
# and checks that the folder the link leads to did not change in any way.
set -euo pipefail
exe=$1
d=$WINE_SANDBOX_D
root="$d/hardening-keylink"
rm -rf "$root" "$d/KEY-BASE"
mkdir -p "$root/elsewhere/inner"
echo data >"$root/elsewhere/inner/file.txt"
ln -s "$root/elsewhere" "$d/KEY-BASE"

snapshot() {
  find "$root/elsewhere" -printf '%p %y %m %U %G %s %T@ %C@ %n %i\n' | sort
  getfattr -R -d -m - --absolute-names "$root/elsewhere" 2>/dev/null | sort
}
before=$(snapshot)

status=0
"$WINE_BUILD_DIR/wine-exec.sh" "$exe" || status=$?

after=$(snapshot)
if [ "$before" != "$after" ]; then
  echo "FAILED: the folder behind the planted key-folder link changed:"
  diff <(echo "$before") <(echo "$after") || true
  status=1
fi
rm -f "$d/KEY-BASE"
exit $status
