#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ in build-fuzz and runs each for a bounded time, an
# input slower than one second counting as a hang. Skipped with a message when clang's fuzzer
# runtime cannot be linked (Debian: clang and libclang-rt-14-dev).
# Usage: scripts/fuzz.sh [SECONDS_PER_HARNESS] [HARNESS...]   (default 60 s, every harness)
# KELM_FUZZ_STRICT=1 adds the harnesses' plausibility checks.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
harnesses=("$@")
[ ${#harnesses[@]} -gt 0 ] || harnesses=(engine_fuzz if97_fuzz form_fuzz batch_fuzz)
cxx="${KELM_FUZZ_CXX:-clang++}"

if ! command -v "$cxx" >/dev/null 2>&1; then
  echo "fuzz: $cxx not found; the fuzz runs are skipped"
  exit 0
fi
probe="$(mktemp -d)"
trap 'rm -rf "$probe"' EXIT
cat >"$probe/probe.cpp" <<'CPP'
#include <cstddef>
#include <cstdint>
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }
CPP
if ! "$cxx" -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" 2>"$probe/err"; then
  echo "fuzz: $cxx cannot link -fsanitize=fuzzer (its fuzzer runtime is missing); the fuzz runs are skipped"
  exit 0
fi

cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
cmake --build build-fuzz

export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
failed=()
for harness in "${harnesses[@]}"; do
  binary="build-fuzz/$harness"
  [ -x "$binary" ] || { echo "fuzz: $harness was not built"; failed+=("$harness"); continue; }
  # New inputs go to a working corpus; the committed seeds are read only.
  work="build-fuzz/work/$harness"
  mkdir -p "$work" build-fuzz/artifacts
  log="build-fuzz/$harness.log"
  maxlen=4096
  [ "$harness" = form_fuzz ] && maxlen=8192
  echo "fuzz: $harness for ${seconds} s"
  if "$binary" -timeout=1 -max_total_time="$seconds" -max_len="$maxlen" -print_final_stats=1 \
      -artifact_prefix="build-fuzz/artifacts/$harness-" "$work" "fuzz/corpus/$harness" >"$log" 2>&1; then
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
    cov="$(grep -E '^#[0-9]+' "$log" | tail -1 | grep -oE 'cov: [0-9]+' || true)"
    # The harnesses print "#most NAME evaluations N (cap C)" whenever a search's count grows.
    most="$(awk '/^#most/ { m[$2] = $4; c[$2] = $6 } END { for (k in m) printf "%s %s of %s; ", k, m[k], c[k] }' "$log" | tr -d ')')"
    echo "fuzz: $harness passed: ${runs:-?} inputs in ${seconds} s, ${cov}${most:+; most evaluations: $most}"
  else
    echo "fuzz: $harness FAILED; the input is in build-fuzz/artifacts/, the end of its log:"
    tail -n 40 "$log"
    failed+=("$harness")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: failed: ${failed[*]}"
  exit 1
fi
