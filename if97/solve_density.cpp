#include <cmath>

#include "if97/detail/constants.h"
#include "if97/detail/density.h"
#include "if97/detail/regions.h"

namespace if97::detail {
namespace {
// Every region 3 isotherm rises from zero density through 100 MPa before 800 kg/m³ and keeps
// rising up to there (the first fall is above 820 kg/m³, at 863.15 K).
constexpr double rhoTop = 800.0;
}  // namespace

// Bracket [lo, hi] of the root. On the vapour branch the low end is half the ideal-gas density
// (p there is at most Z·p/2 with Z < 1.07) and a point whose slope is not positive lies past the
// spinodal, so it bounds the search from above whatever its pressure; the liquid branch mirrors
// this from 800 kg/m³ down. The vapour isotherm is concave and the liquid one convex, so Newton
// from the ideal-gas density or from 800 kg/m³ approaches the root from one side.
Density Region3Density(const Region3Isotherm& isotherm, double p, Branch branch, double start) {
  const double rhoIdeal = 1e3 * p / (R * isotherm.T());
  double lo = branch == Branch::Liquid ? rhoc : 0.5 * rhoIdeal;
  double hi = branch == Branch::Vapour ? rhoc : rhoTop;
  double x = branch == Branch::Liquid ? rhoTop : rhoIdeal;
  if (start > lo && start < hi) x = start;
  if (!(x > lo && x < hi)) x = 0.5 * (lo + hi);
  const double tol = 1e-13 * p;
  double best = x, bestErr = INFINITY;
  for (int k = 1; k <= kDensityCap; ++k) {
    const PressureSlope ps = isotherm.Pressure(x);
    const double f = ps.p - p;
    if (std::fabs(f) < bestErr && ps.dpdrho > 0) {
      bestErr = std::fabs(f);
      best = x;
    }
    if (std::fabs(f) <= tol) return {x, true, false, k};
    double next;
    if (!(ps.dpdrho > 0)) {
      // Past a spinodal (or at the critical point itself): the root lies on the branch side.
      if (branch == Branch::Vapour)
        hi = x;
      else if (branch == Branch::Liquid)
        lo = x;
      else if (f < 0)
        lo = x;
      else
        hi = x;
      next = 0.5 * (lo + hi);
    } else {
      if (f < 0)
        lo = x;
      else
        hi = x;
      const double step = f / ps.dpdrho;
      // A step below 1e-14 of ρ: what is left of f is rounding (in dense water 5e-13 of p).
      if (std::fabs(step) <= 1e-14 * x && std::fabs(f) <= 1e-12 * p) return {x, true, false, k};
      next = x - step;
      if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
    }
    if (next == x || hi - lo <= 4e-16 * hi) {
      // Rounding stops the iteration: take the best point if it meets 1e-12 of p.
      return {best, bestErr <= 1e-12 * p, false, k};
    }
    x = next;
  }
  return {best, false, true, kDensityCap};
}

}  // namespace if97::detail
