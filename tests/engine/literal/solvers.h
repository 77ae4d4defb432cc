// Frozen reference copy of engine/solvers.h, taken before any optimisation.
// The bit-identity test holds the engine to this literal arithmetic: never edit it.
// Inverse solvers: a state given by (p, s), (p, h), (t, s) or (t, h).
#pragma once

#include "tests/engine/literal/search.h"

namespace literal {

// Each solver decides from saturation-line values whether the state is wet (answered directly)
// and otherwise runs a step search on the state-point function. A search that can no longer end
// by itself (its trials trapped outside the state range, a trial that cannot move, or the round
// cap) is finished on the branch's own interval by bisection, or by its best point when the
// near-critical volume searches leave it just short of the stop test; failing both the solver
// returns its sentinels with CS_NO_CONVERGENCE. `info`, when given: evaluations of the searched
// property from the start value on, converged = ended by the search's own stop test (or needed
// no search), bestPoint = ended by the best-point rule.
//
// A wet answer whose dryness fraction the mixture function refuses (beyond −0.00001 or
// 1.000001, or a temperature within 0.0001 °C of the critical one) keeps that function's flag
// and its sentinel volume.

// Temperature t °C of pressure p MPa and entropy s kJ/(kg·K); v m³/kg, h kJ/kg and the dryness x
// (0 water, the fraction when wet, 1 steam, −1 supercritical) of that state. Returns its
// StateCode. Failure: t = v = h = 10, x = 1, SC_UNKNOWN, CalcStatus non-zero.
int SolveTFromPS(double p, double s, double& t, double& v, double& h, double& x,
                 SearchInfo* info = nullptr);
// Same for pressure and enthalpy; s is returned.
int SolveTFromPH(double p, double h, double& t, double& v, double& s, double& x,
                 SearchInfo* info = nullptr);

// Pressure p MPa of temperature t °C and entropy s; v, h, x and the StateCode as above.
int SolvePFromTS(double t, double s, double& p, double& v, double& h, double& x,
                 SearchInfo* info = nullptr);

// Pressure of temperature t °C and enthalpy h kJ/kg: up to two solutions. Each slot is pressure,
// volume, entropy, dryness and StateCode. Returns the count 0, 1 or 2; with two, slot 1 holds the
// wet solution and slot 2 the compressed-water one (were the steam and water conditions both to
// hold without a wet solution, steam would take slot 1). Failure: both slots (10, 10, 10, 1,
// SC_UNKNOWN), returns 0 with CalcStatus non-zero. 0 with CalcStatus 0: no such state; the slots
// are left as they were.
int SolvePFromTH(double t, double h, double& p1, double& v1, double& s1, double& x1, int& state1,
                 double& p2, double& v2, double& s2, double& x2, int& state2,
                 SearchInfo* info = nullptr);

}  // namespace literal
