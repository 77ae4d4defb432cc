// Frozen reference copy of engine/satprops.cpp, taken before any optimisation.
// The bit-identity test holds the engine to this literal arithmetic: never edit it.
#include "tests/engine/literal/satprops.h"

#include <cmath>
#include <cstdint>

#include "tests/engine/literal/constants.h"
#include "tests/engine/literal/region1.h"
#include "tests/engine/literal/region2.h"
#include "tests/engine/literal/region3.h"
#include "tests/engine/literal/region4.h"
#include "tests/engine/literal/saturation.h"
#include "tests/engine/literal/search.h"

namespace literal {

namespace {

double CriticalValue(int kind) {
  switch (kind) {
    case PK_V:
      return kCriticalV;
    case PK_S:
      return kCriticalS;
    case PK_H:
      return kCriticalH;
    default:
      return 0;
  }
}

// Common body of the saturated-water and saturated-steam properties: they differ only in the
// equations used on either side of the 350 °C switch.
double SatProp(double x, int byTemperature, int kind, bool steam) {
  if (byTemperature) {
    if (TempBelowRange(x)) {
      CalcStatus = CS_T_LOW;
      return 10;
    }
    if (x - 374.15 > 0.0001) {
      CalcStatus = CS_T_HIGH;
      return 10;
    }
  } else {
    if (PressBelowRange(x)) {
      CalcStatus = CS_P_LOW;
      return 10;
    }
    if (x - 22.12 > 0.00001) {
      CalcStatus = CS_P_HIGH;
      return 10;
    }
  }
  CalcStatus = 0;

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

// Flags of a dryness fraction out of [0, 1], by the kind of the value it came from.
std::uint32_t DrynessLowFlag(int valueKind) {
  switch (valueKind) {
    case PK_V:
      return CS_V_LOW;
    case PK_S:
      return CS_S_LOW;
    case PK_H:
      return CS_H_LOW;
    default:
      return CS_X_LOW;
  }
}

std::uint32_t DrynessHighFlag(int valueKind) {
  switch (valueKind) {
    case PK_V:
      return CS_V_HIGH;
    case PK_S:
      return CS_S_HIGH;
    case PK_H:
      return CS_H_HIGH;
    default:
      return CS_X_HIGH;
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
  if (byTemperature) {
    std::uint32_t flag = 0;
    if (TempBelowRange(x))
      flag = CS_T_LOW;
    else if (x > 374.15 || 374.15 - x < 0.0001)
      flag = CS_T_HIGH;
    if (flag) {
      CalcStatus = flag;
      dryness = 10;
      return 1;
    }
  } else {
    std::uint32_t flag = 0;
    if (PressBelowRange(x))
      flag = CS_P_LOW;
    else if (x > 22.12 || 22.12 - x < 0.00001)
      flag = CS_P_HIGH;
    if (flag) {
      CalcStatus = flag;
      dryness = 1;
      return 10;
    }
  }
  CalcStatus = 0;

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
    CalcStatus = DrynessLowFlag(valueKind);
    return 10;
  }
  if (X - 1 > 0.000001) {
    CalcStatus = DrynessHighFlag(valueKind);
    return 10;
  }

  const double zWater = SatWaterProp(x, byTemperature, wantedKind);
  if (CalcStatus) return 10;
  const double zSteam = SatSteamProp(x, byTemperature, wantedKind);
  if (CalcStatus) return 10;
  return zWater + X * (zSteam - zWater);
}

}  // namespace literal
