#!/usr/bin/env bash
# The example panel played on both builds and compared: the native tool
# renders its tour with the native module on our sound engine, the Windows
# tool plays it with the real Vorlanex_sound.gau under Wine on DirectSound
# (recorded in real time). Both must write the same variables
# at the same frames and be heard alike (tests/audio/heard_side_by_side.py).
# Then the example's main window drawn by both (snapshot), held alike.
# Expects both builds made and the native tests run (their copy of the
# example panel); leaves what it compared in build/both-builds/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build/both-builds
rm -rf "$out"
mkdir -p "$out"
cp -r examples/panel "$out/panel"
build/native/bin/make_example_sounds "$out/panel"
cd "$out/panel"

"$root/build/native/bin/vorlanex-panel" run ./Gauges/cabin_sounds.ini scripts/module_tour.txt \
  --module "$root/build/native/bin/Vorlanex_sound.gau" --render "$out/native.wav" > "$out/native.log"
VORLANEX_AUDIO_FILE="$out/wine.raw" "$root/scripts/wine-run.sh" \
  "$root/build/win32/bin/vorlanex-panel.exe" run ./Gauges/cabin_sounds.ini scripts/module_tour.txt \
  --module "$root/build/win32/bin/Vorlanex_sound.gau" | tr -d '\r' > "$out/wine.log"

# The same writes; in real time a sound may be seen to end a frame or two late.
python3 - "$root/tests/tools" "$out/wine.log" "$out/native.log" <<'CHECK'
import sys
sys.path.insert(0, sys.argv[1])
from tool_command import compare_log
problems = compare_log(open(sys.argv[2]).read(), sys.argv[3], 2)
for p in problems:
    print(p)
if problems:
    sys.exit("the two builds wrote different variables")
print("the two builds wrote the same variables, each within two frames of the other")
CHECK
python3 "$root/tests/audio/heard_side_by_side.py" "$out/native.wav" "$out/wine.raw"

# The example's main window drawn by both builds at the same moment of its
# cabin tour (the test suite's copy of the panel, with its images and
# cabinet): alike within the tolerance of tests/tools/png_alike.py.
panel=$root/build/native/example-panel
cd "$panel"
"$root/build/native/bin/vorlanex-panel" snapshot --panel Aircraft/Cabin/panel/panel.cfg \
  --script scripts/cabin_tour.txt --at 7.5 --out "$out/main_panel_native.png"
"$root/scripts/wine-run.sh" "$root/build/win32/bin/vorlanex-panel.exe" snapshot \
  --panel Aircraft/Cabin/panel/panel.cfg --script scripts/cabin_tour.txt --at 7.5 \
  --out "$out/main_panel_win32.png"
echo -n "the main window drawn by both builds at 7.5 s: "
python3 "$root/tests/tools/png_alike.py" "$out/main_panel_native.png" "$out/main_panel_win32.png"
