#!/usr/bin/env bash
# The main job: builds the module both ways, then shows what it makes of the
# example panel. The example's WAV files and artwork are written by programs
# of ours into a copy of the panel in the build folder, with the cabinet of
# XML gauges and their images packed by the build and the module installed in
# its Gauges folder. The
# panel tool checks the whole panel (panel.cfg, its gauges, the INI file) and
# a copy with one typo in a gauge, then runs the panel: the aircraft's own XML
# gauges frame by frame beside the module, clicked and moved by the cabin
# tour, on both builds (natively on our sound engine, rendering what is heard
# into a WAV file; as the Windows build under Wine with Windows' own profile,
# mmio, cabinet and DirectSound functions), and draws its windows as they
# stand during the tour, leaving the rendering, the timelines, the checks,
# the logs and the pictures in build/example/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/build.sh native win32
out=$root/build/example
rm -rf "$out"
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
build/native/bin/make_example_images "$panel"
cp build/native/example-cabinet/cabin_switches.cab "$panel/Gauges/"
cp build/win32/bin/Vorlanex_sound.gau "$panel/Gauges/"
cd "$panel"
panel_cfg=Aircraft/Cabin/panel/panel.cfg

echo
echo "== vorlanex-panel check --panel $panel_cfg, native"
status=0
"$native" check --panel "$panel_cfg" | tee "$out/check_native.txt" || status=$?
echo "(exit status $status)"
echo
echo "== vorlanex-panel check --panel $panel_cfg, Windows build under Wine"
status=0
"$root/scripts/wine-run.sh" "$windows" check --panel "$panel_cfg" | tr -d '\r' \
  | tee "$out/check_win32.txt" || status=$?
echo "(exit status $status)"
compare check_native.txt check_win32.txt "the same table, gauges, variables and problems"

# A copy of the panel whose chime button writes cabin_chim: what a finding
# looks like.
broken=$root/build/example-panel-broken
rm -rf "$broken"
cp -r . "$broken"
sed -i 's/&gt;L:cabin_chime,/\&gt;L:cabin_chim,/' "$broken/Aircraft/Cabin/panel/Cabin/chime_button.xml"
echo
echo "== vorlanex-panel check on a copy with a typo in the chime button, native"
status=0
(cd "$broken" && "$native" check --panel "$panel_cfg") > "$out/check_typo.txt" || status=$?
sed -n '/^[^ ].*: warning: /,$p' "$out/check_typo.txt"
echo "(exit status $status)"

tour=scripts/cabin_tour.txt
echo
echo "== vorlanex-panel run --panel $panel_cfg $tour, native"
"$native" run --panel "$panel_cfg" "$tour" \
  --render "$out/cabin_tour.wav" --timeline "$out/cabin_tour_native.svg" \
  | tee "$out/cabin_tour_native.log"
echo
echo "== vorlanex-panel run --panel $panel_cfg $tour, Windows build under Wine"
"$root/scripts/wine-run.sh" "$windows" run --panel "$panel_cfg" "$tour" \
  --timeline "$out/cabin_tour_win32.svg" | tr -d '\r' | tee "$out/cabin_tour_win32.log"
# In real time a sound may be seen to end a frame or two after the exact run.
if cmp -s "$out/cabin_tour_native.log" "$out/cabin_tour_win32.log"; then
  echo "== the two builds agree: the same variables written by the same writers at the same frames"
elif python3 - "$root/tests/tools" "$out/cabin_tour_win32.log" "$out/cabin_tour_native.log" <<'CHECK'
import sys
sys.path.insert(0, sys.argv[1])
from tool_command import compare_log
sys.exit(1 if compare_log(open(sys.argv[2]).read(), sys.argv[3], 2) else 0)
CHECK
then
  echo "== the two builds agree: the same variables written by the same writers, each within two frames (real time):"
  diff "$out/cabin_tour_native.log" "$out/cabin_tour_win32.log" || true
else
  echo "== the two builds differ (the variables written):"
  diff "$out/cabin_tour_native.log" "$out/cabin_tour_win32.log" || true
fi

# The panel's two windows at 7.5 s of the tour: the battery on, the fan
# running, the door open. The guide's picture of the example panel.
echo
echo "== vorlanex-panel snapshot --panel $panel_cfg --script $tour --at 7.5, native"
"$native" snapshot --panel "$panel_cfg" --script "$tour" --at 7.5 --window "Main Panel" --scale 2 \
  --out "$out/example_main_panel.png"
"$native" snapshot --panel "$panel_cfg" --script "$tour" --at 7.5 --window 10101 --scale 2 \
  --out "$out/example_door_panel.png"
echo "== vorlanex-panel snapshot of the main panel, Windows build under Wine"
status=0
"$root/scripts/wine-run.sh" "$windows" snapshot --panel "$panel_cfg" --script "$tour" --at 7.5 \
  --window "Main Panel" --scale 2 --out "$out/example_main_panel_win32.png" || status=$?
echo "(exit status $status)"
# Pixel by pixel: the two builds' PNG files may be packed differently.
if python3 "$root/tests/tools/png_alike.py" "$out/example_main_panel.png" "$out/example_main_panel_win32.png"; then
  echo "== the two builds agree: the main panel drawn at 7.5 s"
else
  echo "== the two builds differ (the main panel drawn at 7.5 s)"
fi

echo
echo "== in $out:"
echo "   cabin_tour.wav                               the cabin tour as heard (native rendering)"
echo "   cabin_tour_native.svg, cabin_tour_win32.svg  the tour's timelines"
echo "   cabin_tour_native.log, cabin_tour_win32.log  every change of the module's variables with its writer, events sent"
echo "   check_native.txt, check_win32.txt            what check found in the whole panel"
echo "   check_typo.txt                               what it found in the copy with a typo"
echo "   example_main_panel.png, example_door_panel.png  the panel's windows at 7.5 s of the tour"
