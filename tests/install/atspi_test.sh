#!/usr/bin/env bash
# The document view through the accessibility bus (AT-SPI), as a screen
# reader sees it: the editor runs under Xvfb in a D-Bus session of its own,
# with the accessibility bus started, and a pyatspi script reads its tree.
# Usage: atspi_test.sh PROGRAM DIAGRAM
set -uo pipefail
program=$1
diagram=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
export XDG_STATE_HOME=$work/state HOME=$work/home
mkdir -p "$XDG_RUNTIME_DIR" "$HOME" && chmod 700 "$XDG_RUNTIME_DIR"
cp "$diagram" "$work/shown.fgd"
exec dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24" \
  bash "$here/atspi_session.sh" "$program" "$work/shown.fgd"
