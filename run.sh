#!/usr/bin/env bash
# Installs what is missing, builds Quorvalin and opens a bundled example.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc 2>/dev/null || echo 2)"
example=${1:-examples/loop.fgd}
if [ -x build/bin/quorvalin ]; then
  exec build/bin/quorvalin "$example"
fi
# Without the editor window, show what the command line makes of the example.
build/bin/qvtool check "$example"
exec build/bin/qvtool dump "$example"
