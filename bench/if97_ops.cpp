// The IF97 engine's operations, one call each, for the instruction counter and the timings. The
// IF97 engine remembers nothing between calls, so every call is a cold one.
#include "bench/ops.h"
#include "if97/if97.h"

namespace kelm_ops {
namespace {
using namespace if97;

void SinkState(const State& s) { Sink(s.h + s.s + s.v + s.cp + s.w + s.kappa); }
void SinkStates(const States& r) { Sink(r.count > 0 ? r.root[r.count - 1].p : r.limit); }

#define OP(NAME, ...) {NAME, [](int) { __VA_ARGS__; }, 0},
const Op kIf97Ops[] = {
    // The saturation line itself.
    OP("IF97/SatPressure/100C", Sink(SatPressure(100.0)))
        OP("IF97/SatTemperature/1MPa", Sink(SatTemperature(1.0)))
            OP("IF97/SaturationByP/1MPa",
               {
                 const Saturation s = SaturationByP(1.0);
                 Sink(s.liquid.h + s.vapour.h);
               }) OP("IF97/SaturationByT/360C",
                     {
                       const Saturation s = SaturationByT(360.0);
                       Sink(s.liquid.h + s.vapour.h);
                     })

    // All properties at (p, t), one row per region; region 3 on each side of the line, above
    // the critical temperature and at the worst point found by scanning.
    OP("IF97/StateFromPT/region1", SinkState(StateFromPT(10.0, 100.0)))
        OP("IF97/StateFromPT/region2", SinkState(StateFromPT(1.0, 300.0)))
            OP("IF97/StateFromPT/region3-liquid", SinkState(StateFromPT(25.0, 360.0)))
                OP("IF97/StateFromPT/region3-vapour", SinkState(StateFromPT(20.0, 370.0)))
                    OP("IF97/StateFromPT/region3-super", SinkState(StateFromPT(30.0, 420.0)))
                        OP("IF97/StateFromPT/region3-nearcrit", SinkState(StateFromPT(22.1, 374.0)))
                            OP("IF97/StateFromPT/region3-worst",
                               SinkState(StateFromPT(22.079173285423739, 373.9738000000155)))
                                OP("IF97/StateFromPT/region5", SinkState(StateFromPT(10.0, 1500.0)))

    // (p, h) and (p, s) with the polish.
    OP("IF97/StateFromPH/region1", SinkState(StateFromPH(10.0, 500.0)))
        OP("IF97/StateFromPH/region2", SinkState(StateFromPH(1.0, 3000.0)))
            OP("IF97/StateFromPH/wet", SinkState(StateFromPH(1.0, 2000.0))) OP(
                "IF97/StateFromPH/region3", SinkState(StateFromPH(25.0, 2000.0)))
                OP("IF97/StateFromPH/region3-wet", SinkState(StateFromPH(20.0, 2000.0))) OP(
                    "IF97/StateFromPH/region3-worst",
                    SinkState(StateFromPH(22.062733285423722, 2129.885058184263)))
                    OP("IF97/StateFromPH/region5", SinkState(StateFromPH(10.0, 5000.0)))
                        OP("IF97/StateFromPS/region1", SinkState(StateFromPS(10.0, 1.5))) OP(
                            "IF97/StateFromPS/region2", SinkState(StateFromPS(1.0, 7.0)))
                            OP("IF97/StateFromPS/wet", SinkState(StateFromPS(1.0, 5.0))) OP(
                                "IF97/StateFromPS/region3", SinkState(StateFromPS(25.0, 4.2)))
                                OP("IF97/StateFromPS/region3-worst",
                                   SinkState(StateFromPS(22.06136328542372, 4.4605813255051734)))

    // Every root along an isotherm.
    OP("IF97/StatesFromTH/100C-two-roots", SinkStates(StatesFromTH(100.0, 420.0)))
        OP("IF97/StatesFromTH/300C-steam", SinkStates(StatesFromTH(300.0, 2900.0)))
            OP("IF97/StatesFromTH/360C-region3", SinkStates(StatesFromTH(360.0, 1700.0)))
                OP("IF97/StatesFromTH/400C-region3", SinkStates(StatesFromTH(400.0, 2000.0))) OP(
                    "IF97/StatesFromTH/worst",
                    SinkStates(StatesFromTH(377.69459000002473, 1895.3394005090959)))
                    OP("IF97/StatesFromTS/100C-liquid", SinkStates(StatesFromTS(100.0, 1.2)))
                        OP("IF97/StatesFromTS/400C-region3", SinkStates(StatesFromTS(400.0, 4.5)))

                            OP("IF97/StatesFromTS/worst",
                               SinkStates(StatesFromTS(381.437310000026, 4.2100051720676248)))

                                OP("IF97/IsentropicEnd/10-0.1MPa",
                                   SinkState(IsentropicEnd(10.0, 500.0, 0.1)))};
#undef OP
const Registrar kRegistrar(kIf97Ops, int(sizeof kIf97Ops / sizeof kIf97Ops[0]));
}  // namespace
}  // namespace kelm_ops
