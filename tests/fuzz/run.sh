#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets with clang and runs each for a bounded time from a
# copy of its checked-in corpus. Inputs that once failed live in the corpus.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${FUZZ_SECONDS:-30}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLORA_FUZZ=ON \
  -DQUILLORA_TESTS=OFF >/dev/null
cmake --build build-fuzz --target fuzz_roundtrip fuzz_search fuzz_longlines
export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
failed=0
passed=0
for target in fuzz_roundtrip fuzz_search fuzz_longlines; do
  work=$(mktemp -d)
  cp -r "tests/fuzz/corpus/$target/." "$work/" 2>/dev/null || true
  if build-fuzz/tests/fuzz/$target -max_total_time="$seconds" -max_len=65000 -timeout=20 \
      -rss_limit_mb=4096 -artifact_prefix="build-fuzz/$target-" "$work" >"build-fuzz/$target.log" 2>&1; then
    passed=$((passed + 1))
    echo "PASS: $target ($(grep -o 'Done [0-9]* runs' "build-fuzz/$target.log" || echo done))"
  else
    failed=$((failed + 1))
    echo "FAIL: $target"; tail -n 30 "build-fuzz/$target.log"
  fi
  rm -rf "$work"
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
