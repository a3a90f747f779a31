#!/usr/bin/env bash
# Configures and builds the given presets (native, asan, win32), installing
# what the builds need first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
for preset in "$@"; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
