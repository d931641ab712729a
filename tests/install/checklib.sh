# Shared checks of the install and package tests (sourced).
fails=0
fail() { echo "FAIL: $*" >&2; fails=$((fails + 1)); }
expect_file() { [ -f "$1" ] || fail "missing $1"; }
# The width and height of a PNG file, from its header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $3*256+$4 "x" $7*256+$8}'; }
# The files every installation holds, relative to the prefix.
required_files() {
  cat <<'LIST'
bin/quorvalin
bin/qvtool
lib/quorvalin/quorvalin
lib/quorvalin/libvexolant.so
lib/quorvalin/manual/index.html
lib/quorvalin/UserBlock.blu
share/applications/quorvalin.desktop
share/mime/packages/quorvalin-diagram.xml
share/metainfo/org.quorvalin.quorvalin.metainfo.xml
share/man/man1/qvtool.1
share/man/man1/quorvalin.1
share/icons/hicolor/scalable/apps/quorvalin.svg
share/icons/hicolor/scalable/mimetypes/application-x-quorvalin-diagram.svg
share/icons/hicolor/16x16/apps/quorvalin.png
share/icons/hicolor/48x48/apps/quorvalin.png
share/icons/hicolor/256x256/apps/quorvalin.png
share/icons/hicolor/48x48/mimetypes/application-x-quorvalin-diagram.png
share/quorvalin/examples/sum.fgd
LIST
}
