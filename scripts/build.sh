#!/usr/bin/env bash
# Configures and builds the project into build/ (or the directory given as first argument).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
shift || true
cmake -S "$root" -B "$build" -G Ninja "$@" >/dev/null
cmake --build "$build"
