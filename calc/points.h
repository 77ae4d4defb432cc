// State points in double precision for the tools that compute many of them or chain them: the
// turbine expansion, the steam tables, the diagrams' lines, Python and the cluster. Plain values,
// no texts, safe from any number of threads. IFC-67 values here are the engine's double results
// (the form shows them rounded to single precision); IF97 values are its own.
//
// Units: MPa, ℃, kJ/kg, kJ/(kg·K), m³/kg, kg/m³, m/s. A failed point has NaN values, a status and,
// where one applies, the limit it crossed (in the unit of the input it bounds).
#pragma once

#include <cmath>
#include <cstdint>

#include "calc/calc.h"

namespace calc {

// Why a point failed; the same codes for both formulations.
enum class Status : std::uint8_t {
  Ok,
  TemperatureLow,
  TemperatureHigh,
  PressureLow,
  PressureHigh,
  EnthalpyLow,
  EnthalpyHigh,
  EntropyLow,
  EntropyHigh,
  NotFinite,        // an argument is NaN or infinite
  PressureOrder,    // an expansion to a higher pressure
  NoSolution,       // no state has these inputs, although each lies in its range
  NearCritical,     // no state of the formulation so close to the critical point
  NoConvergence,    // a search could not end
  DrynessRange,     // a dryness outside 0…1 (the wet band's edges)
  EfficiencyRange,  // an expansion efficiency outside 0 < η ≤ 1
};
inline constexpr int kStatusCount = int(Status::EfficiencyRange) + 1;

// One sentence for a status, without the values: Chinese, or English.
const char* Explain(Status status, bool english = false);

struct Point {
  double p = NAN, t = NAN, h = NAN, s = NAN, v = NAN;
  double x = NAN;  // dryness of a wet state (0 and 1 on the saturation line); NaN otherwise
  double rho = NAN, u = NAN;
  double cp = NAN, cv = NAN, w = NAN, kappa = NAN;  // IF97, and not for a wet mixture
  // With Detail::Full: the saturation temperature at p and pressure at t, and t − ts.
  double tsat = NAN, psat = NAN, superheat = NAN;
  Phase phase = Phase::Unknown;
  Status status = Status::Ok;
  double limit = NAN;
};

// How much to compute: the state alone, or also its distance from the saturation line (a
// saturation-temperature search in IFC-67, several times the state's own cost).
enum class Detail { State, Full };

Point StateFromPT(Formulation f, double p, double t, Detail detail = Detail::State);
Point StateFromPH(Formulation f, double p, double h, Detail detail = Detail::State);
Point StateFromPS(Formulation f, double p, double s, Detail detail = Detail::State);

// Every state along an isotherm with the given h (or s), by rising pressure: IFC-67 gives up to
// two (its solver's), IF97 up to four. count 0 with status Ok: no such state.
struct Points {
  int count = 0;
  Point root[4];
  Status status = Status::Ok;
  double limit = NAN;
};
Points StatesFromTH(Formulation f, double t, double h, Detail detail = Detail::State);
Points StatesFromTS(Formulation f, double t, double s, Detail detail = Detail::State);

// Saturated water and steam at a pressure or a temperature.
struct SaturationPair {
  Point liquid, vapour;
  Status status = Status::Ok;
  double limit = NAN;
};
SaturationPair SaturationByP(Formulation f, double p);
SaturationPair SaturationByT(Formulation f, double t);

// The end of the isentropic change from (p1, t1) down to p2 ≤ p1.
Point IsentropicEnd(Formulation f, double p1, double t1, double p2, Detail detail = Detail::State);

// A turbine section from the inlet (p1, t1) to p2 with the internal efficiency η, 0 < η ≤ 1:
// the isentropic end (h2s), its drop Δhs = h1 − h2s, the actual drop η·Δhs and the actual end
// state at (p2, h1 − η·Δhs).
struct Expansion {
  Point inlet, isentropicEnd, end;
  double isentropicDrop = NAN, actualDrop = NAN;
  Status status = Status::Ok;
  double limit = NAN;
};
Expansion Expand(Formulation f, double p1, double t1, double p2, double eta,
                 Detail detail = Detail::State);
// The same from an inlet given otherwise (p1 with h1, or saturated steam at p1).
Expansion ExpandFrom(Formulation f, const Point& inlet, double p2, double eta,
                     Detail detail = Detail::State);

// The six texts of a computed point in the form's formats, its state text from its phase and
// dryness ("过热蒸汽", "饱和水或饱和蒸汽或湿蒸汽,干度=0.873986", …).
Texts FormTexts(const Point& p);

}  // namespace calc
