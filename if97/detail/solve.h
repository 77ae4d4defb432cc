// The one-dimensional root finder behind every inverse: Newton inside a bracket that only
// shrinks, on a function known to be monotone between the bracket's ends.
#pragma once

#include <algorithm>
#include <cmath>

#include "if97/detail/regions.h"
#include "if97/if97.h"

namespace if97::detail {

// The property an inverse matches: h kJ/kg or s kJ/(kg·K).
enum class Kind { H, S };

inline double ValueOf(const Props& pr, Kind kind) { return kind == Kind::H ? pr.h : pr.s; }
// d/dT at constant p: cp, or cp/T.
inline double IsobarSlope(const Props& pr, Kind kind) {
  return kind == Kind::H ? pr.cp : pr.cp / pr.T;
}
// d/dp at constant T, per MPa: (∂h/∂p)_T = v − T·(∂v/∂T)_p, (∂s/∂p)_T = −(∂v/∂T)_p, in kJ.
inline double IsothermSlope(const Props& pr, Kind kind) {
  return kind == Kind::H ? 1e3 * (pr.v - pr.T * pr.dvdT) : -1e3 * pr.dvdT;
}
// d/dρ at constant T, kJ/kg per kg/m³: (∂h/∂ρ)_T = 1000·((∂p/∂ρ)_T − T(∂p/∂T)_ρ/ρ)/ρ and
// (∂s/∂ρ)_T = −1000·(∂p/∂T)_ρ/ρ² (Maxwell). Finite at the critical point.
inline double DensitySlope(const Props& pr, Kind kind) {
  return kind == Kind::H ? 1e3 * (pr.dpdrho - pr.T * pr.dpdT * pr.v) * pr.v
                         : -1e3 * pr.dpdT * pr.v * pr.v;
}
// d/dT at constant ρ: (∂h/∂T)_ρ = cv + 1000·(∂p/∂T)_ρ/ρ, (∂s/∂T)_ρ = cv/T.
inline double IsochoreSlope(const Props& pr, Kind kind) {
  return kind == Kind::H ? pr.cv + 1e3 * pr.dpdT * pr.v : pr.cv / pr.T;
}
inline Failure LowFailure(Kind kind) {
  return kind == Kind::H ? Failure::EnthalpyLow : Failure::EntropyLow;
}
inline Failure HighFailure(Kind kind) {
  return kind == Kind::H ? Failure::EnthalpyHigh : Failure::EntropyHigh;
}

// Stop when the value meets the target to 1e-11 (relative, absolute below 1); a run that rounding
// stalls is accepted at 1e-9, the promise to the caller.
inline double ValueScale(double target) { return std::max(std::fabs(target), 1.0); }
inline constexpr double kStopTol = 1e-11;
inline constexpr double kAcceptTol = 1e-9;
inline constexpr int kSolveCap = 100;

// One evaluation: the phase, its value and the value's slope in the unknown. `exact` is false
// where a region 3 vapour density fell back to the top of its branch (the near-critical gap).
struct Sample {
  Props props;
  double value;
  double slope;
  bool exact = true;
  bool capped = false;
};

enum class Outcome {
  Found,
  Below,  // the target lies below every value in [lo, hi]; `at` holds the lowest (an end)
  Above,  // above every value; `at` holds the highest
  NoConvergence,
};
struct Solved {
  Sample at;
  Outcome outcome;
  int evaluations;
};

// x in [lo, hi] with value(x) == target, for a value rising (or falling) in x. The ends are
// evaluated only when an iterate needs them; a Newton step that would leave the bracket goes to
// an untested end once, else to the midpoint. Caps at kSolveCap evaluations.
template <class Eval>
Solved SolveMonotone(const Eval& eval, double target, double lo, double hi, double start,
                     bool rising) {
  const double dir = rising ? 1.0 : -1.0;
  const double tol = kStopTol * ValueScale(target);
  const double accept = kAcceptTol * ValueScale(target);
  const double lo0 = lo, hi0 = hi;
  bool loSeen = false, hiSeen = false;
  double x = start >= lo && start <= hi ? start : (start > hi ? hi : lo);
  Sample best{};
  double bestErr = INFINITY;
  for (int k = 1; k <= kSolveCap; ++k) {
    const Sample s = eval(x);
    if (s.capped) return {s, Outcome::NoConvergence, k};
    const double g = dir * (s.value - target);
    if (std::fabs(g) < bestErr) {
      best = s;
      bestErr = std::fabs(g);
    }
    if (std::fabs(g) <= tol) return {s, Outcome::Found, k};
    if (g < 0) {
      if (x == hi0) return {s, rising ? Outcome::Above : Outcome::Below, k};
      lo = x;
      loSeen = true;
    } else {
      if (x == lo0) return {s, rising ? Outcome::Below : Outcome::Above, k};
      hi = x;
      hiSeen = true;
    }
    const double d = dir * s.slope;
    double next = d > 0 ? x - g / d : lo;
    if (!(next > lo && next < hi)) {
      if (g < 0 && !hiSeen) {
        x = hi;
        continue;
      }
      if (g > 0 && !loSeen) {
        x = lo;
        continue;
      }
      next = 0.5 * (lo + hi);
      // The bracket is down to adjacent doubles: rounding has the last word.
      if (!(next > lo && next < hi))
        return {best, bestErr <= accept ? Outcome::Found : Outcome::NoConvergence, k};
    }
    x = next;
  }
  return {best, bestErr <= accept ? Outcome::Found : Outcome::NoConvergence, kSolveCap};
}

}  // namespace if97::detail
