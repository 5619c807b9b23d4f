# Helpers of the end-to-end scenarios, sourced by scripts/e2e.sh after
# scripts/wine-env.sh. Expects BUILD (the Windows build folder), DISPLAY and
# WINEPREFIX. Every wait is on a condition, with a generous time-out.

E2E_CAPTION=Quintor
DRIVER="$BUILD/e2e/qdriver.exe"

drv() { "$QUINTOR_WINE" "$DRIVER" "$@"; }

winpath() { "$QUINTOR_WINE" winepath -w "$1" 2>/dev/null | tr -d '\r'; }

fail() {
  echo "    FAIL: $*" >&2
  return 1
}

# check DESCRIPTION ACTUAL EXPECTED
check() {
  [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"
}

# check_has DESCRIPTION FILE TEXT: the file holds the line TEXT.
check_has() {
  grep -qxF -- "$3" <(tr -d '\r' < "$2") || { sed 's/^/      /' "$2" >&2; fail "$1: no line '$3' in $2"; }
}

# wait_for SECONDS COMMAND...: polls COMMAND until it succeeds.
wait_for() {
  local limit=$(($1 * 10)) i=0
  shift
  until "$@"; do
    i=$((i + 1))
    [ "$i" -lt "$limit" ] || return 1
    sleep 0.1
  done
}

line_count() { [ -f "$1" ] && tr -d '\r' < "$1" | grep -c . || echo 0; }

# A scratch folder with its own copy of Quintor.exe (the scripts and the
# capture log go beside the program), fresh settings, and the stand-ins'
# records there.
new_scratch() {
  SCRATCH="$BUILD/e2e/scratch/$1"
  rm -rf "$SCRATCH"
  mkdir -p "$SCRATCH"
  cp "$BUILD/Quintor.exe" "$SCRATCH/"
  SCRATCH_W="$(winpath "$SCRATCH")"
  export DORVIK_RECORD="$SCRATCH_W\\dorvik_record.txt"
  export DORVIK_RUNLOG="$SCRATCH_W\\dorvik_runs.txt"
  export QUINTOR_BBCB_RECORD="$SCRATCH_W\\bbcb_record.txt"
  unset DORVIK_WAIT_EVENT DORVIK_SLEEP_MS DORVIK_SIGNAL_EVENT
  drv clearsettings
  TOOL_W="$(winpath "$BUILD/standins/Dorvik.exe")"
  drv store Dorvik_Path "$TOOL_W"
}

# Small download images in a folder.
make_images() {  # folder name...
  local dir="$1" f
  shift
  mkdir -p "$dir"
  for f in "$@"; do printf 'image %s\r\n' "$f" > "$dir/$f"; done
}

DVT_NAMES="bbcb.bin dev002.sdl dvtapp.bin mankey.dnl devkey.dnl work004.sdl var_upd.vdl non_sign.sdl load-1.sdl
wrong_hw.sdl wron_man.sdl non_gte3.sdl badstart.sdl bad_end.sdl bad_char.sdl noncrc.sdl work110.sdl work011.sdl
work209.sdl work000.sdl seq-1.sdl same_seq.sdl seqx1001.sdl seqx1000.sdl"

start_quintor() {
  # Another main window would take this scenario's actions.
  drv gone "$E2E_CAPTION" 30 || fail "a main window is still open"
  "$QUINTOR_WINE" "$SCRATCH/Quintor.exe" >>"$SCRATCH/quintor.out" 2>&1 &
  QUINTOR_PID=$!
  drv wait "$E2E_CAPTION" 60 || fail "the main window did not show"
}

quintor_running() { kill -0 "$QUINTOR_PID" 2>/dev/null; }
quintor_ended() { ! quintor_running; }

# Esc in the main window; the settings are saved before the process ends.
close_quintor() {
  drv key "$E2E_CAPTION" 0x1B
  wait_for 30 quintor_ended || fail "Quintor did not end after Esc"
}

# Ends a Quintor left open by a failed scenario (this scenario's process only).
stop_quintor() {
  if [ -n "${QUINTOR_PID:-}" ] && quintor_running; then
    kill "$QUINTOR_PID" 2>/dev/null || true
    wait_for 10 quintor_ended || true
  fi
  QUINTOR_PID=
}

record_value() {  # FILE KEY: the value of KEY= in a stand-in record
  tr -d '\r' < "$1" | sed -n "s/^$2=//p" | head -n 1
}
