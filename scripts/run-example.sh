#!/usr/bin/env bash
# The main job: builds the module both ways, then loads the example panel's
# configuration through the panel host and prints the slot table and the
# panel variables the module registered: natively, and as the Windows build
# under Wine with Windows' own profile functions.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/build.sh native win32

echo
echo "== built $(stat -c "%n, %s bytes" build/win32/bin/Vorlanex_sound.gau)"
cd examples/panel
echo
echo "== native build"
"$root/build/native/bin/panel_config" ./Gauges/cabin_sounds.ini
echo
echo "== Windows build, under Wine"
"$root/scripts/wine-run.sh" "$root/build/win32/bin/panel_config.exe" ./Gauges/cabin_sounds.ini
