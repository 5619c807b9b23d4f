#!/usr/bin/env bash
# The end-to-end scenario (tests/e2e/scenario.sh): starts the real Quintor.exe
# under Wine and operates it from outside the process, with the stand-in tool.
#   scripts/e2e.sh [BUILD]
# BUILD is the Windows build folder (default: the one wine-env.sh picks);
# WINEPREFIX and DISPLAY are taken as set, or made as for the tests.
# Prints PASS or FAIL and a count line; exits non-zero on a failure.
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/wine-env.sh"
BUILD="$(cd "${1:-$QUINTOR_WIN_BUILD}" && pwd)"

if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  quintor_start_display
  quintor_prepare_prefix
  trap quintor_stop EXIT
fi
cmake --build "$BUILD" -j2 --target Quintor Dorvik qdriver >/dev/null || exit 1

start=$SECONDS
QUINTOR_PID=
( set -e; trap 'kill "$QUINTOR_PID" 2>/dev/null || true' EXIT; source "$root/tests/e2e/scenario.sh" )
rc=$?
[ $rc -eq 0 ] && result=PASS || result=FAIL
echo "$result end-to-end scenario ($((SECONDS - start)) s)"
[ $rc -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $rc
