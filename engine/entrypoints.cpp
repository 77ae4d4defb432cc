#include "engine/entrypoints.h"

#include "engine/constants.h"
#include "engine/satprops.h"
#include "engine/saturation.h"

namespace {
// Pressures arrive as float(MPa × 10); they come back to MPa by the double 0.1, not by / 10.
double FromP10(float p10) { return double(p10) * 0.1; }

double Report(double result, int* status) {
  if (status) *status = int(CalcStatus);
  return result;
}

// Each entry point assigns CalcStatus through the call it makes and copies it to `status`.
template <double (*Prop)(double, int, int), int kind>
double ByP(float p10, int* status) {
  return Report(Prop(FromP10(p10), 0, kind), status);
}
template <double (*Prop)(double, int, int), int kind>
double ByT(float t, int* status) {
  return Report(Prop(double(t), 1, kind), status);
}
}  // namespace

double SatTByP(float p10, int* status) { return Report(SatTemperature(FromP10(p10)), status); }
double SatPByT(float t, int* status) { return Report(SatPressure(double(t)) * 10, status); }

// Saturated water by pressure ×10, then by temperature.
double SatWaterHByP(float p10, int* status) { return ByP<SatWaterProp, PK_H>(p10, status); }
double SatWaterSByP(float p10, int* status) { return ByP<SatWaterProp, PK_S>(p10, status); }
double SatWaterVByP(float p10, int* status) { return ByP<SatWaterProp, PK_V>(p10, status); }
// By temperature.
double SatWaterHByT(float t, int* status) { return ByT<SatWaterProp, PK_H>(t, status); }
double SatWaterVByT(float t, int* status) { return ByT<SatWaterProp, PK_V>(t, status); }
double SatWaterSByT(float t, int* status) { return ByT<SatWaterProp, PK_S>(t, status); }

// Saturated steam by pressure ×10; by temperature only its enthalpy.
double SatSteamHByP(float p10, int* status) { return ByP<SatSteamProp, PK_H>(p10, status); }
double SatSteamSByP(float p10, int* status) { return ByP<SatSteamProp, PK_S>(p10, status); }
double SatSteamVByP(float p10, int* status) { return ByP<SatSteamProp, PK_V>(p10, status); }
double SatSteamHByT(float t, int* status) { return ByT<SatSteamProp, PK_H>(t, status); }
