#!/usr/bin/env bash
# The whole road from the form to the printed texts, optimised against literal: kelm-calc and
# kelm-calc-literal on the same generated mixed batch must print the same bytes.
#   bash bench/batch_identity.sh KELM_CALC KELM_CALC_LITERAL [LINES]
set -euo pipefail
here=$(dirname "$0")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
bash "$here/mixed.sh" "${3:-2000}" >"$tmp/mixed.tsv"
"$1" --batch "$tmp/mixed.tsv" >"$tmp/fast.out" 2>&1 || true
"$2" --batch "$tmp/mixed.tsv" >"$tmp/literal.out" 2>&1 || true
if ! cmp -s "$tmp/fast.out" "$tmp/literal.out"; then
  diff "$tmp/fast.out" "$tmp/literal.out" | head -20
  exit 1
fi
echo "$(wc -l <"$tmp/fast.out") result lines identical"
