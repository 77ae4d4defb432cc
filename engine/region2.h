// IFC-67 subregion 2: superheated steam.
#pragma once

// Reduced χ (PK_V), σ (PK_S) or ε (PK_H) at t °C, p MPa; 0 for any other kind.
// A pure formula: checks nothing, never touches CalcStatus.
double Region2Reduced(double t, double p, int kind);
