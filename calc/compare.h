// IFC-67 beside IF97 for one request: a table of quantities with both values, their difference
// and the difference in per cent, solution by solution, and what a reader must know about it
// (a phase that differs, a failure's reason). The comparison window, kelm-calc --compare and its
// tests all print this one table.
#pragma once

#include <string>
#include <vector>

#include "calc/calc.h"
#include "calc/table.h"

namespace calc {

// One compared quantity: its caption with the unit, and its value in a solution (NaN where it
// does not exist).
struct Quantity {
  const char* caption;  // "压力 MPa", "饱和温度 ℃", "定压比热 kJ/(kg·K)", …
  double (*value)(const Solution&);
  bool difference;  // Δ and Δ% make sense (not for the dryness or the distance from the line)
};
const std::vector<Quantity>& ComparedQuantities();

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
  Answer ifc67, if97;
  std::vector<ComparedPair> pairs;
  std::vector<std::string> notes;  // under the table: phases that differ, reasons, warnings
};

// Both formulations for the request (its formulation field is ignored).
Comparison Compare(const Request& request);

// The request in words: "任意状态水或水蒸汽，温度和焓：计算点温度 100 ℃，计算点焓 420 kJ/kg".
std::string Describe(const Request& request);

// The comparison as a table with captions and units, solution by solution, for copying and
// export; and as plain text with aligned columns for a terminal.
Table ComparisonTable(const Comparison& c);
std::string ComparisonText(const Comparison& c);

// The comparison as one line of fixed columns (kelm-calc --compare --tsv and --batch):
// for IFC-67 and then IF97 each p, t, h, s, v, x, state, solution count, ts, ps, t − ts, ρ, u,
// cp, cv, w, κ; then Δ of p, t, h, s, v, ρ, u (solution 1 of each); numbers with six decimals,
// "—" where none.
std::string ComparisonTsv(const Comparison& c);
std::string ComparisonTsvHeader();

}  // namespace calc
