#!/bin/sh
# Starts the editor from its program folder, where it finds its export
# library, plug-ins, templates, manual and user blocks.
here=$(dirname "$(readlink -f "$0")")
exec "$here/../lib/quorvalin/quorvalin" "$@"
