#!/usr/bin/env bash
# Runs a Windows program under Wine in a private, quiet prefix, with a sound
# device that keeps real time on machines without a sound card: a PulseAudio
# server of the program's own, playing into a null sink. (ALSA's null device
# keeps no time: DirectSound would run several times too fast on it.) Used as
# CMake's cross-compiling emulator: ctest runs Windows tests through it.
#
#   VORLANEX_WINE_HOME   folder for HOME and the prefix (default: a per-user temp folder)
#   VORLANEX_AUDIO_FILE  when set, what Wine plays is recorded there as raw float32
#                        stereo 48 kHz frames, in real time, from the null sink's monitor
set -euo pipefail

home=${VORLANEX_WINE_HOME:-${TMPDIR:-/tmp}/vorlanex-wine-$(id -u)}
mkdir -p "$home"
export HOME="$home" WINEPREFIX="$home/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# Two programs may start at once on a fresh machine: make the prefix once.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  (
    flock 9
    [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
  ) 9>"$home/.prefix.lock"
fi

# The server is this program's own, so programs running at the same time
# never hear each other.
runtime=$(mktemp -d "$home/pulse.XXXXXX")
export XDG_RUNTIME_DIR="$runtime" PULSE_RUNTIME_PATH="$runtime/pulse"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$runtime"
}
trap cleanup EXIT

pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes \
  -L "module-null-sink sink_name=capture rate=48000 channels=2 format=float32le" \
  -L "module-native-protocol-unix" >"$runtime/pulseaudio.log" 2>&1 &
pids+=($!)
for _ in $(seq 200); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done
if ! pactl info >/dev/null 2>&1; then
  echo "wine-run.sh: the sound server did not start:" >&2
  cat "$runtime/pulseaudio.log" >&2
  exit 1
fi

if [ -n "${VORLANEX_AUDIO_FILE:-}" ]; then
  : > "$VORLANEX_AUDIO_FILE"
  parec --device=capture.monitor --format=float32le --rate=48000 --channels=2 --raw \
    --latency-msec=20 > "$VORLANEX_AUDIO_FILE" 2>>"$runtime/pulseaudio.log" &
  pids+=($!)
  # The recording runs before the program starts, so nothing it plays is lost.
  for _ in $(seq 200); do [ -s "$VORLANEX_AUDIO_FILE" ] && break; sleep 0.05; done
fi

status=0
wine "$@" || status=$?
# What was played last reaches the recording before it stops.
[ -z "${VORLANEX_AUDIO_FILE:-}" ] || sleep 0.3
exit $status
