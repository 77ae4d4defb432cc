// IFC-67 subregion 1: compressed and saturated water, 0.01…350 °C.
#pragma once

// Reduced χ (PK_V), σ (PK_S) or ε (PK_H) at t °C, p MPa; 0 for any other kind.
// A pure formula: checks nothing, never touches CalcStatus.
double Region1Reduced(double t, double p, int kind);
