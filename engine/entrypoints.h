// The front end's entry points: single-precision arguments, every pressure as MPa × 10, and the
// status word copied into an out-parameter after the engine call.
#pragma once

double SatTByP(float p10, int* status);  // saturation temperature, °C
double SatPByT(float t, int* status);    // saturation pressure × 10
double SatWaterHByP(float p10, int* status);
double SatWaterSByP(float p10, int* status);
double SatWaterVByP(float p10, int* status);
double SatWaterHByT(float t, int* status);
double SatWaterVByT(float t, int* status);
double SatWaterSByT(float t, int* status);
double SatSteamHByP(float p10, int* status);
double SatSteamSByP(float p10, int* status);
double SatSteamVByP(float p10, int* status);
double SatSteamHByT(float t, int* status);

// Enthalpy kJ/kg at the end of an isentropic expansion from (t1 °C, p1) down to p2. Stores 1
// (CS_ORDER) and returns 10 unless p1 > p2; stores 16 (CS_P_LOW) and returns 100 when a pressure
// ×10 is below 0.001; these two leave CalcStatus as it was. Otherwise stores CalcStatus.
double IsentropicEndH(float t1, float p1x10, float p2x10, int* status);
