#!/usr/bin/env bash
# Installs what is missing, builds, and runs the test suite.
#   bash scripts/test.sh         the normal suite
#   bash scripts/test.sh --all   the thorough run (what CI runs): the benchmarks built, the suite
#                                under AddressSanitizer and UndefinedBehaviorSanitizer, the
#                                engine, form, command-line and Python suites under
#                                ThreadSanitizer, a minute of each fuzzing harness, Python's slow
#                                tests and the package installed by pip into a fresh virtual
#                                environment and tested there, then the normal suite
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
  PYTHONPATH=build-test/python PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 -m pytest -q \
    -p no:cacheprovider -m slow tests/python
  rm -rf build-venv
  /usr/bin/python3 -m venv --system-site-packages build-venv
  build-venv/bin/pip install -q --no-cache-dir --no-build-isolation .
  (cd build-venv && PYTHONDONTWRITEBYTECODE=1 bin/python -m pytest -q -p no:cacheprovider \
    -m "not slow" ../tests/python)
else
  bash scripts/deps.sh test
  cmake -S . -B build-test -G Ninja -DKELM_BUILD_TESTS=ON >/dev/null
  cmake --build build-test
fi
ctest --test-dir build-test --output-on-failure -j2
