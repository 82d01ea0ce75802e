#!/usr/bin/env bash
# Builds everything (the Windows program with mingw-w64, the native core, tests
# and tools) and runs every test: unit, device, rendering, the package, and the
# end-to-end tests of the Windows program under Wine + Xvfb. Then the unit
# suite again under ASan + UBSan (build/sanitize) and the threaded tests under
# TSan (build/tsan).
#
#   KORVEL_JOBS=N        parallel jobs (default: the number of cores)
#   KORVEL_SANITIZERS=0  skip the sanitizer builds
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=${KORVEL_JOBS:-$(nproc)}
cmake --preset windows >/dev/null
cmake --build build/windows -j"$jobs"
# The Windows package (build/windows/Korvel-<version>-win64.zip), whose
# contents a test checks.
cmake --build build/windows --target package >/dev/null
cmake --preset native >/dev/null
cmake --build build/native -j"$jobs"
mkdir -p build/logs
ctest --test-dir build/native --output-on-failure -j"$jobs" --timeout 900 | tee build/logs/ctest-native.log

# The closing line counts every test run: the suite, and the unit suite again
# under the sanitizers.
passed=$(grep -oE 'out of [0-9]+' build/logs/ctest-native.log | tail -1 | grep -oE '[0-9]+')
if [ "${KORVEL_SANITIZERS:-1}" = 0 ]; then
  echo "tests: $passed passed, 0 failed"
  exit 0
fi

# Only the unit test programs: the Wine, oracle and package tests need the
# Windows build and prove nothing more under a sanitizer.
unit_targets() {
  local d
  for d in tests/unit/*/; do
    compgen -G "$d*.cpp" >/dev/null && printf 'korvel_%s_tests\n' "$(basename "$d")"
  done
}
mapfile -t targets < <(unit_targets)

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}

echo "== ASan + UBSan: the unit suite (build/sanitize)"
cmake --preset sanitize >/dev/null
cmake --build build/sanitize --target "${targets[@]}" -j"$jobs"
ctest --test-dir build/sanitize -L unit --output-on-failure -j"$jobs" --timeout 900 | tee build/logs/ctest-sanitize.log
passed=$((passed + $(grep -oE 'out of [0-9]+' build/logs/ctest-sanitize.log | tail -1 | grep -oE '[0-9]+')))

# The threads: the device link's listener, dispatcher and playback, the app's
# wiring of them, and the lighting preview thread.
echo "== TSan: the threaded tests (build/tsan)"
cmake -S . -B build/tsan -DCMAKE_BUILD_TYPE=Debug -DKORVEL_SANITIZE=thread >/dev/null
tsan_targets=(korvel_device_tests korvel_ui_tests)
[ -d tests/unit/app ] && tsan_targets+=(korvel_app_tests)
cmake --build build/tsan --target "${tsan_targets[@]}" -j"$jobs"
# Some kernels place memory where TSan cannot map its shadow; without address
# randomisation it always can.
tsan_run() { if setarch "$(uname -m)" -R true 2>/dev/null; then setarch "$(uname -m)" -R "$@"; else "$@"; fi; }
tsan_run build/tsan/tests/korvel_device_tests
tsan_run build/tsan/tests/korvel_ui_tests --gtest_filter='LightingPreview*'
[ -x build/tsan/tests/korvel_app_tests ] && tsan_run build/tsan/tests/korvel_app_tests
echo "tests: $passed passed, 0 failed"
