#!/usr/bin/env bash
# Runs a Windows program under Wine in a private, quiet prefix with a null
# ALSA sound device, so DirectSound works on machines without a sound card.
# Used as CMake's cross-compiling emulator: ctest runs Windows tests through it.
#
#   VORLANEX_WINE_HOME   folder for HOME and the prefix (default: a per-user temp folder)
#   VORLANEX_AUDIO_FILE  when set, ALSA writes what Wine plays there as raw
#                        float32 stereo 48 kHz frames instead of discarding it
set -euo pipefail

home=${VORLANEX_WINE_HOME:-${TMPDIR:-/tmp}/vorlanex-wine-$(id -u)}
mkdir -p "$home"
export HOME="$home" WINEPREFIX="$home/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# ALSA reads ~/.asoundrc: a capturing program gets a HOME of its own, so
# programs running at the same time never see each other's sound device.
if [ -n "${VORLANEX_AUDIO_FILE:-}" ]; then
  export HOME="$home/capture-$$"
  mkdir -p "$HOME"
  trap 'rm -rf "$HOME"' EXIT
  printf 'pcm.!default { type file slave.pcm "null" file "%s" format "raw" }\n' "$VORLANEX_AUDIO_FILE" > "$HOME/.asoundrc"
else
  # Written aside and renamed: a program starting meanwhile reads a whole file.
  printf 'pcm.!default { type null }\n' > "$home/.asoundrc.$$"
  mv -f "$home/.asoundrc.$$" "$home/.asoundrc"
fi

# Two test programs may start at once on a fresh machine: make the prefix once.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  (
    flock 9
    [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
  ) 9>"$home/.prefix.lock"
fi

if [ -n "${VORLANEX_AUDIO_FILE:-}" ]; then
  wine "$@"
else
  exec wine "$@"
fi
