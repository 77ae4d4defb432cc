// The IF97 engine's operations, one call each, for the instruction counter and the timings. The
// IF97 engine remembers nothing between calls, so every call is a cold one. "worst" rows are the
// costliest inputs found by scanning each operation's range (p, t on a grid refined near the
// critical point; h or s of every grid state).
#include "bench/ops.h"
#include "if97/if97.h"

namespace kelm_ops {
namespace {
using namespace if97;

void SinkState(const State& s) { Sink(s.h + s.s + s.v + s.cp + s.w + s.kappa); }
void SinkStates(const States& r) { Sink(r.count > 0 ? r.root[r.count - 1].p : r.limit); }
void SinkSaturation(const Saturation& s) { Sink(s.liquid.h + s.vapour.h); }

#define OP(NAME, ...)                 \
  {                                   \
    NAME, [](int) { __VA_ARGS__; }, 0 \
  }
const Op kIf97Ops[] = {
    // The saturation line itself, and both saturated phases.
    OP("IF97/SatPressure/100C", Sink(SatPressure(100.0))),
    OP("IF97/SatTemperature/1MPa", Sink(SatTemperature(1.0))),
    OP("IF97/SaturationByP/1MPa", SinkSaturation(SaturationByP(1.0))),
    OP("IF97/SaturationByT/360C", SinkSaturation(SaturationByT(360.0))),

    // All properties at (p, t), one row per region; region 3 on each side of the line, above the
    // critical temperature, near the critical point and at the worst point.
    OP("IF97/StateFromPT/region1", SinkState(StateFromPT(10.0, 100.0))),
    OP("IF97/StateFromPT/region2", SinkState(StateFromPT(1.0, 300.0))),
    OP("IF97/StateFromPT/region3-liquid", SinkState(StateFromPT(25.0, 360.0))),
    OP("IF97/StateFromPT/region3-vapour", SinkState(StateFromPT(20.0, 370.0))),
    OP("IF97/StateFromPT/region3-super", SinkState(StateFromPT(30.0, 420.0))),
    OP("IF97/StateFromPT/region3-nearcrit", SinkState(StateFromPT(22.1, 374.0))),
    OP("IF97/StateFromPT/region3-worst", SinkState(StateFromPT(22.079173285423739, 373.9738))),
    OP("IF97/StateFromPT/region5", SinkState(StateFromPT(10.0, 1500.0))),

    // (p, h) and (p, s), polished on the basic equations.
    OP("IF97/StateFromPH/region1", SinkState(StateFromPH(10.0, 500.0))),
    OP("IF97/StateFromPH/region2", SinkState(StateFromPH(1.0, 3000.0))),
    OP("IF97/StateFromPH/region1-2-worst", SinkState(StateFromPH(99.899583285428292, 3300.5177))),
    OP("IF97/StateFromPH/wet", SinkState(StateFromPH(1.0, 2000.0))),
    OP("IF97/StateFromPH/region3", SinkState(StateFromPH(25.0, 2000.0))),
    OP("IF97/StateFromPH/region3-wet", SinkState(StateFromPH(20.0, 2000.0))),
    OP("IF97/StateFromPH/region3-worst", SinkState(StateFromPH(22.062733285423722, 2335.66))),
    OP("IF97/StateFromPH/region5", SinkState(StateFromPH(10.0, 5000.0))),
    OP("IF97/StateFromPS/region1", SinkState(StateFromPS(10.0, 1.5))),
    OP("IF97/StateFromPS/region2", SinkState(StateFromPS(1.0, 7.0))),
    OP("IF97/StateFromPS/region1-2-worst", SinkState(StateFromPS(99.899583285428292, 5.98996))),
    OP("IF97/StateFromPS/wet", SinkState(StateFromPS(1.0, 5.0))),
    OP("IF97/StateFromPS/region3", SinkState(StateFromPS(25.0, 4.2))),
    OP("IF97/StateFromPS/region3-worst", SinkState(StateFromPS(22.062733285423722, 3.74752))),

    // Every root along an isotherm.
    OP("IF97/StatesFromTH/100C-two-roots", SinkStates(StatesFromTH(100.0, 420.0))),
    OP("IF97/StatesFromTH/300C-steam", SinkStates(StatesFromTH(300.0, 2900.0))),
    OP("IF97/StatesFromTH/360C-region3", SinkStates(StatesFromTH(360.0, 1700.0))),
    OP("IF97/StatesFromTH/400C-region3", SinkStates(StatesFromTH(400.0, 2000.0))),
    OP("IF97/StatesFromTH/worst", SinkStates(StatesFromTH(336.809, 1493.5163997595316))),
    OP("IF97/StatesFromTS/100C-liquid", SinkStates(StatesFromTS(100.0, 1.2))),
    OP("IF97/StatesFromTS/2C-three-roots", SinkStates(StatesFromTS(2.0, 0.030684))),
    OP("IF97/StatesFromTS/400C-region3", SinkStates(StatesFromTS(400.0, 4.5))),
    OP("IF97/StatesFromTS/worst", SinkStates(StatesFromTS(0.737, 0.011630720491903538))),

    OP("IF97/IsentropicEnd/10-0.1MPa", SinkState(IsentropicEnd(10.0, 500.0, 0.1))),
};
#undef OP
const Registrar kRegistrar(kIf97Ops, int(sizeof kIf97Ops / sizeof kIf97Ops[0]));
}  // namespace
}  // namespace kelm_ops
