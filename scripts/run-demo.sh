#!/usr/bin/env bash
# Builds korvel.exe and runs it under Wine from build/run/, with the shipped
# config.ini (and the skins and macro libraries when present). Without a
# $DISPLAY it runs on a private Xvfb display and says how to look at it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build build/windows --target korvel -j"${KORVEL_JOBS:-2}"

run=build/run
mkdir -p "$run"
cp build/windows/src/platform/win32/korvel.exe "$run/"
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
korvel.exe runs on the virtual display $DISPLAY (Xvfb). To see it:
  DISPLAY=$DISPLAY import -window root korvel.png     # a screenshot
To end it, choose "Exit Driver" in its tray menu, or press Ctrl+C here.
MSG
fi

cd "$run"
echo "starting $(pwd)/korvel.exe under Wine (prefix $WINEPREFIX)"
wine korvel.exe
