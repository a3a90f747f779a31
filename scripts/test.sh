#!/usr/bin/env bash
# The whole test suite: native, native under the sanitizers, and the Windows
# build under Wine against the real Windows libraries.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh native asan win32
for preset in native asan win32; do
  echo "== tests: $preset"
  ctest --preset "$preset"
done
echo "== the example panel heard on both builds"
scripts/hear-both-builds.sh
