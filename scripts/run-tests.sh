#!/usr/bin/env bash
# Installs what the build needs, builds, and runs every test headless.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/bootstrap.sh"
"$root/scripts/build.sh" "$root/build"
export QT_QPA_PLATFORM=offscreen
cd "$root/build"
ctest --output-on-failure -j2 --timeout 300
