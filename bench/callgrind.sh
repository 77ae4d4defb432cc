#!/usr/bin/env bash
# Instructions per call of every measured operation, counted by callgrind (deterministic, unlike
# timings on a shared machine), for the frozen literal engine and the optimised one.
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
cmake --build "$build" --target kelm-ops kelm-ops-literal >/dev/null

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# count EXE OP: instructions of one call of OP, from a cold engine, after one warm-up call.
count() {
  local out="$tmp/$(echo "$1 $2" | md5sum | cut -c1-16)"
  valgrind --tool=callgrind --callgrind-out-file="$out" --collect-atstart=no \
    --toggle-collect=KelmMeasured "$build/bench/$1" "$2" 1 >/dev/null 2>&1
  awk '/^(summary|totals):/ { print $2; exit }' "$out"
}
export -f count
export build tmp

"$build/bench/kelm-ops" --list | grep -E -- "$filter" >"$tmp/ops" || true
"$build/bench/kelm-ops-literal" --list >"$tmp/literal-ops"
# Both engines' counts, two valgrind runs at a time.
while read -r op; do
  echo "kelm-ops $op"
  if grep -qxF -- "$op" "$tmp/literal-ops"; then echo "kelm-ops-literal $op"; fi
done <"$tmp/ops" | xargs -P 2 -L 1 -d '\n' bash -c 'read -r exe op <<<"$0"; echo "$(count "$exe" "$op")" >"$tmp/$exe.$(echo "$op" | md5sum | cut -c1-16).n"'

fmt() { awk -v n="$1" 'BEGIN { if (n == "") print "—"; else if (n >= 1e6) printf "%.2f M", n / 1e6; else if (n >= 1e4) printf "%.1f k", n / 1e3; else printf "%d", n }'; }
echo "| operation | literal | optimised | ratio |"
echo "|---|---:|---:|---:|"
while read -r op; do
  key=$(echo "$op" | md5sum | cut -c1-16)
  fast=$(cat "$tmp/kelm-ops.$key.n" 2>/dev/null || true)
  lit=$(cat "$tmp/kelm-ops-literal.$key.n" 2>/dev/null || true)
  ratio="—"
  if [ -n "$lit" ] && [ -n "$fast" ]; then ratio=$(awk -v a="$lit" -v b="$fast" 'BEGIN { printf "%.1f×", a / b }'); fi
  echo "| \`$op\` | $(fmt "$lit") | $(fmt "$fast") | $ratio |"
done <"$tmp/ops"
