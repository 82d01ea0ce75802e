#!/usr/bin/env bash
# Journey 3, profiles, for one edition (korvel-demo.exe under Wine + Xvfb,
# clicks through the real window):
#   - choosing profile 2 and applying it: CurConfig is 2, the applied copy
#     (Config6) and the virtual mouse hold profile 2;
#   - choosing profile 3, changing it and saving: Config3 holds the change,
#     the mouse still holds profile 2;
#   - an edit without applying, a new DPI level, then the hide control
#     (hide with revert): the window goes to the tray (icon present), Config6
#     keeps the new DPI level;
#   - shown again from the tray and applied: the edit is gone, the mouse holds
#     the applied copy with the new level.
#
# usage: profiles.sh VER_SEL
# environment: see lib.sh.
set -euo pipefail

edition=${1:?usage: profiles.sh VER_SEL (1 English, 0 Chinese)}
program=korvel-demo.exe
. "$(dirname "$0")/lib.sh"
e2e_setup

# Three profiles that differ in every field the journey looks at.
set_config Init CurConfig 1
for p in 1 2 3; do
  for kv in K0=1 K1=2 K2=3 K3=$((3 + p)) DPI_LEVEL=0 WHEEL_STATUS=0 DPI_SET0=$((p + 1)) DPI_SET1=6 DPI_SET2=8 \
            DPI_SET3=10 DPI_SET_EN0=1 DPI_SET_EN1=1 DPI_SET_EN2=1 DPI_SET_EN3=1 LED_STATUS=$((p - 1)) \
            DPI_SPEED=$((p + 2)) WHEEL_SPEED=2 FIRE_TIME=$((40 * p)); do
    set_config Config$p "${kv%%=*}" "${kv#*=}"
  done
done

profile_entry() { click_at 102 $((104 + 40 * ($1 - 1) + 17)); }   # main entries 4-8
save() { click_at 502 532; }                                      # main entry 0
apply() { click_at 724 532; }                                     # main entry 3
settle() { xdotool mousemove $((X + 300)) $((Y + 300)); sleep 0.6; }
mouse_holds() { [ "$(demo_config)" = "$(demo_expected "$1")" ]; }
tray_icon() { [ "$(poke tray "$title")" = 1 ]; }

log "start $program (VER_SEL=$edition)"
start_program
wait_for 90 demo_ready || fail "the demo's socket did not open"
wait_for 60 window_mapped || fail "the window \"$title\" did not appear"
wait_for 30 mouse_holds Config1 || fail "profile 1 was not applied at start: $(demo_config)"
window_geometry "$title"

log "profile 2, Apply"
profile_entry 2
apply
settle
curconfig_is() { [ "$(get_config Init CurConfig)" = "$1" ]; }
wait_for 30 curconfig_is 2 || fail "Apply of profile 2 left CurConfig=$(get_config Init CurConfig)"
for k in K3 DPI_SET0 LED_STATUS DPI_SPEED FIRE_TIME; do
  [ "$(get_config Config6 $k)" = "$(get_config Config2 $k)" ] || fail "Config6 $k=$(get_config Config6 $k), profile 2 has $(get_config Config2 $k)"
done
wait_for 30 mouse_holds Config2 || fail "the mouse holds \"$(demo_config)\", not profile 2's \"$(demo_expected Config2)\""
[ "$(poke getspeed)" = 8 ] || fail "the pointer speed of profile 2 (step 4) is $(poke getspeed), not 8"
log "mouse holds profile 2: $(demo_config)"

log "profile 3: alternate wheel, Save"
profile_entry 3
click_at 718 146   # main entry 42
save
settle
saved() { [ "$(get_config Config3 WHEEL_STATUS)" = 1 ]; }
wait_for 30 saved || fail "Save did not store WHEEL_STATUS=1 in Config3"
[ "$(get_config Config3 FIRE_TIME)" = 120 ] || fail "Save changed Config3 FIRE_TIME to $(get_config Config3 FIRE_TIME)"
[ "$(get_config Config2 WHEEL_STATUS)" = 0 ] || fail "Save of profile 3 changed profile 2"
curconfig_is 2 || fail "Save changed CurConfig to $(get_config Init CurConfig)"
mouse_holds Config2 || fail "Save changed the mouse: $(demo_config)"
log "Config3 saved; the mouse still holds profile 2"

log "an edit (level 1 bar 12), level 4, then the hide control"
click_at $((556 + 18 * 11 + 9)) 384   # main entry 77
click_at 430 474                      # main entry 57
click_at 610 532                      # main entry 2
wait_for 30 window_hidden || fail "the hide control did not hide the window"
program_running || fail "the process ended on hide"
tray_icon || fail "no tray icon while hidden"
level_kept() { [ "$(get_config Config6 DPI_LEVEL)" = 3 ]; }
wait_for 30 level_kept || fail "Config6 DPI_LEVEL=$(get_config Config6 DPI_LEVEL), not the chosen level 4 (3)"
[ "$(get_config Config6 DPI_SET0)" = "$(get_config Config2 DPI_SET0)" ] || fail "the unapplied edit reached Config6"
log "hidden to the tray; Config6 keeps DPI level 4"

log "shown from the tray; Apply"
poke post "$title" 0x401 153 0x203
wait_for 30 window_visible || fail "a double click on the tray icon did not show the window"
wait_for 30 window_mapped || fail "the shown window is not mapped"
window_geometry "$title"
apply
settle
level_applied() { [ "$(demo_field level)" = 3 ]; }
wait_for 30 level_applied || fail "the mouse is at level $(demo_field level), not 3"
mouse_holds Config6 || fail "the mouse holds \"$(demo_config)\", not the applied copy's \"$(demo_expected Config6)\""
dpi1=$(demo_field dpi | cut -d, -f1)
want=$(demo_expected Config2 | sed -E 's/.* dpi=([0-9]+),.*/\1/')
[ "$dpi1" = "$want" ] || fail "level 1 of the mouse has code $dpi1, not profile 2's $want: the edit dropped by the hide came back"
log "mouse holds: $(demo_config)"
log "PASS"
