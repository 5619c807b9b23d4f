#!/usr/bin/env bash
# End-to-end scenarios: starts the real Quintor.exe under Wine and operates it
# from outside the process, with the stand-in tools.
#   scripts/e2e.sh [BUILD] [SCENARIO...]
# BUILD is the Windows build folder (default: the one wine-env.sh picks);
# WINEPREFIX and DISPLAY are taken as set, or made as for the tests.
# Prints one line per scenario and "N passed, N failed"; exits non-zero on a failure.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/wine-env.sh"
BUILD="$(cd "${1:-$QUINTOR_WIN_BUILD}" && pwd)"
shift || true

owns_display=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  quintor_start_display
  owns_display=1
  quintor_prepare_prefix
fi
[ "$owns_display" = 1 ] && trap quintor_stop EXIT

for target in Quintor Dorvik irdeto_make_bbcb qdriver; do
  case $target in
    Quintor) f="$BUILD/Quintor.exe" ;; qdriver) f="$BUILD/e2e/qdriver.exe" ;; *) f="$BUILD/standins/$target.exe" ;;
  esac
  [ -f "$f" ] || cmake --build "$BUILD" -j2 --target "$target" >/dev/null
done

source "$root/tests/e2e/lib.sh"
source "$root/tests/e2e/scenarios.sh"

scenarios=("$@")
if [ ${#scenarios[@]} -eq 0 ]; then
  mapfile -t scenarios < <(declare -F | sed -n 's/^declare -f scenario_//p')
fi

passed=0
failed=0
for name in "${scenarios[@]}"; do
  start=$SECONDS
  ( set -e; trap stop_quintor EXIT; "scenario_$name" )
  rc=$?
  if [ $rc -eq 0 ]; then
    passed=$((passed + 1))
    echo "PASS $name ($((SECONDS - start)) s)"
  else
    failed=$((failed + 1))
    echo "FAIL $name ($((SECONDS - start)) s)"
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
