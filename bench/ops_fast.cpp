// The engine operations, registered for the benchmarks and the instruction counter.
#include "bench/ops.h"
#include "engine/constants.h"
#include "engine/detail/memo.h"
#include "engine/detail/statepoint_parts.h"
#include "engine/entrypoints.h"
#include "engine/region1.h"
#include "engine/region2.h"
#include "engine/region3.h"
#include "engine/region4.h"
#include "engine/satprops.h"
#include "engine/saturation.h"
#include "engine/solvers.h"
#include "engine/statepoint.h"

namespace kelm_ops {
namespace {
#define OP(NAME, ...) {NAME, [](int) { __VA_ARGS__; }, 0},
const Op kEngineOps[] = {
#include "bench/engine_ops.inc"
};
#undef OP
const Registrar kRegistrar(kEngineOps, int(sizeof kEngineOps / sizeof kEngineOps[0]));
}  // namespace

void ResetEngine() { engine_memo::ResetAll(); }
}  // namespace kelm_ops
