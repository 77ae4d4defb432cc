// The published verification values of IAPWS-IF97 and its supplementary backward releases,
// compiled in: the program recomputes them on request (its self-check), and the tests hold the
// engine to them.
#pragma once

#include <span>

namespace if97 {

struct CheckValue {
  const char* equation;   // e.g. "region1", "region2a_T_ph", "b23_p"
  double x1, x2;          // inputs in the release's units (T K, p MPa, ρ kg/m³, h, s); x2 0: none
  const char* output;     // "v", "h", "u", "s", "cp", "w", "p", "T"
  const char* published;  // the value as printed
  int digits;             // significant digits printed
};

std::span<const CheckValue> CheckValues();
double Recompute(const CheckValue& value);
// The recomputed value rounded to the printed digits equals the printed value rounded so.
bool MatchesPublished(double computed, const CheckValue& value);

}  // namespace if97
