#!/usr/bin/env bash
# Journey 2, every setting from the skin to the mouse, for one edition
# (korvel-demo.exe under Wine + Xvfb, clicks through the real window):
#   - button functions from the function menu (row 4), sub-menu A (row 7),
#     sub-menu C (row 10) and the macro sub-menu (row 9, its last row);
#   - the warning for the only left button: declining it opens no menu and
#     changes nothing; going on opens the menu, and taking Left Click away
#     from button 1 gives it to button 2;
#   - DPI: a value bar of levels 2 and 4, a level switched off, the current
#     level; the wheel mode; the lighting mode (lighting page); the pointer
#     and wheel speeds and the fire time (advanced page: the bar, then the
#     decrease control);
#   - Apply: config.ini holds exactly those values, the virtual mouse holds
#     exactly that configuration, and the system's pointer speed and wheel
#     lines are the profile's.
# Sub-menu B and the DPI bar of level 1 are skin_clicks.sh's.
#
# usage: settings.sh VER_SEL
# environment: see lib.sh; KORVEL_CTL, the native korvelctl.
set -euo pipefail

edition=${1:?usage: settings.sh VER_SEL (1 English, 0 Chinese)}
program=korvel-demo.exe
. "$(dirname "$0")/lib.sh"
e2e_setup
use_korvelctl
macros=$("$korvelctl" macro list "$prog/$library" | wc -l)
[ "$macros" -ge 1 ] && [ "$macros" -le 12 ] || fail "$library holds $macros macros"

section=Config$(get_config Init CurConfig)
# Start from a known profile: button 1 alone has Left Click.
for kv in K0=1 K1=2 K2=3 K3=5 K4=4 K5=16 K6=15 K7=13 K8=0 DPI_LEVEL=0 WHEEL_STATUS=0 \
          DPI_SET0=4 DPI_SET1=6 DPI_SET2=8 DPI_SET3=10 DPI_SET_EN0=1 DPI_SET_EN1=1 DPI_SET_EN2=1 \
          DPI_SET_EN3=1 LED_STATUS=0 DPI_SPEED=4 WHEEL_SPEED=2 FIRE_TIME=50; do
  set_config "$section" "${kv%%=*}" "${kv#*=}"
done

row=29   # rows of the function menu and its sub-menus (menu_mask.jpg: 291 / 10)
menu_width=172   # menu_mask.jpg; the popup window itself is 300 wide
menu_shown() {
  local g
  g=$(xdotool search --onlyvisible --name '^MainMenuDlg$' 2>/dev/null | head -n 1) || return 1
  [ -n "$g" ] || return 1
  eval "$(xdotool getwindowgeometry --shell "$g" | sed 's/^/m/')"
}
menu_gone() { ! xdotool search --onlyvisible --name '^MainMenuDlg$' >/dev/null 2>&1; }
# The warning dialog: a nameless popup of the program (menu_x, menu_y; the
# main window's X, Y stay as they are).
warning_shown() {
  local w name
  for w in $(xdotool search --onlyvisible --class "$program" 2>/dev/null); do
    name=$(xdotool getwindowname "$w" 2>/dev/null || true)
    [ -z "$name" ] || continue
    eval "$(xdotool getwindowgeometry --shell "$w" | sed 's/^/p/')"
    if [ "$pWIDTH" -gt 20 ] && [ "$pHEIGHT" -gt 20 ]; then
      menu_x=$pX menu_y=$pY
      return 0
    fi
  done
  return 1
}
warning_gone() { ! warning_shown; }

# Opens the function menu of button $1 (1-9; main entry 24 + $1).
open_menu() {
  click_at 540 $((98 + 26 * ($1 - 1) + 11))
  wait_for 20 menu_shown || fail "the function menu of button $1 did not open"
}
# Chooses menu row $1 (1-6).
choose_row() {
  xdotool mousemove $((mX + 80)) $((mY + ($1 - 1) * row + row / 2)); sleep 0.5
  xdotool click 1
  wait_for 20 menu_gone || fail "the menu stayed open after row $1"
}
# Hovers menu row $1 (7-10), moves right into its sub-menu at the same height,
# then onto sub-menu row $3 whose top is $2 rows below the menu's top.
choose_sub() {
  local r=$1 offset=$2 d=$3
  xdotool mousemove $((mX + 80)) $((mY + (r - 1) * row + row / 2)); sleep 0.8
  xdotool mousemove $((mX + menu_width + 60)) $((mY + (r - 1) * row + row / 2)); sleep 0.5
  xdotool mousemove $((mX + menu_width + 60)) $((mY + (offset + d - 1) * row + row / 2)); sleep 0.5
  xdotool click 1
  wait_for 20 menu_gone || fail "the menu stayed open after sub-menu row $d of row $r"
  # On Xvfb (no window manager) Wine waits up to 2 s for each popup it
  # unmaps to be withdrawn, so the sub-menu stays on the screen ~4 s after the
  # choice; until it goes it would take a click meant for the main window.
  wait_for 30 warning_gone || fail "the sub-menu stayed after its row $d was chosen"
}
settle() { xdotool mousemove $((X + 300)) $((Y + 300)); sleep 0.6; }

poke setspeed 3 >/dev/null
poke setwheel 7 >/dev/null
[ "$(poke getwheel)" = 7 ] || fail "could not set the wheel lines to 7 before the run"

log "start $program (VER_SEL=$edition, $section)"
start_program
wait_for 90 demo_ready || fail "the demo's socket did not open"
wait_for 60 window_mapped || fail "the window \"$title\" did not appear"
applied() { [ "$(demo_field features)" -ge 16 ]; }
wait_for 30 applied || fail "the profile was not applied at start: $(demo_ask state)"
window_geometry "$title"
log "window at $X,$Y ${WIDTH}x$HEIGHT"

log "the only left button: declining the warning"
click_at 540 109
wait_for 20 warning_shown || fail "no warning for the only left button"
[ "$menu_x" = $((X + 444)) ] && [ "$menu_y" = $((Y + 120)) ] \
  || fail "the warning opened at $menu_x,$menu_y, not under the entry ($((X + 444)),$((Y + 120)))"
# Box 1 (decline): 188,106 108x30 of the dialog.
xdotool mousemove $((menu_x + 188 + 54)) $((menu_y + 106 + 15)); sleep 0.5
xdotool click 1
wait_for 20 warning_gone || fail "declining did not close the warning"
sleep 1
menu_gone || fail "a function menu opened after declining"

log "the only left button: going on, then Right Click"
click_at 540 109
wait_for 20 warning_shown || fail "no warning the second time"
xdotool mousemove $((menu_x + 64 + 54)) $((menu_y + 106 + 15)); sleep 0.5
xdotool click 1
wait_for 20 menu_shown || fail "going on did not open the function menu"
[ "$mX" = $((X + 444)) ] && [ "$mY" = $((Y + 120)) ] || fail "the menu opened at $mX,$mY"
choose_row 2
settle

log "button 4: menu row 4"
open_menu 4; choose_row 4; settle
log "button 5: sub-menu A, row 2"
open_menu 5; choose_sub 7 1 2; settle
log "button 6: sub-menu C, row 3"
open_menu 6; choose_sub 10 2 3; settle
log "button 7: the macro sub-menu's last row ($macros macros)"
open_menu 7; choose_sub 9 $((9 - macros)) "$macros"; settle

log "DPI: level 2 bar 10, level 4 bar 3, level 4 off, level 3 current"
click_at $((556 + 18 * 9 + 9)) 414
click_at $((556 + 18 * 2 + 9)) 474
click_at 521 474
click_at 430 444
log "wheel: alternate"
click_at 718 146

log "lighting page: Always On"
click_at 526 34
click_at 304 194
log "advanced page: pointer 7, wheel 4, fire bar at its middle, then one less"
click_at 410 34
click_at $((594 + 19 * 6 + 9)) 110
click_at $((594 + 19 * 3 + 9)) 184
click_at $((596 + 78)) 262
click_at 578 262
log "back to the main page; Apply"
click_at 294 34
click_at 724 532
settle

expect() {  # key value
  local v
  v=$(get_config "$section" "$1")
  [ "$v" = "$2" ] || fail "$section $1=$v, expected $2"
}
stored() { [ "$(get_config Config6 FIRE_TIME)" = 149 ]; }
wait_for 30 stored || fail "Apply did not store the applied copy: Config6 FIRE_TIME=$(get_config Config6 FIRE_TIME)"
for kv in K0=2 K1=1 K2=3 K3=4 K4=12 K5=33 K6=$((40 + macros)) K7=13 K8=0 \
          DPI_SET0=4 DPI_SET1=9 DPI_SET2=8 DPI_SET3=2 DPI_SET_EN0=1 DPI_SET_EN1=1 DPI_SET_EN2=1 DPI_SET_EN3=0 \
          DPI_LEVEL=2 WHEEL_STATUS=1 LED_STATUS=2 DPI_SPEED=6 WHEEL_SPEED=3 FIRE_TIME=149; do
  expect "${kv%%=*}" "${kv#*=}"
done
[ "$(get_config Init CurConfig)" = "${section#Config}" ] || fail "CurConfig changed"
log "config.ini: $section holds every choice"

expected=$(demo_expected "$section")
mouse_holds() { [ "$(demo_config)" = "$expected" ]; }
wait_for 30 mouse_holds || fail "mouse state \"$(demo_config)\", expected \"$expected\""
log "mouse holds: $expected"

speed=$(poke getspeed)
[ "$speed" = 12 ] || fail "the pointer speed of step 6 is $speed, not 12"
lines=$(poke getwheel)
[ "$lines" = 4 ] || fail "the wheel lines of step 3 are $lines, not 4"
log "pointer speed 12, wheel lines 4"
log "PASS"
