#!/usr/bin/env bash
# The main job: builds the module both ways, then loads the example panel's
# configuration through the panel host and prints the slot table, the panel
# variables the module registered and what its WAV reader makes of each
# sound's file: natively, and as the Windows build under Wine with Windows'
# own profile and mmio functions. The example's WAV files are written by a
# program of ours into a copy of the panel in the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/build.sh native win32

echo
echo "== built $(stat -c "%n, %s bytes" build/win32/bin/Vorlanex_sound.gau)"
panel=build/example-panel
rm -rf "$panel"
cp -r examples/panel "$panel"
build/native/bin/make_example_sounds "$panel"
cd "$panel"
echo
echo "== native build"
"$root/build/native/bin/panel_config" ./Gauges/cabin_sounds.ini
echo
echo "== Windows build, under Wine"
"$root/scripts/wine-run.sh" "$root/build/win32/bin/panel_config.exe" ./Gauges/cabin_sounds.ini
