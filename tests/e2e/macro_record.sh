#!/usr/bin/env bash
# The macro editor of korvel-demo.exe under Wine + Xvfb, for one edition:
#   - recording: keys typed while the advanced page is shown and the recorder
#     runs fill the event list with their lines and the measured delays;
#   - Escape and Enter never close the main window;
#   - a delay edited in place through the event menu's "modify delay";
#   - a mouse-button event inserted from the event menu;
#   - the play mode and the repeat count saved (which writes the library);
#   - the macro assigned to a button through the function menu's user-macro
#     sub-menu and applied: a press on the virtual mouse types it as often as
#     the repeat count says, and a second press stops a long run after the
#     repetition under way.
#
# usage: macro_record.sh VER_SEL
# environment: see lib.sh; KORVEL_CTL, the native korvelctl.
set -euo pipefail

edition=${1:?usage: macro_record.sh VER_SEL (1 English, 0 Chinese)}
program=korvel-demo.exe
. "$(dirname "$0")/lib.sh"
e2e_setup
use_korvelctl
[ -f "$prog/$library" ] || fail "res/$library is missing"

profile=$(get_config Init CurConfig)
section=Config$profile
# Button 3 (K2) starts with a plain click; a second press of a playing macro
# stops it (MACRO_MODE2 0).
set_config "$section" K2 1
set_config "$section" MACRO_MODE2 0

# ---------------------------------------------------------------- helpers
port_file=$prog/korvel-demo.port
# The socket helpers of lib.sh under short names.
ask() { demo_ask "$@"; }
port_known() { demo_ready; }
idle() {
  local state
  state=$(ask state) || return 1
  [[ " $state " == *" busy=0 "* && " $state " == *" keys=0,0,0,0,0,0 "* ]]
}
typed() { local t; t=$(ask typed-text) || return 1; printf '%s' "${t#text:}"; }

macro_lines() { poke items "$title" 10001; }
event_lines() { poke items "$title" 10002; }
event_count() { event_lines | wc -l; }
has_events() { [ "$(event_count)" -eq "$1" ]; }
event_line() { event_lines | sed -n "$(($1 + 1))p"; }

right_click_at() {
  xdotool mousemove $((X + $1)) $((Y + $2))
  sleep 0.3
  xdotool click 3
}
still_there() { [ "$(poke exists "$title")" = 1 ] && window_visible && one_process; }
menu_open() { menu_geometry; }
menu_closed() { ! menu_geometry; }

# Advanced page (skin_advance*.ini): macro list 200,96 150x206; event list
# 362,96 184x262; record 362,368; repeat field 252,408 52x22; set 308,408;
# play mode 200,374 150x26.
list_x=210 event_x=400 event_top=96

# ---------------------------------------------------------------- the run
log "start $program (VER_SEL=$edition)"
rm -f "$port_file"
start_program
wait_for 90 port_known || fail "the demo's socket did not open"
wait_for 60 window_visible || fail "the window \"$title\" did not appear"
wait_for 30 window_mapped || fail "the window is not mapped"
window_geometry "$title"
log "window at $X,$Y ${WIDTH}x$HEIGHT"

log "the advanced page shows the user macros"
click_at 410 34
has_macros() { [ "$(macro_lines | wc -l)" -ge 2 ]; }
wait_for 30 has_macros || fail "the macro list is empty: $(macro_lines)"
first_macro=$(macro_lines | head -n 1)
log "macro list: $(macro_lines | tr '\n' '|')"

# The first macro: its line is the first of the list.
click_at $list_x 102
selected_first() { [ "$(poke text "$title" 10000)" = "$first_macro" ]; }
wait_for 20 selected_first || fail "selecting the first macro did not show its name: $(poke text "$title" 10000)"

log "record A, B while the recorder runs"
click_at 405 382
# The hook swallows the keys and hands them to the window one by one; each is
# waited for, so the delays measured are at least the pauses between them.
xdotool keydown a
wait_for 20 has_events 1 || fail "the press of A was not recorded: $(event_lines | tr '\n' '|')"
sleep 0.6
xdotool keyup a
wait_for 20 has_events 3 || fail "the release of A was not recorded: $(event_lines | tr '\n' '|')"
sleep 0.3
xdotool keydown b
wait_for 20 has_events 5 || fail "the press of B was not recorded: $(event_lines | tr '\n' '|')"
sleep 0.4
xdotool keyup b
wait_for 20 has_events 7 || fail "the release of B was not recorded: $(event_lines | tr '\n' '|')"
click_at 405 382
log "events: $(event_lines | tr '\n' '|')"

[ "$(event_line 0)" = '[↓]A' ] || fail "line 0 is \"$(event_line 0)\", not [↓]A"
[ "$(event_line 2)" = '[↑]A' ] || fail "line 2 is \"$(event_line 2)\", not [↑]A"
[ "$(event_line 4)" = '[↓]B' ] || fail "line 4 is \"$(event_line 4)\", not [↓]B"
[ "$(event_line 6)" = '[↑]B' ] || fail "line 6 is \"$(event_line 6)\", not [↑]B"
delay_of() {  # line -> milliseconds, or fail when it is no delay line
  local line
  line=$(event_line "$1")
  [[ $line =~ ^\ \ \ \ ([0-9]+)ms$ ]] || fail "line $1 \"$line\" is no delay line"
  echo "${BASH_REMATCH[1]}"
}
d1=$(delay_of 1) d2=$(delay_of 3) d3=$(delay_of 5)
[ "$d1" -ge 600 ] && [ "$d1" -le 30000 ] || fail "the A press lasted ${d1} ms, not 600 ms or more"
[ "$d2" -ge 300 ] && [ "$d2" -le 30000 ] || fail "the pause after A was ${d2} ms, not 300 ms or more"
[ "$d3" -ge 400 ] && [ "$d3" -le 30000 ] || fail "the B press lasted ${d3} ms, not 400 ms or more"
log "delays $d1, $d2, $d3 ms"

log "Escape and Enter do not close the window"
xdotool key Escape
sleep 0.5
xdotool key Return
sleep 0.5
xdotool key F10
sleep 1
still_there || fail "the main window went after Escape / Enter / F10"
[ "$(event_count)" -eq 7 ] || fail "keys after the recording changed the event list"

log "repeat three times, saved to $library"
click_at 275 387          # play mode: repeat
click_at 278 419          # the repeat-count field
xdotool key ctrl+a BackSpace BackSpace BackSpace BackSpace BackSpace
xdotool type --delay 100 3
click_at 329 419          # set
saved() { "$korvelctl" macro list "$prog/$library" | head -n 1 | awk -F'\t' '{ exit !($3 == 1 && $4 == 3 && $5 == 4) }'; }
wait_for 20 saved || fail "the library holds: $("$korvelctl" macro list "$prog/$library" | head -n 1)"
log "library: $("$korvelctl" macro list "$prog/$library" | head -n 1)"

log "assign the macro to button 3 through the user-macro sub-menu and apply"
click_at 294 34           # main page
count=$("$korvelctl" macro list "$prog/$library" | wc -l)
[ "$count" -le 12 ] || count=12
menu_x=444 menu_y=172 row=29
click_at 520 160
xdotool mousemove $((X + menu_x + 40)) $((Y + menu_y + 8 * row + 12)); sleep 1
sub_top=$((menu_y + (9 - count) * row))
xdotool mousemove $((X + menu_x + 172 + 40)) $((Y + menu_y + 8 * row + 12)); sleep 0.5
click_at $((menu_x + 172 + 40)) $((sub_top + 12))
xdotool mousemove $((X + 300)) $((Y + 300)); sleep 1
click_at 500 530          # save
wait_for 10 eval '[ "$(get_config "$section" K2)" = 41 ]' || fail "button 3 holds K2=$(get_config "$section" K2), not 41"
click_at 720 530          # apply
sleep 2

log "a press plays it three times"
before=$(typed)
[ "$(ask 'press 2')" = ok ] || fail "press 2 was refused"
wait_for 60 eval '[ "$(typed)" = "${before}ababab" ]' || fail "typed \"$(typed)\", expected \"${before}ababab\""
wait_for 30 idle || fail "the macro did not end: $(ask state)"
sleep 2
[ "$(typed)" = "${before}ababab" ] || fail "it went on typing: \"$(typed)\""

log "a second press stops a long run after the repetition under way"
click_at 410 34
wait_for 30 has_macros || fail "the macro list is empty"
click_at $list_x 102
wait_for 20 has_events 7 || fail "the first macro does not show its events"
click_at 278 419
xdotool key ctrl+a BackSpace BackSpace BackSpace BackSpace BackSpace
xdotool type --delay 100 60
click_at 329 419
saved60() { "$korvelctl" macro list "$prog/$library" | head -n 1 | awk -F'\t' '{ exit !($4 == 60) }'; }
wait_for 20 saved60 || fail "the library holds: $("$korvelctl" macro list "$prog/$library" | head -n 1)"
before=$(typed)
[ "$(ask 'press 2')" = ok ] || fail "press 2 was refused"
wait_for 60 eval '[ "$(typed)" != "$before" ]' || fail "the long run did not start"
[ "$(ask 'press 2')" = ok ] || fail "the stopping press was refused"
wait_for 120 idle || fail "the macro did not stop: $(ask state)"
sleep 3
run=$(typed)
run=${run#"$before"}
reps=$(( ${#run} / 2 ))
[ "$run" = "$(printf 'ab%.0s' $(seq 1 $reps))" ] || fail "the stopped run typed \"$run\""
[ "$reps" -ge 1 ] && [ "$reps" -le 10 ] || fail "the stopped run played $reps times"
log "stopped after $reps repetitions"
# ---------------------------------------------------------------- event menu
# Last: under Wine (8.0, Xvfb) the main window takes no more pointer input
# once a popup menu (TrackPopupMenu) has been shown, so everything clicked on
# it comes before, and the second menu is opened in a fresh run (the menus
# themselves are new windows and take keys).
log "modify the delay of line 1 in place through the event menu"
line_h=$(poke lineheight "$title" 10002)
[ "${line_h:-0}" -gt 0 ] || fail "the event list has no line height"
line_y() { echo $((event_top + $1 * line_h + line_h / 2)); }
# Items: add before, add after, modify delay, delete.
click_at $event_x "$(line_y 1)"
right_click_at $event_x "$(line_y 1)"
wait_for 20 menu_open || fail "the event menu did not open at line 1"
sleep 0.5
xdotool key Down Down Down Return
wait_for 20 menu_closed || fail "the event menu did not close"
sleep 1
xdotool key ctrl+a
xdotool type --delay 100 250
xdotool key Return
delay_250() { [ "$(event_line 1)" = '    250ms' ]; }
wait_for 20 delay_250 || fail "line 1 reads \"$(event_line 1)\" after typing 250"
[ "$(event_count)" -eq 7 ] || fail "the edit changed the number of lines"
log "line 1: $(event_line 1)"
"$korvelctl" macro show "$prog/$library" 0 >/dev/null

log "restart, then insert a left-button release after the last event"
[ "$(ask unplug)" = ok ] || fail "unplug was refused"
wait_for 60 program_gone || fail "the process did not end after the unplug"
rm -f "$port_file"
start_program
wait_for 90 port_known || fail "the demo's socket did not open again"
wait_for 60 window_visible || fail "the window did not come back"
wait_for 30 window_mapped || fail "the window is not mapped"
window_geometry "$title"
click_at 410 34
wait_for 30 has_macros || fail "the macro list is empty after the restart"
click_at $list_x 102
wait_for 20 has_events 7 || fail "the saved macro shows: $(event_lines | tr '\n' '|')"
click_at $event_x "$(line_y 6)"
right_click_at $event_x "$(line_y 6)"
wait_for 20 menu_open || fail "the event menu did not open at line 6"
sleep 0.5
# Add after -> left button -> up (Up wraps to the last item of the two).
xdotool key Down Down Right Right Up Return
wait_for 20 menu_closed || fail "the event menu did not close"
has_nine() { [ "$(event_count)" -eq 9 ]; }
wait_for 20 has_nine || fail "no event was inserted: $(event_lines | tr '\n' '|')"
log "events: $(event_lines | tr '\n' '|')"
case "$(event_line 8)" in
  '[↑]'*) ;;
  *) fail "the inserted line reads \"$(event_line 8)\"" ;;
esac
[[ "$(event_line 7)" =~ ^\ \ \ \ [0-9]+ms$ ]] || fail "no delay line before the inserted event"
still_there || fail "the main window is gone"
log "PASS"
