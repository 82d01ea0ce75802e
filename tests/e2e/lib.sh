# Shared pieces of the Wine + Xvfb end-to-end tests; sourced by each script.
#
# The script sets, before sourcing:
#   program   the exe under test: korvel.exe or korvel-demo.exe
#   edition   VER_SEL of the run: 1 English, 0 Chinese
# and has in its environment: KORVEL_WINDOWS_BUILD_DIR (the windows preset's
# build folder), KORVEL_WINEPREFIX (the prefix made by scripts/setup.sh,
# copied per run), KORVEL_SOURCE_DIR, KORVEL_E2E_WORK (a scratch folder on the
# prefix's disk).
#
# e2e_setup then gives the run a private Wine prefix (its own wineserver and
# registry, so parallel runs never meet), a private X display and a program
# folder $prog with the program and a config.ini of the edition; the cleanup
# on exit ends everything the run started.

build=${KORVEL_WINDOWS_BUILD_DIR:?}
base_prefix=${KORVEL_WINEPREFIX:?}
source_dir=${KORVEL_SOURCE_DIR:?}
work_root=${KORVEL_E2E_WORK:-${TMPDIR:-/tmp}}
: "${program:?set program before sourcing lib.sh}"
: "${edition:?set edition before sourcing lib.sh}"

program_exe=$build/src/platform/win32/$program
poke_exe=$build/tests/win/poke/korvel-poke.exe

case $edition in
  1) title='Vantel Gaming Mouse' ;;
  0) title='Lumar宏编程游戏鼠标' ;;
  *) echo "FAIL: unknown edition $edition"; exit 1 ;;
esac

export LC_ALL=C.UTF-8   # titles travel as UTF-8 to xdotool and Wine
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

started=$SECONDS
log() { printf '[%4ds] %s\n' $((SECONDS - started)) "$*"; }
fail() { log "FAIL: $*"; exit 1; }

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
  local limit=$1; shift
  local until=$((SECONDS + limit))
  while [ $SECONDS -lt $until ]; do
    "$@" && return 0
    sleep 0.3
  done
  return 1
}

poke() { wine "$poke_exe" "$@" 2>/dev/null | tr -d '\r'; }

# Processes of the program under test in this run's prefix.
program_pids() {
  local pid pattern
  pattern="(^|[\\\\/ ])${program//./\\.}"
  for pid in $(pgrep -f "$pattern" || true); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$pid"
  done
  return 0
}
program_count() { program_pids | wc -l; }
program_running() { [ "$(program_count)" -ge 1 ]; }
program_gone() { [ "$(program_count)" -eq 0 ]; }
one_process() { [ "$(program_count)" -eq 1 ]; }
window_visible() { [ "$(poke visible "$title")" = 1 ]; }
window_hidden() { [ "$(poke visible "$title")" = 0 ]; }
window_mapped() { xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1; }

window_geometry() {
  eval "$(xdotool search --onlyvisible --name "^$1\$" getwindowgeometry --shell | head -n 6)"
}

# A popup menu: a visible, nameless window of the program larger than a point.
menu_geometry() {
  local w name
  for w in $(xdotool search --onlyvisible --class "$program" 2>/dev/null); do
    name=$(xdotool getwindowname "$w" 2>/dev/null || true)
    [ -z "$name" ] || continue
    eval "$(xdotool getwindowgeometry --shell "$w")"
    if [ "$WIDTH" -gt 20 ] && [ "$HEIGHT" -gt 20 ]; then
      menu_x=$X menu_y=$Y menu_w=$WIDTH menu_h=$HEIGHT
      return 0
    fi
  done
  return 1
}

# A private X display: the first free number from a random start.
start_display() {
  local n tries
  n=$((200 + RANDOM % 600))
  for tries in $(seq 1 40); do
    n=$((n + 1))
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$run_dir/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 100); do
      if xdpyinfo -display ":$n" >/dev/null 2>&1; then
        export DISPLAY=":$n"
        our_display=$DISPLAY
        return 0
      fi
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; xvfb_pid=
  done
  return 1
}

e2e_cleanup() {
  local rc=$?
  set +e
  if [ $rc -ne 0 ] && [ -n "$our_display" ]; then
    # What the screen showed when it failed, kept beside the scratch folders.
    local shot="$work_root/failure-${program%.exe}-$edition.png"
    import -window root "$shot" >/dev/null 2>&1 && log "screen at failure: $shot"
    [ -s "$run_dir/program.log" ] && { log "$program output:"; cat "$run_dir/program.log"; }
  fi
  if [ -d "$WINEPREFIX" ]; then
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$run_dir"
  exit $rc
}

e2e_setup() {
  for f in "$program_exe" "$poke_exe"; do
    [ -f "$f" ] || fail "$f is not built (cmake --preset windows && cmake --build build/windows)"
  done
  [ -f "$base_prefix/system.reg" ] || fail "no Wine prefix at $base_prefix (run scripts/setup.sh)"
  for tool in wine wineserver Xvfb xdotool xdpyinfo; do
    command -v "$tool" >/dev/null || fail "$tool is missing (run scripts/setup.sh)"
  done

  mkdir -p "$work_root"
  run_dir=$(mktemp -d "$work_root/korvel-e2e.XXXXXX")
  xvfb_pid=
  our_display=
  export WINEPREFIX=$run_dir/prefix
  trap e2e_cleanup EXIT
  trap 'exit 130' INT TERM

  # A private copy of the prefix: the large system folders are hard links;
  # everything Wine may write is a real copy.
  mkdir -p "$WINEPREFIX"
  (cd "$base_prefix" && tar cf - --exclude=./drive_c/windows/system32 --exclude=./drive_c/windows/winsxs \
     --exclude=./wineserver .) | (cd "$WINEPREFIX" && tar xf -)
  for d in system32 winsxs; do
    cp -al "$base_prefix/drive_c/windows/$d" "$WINEPREFIX/drive_c/windows/" 2>/dev/null \
      || cp -a "$base_prefix/drive_c/windows/$d" "$WINEPREFIX/drive_c/windows/"
  done

  start_display || fail "no free X display for Xvfb"
  log "display $DISPLAY, prefix $WINEPREFIX"

  # The program folder as shipped: the program, the macro libraries, the
  # skins and a config.ini in the edition under test.
  prog=$run_dir/prog
  mkdir -p "$prog"
  cp "$program_exe" "$prog/"
  local f
  for f in "$source_dir"/res/*.dat; do
    [ -e "$f" ] && cp "$f" "$prog/"
  done
  [ -d "$source_dir/res/skins" ] && cp -r "$source_dir/res/skins" "$prog/skins"
  if [ -f "$source_dir/res/config.ini" ]; then
    cp "$source_dir/res/config.ini" "$prog/config.ini"
    grep -q '^VER_SEL=' "$prog/config.ini" || fail "res/config.ini has no VER_SEL line"
    sed -i -E "s/^VER_SEL=[0-9-]*/VER_SEL=$edition/" "$prog/config.ini"
  else
    printf '[Init]\r\nCurConfig=1\r\nVER_SEL=%s\r\n' "$edition" >"$prog/config.ini"
  fi
}

# Starts the program from its folder in the background; its output goes to
# $run_dir/program.log.
start_program() {
  (cd "$prog" && exec wine "$program" >"$run_dir/program.log" 2>&1) &
}

# Sets a key of a section in $prog/config.ini (which must hold the section),
# keeping the file's CRLF line ends.
set_config() {
  local section=$1 key=$2 value=$3
  awk -v s="[$section]" -v k="$key" -v v="$value" '
    { sub(/\r$/, "") }
    /^\[/ { if (in_s && !done) { print k "=" v; done = 1 } in_s = ($0 == s) }
    in_s && index($0, k "=") == 1 { if (!done) print k "=" v; done = 1; next }
    { print }
    END { if (in_s && !done) print k "=" v }
  ' "$prog/config.ini" | sed 's/$/\r/' >"$prog/config.ini.new"
  mv "$prog/config.ini.new" "$prog/config.ini"
}

# The native korvelctl (KORVEL_CTL) and the user macro library of the edition
# under test ($edition), as korvelctl and library.
use_korvelctl() {
  korvelctl=${KORVEL_CTL:?the native korvelctl}
  [ -x "$korvelctl" ] || fail "$korvelctl is not built"
  case $edition in
    1) library=Macro_EN.dat ;;
    0) library=Macro_CN.dat ;;
  esac
}

# The value of a key of a section in $prog/config.ini (empty when missing).
get_config() {
  tr -d '\r' <"$prog/config.ini" | awk -v s="[$1]" -v k="$2" '
    /^\[/ { in_s = ($0 == s); next }
    in_s && index($0, k "=") == 1 { print substr($0, length(k) + 2); exit }
  '
}

# ---------------------------------------------------------------- korvel-demo.exe's socket
# The port korvel-demo.exe writes beside itself once its socket listens.
demo_port=
demo_ready() {
  [ -s "$prog/korvel-demo.port" ] || return 1
  demo_port=$(tr -d '\r\n' <"$prog/korvel-demo.port")
  [ -n "$demo_port" ] && demo_ask state >/dev/null
}
# One command to the virtual mouse, one line of answer.
demo_ask() {
  local reply
  exec 3<>"/dev/tcp/127.0.0.1/$demo_port" || return 1
  printf '%s\n' "$1" >&3
  if ! IFS= read -r -t 30 reply <&3; then
    exec 3<&-
    return 1
  fi
  exec 3<&-
  printf '%s\n' "${reply%$'\r'}"
}
# A field of the mouse's "state" answer.
demo_field() { demo_ask state | tr ' ' '\n' | sed -n "s/^$1=//p"; }
# The configuration fields of the state, in the order of demo_expected.
demo_config() {
  demo_ask state | tr ' ' '\n' | grep -E '^(buttons|dpi|mask|level|wheel|lighting|fire)=' | tr '\n' ' ' | sed 's/ $//'
}
# What the mouse must hold once profile section $1 of config.ini is applied.
demo_expected() {
  local section=$1 b n f buttons= dpi= mask=0 v
  local dpi_codes=(1 2 3 4 5 6 7 9 11 13 14 15) lighting_codes=(0 3 6 7)
  for b in 0 1 2 3 4 5 6 7 8; do
    f=$(get_config "$section" K$b)
    if [ "$f" -ge 0 ] && [ "$f" -le 6 ]; then v=$f
    elif [ "$f" -ge 11 ] && [ "$f" -le 17 ]; then v=$((f - 4))
    else v=0; fi
    buttons+=${buttons:+,}$v
  done
  for n in 0 1 2 3; do
    dpi+=${dpi:+,}${dpi_codes[$(get_config "$section" DPI_SET$n)]}
    v=$(get_config "$section" DPI_SET_EN$n)
    [ "${v:-0}" != 0 ] && mask=$((mask | (1 << n)))
  done
  echo "buttons=$buttons dpi=$dpi mask=$mask level=$(get_config "$section" DPI_LEVEL)" \
       "wheel=$(get_config "$section" WHEEL_STATUS)" \
       "lighting=${lighting_codes[$(get_config "$section" LED_STATUS)]}" \
       "fire=$(( $(get_config "$section" FIRE_TIME) / 8 ))"
}

# ---------------------------------------------------------------- the skin
# Clicks at window coordinates of the main window (window_geometry first):
# the pointer moves there (in two steps: a popup that just closed may take
# the first motion), rests so the hover index follows, then clicks.
click_at() {
  xdotool mousemove $((X + $1 - 2)) $((Y + $2))
  sleep 0.2
  xdotool mousemove $((X + $1)) $((Y + $2))
  sleep 0.4
  xdotool click 1
  sleep 0.6
}
