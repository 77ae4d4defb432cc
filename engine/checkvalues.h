// Published values of the IFC-67 formulation and its steam tables, compiled in: the program
// recomputes them on request (its self-check) and the tests hold the engine to them.
#pragma once

#include <span>
#include <string>

struct Ifc67CheckValue {
  const char* function;   // what is computed, e.g. "Region1Reduced" or "PointProp"
  double x, y;            // t °C and p MPa, or t °C and v m³/kg; y 0: unused, −1: ps(t)
  int kind;               // PK_V (β for a function of the volume), PK_S or PK_H
  const char* published;  // the value as printed, its last digit its precision
};

std::span<const Ifc67CheckValue> Ifc67CheckValues();

// The value recomputed by the engine.
double Recompute(const Ifc67CheckValue& row);

// Whether `computed` rounds to the published text: within half a unit of its last digit (and
// 1e-14 beside it, for values printed to every digit).
bool MatchesPublished(double computed, const char* published);

// "Region1Reduced(100, 0.101325) χ": the row named for a report.
std::string Describe(const Ifc67CheckValue& row);
