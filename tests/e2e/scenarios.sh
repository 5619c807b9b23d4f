# End-to-end scenarios: the real Quintor.exe under Wine, operated from outside
# its process with qdriver, against the stand-in tools. Each scenario is a
# function run in its own subshell with `set -e` by scripts/e2e.sh.

# Control ids of the windows (resources/resource.h).
TOOL_PATH=1001 PORT=1002 BAUD=1003 DATA=1004 STOP=1005 PARITY=1006 COMMAND=1007
BBCB_SETTING=1008 DVT_TEST=1009 START=1016 HISTORY=1017 DEBUG_PRINT=1018 DOWNLOADS=1019
DEBUG_CAPTURE=1020 VIEW_LOG=1021 SCS=1037 OUTPUT_SAVE=1038 OUTPUT_PATH=1039 OUTPUT_VIEW=1040 JEI=1042 CW=1043
POPUP_INSERT=32771 POPUP_DVT_FILE_INSERT=32773
DVT_NEXT=1040 DVT_PROV=1041 DVT_RUN=1042 DVT_OPEN=1043 DVT_FOLDER=1045 DVT_FILE=1047

# Main window: serial settings and a command, two inserted files ticked, a lock
# option and an output file; Start without and with Debug Capture; View Log
# and Output File View open the viewer; Esc, and the next start shows the
# same settings.
scenario_main_window() {
  new_scratch main_window
  local images="$SCRATCH/images" images_w
  make_images "$images" dev002.sdl bbcb.bin work004.sdl
  images_w="$(winpath "$images")"
  start_quintor
  drv waittext Quintor $TOOL_PATH "$TOOL_W"
  check "View Log at start-up" "$(drv enabled Quintor $VIEW_LOG)" 0
  check "SCS at start-up" "$(drv enabled Quintor $SCS)" 0

  # COM3, the fourth baud rate, 6 bit, the second stop bits, the third parity; Irdeto Factory Lock.
  drv select Quintor $PORT 2
  drv select Quintor $BAUD 3
  drv select Quintor $DATA 1
  drv select Quintor $STOP 1
  drv select Quintor $PARITY 2
  drv select Quintor $COMMAND 2
  drv waitenabled Quintor $SCS 1

  # Insert three files, then the first one again: the duplicate is skipped.
  drv command Quintor $POPUP_INSERT
  drv filedialog "\"$images_w\\dev002.sdl\" \"$images_w\\bbcb.bin\" \"$images_w\\work004.sdl\""
  drv waitrows Quintor $DOWNLOADS 3
  drv command Quintor $POPUP_INSERT
  drv filedialog "\"$images_w\\DEV002.SDL\""
  drv text Quintor $TOOL_PATH >/dev/null  # the handler has run once the window answers again
  drv waitrows Quintor $DOWNLOADS 3
  check "rows after Insert" "$(drv rows Quintor $DOWNLOADS | cut -f3- | tr '\t' '|' | tr '\n' ' ')" \
    "$images_w|dev002.SDL $images_w|bbcb.BIN $images_w|work004.SDL "
  drv checkrow Quintor $DOWNLOADS 0 1
  drv checkrow Quintor $DOWNLOADS 2 1
  drv check Quintor $SCS 1
  drv check Quintor $CW 1

  # Output file without an extension: ".txt" is added.
  drv click Quintor $OUTPUT_SAVE
  drv filedialog "$SCRATCH_W\\result"
  drv waittext Quintor $OUTPUT_PATH "$SCRATCH_W\\result.txt"

  # Start without Debug Capture.
  drv click Quintor $START
  wait_for 60 test -s "$SCRATCH/dorvik_record.txt" || fail "the tool was not started"
  drv waitrows Quintor $HISTORY 8
  local rec="$SCRATCH/dorvik_record.txt"
  check "tool command line" "$(record_value "$rec" cmdline)" \
    "Dorvik.EXE -c 3 -b 3 -n 6 -s 1 -p 2 -cmd irdeto_factory_lock -arg0 $images_w\\dev002.SDL -arg1 $images_w\\work004.SDL -arg2 \"SCS|CW\" -output $SCRATCH_W\\result.txt -d "
  check "tool's image argument" "$(record_value "$rec" arg16)" "$images_w\\work004.SDL"
  check "lock options argument" "$(record_value "$rec" arg18)" "SCS|CW"
  check_has "script" "$SCRATCH/run_dorvik.bat" "cd $(winpath "$BUILD/standins")"
  [ ! -e "$SCRATCH/Quintor_Log.txt" ] || [ ! -s "$SCRATCH/Quintor_Log.txt" ] || fail "a log without Debug Capture"
  drv rows Quintor $HISTORY > "$SCRATCH/history.txt"
  check_has "run history" <(cut -f3 "$SCRATCH/history.txt") "-arg1 work004.SDL "
  check_has "run history" <(cut -f3 "$SCRATCH/history.txt") "-output result.TXT "

  # Start with Debug Capture: the console output goes to the log.
  drv check Quintor $DEBUG_CAPTURE 1
  drv waitenabled Quintor $VIEW_LOG 1
  drv click Quintor $START
  drv waitrows Quintor $HISTORY 16
  check "runs of the tool" "$(line_count "$SCRATCH/dorvik_runs.txt")" 2
  check_has "capture log" "$SCRATCH/Quintor_Log.txt" "Dorvik stand-in: 21 argument(s)"
  check_has "capture log" "$SCRATCH/Quintor_Log.txt" "Dorvik stand-in: no box attached (standard error)"
  check_has "output file" "$SCRATCH/result.txt" "Dorvik stand-in output"

  # The viewer opens the log, then the output file.
  drv click Quintor $VIEW_LOG
  drv waitlike "Quintor_Log.txt" 30 >/dev/null || fail "View Log started no viewer"
  drv closelike "Quintor_Log.txt"
  drv click Quintor $OUTPUT_VIEW
  drv waitlike "result.txt" 30 >/dev/null || fail "Output File View started no viewer"
  drv closelike "result.txt"

  close_quintor
  check "stored port" "$(drv setting Serial_Port)" 3
  check "stored output" "$(drv setting Output_Path)" "$SCRATCH_W\\result.txt"

  # The next start shows what was set.
  start_quintor
  drv waittext Quintor $OUTPUT_PATH "$SCRATCH_W\\result.txt"
  check "tool path" "$(drv text Quintor $TOOL_PATH)" "$TOOL_W"
  check "serial lists" "$(for id in $PORT $BAUD $DATA $STOP $PARITY $COMMAND; do drv comboindex Quintor $id; done | tr '\n' ' ')" \
    "2 3 1 1 2 0 "
  check "Debug Capture" "$(drv checked Quintor $DEBUG_CAPTURE)" 0
  check "download list" "$(drv rows Quintor $DOWNLOADS | wc -l)" 0
  close_quintor
}

# DVT Test: the folder chosen with Open, a walk to a case, "Test!!" sends that
# case's image with the main window's serial settings; "Dvt Test File Insert"
# fills the download list with the folder's images.
scenario_dvt_test() {
  new_scratch dvt_test
  # Under Wine the folder browser reaches folders on C: only, not on the
  # drive that maps the host's root: the images go into the prefix.
  local dvt="$WINEPREFIX/drive_c/quintor-e2e/dvt images" dvt_w rec="$SCRATCH/dorvik_record.txt"
  rm -rf "$dvt"
  # shellcheck disable=SC2086
  make_images "$dvt" $DVT_NAMES
  dvt_w="$(winpath "$dvt")"
  start_quintor
  drv select Quintor $PORT 1
  drv click Quintor $DVT_TEST
  drv wait "DVT Test" 30
  drv click "DVT Test" $DVT_OPEN
  drv folderdialog "$dvt_w"
  drv waittext "DVT Test" $DVT_FOLDER "$dvt_w"
  check "stored DVT folder" "$(drv setting Dvt_Path)" "$dvt_w"

  # Four steps forward: case 4, the manufacturer key.
  for _ in 1 2 3 4; do drv click "DVT Test" $DVT_NEXT; done
  drv waittext "DVT Test" $DVT_FILE "* File Name : Mankey.dnl"
  drv click "DVT Test" $DVT_RUN
  wait_for 60 test -s "$rec" || fail "the DVT run started no tool"
  check "DVT tool command line" "$(record_value "$rec" cmdline)" \
    "Dorvik.EXE -c 2 -b 7 -n 8 -s 0 -p 0 \"$dvt_w\\Mankey.dnl\" -d "
  check "DVT image argument" "$(record_value "$rec" arg11)" "$dvt_w\\Mankey.dnl"
  # Back past the first case: the last one.
  for _ in 1 2 3 4 5; do drv click "DVT Test" $DVT_PROV; done
  drv waittext "DVT Test" $DVT_FILE "* File Name : Seqx1000.sdl"
  drv key "DVT Test" 0x1B
  drv gone "DVT Test" 30

  drv command Quintor $POPUP_DVT_FILE_INSERT
  drv folderdialog "$dvt_w"
  drv waitrows Quintor $DOWNLOADS 24
  check "first DVT row" "$(drv rows Quintor $DOWNLOADS | head -n 1 | cut -f3-)" "$dvt_w	bbcb.bin"
  check "last DVT row" "$(drv rows Quintor $DOWNLOADS | tail -n 1 | cut -f3-)" "$dvt_w	seqx1000.sdl"
  close_quintor
  check "stored DVT folder at exit" "$(drv setting Dvt_Path)" "$dvt_w"
}

# A long run: while the tool runs, the main window repaints (the screenshot
# shows it drawn) and a click on "Start" made meanwhile starts no second run.
# The stand-in runs 10 seconds and then waits for an event this scenario sets
# once it has done its part, so the run lasts until then on any machine.
scenario_long_run() {
  new_scratch long_run
  make_images "$SCRATCH/images" dev002.sdl
  local hold="QuintorE2EHold$$" shot="$SCRATCH/during-run.png"
  drv hold "$hold" "$SCRATCH_W\\hold.ready" "$SCRATCH_W\\hold.release" 120 &
  local holder=$!
  wait_for 30 test -e "$SCRATCH/hold.ready" || fail "no hold event"
  export DORVIK_WAIT_EVENT="$hold" DORVIK_SLEEP_MS=10000
  start_quintor
  drv command Quintor $POPUP_INSERT
  drv filedialog "$(winpath "$SCRATCH/images")\\dev002.sdl"
  drv waitrows Quintor $DOWNLOADS 1
  drv checkrow Quintor $DOWNLOADS 0 1
  local started=$SECONDS
  drv click Quintor $START
  wait_for 60 test -s "$SCRATCH/dorvik_record.txt" || fail "the tool was not started"

  # The run is on: the window is invalidated and paints all the same.
  drv repaint Quintor 30 || fail "the main window did not repaint during the run"
  import -window root "$shot"
  local colours
  colours="$(convert "$shot" -format %k info:)"
  [ "$colours" -gt 50 ] || fail "the screenshot during the run shows $colours colours"
  # An operator's click on Start, by the X server.
  read -r x y < <(drv center Quintor $START)
  xdotool mousemove "$x" "$y" click 1
  check "rows during the run" "$(drv rows Quintor $HISTORY | wc -l)" 0
  quintor_running || fail "Quintor ended during the run"

  touch "$SCRATCH/hold.release"
  wait "$holder" || fail "the hold ended badly"
  drv waitrows Quintor $HISTORY 4 60
  [ $((SECONDS - started)) -ge 10 ] || fail "the run lasted less than 10 s"
  # A click after the run is taken: once it has, the click made during the
  # run would have been too.
  read -r x y < <(drv center Quintor $DEBUG_CAPTURE)
  xdotool mousemove "$x" "$y" click 1
  drv waitenabled Quintor $VIEW_LOG 1 30
  check "runs of the tool" "$(line_count "$SCRATCH/dorvik_runs.txt")" 1
  check "rows after the run" "$(drv rows Quintor $HISTORY | wc -l)" 4
  close_quintor
}

# BBCB Setting: the fields typed, "Start !!" makes a stamped folder holding
# the image, the config copy and the ReadMe; the maker got the values; the
# fields are stored when the window closes.
scenario_bbcb_setting() {
  new_scratch bbcb_setting
  local out="$SCRATCH/release" config="$SCRATCH/sample bbcb.cfg" rec="$SCRATCH/bbcb_record.txt"
  mkdir -p "$out"
  printf '; sample\r\nmanufacturer_id=0x12\r\n' > "$config"
  drv store BBCB_Path "$(winpath "$BUILD/standins/irdeto_make_bbcb.exe")"
  drv store BBCB_Config "$(winpath "$config")"
  drv store BBCB_Output "$(winpath "$out")"
  start_quintor
  drv click Quintor $BBCB_SETTING
  drv wait "BBCB Setting" 30
  drv waittext "BBCB Setting" 1035 "$(winpath "$config")"
  drv type "BBCB Setting" 1025 "1234ABCD"
  drv type "BBCB Setting" 1026 "0001"
  drv type "BBCB Setting" 1027 "MSN 42"
  local id=1028 byte
  for byte in 00 1A 2B 3C 4D 5E; do drv type "BBCB Setting" $id $byte; id=$((id + 1)); done
  drv waittext "BBCB Setting" 1025 "1234ABCD"
  drv click "BBCB Setting" 1024
  wait_for 60 test -s "$rec" || fail "the maker was not started"
  local folder
  wait_for 60 sh -c "ls '$out'/*/ReadMe.txt >/dev/null 2>&1" || fail "no stamped folder with a ReadMe"
  folder="$(dirname "$(ls "$out"/*/ReadMe.txt | head -n 1)")"
  check "stamped folders" "$(find "$out" -mindepth 1 -maxdepth 1 -type d | wc -l)" 1
  check_has "image" "$folder/bbcb.bin" "sn=1234ABCD"
  check_has "image" "$folder/bbcb.bin" "manufacturer_sn=MSN 42"
  cmp -s "$config" "$folder/sample bbcb.CFG" || fail "no copy of the config in $folder"
  [ -s "$folder/ReadMe.txt" ] || fail "empty ReadMe"
  check_has "maker's arguments" <(tr -d '\r' < "$rec") "arg=1234ABCD"
  check_has "maker's arguments" <(tr -d '\r' < "$rec") "arg=$(winpath "$folder")\\bbcb.bin"
  drv key "BBCB Setting" 0x1B
  drv gone "BBCB Setting" 30
  check "stored S/N" "$(drv setting BBCB_SN)" "1234ABCD"
  close_quintor
}
