#!/usr/bin/env bash
# Regenerates the screenshots under docs/screenshots/:
#   <edition>-<view>.png  every page and popup of both editions (en, cn), drawn
#                         by `korvelctl render` with the shipped skin and
#                         config.ini: deterministic, no Windows needed;
#   wine-<edition>.png    korvel-demo.exe running under Wine + Xvfb, the main
#                         window with the virtual mouse's panel below it
#                         (needs the windows build; skipped with --no-wine).
# Images are reduced to 64 colours without dithering to keep them small.
#
# usage: scripts/screenshots.sh [--no-wine]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
out=docs/screenshots
mkdir -p "$out"

cmake --preset native >/dev/null
cmake --build build/native --target korvelctl -j2 >/dev/null
korvelctl=build/native/tools/korvelctl/korvelctl

small() { convert "$1" +dither -colors 64 -strip "PNG8:$2"; rm -f "$1"; }

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# view name, then korvelctl render arguments
views=(
  "main|main"
  "advanced|advanced"
  "lighting|colour"
  "menu|menu"
  "menu-hover|--hover 3 menu"
  "submenu-a|--hover 7 menu"
  "submenu-b|--hover 8 menu"
  "submenu-macros|--hover 9 menu"
  "submenu-c|--hover 10 menu"
  "warning|warning"
  "warning-hover|--hover 0 warning"
)
for edition in en cn; do
  for v in "${views[@]}"; do
    name=${v%%|*}
    read -r -a args <<<"${v#*|}"
    "$korvelctl" render --skin res/skins --config res/config.ini --edition "$edition" \
      "${args[@]}" "$tmp/$name.png"
    small "$tmp/$name.png" "$out/$edition-$name.png"
  done
done
echo "rendered $(ls "$out"/en-*.png "$out"/cn-*.png | wc -l) views"

[ "${1:-}" = --no-wine ] && exit 0

# The running program under Wine: the e2e library gives a private prefix,
# display and program folder.
wine_shot() {
  (
    edition=$1
    program=korvel-demo.exe
    export KORVEL_WINDOWS_BUILD_DIR=$root/build/windows KORVEL_WINEPREFIX=$root/build/wineprefix
    export KORVEL_SOURCE_DIR=$root KORVEL_E2E_WORK=$root/build/screenshots
    . "$root/tests/e2e/lib.sh"
    e2e_setup
    start_program
    wait_for 90 window_mapped || fail "the window did not appear"
    panel_mapped() { xdotool search --onlyvisible --name '^Korvel virtual mouse$' >/dev/null 2>&1; }
    wait_for 60 panel_mapped || fail "the virtual mouse's panel did not appear"
    xdotool mousemove 1270 10
    sleep 3   # the first paints of both windows
    window_geometry "$title"
    local top=$((Y - 10))
    import -window root "$run_dir/screen.png"
    convert "$run_dir/screen.png" -crop "1040x$((1024 - top))+0+$top" +repage -resize 75% "$run_dir/crop.png"
    small "$run_dir/crop.png" "$2"
  )
}
[ -f build/windows/src/platform/win32/korvel-demo.exe ] || { echo "no windows build: skipping the Wine screenshots"; exit 0; }
wine_shot 1 "$root/$out/wine-en.png"
wine_shot 0 "$root/$out/wine-cn.png"
echo "wine screenshots: $out/wine-en.png $out/wine-cn.png"
