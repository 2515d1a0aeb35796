#!/usr/bin/env bash
# Installs what the build needs, builds, and starts the assistant in the demo workspace
# (demo-workspace/ in the project, created with the example report when missing).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/bootstrap.sh"
"$root/scripts/build.sh" "$root/build"
ws="${TOLVIMAR_DEMO_WORKSPACE:-$root/demo-workspace}"
if [ ! -f "$ws/tolvimar.cfg" ]; then
    "$root/build/src/cli/tolvimar-cli" --workspace "$ws" init
    mkdir -p "$ws/examples"
    cp "$root"/examples/*.txt "$ws/examples/"
fi
exec "$root/build/src/ui/tolvimar" --workspace "$ws" "$@"
