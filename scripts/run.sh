#!/usr/bin/env bash
# Installs what is missing, builds, and starts the calculator.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh run
cmake -S . -B build -G Ninja -DKELM_BUILD_TESTS=OFF >/dev/null
cmake --build build
exec build/shell/kelm "$@"
