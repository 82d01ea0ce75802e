#!/usr/bin/env bash
# End-to-end check of the program's life under Wine + Xvfb, for one edition:
#   - the program starts and shows its window;
#   - the last system-menu entry opens the About box, whose OK closes it;
#   - closing the window (WM_CLOSE, Alt+F4) hides it to the tray while the
#     process keeps running; a tray double click shows it again;
#   - a second start brings the hidden window back and leaves one process;
#   - the tray menu (right-click callback, then a click on an item) shows the
#     window, and its exit ends the process and leaves the pointer speed at 10.
# It runs korvel-demo.exe, the program with the virtual mouse plugged in (no
# real mouse here; without one korvel.exe only shows the plug-in prompt).
#
# usage: lifecycle.sh VER_SEL
# environment: see lib.sh.
set -euo pipefail

edition=${1:?usage: lifecycle.sh VER_SEL (1 English, 0 Chinese)}
program=korvel-demo.exe
. "$(dirname "$0")/lib.sh"
e2e_setup

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

about_open() { [ "$(poke exists 'About Korvel')" = 1 ]; }
about_closed() { [ "$(poke exists 'About Korvel')" = 0 ]; }

# The pointer speed the exit routine must put back, so start from another one.
poke setspeed 3 >/dev/null
[ "$(poke getspeed)" = 3 ] || fail "could not set the pointer speed to 3 before the run"

log "start $program (VER_SEL=$edition)"
start_program
wait_for 90 window_mapped || fail "the window \"$title\" did not appear"
wait_for 30 window_visible || fail "the window is not visible to Windows"
one_process || fail "expected one $program process, found $(program_count)"
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
program_running && window_visible || fail "WM_POWERBROADCAST changed the window or ended the process"

log "WM_CLOSE hides to the tray"
poke post "$title" 0x10 0 0 || fail "could not post WM_CLOSE"
wait_for 30 window_hidden || fail "WM_CLOSE did not hide the window"
sleep 0.5
program_running || fail "the process ended on WM_CLOSE"

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
program_running || fail "the process ended on Alt+F4"

log "a second start brings the window back"
(cd "$prog" && timeout 90 wine "$program" >"$run_dir/second.log" 2>&1) || fail "the second start did not end by itself"
wait_for 30 window_visible || fail "the second start did not show the hidden window"
[ "$(poke iconic "$title")" = 0 ] || fail "the window came back minimized"
wait_for 30 one_process || fail "expected one $program process, found $(program_count)"

log "tray menu: show"
poke post "$title" 0x10 0 0
wait_for 30 window_hidden || fail "WM_CLOSE did not hide the window"
tray_menu_pick 1
wait_for 30 window_visible || fail "the tray menu's show item did not show the window"

log "tray menu: exit"
poke post "$title" 0x10 0 0
wait_for 30 window_hidden || fail "WM_CLOSE did not hide the window"
tray_menu_pick 2
wait_for 60 program_gone || fail "the tray menu's exit did not end the process"
speed=$(poke getspeed)
[ "$speed" = 10 ] || fail "the pointer speed after exit is $speed, not 10"
log "process ended, pointer speed 10"
log "PASS"
