#include "engine/satprops.h"

#include <cmath>
#include <cstdint>

#include "engine/constants.h"
#include "engine/region1.h"
#include "engine/region2.h"
#include "engine/region3.h"
#include "engine/region4.h"
#include "engine/saturation.h"
#include "engine/search.h"

namespace {

// Common body of the saturated-water and saturated-steam properties: they differ only in the
// equations used on either side of the 350 °C switch.
double SatProp(double x, int byTemperature, int kind, bool steam) {
  CalcStatus = byTemperature ? SatTempFlags(x) : SatPressFlags(x);
  if (CalcStatus) return 10;

  // Water and steam coincide at the critical point; its values are not taken from an equation.
  if (byTemperature ? std::fabs(x - 374.15) <= 0.0001 : std::fabs(x - 22.12) <= 0.00001)
    return CriticalValue(kind);

  double t = x;
  double p = x;
  if (byTemperature) {
    p = SatPressure(t);
  } else {
    t = SatTemperature(p);
    if (CalcStatus) return 10;  // the saturation-temperature search could not end
  }

  // Subregions 1 and 2 hold up to 350 °C, subregions 4 and 3 beyond; the switch is on t in °C.
  double r;
  SearchInfo info;
  if (std::fabs(t - 350) < 0.000001 || t < 350)
    r = steam ? Region2Reduced(t, p, kind) : Region1Reduced(t, p, kind);
  else
    r = steam ? Region3Props(t, p, kind, &info) : Region4Props(t, p, kind, &info);
  if (!info.converged) {
    CalcStatus = CS_NO_CONVERGENCE;
    return 10;
  }
  return ScaleReduced(r, kind);
}

// Flags of a dryness fraction below 0 and above 1, by the kind of the value it came from.
struct DrynessFlags {
  std::uint32_t low, high;
};
DrynessFlags DrynessFlagsOf(int valueKind) {
  switch (valueKind) {
    case PK_V: return {CS_V_LOW, CS_V_HIGH};
    case PK_S: return {CS_S_LOW, CS_S_HIGH};
    case PK_H: return {CS_H_LOW, CS_H_HIGH};
    default: return {CS_X_LOW, CS_X_HIGH};
  }
}

}  // namespace

double SatWaterProp(double x, int byTemperature, int kind) {
  return SatProp(x, byTemperature, kind, false);
}

double SatSteamProp(double x, int byTemperature, int kind) {
  return SatProp(x, byTemperature, kind, true);
}

double Quality(double x, int byTemperature, double value, int valueKind, double& dryness,
               int wantedKind) {
  // Stricter at the top than the saturation range: at the critical point X is undefined.
  const std::uint32_t flag = byTemperature ? (TempBelowRange(x)                   ? CS_T_LOW
                                              : x > 374.15 || 374.15 - x < 0.0001 ? CS_T_HIGH
                                                                                  : 0u)
                                           : (PressBelowRange(x)                 ? CS_P_LOW
                                              : x > 22.12 || 22.12 - x < 0.00001 ? CS_P_HIGH
                                                                                 : 0u);
  CalcStatus = flag;
  if (flag) {
    dryness = byTemperature ? 10 : 1;
    return byTemperature ? 1 : 10;
  }

  // An inner failure (a search that could not end) keeps its flag and the usual sentinels.
  double X = value;
  if (valueKind != PK_X) {
    const double yWater = SatWaterProp(x, byTemperature, valueKind);
    if (CalcStatus) {
      dryness = 1;
      return 10;
    }
    const double ySteam = SatSteamProp(x, byTemperature, valueKind);
    if (CalcStatus) {
      dryness = 1;
      return 10;
    }
    X = (value - yWater) / (ySteam - yWater);
  }
  dryness = X;

  // Negated test: a NaN fraction is flagged as below, never returned as a property.
  if (!(X >= -0.00001)) {
    CalcStatus = DrynessFlagsOf(valueKind).low;
    return 10;
  }
  if (X - 1 > 0.000001) {
    CalcStatus = DrynessFlagsOf(valueKind).high;
    return 10;
  }

  const double zWater = SatWaterProp(x, byTemperature, wantedKind);
  if (CalcStatus) return 10;
  const double zSteam = SatSteamProp(x, byTemperature, wantedKind);
  if (CalcStatus) return 10;
  return zWater + X * (zSteam - zWater);
}
