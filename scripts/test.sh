#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
export QT_QPA_PLATFORM=offscreen
cmake -S . -B build-test -G Ninja -DKELM_BUILD_TESTS=ON -DKELM_BUILD_BENCH=ON >/dev/null
cmake --build build-test
ctest --test-dir build-test --output-on-failure -j2
# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer, then every fuzzing
# harness for a minute (skipped with a message where clang's fuzzer runtime is missing).
bash scripts/sanitize.sh
bash scripts/fuzz.sh 60
