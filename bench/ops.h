// The operations that the benchmarks and the instruction counter measure, one registry per
// executable.
#pragma once

#include <vector>

namespace kelm_ops {

struct Op {
  const char* name;
  void (*fn)(int arg);  // one call of the operation; results go to Sink
  int arg;
};

// Every operation of this executable, in registration order.
inline std::vector<Op>& Registry() {
  static std::vector<Op> ops;
  return ops;
}

struct Registrar {
  Registrar(const Op* ops, int count) {
    for (int i = 0; i < count; ++i) Registry().push_back(ops[i]);
  }
};

// Keeps a result alive so that the compiler cannot drop the call that made it.
inline volatile double g_sink = 0;
inline void Sink(double x) { g_sink = x; }

// Forgets every remembered intermediate result of the engine, so that the next call is measured
// from a cold start.
void ResetEngine();

}  // namespace kelm_ops
