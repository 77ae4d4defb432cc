// Frozen reference copy of engine/entrypoints.cpp, taken before any optimisation.
// The bit-identity test holds the engine to this literal arithmetic: never edit it.
#include "tests/engine/literal/entrypoints.h"

#include "tests/engine/literal/constants.h"
#include "tests/engine/literal/satprops.h"
#include "tests/engine/literal/saturation.h"

namespace literal {

namespace {
// Pressures arrive as float(MPa × 10); they come back to MPa by the double 0.1, not by / 10.
double FromP10(float p10) { return double(p10) * 0.1; }

double Report(double result, int* status) {
  if (status) *status = int(CalcStatus);
  return result;
}
}  // namespace

double SatTByP(float p10, int* status) { return Report(SatTemperature(FromP10(p10)), status); }
double SatPByT(float t, int* status) { return Report(SatPressure(double(t)) * 10, status); }

double SatWaterHByP(float p10, int* status) {
  return Report(SatWaterProp(FromP10(p10), 0, PK_H), status);
}
double SatWaterSByP(float p10, int* status) {
  return Report(SatWaterProp(FromP10(p10), 0, PK_S), status);
}
double SatWaterVByP(float p10, int* status) {
  return Report(SatWaterProp(FromP10(p10), 0, PK_V), status);
}
double SatWaterHByT(float t, int* status) {
  return Report(SatWaterProp(double(t), 1, PK_H), status);
}
double SatWaterVByT(float t, int* status) {
  return Report(SatWaterProp(double(t), 1, PK_V), status);
}
double SatWaterSByT(float t, int* status) {
  return Report(SatWaterProp(double(t), 1, PK_S), status);
}

double SatSteamHByP(float p10, int* status) {
  return Report(SatSteamProp(FromP10(p10), 0, PK_H), status);
}
double SatSteamSByP(float p10, int* status) {
  return Report(SatSteamProp(FromP10(p10), 0, PK_S), status);
}
double SatSteamVByP(float p10, int* status) {
  return Report(SatSteamProp(FromP10(p10), 0, PK_V), status);
}
double SatSteamHByT(float t, int* status) {
  return Report(SatSteamProp(double(t), 1, PK_H), status);
}

}  // namespace literal
