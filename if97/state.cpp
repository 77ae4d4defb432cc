#include "if97/detail/state.h"

#include <cmath>

#include "if97/detail/constants.h"
#include "if97/detail/lines.h"

namespace if97::detail {

Phase SinglePhase(double p, double T, int region, Branch branch) {
  if (p >= pc) return T >= Tc ? Phase::Supercritical : Phase::Liquid;
  if (region == 1 || (region == 3 && branch == Branch::Liquid)) return Phase::Liquid;
  return Phase::Vapour;
}

Branch Region3Branch(double p, double T) {
  if (T >= Tc) return Branch::Single;
  return p >= pc || p >= SatPressureK(T) ? Branch::Liquid : Branch::Vapour;
}

State Failed(Failure failure, double limit) {
  State s{};
  s.x = -1;
  s.phase = Phase::Unknown;
  s.failure = failure;
  s.limit = limit;
  return s;
}

// The last line of defence of "never a non-finite number in a valid result": a state the
// equations cannot give a finite value for is reported, not returned.
static State Checked(const State& s) {
  const double all[] = {s.p, s.t, s.v, s.rho, s.h, s.s, s.u, s.cp, s.cv, s.w, s.kappa, s.x};
  for (double d : all)
    if (!std::isfinite(d)) return Failed(Failure::NoConvergence, 0);
  return s;
}

State FromProps(const Props& pr, int region, Phase phase) {
  State s{};
  s.p = pr.p;
  s.t = pr.T - T0;
  s.v = pr.v;
  s.rho = 1.0 / pr.v;
  s.h = pr.h;
  s.s = pr.s;
  s.u = pr.u;
  s.cp = pr.cp;
  s.cv = pr.cv;
  s.w = pr.w;
  s.kappa = pr.w * pr.w / (1e6 * pr.p * pr.v);  // ρw²/p with p in Pa
  s.x = -1;
  s.phase = phase;
  s.region = region;
  s.failure = Failure::None;
  s.limit = 0;
  return Checked(s);
}

State Saturated(const Props& pr, double x) {
  State s = FromProps(pr, 4, Phase::TwoPhase);
  if (s.failure == Failure::None) s.x = x;
  return s;
}

// v, h, s and u mix linearly in x; p and T are the liquid's (the same line point). At x = 0
// or 1 the state is the saturated phase itself, with its cp, cv, w and κ.
State Wet(const Props& liquid, const Props& vapour, double x) {
  if (x <= 0) return Saturated(liquid, 0.0);
  if (x >= 1) return Saturated(vapour, 1.0);
  State s{};
  s.p = liquid.p;
  s.t = liquid.T - T0;
  s.v = liquid.v + x * (vapour.v - liquid.v);
  s.rho = 1.0 / s.v;
  s.h = liquid.h + x * (vapour.h - liquid.h);
  s.s = liquid.s + x * (vapour.s - liquid.s);
  s.u = liquid.u + x * (vapour.u - liquid.u);
  s.x = x;
  s.phase = Phase::TwoPhase;
  s.region = 4;
  s.failure = Failure::None;
  return Checked(s);
}

Region3At Region3AtPT(const Region3Isotherm& isotherm, double p, Branch branch, double start) {
  const Density d = Region3Density(isotherm, p, branch, start);
  Props pr = isotherm.At(d.rho);
  pr.p = p;  // the given pressure; the density meets it to 1e-13 (see Region3Density)
  return {pr, d};
}

Failure DensityFailure(const Density& d, double T, double* limit) {
  *limit = 0;
  if (d.found) return Failure::None;
  if (d.capped) return Failure::NoConvergence;
  *limit = Region3Pressure(d.rho, T).p;
  return Failure::NearCritical;
}

PhaseAt PropsAtPT(double p, double T) {
  if (T <= T13) {
    if (p >= SatPressureK(T)) return {Region1(p, T), 1, Branch::Liquid, Failure::None, 0};
    return {Region2(p, T), 2, Branch::Vapour, Failure::None, 0};
  }
  if (T <= TB23max && p >= B23Pressure(T)) {
    const Branch branch = Region3Branch(p, T);
    const Region3At r = Region3AtPT(p, T, branch);
    double limit;
    const Failure failure = DensityFailure(r.density, T, &limit);
    return {r.props, 3, branch, failure, limit};
  }
  if (T <= T25) return {Region2(p, T), 2, Branch::Vapour, Failure::None, 0};
  return {Region5(p, T), 5, Branch::Vapour, Failure::None, 0};
}

Check CheckPressure(double p) {
  if (!std::isfinite(p)) return {Failure::NotFinite, 0};
  if (p < pmin) return {Failure::PressureLow, pmin};
  if (p > pmax) return {Failure::PressureHigh, pmax};
  return {Failure::None, 0};
}

Check CheckTemperature(double t) {
  if (!std::isfinite(t)) return {Failure::NotFinite, 0};
  if (t < 0) return {Failure::TemperatureLow, 0};
  if (t > tMax5) return {Failure::TemperatureHigh, tMax5};
  return {Failure::None, 0};
}

Check CheckPT(double p, double t) {
  // NaN in either argument is reported before any range.
  if (!std::isfinite(p) || !std::isfinite(t)) return {Failure::NotFinite, 0};
  const Check ct = CheckTemperature(t);
  if (ct.failure != Failure::None) return ct;
  const Check cp = CheckPressure(p);
  if (cp.failure != Failure::None) return cp;
  // In K, as the region selection decides: the ulp above 800 °C is still 1073.15 K.
  if (t + T0 > T25 && p > pmax5) return {Failure::PressureHigh, pmax5};
  return {Failure::None, 0};
}

}  // namespace if97::detail
