#!/usr/bin/env bash
# Makes the Wine prefix show Korean: the dialog fonts are replaced by a
# Korean-capable font from fonts-nanum.
set -euo pipefail
: "${WINEPREFIX:?}"
wine="${QUINTOR_WINE:-/usr/lib/wine/wine64}"
reg="$(mktemp --suffix=.reg)"
trap 'rm -f "$reg"' EXIT
printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
  '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
  '"굴림"="NanumGothic"' '"Gulim"="NanumGothic"' '"MS Shell Dlg"="NanumGothic"' \
  '"MS Shell Dlg 2"="NanumGothic"' '"System"="NanumGothic"' \
  '' | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$reg.u16"
mv "$reg.u16" "$reg"
"$wine" regedit /S "$reg" >/dev/null 2>&1
