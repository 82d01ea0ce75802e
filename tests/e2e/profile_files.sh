#!/usr/bin/env bash
# Profile and macro-library files, the factory reset and the language switch
# of korvel-demo.exe under Wine + Xvfb, for one edition. The file dialogs are
# driven by typing the path into them.
#   - export writes the current profile as section Config7 of the chosen file;
#   - import reads Config7 of a file into the current profile (saved with Save);
#   - the advanced page's library export writes the user macros, its import
#     replaces them (the macro list shows the imported names);
#   - the factory reset rewrites profiles 2-5 from the reset sections (profile
#     5 from the edition's own), keeps profile 1's MACRO_MODE2 and restores
#     the edition's library file from skins\INI_xx\defMacro.dat;
#   - switching the language both ways changes the title, writes VER_SEL and
#     loads the other edition's library (the macro list's names).
#
# usage: profile_files.sh VER_SEL
# environment: see lib.sh; KORVEL_CTL, the native korvelctl.
set -euo pipefail

edition=${1:?usage: profile_files.sh VER_SEL (1 English, 0 Chinese)}
program=korvel-demo.exe
. "$(dirname "$0")/lib.sh"
e2e_setup
use_korvelctl

case $edition in
  1) library=Macro_EN.dat other_library=Macro_CN.dat defaults=INI_EN reset5=CfgReset_EN5 other=0
     other_title='Lumar宏编程游戏鼠标' switch_to_other_x=637 switch_back_x=683 ;;
  0) library=Macro_CN.dat other_library=Macro_EN.dat defaults=INI_CN reset5=CfgReset5 other=1
     other_title='Vantel Gaming Mouse' switch_to_other_x=683 switch_back_x=637 ;;
esac
for f in "$library" "$other_library" "skins/$defaults/defMacro.dat"; do
  [ -f "$prog/$f" ] || fail "$f is missing from the program folder"
done
own_title=$title

# ---------------------------------------------------------------- before the run
keys="K0 K1 K2 K3 K4 K5 K6 K7 K8 DPI_LEVEL WHEEL_STATUS MACRO_MODE2 DPI_SET0 DPI_SET_EN0 DPI_SET1 DPI_SET_EN1
      DPI_SET2 DPI_SET_EN2 DPI_SET3 DPI_SET_EN3 LED_STATUS DPI_SPEED WHEEL_SPEED USB_SPEED FIRE_TIME"
# The key values of a section of an INI file, "KEY=VALUE" one a line.
section_of() {  # file section
  tr -d '\r' <"$1" | awk -v s="[$2]" '/^\[/ { in_s = ($0 == s); next } in_s && /=/ { print }' | sort
}
set_in() {  # file section key value: replaces the key's line, keeping CRLF ends
  awk -v s="[$2]" -v k="$3" -v v="$4" '
    { sub(/\r$/, "") }
    /^\[/ { in_s = ($0 == s) }
    in_s && index($0, k "=") == 1 { print k "=" v; next }
    { print }' "$1" | sed 's/$/\r/' >"$1.new"
  mv "$1.new" "$1"
}
profile=$(get_config Init CurConfig)
section=Config$profile
# Profiles 2-5 differ from their reset sections, profile 1 keeps MACRO_MODE2 1
# through the reset, and the library file is not the edition's default.
for n in 2 3 4 5; do set_config Config$n K8 9; set_config Config$n FIRE_TIME 200; done
set_config Config1 MACRO_MODE2 1
cp "$prog/$other_library" "$prog/$library"

winpath() { printf 'Z:%s' "${1//\//\\}"; }
names_of() { "$korvelctl" macro list "$1" | cut -f2; }

port_file=$prog/korvel-demo.port
# The socket helpers of lib.sh under short names.
ask() { demo_ask "$@"; }
port_known() { demo_ready; }
macro_lines() { poke items "$title" 10001; }

# A file dialog of the program: its window, then the path typed into its
# file-name field.
dialog_open() { xdotool search --onlyvisible --name '^(Open|Save As|Save)$' >/dev/null 2>&1; }
dialog_closed() { ! dialog_open; }
choose_file() {  # unix path
  wait_for 30 dialog_open || fail "the file dialog did not open"
  sleep 1
  xdotool key ctrl+a
  xdotool type --delay 30 "$(winpath "$1")"
  sleep 0.3
  xdotool key Return
  wait_for 30 dialog_closed || fail "the file dialog did not close for $1"
  sleep 0.5
}

# ---------------------------------------------------------------- the run
log "start $program (VER_SEL=$edition, profile $profile)"
rm -f "$port_file"
start_program
wait_for 90 port_known || fail "the demo's socket did not open"
wait_for 60 window_visible || fail "the window \"$title\" did not appear"
wait_for 30 window_mapped || fail "the window is not mapped"
window_geometry "$title"
log "window at $X,$Y ${WIDTH}x$HEIGHT"

log "export the current profile"
exported=$prog/exported.ini
click_at 102 387
choose_file "$exported"
wait_for 20 test -s "$exported" || fail "nothing was exported"
[ "$(section_of "$exported" Config7)" = "$(section_of "$prog/config.ini" "$section")" ] \
  || fail "Config7 of the export differs from $section: $(section_of "$exported" Config7 | tr '\n' ' ')"
[ "$(tr -d '\r' <"$exported" | grep -c '^\[')" -eq 1 ] || fail "the export holds more than Config7"

log "import a changed copy and save it"
imported=$prog/imported.ini
cp "$exported" "$imported"
set_in "$imported" Config7 K3 45
set_in "$imported" Config7 FIRE_TIME 120
expected=$(section_of "$imported" Config7)
click_at 102 351
choose_file "$imported"
click_at 502 532          # save
imported_saved() { [ "$(section_of "$prog/config.ini" "$section")" = "$expected" ]; }
wait_for 20 imported_saved || fail "$section after import and save: $(section_of "$prog/config.ini" "$section" | tr '\n' ' ')"

log "library export and import on the advanced page"
click_at 410 34
has_macros() { [ "$(macro_lines | wc -l)" -ge 1 ]; }
wait_for 30 has_macros || fail "the macro list is empty"
[ "$(macro_lines)" = "$(names_of "$prog/$library")" ] || fail "the macro list is not the library's: $(macro_lines | tr '\n' '|')"
lib_out=$prog/library_out.dat
click_at 483 458
choose_file "$lib_out"
wait_for 20 test -s "$lib_out" || fail "the library was not exported"
[ "$("$korvelctl" macro list "$lib_out")" = "$("$korvelctl" macro list "$prog/$library")" ] \
  || fail "the exported library differs: $("$korvelctl" macro list "$lib_out" | tr '\n' '|')"
lib_in=$prog/library_in.dat
cp "$prog/skins/$defaults/defMacro.dat" "$lib_in"
click_at 347 458
choose_file "$lib_in"
list_is_imported() { [ "$(macro_lines)" = "$(names_of "$lib_in")" ]; }
wait_for 20 list_is_imported || fail "after the import the list shows: $(macro_lines | tr '\n' '|')"

log "factory reset"
click_at 294 34           # main page
click_at 102 423
reset_done() { [ "$("$korvelctl" macro list "$prog/$library")" = "$("$korvelctl" macro list "$prog/skins/$defaults/defMacro.dat")" ]; }
wait_for 30 reset_done || fail "$library was not restored from $defaults/defMacro.dat"
for n in 2 3 4; do
  [ "$(section_of "$prog/config.ini" Config$n)" = "$(section_of "$prog/config.ini" CfgReset$n)" ] \
    || fail "Config$n is not CfgReset$n after the reset"
done
[ "$(section_of "$prog/config.ini" Config5)" = "$(section_of "$prog/config.ini" "$reset5")" ] \
  || fail "Config5 is not $reset5 after the reset"
[ "$(get_config Config1 MACRO_MODE2)" = 1 ] || fail "profile 1 lost MACRO_MODE2 1: $(get_config Config1 MACRO_MODE2)"
[ "$(get_config Init CurConfig)" = "$profile" ] || fail "the current profile changed to $(get_config Init CurConfig)"

log "switch the language and back"
click_at 410 34           # the advanced page shows the library's names
wait_for 30 has_macros || fail "the macro list is empty"
click_at $switch_to_other_x 33
switched() { [ "$(poke exists "$other_title")" = 1 ] && [ "$(poke exists "$own_title")" = 0 ]; }
wait_for 30 switched || fail "the title did not change to $other_title"
title=$other_title
[ "$(get_config Init VER_SEL)" = "$other" ] || fail "VER_SEL is $(get_config Init VER_SEL), not $other"
other_names() { [ "$(macro_lines)" = "$(names_of "$prog/$other_library")" ]; }
wait_for 20 other_names || fail "the macro list after the switch: $(macro_lines | tr '\n' '|')"
log "now \"$title\", macros $(macro_lines | tr '\n' '|')"
click_at $switch_back_x 33
switched_back() { [ "$(poke exists "$own_title")" = 1 ] && [ "$(poke exists "$other_title")" = 0 ]; }
wait_for 30 switched_back || fail "the title did not change back to $own_title"
title=$own_title
[ "$(get_config Init VER_SEL)" = "$edition" ] || fail "VER_SEL is $(get_config Init VER_SEL), not $edition"
own_names() { [ "$(macro_lines)" = "$(names_of "$prog/$library")" ]; }
wait_for 20 own_names || fail "the macro list after switching back: $(macro_lines | tr '\n' '|')"
window_visible || fail "the main window is gone"
log "PASS"
