#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time,
# seeded from examples/ and the target's own corpus folder.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-20}
if ! ls fuzz/*.cpp >/dev/null 2>&1; then
  echo "no fuzz targets"
  exit 0
fi

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLEMMABOX_FUZZ=ON -DLEMMABOX_BUILD_APP=OFF -DLEMMABOX_BUILD_TESTS=OFF \
  -DLEMMABOX_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j2

for source in fuzz/*.cpp; do
  name=$(basename "$source" .cpp)
  corpus=$(mktemp -d)
  seeds=()
  [ -d "fuzz/corpus/$name" ] && seeds+=("fuzz/corpus/$name")
  echo "fuzz_$name: ${seconds}s"
  build-fuzz/fuzz/fuzz_"$name" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
    -print_final_stats=0 "$corpus" "${seeds[@]}" 2>&1 | tail -n 3
  rm -rf "$corpus"
done
