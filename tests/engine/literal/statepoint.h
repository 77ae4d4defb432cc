// Frozen reference copy of engine/statepoint.h, taken before any optimisation.
// The bit-identity test holds the engine to this literal arithmetic: never edit it.
// Properties at any state point (t, p) and its classification.
#pragma once

namespace literal {

// v m³/kg (PK_V), s kJ/(kg·K) (PK_S) or h kJ/kg (PK_H) at t °C, p MPa; `state` receives the
// StateCode. State range; outside it returns 10, state SC_UNKNOWN, with the temperature flag
// assigned and the pressure flags OR-ed on. A point on the saturation line is saturated steam.
// An inner search that cannot end returns 10, state SC_UNKNOWN, CS_NO_CONVERGENCE.
// Assigns CalcStatus.
double PointProp(double t, double p, int kind, int& state);

}  // namespace literal
