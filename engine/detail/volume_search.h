// The volume search of subregions 3 and 4: the volume at which the subregion's reduced pressure
// equals β = p/pc on an isotherm, with a one-entry memo of the last (t, p). Internal to
// engine/region3.cpp and engine/region4.cpp.
#pragma once

#include "engine/constants.h"
#include "engine/detail/step_search.h"
#include "engine/search.h"

namespace engine_detail {

// The last search's (t, p) and its outcome. The search does not depend on the kind asked for.
struct VolumeMemo {
  bool valid = false;
  double t = 0, p = 0;
  double v = 0;
  int evaluations = 0;
  bool converged = true;
  bool Holds(double tt, double pp) const { return valid && t == tt && p == pp; }
};

// Searches v at (t, p) from the start v0. `beta(v)` is the subregion's reduced pressure on the
// isotherm; a computed pressure at or above the wanted one moves the
// volume up. Δ starts at 0.0001 and the stop needs Δ < 1e-8: 0.0001·0.1⁴ is just above it, so a
// search that steps ends no earlier than its fifth reversal. The floor v ≥ 0.00001 persists.
template <class Beta>
VolumeMemo SearchVolume(double t, double p, double v0, int evaluationCap, Beta beta) {
  struct Search : PlainSearch {
    Beta& beta;
    double target;
    double tolR, tolStep;
    int roundCap;
    double Residual(double v, bool& valid) {
      valid = true;
      return beta(v) - target;
    }
    static bool Guard(double v, double d, double& step) {
      return Shrink(v, d, step, [](double u) { return u < 0.00001; });
    }
    static bool Overshoot(double d, double r) { return d * r < 0; }
  };
  // The cap counts evaluations, the start's included; the search counts the steps after it.
  Search search{{}, beta, p / IfcConstants.pc, 0.0000001, 0.00000001, evaluationCap - 1};
  bool valid = true;
  const double r = search.Residual(v0, valid);
  const SearchOutcome o = StepSearch(search, v0, r, true, r >= 0 ? 1 : -1, 0.0001);
  return {true, t, p, o.x, o.rounds + 1, o.end == SearchEnd::Converged};
}

// What Region3Props and Region4Props answer from the memo: χ, or the subregion's reduced σ or ε
// at the volume found; 0 with info->converged = false when the search could not end.
template <class Reduced>
double VolumeProps(const VolumeMemo& memo, double t, int kind, SearchInfo* info, Reduced reduced) {
  if (info) {
    *info = SearchInfo{};
    info->evaluations = memo.evaluations;
  }
  if (!memo.converged) {
    if (info) info->converged = false;
    return 0;
  }
  if (kind == PK_V) return memo.v / IfcConstants.vc;
  return reduced(t, memo.v, kind);
}

}  // namespace engine_detail
