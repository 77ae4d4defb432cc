// The saturation line (region 4) and the boundary lines between regions and subregions.
// Bare equations in K, MPa, kJ/kg, kJ/(kg·K); no range check.
#pragma once

namespace if97::detail {

// Saturation pressure ps MPa at T K, Eq. 30, at most pc; meaningful for 273.15 K ≤ T ≤ 647.096 K.
double SatPressureK(double T);
// Saturation temperature Ts K at p MPa, Eq. 31; meaningful for ps(273.15 K) ≤ p ≤ 22.064 MPa.
double SatTemperatureK(double p);

// The 2–3 boundary: p MPa at T K (Eq. 5) and T K at p MPa (Eq. 6); 623.15…863.15 K.
double B23Pressure(double T);
double B23Temperature(double p);

// Boundary of subregions 2b and 2c for T(p, h): p MPa at h kJ/kg (Eq. 20), h at p (Eq. 21).
double B2bcPressure(double h);
double B2bcEnthalpy(double p);

// Boundary of subregions 3a and 3b for (p, h) input: h kJ/kg at p MPa (SR3-03 Eq. 1).
double B3abEnthalpy(double p);

// Boundary of subregions 2a and 2b for (h, s) input: h kJ/kg at s kJ/(kg·K) (SR2-01 Eq. 2).
double B2abEnthalpy(double s);

}  // namespace if97::detail
