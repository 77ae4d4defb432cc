#include "calc/steamtable.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <functional>

#include "calc/points.h"
#include "calc/quantity.h"

namespace calc {
namespace {

// ---------------------------------------------------------------- the request

double Count(const Series& s) {
  if (!s.IsRange()) return double(s.list.size());
  return std::floor((s.to - s.from) / s.step + 1e-9) + 1;
}

// The values of a checked series; the last step lands on `to` itself when it reaches it within
// rounding, so that a range's end inside the formulation's range stays inside.
std::vector<double> Values(const Series& s) {
  if (!s.IsRange()) return s.list;
  const int n = int(Count(s));
  std::vector<double> values(n);
  for (int i = 0; i < n; ++i) values[i] = s.from + i * s.step;
  if (std::fabs(values.back() - s.to) <= 1e-9 * std::max(1.0, std::fabs(s.to)))
    values.back() = s.to;
  return values;
}

std::string Number(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

std::string CheckSeries(const Series& s, const std::string& name) {
  if (!s.IsRange()) {
    for (double v : s.list)
      if (!std::isfinite(v)) return name + "的列表中有不是有限数的值";
    return {};
  }
  if (std::isnan(s.from) && std::isnan(s.to) && std::isnan(s.step)) return "没有给出" + name;
  if (!std::isfinite(s.from) || !std::isfinite(s.to) || !std::isfinite(s.step))
    return name + "的起点、终点和步长须为有限数";
  if (s.step <= 0) return name + "的步长 " + Number(s.step) + " 须大于 0";
  if (s.from > s.to) return name + "的起点 " + Number(s.from) + " 高于终点 " + Number(s.to);
  return {};
}

// The formulation's range of a table kind, in ℃ and MPa.
struct Limits {
  double tLow, tHigh, pLow, pHigh;
};
Limits RangeOf(Formulation f, bool saturation) {
  if (f == Formulation::IF97)
    return saturation ? Limits{0, 373.946, 0.000611212677, 22.064} : Limits{0, 2000, 1e-6, 100};
  return saturation ? Limits{0.01, 374.15, 0.0007, 22.12} : Limits{0.01, 800, 0.0007, 100};
}
Limits CommonRange(const TableRequest& r) {
  const bool saturation = r.kind != TableKind::PressureTemperature;
  const Limits a = RangeOf(Formulation::IFC67, saturation),
               b = RangeOf(Formulation::IF97, saturation);
  if (!r.compare) return RangeOf(r.formulation, saturation);
  return {std::max(a.tLow, b.tLow), std::min(a.tHigh, b.tHigh), std::max(a.pLow, b.pLow),
          std::min(a.pHigh, b.pHigh)};
}
// IF97 above 800 ℃ reaches 50 MPa only.
constexpr double kIf97HotT = 800, kIf97HotP = 50;

std::string RangeName(const TableRequest& r) {
  return r.compare ? "IFC-67 与 IF97 共同" : FormulationName(r.formulation);
}

// The series in the engine's units, each value checked against [low, high] and pulled onto a
// bound it misses only by rounding (a unit's conversion); or why a value is outside.
bool ToEngine(const std::vector<double>& given, Quantity q, double low, double high,
              const TableRequest& r, const char* name, std::vector<double>& out,
              std::string& error) {
  out.clear();
  const Units& u = r.units;
  for (double value : given) {
    const std::optional<double> in = In(q, value, u);
    if (!in) {
      error = std::string(name) + " " + Number(value) + " " + UnitName(q, u) + " 低于绝对零压";
      return false;
    }
    double v = *in;
    const double slack = 1e-9 * std::max(1.0, std::fabs(v));
    if (v < low && v >= low - slack) v = low;
    if (v > high && v <= high + slack) v = high;
    if (!(v >= low && v <= high)) {
      error = std::string(name) + " " + Number(value) + " " + UnitName(q, u) + " 超出适用范围 " +
              Number(Out(q, low, u)) + "–" + Number(Out(q, high, u)) + " " + UnitName(q, u) + "（" +
              RangeName(r) + "）";
      return false;
    }
    out.push_back(v);
  }
  return true;
}

// ---------------------------------------------------------------- the columns

struct Computed {
  SaturationPair sat;
  Point pt;
  Status status = Status::Ok;
};

struct Column {
  std::string caption;
  Quantity q;
  const char* fixedUnit;  // a unit the units do not change (kg/m³ of ρ, m/s), or null
  std::function<double(const Computed&)> value;
  bool state = false;  // the state text of a p × t point
};

bool Significant(const Column& c) {
  return c.q == Quantity::Volume || (c.fixedUnit && std::string(c.fixedUnit) == "kg/m³");
}

std::string CaptionOf(const Column& c, const Units& u) {
  const std::string unit = c.fixedUnit ? c.fixedUnit : UnitName(c.q, u);
  return unit.empty() ? c.caption : c.caption + " " + unit;
}

// An extra quantity's caption, quantity, fixed unit and value of a point.
struct ExtraColumn {
  Quantity q;
  const char* fixedUnit;
  double (*value)(const Point&);
};
ExtraColumn ExtraOf(TableExtra e) {
  switch (e) {
    case TableExtra::Density:
      return {Quantity::Dryness, "kg/m³", [](const Point& p) { return p.rho; }};
    case TableExtra::InternalEnergy:
      return {Quantity::Enthalpy, nullptr, [](const Point& p) { return p.u; }};
    case TableExtra::Cp: return {Quantity::Entropy, nullptr, [](const Point& p) { return p.cp; }};
    case TableExtra::Cv: return {Quantity::Entropy, nullptr, [](const Point& p) { return p.cv; }};
    case TableExtra::SoundSpeed:
      return {Quantity::Dryness, "m/s", [](const Point& p) { return p.w; }};
    case TableExtra::Kappa:
      return {Quantity::Dryness, nullptr, [](const Point& p) { return p.kappa; }};
    case TableExtra::SatTemperature:
      return {Quantity::Temperature, nullptr, [](const Point& p) { return p.tsat; }};
    case TableExtra::Superheat:
      return {Quantity::TemperatureDifference, nullptr, [](const Point& p) { return p.superheat; }};
  }
  return {Quantity::Dryness, nullptr, [](const Point&) { return double(NAN); }};
}

const char* ExtraCaption(TableExtra e) {
  for (const TableExtraName& n : TableExtraNames())
    if (n.extra == e) return n.caption;
  return "";
}

std::vector<Column> Columns(const TableRequest& r) {
  const Units& u = r.units;
  std::vector<Column> c;
  const bool density = u.volume == VolumeUnit::Density;
  if (r.kind == TableKind::PressureTemperature) {
    c.push_back({"焓 h", Quantity::Enthalpy, nullptr, [](const Computed& x) { return x.pt.h; }});
    c.push_back({"熵 s", Quantity::Entropy, nullptr, [](const Computed& x) { return x.pt.s; }});
    c.push_back({density ? "密度 ρ" : "比容 v", Quantity::Volume, nullptr,
                 [](const Computed& x) { return x.pt.v; }});
    c.push_back({"状态", Quantity::Dryness, nullptr, nullptr, true});
    for (TableExtra e : r.extras) {
      const ExtraColumn x = ExtraOf(e);
      c.push_back({ExtraCaption(e), x.q, x.fixedUnit,
                   [f = x.value](const Computed& k) { return f(k.pt); }});
    }
    return c;
  }
  if (r.kind == TableKind::SaturationByTemperature)
    c.push_back(
        {"压力 p", Quantity::Pressure, nullptr, [](const Computed& x) { return x.sat.liquid.p; }});
  else
    c.push_back({"温度 t", Quantity::Temperature, nullptr,
                 [](const Computed& x) { return x.sat.liquid.t; }});
  c.push_back(
      {"焓 h'", Quantity::Enthalpy, nullptr, [](const Computed& x) { return x.sat.liquid.h; }});
  c.push_back(
      {"焓 h''", Quantity::Enthalpy, nullptr, [](const Computed& x) { return x.sat.vapour.h; }});
  c.push_back({"汽化潜热 r", Quantity::Enthalpy, nullptr,
               [](const Computed& x) { return x.sat.vapour.h - x.sat.liquid.h; }});
  c.push_back(
      {"熵 s'", Quantity::Entropy, nullptr, [](const Computed& x) { return x.sat.liquid.s; }});
  c.push_back(
      {"熵 s''", Quantity::Entropy, nullptr, [](const Computed& x) { return x.sat.vapour.s; }});
  c.push_back({density ? "密度 ρ'" : "比容 v'", Quantity::Volume, nullptr,
               [](const Computed& x) { return x.sat.liquid.v; }});
  c.push_back({density ? "密度 ρ''" : "比容 v''", Quantity::Volume, nullptr,
               [](const Computed& x) { return x.sat.vapour.v; }});
  for (TableExtra e : r.extras) {
    const ExtraColumn x = ExtraOf(e);
    const std::string name = ExtraCaption(e);
    c.push_back({name + " '", x.q, x.fixedUnit,
                 [f = x.value](const Computed& k) { return f(k.sat.liquid); }});
    c.push_back({name + " ''", x.q, x.fixedUnit,
                 [f = x.value](const Computed& k) { return f(k.sat.vapour); }});
  }
  return c;
}

// The key columns: the given temperature or pressure, or both for p × t.
int KeyColumns(const TableRequest& r) { return r.kind == TableKind::PressureTemperature ? 2 : 1; }

int ColumnCount(const TableRequest& r, const std::vector<Column>& columns) {
  int count = KeyColumns(r);
  for (const Column& c : columns) count += r.compare ? (c.state ? 2 : 3) : 1;
  return count;
}

// ---------------------------------------------------------------- the cells

// A number with seven significant digits (specific volumes span 0.001 to 2000 m³/kg).
int SignificantDecimals(double value) {
  const int magnitude = value == 0 ? 0 : int(std::floor(std::log10(std::fabs(value))));
  return std::clamp(6 - magnitude, 0, 12);
}

// A number with its decimals; one that rounds to zero shows no sign (IFC-67's s' at 0.01 ℃ is
// −2e-8).
Cell Fixed(double value, int decimals) {
  Cell cell = Cell::Number(value, decimals);
  if (cell.text.find_first_not_of("-0.") == std::string::npos && cell.text[0] == '-')
    cell.text.erase(0, 1);
  return cell;
}

// The fewest decimals (up to six) that show every given key value as it was given.
int KeyDecimals(const std::vector<double>& values) {
  for (int d = 0; d < 6; ++d) {
    const double scale = std::pow(10.0, d);
    const bool exact = std::all_of(values.begin(), values.end(), [&](double v) {
      return std::fabs(std::round(v * scale) / scale - v) <= 1e-9 * std::max(1.0, std::fabs(v));
    });
    if (exact) return d;
  }
  return 6;
}

Cell ValueCell(const Column& c, double value, const Units& u) {
  if (!std::isfinite(value)) return Cell::Text("—");
  const double shown = c.fixedUnit ? value : Out(c.q, value, u);
  return Fixed(shown, Significant(c) ? SignificantDecimals(shown) : 6);
}

Computed Compute(Formulation f, const TableRequest& r, double a, double b, Detail detail) {
  Computed x;
  switch (r.kind) {
    case TableKind::SaturationByTemperature:
      x.sat = SaturationByT(f, a);
      x.status = x.sat.status;
      break;
    case TableKind::SaturationByPressure:
      x.sat = SaturationByP(f, a);
      x.status = x.sat.status;
      break;
    case TableKind::PressureTemperature:
      x.pt = StateFromPT(f, a, b, detail);
      x.status = x.pt.status;
      break;
  }
  return x;
}

}  // namespace

bool ParseNumber(const std::string& text, double& value) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') ++first;
  const auto [end, ec] = std::from_chars(first, last, value);
  return ec == std::errc() && end == last && std::isfinite(value);
}

const std::vector<TableExtraName>& TableExtraNames() {
  static const std::vector<TableExtraName> names = {
      {TableExtra::Density, "rho", "密度"},
      {TableExtra::InternalEnergy, "u", "内能"},
      {TableExtra::Cp, "cp", "定压比热"},
      {TableExtra::Cv, "cv", "定容比热"},
      {TableExtra::SoundSpeed, "w", "声速"},
      {TableExtra::Kappa, "kappa", "等熵指数"},
      {TableExtra::SatTemperature, "ts", "饱和温度"},
      {TableExtra::Superheat, "dt", "过热度"},
  };
  return names;
}

bool ParseTableExtras(const std::string& text, std::vector<TableExtra>& out, std::string& error) {
  out.clear();
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string key = text.substr(start, comma - start);
    const auto& names = TableExtraNames();
    const auto it = std::find_if(names.begin(), names.end(),
                                 [&](const TableExtraName& n) { return key == n.key; });
    if (it == names.end()) {
      error = "unknown quantity \"" + key + "\" (rho, u, cp, cv, w, kappa, ts, dt)";
      return false;
    }
    if (std::find(out.begin(), out.end(), it->extra) == out.end()) out.push_back(it->extra);
    start = comma + 1;
  }
  return true;
}

bool ParseSeries(const std::string& text, Series& out, std::string& error) {
  std::vector<std::string> fields;
  const bool range = text.find(':') != std::string::npos;
  // Separators of a list: commas, semicolons (also the full-width ones) and white space.
  std::string normal;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 3, "，") == 0 || text.compare(i, 3, "；") == 0) {
      normal += ' ';
      i += 2;
    } else {
      const char c = text[i];
      normal += (c == ',' || c == ';' || c == '\t' || c == '\n' || c == '\r') ? ' ' : c;
    }
  }
  if (range) {
    std::size_t start = 0;
    while (true) {
      const std::size_t colon = normal.find(':', start);
      std::string field = normal.substr(start, colon == std::string::npos ? colon : colon - start);
      field.erase(0, field.find_first_not_of(' '));
      field.erase(field.find_last_not_of(' ') + 1);
      fields.push_back(field);
      if (colon == std::string::npos) break;
      start = colon + 1;
    }
  } else {
    std::size_t start = 0;
    while ((start = normal.find_first_not_of(' ', start)) != std::string::npos) {
      const std::size_t end = std::min(normal.find(' ', start), normal.size());
      fields.push_back(normal.substr(start, end - start));
      start = end;
    }
  }
  std::vector<double> values;
  for (const std::string& f : fields) {
    double v = 0;
    if (!ParseNumber(f, v)) {
      error = "\"" + f + "\" 不是数";
      return false;
    }
    values.push_back(v);
  }
  if (range && values.size() != 3) {
    error = "\"" + text + "\" 须为 起点:终点:步长";
    return false;
  }
  if (values.empty()) {
    error = "没有数值";
    return false;
  }
  out = range ? Series::Range(values[0], values[1], values[2]) : Series::List(values);
  return true;
}

std::string TableTitle(TableKind kind) {
  switch (kind) {
    case TableKind::SaturationByTemperature: return "饱和水与饱和蒸汽表（按温度）";
    case TableKind::SaturationByPressure: return "饱和水与饱和蒸汽表（按压力）";
    default: return "未饱和水与过热蒸汽表";
  }
}

std::string CheckTableRequest(const TableRequest& r) {
  const bool pt = r.kind == TableKind::PressureTemperature;
  const bool byT = r.kind == TableKind::SaturationByTemperature;
  const char* firstName = byT ? "温度" : "压力";
  if (std::string e = CheckSeries(r.first, firstName); !e.empty()) return e;
  if (pt)
    if (std::string e = CheckSeries(r.second, "温度"); !e.empty()) return e;
  for (TableExtra e : r.extras)
    if (!pt && (e == TableExtra::SatTemperature || e == TableExtra::Superheat))
      return std::string("“") + ExtraCaption(e) + "”只用于未饱和水与过热蒸汽表";
  const double rows = Count(r.first) * (pt ? Count(r.second) : 1);
  const double columns = ColumnCount(r, Columns(r));
  if (rows * columns > kMaxTableCells) {
    char text[200];
    std::snprintf(
        text, sizeof text,
        "表格共 %.0f 个单元格（%.0f 行 × %.0f 列），超过上限 %.0f 个；请加大步长或缩小范围",
        rows * columns, rows, columns, kMaxTableCells);
    return text;
  }
  const Limits l = CommonRange(r);
  std::vector<double> first, second;
  std::string error;
  if (!ToEngine(Values(r.first), byT ? Quantity::Temperature : Quantity::Pressure,
                byT ? l.tLow : l.pLow, byT ? l.tHigh : l.pHigh, r, firstName, first, error))
    return error;
  if (!pt) return {};
  if (!ToEngine(Values(r.second), Quantity::Temperature, l.tLow, l.tHigh, r, "温度", second, error))
    return error;
  // IF97 alone reaches 2000 ℃, but above 800 ℃ only up to 50 MPa.
  const bool hot =
      std::any_of(second.begin(), second.end(), [](double t) { return t > kIf97HotT; });
  for (std::size_t i = 0; hot && i < first.size(); ++i) {
    if (first[i] > kIf97HotP) {
      const Units& u = r.units;
      return "压力 " + Show(Quantity::Pressure, first[i], u) + " 超出适用范围：" +
             Show(Quantity::Temperature, kIf97HotT, u) + " 以上只到 " +
             Show(Quantity::Pressure, kIf97HotP, u) + "（IF97）";
    }
  }
  return {};
}

bool MakeSteamTable(const TableRequest& r, SteamTable& out, std::string& error) {
  error = CheckTableRequest(r);
  if (!error.empty()) return false;
  out = {};
  out.title = TableTitle(r.kind);
  const Units& u = r.units;
  const bool pt = r.kind == TableKind::PressureTemperature;
  const bool byT = r.kind == TableKind::SaturationByTemperature;
  const std::vector<Column> columns = Columns(r);
  const Limits l = CommonRange(r);
  // The given values as shown (the user's units) and as computed (the engine's).
  const std::vector<double> shownA = Values(r.first),
                            shownB = pt ? Values(r.second) : std::vector<double>{NAN};
  std::vector<double> a, b{NAN};
  ToEngine(shownA, byT ? Quantity::Temperature : Quantity::Pressure, byT ? l.tLow : l.pLow,
           byT ? l.tHigh : l.pHigh, r, "", a, error);
  if (pt) ToEngine(shownB, Quantity::Temperature, l.tLow, l.tHigh, r, "", b, error);
  const int decimalsA = KeyDecimals(shownA), decimalsB = pt ? KeyDecimals(shownB) : 0;

  const Quantity keyA = byT ? Quantity::Temperature : Quantity::Pressure;
  const std::string keyCaption = byT ? "温度 t" : "压力 p";
  out.table.captions.push_back(keyCaption + " " + UnitName(keyA, u));
  if (pt) out.table.captions.push_back("温度 t " + UnitName(Quantity::Temperature, u));
  std::vector<Formulation> used = {r.formulation};
  if (r.compare) used = {Formulation::IFC67, Formulation::IF97};
  for (const Column& c : columns) {
    const std::string caption = CaptionOf(c, u);
    if (!r.compare) {
      out.table.captions.push_back(caption);
      continue;
    }
    out.table.captions.push_back(caption + " IFC-67");
    out.table.captions.push_back(caption + " IF97");
    if (!c.state) out.table.captions.push_back(caption + " Δ");
  }

  const bool full = std::any_of(r.extras.begin(), r.extras.end(), [](TableExtra e) {
    return e == TableExtra::SatTemperature || e == TableExtra::Superheat;
  });
  for (std::size_t i = 0; i < a.size(); ++i) {
    for (std::size_t j = 0; j < b.size(); ++j) {
      std::vector<Cell> row{Cell::Number(shownA[i], decimalsA)};
      if (pt) row.push_back(Cell::Number(shownB[j], decimalsB));
      std::vector<Computed> x;
      for (Formulation f : used) {
        x.push_back(Compute(f, r, a[i], b[j], full ? Detail::Full : Detail::State));
        if (x.back().status != Status::Ok) {
          std::string key = row[0].text + " " + UnitName(keyA, u);
          if (pt) key += "，" + row[1].text + " " + UnitName(Quantity::Temperature, u);
          out.notes.push_back(key + "：" + FormulationName(f) + " " + Explain(x.back().status));
        }
      }
      for (const Column& c : columns) {
        std::vector<double> values;
        for (const Computed& k : x) {
          const bool ok = k.status == Status::Ok;
          if (c.state) {
            row.push_back(Cell::Text(ok ? FormTexts(k.pt).state : "—"));
            continue;
          }
          values.push_back(ok ? c.value(k) : NAN);
          row.push_back(ValueCell(c, values.back(), u));
        }
        if (r.compare && !c.state) {
          auto shown = [&](double v) { return c.fixedUnit ? v : Out(c.q, v, u); };
          const double d = shown(values[1]) - shown(values[0]);
          // Δ to the decimals of the values it is the difference of.
          if (!std::isfinite(d))
            row.push_back(Cell::Text("—"));
          else if (Significant(c))
            row.push_back(Fixed(d, std::max(SignificantDecimals(shown(values[0])),
                                            SignificantDecimals(shown(values[1])))));
          else
            row.push_back(Fixed(d, 6));
        }
      }
      out.table.rows.push_back(std::move(row));
    }
  }
  error.clear();
  return true;
}

}  // namespace calc
