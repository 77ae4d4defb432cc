// Frozen reference copy of engine/region3.h, taken before any optimisation.
// The bit-identity test holds the engine to this literal arithmetic: never edit it.
// IFC-67 subregion 3: the near-critical region, a Helmholtz function of (χ, θ).
#pragma once

#include "tests/engine/literal/search.h"

namespace literal {

// Reduced β (PK_P), σ (PK_S) or ε (PK_H) at t °C and specific volume v m³/kg; 0 for any other
// kind. Pure; never touches CalcStatus.
double Region3Reduced(double t, double v, int kind);

// Reduced χ (PK_V), σ (PK_S) or ε (PK_H) at t °C, p MPa, after a step search for the volume at
// which β = p/pc. Never touches CalcStatus: a search that reaches its round cap reports it through
// `info` (converged = false) and returns 0.
double Region3Props(double t, double p, int kind, SearchInfo* info = nullptr);

}  // namespace literal
