# Sourced by every script that runs Windows programs: the one choice of the
# Windows build the host can execute and the Wine that runs it, exported with
# its prefix, so the scripts and the programs they start reach Wine only
# through QUINTOR_WINE and QUINTOR_WINESERVER.
#
# The product is the 32-bit build. A host that cannot execute 32-bit programs
# (the kernel's 32-bit emulation off, or no 32-bit Wine) runs the same sources
# built for 64-bit Windows.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  export QUINTOR_WIN_ARCH=i686 QUINTOR_WINE=/usr/lib/wine/wine WINEARCH=win32
else
  export QUINTOR_WIN_ARCH=x86_64 QUINTOR_WINE=/usr/lib/wine/wine64 WINEARCH=win64
fi
export QUINTOR_WINESERVER="${QUINTOR_WINE%/*}/wineserver"
export QUINTOR_WIN_BUILD="$root/build/win-$QUINTOR_WIN_ARCH"
export WINEPREFIX="${QUINTOR_WINEPREFIX:-$root/build/wineprefix-$QUINTOR_WIN_ARCH}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# For scripts run with `set -eE`: each step announces itself, and a command
# that fails says in which step, what it ran and how it ended.
quintor_step() {
  QUINTOR_STEP="$*"
  echo "== $*"
}
quintor_name_failures() {
  trap 'echo "${0##*/}: step \"${QUINTOR_STEP:-set-up}\" failed: $BASH_COMMAND (exit status $?)" >&2' ERR
}

# Starts Xvfb on a free display unless one is set; stops it when the caller exits.
quintor_start_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  QUINTOR_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 1 100); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "Xvfb did not start" >&2
  return 1
}

quintor_stop() {
  "$QUINTOR_WINESERVER" -k >/dev/null 2>&1 || true
  [ -n "${QUINTOR_XVFB_PID:-}" ] && kill "$QUINTOR_XVFB_PID" 2>/dev/null || true
}

# Creates the Wine prefix once and sets it up for Korean text.
quintor_prepare_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "${WINEPREFIX%/*}"  # Wine makes the prefix, not the folders above it
    "$QUINTOR_WINE" wineboot -i >/dev/null 2>&1 || true
    "$QUINTOR_WINESERVER" -w
    [ -f "$WINEPREFIX/system.reg" ] || { echo "$QUINTOR_WINE could not make the prefix $WINEPREFIX" >&2; return 1; }
  fi
  "$root/scripts/wine-fonts.sh"
}

quintor_cmake_win() {  # $1 = build dir, $2 = arch
  cmake -S "$root" -B "$1" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$2.cmake" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$root/scripts/winerun" "${@:3}"
}
