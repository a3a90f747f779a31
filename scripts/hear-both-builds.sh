#!/usr/bin/env bash
# The example panel played on both builds and compared: the native tool
# renders its tour with the native module on our sound engine, the Windows
# tool plays it with the real Vorlanex_sound.gau under Wine on DirectSound
# (recorded in real time). Both must write the same variables
# at the same frames and be heard alike (tests/audio/heard_side_by_side.py).
# Expects both builds made; leaves what it compared in build/both-builds/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build/both-builds
rm -rf "$out"
mkdir -p "$out"
cp -r examples/panel "$out/panel"
build/native/bin/make_example_sounds "$out/panel"
cd "$out/panel"

"$root/build/native/bin/vorlanex-panel" run ./Gauges/cabin_sounds.ini scripts/cabin_tour.txt \
  --module "$root/build/native/bin/Vorlanex_sound.gau" --render "$out/native.wav" > "$out/native.log"
VORLANEX_AUDIO_FILE="$out/wine.raw" "$root/scripts/wine-run.sh" \
  "$root/build/win32/bin/vorlanex-panel.exe" run ./Gauges/cabin_sounds.ini scripts/cabin_tour.txt \
  --module "$root/build/win32/bin/Vorlanex_sound.gau" | tr -d '\r' > "$out/wine.log"

if ! diff "$out/native.log" "$out/wine.log"; then
  echo "the two builds wrote different variables (native <, Windows >)"
  exit 1
fi
echo "the two builds wrote the same variables at the same frames"
python3 "$root/tests/audio/heard_side_by_side.py" "$out/native.wav" "$out/wine.raw"
