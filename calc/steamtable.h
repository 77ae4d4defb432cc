// Steam tables in the steps the engineer chooses: saturated water and steam by temperature or by
// pressure, and compressed water and superheated steam over a pressure list × a temperature list;
// p, t, h, s, v and the extra quantities picked, in one formulation or both with Δ. A request is
// checked whole (its size, its steps, every value against the formulation's range) before
// anything is computed.
#pragma once

#include <string>
#include <vector>

#include "calc/calc.h"
#include "calc/table.h"
#include "calc/units.h"

namespace calc {

enum class TableKind { SaturationByTemperature, SaturationByPressure, PressureTemperature };

// Quantities beyond p, t, h, s, v. A saturation table shows each for the water and the steam;
// the saturation temperature and the superheat belong to the p × t table only. cp, cv, w and κ
// are IF97's ("—" in IFC-67).
enum class TableExtra {
  Density,
  InternalEnergy,
  Cp,
  Cv,
  SoundSpeed,
  Kappa,
  SatTemperature,
  Superheat
};
struct TableExtraName {
  TableExtra extra;
  const char* key;      // on the command line: rho, u, cp, cv, w, kappa, ts, dt
  const char* caption;  // 密度, 内能, …
};
const std::vector<TableExtraName>& TableExtraNames();
// "rho,u,cp" → the extras; false with a message naming the unknown key.
bool ParseTableExtras(const std::string& text, std::vector<TableExtra>& out, std::string& error);

// The values of one axis: from, to (≥ from) with a step > 0, the last value `to` itself when the
// steps reach it within rounding; or a list.
struct Series {
  std::vector<double> list;
  double from = NAN, to = NAN, step = NAN;
  bool IsRange() const { return list.empty(); }
  static Series Range(double from, double to, double step) { return {{}, from, to, step}; }
  static Series List(std::vector<double> values) { return {std::move(values)}; }
};
// "FROM:TO:STEP", or a list of numbers between commas, semicolons or blanks (as pasted from a
// spreadsheet); false with a message for anything else.
bool ParseSeries(const std::string& text, Series& out, std::string& error);

// A whole number in C syntax ("-0.2", "+1e3"), nothing around it, finite; false for anything
// else. The series and the tool commands read their numbers with it.
bool ParseNumber(const std::string& text, double& value);

inline constexpr double kMaxTableCells = 200000;

struct TableRequest {
  TableKind kind = TableKind::SaturationByTemperature;
  Series first;   // the temperatures, or the pressures (saturation by pressure, p × t)
  Series second;  // the temperatures of the p × t table
  std::vector<TableExtra> extras;
  Formulation formulation = Formulation::IFC67;
  bool compare = false;  // both formulations, and Δ = IF97 − IFC-67
  Units units;           // of the series and of the table
};

// "饱和水与饱和蒸汽表（按温度）", "饱和水与饱和蒸汽表（按压力）", "未饱和水与过热蒸汽表".
std::string TableTitle(TableKind kind);

// Why the request cannot be computed, or empty: a bad step or range, an empty list, an extra
// that does not belong, more than kMaxTableCells cells, a value outside the formulation's range
// (both formulations' common range with `compare`).
std::string CheckTableRequest(const TableRequest& request);

struct SteamTable {
  std::string title;
  Table table;
  std::vector<std::string> notes;  // a row a formulation could not compute, with the reason
};

// Checks the request, then computes every row. False with the check's message.
bool MakeSteamTable(const TableRequest& request, SteamTable& out, std::string& error);

}  // namespace calc
