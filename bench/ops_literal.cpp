// The engine operations against the frozen literal engine. Solver rows only when the literal
// copy holds the solvers.
#include "bench/ops.h"
#include "tests/engine/literal/constants.h"
#include "tests/engine/literal/entrypoints.h"
#include "tests/engine/literal/region1.h"
#include "tests/engine/literal/region2.h"
#include "tests/engine/literal/region3.h"
#include "tests/engine/literal/region4.h"
#include "tests/engine/literal/satprops.h"
#include "tests/engine/literal/saturation.h"
#include "tests/engine/literal/statepoint.h"
#ifdef KELM_LITERAL_SOLVERS
#include "tests/engine/literal/solvers.h"
#endif

namespace kelm_ops {
namespace {
using namespace literal;
#define OP(NAME, ...) {NAME, [](int) { __VA_ARGS__; }, 0},
double TrialPoint(double t, double p, int kind) {
  int state = 0;
  return PointProp(t, p, kind, state);
}
#define TRIAL_POINT TrialPoint
#ifdef KELM_LITERAL_SOLVERS
#define SOLVER_OP OP
#else
#define SOLVER_OP(NAME, ...)
#endif
const Op kEngineOps[] = {
#include "bench/engine_ops.inc"
};
#undef OP
#undef SOLVER_OP
#undef TRIAL_POINT
const Registrar kRegistrar(kEngineOps, int(sizeof kEngineOps / sizeof kEngineOps[0]));
}  // namespace

void ResetEngine() {}
}  // namespace kelm_ops
