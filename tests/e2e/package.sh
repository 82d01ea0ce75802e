#!/usr/bin/env bash
# The Windows package made by `cmake --build build/windows --target package`
# (scripts/test.sh makes it): one top folder holding korvel.exe, config.ini,
# the three macro libraries, the README for users and the skins with both
# editions' layout files; each shipped file is byte-identical to its source.
#
# environment: KORVEL_WINDOWS_BUILD_DIR, KORVEL_SOURCE_DIR.
set -euo pipefail

build=${KORVEL_WINDOWS_BUILD_DIR:?}
src=${KORVEL_SOURCE_DIR:?}
fail() { echo "FAIL: $*"; exit 1; }

shopt -s nullglob
zips=("$build"/Korvel-*-win64.zip)
[ "${#zips[@]}" -eq 1 ] || fail "expected one Korvel-*-win64.zip in $build, found ${#zips[@]} (cmake --build build/windows --target package)"
zip=${zips[0]}

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$zip" -d "$unpacked" || fail "$zip does not unpack"
tops=("$unpacked"/*)
[ "${#tops[@]}" -eq 1 ] && [ -d "${tops[0]}" ] || fail "the package has no single top folder"
top=${tops[0]}

expect_same() {  # packaged-name source-file
  [ -f "$top/$1" ] || fail "the package lacks $1"
  cmp -s "$top/$1" "$2" || fail "$1 differs from $2 (an old package? cmake --build build/windows --target package)"
}
expect_same korvel.exe "$build/src/platform/win32/korvel.exe"
expect_same config.ini "$src/res/config.ini"
for f in Macro_EN.dat Macro_CN.dat constMacro.dat; do expect_same "$f" "$src/res/$f"; done
expect_same USER-README.txt "$src/docs/USER-README.txt"
while IFS= read -r f; do
  expect_same "skins/$f" "$src/res/skins/$f"
done < <(cd "$src/res/skins" && find . -type f | sed 's|^\./||')
for f in INI_EN/skin_main_en.ini INI_EN/LBWarning_en.ini INI_CN/skin_main.ini INI_CN/LBWarning.ini main_normal.jpg main_mask.jpg; do
  [ -f "$top/skins/$f" ] || fail "the package lacks skins/$f"
done
# Nothing of the build or the tests goes out.
extra=$(cd "$top" && find . -type f \( -name 'korvel-demo*' -o -name 'korvel-poke*' -o -name '*.a' -o -name '*.o' \) | head -n 1)
[ -z "$extra" ] || fail "the package holds $extra"
echo "PASS: $(basename "$zip"): $(cd "$top" && find . -type f | wc -l) files"
