#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, a minute of each fuzzing harness (skipped with a message where
# clang's fuzzer runtime is missing), and last the suite in the normal build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
export QT_QPA_PLATFORM=offscreen
cmake -S . -B build-test -G Ninja -DKELM_BUILD_TESTS=ON -DKELM_BUILD_BENCH=ON >/dev/null
cmake --build build-test
bash scripts/sanitize.sh
bash scripts/fuzz.sh 60
ctest --test-dir build-test --output-on-failure -j2
