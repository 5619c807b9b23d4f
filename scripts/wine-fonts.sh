#!/usr/bin/env bash
# Makes the Wine prefix show Quintor's windows as Windows shows them:
# - Korean text: the dialog fonts (굴림 of the About box, the "System" font of
#   the other windows, the shell dialog fonts) are replaced by NanumGothic
#   from fonts-nanum, which has the Korean glyphs;
# - window frames: under Xvfb there is no window manager, so Wine draws the
#   title bars, system menus and frames itself, with the caption-button glyphs
#   of its Marlett font, which this Wine does not find on its own; and it must
#   not wait for a window manager (two seconds at every window it hides).
set -euo pipefail
[ -n "${QUINTOR_WINE:-}" ] || source "$(dirname "$0")/wine-env.sh"
reg="$(mktemp --suffix=.reg)"
trap 'rm -f "$reg" "$reg.u16"' EXIT
printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
  '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
  '"굴림"="NanumGothic"' '"Gulim"="NanumGothic"' '"굴림체"="NanumGothicCoding"' \
  '"GulimChe"="NanumGothicCoding"' '"MS Shell Dlg"="NanumGothic"' \
  '"MS Shell Dlg 2"="NanumGothic"' '"System"="NanumGothic"' '' \
  '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' \
  '"Decorated"="N"' '"Managed"="N"' \
  '' | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg.u16"
mv "$reg.u16" "$reg"
fonts="$WINEPREFIX/drive_c/windows/Fonts"
for dir in /usr/share/wine/fonts /usr/lib/wine/fonts; do
  if [ -f "$dir/marlett.ttf" ] && [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ]; then
    cp "$dir/marlett.ttf" "$fonts/"
  fi
done
"$QUINTOR_WINE" regedit /S "$reg" >/dev/null
