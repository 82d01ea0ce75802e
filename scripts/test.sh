#!/usr/bin/env bash
# Builds everything (the Windows program with mingw-w64, the native core, tests
# and tools) and runs every test: unit, device, rendering, and the end-to-end
# tests of the Windows program under Wine + Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=${KORVEL_JOBS:-$(nproc)}
cmake --preset windows >/dev/null
cmake --build build/windows -j"$jobs"
cmake --preset native >/dev/null
cmake --build build/native -j"$jobs"
ctest --test-dir build/native --output-on-failure -j"$jobs" --timeout 900
