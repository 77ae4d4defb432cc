#!/usr/bin/env bash
# Batch throughput of kelm-calc on a generated mixed file of 10 000 lines covering every item and
# mode (about a tenth of the any-state lines near the critical point).
#   bash bench/batch.sh [LINES]
# Builds build-bench and times kelm-calc --batch (best of three runs, one core).
set -euo pipefail
cd "$(dirname "$0")/.."
lines=${1:-10000}
build=build-bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELM_BUILD_BENCH=ON \
  -DKELM_BUILD_TESTS=OFF -DKELM_BUILD_SHELL=OFF >/dev/null
cmake --build "$build" --target kelm-calc >/dev/null

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
bash bench/mixed.sh "$lines" >"$tmp/mixed.tsv"

# run EXE: prints the best wall time in seconds of three runs; the output goes to $tmp/EXE.out.
run() {
  local best="" name
  name=$(basename "$1")
  for _ in 1 2 3; do
    local start end
    start=$(date +%s.%N)
    taskset -c 0 "$1" --batch "$tmp/mixed.tsv" >"$tmp/$name.out" 2>/dev/null || true
    end=$(date +%s.%N)
    best=$(awk -v s="$start" -v e="$end" -v b="$best" 'BEGIN { d = e - s; print (b == "" || d < b) ? d : b }')
  done
  echo "$best"
}

report() {
  awk -v n="$lines" -v t="$2" -v name="$1" \
    'BEGIN { printf "%-18s %6d lines in %.3f s: %.0f calculations per second\n", name, n, t, n / t }'
}
report kelm-calc "$(run "$build/cli/kelm-calc")"
