#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# Exits non-zero on any failure, naming the step that failed.
set -eEuo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
source scripts/wine-env.sh
quintor_name_failures
trap quintor_stop EXIT
jobs=$(nproc)

quintor_step "Native build and tests, under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DQUINTOR_SANITIZE=ON >/dev/null
cmake --build build/sanitize -j"$jobs"
ctest --test-dir build/sanitize --output-on-failure

quintor_step "Windows build (i686, the product)"
if [ "$QUINTOR_WIN_ARCH" = i686 ]; then tests=ON; else tests=OFF; fi
quintor_cmake_win build/win-i686 i686 -DQUINTOR_TESTS=$tests >/dev/null
cmake --build build/win-i686 -j"$jobs"

if [ "$QUINTOR_WIN_ARCH" != i686 ]; then
  quintor_step "Windows build ($QUINTOR_WIN_ARCH, for the tests: this host cannot run 32-bit programs)"
  quintor_cmake_win "$QUINTOR_WIN_BUILD" "$QUINTOR_WIN_ARCH" >/dev/null
  cmake --build "$QUINTOR_WIN_BUILD" -j"$jobs"
fi

quintor_step "Windows tests under Wine ($QUINTOR_WIN_ARCH)"
quintor_start_display
quintor_prepare_prefix
ctest --test-dir "$QUINTOR_WIN_BUILD" --output-on-failure

quintor_step "End-to-end scenario under Wine ($QUINTOR_WIN_ARCH)"
scripts/e2e.sh "$QUINTOR_WIN_BUILD"
