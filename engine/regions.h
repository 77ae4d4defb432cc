// Region selection: which IFC-67 subregion equation serves a state point (t, p).
#pragma once

enum RegionCode : int {
  RC_SUB1 = 1,  // compressed water, 0.01…350 °C
  RC_SUB2 = 2,  // steam below the saturation line / the L-line, and everything from 590 °C
  RC_SUB3 = 3,  // near-critical, between the L-line and the saturation line or above the L-line
  RC_SUB4 = 4,  // compressed water, 350…374.15 °C
  RC_SAT_UPPER = 5,  // on the saturation line, 350…374.15 °C
  RC_SAT_LOWER = 6,  // on the saturation line, 0.01…350 °C
};

// Reduced pressure βL of the boundary between subregions 2 and 3 (the L-function) at t °C.
// No range check; leaves CalcStatus alone.
double BoundaryL(double t);

// Subregion of (t °C, p MPa). State range 0.01…800 °C, 0.0007…100 MPa: outside it returns 1 with
// the temperature flag assigned and the pressure flags OR-ed on. Assigns CalcStatus.
int FindRegion(double t, double p);
