#!/usr/bin/env bash
# Instructions per call of every measured operation, counted by callgrind (deterministic, unlike
# timings on a shared machine), beside the literal engine's counts recorded in
# bench/literal_counts.tsv before that first implementation was retired.
#   bash bench/callgrind.sh [FILTER]      FILTER: an extended regex on the operation names
# Builds build-bench (-O2, as shipped) and prints a Markdown table. Needs valgrind.
set -euo pipefail
cd "$(dirname "$0")/.."
filter=${1:-.}
build=build-bench

if ! command -v valgrind >/dev/null; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends valgrind
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELM_BUILD_BENCH=ON \
  -DKELM_BUILD_TESTS=OFF -DKELM_BUILD_SHELL=OFF >/dev/null
cmake --build "$build" --target kelm-ops >/dev/null

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# count OP: instructions of one call of OP, from a cold engine, after one warm-up call.
count() {
  local out="$tmp/$(echo "$1" | md5sum | cut -c1-16)"
  valgrind --tool=callgrind --callgrind-out-file="$out.cg" --collect-atstart=no \
    --toggle-collect=KelmMeasured "$build/bench/kelm-ops" "$1" 1 >/dev/null 2>&1
  awk '/^(summary|totals):/ { print $2; exit }' "$out.cg" >"$out.n"
}
export -f count
export build tmp

"$build/bench/kelm-ops" --list | grep -E -- "$filter" >"$tmp/ops" || true
xargs -P 2 -d '\n' -n 1 bash -c 'count "$0"' <"$tmp/ops"

fmt() { awk -v n="$1" 'BEGIN { if (n == "") print "—"; else if (n >= 1e6) printf "%.2f M", n / 1e6; else if (n >= 1e4) printf "%.1f k", n / 1e3; else printf "%d", n }'; }
echo "| operation | literal | now | ratio |"
echo "|---|---:|---:|---:|"
while read -r op; do
  now=$(cat "$tmp/$(echo "$op" | md5sum | cut -c1-16).n")
  lit=$(awk -F '\t' -v op="$op" '$1 == op { print $2 }' bench/literal_counts.tsv)
  ratio="—"
  [ -n "$lit" ] && ratio=$(awk -v a="$lit" -v b="$now" 'BEGIN { printf "%.1f×", a / b }')
  echo "| \`$op\` | $(fmt "$lit") | $(fmt "$now") | $ratio |"
done <"$tmp/ops"
