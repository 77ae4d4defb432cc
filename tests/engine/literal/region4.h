// Frozen reference copy of engine/region4.h, taken before any optimisation.
// The bit-identity test holds the engine to this literal arithmetic: never edit it.
// IFC-67 subregion 4: compressed water, 350…374.15 °C: the subregion 3 function plus a
// correction in χ and y = (1 − θ)·K.
#pragma once

#include "tests/engine/literal/search.h"

namespace literal {

// Reduced β (PK_P), σ (PK_S) or ε (PK_H) at t °C and v m³/kg; 0 for any other kind. Pure.
double Region4Reduced(double t, double v, int kind);

// Reduced χ (PK_V), σ (PK_S) or ε (PK_H) at t °C, p MPa, after a step search for the volume.
// Never touches CalcStatus: a search that reaches its round cap reports it through `info`
// (converged = false) and returns 0.
double Region4Props(double t, double p, int kind, SearchInfo* info = nullptr);

}  // namespace literal
