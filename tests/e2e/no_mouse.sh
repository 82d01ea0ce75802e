#!/usr/bin/env bash
# korvel.exe without a mouse, under Wine + Xvfb, for one edition: it shows the
# plug-in prompt in the edition's language; once the prompt is closed it runs
# the exit routine, so the process ends, no window of it is left and the
# pointer speed is 10. No tray icon is added without a mouse.
#
# usage: no_mouse.sh VER_SEL
# environment: see lib.sh.
set -euo pipefail

edition=${1:?usage: no_mouse.sh VER_SEL (1 English, 0 Chinese)}
program=korvel.exe
. "$(dirname "$0")/lib.sh"
e2e_setup

case $edition in
  1) prompt='Please plug-in【Lumar】USB Mouse' ;;
  0) prompt='请插入【Lumar】USB鼠标' ;;
esac
# The message box has the system's default caption.
box_title=Error

box_shown() { [ "$(poke exists "$box_title")" = 1 ]; }
box_text_is_prompt() { poke texts "$box_title" | grep -qxF "$prompt"; }

poke setspeed 3 >/dev/null
[ "$(poke getspeed)" = 3 ] || fail "could not set the pointer speed to 3 before the run"

log "start $program (VER_SEL=$edition) with no mouse"
start_program
wait_for 90 box_shown || fail "no message box appeared"
wait_for 10 box_text_is_prompt || fail "the message box does not say \"$prompt\": $(poke texts "$box_title" | tr '\n' '|')"
program_running || fail "the process ended before the prompt was closed"
[ "$(poke exists "$title")" = 1 ] || fail "the main window \"$title\" does not exist while the prompt shows"
[ "$(poke tray "$title")" = 0 ] || fail "a tray icon was added without a mouse"
log "prompt shown: $prompt"

log "OK closes the prompt; the exit routine ends the program"
poke post "$box_title" 0x111 1 0 || fail "could not press OK"
wait_for 60 program_gone || fail "the process did not end after the prompt"
[ "$(poke exists "$title")" = 0 ] || fail "the main window is still there"
speed=$(poke getspeed)
[ "$speed" = 10 ] || fail "the pointer speed after exit is $speed, not 10"
log "process ended, pointer speed 10"
log "PASS"
