#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed program:
# the layout, the desktop files' validity, qvtool, and the editor started
# offscreen on an installed example.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$1
source=$2
here=$(dirname "$0")
. "$here/checklib.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log" >&2; echo "FAIL: cmake --install" >&2; exit 1; }

while read -r f; do expect_file "$prefix/$f"; done < <(required_files)
[ -x "$prefix/bin/quorvalin" ] || fail "the launcher is not executable"
# Whatever the build put beside the program travels with it.
for d in plugin template; do
  if [ -d "$build/bin/$d" ]; then
    [ -d "$prefix/lib/quorvalin/$d" ] || fail "$d/ was not installed"
  fi
done
for size in 16 22 24 32 48 64 128 256; do
  for icon in apps/quorvalin mimetypes/application-x-quorvalin-diagram; do
    png=$prefix/share/icons/hicolor/${size}x${size}/$icon.png
    if [ -f "$png" ]; then
      [ "$(png_size "$png")" = "${size}x${size}" ] || fail "$png is $(png_size "$png")"
    else
      fail "missing $png"
    fi
  done
done

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$prefix/share/applications/quorvalin.desktop" ||
    fail "desktop-file-validate"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/org.quorvalin.quorvalin.metainfo.xml" \
    >"$work/appstream.log" 2>&1 || { cat "$work/appstream.log" >&2; fail "appstreamcli validate"; }
fi
if command -v xmllint >/dev/null; then
  xmllint --noout "$prefix/share/mime/packages/quorvalin-diagram.xml" || fail "MIME XML"
fi
if command -v man >/dev/null; then
  man -l "$prefix/share/man/man1/qvtool.1" 2>/dev/null | grep -q "qvtool pascal" ||
    fail "the qvtool man page does not render"
fi

# qvtool from bin/ translates an installed example.
out=$("$prefix/bin/qvtool" pascal "$prefix/share/quorvalin/examples/sum.fgd") ||
  fail "qvtool pascal exited with $?"
grep -q '^begin' <<<"$out" || fail "qvtool pascal printed no routine: $out"

# The editor, started through the launcher from another folder, opens an
# installed example and ends by itself; it writes nothing into its program
# folder.
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
export XDG_STATE_HOME=$work/state HOME=$work/home
mkdir -p "$XDG_RUNTIME_DIR" "$HOME" && chmod 700 "$XDG_RUNTIME_DIR"
before=$(find "$prefix/lib/quorvalin" | sort | md5sum)
example=$prefix/share/quorvalin/examples/loop.fgd
objects=$("$prefix/bin/qvtool" check "$example" | awk '{print $2}')
out=$(cd "$work" && QUORVALIN_EXIT_AFTER_MS=500 timeout 60 "$prefix/bin/quorvalin" "$example")
rc=$?
[ $rc -eq 0 ] || fail "the installed editor exited with $rc"
[ "$out" = "open: $example ($objects objects)" ] || fail "the editor reported: '$out'"
after=$(find "$prefix/lib/quorvalin" | sort | md5sum)
[ "$before" = "$after" ] || fail "the editor wrote into its program folder"
[ -e "$XDG_DATA_HOME/applications/quorvalin.desktop" ] &&
  fail "an installed editor wrote a per-user desktop entry over the installed one"

if [ $fails -ne 0 ]; then
  echo "$fails check(s) failed" >&2
  exit 1
fi
echo "installed tree ok"
