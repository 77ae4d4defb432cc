// Frozen reference copy of engine/satprops.h, taken before any optimisation.
// The bit-identity test holds the engine to this literal arithmetic: never edit it.
// Properties on the saturation line, by temperature or by pressure, and of wet steam.
#pragma once

namespace literal {

// x is a temperature in °C when byTemperature is non-zero, else a pressure in MPa.
// Property of saturated water / steam in engineering units (v m³/kg, s kJ/(kg·K), h kJ/kg) for
// kind PK_V, PK_S or PK_H. Saturation range; outside it returns 10 with the range flag. The
// critical point (within 0.0001 °C / 0.00001 MPa) answers the critical values. An inner search
// that cannot end returns 10 with CS_NO_CONVERGENCE. Assigns CalcStatus.
double SatWaterProp(double x, int byTemperature, int kind);
double SatSteamProp(double x, int byTemperature, int kind);

// Wet steam: the dryness fraction from `value` of `valueKind` (PK_V, PK_S, PK_H, or PK_X for the
// fraction itself), written to `dryness`; returns the mixture property of `wantedKind`.
// The critical point is refused. A fraction below −0.00001 or above 1.000001 returns 10 with the
// value kind's below/above flag and leaves the unclamped fraction in `dryness`.
// Out of range: by temperature returns 1 and writes 10; by pressure returns 10 and writes 1.
// An inner search that cannot end: returns 10 with CS_NO_CONVERGENCE (dryness 1 if not yet known).
double Quality(double x, int byTemperature, double value, int valueKind, double& dryness,
               int wantedKind);

}  // namespace literal
