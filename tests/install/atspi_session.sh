#!/usr/bin/env bash
# Inside the D-Bus session and the X server of atspi_test.sh: starts the
# accessibility bus and the editor, then runs the reader.
set -uo pipefail
program=$1
diagram=$2
here=$(cd "$(dirname "$0")" && pwd)
launcher=
for l in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
  [ -x "$l" ] && launcher=$l && break
done
[ -n "$launcher" ] || { echo "no at-spi-bus-launcher" >&2; exit 1; }
"$launcher" --launch-immediately &
bus=$!
sleep 1
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$program" "$diagram" &
editor=$!
/usr/bin/python3 "$here/atspi_reader.py" "$diagram"
rc=$?
kill "$editor" 2>/dev/null
wait "$editor" 2>/dev/null
kill "$bus" 2>/dev/null
exit $rc
