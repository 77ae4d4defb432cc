#!/usr/bin/env bash
# Installs the Debian packages that are missing, and only those.
#   deps.sh build   compiler, CMake, Ninja, Qt 6 (with Qt SVG and the SQLite driver), GoogleTest,
#                   libxlsxwriter and zlib (which it links, and which the tests read workbooks back with)
#   deps.sh run     and what the window needs on screen: Qt's platform plugins, a CJK font
#   deps.sh test    the build, and for the normal test suite Python's module and its tests:
#                   pybind11, NumPy, pytest, pandas, Dask with its distributed scheduler
#   deps.sh all     and Google Benchmark, clang with its fuzzer runtime, venv and pip for the
#                   Python package's installation check, for the thorough run
set -euo pipefail

need=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev libqt6sql6-sqlite
      libgtest-dev libgmock-dev libxlsxwriter-dev zlib1g-dev)
python=(python3-dev pybind11-dev python3-numpy python3-pytest python3-pandas python3-dask
  python3-distributed)
case "${1:-build}" in
  build) ;;
  test) need+=("${python[@]}") ;;
  run) need+=(qt6-qpa-plugins fontconfig) ;;
  all) need+=("${python[@]}" libbenchmark-dev clang libclang-rt-14-dev python3-venv python3-pip
    python3-setuptools python3-wheel) ;;
  *)
    echo "usage: deps.sh build|run|test|all" >&2
    exit 2
    ;;
esac

missing=()
for pkg in "${need[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done

# The window needs a CJK face, or every Chinese character is a box.
if [ "${1:-build}" = run ] && ! { command -v fc-list >/dev/null && [ -n "$(fc-list :lang=zh-cn family 2>/dev/null)" ]; }; then
  missing+=(fonts-arphic-uming)
fi

if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
