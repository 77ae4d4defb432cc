// What the inverse solvers share: their branches, the wet answer, the failure outputs, the step
// search on the state-point function with the best point it saw, and what finishes a search that
// can no longer end by itself. Internal to engine/solvers_p.cpp and engine/solvers_t.cpp.
#pragma once

#include <cmath>
#include <cstdint>

#include "engine/constants.h"
#include "engine/detail/statepoint_parts.h"
#include "engine/detail/step_search.h"
#include "engine/regions.h"
#include "engine/satprops.h"
#include "engine/saturation.h"
#include "engine/search.h"

namespace solver_search {

using engine_detail::SearchEnd;

// The formulation's searches have no round limit. Over dense grids and 700 000 random inputs a
// solver's search that ends by itself takes at most 80 evaluations; a hundred times that means it
// is lost.
inline constexpr int kRoundCap = 8000;

// Near the critical point a property at (t, p) comes from a volume search in subregion 3 or 4
// whose last step is 1e-9 m³/kg and whose pressure test is 1e-7 in β. Along an outer search the
// property therefore moves in small jumps; where a target falls between two of them the outer
// residual test can never be met. A stalled search accepts its best point when the residual there
// is within these bounds, about twice the largest stall residual measured over dense grids of
// 16.5…30 MPa and 350…400 °C away from subregion boundaries (1.6e-6 in s, 1.03e-3 in h). The
// jumps at the subregion boundaries (up to 5e-4 in s and 0.26 kJ/kg in h at the 2/3 boundary)
// and the gaps around the critical constants (0.018 in s, 11 kJ/kg in h) are far larger.
inline constexpr double kBestPointBoundS = 3e-6;   // kJ/(kg·K)
inline constexpr double kBestPointBoundH = 0.002;  // kJ/kg

// The side of the saturation line, or above the critical pressure, that a solver searches.
enum class Branch { Water, Steam, Supercritical };

// The StateCode of a searched answer on its branch, and its dryness: 0 water, 1 steam, −1
// supercritical.
inline int BranchState(Branch branch, double& x) {
  switch (branch) {
    case Branch::Supercritical: x = -1; return SC_SUPERCRITICAL;
    case Branch::Steam: x = 1; return SC_STEAM;
    default: x = 0; return SC_WATER;
  }
}

// The failure outputs of the solvers with one answer: the searched quantity, v and the other
// property 10, the dryness 1.
inline int Fail(double& a, double& v, double& z, double& x) {
  a = v = z = 10;
  x = 1;
  return SC_UNKNOWN;
}

// Does the state point (t, p) take its property from a volume search, where the property moves in
// jumps of the inner search's resolution?
inline bool NearCritical(double t, double p) {
  const int code = FindRegion(t, p);
  return code == RC_SUB3 || code == RC_SUB4 || code == RC_SAT_UPPER;
}

// A wet answer at the saturation temperature or pressure `at`: the saturation pressure or
// temperature `sat` of that point, the mixture volume from the unclamped fraction of the given
// value y of `kind`, the fraction clamped to [0, 1] and the mixture's `otherKind` property.
// Quality flags a fraction beyond its own tolerances (or a temperature next to the critical
// point) and returns 10 as the volume; the saturation calls that follow reset the status word,
// so its flag is OR-ed back on at the end.
struct Wet {
  double sat, v, z, x;
  std::uint32_t qualityFlags;

  // The answer of a solver with one solution: the searched quantity, v, the other property and
  // the dryness.
  int Give(double& a, double& vOut, double& zOut, double& xOut) const {
    a = sat;
    vOut = v;
    zOut = z;
    xOut = x;
    CalcStatus |= qualityFlags;
    return SC_WET;
  }
};
inline Wet WetAnswer(double at, int byTemperature, double y, int kind, int otherKind) {
  Wet w{};
  w.v = Quality(at, byTemperature, y, kind, w.x, PK_V);
  w.qualityFlags = CalcStatus;
  if (w.x > 1) w.x = 1;
  if (w.x < 0) w.x = 0;
  const double zW = SatWaterProp(at, byTemperature, otherKind);
  const double zS = SatSteamProp(at, byTemperature, otherKind);
  w.z = zW + (zS - zW) * w.x;
  w.sat = byTemperature ? SatPressure(at) : SatTemperature(at);
  return w;
}

// A trial point's value alone, without the classification, whose state a solver never uses:
// the residual, and whether the state-point function accepted the point.
inline double TrialResidual(double t, double p, int kind, double target, bool& valid) {
  const double r = PointPropValue(t, p, kind) - target;
  valid = CalcStatus == 0;
  return r;
}

// The point with the smallest |residual| among the evaluations inside the state range.
struct Best {
  double x = 0;
  double absR = INFINITY;
  bool found = false;
  void Note(double at, double r, bool valid) {
    if (valid && std::fabs(r) < absR) {
      x = at;
      absR = std::fabs(r);
      found = true;
    }
  }
};

struct Outcome {
  SearchEnd end = SearchEnd::Converged;
  double x = 0;
  int evaluations = 0;
  Best best;
};

// A solver's step search on the state-point function.
//   residual(x, valid): the searched property at x minus its target (TrialResidual).
//   guards(x, d, step): the solver's guards in their order; false when one could never end.
//   overshoot(d, r): the solver's reversal test.
//   side(x): −1 below the state range, +1 above it, 0 inside.
template <class Fr, class Fg, class Fo, class Fs>
Outcome StepSearch(double x, double r, bool valid, double d, double step, double tolR,
                   double tolStep, Fr residual, Fg guards, Fo overshoot, Fs side) {
  struct Search {
    Fr& residual;
    Fg& guards;
    Fo& overshoot;
    Fs& side;
    double tolR, tolStep;
    int roundCap;
    Best best;
    double Residual(double at, bool& ok) { return residual(at, ok); }
    bool Guard(double at, double dd, double& s) { return guards(at, dd, s); }
    bool Overshoot(double dd, double rr) { return overshoot(dd, rr); }
    int Side(double at) { return side(at); }
    void Note(double at, double rr, bool ok) { best.Note(at, rr, ok); }
  } search{residual, guards, overshoot, side, tolR, tolStep, kRoundCap, {}};
  const engine_detail::SearchOutcome o = engine_detail::StepSearch(search, x, r, valid, d, step);
  return {o.end, o.x, o.rounds + 1, search.best};
}

// Bisection for a sign change of the residual on [a, b], both ends inside the state range, to
// the solver's tolerances. Every evaluation is noted in `best` and counted.
struct Bisected {
  bool found = false;
  double x = 0;
};
template <class Fr>
Bisected Bisect(double a, double b, double tolR, double tolStep, Fr residual, Best& best,
                int& evaluations) {
  Bisected out;
  if (!(a < b)) return out;
  bool valid = false;
  double fa = residual(a, valid);
  ++evaluations;
  best.Note(a, fa, valid);
  if (!valid) return out;
  double fb = residual(b, valid);
  ++evaluations;
  best.Note(b, fb, valid);
  if (!valid) return out;
  if (fa == 0 || fb == 0) {
    out.found = true;
    out.x = fa == 0 ? a : b;
    return out;
  }
  if ((fa < 0) == (fb < 0)) return out;
  for (int n = 0; n < 200; ++n) {
    const double m = a + (b - a) * 0.5;
    if (!(m > a && m < b)) break;
    const double fm = residual(m, valid);
    ++evaluations;
    best.Note(m, fm, valid);
    if (!valid) break;
    if (std::fabs(fm) < tolR && b - a < tolStep) {
      out.found = true;
      out.x = m;
      return out;
    }
    if ((fm < 0) == (fa < 0)) {
      a = m;
      fa = fm;
    } else {
      b = m;
    }
  }
  return out;
}

// The answer of a solver's search, written to x: its last trial when it ended by its own stop
// test. A search that could not end by itself is finished here. A stall inside the near-critical
// subregions is the inner volume searches' resolution: the best point is taken when its residual
// is within `bound`. Otherwise the state lies on the branch's own interval [a, b] and is found
// there by bisection; failing that, the best point of everything evaluated, under the same rule.
// Returns false when nothing can be accepted. `info` receives the evaluations from the start value
// on, converged = ended by the search's own stop test, bestPoint = ended by the best-point rule.
template <class Fr, class Fn>
bool Finish(const Outcome& o, double a, double b, double tolR, double tolStep, double bound,
            Fr residual, Fn nearCritical, double& x, SearchInfo& info) {
  x = o.x;
  info = SearchInfo{};
  info.evaluations = o.evaluations;
  if (o.end == SearchEnd::Converged) return true;
  info.converged = false;
  auto acceptBest = [&](const Best& best) {
    if (best.found && best.absR <= bound && nearCritical(best.x)) {
      x = best.x;
      info.bestPoint = true;
      return true;
    }
    return false;
  };
  if (o.end == SearchEnd::Stalled && acceptBest(o.best)) return true;
  Best seen = o.best;
  const Bisected bis = Bisect(a, b, tolR, tolStep, residual, seen, info.evaluations);
  if (bis.found) {
    x = bis.x;
    return true;
  }
  return acceptBest(seen);
}

}  // namespace solver_search
