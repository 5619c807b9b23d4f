#!/usr/bin/env bash
# Builds Quintor and starts it under Wine with a demo setup: the stand-in
# tools stored as the tool paths, a folder of download images, a DVT folder
# with the 24 DVT image names, a sample BBCB configuration file, and fonts
# that show Korean. Stored values that still point at something are kept.
set -eEuo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
source scripts/wine-env.sh
quintor_name_failures
# The demo keeps its own build folder and Wine prefix, apart from the tests'.
QUINTOR_WIN_BUILD="$PWD/build/demo-$QUINTOR_WIN_ARCH"
export WINEPREFIX="${QUINTOR_WINEPREFIX:-$PWD/build/wineprefix-demo-$QUINTOR_WIN_ARCH}"

quintor_step "Build ($QUINTOR_WIN_ARCH)"
if [ "$QUINTOR_WIN_ARCH" != i686 ]; then
  echo "This host cannot run 32-bit programs; starting the $QUINTOR_WIN_ARCH build of the same sources."
fi
quintor_cmake_win "$QUINTOR_WIN_BUILD" "$QUINTOR_WIN_ARCH" -DQUINTOR_TESTS=OFF >/dev/null
cmake --build "$QUINTOR_WIN_BUILD" -j"$(nproc)"
exe="$QUINTOR_WIN_BUILD/Quintor.exe"

quintor_step "Display and Wine prefix ($WINEPREFIX)"
quintor_start_display
trap quintor_stop EXIT
quintor_prepare_prefix

wpath() { "$QUINTOR_WINE" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
upath() { "$QUINTOR_WINE" winepath -u "$1" 2>/dev/null | tr -d '\r'; }

quintor_step "Demo data and stored values"
# Demo data lives in the prefix's C: drive (inside the build folder), where
# Wine's folder browser can reach it.
demo="$WINEPREFIX/drive_c/Quintor Demo"
mkdir -p "$demo/images" "$demo/DVT" "$demo/BBCB"
for f in bbcb.bin dev002.sdl devkey.dnl mankey.kfb variant.vdl; do
  [ -s "$demo/images/$f" ] || printf 'demo image %s\r\n' "$f" > "$demo/images/$f"
done
for f in bbcb.bin dev002.sdl dvtapp.bin mankey.dnl devkey.dnl work004.sdl var_upd.vdl non_sign.sdl load-1.sdl \
  wrong_hw.sdl wron_man.sdl non_gte3.sdl badstart.sdl bad_end.sdl bad_char.sdl noncrc.sdl work110.sdl \
  work011.sdl work209.sdl work000.sdl seq-1.sdl same_seq.sdl seqx1001.sdl seqx1000.sdl; do
  [ -s "$demo/DVT/$f" ] || printf 'DVT image %s\r\n' "$f" > "$demo/DVT/$f"
done
config="$demo/BBCB/sample_bbcb.cfg"
[ -s "$config" ] || printf '; sample BBCB configuration\r\nmanufacturer_id=0x12\r\nhardware_version=0x0100\r\nloader_version=0x0203\r\n' > "$config"

# A stored value is kept when what it names exists; otherwise the demo's is stored.
key='HKLM\SOFTWARE\Microsoft\Quintor'
stored() {
  timeout 60 "$QUINTOR_WINE" reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' |
    sed -n "s/^ *$1 *REG_SZ *//p" || true
}
keep_or_store() {  # name, unix path of the demo value
  local value unix=""
  value="$(stored "$1")"
  # A value Wine cannot turn into a path names nothing.
  if [ -n "$value" ]; then unix="$(upath "$value" || true)"; fi
  if [ -z "$unix" ] || [ ! -e "$unix" ]; then
    "$QUINTOR_WINE" reg add "$key" /v "$1" /t REG_SZ /d "$(wpath "$2")" /f >/dev/null
  fi
}
keep_or_store Dorvik_Path "$QUINTOR_WIN_BUILD/standins/Dorvik.exe"
keep_or_store BBCB_Path "$QUINTOR_WIN_BUILD/standins/irdeto_make_bbcb.exe"
keep_or_store BBCB_Config "$config"
keep_or_store BBCB_Output "$demo/BBCB"
keep_or_store Dvt_Path "$demo/DVT"

quintor_step "Quintor on DISPLAY=$DISPLAY"
echo "Demo download images: $(wpath "$demo/images")"
echo "DVT images:           $(wpath "$demo/DVT")"
echo "BBCB configuration:   $(wpath "$config")"
"$QUINTOR_WINE" "$exe"
