#!/usr/bin/env bash
# Installs what the build needs, builds, and starts the assistant in the demo workspace
# (demo-workspace/ in the project). A missing demo workspace is made ready: slot 1 holds
# the Kalmora example report with its world map drawn, slot 2 the Sulvitan example.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/bootstrap.sh"
"$root/scripts/build.sh" "$root/build"
ws="${TOLVIMAR_DEMO_WORKSPACE:-$root/demo-workspace}"
cli="$root/build/src/cli/tolvimar-cli"
if [ ! -f "$ws/tolvimar.cfg" ]; then
    "$cli" --workspace "$ws" init
    mkdir -p "$ws/examples"
    cp "$root"/examples/*.txt "$ws/examples/"
    "$cli" --workspace "$ws" import --slot 1 --type Kalmora --yes "$ws/examples/kalmora-demo.txt"
    "$cli" --workspace "$ws" render-map --slot 1
    "$cli" --workspace "$ws" import --slot 2 --type Sulvitan --yes "$ws/examples/sulvitan-demo.txt"
    "$cli" --workspace "$ws" render-map --slot 2
fi
exec "$root/build/src/ui/tolvimar" --workspace "$ws" "$@"
