// Frozen reference copy of engine/region2.h, taken before any optimisation.
// The bit-identity test holds the engine to this literal arithmetic: never edit it.
// IFC-67 subregion 2: superheated steam.
#pragma once

namespace literal {

// Reduced χ (PK_V), σ (PK_S) or ε (PK_H) at t °C, p MPa; 0 for any other kind.
// A pure formula: checks nothing, never touches CalcStatus.
double Region2Reduced(double t, double p, int kind);

}  // namespace literal
