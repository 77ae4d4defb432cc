#!/usr/bin/env bash
# Installs what is missing, builds, and runs the test suite.
#   bash scripts/test.sh         the normal suite
#   bash scripts/test.sh --all   the thorough run (what CI runs): the benchmarks built, the suite
#                                under AddressSanitizer and UndefinedBehaviorSanitizer, the
#                                engine, form and command-line suites under ThreadSanitizer, a
#                                minute of each fuzzing harness, then the normal suite
set -euo pipefail
cd "$(dirname "$0")/.."
all=false
case "${1:-}" in
  "") ;;
  --all) all=true ;;
  *)
    echo "usage: bash scripts/test.sh [--all]" >&2
    exit 2
    ;;
esac

export QT_QPA_PLATFORM=offscreen
if $all; then
  bash scripts/deps.sh all
  cmake -S . -B build-test -G Ninja -DKELM_BUILD_TESTS=ON -DKELM_BUILD_BENCH=ON >/dev/null
  cmake --build build-test
  bash scripts/sanitize.sh address
  bash scripts/sanitize.sh thread
  bash scripts/fuzz.sh 60
else
  bash scripts/deps.sh test
  cmake -S . -B build-test -G Ninja -DKELM_BUILD_TESTS=ON >/dev/null
  cmake --build build-test
fi
ctest --test-dir build-test --output-on-failure -j2
