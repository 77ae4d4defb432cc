// IFC-67 beside IF97 for one request: a table of quantities with both values, their difference
// and the difference in per cent, solution by solution, and what a reader must know about it
// (a phase that differs, a failure's reason). The comparison window, kelm-calc --compare and its
// tests all print this one table.
#pragma once

#include <string>
#include <vector>

#include "calc/calc.h"
#include "calc/table.h"
#include "calc/units.h"

namespace calc {

// What a compared quantity is, for its unit: a pressure, a temperature, a temperature
// difference, an energy per kg (h, u), an entropy-like quantity (s, cp, cv), the volume (or the
// density the units ask for), the density row (the specific volume when the volume row shows the
// density), or one without a unit to convert.
enum class QuantityKind {
  Pressure,
  Temperature,
  TemperatureDifference,
  Energy,
  Entropy,
  Volume,
  Density,
  Plain
};

// One compared quantity: its caption with the unit, and its value in a solution (NaN where it
// does not exist), both in the engines' units.
struct Quantity {
  const char* caption;  // "压力 MPa", "饱和温度 ℃", "定压比热 kJ/(kg·K)", …
  double (*value)(const Solution&);
  bool difference;  // Δ and Δ% make sense (not for the dryness or the distance from the line)
  QuantityKind kind;
};
const std::vector<Quantity>& ComparedQuantities();

// The caption and the value in the chosen units ("压力 bar(表压)", "过热度 K", "密度 kg/m³" for
// the volume row with the density asked for). The default units give `caption` and the value
// unchanged, to the bit.
std::string QuantityCaption(const Quantity& q, const Units& units);
double QuantityValue(const Quantity& q, const Solution& s, const Units& units);

// A row of the table: the caption and four texts (IFC-67, IF97, Δ = IF97 − IFC-67, Δ in % of the
// IFC-67 value); "—" where a value does not exist, empty where a solution has no counterpart.
struct ComparedRow {
  std::string caption, ifc67, if97, delta, percent;
};

// One pair of solutions: IFC-67's solution i and the IF97 solution nearest to it in pressure (of
// the same phase where there is one); a solution without a counterpart stands alone.
struct ComparedPair {
  std::string title;          // "解 1", "解 2 (仅 IF97)", …
  int ifc67 = -1, if97 = -1;  // indexes into the answers' solutions, −1: none
  bool phaseDiffers = false;
  std::vector<ComparedRow> rows;  // the quantities, then the state text
};

struct Comparison {
  Units units;  // of every value and caption below
  Answer ifc67, if97;
  std::vector<ComparedPair> pairs;
  std::vector<std::string> notes;  // under the table: phases that differ, reasons, warnings
};

// Both formulations for the request (its formulation field is ignored), the values, Δ and Δ% in
// `units` (Δ% of the IFC-67 value as shown).
Comparison Compare(const Request& request, const Units& units = {});

// The request in words: "任意状态水或水蒸汽，温度和焓：计算点温度 100 ℃，计算点焓 420 kJ/kg".
std::string Describe(const Request& request);

// The comparison as a table with captions and units, solution by solution, for copying and
// export; and as plain text with aligned columns for a terminal.
Table ComparisonTable(const Comparison& c);
std::string ComparisonText(const Comparison& c);

// The comparison as one line of fixed columns (kelm-calc --compare --tsv and --batch):
// for IFC-67 and then IF97 each p, t, h, s, v, x, state, solution count, ts, ps, t − ts, ρ, u,
// cp, cv, w, κ; then Δ of p, t, h, s, v, ρ, u (solution 1 of each); numbers with six decimals,
// "—" where none. p, t, h, s and the extras are in the comparison's units; v stays the specific
// volume and rho the density, as the columns say.
std::string ComparisonTsv(const Comparison& c);
std::string ComparisonTsvHeader();

}  // namespace calc
