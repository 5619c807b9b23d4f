# The end-to-end scenario, run by scripts/e2e.sh with `set -e`: the real Quintor.exe under Wine,
# operated from outside by qdriver with the stand-in Dorvik.exe: settings, images through the real
# file dialog, a run, a restart. Expects BUILD, DISPLAY, WINEPREFIX.

TOOL_PATH=1001 PORT=1002 BAUD=1003 DATA=1004 STOP=1005 PARITY=1006 COMMAND=1007
START=1016 HISTORY=1017 DOWNLOADS=1019 CAPTURE=1020 VIEW_LOG=1021 SCS=1037 CW=1043 POPUP_INSERT=32771
SELECTED=327  # CB_GETCURSEL

drv() { "$QUINTOR_WINE" "$BUILD/e2e/qdriver.exe" "$@"; }
winpath() { "$QUINTOR_WINE" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
check() { [ "$2" = "$3" ] || { echo "    FAIL: $1: got '$2', expected '$3'" >&2; return 1; }; }  # WHAT ACTUAL EXPECTED

# A scratch folder with its own copy of Quintor.exe: the script goes beside the program.
scratch="$BUILD/e2e/scratch"
rm -rf "$scratch" && mkdir -p "$scratch/images" && cp "$BUILD/Quintor.exe" "$scratch/"
for image in dev002 work004; do printf 'image\r\n' > "$scratch/images/$image.sdl"; done
images_w="$(winpath "$scratch/images")"
tool_w="$(winpath "$BUILD/standins/Dorvik.exe")"
export DORVIK_RECORD="$(winpath "$scratch")\\record.txt" DORVIK_RUNLOG="$(winpath "$scratch")\\runs.txt"
key='SOFTWARE\Microsoft\Quintor'
for root in HKLM HKCU; do "$QUINTOR_WINE" reg delete "$root\\$key" /f >/dev/null 2>&1 || true; done
"$QUINTOR_WINE" reg add "HKLM\\$key" /v Dorvik_Path /d "$tool_w" /f >/dev/null

start_quintor() {
  "$QUINTOR_WINE" "$scratch/Quintor.exe" >>"$scratch/quintor.out" 2>&1 &
  QUINTOR_PID=$!
  drv waittext Quintor $TOOL_PATH "$tool_w"
}

start_quintor
# COM3, the fourth baud rate, 6 bits, the second stop bits, the third parity; Irdeto Factory Lock.
for pick in "$PORT 2" "$BAUD 3" "$DATA 1" "$STOP 1" "$PARITY 2" "$COMMAND 2"; do drv select Quintor $pick; done
for id in $SCS $CW $CAPTURE; do drv click Quintor $id; done
drv command Quintor $POPUP_INSERT
drv filedialog "\"$images_w\\dev002.sdl\" \"$images_w\\work004.sdl\""
# Space ticks the focused row, the last; Up moves to the first.
for vk in 32 38 32; do drv key Quintor $DOWNLOADS $vk; done

drv click Quintor $START
check "tool command line" "$(tr -d '\r' < "$scratch/record.txt" | sed -n 's/^cmdline=//p')" \
  "Dorvik.EXE -c 3 -b 3 -n 6 -s 1 -p 2 -cmd irdeto_factory_lock -arg0 $images_w\\dev002.SDL -arg1 $images_w\\work004.SDL -arg2 \"SCS|CW\" -d "
check "runs of the tool" "$(wc -l < "$scratch/runs.txt")" 1
history="$(drv rows Quintor $HISTORY 1 | sed '1s/^\[20[0-9][0-9]\.[0-9][0-9]\.[0-9][0-9]\. [0-9][0-9]:[0-9][0-9]\]$/[time]/')"
check "history rows" "$history" "$(printf '%s\n' '[time]' 'Dorvik.EXE -c 3 -b 3 -n 6 -s 1 -p 2 -d ' \
  '-cmd irdeto_factory_lock ' '-arg0 dev002.SDL ' '-arg1 work004.SDL ' '-arg2 "SCS|CW" ' ' ')"
for output in "Dorvik stand-in: done" "no box attached (standard error)"; do
  grep -q "$output" "$scratch/Quintor_Log.txt" || check "capture log" "without '$output'" "with it"
done
drv click Quintor $VIEW_LOG  # returns at once: the viewer is not waited for
drv close "Quintor_Log.txt - Notepad"
drv close Quintor
wait "$QUINTOR_PID"

start_quintor
lists="$(for id in $PORT $BAUD $DATA $STOP $PARITY $COMMAND; do drv query Quintor $id $SELECTED; done)"
check "lists after a restart" "$(echo $lists)" "2 3 1 1 2 0"
drv close Quintor
wait "$QUINTOR_PID"
