#!/usr/bin/env bash
# Builds the libFuzzer targets (tests/fuzz/fuzz_*.cpp) with clang, ASan and
# UBSan in build/fuzz and runs each one for a bounded time.
#
#   scripts/fuzz.sh                     every target, FUZZ_SECONDS (60) each
#   scripts/fuzz.sh fuzz_macro_library  only the named targets
#   FUZZ_RUNS=100000 scripts/fuzz.sh    a fixed number of runs instead of a time
#
# Seeds: tests/fuzz/corpus/<target>/ when it exists, plus the shipped files a
# target reads (listed below). New inputs found go to build/fuzz/corpus/<target>.
# A crash leaves its input in build/fuzz/artifacts/ and makes the script fail.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
seconds=${FUZZ_SECONDS:-60}
runs=${FUZZ_RUNS:-}
jobs=${FUZZ_BUILD_JOBS:-2}

# The whole core is instrumented (coverage for the fuzzer, ASan and UBSan), not
# only the target's own file.
CC=clang CXX=clang++ cmake -S "$root" -B "$build" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKORVEL_SANITIZE=address,undefined \
  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link \
  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null

if [ "$#" -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for f in "$root"/tests/fuzz/fuzz_*.cpp; do
    [ -e "$f" ] || continue
    targets+=("$(basename "$f" .cpp)")
  done
fi
if [ "${#targets[@]}" -eq 0 ]; then
  echo "fuzz.sh: no fuzz targets" >&2
  exit 1
fi

cmake --build "$build" --target "${targets[@]}" -j"$jobs"

seeds_of() {
  case "$1" in
    fuzz_macro_library)
      ls "$root"/res/*.dat "$root"/res/skins/INI_*/defMacro.dat 2>/dev/null || true ;;
    fuzz_config)
      ls "$root"/res/config.ini 2>/dev/null || true ;;
    fuzz_layout)
      ls "$root"/res/skins/INI_*/*.ini 2>/dev/null || true ;;
  esac
}

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

status=0
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  artifacts="$build/artifacts/$t/"
  mkdir -p "$corpus" "$artifacts"
  while IFS= read -r seed; do
    [ -n "$seed" ] && cp -f "$seed" "$corpus/"
  done < <(seeds_of "$t")
  dirs=("$corpus")
  [ -d "$root/tests/fuzz/corpus/$t" ] && dirs+=("$root/tests/fuzz/corpus/$t")

  limit=(-max_total_time="$seconds")
  [ -n "$runs" ] && limit=(-runs="$runs")
  echo "== $t (${limit[*]})"
  if ! "$build/tests/fuzz/$t" "${limit[@]}" -max_len=32768 -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="$artifacts" "${dirs[@]}"; then
    echo "fuzz.sh: $t failed; inputs in $artifacts" >&2
    status=1
  fi
done
exit $status
