#!/usr/bin/env bash
# Installs what the two builds and their tests need on a fresh Debian machine.
# Idempotent: packages already present are not installed again. Node and npm
# come with the machine (not Debian's).
set -euo pipefail

packages=(cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libbenchmark-dev
          g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386 libasound2:i386
          libsoxr-dev libsndfile1-dev portaudio19-dev libasound2-dev libjack-jackd2-dev pulseaudio pulseaudio-utils
          libopenal-dev libcli11-dev nlohmann-json3-dev pkg-config
          libarchive-dev librapidxml-dev libboost-dev gcab chromium liblua5.4-dev libstb-dev fonts-dejavu-core)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Playwright for the console's browser tests, which drive Debian's chromium:
# the versions its package-lock.json holds, installed once.
browser_tests=$(cd "$(dirname "$0")/../tests/browser" && pwd)
if [ ! -f "$browser_tests/node_modules/playwright-core/package.json" ] ||
   [ "$browser_tests/package-lock.json" -nt "$browser_tests/node_modules/.package-lock.json" ]; then
  (cd "$browser_tests" && npm ci --no-audit --no-fund --loglevel=error)
fi
