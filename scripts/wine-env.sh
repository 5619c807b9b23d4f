# Sourced by the scripts that run Windows programs: picks the Windows build the
# host can execute, a Wine prefix for it and an X display.
#
# Some hosts cannot execute 32-bit programs at all (the kernel's 32-bit
# emulation is off), so 32-bit Wine cannot start there. The product is the
# 32-bit build; where it cannot run, the tests run the same sources built for
# 64-bit Windows.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  QUINTOR_WIN_ARCH=i686
  QUINTOR_WINE=/usr/lib/wine/wine
  export WINEARCH=win32
else
  QUINTOR_WIN_ARCH=x86_64
  QUINTOR_WINE=/usr/lib/wine/wine64
  export WINEARCH=win64
fi
QUINTOR_WIN_BUILD="$root/build/win-$QUINTOR_WIN_ARCH"
export WINEPREFIX="${QUINTOR_WINEPREFIX:-$root/build/wineprefix-$QUINTOR_WIN_ARCH}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

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
  "${QUINTOR_WINE%/*}/wineserver" -k >/dev/null 2>&1 || true
  [ -n "${QUINTOR_XVFB_PID:-}" ] && kill "$QUINTOR_XVFB_PID" 2>/dev/null || true
}

# Creates the Wine prefix once and sets it up for Korean text.
quintor_prepare_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$QUINTOR_WINE" wineboot -i >/dev/null 2>&1 || true
    "${QUINTOR_WINE%/*}/wineserver" -w
  fi
  "$root/scripts/wine-fonts.sh"
}

quintor_cmake_win() {  # $1 = build dir, $2 = arch
  cmake -S "$root" -B "$1" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$2.cmake" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$root/scripts/winerun" "${@:3}"
}
