#!/usr/bin/env bash
# Builds the Debian package with CPack and checks its control data and file
# list: everything under /usr, the program folder complete, nothing from the
# build or test tree.
# Usage: deb_test.sh BUILD_DIR
set -uo pipefail
build=$1
here=$(dirname "$0")
. "$here/checklib.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log" >&2; echo "FAIL: cpack" >&2; exit 1; }
deb=$(ls "$work"/*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { echo "FAIL: no .deb was made" >&2; exit 1; }

dpkg-deb --info "$deb" >"$work/info" || fail "dpkg-deb --info"
grep -q '^ Package: quorvalin$' "$work/info" || fail "package name"
grep -q '^ Architecture: ' "$work/info" || fail "no architecture"
grep -q '^ Depends: .*libqt6widgets6' "$work/info" || fail "no dependency on Qt Widgets"
grep -q '^ Depends: .*libjpeg' "$work/info" || fail "no dependency on libjpeg"

dpkg-deb --contents "$deb" | awk '{print $6}' | sed 's|^\./||' >"$work/files"
while read -r f; do grep -qx "usr/$f" "$work/files" || fail "the package lacks /usr/$f"; done \
  < <(required_files)
grep -v '^usr/' "$work/files" | grep -v '^$' | grep -qv '^\.\?/\?$' &&
  fail "files outside /usr: $(grep -v '^usr/' "$work/files" | grep -v '^\./\?$' | head -3)"
grep -Eq '_test$|/tests?/|bench_|qv_render_icon|qv_make_examples|CMakeFiles' "$work/files" &&
  fail "build or test files in the package: $(grep -E '_test$|bench_|CMakeFiles' "$work/files" | head -3)"

# The unpacked package holds a program that starts (its libraries resolve).
dpkg-deb -x "$deb" "$work/root"
"$work/root/usr/bin/qvtool" help >/dev/null || fail "the packaged qvtool does not run"
if command -v ldd >/dev/null; then
  ldd "$work/root/usr/lib/quorvalin/quorvalin" | grep -q 'not found' &&
    fail "the packaged program misses libraries"
fi

if [ $fails -ne 0 ]; then
  echo "$fails check(s) failed" >&2
  exit 1
fi
echo "package ok: $(basename "$deb"), $(wc -l <"$work/files") entries"
