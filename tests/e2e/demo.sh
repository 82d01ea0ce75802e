#!/usr/bin/env bash
# korvel-demo.exe under Wine + Xvfb, driven over its loopback socket, for one
# edition:
#   - it starts and applies the current profile of config.ini to the virtual
#     mouse: the mouse's decoded state matches the profile;
#   - a press of a button assigned to a user macro makes the mouse type that
#     macro of the edition's library, as `korvelctl macro show` lists it;
#   - a DPI press on the mouse is mirrored into the profile's DPI_LEVEL;
#   - unplugging the mouse ends the program cleanly: the exit routine ends the
#     main window's run (the demo then leaves the mouse's last state beside
#     it), no process is left, the pointer speed is back at 10.
#
# usage: demo.sh VER_SEL
# environment: see lib.sh; KORVEL_CTL, the native korvelctl.
set -euo pipefail

edition=${1:?usage: demo.sh VER_SEL (1 English, 0 Chinese)}
program=korvel-demo.exe
. "$(dirname "$0")/lib.sh"
e2e_setup
use_korvelctl
[ -f "$prog/$library" ] || fail "res/$library is missing"

# ---------------------------------------------------------------- the profile
profile=$(get_config Init CurConfig)
[ -n "$profile" ] || fail "config.ini has no CurConfig"
section=Config$profile
# Buttons 3 and 4 play user macros 1 and 5; button 5 steps the DPI level
# down (function 16) from level 2.
set_config "$section" K3 41
set_config "$section" K4 45
set_config "$section" K5 16
set_config "$section" DPI_LEVEL 2
set_config "$section" MACRO_MODE2 0
for n in 0 1 2 3; do set_config "$section" DPI_SET_EN$n 1; done

# ---------------------------------------------------------------- the socket
port_file=$prog/korvel-demo.port
# The socket helpers of lib.sh under short names.
ask() { demo_ask "$@"; }
port_known() { demo_ready; }
state_field() { demo_field "$1"; }

# ---------------------------------------------------------------- expectations
# What a macro types, from its event list: each key press types its key
# (letters lower case, as no shift is held in these macros), escaped as the
# demo's typed-text answer escapes it.
macro_text() {
  local line name out=
  while IFS= read -r line; do
    case $line in
      '[↓]'*) name=${line#'[↓]'} ;;
      *) continue ;;
    esac
    case $name in
      [A-Z]) out+=$(printf '%s' "$name" | tr 'A-Z' 'a-z') ;;
      [0-9]) out+=$name ;;
      RETURN) out+='\n' ;;
      SPACE) out+=' ' ;;
      TAB) out+='\t' ;;
      *) fail "macro_text does not know the key $name" ;;
    esac
  done < <("$korvelctl" macro show "$prog/$library" "$1")
  printf '%s' "$out"
}
typed_is() { [ "$(ask typed-text)" = "text:$1" ]; }
# The program has played the macro to its end (a press that came earlier
# would stop it rather than play).
idle() {
  local state
  state=$(ask state) || return 1
  [[ " $state " == *" busy=0 "* && " $state " == *" keys=0,0,0,0,0,0 "* ]]
}

poke setspeed 3 >/dev/null
[ "$(poke getspeed)" = 3 ] || fail "could not set the pointer speed to 3 before the run"

# ---------------------------------------------------------------- the run
log "start $program (VER_SEL=$edition, profile $profile)"
final_file=$prog/korvel-demo.state
rm -f "$port_file" "$final_file"
start_program
wait_for 90 port_known || fail "the demo's socket did not open"
log "socket on 127.0.0.1:$demo_port"
wait_for 60 window_visible || fail "the window \"$title\" did not appear"
[ "$(poke exists 'Korvel virtual mouse')" = 1 ] || fail "the mouse panel is not shown"

log "the profile is applied to the virtual mouse"
applied() { [ "$(state_field features)" -ge 16 ]; }
wait_for 30 applied || fail "the profile was not applied: $(ask state)"
expected=$(demo_expected "$section")
actual=$(demo_config)
[ "$actual" = "$expected" ] || fail "mouse state \"$actual\", expected \"$expected\""
log "mouse holds: $actual"
[ "$(poke getspeed)" = 8 ] || fail "the pointer speed of DPI_SPEED 4 is $(poke getspeed), not 8"

log "button 3 plays user macro 1"
text1=$(macro_text 0)
[ -n "$text1" ] || fail "macro 0 of $library types nothing"
[ "$(ask 'press 3')" = ok ] || fail "press 3 was refused"
wait_for 30 typed_is "$text1" || fail "typed \"$(ask typed-text)\", expected \"text:$text1\""
wait_for 30 idle || fail "the macro did not end: $(ask state)"
log "typed \"$text1\""

log "button 4 plays user macro 5"
text5=$(macro_text 4)
[ "$(ask 'press 4')" = ok ] || fail "press 4 was refused"
wait_for 30 typed_is "$text1$text5" || fail "typed \"$(ask typed-text)\", expected \"text:$text1$text5\""
wait_for 30 idle || fail "the macro did not end: $(ask state)"
log "typed \"$text1$text5\""

log "a DPI press of the mouse is mirrored into DPI_LEVEL"
[ "$(get_config "$section" DPI_LEVEL)" = 2 ] || fail "DPI_LEVEL is not 2 before the press"
[ "$(ask 'press 5')" = ok ] || fail "press 5 was refused"
level_moved() { [ "$(state_field level)" = 1 ]; }
wait_for 10 level_moved || fail "the mouse did not step down to level 1: $(ask state)"
level_saved() { [ "$(get_config "$section" DPI_LEVEL)" = 1 ]; }
wait_for 30 level_saved || fail "DPI_LEVEL of $section is $(get_config "$section" DPI_LEVEL), not 1"
log "DPI_LEVEL=1"

log "unplugging the mouse ends the program"
[ "$(ask unplug)" = ok ] || fail "unplug was refused"
wait_for 60 program_gone || fail "the process did not end after the unplug"
[ "$(poke exists "$title")" = 0 ] || fail "the main window is still there"
[ -s "$final_file" ] || fail "the demo did not leave its last state"
final=" $(head -n 1 "$final_file" | tr -d '\r') "
[[ $final == *" plugged=0 "* ]] || fail "the mouse's last state:$final"
speed=$(poke getspeed)
[ "$speed" = 10 ] || fail "the pointer speed after exit is $speed, not 10"
log "process ended, pointer speed 10"
log "PASS"
