#!/usr/bin/env bash
# Draws the program icon (a "Q" ring on a blue tile) at 32x32 and 16x16 and
# writes resources/quintor.ico. Needs ImageMagick; the .ico is committed.
set -euo pipefail
cd "$(dirname "$0")"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
convert -size 32x32 xc:none \
  -fill '#1f4fa8' -stroke '#0d2a66' -strokewidth 1 -draw 'roundrectangle 1,1 30,30 5,5' \
  -fill none -stroke white -strokewidth 3 -draw 'circle 15,15 15,7' \
  -stroke '#ffc83d' -strokewidth 3 -draw 'line 18,18 25,25' \
  PNG32:"$tmp/32.png"
convert -size 16x16 xc:none \
  -fill '#1f4fa8' -stroke none -draw 'roundrectangle 0,0 15,15 3,3' \
  -fill none -stroke white -strokewidth 2 -draw 'circle 7.5,7.5 7.5,3' \
  -stroke '#ffc83d' -strokewidth 2 -draw 'line 9.5,9.5 13,13' \
  PNG32:"$tmp/16.png"
convert "$tmp/32.png" "$tmp/16.png" quintor.ico
