// Frozen reference copy of engine/solver_search.h, taken before any optimisation.
// The bit-identity test holds the engine to this literal arithmetic: never edit it.
// The step search shared by the four inverse solvers, and what finishes a search that can no
// longer end by itself. Private to engine/solvers_p.cpp and engine/solvers_t.cpp.
#pragma once

#include <cmath>

#include "tests/engine/literal/search.h"

namespace literal {

namespace solver_search {

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

// How a step search ended.
enum class End {
  Converged,  // by its own stop test, or its start value was already close enough
  Stalled,    // inside the state range: the trial can no longer move, or the round cap
  Outside,    // trapped outside the state range, a guard that could never end, or a non-finite
              // start value: the state has to be found on the branch's own interval
};

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
  End end = End::Converged;
  double x = 0;
  int evaluations = 0;
  Best best;
};

// One guard of a search round: while the trial x + d·Δ is outside its interval, Δ *= 0.1.
// Returns false where the literal loop would never end: Δ has underflowed to 0 and the trial,
// now x itself, is still outside.
template <class Outside>
bool Shrink(double x, double d, double& step, Outside outside) {
  while (outside(x + d * step)) {
    if (step == 0) return false;
    step *= 0.1;
  }
  return true;
}

// Parameters of one solver's step search.
//   residual(x, valid): the searched property at x minus its target; valid tells whether the
//     state-point function answered without a flag.
//   guards(x, d, step): the solver's guards in their order; false when one could never end.
//   overshoot(d, r): the solver's reversal test.
//   side(x): −1 below the state range, +1 above it, 0 inside.
template <class Residual, class Guards, class Overshoot, class Side>
Outcome StepSearch(double x, double r, bool valid, double d, double step, double tolR,
                   double tolStep, Residual residual, Guards guards, Overshoot overshoot,
                   Side side) {
  Outcome out;
  out.evaluations = 1;
  out.x = x;
  out.best.Note(x, r, valid);
  // A start value of ±inf or NaN (a start formula dividing by a vanishing difference) would
  // either be returned as a result or stepped from for ever.
  if (!std::isfinite(x)) {
    out.end = End::Outside;
    return out;
  }
  // Only a trial the state-point function accepted can end the search: a refused one answers the
  // sentinel 10, which a target of 10 (s = 10 kJ/(kg·K), h = 10 kJ/kg) would otherwise meet.
  if (valid && std::fabs(r) <= 0.0000001) return out;

  for (int n = 1;; ++n) {
    if (!guards(x, d, step)) {
      out.end = End::Outside;
      return out;
    }
    // Δ only shrinks: a trial that cannot move now never moves again, and its residual stays.
    const bool frozen = x + step == x && x - step == x;
    x = x + d * step;
    r = residual(x, valid);
    ++out.evaluations;
    out.x = x;
    out.best.Note(x, r, valid);
    if (valid && std::fabs(r) < tolR && step < tolStep) return out;

    const int s = side(x);
    if ((frozen && !(valid && std::fabs(r) < tolR)) || n >= kRoundCap) {
      out.end = s != 0 ? End::Outside : End::Stalled;
      return out;
    }
    if (overshoot(d, r)) {
      d = -d;
      step *= 0.1;
    } else if (s != 0 && s * d > 0 && !(valid && std::fabs(r) < tolR)) {
      // Outside the range the state-point function answers the sentinel 10, so the residual is
      // the same at every deeper trial: the search keeps going out and never reverses.
      out.end = End::Outside;
      return out;
    }
  }
}

// Bisection for a sign change of the residual on [a, b], both ends inside the state range, to
// the solver's tolerances. Every evaluation is noted in `best` and counted.
struct Bisected {
  bool found = false;
  double x = 0;
};
template <class Residual>
Bisected Bisect(double a, double b, double tolR, double tolStep, Residual residual, Best& best,
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

// Finishes a search that could not end by itself. A stall inside the near-critical subregions is
// the inner volume searches' resolution: the best point is taken when its residual is within
// `bound`. Otherwise the state lies on the branch's own interval [a, b] and is found there by
// bisection; failing that, the best point of everything evaluated, under the same rule.
// Returns false when nothing can be accepted; `x` then keeps the search's last trial.
template <class Residual, class NearCritical>
bool Finish(const Outcome& o, double a, double b, double tolR, double tolStep, double bound,
            Residual residual, NearCritical nearCritical, double& x, SearchInfo* info) {
  int evaluations = o.evaluations;
  bool bestPoint = false;
  auto acceptBest = [&](const Best& best) {
    if (best.found && best.absR <= bound && nearCritical(best.x)) {
      x = best.x;
      bestPoint = true;
      return true;
    }
    return false;
  };
  bool done = o.end == End::Stalled && acceptBest(o.best);
  if (!done) {
    Best seen = o.best;
    const Bisected bis = Bisect(a, b, tolR, tolStep, residual, seen, evaluations);
    if (bis.found) {
      x = bis.x;
      done = true;
    } else {
      done = acceptBest(seen);
    }
  }
  if (info) {
    info->evaluations = evaluations;
    info->converged = false;
    info->bestPoint = bestPoint;
  }
  return done;
}

}  // namespace solver_search

}  // namespace literal
