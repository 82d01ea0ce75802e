#!/usr/bin/env bash
# Journey 1, first start, for one edition (korvel-demo.exe under Wine + Xvfb):
#   - the window appears with its outline: where the skin's mask cuts the
#     window's rectangle, the screen still shows the desktop as it was before
#     the start; inside the outline it shows the skin;
#   - the tray icon (id 153 of the main window) is present from the end of
#     start-up, and stays while the window is hidden to the tray;
#   - the skin's minimise control minimises the window (without hiding it);
#     a second start restores it and ends by itself, leaving one process.
# The hidden-window case of a second start, the About box and the tray menu
# are lifecycle.sh's.
#
# usage: first_start.sh VER_SEL
# environment: see lib.sh.
set -euo pipefail

edition=${1:?usage: first_start.sh VER_SEL (1 English, 0 Chinese)}
program=korvel-demo.exe
. "$(dirname "$0")/lib.sh"
e2e_setup

# Colour of a pixel of an image: "r,g,b", 0-255.
pixel_of() {  # image x y
  convert "$1" -format "%[fx:round(255*p{$2,$3}.r)],%[fx:round(255*p{$2,$3}.g)],%[fx:round(255*p{$2,$3}.b)]" info:
}
tray_icon() { [ "$(poke tray "$title")" = 1 ]; }
iconic() { [ "$(poke iconic "$title")" = 1 ]; }
not_iconic() { [ "$(poke iconic "$title")" = 0 ]; }

import -window root "$run_dir/before.png" || fail "no screenshot of the empty desktop"

log "start $program (VER_SEL=$edition)"
start_program
wait_for 90 window_mapped || fail "the window \"$title\" did not appear"
wait_for 30 window_visible || fail "the window is not visible to Windows"
one_process || fail "expected one $program process, found $(program_count)"
window_geometry "$title"
log "window at $X,$Y ${WIDTH}x$HEIGHT"
[ "$WIDTH" -ge 700 ] && [ "$HEIGHT" -ge 500 ] || fail "the window is ${WIDTH}x$HEIGHT, smaller than its skin"

log "the outline: the mask's cut corners show the desktop"
# Keep the pointer off the window: no hover look in the shot.
xdotool mousemove 1270 1010
shown() {
  import -window root "$run_dir/after.png" || return 1
  # Inside the outline (a plain part of the skin): not the desktop any more.
  [ "$(pixel_of "$run_dir/after.png" $((X + 400)) $((Y + 300)))" != \
    "$(pixel_of "$run_dir/before.png" $((X + 400)) $((Y + 300)))" ]
}
wait_for 30 shown || fail "the skin is not painted inside the outline"
# The corners are outside the mask (white in main_mask.jpg): the desktop
# shows through, not the skin's dark frame (12,13,17 in main_normal.jpg).
for p in "3 3" "$((WIDTH - 4)) 3" "$((WIDTH - 4)) $((HEIGHT - 4))"; do
  set -- $p
  [ "$(convert "$source_dir/res/skins/main_mask.jpg" -format "%[fx:p{$1,$2}.r>0.5]" info:)" = 1 ] \
    || fail "the mask does not cut the window at $1,$2"
  [ "$(pixel_of "$source_dir/res/skins/main_normal.jpg" "$1" "$2")" != "$(pixel_of "$run_dir/before.png" $((X + $1)) $((Y + $2)))" ] \
    || fail "the skin at $1,$2 looks like the desktop: the check would prove nothing"
  before=$(pixel_of "$run_dir/before.png" $((X + $1)) $((Y + $2)))
  after=$(pixel_of "$run_dir/after.png" $((X + $1)) $((Y + $2)))
  [ "$before" = "$after" ] || fail "at $1,$2 of the window the screen shows $after, not the desktop's $before"
done
log "outline cuts the corners; the skin shows inside"

log "the tray icon"
wait_for 30 tray_icon || fail "the main window has no tray icon 153"
[ "$(poke tray 'Korvel virtual mouse')" = 0 ] || fail "the tray check finds an icon that does not exist"

log "WM_CLOSE hides to the tray; the icon stays"
poke post "$title" 0x10 0 0 || fail "could not post WM_CLOSE"
wait_for 30 window_hidden || fail "WM_CLOSE did not hide the window"
tray_icon || fail "the tray icon went away with the window"
poke post "$title" 0x401 153 0x203
wait_for 30 window_visible || fail "a double click on the tray icon did not show the window"
wait_for 30 window_mapped || fail "the shown window is not mapped"

log "the skin's minimise control minimises the window"
window_geometry "$title"
# Main entry 12 (minimise): 716,18 30x30.
xdotool mousemove $((X + 731)) $((Y + 33))
sleep 0.5
xdotool click 1
wait_for 30 iconic || fail "the minimise control did not minimise the window"
window_visible || fail "minimising hid the window"
program_running || fail "the process ended on minimise"

log "a second start restores the minimised window"
(cd "$prog" && timeout 90 wine "$program" >"$run_dir/second.log" 2>&1) || fail "the second start did not end by itself"
wait_for 30 not_iconic || fail "the second start left the window minimised"
wait_for 30 window_visible || fail "the second start did not show the window"
wait_for 30 one_process || fail "expected one $program process, found $(program_count)"
tray_icon || fail "the tray icon went away"
log "PASS"
