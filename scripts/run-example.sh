#!/usr/bin/env bash
# The main job: builds the module both ways, then shows what it makes of the
# example panel. The example's WAV files are written by a program of ours
# into a copy of the panel in the build folder. The panel tool checks the
# panel and plays its tour script on both builds (natively on our sound
# engine, as the Windows build under Wine with Windows' own profile, mmio and
# DirectSound functions), leaving logs and timelines in build/example/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/build.sh native win32
out=$root/build/example
mkdir -p "$out"

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

echo
echo "== vorlanex-panel check, native"
"$root/build/native/bin/vorlanex-panel" check ./Gauges/cabin_sounds.ini || true
echo
echo "== vorlanex-panel run, native"
"$root/build/native/bin/vorlanex-panel" run ./Gauges/cabin_sounds.ini scripts/cabin_tour.txt \
  --timeline "$out/cabin_tour_native.svg" | tee "$out/cabin_tour_native.log"
echo
echo "== vorlanex-panel run, Windows build under Wine"
"$root/scripts/wine-run.sh" "$root/build/win32/bin/vorlanex-panel.exe" run ./Gauges/cabin_sounds.ini \
  scripts/cabin_tour.txt --timeline "$out/cabin_tour_win32.svg" | tr -d '\r' | tee "$out/cabin_tour_win32.log"
if cmp -s "$out/cabin_tour_native.log" "$out/cabin_tour_win32.log"; then
  echo "== the two builds wrote the same variables at the same frames"
else
  echo "== the two builds' logs differ:"
  diff "$out/cabin_tour_native.log" "$out/cabin_tour_win32.log" || true
fi
echo
echo "== timelines and logs in $out"
