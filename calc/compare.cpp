#include "calc/compare.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace calc {
namespace {

std::string Fixed(double value, int decimals = 6) {
  if (!std::isfinite(value)) return "—";
  // A difference that rounds to nothing shows no sign.
  const std::string printed = FormatFixed(value, decimals);
  return printed.find_first_not_of("-0.") == std::string::npos && printed[0] == '-'
             ? printed.substr(1)
             : printed;
}

std::string G(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

const char* PhaseWord(Phase phase) {
  switch (phase) {
    case Phase::Water: return "不饱和水";
    case Phase::Wet: return "饱和水或饱和蒸汽或湿蒸汽";
    case Phase::Steam: return "过热蒸汽";
    case Phase::Supercritical: return "超临界";
    default: return "未知";
  }
}

// Solutions of the two answers paired: each IFC-67 solution with the unpaired IF97 solution of the
// same phase nearest in ln p, or failing that the nearest of any phase; then the IF97 solutions
// left over.
std::vector<std::pair<int, int>> Pair(const Answer& a, const Answer& b) {
  std::vector<std::pair<int, int>> pairs;
  std::vector<bool> taken(b.solutions.size(), false);
  const bool bothFine = !a.failed && !b.failed;
  for (std::size_t i = 0; i < a.solutions.size(); ++i) {
    int best = -1;
    double bestScore = INFINITY;
    for (std::size_t j = 0; bothFine && j < b.solutions.size(); ++j) {
      if (taken[j]) continue;
      const double distance = std::fabs(std::log(a.solutions[i].p / b.solutions[j].p));
      const double score = (a.solutions[i].phase == b.solutions[j].phase ? 0 : 100) +
                           (std::isfinite(distance) ? distance : 50);
      if (score < bestScore) {
        bestScore = score;
        best = int(j);
      }
    }
    if (best >= 0) taken[best] = true;
    pairs.push_back({int(i), best});
  }
  for (std::size_t j = 0; j < b.solutions.size(); ++j)
    if (!taken[j]) pairs.push_back({-1, int(j)});
  return pairs;
}

}  // namespace

const std::vector<Quantity>& ComparedQuantities() {
  using K = QuantityKind;
  static const std::vector<Quantity> quantities = {
      {"压力 MPa", [](const Solution& s) { return s.p; }, true, K::Pressure},
      {"温度 ℃", [](const Solution& s) { return s.t; }, true, K::Temperature},
      {"焓 kJ/kg", [](const Solution& s) { return s.h; }, true, K::Energy},
      {"熵 kJ/(kg·K)", [](const Solution& s) { return s.s; }, true, K::Entropy},
      {"比容 m³/kg", [](const Solution& s) { return s.v; }, true, K::Volume},
      {"干度", [](const Solution& s) { return s.x >= 0 ? s.x : NAN; }, false, K::Plain},
      {"饱和温度 ℃", [](const Solution& s) { return s.extra.tsat; }, true, K::Temperature},
      {"饱和压力 MPa", [](const Solution& s) { return s.extra.psat; }, true, K::Pressure},
      {"过热度 ℃",
       [](const Solution& s) { return s.extra.superheat > 0 ? s.extra.superheat : NAN; }, false,
       K::TemperatureDifference},
      {"过冷度 ℃",
       [](const Solution& s) { return s.extra.superheat < 0 ? -s.extra.superheat : NAN; }, false,
       K::TemperatureDifference},
      {"密度 kg/m³", [](const Solution& s) { return s.extra.rho; }, true, K::Density},
      {"内能 kJ/kg", [](const Solution& s) { return s.extra.u; }, true, K::Energy},
      {"定压比热 kJ/(kg·K)", [](const Solution& s) { return s.extra.cp; }, true, K::Entropy},
      {"定容比热 kJ/(kg·K)", [](const Solution& s) { return s.extra.cv; }, true, K::Entropy},
      {"声速 m/s", [](const Solution& s) { return s.extra.w; }, true, K::Plain},
      {"等熵指数", [](const Solution& s) { return s.extra.kappa; }, true, K::Plain},
  };
  return quantities;
}

std::string QuantityCaption(const Quantity& q, const Units& u) {
  const std::string caption = q.caption;
  const std::string name = caption.substr(0, caption.find(' '));
  switch (q.kind) {
    case QuantityKind::Pressure: return name + " " + PressureName(u);
    case QuantityKind::Temperature:
    case QuantityKind::TemperatureDifference: return name + " " + TemperatureName(u);
    case QuantityKind::Energy: return name + " " + EnthalpyName(u);
    case QuantityKind::Entropy: return name + " " + EntropyName(u);
    case QuantityKind::Volume: return VolumeCaption(u) + " " + VolumeName(u);
    case QuantityKind::Density: return u.volume == VolumeUnit::Density ? "比容 m³/kg" : caption;
    default: return caption;
  }
}

double QuantityValue(const Quantity& q, const Solution& s, const Units& u) {
  const double value = q.value(s);
  switch (q.kind) {
    case QuantityKind::Pressure: return PressureOut(value, u);
    case QuantityKind::Temperature: return TemperatureOut(value, u);
    case QuantityKind::Energy: return EnthalpyOut(value, u);
    case QuantityKind::Entropy: return EntropyOut(value, u);
    case QuantityKind::Volume: return VolumeOut(value, u);
    case QuantityKind::Density: return u.volume == VolumeUnit::Density ? 1 / value : value;
    default: return value;  // a temperature difference is the same in K and ℃
  }
}

std::string Describe(const Request& r) {
  const ModeRow* row = FindMode(r.item, r.mode);
  const ItemRow* item = FindItem(int(r.item));
  if (row == nullptr || item == nullptr) return {};
  std::string text = std::string(item->text) + "，" + row->text + "：";
  for (int i = 0; i < row->inputs; ++i)
    text += (i ? "，" : "") + std::string(row->input[i].label) + " " + G(r.in[i]) + " " +
            row->input[i].unit;
  return text;
}

Comparison Compare(const Request& request, const Units& units) {
  Comparison c;
  c.units = units;
  Request r = request;
  r.formulation = Formulation::IFC67;
  c.ifc67 = Calculate(r);
  r.formulation = Formulation::IF97;
  c.if97 = Calculate(r);
  const auto pairs = Pair(c.ifc67, c.if97);
  const bool bothFine = !c.ifc67.failed && !c.if97.failed;
  int number = 0;
  for (const auto& [i, j] : pairs) {
    ComparedPair pair;
    pair.ifc67 = c.ifc67.failed ? -1 : i;
    pair.if97 = j;
    // A failed IFC-67 answer keeps the form's sentinels: they are not compared.
    if (pair.ifc67 < 0 && pair.if97 < 0) continue;
    const Solution* a = pair.ifc67 >= 0 ? &c.ifc67.solutions[i] : nullptr;
    const Solution* b = pair.if97 >= 0 ? &c.if97.solutions[j] : nullptr;
    pair.title = "解 " + std::to_string(++number);
    if (bothFine && !a) pair.title += "（仅 IF97）";
    if (bothFine && !b) pair.title += "（仅 IFC-67）";
    pair.phaseDiffers = a && b && a->phase != b->phase;
    for (const Quantity& q : ComparedQuantities()) {
      ComparedRow row{QuantityCaption(q, units), a ? Fixed(QuantityValue(q, *a, units)) : "",
                      b ? Fixed(QuantityValue(q, *b, units)) : "", "", ""};
      if (a && b && q.difference) {
        const double x = QuantityValue(q, *a, units), y = QuantityValue(q, *b, units);
        row.delta = Fixed(y - x);
        row.percent = std::isfinite(y - x) && x != 0 ? Fixed(100 * (y - x) / std::fabs(x), 4) : "—";
      }
      pair.rows.push_back(row);
    }
    pair.rows.push_back({"状态", a ? a->state : "", b ? b->state : "", "", ""});
    if (pair.phaseDiffers) {
      const double ts = std::isfinite(b->extra.tsat) ? b->extra.tsat : a->extra.tsat;
      std::string note =
          pair.title + "：IFC-67 为" + PhaseWord(a->phase) + "，IF97 为" + PhaseWord(b->phase);
      if (std::isfinite(ts))
        note += "——该状态距饱和线仅 " + Fixed(std::fabs(a->t - ts), 4) + " " +
                TemperatureName(units) + "，两种公式的饱和线不同，相态随之不同";
      c.notes.push_back(note);
    }
    c.pairs.push_back(pair);
  }
  for (const auto& [answer, name] : {std::pair{&c.ifc67, "IFC-67"}, std::pair{&c.if97, "IF97"}})
    for (const std::string& reason : answer->reasons)
      c.notes.push_back(std::string(name) + (answer->failed ? " 计算失败：" : "：") + reason);
  // A warning both formulations give is said once.
  for (const std::string& warning : c.ifc67.warnings) {
    const bool both =
        std::find(c.if97.warnings.begin(), c.if97.warnings.end(), warning) != c.if97.warnings.end();
    c.notes.push_back((both ? "提示：" : "IFC-67 提示：") + warning);
  }
  for (const std::string& warning : c.if97.warnings)
    if (std::find(c.ifc67.warnings.begin(), c.ifc67.warnings.end(), warning) ==
        c.ifc67.warnings.end())
      c.notes.push_back("IF97 提示：" + warning);
  return c;
}

Table ComparisonTable(const Comparison& c) {
  Table table;
  table.captions = {"量", "IFC-67", "IF97", "Δ = IF97 − IFC-67", "Δ %"};
  for (const ComparedPair& pair : c.pairs) {
    table.rows.push_back(
        {Cell::Text(pair.title), Cell::Text(""), Cell::Text(""), Cell::Text(""), Cell::Text("")});
    for (const ComparedRow& row : pair.rows) {
      auto cell = [](const std::string& text) {
        char* end = nullptr;
        const double value = std::strtod(text.c_str(), &end);
        return !text.empty() && end && *end == '\0' ? Cell{text, value} : Cell::Text(text);
      };
      table.rows.push_back({Cell::Text(row.caption), cell(row.ifc67), cell(row.if97),
                            cell(row.delta), cell(row.percent)});
    }
  }
  for (const std::string& note : c.notes)
    table.rows.push_back(
        {Cell::Text(note), Cell::Text(""), Cell::Text(""), Cell::Text(""), Cell::Text("")});
  return table;
}

std::string ComparisonText(const Comparison& c) {
  std::string text = "IFC-67 与 IF97 对比：" + Describe(c.ifc67.request) + "\n";
  const int widths[5] = {20, 18, 18, 20, 10};
  for (const ComparedPair& pair : c.pairs) {
    const std::string head[5] = {pair.title, "IFC-67", "IF97", "IF97 − IFC-67", "Δ %"};
    std::string row;
    for (int k = 0; k < 5; ++k) row += PadToWidth(head[k], widths[k]);
    text += row.substr(0, row.find_last_not_of(' ') + 1) + "\n";
    for (const ComparedRow& r : pair.rows) {
      const std::string cells[5] = {r.caption, r.ifc67, r.if97, r.delta, r.percent};
      row.clear();
      // A text wider than its column still leaves two blanks before the next.
      for (int k = 0; k < 5; ++k)
        row += PadToWidth(cells[k], std::max(widths[k], DisplayWidth(cells[k]) + 2));
      text += row.substr(0, row.find_last_not_of(' ') + 1) + "\n";
    }
  }
  for (const std::string& note : c.notes) text += note + "\n";
  return text;
}

std::string ComparisonTsvHeader() {
  std::string header;
  for (const char* f : {"ifc67", "if97"})
    for (const char* q : {"p", "t", "h", "s", "v", "x", "state", "solutions", "ts", "ps",
                          "t_minus_ts", "rho", "u", "cp", "cv", "w", "kappa"})
      header += std::string(header.empty() ? "" : "\t") + f + "_" + q;
  for (const char* q : {"p", "t", "h", "s", "v", "rho", "u"}) header += std::string("\td_") + q;
  return header;
}

std::string ComparisonTsv(const Comparison& c) {
  const Units& u = c.units;
  std::string line;
  auto add = [&](const std::string& field) { line += (line.empty() ? "" : "\t") + field; };
  const Solution* first[2] = {nullptr, nullptr};
  const Answer* answers[2] = {&c.ifc67, &c.if97};
  for (int k = 0; k < 2; ++k) {
    const Answer& a = *answers[k];
    const Solution* s = !a.failed && !a.solutions.empty() ? &a.solutions[0] : nullptr;
    first[k] = s;
    auto num = [&](double value) { add(s ? Fixed(value) : "—"); };
    num(s ? PressureOut(s->p, u) : NAN);
    num(s ? TemperatureOut(s->t, u) : NAN);
    num(s ? EnthalpyOut(s->h, u) : NAN);
    num(s ? EntropyOut(s->s, u) : NAN);
    num(s ? s->v : NAN);
    num(s && s->x >= 0 ? s->x : NAN);
    add(s ? s->state : a.failed ? "计算或参数有误" : "未知");
    add(std::to_string(a.failed ? 0 : a.solutions.size()));
    for (double e :
         {s ? TemperatureOut(s->extra.tsat, u) : NAN, s ? PressureOut(s->extra.psat, u) : NAN,
          s ? s->extra.superheat : NAN, s ? s->extra.rho : NAN,
          s ? EnthalpyOut(s->extra.u, u) : NAN, s ? EntropyOut(s->extra.cp, u) : NAN,
          s ? EntropyOut(s->extra.cv, u) : NAN, s ? s->extra.w : NAN, s ? s->extra.kappa : NAN})
      add(Fixed(e));
  }
  const Solution *a = first[0], *b = first[1];
  auto delta = [&](double (*get)(const Solution&, const Units&)) {
    add(a && b ? Fixed(get(*b, u) - get(*a, u)) : "—");
  };
  delta([](const Solution& s, const Units& units) { return PressureOut(s.p, units); });
  delta([](const Solution& s, const Units& units) { return TemperatureOut(s.t, units); });
  delta([](const Solution& s, const Units& units) { return EnthalpyOut(s.h, units); });
  delta([](const Solution& s, const Units& units) { return EntropyOut(s.s, units); });
  delta([](const Solution& s, const Units&) { return s.v; });
  delta([](const Solution& s, const Units&) { return s.extra.rho; });
  delta([](const Solution& s, const Units& units) { return EnthalpyOut(s.extra.u, units); });
  return line;
}

}  // namespace calc
