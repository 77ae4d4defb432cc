// The step search every IFC-67 search uses (the saturation temperature, the volume in subregions
// 3 and 4, the inverse solvers): from a start x with residual r, step Δ in direction d; when a step
// overshoots, reverse and divide Δ by ten; guards shrink Δ so that the trial stays inside its
// interval; stop when both |r| and Δ are below their tolerances. The formulation's searches have
// no round limit; this one has a cap and stops where a literal search could never end.
#pragma once

#include <cmath>

namespace engine_detail {

// How a step search ended.
enum class SearchEnd {
  Converged,  // by its own stop test, or its start was already within 1e-7
  Stalled,    // inside its range: the trial can no longer move, or the round cap
  Outside,    // trapped outside its range, a guard that could never end, or a non-finite start
};

struct SearchOutcome {
  SearchEnd end = SearchEnd::Converged;
  double x = 0;    // the last trial; the start when no step was taken
  int rounds = 0;  // steps taken; the evaluations are one more, the start's included
};

// One guard: while the trial x + d·Δ is outside its interval, Δ *= 0.1. Returns false where a
// literal guard would never end: Δ has underflowed to 0 and the trial, now x itself, is outside.
template <class Outside>
bool Shrink(double x, double d, double& step, Outside outside) {
  while (outside(x + d * step)) {
    if (step == 0) return false;
    step *= 0.1;
  }
  return true;
}

// A search S supplies:
//   double Residual(double x, bool& valid)  the searched function minus its target; valid: the
//                                           function answered (a refused trial ends nothing)
//   bool Guard(double x, double d, double& step)   its guards in their order (Shrink)
//   bool Overshoot(double d, double r)      its reversal test
//   int Side(double x)                      −1 below its range, +1 above, 0 inside
//   void Note(double x, double r, bool valid)   sees every evaluation, the start's included
//   double tolR, tolStep; int roundCap
// One NaN rule for all: a NaN residual is never within a tolerance and never an overshoot (every
// comparison with it is false), so the search keeps its direction until it stalls or the cap.
template <class S>
SearchOutcome StepSearch(S& search, double x, double r, bool valid, double d, double step) {
  SearchOutcome out;
  out.x = x;
  search.Note(x, r, valid);
  // A start of ±inf or NaN (a start formula dividing by a vanishing difference) would either be
  // returned as a result or stepped from for ever.
  if (!std::isfinite(x)) {
    out.end = SearchEnd::Outside;
    return out;
  }
  if (valid && std::fabs(r) <= 0.0000001) return out;

  for (int n = 1;; ++n) {
    if (!search.Guard(x, d, step)) {
      out.end = SearchEnd::Outside;
      out.x = x;
      out.rounds = n - 1;
      return out;
    }
    // Δ only shrinks: a trial that cannot move now never moves again, and its residual stays.
    const bool frozen = x + step == x && x - step == x;
    x = x + d * step;
    r = search.Residual(x, valid);
    search.Note(x, r, valid);
    const bool close = valid && std::fabs(r) < search.tolR;
    if (close && step < search.tolStep) {
      out.x = x;
      out.rounds = n;
      return out;
    }
    const int side = search.Side(x);
    if ((frozen && !close) || n >= search.roundCap) {
      out.end = side != 0 ? SearchEnd::Outside : SearchEnd::Stalled;
      out.x = x;
      out.rounds = n;
      return out;
    }
    if (search.Overshoot(d, r)) {
      d = -d;
      step *= 0.1;
    } else if (side != 0 && side * d > 0 && !close) {
      // Outside its range the function answers a sentinel, the same at every deeper trial: the
      // search keeps going out and never reverses.
      out.end = SearchEnd::Outside;
      out.x = x;
      out.rounds = n;
      return out;
    }
  }
}

// The parts of a search that only the inverse solvers need, as do-nothing defaults.
struct PlainSearch {
  static int Side(double) { return 0; }
  static void Note(double, double, bool) {}
};

}  // namespace engine_detail
