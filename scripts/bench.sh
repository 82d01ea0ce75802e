#!/usr/bin/env bash
# Performance of Korvel, side by side in one run:
#   start-up to first paint    korvel-demo.exe under Wine + Xvfb: from the launch
#                              to the window mapped, and to the skin on screen
#   hover repaint              bench_paint (one main-page repaint for a hover change)
#   ApplyProfile               bench_apply (16 reports + settings; with config.ini writes)
#   button-to-first-report     bench_device (input report -> first macro send)
#   playback gap accuracy      bench_device (gaps against max(delay, 15) ms)
#   idle CPU                   the resident korvel-demo.exe under Wine, 20 s idle
#   peak memory                VmHWM of that Wine process
# The table goes to stdout; with --write also to docs/BENCHMARKS.md.
#
# usage: scripts/bench.sh [--write]   (needs the native and windows builds)
#   BENCH_IDLE_SECONDS (20), BENCH_STARTS (3)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
idle_seconds=${BENCH_IDLE_SECONDS:-20}
starts=${BENCH_STARTS:-3}
write=0
[ "${1:-}" = --write ] && write=1

cmake --preset native >/dev/null
cmake --build build/native --target bench_paint bench_apply bench_device -j2 >/dev/null
[ -f build/windows/src/platform/win32/korvel-demo.exe ] || { echo "bench.sh: build the windows preset first" >&2; exit 1; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
bench=build/native/tests/bench
echo "== benchmarks (Google Benchmark)" >&2
"$bench/bench_paint" --benchmark_format=json >"$out/paint.json"
"$bench/bench_apply" --benchmark_format=json >"$out/apply.json"
"$bench/bench_device" --benchmark_format=json >"$out/device.json"

# ---------------------------------------------------------------- under Wine
# One run of the resident program per start; the first start also measures
# idle CPU and peak memory. Each run has the e2e library's private prefix,
# display and program folder.
wine_run() {  # index
  (
    edition=1
    program=korvel-demo.exe
    export KORVEL_WINDOWS_BUILD_DIR=$root/build/windows KORVEL_WINEPREFIX=$root/build/wineprefix
    export KORVEL_SOURCE_DIR=$root KORVEL_E2E_WORK=$root/build/bench
    . "$root/tests/e2e/lib.sh"
    e2e_setup >&2
    # Wine's own start (wineserver, services) is not the program's: warm it.
    wine cmd /c exit >/dev/null 2>&1 || true
    import -window root "$run_dir/before.png"
    bg=$(convert "$run_dir/before.png" -format '%[pixel:p{500,400}]' info:)
    t0=$(date +%s.%N)
    start_program
    mapped= painted=
    for _ in $(seq 1 1200); do
      if [ -z "$mapped" ] && window_mapped; then mapped=$(date +%s.%N); window_geometry "$title"; fi
      if [ -n "$mapped" ]; then
        import -window root -crop 4x4+$((X + 400))+$((Y + 300)) "$run_dir/p.png" 2>/dev/null || true
        if [ -s "$run_dir/p.png" ] && [ "$(convert "$run_dir/p.png" -format '%[pixel:p{0,0}]' info:)" != "$bg" ]; then
          painted=$(date +%s.%N); break
        fi
      fi
      sleep 0.05
    done
    [ -n "$painted" ] || fail "the window was not painted"
    echo "start $(echo "$mapped - $t0" | bc) $(echo "$painted - $t0" | bc)" >"$out/wine-$1.txt"
    if [ "$1" = 1 ]; then
      wait_for 30 demo_ready || fail "the demo's socket did not open"
      xdotool mousemove 1270 10
      sleep 5   # start-up and the first apply are over
      pid=$(program_pids | head -n 1)
      ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
      a=$(ticks); ta=$(date +%s.%N)
      sleep "$idle_seconds"
      b=$(ticks); tb=$(date +%s.%N)
      hz=$(getconf CLK_TCK)
      cpu=$(echo "scale=3; 100 * ($b - $a) / $hz / ($tb - $ta)" | bc)
      hwm=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
      rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
      echo "idle $cpu $hwm $rss" >>"$out/wine-$1.txt"
    fi
  )
}
for i in $(seq 1 "$starts"); do
  echo "== Wine run $i of $starts" >&2
  wine_run "$i"
done

python3 - "$out" "$idle_seconds" "$starts" >"$out/table.md" <<'PY'
import json, statistics, sys, os, platform
out, idle_s, starts = sys.argv[1], sys.argv[2], int(sys.argv[3])
def load(n):
    with open(os.path.join(out, n)) as f:
        return {b["name"]: b for b in json.load(f)["benchmarks"]}
paint, apply_, device = load("paint.json"), load("apply.json"), load("device.json")
def find(d, prefix):
    for k, v in d.items():
        if k.startswith(prefix): return v
    raise KeyError(prefix)
def us(b):
    t, unit = b["real_time"], b["time_unit"]
    return t * {"ns": 1e-3, "us": 1, "ms": 1e3, "s": 1e6}[unit]
mapped, painted, idle = [], [], None
for i in range(1, starts + 1):
    for line in open(os.path.join(out, f"wine-{i}.txt")):
        f = line.split()
        if f[0] == "start": mapped.append(float(f[1])); painted.append(float(f[2]))
        if f[0] == "idle": idle = (float(f[1]), int(f[2]), int(f[3]))
press = find(device, "BM_PressToFirstReport")
gaps = [v for k, v in device.items() if k.startswith("BM_MacroGaps")]
rows = []
rows.append(("Start-up to window mapped (Wine)", f"{statistics.median(mapped)*1000:.0f} ms", f"median of {starts} starts (min {min(mapped)*1000:.0f}, max {max(mapped)*1000:.0f})"))
rows.append(("Start-up to first paint (Wine)", f"{statistics.median(painted)*1000:.0f} ms", f"median of {starts}; polled every ~0.1 s, so up to ~0.15 s late"))
rows.append(("Hover repaint, main page (images cached)", f"{us(find(paint, 'BM_MainHoverRepaintCached')):.0f} µs", "bench_paint, native"))
rows.append(("Hover repaint, main page (decoding each paint)", f"{us(find(paint, 'BM_MainHoverRepaintDecodingEachTime'))/1000:.1f} ms", "bench_paint, native"))
rows.append(("ApplyProfile, reports and settings", f"{us(find(apply_, 'BM_ApplyProfileReportsOnly')):.1f} µs", "bench_apply, virtual mouse"))
rows.append(("ApplyProfile with config.ini writes", f"{us(find(apply_, 'BM_ApplyProfileWithConfigFile'))/1000:.2f} ms", "bench_apply, shipped config.ini in a temp folder"))
rows.append(("Button to first report", f"{press['median_us']:.0f} µs median", f"p99 {press['p99_us']:.0f} µs, max {press['max_us']:.0f} µs (bench_device)"))
for g in gaps:
    ev, delay = g['name'].split('/')[1:3]
    rows.append((f"Playback gaps, {ev} events of {delay} ms delay", f"{g['median_excess_us']:.0f} µs median excess",
                 f"p99 {g['p99_excess_us']:.0f} µs, below floor {int(g['below_floor'])}, drift first/last 10% {g['first10pct_mean_excess_us']:.0f}/{g['last10pct_mean_excess_us']:.0f} µs"))
rows.append(("Idle CPU, resident program (Wine)", f"{idle[0]:.2f} %", f"korvel-demo.exe process over {idle_s} s, window shown, no input"))
idle_dev = find(device, "BM_IdleCpu")
rows.append(("Idle CPU, device threads (native)", f"{idle_dev['cpu_percent']:.2f} %", "bench_device: listener + dispatcher"))
rows.append(("Peak memory (Wine)", f"{idle[1]/1024:.1f} MiB", f"VmHWM of the korvel-demo.exe process (RSS at the end {idle[2]/1024:.1f} MiB)"))
print("| Measure | Result | How |")
print("|---|---|---|")
for r in rows: print(f"| {r[0]} | {r[1]} | {r[2]} |")
PY
cat "$out/table.md"
if [ "$write" = 1 ]; then
  {
    echo "# Benchmarks"
    echo
    echo "Made by \`scripts/bench.sh --write\` on $(date -u +%Y-%m-%d), $(nproc) cores ($(uname -m)), $(wine --version 2>/dev/null)."
    echo "The machine was shared with other work while it ran, so the times are pessimistic."
    echo
    cat "$out/table.md"
    echo
    echo "Native benchmarks: RelWithDebInfo build (build/native). Wine measures: Xvfb, a private"
    echo "prefix, korvel-demo.exe (the program with the virtual mouse) from the windows build."
    echo
    echo "Reading the table: the playback gaps are the time between two sends of a macro beyond"
    echo "what the macro asks for (its delay, at least 15 ms); \"below floor\" counts gaps shorter"
    echo "than that, which must stay 0; the drift compares the first and the last tenth of the"
    echo "macro. The p99 and max values carry the scheduling noise of the shared machine. The"
    echo "start-up times include Wine's own start of the process (the prefix is warmed first)."
  } >docs/BENCHMARKS.md
  echo "written: docs/BENCHMARKS.md" >&2
fi
