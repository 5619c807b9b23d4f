#!/usr/bin/env bash
# Builds Quintor and starts it under Wine with a demo setup: the stand-in
# flashing tool stored as the tool path, a folder of demo download images,
# and fonts that show Korean.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
source scripts/wine-env.sh
if [ "$QUINTOR_WIN_ARCH" != i686 ]; then
  echo "This host cannot run 32-bit programs; starting the $QUINTOR_WIN_ARCH build of the same sources."
fi
quintor_cmake_win "$QUINTOR_WIN_BUILD" "$QUINTOR_WIN_ARCH" -DQUINTOR_TESTS=OFF >/dev/null
cmake --build "$QUINTOR_WIN_BUILD" -j"$(nproc)"
exe="$QUINTOR_WIN_BUILD/Quintor.exe"
tool="$QUINTOR_WIN_BUILD/standins/Dorvik.exe"
quintor_start_display
trap quintor_stop EXIT
quintor_prepare_prefix

# The stored tool path: the stand-in, unless a tool that still exists is stored.
key='HKLM\SOFTWARE\Microsoft\Quintor'
stored="$("$QUINTOR_WINE" reg query "$key" /v Dorvik_Path 2>/dev/null | tr -d '\r' |
  sed -n 's/^ *Dorvik_Path *REG_SZ *//p')"
stored_unix=""
[ -n "$stored" ] && stored_unix="$("$QUINTOR_WINE" winepath -u "$stored" 2>/dev/null | tr -d '\r')"
if [ -z "$stored_unix" ] || [ ! -s "$stored_unix" ]; then
  "$QUINTOR_WINE" reg add "$key" /v Dorvik_Path /t REG_SZ /d "$("$QUINTOR_WINE" winepath -w "$tool" | tr -d '\r')" /f >/dev/null
fi

# A few download images to insert.
demo="$QUINTOR_WIN_BUILD/demo"
mkdir -p "$demo"
for f in bbcb.bin dev002.sdl devkey.dnl mankey.kfb variant.vdl; do
  [ -s "$demo/$f" ] || printf 'demo image %s\r\n' "$f" > "$demo/$f"
done

echo "Starting Quintor on DISPLAY=$DISPLAY"
echo "Demo download images: $("$QUINTOR_WINE" winepath -w "$demo" | tr -d '\r')"
"$QUINTOR_WINE" "$exe"
