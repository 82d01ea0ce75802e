#!/usr/bin/env bash
# End-to-end check of the skinned main window under Wine + Xvfb:
#   - hovering a control shows its over look;
#   - clicking a DPI value bar and then Apply changes the virtual mouse's DPI code;
#   - choosing a function from the menu and a sub-menu changes the button's caption
#     (and Save stores the code).
# It runs korvel-demo.exe and uses the shipped skin's layout (res/skins).
#
# usage: skin_clicks.sh VER_SEL
# environment: see lib.sh.
set -euo pipefail

edition=${1:?usage: skin_clicks.sh VER_SEL (1 English, 0 Chinese)}
program=korvel-demo.exe
. "$(dirname "$0")/lib.sh"
e2e_setup

# Mean brightness (0-1) of a box of the window on the screen.
box_mean() {  # x y w h (window coordinates)
  import -window root "$run_dir/screen.png"
  convert "$run_dir/screen.png" -crop "$3x$4+$((X + $1))+$((Y + $2))" +repage -format '%[fx:mean]' info:
}
differs() { awk -v a="$1" -v b="$2" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(d > 0.01) }'; }

demo_port() { cat "$prog/korvel-demo.port" 2>/dev/null | tr -d '\r'; }
demo_state() {
  local port line
  port=$(demo_port) || return 1
  exec 3<>"/dev/tcp/127.0.0.1/$port" || return 1
  printf 'state\n' >&3
  IFS= read -r -t 10 line <&3 || true
  exec 3>&- 3<&-
  printf '%s\n' "${line%$'\r'}"
}
dpi_codes() { demo_state | tr ' ' '\n' | sed -n 's/^dpi=//p'; }


log "start $program (VER_SEL=$edition)"
start_program
wait_for 90 window_mapped || fail "the window \"$title\" did not appear"
wait_for 30 window_visible || fail "the window is not visible to Windows"
wait_for 30 test -s "$prog/korvel-demo.port" || fail "the demo mouse's port file did not appear"
window_geometry "$title"
log "window at $X,$Y ${WIDTH}x$HEIGHT"

# 1. Hover: the Apply control (main entry 3: 668,516 112x32).
xdotool mousemove $((X + 300)) $((Y + 300)); sleep 0.8
plain=$(box_mean 668 516 112 32)
xdotool mousemove $((X + 720)) $((Y + 530)); sleep 0.8
hovered=$(box_mean 668 516 112 32)
differs "$plain" "$hovered" || fail "hovering Apply did not change its look ($plain, $hovered)"
log "Apply hover look: $plain -> $hovered"

# 2. DPI: level 1, slot 6 (main entry 71: 646,372 18x24) = value index 5, device code 6.
before=$(dpi_codes)
log "mouse DPI codes before: $before"
click_at $((556 + 18 * 5 + 9)) 384
click_at 720 530
wait_for 20 eval '[ "$(dpi_codes | cut -d, -f1)" = 6 ]' || fail "Apply did not send DPI code 6 for level 1 (now $(dpi_codes))"
log "mouse DPI codes after: $(dpi_codes)"

# 3. Function of button 3 (main entry 27: 444,150 198x22): menu row 8 opens
# sub-menu B two rows above the menu's top; its row 3 is code 23.
caption_before=$(box_mean 444 150 198 22)
click_at 520 160
menu_x=444 menu_y=172 row=29
xdotool mousemove $((X + menu_x + 40)) $((Y + menu_y + 7 * row + 12)); sleep 1
# Across the menu's right edge into the sub-menu at the same height (its row 10),
# then up to row 3.
xdotool mousemove $((X + menu_x + 172 + 40)) $((Y + menu_y + 7 * row + 12)); sleep 0.5
click_at $((menu_x + 172 + 40)) $((menu_y - 2 * row + 2 * row + 12))
xdotool mousemove $((X + 300)) $((Y + 300)); sleep 1
caption_after=$(box_mean 444 150 198 22)
differs "$caption_before" "$caption_after" || fail "the caption of button 3 did not change"
click_at 500 530   # Save
wait_for 10 eval '[ "$(get_config Config1 K2)" = 23 ]' || fail "button 3 holds K2=$(get_config Config1 K2), not 23"
log "button 3 now has code 23"
log "PASS"
