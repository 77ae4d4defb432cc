// States from (p, h) and (p, s): the backward equations give the start, Newton on the basic
// equations the temperature, inside the region's own temperature interval at p. A solve that
// ends inside its interval has found the region too, since h and s rise with T at constant p;
// one that ends at an end hands the value there to the next region.
#include <algorithm>
#include <cmath>

#include "if97/detail/backward.h"
#include "if97/detail/constants.h"
#include "if97/detail/lines.h"
#include "if97/detail/solve.h"
#include "if97/detail/state.h"
#include "if97/if97.h"

namespace if97 {
namespace detail {
namespace {

Sample SampleOf(const Props& pr, Kind kind) {
  return {pr, ValueOf(pr, kind), IsobarSlope(pr, kind)};
}

double BackwardT1(double p, double target, Kind kind) {
  return kind == Kind::H ? Region1TFromPH(p, target) : Region1TFromPS(p, target);
}
// Below the triple-point pressure the region 2 backward equations drift (233 K at 1 Pa): there
// they are taken at psMin, where steam is an ideal gas as well, with s moved by R·ln(psMin/p)
// (h of an ideal gas does not depend on p).
double BackwardT2(double p, double target, Kind kind) {
  if (p < psMin) {
    return kind == Kind::H ? Region2TFromPH(psMin, target)
                           : Region2TFromPS(psMin, target - R * std::log(psMin / p));
  }
  return kind == Kind::H ? Region2TFromPH(p, target) : Region2TFromPS(p, target);
}
// Newton's first step from an end whose sample is known, to start the solve beside it.
double StepFrom(const Sample& end, double target) {
  return end.props.T + (target - end.value) / end.slope;
}

State SolvedState(const Solved& r, int region, Branch branch) {
  const Props& pr = r.at.props;
  return FromProps(pr, region, SinglePhase(pr.p, pr.T, region, branch));
}

// Region 1 on [Tmin, Thigh]; `above` receives the value's sample at Thigh when the target lies
// beyond it, and the function returns no state then (failure None, region 0).
State SolveRegion1(double p, double target, Kind kind, double Thigh, double start, Sample* above) {
  const auto eval = [&](double T) { return SampleOf(Region1(p, T), kind); };
  const Solved r = SolveMonotone(eval, target, Tmin, Thigh, start, true);
  switch (r.outcome) {
    case Outcome::Found: return SolvedState(r, 1, Branch::Liquid);
    case Outcome::Below: return Failed(LowFailure(kind), ValueOf(r.at.props, kind));
    case Outcome::Above: *above = r.at; return State{};
    case Outcome::NoConvergence: break;
  }
  return Failed(Failure::NoConvergence, 0);
}

// Region 5 from T25 up, where region 2 ended below the target with `at25`.
State SolveRegion5(double p, double target, Kind kind, const Sample& at25) {
  if (p > pmax5) return Failed(HighFailure(kind), at25.value);
  const auto eval = [&](double T) { return SampleOf(Region5(p, T), kind); };
  const Solved r = SolveMonotone(eval, target, T25, Tmax5, StepFrom(at25, target), true);
  switch (r.outcome) {
    case Outcome::Found: return SolvedState(r, 5, Branch::Vapour);
    case Outcome::Above: return Failed(HighFailure(kind), r.at.value);
    case Outcome::Below: return Failed(Failure::NoSolution, 0);  // in the 2–5 step at T25
    case Outcome::NoConvergence: break;
  }
  return Failed(Failure::NoConvergence, 0);
}

// Region 2 on [Tlow, T25] from `start`, then region 5; `below` receives the sample at Tlow when
// the target lies under it (no state returned then).
State SolveRegion2(double p, double target, Kind kind, double Tlow, double start, Sample* below) {
  const auto eval = [&](double T) { return SampleOf(Region2(p, T), kind); };
  const Solved r = SolveMonotone(eval, target, Tlow, T25, start, true);
  switch (r.outcome) {
    case Outcome::Found: return SolvedState(r, 2, Branch::Vapour);
    case Outcome::Above: return SolveRegion5(p, target, kind, r.at);
    case Outcome::Below: *below = r.at; return State{};
    case Outcome::NoConvergence: break;
  }
  return Failed(Failure::NoConvergence, 0);
}

// Region 3 by Newton in (ρ, T) on p(ρ, T) = p and h or s = target. This pair stays
// well-conditioned at the critical point (the Jacobian's determinant is ρ-weighted cp·(∂p/∂ρ)_T
// plus 1000·T·(∂p/∂T)_ρ²/ρ² > 0), where T alone is not: there one ulp of T moves h by 1e-5 kJ/kg.
// A step past an end of [Tlo, Thi] is clamped to it: near the critical point the ends come from
// densities solved at (p, T), which fix h only to 1e-7 kJ/kg, so the root may sit at an end.
// False when the iteration keeps pressing on an end, leaves the branch or the stable states, or
// kNewton2Cap steps do not settle; the nested solve below then takes over.
constexpr int kNewton2Cap = 30;
bool Region3Newton(double p, double target, Kind kind, double Tlo, double Thi, Branch forced,
                   bool useForced, double T, double rho, Props* out) {
  const double tol = kStopTol * ValueScale(target), accept = kAcceptTol * ValueScale(target);
  int clamped = 0;
  for (int k = 0; k < kNewton2Cap; ++k) {
    const Props pr = Region3(rho, T);
    const double F1 = pr.p - p, F2 = ValueOf(pr, kind) - target;
    // p to 1e-12: in dense water p is a small difference of large terms, rounded to 5e-13.
    const bool settled = std::fabs(F1) <= 1e-12 * p && std::fabs(F2) <= tol;
    const bool last = k == kNewton2Cap - 1;
    if (settled || (last && std::fabs(F1) <= 1e-12 * p && std::fabs(F2) <= accept)) {
      const Branch branch = useForced ? forced : Region3Branch(p, T);
      const bool onBranch = branch == Branch::Single || (branch == Branch::Liquid) == (rho > rhoc);
      const bool stable = pr.dpdrho > -1e-3 * R * T * kCriticalSlopeFloor;
      if (!stable || !onBranch) return false;
      *out = pr;
      out->p = p;
      return true;
    }
    const double a = pr.dpdrho, b = pr.dpdT;
    const double c = DensitySlope(pr, kind), d = IsochoreSlope(pr, kind);
    const double det = a * d - b * c;
    if (!(det > 0)) return false;
    double dRho = (b * F2 - d * F1) / det;
    double dT = (c * F1 - a * F2) / det;
    // Damped to 5 K and a fifth of ρ: the start is within 25 mK and 0.01 %, so a longer step
    // means the iteration has left the neighbourhood it can be trusted in.
    const double damp = std::max({1.0, std::fabs(dT) / 5.0, std::fabs(dRho) / (0.2 * rho)});
    rho += dRho / damp;
    T += dT / damp;
    if (!(rho > 0 && rho < 800 && std::isfinite(T))) return false;
    const double Tclamped = std::clamp(T, Tlo, Thi);
    clamped = Tclamped == T ? 0 : clamped + 1;
    if (clamped == 3) return false;
    T = Tclamped;
  }
  return false;
}

// Region 3 on [Tlo, Thi] along the isobar: Newton in (ρ, T) from the backward equations, else
// Newton in T with the density of each temperature solved on the branch that Region3Branch gives
// (or `forced`), seeded from the last density moved by (∂ρ/∂T)_p.
State SolveRegion3(double p, double target, Kind kind, double Tlo, double Thi, Branch forced,
                   bool useForced) {
  const TV backward = kind == Kind::H ? Region3TVFromPH(p, target) : Region3TVFromPS(p, target);
  const double T0 = std::clamp(backward.T, Tlo, Thi);
  Props direct;
  if (Region3Newton(p, target, kind, Tlo, Thi, forced, useForced, T0, 1.0 / backward.v, &direct))
    return FromProps(direct, 3,
                     SinglePhase(p, direct.T, 3, useForced ? forced : Region3Branch(p, direct.T)));
  double lastT = backward.T, lastRho = 1.0 / backward.v, lastDrhoDT = 0.0;
  const auto eval = [&](double T) {
    const Branch branch = useForced ? forced : Region3Branch(p, T);
    const double seed = lastRho + lastDrhoDT * (T - lastT);
    const Region3At r = Region3AtPT(p, T, branch, seed);
    lastT = T;
    lastRho = r.density.found ? 1.0 / r.props.v : 0.0;
    lastDrhoDT = -lastRho * lastRho * r.props.dvdT;
    Sample s = SampleOf(r.props, kind);
    s.exact = r.density.found;
    s.capped = r.density.capped;
    return s;
  };
  const Solved r = SolveMonotone(eval, target, Tlo, Thi, T0, true);
  switch (r.outcome) {
    case Outcome::Found:
      if (!r.at.exact) {
        const double top = Region3Pressure(1.0 / r.at.props.v, r.at.props.T).p;
        return Failed(Failure::NearCritical, top);
      }
      return SolvedState(r, 3, useForced ? forced : Region3Branch(p, r.at.props.T));
    case Outcome::Below:
    case Outcome::Above:
      // The target lies in the step between region 3 and its neighbour at T13 or TB23.
      return Failed(Failure::NoSolution, 0);
    case Outcome::NoConvergence: break;
  }
  return Failed(Failure::NoConvergence, 0);
}

bool Done(const State& s) { return s.failure != Failure::None || s.region != 0; }

// The wet state of the target between the saturated phases; within the solver's tolerance of
// either end, that saturated phase itself (Ts by Eq. 31 is 1e-12 K off the t a given h' came
// from, which leaves a dryness of 1e-16 instead of 0).
State WetState(const Props& liquid, const Props& vapour, double target, Kind kind) {
  const double vl = ValueOf(liquid, kind), vv = ValueOf(vapour, kind);
  const double tol = kStopTol * ValueScale(target);
  if (target <= vl + tol) return Saturated(liquid, 0.0);
  if (target >= vv - tol) return Saturated(vapour, 1.0);
  return Wet(liquid, vapour, (target - vl) / (vv - vl));
}

// p ≤ ps(T13): regions 1 and 2 (and 5), the saturation line between them from psMin up.
// No water of region 1 has more than h'(T13) = 1670.858 kJ/kg or s'(T13) = 3.778281 kJ/(kg·K)
// (at 350 °C both fall with p). Under those the region 1 backward temperature decides whether to
// try region 1 first; above them it means nothing (it falls to −10⁴ K for steam).
double BackwardT1IfWater(double p, double target, Kind kind) {
  const double waterMax = kind == Kind::H ? 1670.859 : 3.778282;
  return target <= waterMax ? BackwardT1(p, target, kind) : INFINITY;
}

State SolveLowPressure(double p, double target, Kind kind) {
  const bool liquidExists = p >= psMin;
  const double Ts = liquidExists ? SatTemperatureK(p) : Tmin;
  const double T1b = liquidExists ? BackwardT1IfWater(p, target, kind) : INFINITY;
  Sample liquid{}, vapour{};
  bool liquidKnown = false;
  if (T1b <= Ts + 0.025) {  // within the backward equation's 25 mK of the water
    const State s = SolveRegion1(p, target, kind, Ts, T1b, &liquid);
    if (Done(s)) return s;
    liquidKnown = true;
  }
  const State s2 = SolveRegion2(p, target, kind, Ts, BackwardT2(p, target, kind), &vapour);
  if (Done(s2)) return s2;
  if (!liquidExists) return Failed(LowFailure(kind), vapour.value);
  if (!liquidKnown) liquid = SampleOf(Region1(p, Ts), kind);
  if (target >= liquid.value) return WetState(liquid.props, vapour.props, target, kind);
  Sample unused{};
  const State s1 = SolveRegion1(p, target, kind, Ts, StepFrom(liquid, target), &unused);
  return Done(s1) ? s1 : Failed(Failure::NoConvergence, 0);
}

// p > ps(T13): region 1 up to T13, region 3 up to TB23(p), region 2 (and 5) above.
State SolveHighPressure(double p, double target, Kind kind) {
  const double T1b = BackwardT1IfWater(p, target, kind);
  Sample at13{};
  bool known13 = false;
  if (T1b <= T13 + 0.025) {  // within the backward equation's 25 mK of region 1
    const State s = SolveRegion1(p, target, kind, T13, T1b, &at13);
    if (Done(s)) return s;
    known13 = true;
  }
  // Just above ps(T13) Eqs. 6 and 31 may round to a hair under T13, where neither lies: held
  // at T13 ≤ Ts ≤ TB, every interval below is in order.
  const double TB = std::max(B23Temperature(p), T13);
  // A value at a boundary counts for the region below it to the solver's tolerance: rounding
  // noise in the two evaluations must not send it into the step between them.
  const double tol = kStopTol * ValueScale(target);
  // Where the region 2 backward temperature lies in region 2, region 2 is tried first: a target
  // under its values ends that solve at TB with the value there.
  const double T2b = BackwardT2(p, target, kind);
  Sample at23{};
  if (T2b >= TB && T2b <= T25) {
    const State s = SolveRegion2(p, target, kind, TB, T2b, &at23);
    if (Done(s)) return s;
  } else {
    at23 = SampleOf(Region2(p, TB), kind);
    if (target >= at23.value - tol) {
      const State s = SolveRegion2(p, target, kind, TB, StepFrom(at23, target), &at23);
      return Done(s) ? s : Failed(Failure::NoConvergence, 0);
    }
  }
  if (!known13) {
    at13 = SampleOf(Region1(p, T13), kind);
    if (target <= at13.value + tol) {
      Sample unused{};
      const State s = SolveRegion1(p, target, kind, T13, StepFrom(at13, target), &unused);
      return Done(s) ? s : Failed(Failure::NoConvergence, 0);
    }
  }
  if (p >= pc) return SolveRegion3(p, target, kind, T13, TB, Branch::Single, false);
  const double Ts = std::clamp(SatTemperatureK(p), T13, TB);
  const SatPair sat = SaturatedPhases(p, Ts, true);
  if (sat.failure != Failure::None) return Failed(sat.failure, 0);
  const double liquid = ValueOf(sat.liquid, kind), vapour = ValueOf(sat.vapour, kind);
  if (target < liquid) return SolveRegion3(p, target, kind, T13, Ts, Branch::Liquid, true);
  if (target > vapour) return SolveRegion3(p, target, kind, Ts, TB, Branch::Vapour, true);
  return WetState(sat.liquid, sat.vapour, target, kind);
}

State StateFromPX(double p, double target, Kind kind) {
  if (!std::isfinite(target)) return Failed(Failure::NotFinite, 0);
  const Check c = CheckPressure(p);
  if (c.failure != Failure::None) return Failed(c.failure, c.limit);
  return p <= ps13 ? SolveLowPressure(p, target, kind) : SolveHighPressure(p, target, kind);
}

}  // namespace
}  // namespace detail

State StateFromPH(double p, double h) { return detail::StateFromPX(p, h, detail::Kind::H); }
State StateFromPS(double p, double s) { return detail::StateFromPX(p, s, detail::Kind::S); }

}  // namespace if97
