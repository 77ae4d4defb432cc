// kelm-ops: runs one measured operation, for the instruction counter (bench/callgrind.sh).
//   kelm-ops --list          the operation names, one per line
//   kelm-ops --check         every operation once
//   kelm-ops NAME [N]        one warm-up call, then N measured calls (default 10) inside
//                            KelmMeasured, each from a cold engine (ResetEngine before it)
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/ops.h"

using kelm_ops::Op;

// Callgrind collects only inside this function (--toggle-collect=KelmMeasured).
extern "C" __attribute__((noinline)) void KelmMeasured(const Op* op, int n) {
  for (int i = 0; i < n; ++i) {
    kelm_ops::ResetEngine();
    op->fn(op->arg);
  }
}

int main(int argc, char** argv) {
  const auto& ops = kelm_ops::Registry();
  if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
    for (const Op& op : ops) std::printf("%s\n", op.name);
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "--check") == 0) {
    for (const Op& op : ops) op.fn(op.arg);
    return 0;
  }
  if (argc == 2 || argc == 3) {
    const int n = argc == 3 ? std::atoi(argv[2]) : 10;
    for (const Op& op : ops) {
      if (std::strcmp(op.name, argv[1]) != 0) continue;
      op.fn(op.arg);  // warm-up: lazy symbol binding, the form's first set-up
      KelmMeasured(&op, n);
      return 0;
    }
    std::fprintf(stderr, "kelm-ops: no operation %s\n", argv[1]);
    return 2;
  }
  std::fprintf(stderr, "usage: kelm-ops --list | --check | NAME [N]\n");
  return 2;
}
