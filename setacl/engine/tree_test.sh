#!/usr/bin/env bash
# Builds a tree on the sandbox drive with real symbolic and hard links, runs the
# on-disk engine tests on it under Wine, then checks that nothing outside the tree
# changed. Usage: tree_test.sh TEST_EXE
set -euo pipefail
exe=$1
root="$WINE_SANDBOX_D/acl"
rm -rf "$root"
mkdir -p "$root/tree/sub/deep" "$root/outside/inner" "$root/busy/locked" "$root/again/sub"
echo f >"$root/again/f.txt"
echo g >"$root/again/sub/g.txt"
echo a >"$root/tree/a.txt"
echo b >"$root/tree/sub/b.txt"
echo c >"$root/tree/sub/deep/c.txt"
echo r >"$root/tree/ro.txt"
chmod 444 "$root/tree/ro.txt"
echo s >"$root/outside/secret.txt"
echo i >"$root/outside/inner/inner.txt"
echo h >"$root/outside/shared.txt"
ln "$root/outside/shared.txt" "$root/tree/hard.txt"
ln -s "$root/outside" "$root/tree/sub/link"
ln -s "$root/outside/secret.txt" "$root/tree/filelink.txt"
ln -s "$root/tree" "$root/treelink"
long="$root/tree"
for part in 1 2 3; do
  long="$long/$(printf "long%s-%086d" "$part" 0)"
done
mkdir -p "$long"
echo l >"$long/$(printf "file-%085d" 0).txt"
# A drive of its own, to grant on a drive root.
mkdir -p "$root/rootdrive/sub"
echo f >"$root/rootdrive/f.txt"
echo g >"$root/rootdrive/sub/g.txt"
ln -sfn "$root/rootdrive" "$WINEPREFIX/dosdevices/r:"
trap 'rm -f "$WINEPREFIX/dosdevices/r:"' EXIT
chmod -R go-w "$root"
chmod 755 "$root/outside" "$root/outside/inner"

snapshot() { find "$root/outside" "$root/treelink" -exec stat -c '%n %a %h %i %s %Y' {} +; }
before=$(snapshot)
"$WINE_BUILD_DIR/wine-exec.sh" "$exe"
after=$(snapshot)
if [ "$before" != "$after" ]; then
  echo "changed outside the tree:"
  diff <(echo "$before") <(echo "$after") || true
  exit 1
fi
echo "outside the tree unchanged"
