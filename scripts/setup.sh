#!/usr/bin/env bash
# Installs, idempotently, every Debian package the project needs and prepares
# the Wine prefix used to run the Windows program. Safe to run again and again.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  cmake ninja-build g++ googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64 xvfb xdotool x11-apps x11-utils imagemagick
  libjpeg62-turbo-dev libfreetype-dev libpng-dev
  fonts-wqy-microhei fonts-dejavu-core
  unzip bc procps python3
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The Wine prefix lives in the build tree, so each clone has its own.
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"
export WINEDEBUG=-all
if [ ! -f "$WINEPREFIX/.korvel-ready" ]; then
  echo "setup: preparing Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  # wineboot must not ask to install Mono or Gecko: neither is needed.
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
  # Wine has neither "Consolas" nor "宋体": map both to fonts that Debian ships.
  reg="$WINEPREFIX/korvel-fonts.reg"
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"Consolas"="DejaVu Sans Mono"' '"宋体"="WenQuanYi Micro Hei"' \
    '"SimSun"="WenQuanYi Micro Hei"' '' | iconv -f utf-8 -t utf-16 > "$reg"
  wine regedit /S "$reg" >/dev/null 2>&1
  wineserver -w || true
  touch "$WINEPREFIX/.korvel-ready"
fi
