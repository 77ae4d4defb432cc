// Inverse solvers: a state given by (p, s), (p, h), (t, s) or (t, h).
#pragma once

#include "engine/search.h"

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
// wet solution and slot 2 the compressed-water one. Failure: both slots (10, 10, 10, 1,
// SC_UNKNOWN), returns 0 with CalcStatus non-zero. 0 with CalcStatus 0: no such state.
int SolvePFromTH(double t, double h, double& p1, double& v1, double& s1, double& x1, int& state1,
                 double& p2, double& v2, double& s2, double& x2, int& state2,
                 SearchInfo* info = nullptr);
