#!/usr/bin/env bash
# Installs what is missing, builds, and starts the calculator.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh run
cmake -S . -B build -G Ninja -DKELM_BUILD_TESTS=OFF >/dev/null
cmake --build build
if [ -x build/shell/kelm ]; then
  exec build/shell/kelm "$@"
else
  echo "The engine is built; the calculator window is not there yet."
fi
