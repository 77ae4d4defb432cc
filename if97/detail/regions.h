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
  // (∂p/∂ρ)_T, MPa·m³/kg, and (∂p/∂T)_ρ, MPa/K: finite at the critical point, where dvdp is not.
  double dpdrho;
  double dpdT;
};

// Reduced Gibbs energy γ = g/(RT) and its derivatives in π = p/p* and τ = T*/T.
struct Gibbs {
  double g, g_p, g_pp, g_t, g_tt, g_pt;
};
// Reduced Helmholtz energy φ = f/(RT) and its derivatives in δ = ρ/ρc and τ = Tc/T.
struct Helmholtz {
  double f, f_d, f_dd, f_t, f_tt, f_dt;
};

// Floor of ρ/(RT)·(∂p/∂ρ)_T = 2δφ_δ + δ²φ_δδ at the critical point, where the equation leaves it
// at ±2e-12 instead of 0 (its coefficients meet the critical conditions to 14 digits). Values
// down to −kCriticalSlopeFloor count as that zero, not as an unstable state; they occur only
// within 5e-8 K of Tc.
inline constexpr double kCriticalSlopeFloor = 1e-10;

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

// Region 3 pressure p MPa and its slope (∂p/∂ρ)_T, MPa·m³/kg, for the density iterations.
struct PressureSlope {
  double p, dpdrho;
};

// Region 3 along one isotherm: φ's terms gathered by powers of δ once (the τ^J sums for each
// I), so that each density costs a polynomial of degree 11 in δ instead of 39 terms.
class Region3Isotherm {
 public:
  explicit Region3Isotherm(double T);
  PressureSlope Pressure(double rho) const;
  Helmholtz Phi(double rho) const;
  Props At(double rho) const;
  double T() const { return T_; }

  static constexpr int kPowers = 12;  // I = 0…11

 private:
  double T_;
  double A_[kPowers], B_[kPowers], C_[kPowers];  // Σ n·τ^J, Σ n·J·τ^J, Σ n·J(J−1)·τ^J by I
};

// Region 3 at density ρ kg/m³ and T K.
Props Region3(double rho, double T);
inline PressureSlope Region3Pressure(double rho, double T) {
  return Region3Isotherm(T).Pressure(rho);
}

}  // namespace if97::detail
