#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds Quillora and runs every test: the suites,
# the end-to-end journeys, and the suites again under AddressSanitizer/UBSan.
# `--quick`, before each commit: the style, the floors, the build and the
# suites, without the journeys, the sanitizers, the fuzzing or the package.
set -euo pipefail
cd "$(dirname "$0")/.."
quick=false
if [ "${1:-}" = "--quick" ]; then quick=true; fi

if ! $quick; then bash scripts/install-deps.sh --tests; fi
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
# A private print service with a PDF queue for the printing test, ended afterwards.
bash tests/cups.sh start
trap 'bash tests/cups.sh stop' EXIT

# The code keeps one style.
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

# Each floor includes only the floors below it (the build's floor checks
# then refuse a call that points up).
bash scripts/check-floors.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
if $quick; then
  (cd build && ctest --output-on-failure -E e2e -j "$(nproc)")
  exit 0
fi
# The project's agreed clang-tidy checks, warnings as errors, on the program.
git ls-files 'app/*.cpp' 'common/*.cpp' 'documents/*.cpp' 'editing/*.cpp' 'languages/*.cpp' 'resources/*.cpp' \
  'settings/*.cpp' | xargs -P "$(nproc)" -n 4 clang-tidy -p build --quiet
# clazy's checks of Qt's own pitfalls: its first level, and those of the
# next that catch a detached container or a signal emitted from outside.
clazy_checks=level0,detaching-temporary,range-loop-detach,incorrect-emit,overloaded-signal,connect-3arg-lambda
git ls-files 'app/*.cpp' 'common/*.cpp' 'documents/*.cpp' 'editing/*.cpp' 'languages/*.cpp' 'resources/*.cpp' \
  'settings/*.cpp' | xargs -P "$(nproc)" -n 4 clazy-standalone -p build --checks="$clazy_checks" \
  --extra-arg=-Werror --extra-arg=-Wno-unknown-warning-option
(cd build && ctest --output-on-failure)

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLORA_SANITIZE=ON
cmake --build build-asan
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && ctest --output-on-failure -E e2e)

# The fuzz targets, each for a bounded time from its checked-in corpus.
bash tests/fuzz/run.sh

# The Debian package: built, lintian clean, installed, started and purged in
# a throw-away Debian 12 root (needs root and the package archive).
${SUDO:-} bash tests/debian_test.sh
