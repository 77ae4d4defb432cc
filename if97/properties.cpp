#include <algorithm>
#include <cmath>

#include "if97/detail/constants.h"
#include "if97/detail/regions.h"

namespace if97::detail {

// Units: R·T in kJ/kg; p·v in MPa·m³/kg = 1000 kJ/kg; w² in m²/s² = 1000·(kJ/kg).
Props PropsFromGibbs(double p, double T, double pstar, double tau, const Gibbs& g) {
  const double RT = R * T;
  Props r;
  r.p = p;
  r.T = T;
  r.v = 1e-3 * RT * g.g_p / pstar;
  r.h = RT * tau * g.g_t;
  r.s = R * (tau * g.g_t - g.g);
  r.u = r.h - 1e3 * p * r.v;
  r.cp = -R * tau * tau * g.g_tt;
  const double a = g.g_p - tau * g.g_pt;  // γ_π − τ·γ_πτ
  r.cv = r.cp + R * a * a / g.g_pp;
  const double w2 = 1e3 * RT * g.g_p * g.g_p / (a * a / (tau * tau * g.g_tt) - g.g_pp);
  r.w = w2 > 0 ? std::sqrt(w2) : 0.0;
  r.dvdT = 1e-3 * R * a / pstar;
  r.dvdp = 1e-3 * RT * g.g_pp / (pstar * pstar);
  r.dpdrho = -r.v * r.v / r.dvdp;
  r.dpdT = -r.dvdT / r.dvdp;
  return r;
}

Props PropsFromHelmholtz(double rho, double T, const Helmholtz& f) {
  const double RT = R * T;
  const double delta = rho / rhoc;
  const double tau = Tc / T;
  const double dfd = delta * f.f_d;                   // δ·φ_δ
  const double b = dfd - delta * tau * f.f_dt;        // δφ_δ − δτφ_δτ
  const double c = 2 * dfd + delta * delta * f.f_dd;  // 2δφ_δ + δ²φ_δδ, ρ/(RT)·(∂p/∂ρ)_T
  Props r;
  r.p = 1e-3 * rho * RT * dfd;
  r.T = T;
  r.v = 1.0 / rho;
  r.u = RT * tau * f.f_t;
  r.h = r.u + RT * dfd;
  r.s = R * (tau * f.f_t - f.f);
  r.cv = -R * tau * tau * f.f_tt;
  // At the critical point c is 0 and cp infinite; the floor keeps cp, and the slopes of v
  // below, positive and finite there (cp ≈ 2e10 kJ/(kg·K)).
  const double cFloored = std::max(c, kCriticalSlopeFloor);
  r.cp = r.cv + R * b * b / cFloored;
  const double w2 = 1e3 * RT * (c - b * b / (tau * tau * f.f_tt));
  r.w = w2 > 0 ? std::sqrt(w2) : 0.0;
  r.dpdrho = 1e-3 * RT * c;
  r.dpdT = 1e-3 * rho * R * b;
  const double dpdrhoFloored = 1e-3 * RT * cFloored;
  r.dvdp = -1.0 / (rho * rho * dpdrhoFloored);
  r.dvdT = r.dpdT / (rho * rho * dpdrhoFloored);
  return r;
}

}  // namespace if97::detail
