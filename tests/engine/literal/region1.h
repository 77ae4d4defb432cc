// Frozen reference copy of engine/region1.h, taken before any optimisation.
// The bit-identity test holds the engine to this literal arithmetic: never edit it.
// IFC-67 subregion 1: compressed and saturated water, 0.01…350 °C.
#pragma once

namespace literal {

// Reduced χ (PK_V), σ (PK_S) or ε (PK_H) at t °C, p MPa; 0 for any other kind.
// A pure formula: checks nothing, never touches CalcStatus.
double Region1Reduced(double t, double p, int kind);

}  // namespace literal
