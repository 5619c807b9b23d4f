#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)

echo "== Native build and tests, under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DQUINTOR_SANITIZE=ON >/dev/null
cmake --build build/sanitize -j"$jobs"
ctest --test-dir build/sanitize --output-on-failure

echo "== Bounded fuzz run"
scripts/fuzz.sh 5

source scripts/wine-env.sh
trap quintor_stop EXIT

echo "== Windows build (i686, the product)"
if [ "$QUINTOR_WIN_ARCH" = i686 ]; then tests=ON; else tests=OFF; fi
quintor_cmake_win build/win-i686 i686 -DQUINTOR_TESTS=$tests >/dev/null
cmake --build build/win-i686 -j"$jobs"

if [ "$QUINTOR_WIN_ARCH" != i686 ]; then
  echo "== This host cannot run 32-bit programs; Windows tests run the $QUINTOR_WIN_ARCH build"
  quintor_cmake_win "$QUINTOR_WIN_BUILD" "$QUINTOR_WIN_ARCH" >/dev/null
  cmake --build "$QUINTOR_WIN_BUILD" -j"$jobs"
fi

echo "== Windows tests under Wine ($QUINTOR_WIN_ARCH)"
quintor_start_display
quintor_prepare_prefix
ctest --test-dir "$QUINTOR_WIN_BUILD" --output-on-failure

echo "== End-to-end scenarios under Wine ($QUINTOR_WIN_ARCH)"
scripts/e2e.sh "$QUINTOR_WIN_BUILD"
