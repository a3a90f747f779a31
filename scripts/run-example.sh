#!/usr/bin/env bash
# The main job: builds the module both ways, then shows what it makes of the
# example panel. The example's WAV files are written by a program of ours
# into a copy of the panel in the build folder. The panel tool checks the
# panel and plays its tour script on both builds (natively on our sound
# engine, rendering what is heard into a WAV file; as the Windows build under
# Wine with Windows' own profile, mmio and DirectSound functions), leaving the
# rendering, the timelines, the checks and the logs in build/example/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/build.sh native win32
out=$root/build/example
mkdir -p "$out"
native=$root/build/native/bin/vorlanex-panel
windows=$root/build/win32/bin/vorlanex-panel.exe

# Says whether two outputs of the builds agree, and how they differ if not.
compare() {
  if cmp -s "$out/$1" "$out/$2"; then
    echo "== the two builds agree: $3"
  else
    echo "== the two builds differ ($3):"
    diff "$out/$1" "$out/$2" || true
  fi
}

echo
echo "== built $(stat -c "%n, %s bytes" build/win32/bin/Vorlanex_sound.gau)"
panel=build/example-panel
rm -rf "$panel"
cp -r examples/panel "$panel"
build/native/bin/make_example_sounds "$panel"
cd "$panel"

echo
echo "== vorlanex-panel check, native"
status=0
"$native" check ./Gauges/cabin_sounds.ini | tee "$out/check_native.txt" || status=$?
echo "(exit status $status)"
echo
echo "== vorlanex-panel check, Windows build under Wine"
status=0
"$root/scripts/wine-run.sh" "$windows" check ./Gauges/cabin_sounds.ini | tr -d '\r' \
  | tee "$out/check_win32.txt" || status=$?
echo "(exit status $status)"
compare check_native.txt check_win32.txt "the same table, files and problems"

echo
echo "== vorlanex-panel run, native"
"$native" run ./Gauges/cabin_sounds.ini scripts/cabin_tour.txt \
  --render "$out/cabin_tour.wav" --timeline "$out/cabin_tour_native.svg" \
  | tee "$out/cabin_tour_native.log"
echo
echo "== vorlanex-panel run, Windows build under Wine"
"$root/scripts/wine-run.sh" "$windows" run ./Gauges/cabin_sounds.ini scripts/cabin_tour.txt \
  --timeline "$out/cabin_tour_win32.svg" | tr -d '\r' | tee "$out/cabin_tour_win32.log"
# In real time a sound may be seen to end a frame or two after the exact run.
if cmp -s "$out/cabin_tour_native.log" "$out/cabin_tour_win32.log"; then
  echo "== the two builds agree: the same variables written at the same frames"
elif python3 - "$root/tests/tools" "$out/cabin_tour_win32.log" "$out/cabin_tour_native.log" <<'CHECK'
import sys
sys.path.insert(0, sys.argv[1])
from tool_command import compare_log
sys.exit(1 if compare_log(open(sys.argv[2]).read(), sys.argv[3], 2) else 0)
CHECK
then
  echo "== the two builds agree: the same variables written, each within two frames (real time):"
  diff "$out/cabin_tour_native.log" "$out/cabin_tour_win32.log" || true
else
  echo "== the two builds differ (the variables written):"
  diff "$out/cabin_tour_native.log" "$out/cabin_tour_win32.log" || true
fi

echo
echo "== in $out:"
echo "   cabin_tour.wav                                 the tour as heard (native rendering)"
echo "   cabin_tour_native.svg, cabin_tour_win32.svg    the tour's timelines"
echo "   cabin_tour_native.log, cabin_tour_win32.log    the variables the module wrote"
echo "   check_native.txt, check_win32.txt              what check found"
