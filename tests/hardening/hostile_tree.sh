#!/usr/bin/env bash
# hostile_tree.sh TEST_EXE: plants a hostile tree on the sandbox drive (links are
# made here on the host, where they are real), runs TEST_EXE over it under Wine and
# checks that nothing outside the tree changed: mode, owner, size, times, link count
# and extended attributes (where Wine keeps the DOS attributes).
set -euo pipefail
exe=$1
root="$WINE_SANDBOX_D/hostile"
[ -d "$root" ] && chmod -R u+rwx "$root"
rm -rf "$root"
mkdir -p "$root/outside/dir" "$root/outside/keytarget" "$root/tree/sub" "$root/tree/denied/inner"

echo secret >"$root/outside/secret.txt"
echo inner >"$root/outside/dir/inner.txt"
echo linked >"$root/outside/hardsecret.txt"
echo key >"$root/outside/keytarget/file.txt"

t="$root/tree"
echo plain >"$t/plain.txt"
echo sub >"$t/sub/file.txt"
echo denied >"$t/denied/inner/file.txt"
echo locked >"$t/locked.txt"
# Loops: to the folder itself, to its parent, and a link that names itself.
ln -s . "$t/loop"
ln -s .. "$t/sub/up"
ln -s selfloop "$t/selfloop"
# Ways out of the tree: folder and file links, a dangling link, a hard link.
ln -s ../outside "$t/link-out"
ln -s "$root/outside/secret.txt" "$t/sub/link-out-file.txt"
ln -s ../../outside/dir/inner.txt "$t/sub/relative-link.txt"
ln -s "$root/outside/dir" "$t/sub/absolute-dir-link"
ln -s "$root/outside/missing" "$t/dangling"
ln "$root/outside/hardsecret.txt" "$t/hard.txt"
# The key folder, pre-created by someone else as a link.
ln -s outside/keytarget "$root/keylink"

# Read-only files and a read-only folder.
echo ro >"$t/readonly.txt"
chmod 444 "$t/readonly.txt"
mkdir -p "$t/readonly-dir"
echo ro >"$t/readonly-dir/file.txt"
chmod 555 "$t/readonly-dir"

# Names in Thai, Greek, Arabic, Chinese, and one outside the Basic Multilingual Plane.
for name in 'ภาษาไทย' 'Ελληνικά' 'العربية' '中文目录' 'emoji-😀'; do
  mkdir -p "$t/$name"
  echo x >"$t/$name/ไฟล์-$name.txt"
done
mkdir -p "$root/บันทึก"

# Paths past 260 and past 1,000 characters, in folders of 200 characters.
seg=$(printf 'd%.0s' $(seq 200))
chain() {
  local p=$1 n=$2
  for i in $(seq "$n"); do p="$p/$seg$i"; done
  mkdir -p "$p"
  echo deep >"$p/deep.txt"
}
chain "$t/long" 2
chain "$t/longer" 6
chain "$root/deep" 6

snapshot() {
  find "$root/outside" -printf '%p %y %m %U %G %s %T@ %C@ %n %i\n' | sort
  getfattr -R -d -m - --absolute-names "$root/outside" 2>/dev/null | sort
}
before=$(snapshot)

status=0
HARDENING_ROOT='D:\hostile' "$WINE_BUILD_DIR/wine-exec.sh" "$exe" || status=$?

after=$(snapshot)
if [ "$before" != "$after" ]; then
  echo "FAILED: objects outside the tree changed:"
  diff <(echo "$before") <(echo "$after") || true
  status=1
fi
[ -f "$root/บันทึก/SetACLLog.txt" ] || { echo "FAILED: no log in the Thai-named folder"; status=1; }
chmod -R u+rwx "$root"
exit $status
