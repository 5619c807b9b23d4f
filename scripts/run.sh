#!/usr/bin/env bash
# Builds Quintor and starts it under Wine.
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
if [ ! -f "$exe" ]; then
  echo "Built the portable core and the tools. The Quintor window comes with a later step; nothing to start yet."
  exit 0
fi
quintor_start_display
trap quintor_stop EXIT
quintor_prepare_prefix
echo "Starting Quintor on DISPLAY=$DISPLAY"
"$QUINTOR_WINE" "$exe"
