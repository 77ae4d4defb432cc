// The basic equations: Gibbs free energy g(p, T) of regions 1, 2 and 5, Helmholtz free energy
// f(ρ, T) of region 3, and the properties of one phase that follow from them. Each function is
// the bare equation: no range check, valid only inside its region (the solvers make sure of it).
#pragma once

namespace if97::detail {

// One phase in engineering units, with the slopes of v that the inverse solvers need.
struct Props {
  double p;     // MPa
  double T;     // K
  double v;     // m³/kg
  double h;     // kJ/kg
  double s;     // kJ/(kg·K)
  double u;     // kJ/kg
  double cp;    // kJ/(kg·K)
  double cv;    // kJ/(kg·K)
  double w;     // m/s; 0 where the equation gives no real speed (outside its region)
  double dvdT;  // (∂v/∂T)_p, m³/(kg·K)
  double dvdp;  // (∂v/∂p)_T, m³/(kg·MPa)
};

// Reduced Gibbs energy γ = g/(RT) and its derivatives in π = p/p* and τ = T*/T.
struct Gibbs {
  double g, g_p, g_pp, g_t, g_tt, g_pt;
};
// Reduced Helmholtz energy φ = f/(RT) and its derivatives in δ = ρ/ρc and τ = Tc/T.
struct Helmholtz {
  double f, f_d, f_dd, f_t, f_tt, f_dt;
};

// Properties at p MPa, T K from γ at π = p/pstar and τ.
Props PropsFromGibbs(double p, double T, double pstar, double tau, const Gibbs& g);
// Properties at ρ kg/m³, T K from φ.
Props PropsFromHelmholtz(double rho, double T, const Helmholtz& f);

// Region 1, compressed water: p MPa, T K.
Gibbs Region1Gibbs(double p, double T);
Props Region1(double p, double T);
// Region 2, steam up to 1073.15 K.
Gibbs Region2Gibbs(double p, double T);
Props Region2(double p, double T);
// Region 5, steam 1073.15…2273.15 K up to 50 MPa.
Gibbs Region5Gibbs(double p, double T);
Props Region5(double p, double T);

// Region 3 at density ρ kg/m³ and T K.
Helmholtz Region3Helmholtz(double rho, double T);
Props Region3(double rho, double T);
// Region 3 pressure p MPa and its slope (∂p/∂ρ)_T, MPa·m³/kg, for the density iterations.
struct PressureSlope {
  double p, dpdrho;
};
PressureSlope Region3Pressure(double rho, double T);

}  // namespace if97::detail
