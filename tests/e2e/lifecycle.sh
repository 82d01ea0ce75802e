#!/usr/bin/env bash
# End-to-end check of the program's life under Wine + Xvfb, for one edition:
#   - korvel.exe starts and shows its window;
#   - the last system-menu entry opens the About box, whose OK closes it;
#   - closing the window (WM_CLOSE, Alt+F4) hides it to the tray while the
#     process keeps running; a tray double click shows it again;
#   - a second start brings the hidden window back and leaves one process;
#   - the tray menu (right-click callback, then a click on an item) shows the
#     window, and its exit ends the process and leaves the pointer speed at 10.
#
# usage: lifecycle.sh VER_SEL
# environment: KORVEL_WINDOWS_BUILD_DIR (the windows preset's build folder),
#   KORVEL_WINEPREFIX (the prefix made by scripts/setup.sh, copied per run),
#   KORVEL_SOURCE_DIR, KORVEL_E2E_WORK (a scratch folder on the prefix's disk).
set -euo pipefail

edition=${1:?usage: lifecycle.sh VER_SEL (1 English, 0 Chinese)}
build=${KORVEL_WINDOWS_BUILD_DIR:?}
base_prefix=${KORVEL_WINEPREFIX:?}
source_dir=${KORVEL_SOURCE_DIR:?}
work_root=${KORVEL_E2E_WORK:-${TMPDIR:-/tmp}}

korvel_exe=$build/src/platform/win32/korvel.exe
poke_exe=$build/tests/win/poke/korvel-poke.exe

case $edition in
  1) title='Vantel Gaming Mouse' ;;
  0) title='Lumar宏编程游戏鼠标' ;;
  *) echo "FAIL: unknown edition $edition"; exit 1 ;;
esac

export LC_ALL=C.UTF-8   # titles travel as UTF-8 to xdotool and Wine
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

started=$SECONDS
log() { printf '[%4ds] %s\n' $((SECONDS - started)) "$*"; }
fail() { log "FAIL: $*"; exit 1; }

for f in "$korvel_exe" "$poke_exe"; do
  [ -f "$f" ] || fail "$f is not built (cmake --preset windows && cmake --build build/windows)"
done
[ -f "$base_prefix/system.reg" ] || fail "no Wine prefix at $base_prefix (run scripts/setup.sh)"
for tool in wine wineserver Xvfb xdotool xdpyinfo; do
  command -v "$tool" >/dev/null || fail "$tool is missing (run scripts/setup.sh)"
done

mkdir -p "$work_root"
run_dir=$(mktemp -d "$work_root/korvel-e2e.XXXXXX")
xvfb_pid=
our_display=
export WINEPREFIX=$run_dir/prefix

cleanup() {
  local rc=$?
  set +e
  if [ $rc -ne 0 ] && [ -n "$our_display" ]; then
    # What the screen showed when it failed, kept beside the scratch folders.
    import -window root "$work_root/failure-$edition.png" >/dev/null 2>&1 \
      && log "screen at failure: $work_root/failure-$edition.png"
    [ -s "$run_dir/korvel.log" ] && { log "korvel.exe output:"; cat "$run_dir/korvel.log"; }
  fi
  if [ -d "$WINEPREFIX" ]; then
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$run_dir"
  exit $rc
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A private copy of the prefix: its own wineserver and registry (the pointer
# speed lives there), so parallel runs never meet. The large system folders
# are hard links; everything Wine may write is a real copy.
mkdir -p "$WINEPREFIX"
(cd "$base_prefix" && tar cf - --exclude=./drive_c/windows/system32 --exclude=./drive_c/windows/winsxs \
   --exclude=./wineserver .) | (cd "$WINEPREFIX" && tar xf -)
for d in system32 winsxs; do
  cp -al "$base_prefix/drive_c/windows/$d" "$WINEPREFIX/drive_c/windows/" 2>/dev/null \
    || cp -a "$base_prefix/drive_c/windows/$d" "$WINEPREFIX/drive_c/windows/"
done

# A private X display: the first free number from a random start.
start_display() {
  local n tries
  n=$((200 + RANDOM % 600))
  for tries in $(seq 1 40); do
    n=$((n + 1))
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$run_dir/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 100); do
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then
        export DISPLAY=":$n"
        our_display=$DISPLAY
        return 0
      fi
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; xvfb_pid=
  done
  return 1
}
start_display || fail "no free X display for Xvfb"
log "display $DISPLAY, prefix $WINEPREFIX"

# The program folder: korvel.exe and a config.ini in the edition under test.
prog=$run_dir/prog
mkdir -p "$prog"
cp "$korvel_exe" "$prog/"
if [ -f "$source_dir/res/config.ini" ]; then
  cp "$source_dir/res/config.ini" "$prog/config.ini"
  grep -q '^VER_SEL=' "$prog/config.ini" || fail "res/config.ini has no VER_SEL line"
  sed -i -E "s/^VER_SEL=[0-9-]*/VER_SEL=$edition/" "$prog/config.ini"
else
  printf '[Init]\r\nCurConfig=1\r\nVER_SEL=%s\r\n' "$edition" >"$prog/config.ini"
fi

poke() { wine "$poke_exe" "$@" 2>/dev/null | tr -d '\r'; }

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
  local limit=$1; shift
  local until=$((SECONDS + limit))
  while [ $SECONDS -lt $until ]; do
    "$@" && return 0
    sleep 0.3
  done
  return 1
}

# korvel.exe processes of this run's prefix.
korvel_pids() {
  local pid
  for pid in $(pgrep -f '(^|[\\/ ])korvel\.exe' || true); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$pid"
  done
  return 0
}
korvel_count() { korvel_pids | wc -l; }
korvel_running() { [ "$(korvel_count)" -ge 1 ]; }
korvel_gone() { [ "$(korvel_count)" -eq 0 ]; }
window_visible() { [ "$(poke visible "$title")" = 1 ]; }
window_hidden() { [ "$(poke visible "$title")" = 0 ]; }
window_mapped() { xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; }

# The popup menu: a visible, nameless window of korvel.exe larger than a point.
menu_geometry() {
  local w name
  for w in $(xdotool search --onlyvisible --class 'korvel.exe' 2>/dev/null); do
    name=$(xdotool getwindowname "$w" 2>/dev/null || true)
    [ -z "$name" ] || continue
    eval "$(xdotool getwindowgeometry --shell "$w")"
    if [ "$WIDTH" -gt 20 ] && [ "$HEIGHT" -gt 20 ]; then
      menu_x=$X menu_y=$Y menu_w=$WIDTH menu_h=$HEIGHT
      return 0
    fi
  done
  return 1
}

# Opens the tray menu as a right-click on the tray icon would (the callback
# WM_USER + 1 with icon id 153 and WM_RBUTTONUP) and clicks item $1 of its two.
tray_menu_pick() {
  local item=$1
  # The menu opens at the cursor; keep it clear of the screen's edges.
  xdotool mousemove 300 300
  poke post "$title" 0x401 153 0x205 || fail "could not post the tray callback"
  wait_for 30 menu_geometry || fail "the tray menu did not open"
  log "tray menu at ${menu_x},${menu_y} ${menu_w}x${menu_h}"
  # Two items of equal height: item 1 in the upper, item 2 in the lower half.
  xdotool mousemove $((menu_x + menu_w / 3)) $((menu_y + menu_h * (2 * item - 1) / 4))
  sleep 0.3
  xdotool click 1
}

window_geometry() {
  eval "$(xdotool search --onlyvisible --name "^$1\$" getwindowgeometry --shell | head -n 6)"
}

about_open() { [ "$(poke exists 'About Korvel')" = 1 ]; }
about_closed() { [ "$(poke exists 'About Korvel')" = 0 ]; }
one_process() { [ "$(korvel_count)" -eq 1 ]; }

# The pointer speed the exit routine must put back, so start from another one.
poke setspeed 3 >/dev/null
[ "$(poke getspeed)" = 3 ] || fail "could not set the pointer speed to 3 before the run"

log "start korvel.exe (VER_SEL=$edition)"
(cd "$prog" && exec wine korvel.exe >"$run_dir/korvel.log" 2>&1) &
wait_for 90 window_mapped || fail "the window \"$title\" did not appear"
wait_for 30 window_visible || fail "the window is not visible to Windows"
one_process || fail "expected one korvel.exe process, found $(korvel_count)"
log "window shown"

# Keys go to the window under the pointer (no window manager on Xvfb); no
# clicks on the main window, whose surface belongs to the skin.
log "About box from the last entry of the system menu"
window_geometry "$title"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
sleep 0.3
xdotool key alt+space
wait_for 30 menu_geometry || fail "Alt+Space did not open the system menu"
# Up from no selection lands on the last entry: "&About Korvel...".
xdotool key Up
sleep 0.3
xdotool key Return
wait_for 30 about_open || fail "the last system-menu entry did not open the About box"
window_geometry 'About Korvel'
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
sleep 0.3
xdotool key Return
wait_for 30 about_closed || fail "OK did not close the About box"
window_visible || fail "the main window went away with the About box"

log "power event"
poke post "$title" 0x218 7 0 || fail "could not post WM_POWERBROADCAST"
sleep 0.5
korvel_running && window_visible || fail "WM_POWERBROADCAST changed the window or ended the process"

log "WM_CLOSE hides to the tray"
poke post "$title" 0x10 0 0 || fail "could not post WM_CLOSE"
wait_for 30 window_hidden || fail "WM_CLOSE did not hide the window"
sleep 0.5
korvel_running || fail "the process ended on WM_CLOSE"

log "tray double click shows the window; another icon id is ignored"
poke post "$title" 0x401 99 0x203
sleep 1
window_hidden || fail "a tray callback for icon 99 showed the window"
poke post "$title" 0x401 153 0x203
wait_for 30 window_visible || fail "a double click on the tray icon did not show the window"
[ "$(poke iconic "$title")" = 0 ] || fail "the double click left the window minimized"

log "Alt+F4 hides to the tray"
wait_for 30 window_mapped || fail "the shown window is not mapped on the display"
window_geometry "$title"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
sleep 0.3
xdotool key --clearmodifiers alt+F4
wait_for 30 window_hidden || fail "Alt+F4 did not hide the window"
korvel_running || fail "the process ended on Alt+F4"

log "a second start brings the window back"
(cd "$prog" && timeout 90 wine korvel.exe >"$run_dir/second.log" 2>&1) || fail "the second start did not end by itself"
wait_for 30 window_visible || fail "the second start did not show the hidden window"
[ "$(poke iconic "$title")" = 0 ] || fail "the window came back minimized"
wait_for 30 one_process || fail "expected one korvel.exe process, found $(korvel_count)"

log "tray menu: show"
poke post "$title" 0x10 0 0
wait_for 30 window_hidden || fail "WM_CLOSE did not hide the window"
tray_menu_pick 1
wait_for 30 window_visible || fail "the tray menu's show item did not show the window"

log "tray menu: exit"
poke post "$title" 0x10 0 0
wait_for 30 window_hidden || fail "WM_CLOSE did not hide the window"
tray_menu_pick 2
wait_for 60 korvel_gone || fail "the tray menu's exit did not end the process"
speed=$(poke getspeed)
[ "$speed" = 10 ] || fail "the pointer speed after exit is $speed, not 10"
log "process ended, pointer speed 10"
log "PASS"
