// Google Benchmark over every registered operation, each call from a cold engine.
#include <benchmark/benchmark.h>

#include "bench/ops.h"

int main(int argc, char** argv) {
  for (const kelm_ops::Op& op : kelm_ops::Registry()) {
    benchmark::RegisterBenchmark(op.name, [op](benchmark::State& state) {
      for (auto _ : state) {
        kelm_ops::ResetEngine();
        op.fn(op.arg);
      }
    });
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
