#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds everything and runs every test: once in a plain build,
# once under AddressSanitizer and UndefinedBehaviorSanitizer, and the threaded tests under
# ThreadSanitizer. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
root=$(pwd)

configure() { cmake -S . -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${@:2}" >/dev/null; }

echo "== Plain build"
configure build
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== AddressSanitizer and UndefinedBehaviorSanitizer"
configure build-asan -DQUILL_SANITIZE=address,undefined -DQUILL_BUILD_BENCH=OFF
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions=$root/tests/lsan.supp \
UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== ThreadSanitizer (threaded tests)"
configure build-tsan -DQUILL_SANITIZE=thread -DQUILL_BUILD_BENCH=OFF
cmake --build build-tsan -j "$jobs" --target threaded_tests
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$root/tests/tsan.supp" \
  ctest --test-dir build-tsan --output-on-failure -j "$jobs" -L threaded
