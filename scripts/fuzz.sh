#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer with address and undefined-behaviour
# sanitizers) and runs each for the given number of seconds (default 300).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-300}"
CC=clang CXX=clang++ cmake -S . -B build/fuzz -DQUINTOR_FUZZ=ON -DQUINTOR_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/fuzz -j"$(nproc)"
mkdir -p build/fuzz/corpus
for target in build/fuzz/tests/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  mkdir -p "build/fuzz/corpus/$name"
  echo "== $name ($seconds s)"
  "$target" -max_total_time="$seconds" -print_final_stats=1 "build/fuzz/corpus/$name" 2>&1 | tail -n 4
done
