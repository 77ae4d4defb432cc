#include "engine/statepoint.h"

#include <cmath>

#include "engine/constants.h"
#include "engine/detail/statepoint_parts.h"
#include "engine/region1.h"
#include "engine/region2.h"
#include "engine/region3.h"
#include "engine/region4.h"
#include "engine/regions.h"
#include "engine/satprops.h"
#include "engine/saturation.h"
#include "engine/search.h"

namespace {

// Steps 3 to 6 of the state-point function, after the range check and the classification:
// the critical point, region selection and the subregion's equation. `state`, when given, is set
// to SC_UNKNOWN on an inner failure.
double Evaluate(double t, double p, int kind, int* state) {
  if (std::fabs(t - 374.15) < 0.0001 && std::fabs(p - 22.12) < 0.00001) return CriticalValue(kind);

  double r = 0;
  SearchInfo info;
  switch (FindRegion(t, p)) {
    case RC_SUB1: r = Region1Reduced(t, p, kind); break;
    case RC_SUB2: r = Region2Reduced(t, p, kind); break;
    case RC_SUB3: r = Region3Props(t, p, kind, &info); break;
    case RC_SUB4: r = Region4Props(t, p, kind, &info); break;
    case RC_SAT_UPPER:
    case RC_SAT_LOWER: {
      // On the line the point is saturated steam, never saturated water; already scaled.
      const double y = SatSteamProp(t, 1, kind);
      if (CalcStatus) {
        if (state) *state = SC_UNKNOWN;
        return 10;
      }
      return y;
    }
    default: break;
  }
  if (!info.converged) {
    CalcStatus = CS_NO_CONVERGENCE;
    if (state) *state = SC_UNKNOWN;
    return 10;
  }
  return ScaleReduced(r, kind);
}

// The classification without the saturation-temperature search, where the point lies clearly on
// one side of the line; 0 when it does not. The search returns ts with |ps(ts) − p| ≤ 1e-7 MPa
// and ts ≤ 374.15, and ps rises with t (its rounding is some 1e-14 MPa). So where ps(t + 0.001)
// lies 1e-6 MPa or more below p, ts lies above t + 0.001: water; where ps(t − 0.001) lies as far
// above p, ts lies below t − 0.001: steam; above 374.151 °C every subcritical point is steam.
// Either way |t − ts| > 0.0001, and the state is the one the search would give.
int StateAwayFromLine(double t, double p) {
  if (t > 374.151) return SC_STEAM;
  const double pc = IfcConstants.pc;
  if (t + 0.001 <= 374.15) {
    const double above = SatPressureReduced(t + 0.001) * pc;
    if (above < p - 1e-6) return SC_WATER;
    if (!(above > p + 1e-6)) return 0;  // ps(t − 0.001) lies lower still: not steam either
  }
  if (t - 0.001 >= 0.01 && SatPressureReduced(t - 0.001) * pc > p + 1e-6) return SC_STEAM;
  return 0;
}

}  // namespace

double PointProp(double t, double p, int kind, int& state) {
  CalcStatus = StateRangeFlags(t, p);
  if (CalcStatus) {
    state = SC_UNKNOWN;
    return 10;
  }

  // The state text's classification: within 0.0001 °C of the saturation temperature counts as
  // on the line, a far wider band than region selection's 10⁻⁸ in β.
  if (p > 22.12 || std::fabs(p - 22.12) < 0.00001) {
    state = SC_SUPERCRITICAL;
  } else if (const int away = StateAwayFromLine(t, p)) {
    state = away;
  } else {
    const double ts = SatTemperature(p);
    if (CalcStatus) {  // the saturation-temperature search could not end
      state = SC_UNKNOWN;
      return 10;
    }
    if (std::fabs(t - ts) < 0.0001)
      state = SC_WET;
    else if (t < ts)
      state = SC_WATER;
    else
      state = SC_STEAM;
  }
  return Evaluate(t, p, kind, &state);
}

double PointPropValue(double t, double p, int kind) {
  CalcStatus = StateRangeFlags(t, p);
  if (CalcStatus) return 10;
  return Evaluate(t, p, kind, nullptr);
}
