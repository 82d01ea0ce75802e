#!/usr/bin/env bash
# Builds korvel-demo.exe (the program with a virtual mouse plugged in, and a
# panel to press its buttons and see what it holds and types) and runs it
# under Wine from build/run/, with the shipped config.ini, skins and macro
# libraries. Without a $DISPLAY it runs on a private Xvfb display and says how
# to look at it. A script can drive the mouse over 127.0.0.1 on the port
# written to build/run/korvel-demo.port (commands: see
# src/platform/win32/demo_mouse.h), e.g.
#   exec 3<>/dev/tcp/127.0.0.1/$(cat build/run/korvel-demo.port); echo state >&3; head -1 <&3
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build build/windows --target korvel-demo -j"${KORVEL_JOBS:-2}"

run=build/run
mkdir -p "$run"
cp build/windows/src/platform/win32/korvel-demo.exe "$run/"
rm -f "$run/korvel-demo.port"
# Each run starts from the shipped settings.
cp res/config.ini "$run/config.ini"
if [ -d res/skins ]; then
  rm -rf "$run/skins"
  cp -r res/skins "$run/skins"
fi
shopt -s nullglob
for f in res/*.dat; do cp "$f" "$run/"; done
shopt -u nullglob

export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"

xvfb_pid=
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -z "${DISPLAY:-}" ]; then
  n=$((100 + RANDOM % 100))
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 100); do
    xdpyinfo -display ":$n" >/dev/null 2>&1 && break
    sleep 0.1
  done
  export DISPLAY=":$n"
  cat <<MSG
korvel-demo.exe runs on the virtual display $DISPLAY (Xvfb). To see it:
  DISPLAY=$DISPLAY import -window root korvel.png     # a screenshot
To end it, choose "Exit Driver" in its tray menu, unplug the virtual mouse
(its panel, or "unplug" on the socket), or press Ctrl+C here.
MSG
fi

cd "$run"
echo "starting $(pwd)/korvel-demo.exe under Wine (prefix $WINEPREFIX)"
wine korvel-demo.exe
