// The backward equations: T, v or p from other pairs, each valid in its (sub)region only and
// within its published consistency with the basic equations (tens of mK, 0.01 % in v). The
// solvers take them as start values and polish on the basic equations. K, MPa, kJ/kg,
// kJ/(kg·K), m³/kg; no range check.
#pragma once

namespace if97::detail {

// Region 1: T(p, h) (Eq. 11), T(p, s) (Eq. 13), p(h, s) (SR2-01 Eq. 1).
double Region1TFromPH(double p, double h);
double Region1TFromPS(double p, double s);
double Region1PFromHS(double h, double s);

// Region 2: T(p, h) by subregion, 2a for p ≤ 4 MPa, else 2b up to 6.546699678 MPa and where
// h ≥ h_2bc(p), and 2c below (Eqs. 22–24); T(p, s), 2a for p ≤ 4 MPa, else 2b where s ≥ 5.85 and
// 2c below (Eqs. 25–27).
double Region2TFromPH(double p, double h);
double Region2TFromPS(double p, double s);
// The subregion equations themselves, for the check values.
double Region2aTFromPH(double p, double h);
double Region2bTFromPH(double p, double h);
double Region2cTFromPH(double p, double h);
double Region2aTFromPS(double p, double s);
double Region2bTFromPS(double p, double s);
double Region2cTFromPS(double p, double s);
// p(h, s) of subregions 2a, 2b, 2c (SR2-01 Eqs. 3–5).
double Region2aPFromHS(double h, double s);
double Region2bPFromHS(double h, double s);
double Region2cPFromHS(double h, double s);

// Region 3 (SR3-03): T and v from (p, h), 3a where h ≤ h_3ab(p) (Eqs. 2–5), and from (p, s),
// 3a where s ≤ s_c (Eqs. 6–9).
struct TV {
  double T, v;
};
TV Region3TVFromPH(double p, double h);
TV Region3TVFromPS(double p, double s);
double Region3aTFromPH(double p, double h);
double Region3bTFromPH(double p, double h);
double Region3aVFromPH(double p, double h);
double Region3bVFromPH(double p, double h);
double Region3aTFromPS(double p, double s);
double Region3bTFromPS(double p, double s);
double Region3aVFromPS(double p, double s);
double Region3bVFromPS(double p, double s);
// Saturation pressure MPa of the region 3 part of the line from h (Eq. 10) and from s (Eq. 11).
double Region3SatPFromH(double h);
double Region3SatPFromS(double s);

// Critical entropy kJ/(kg·K), the 3a–3b boundary for (p, s) input (SR3-03).
inline constexpr double sc = 4.41202148223476;
// Entropy kJ/(kg·K) that divides subregions 2b and 2c for (p, s) and (h, s) input.
inline constexpr double s2bc = 5.85;

}  // namespace if97::detail
