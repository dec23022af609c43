#!/usr/bin/env bash
# Installs what is missing, builds Quarrow and starts it; arguments go to the game.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" build
exec "$root/build/quarrow" "$@"
