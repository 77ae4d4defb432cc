#!/usr/bin/env bash
# The test suite under a sanitizer; any report stops the test that made it.
#   bash scripts/sanitize.sh address   every suite with AddressSanitizer and
#                                      UndefinedBehaviorSanitizer, in build-asan
#   bash scripts/sanitize.sh thread    the engine, form, command-line and Python suites (the
#                                      batch and the package on several threads among them)
#                                      with ThreadSanitizer, in build-tsan; Qt's own code is
#                                      not instrumented, so the window tests are left out there
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
case "${1:-address}" in
  address)
    export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1
    export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
    cmake -S . -B build-asan -G Ninja -DKELM_SANITIZE=address -DKELM_BUILD_TESTS=ON >/dev/null
    cmake --build build-asan
    ctest --test-dir build-asan --output-on-failure -j2
    ;;
  thread)
    export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
    cmake -S . -B build-tsan -G Ninja -DKELM_SANITIZE=thread -DKELM_BUILD_TESTS=ON \
      -DKELM_BUILD_SHELL=OFF >/dev/null
    cmake --build build-tsan
    ctest --test-dir build-tsan --output-on-failure -j2
    ;;
  *)
    echo "usage: bash scripts/sanitize.sh address|thread" >&2
    exit 2
    ;;
esac
