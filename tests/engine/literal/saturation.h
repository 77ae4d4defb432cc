// Frozen reference copy of engine/saturation.h, taken before any optimisation.
// The bit-identity test holds the engine to this literal arithmetic: never edit it.
// The IFC-67 saturation line in both directions.
#pragma once

namespace literal {

// Reduced saturation pressure βK = ps/pc of the K-function at t °C. No range check; leaves
// CalcStatus alone. Takes t up to just above 374.15 °C, where u = 1 − θ is a small negative number.
double SatPressureReduced(double t);

// Saturation pressure in MPa at t °C. Range 0.01 ≤ t ≤ 374.15 + 0.0001; outside it returns 1
// with CS_T_LOW / CS_T_HIGH. Assigns CalcStatus.
double SatPressure(double t);

// Saturation temperature in °C at p MPa, by a step search over SatPressure. Range
// 0.0007 ≤ p ≤ 22.12 + 0.00001; outside it returns 10 with CS_P_LOW / CS_P_HIGH; a search that
// can no longer end returns 10 with CS_NO_CONVERGENCE. Assigns CalcStatus.
// `steps`, when given, receives the number of search steps taken.
double SatTemperature(double p, int* steps = nullptr);

}  // namespace literal
