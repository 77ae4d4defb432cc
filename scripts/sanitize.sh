#!/usr/bin/env bash
# Builds the product and every test with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan, and runs the whole test suite there. Any report stops the test that made it.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
cmake -S . -B build-asan -G Ninja -DKELM_SANITIZE=ON -DKELM_BUILD_TESTS=ON -DKELM_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan
ctest --test-dir build-asan --output-on-failure -j2
