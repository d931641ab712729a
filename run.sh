#!/usr/bin/env bash
# Installs what is missing, builds the editor and opens a bundled example
# diagram (or the diagram files given as arguments).
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_WITH_GUI=ON >/dev/null
# The editor, and the export library it loads from its own folder at run time.
cmake --build build -j"$(nproc 2>/dev/null || echo 2)" --target quorvalin vexolant
if [ $# -eq 0 ]; then
  set -- examples/loop.fgd
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "run.sh: no display found; set DISPLAY (or run under xvfb-run) to see the editor" >&2
  exit 1
fi
exec build/bin/quorvalin "$@"
