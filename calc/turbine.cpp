#include "calc/turbine.h"

#include <cstdio>

#include "calc/quantity.h"

namespace calc {
namespace {

// An input as a sentence names it: its label, its quantity and value; `saturation` when its
// range is the saturation line's.
struct Named {
  std::string label;
  Quantity q;
  double value;
  bool saturation = false;
};

// Why a point failed: the failed check names the pressure, or the other input of the point
// (temperature, enthalpy or entropy), with the limit where the formulation gives one.
std::string Why(Status status, double limit, const Named& p, const Named& other, const Units& u) {
  auto beyond = [&](const Named& n, bool low, const std::string& what) {
    std::string s = n.label + " " + Show(n.q, n.value, u) + (low ? " 低于" : " 高于") + what;
    if (std::isfinite(limit)) s += " " + Show(n.q, limit, u);
    return s;
  };
  auto bound = [](const Named& n, bool low) {
    return std::string(n.saturation ? "饱和线的" : "适用") + (low ? "下限" : "上限");
  };
  switch (status) {
    case Status::TemperatureLow: return beyond(other, true, bound(other, true));
    case Status::TemperatureHigh: return beyond(other, false, bound(other, false));
    case Status::PressureLow: return beyond(p, true, bound(p, true));
    case Status::PressureHigh: return beyond(p, false, bound(p, false));
    case Status::EnthalpyLow:
    case Status::EntropyLow: return beyond(other, true, "该压力下可达到的最低值");
    case Status::EnthalpyHigh:
    case Status::EntropyHigh: return beyond(other, false, "该压力下可达到的最高值");
    default: return Explain(status);
  }
}

Named InletOther(const Inlet& in) {
  if (in.kind == InletKind::PressureEnthalpy) return {"进口焓", Quantity::Enthalpy, in.value};
  return {"进口温度", Quantity::Temperature, in.value};
}

// The inlet's state, or why it has none.
bool InletOrReason(Formulation f, const Inlet& in, const Units& u, Point& pt, std::string& reason) {
  pt = InletState(f, in);
  if (pt.status == Status::Ok) return true;
  const bool saturated = in.kind == InletKind::SaturatedSteam;
  reason = Why(pt.status, pt.limit, {"进口压力", Quantity::Pressure, in.p, saturated},
               InletOther(in), u);
  return false;
}

std::string Efficiency(double eta) {
  char text[48];
  std::snprintf(text, sizeof text, "%.6g", eta);
  return text;
}

// Overall figures of a computed chain.
void Overall(Formulation f, TurbineResult& r) {
  const SectionResult& last = r.sections.back();
  r.isentropicEnd = r.sections.size() == 1
                        ? last.expansion.isentropicEnd
                        : StateFromPS(f, last.expansion.end.p, r.inlet.s, Detail::Full);
  r.isentropicDrop = r.inlet.h - r.isentropicEnd.h;
  r.actualDrop = r.inlet.h - last.expansion.end.h;
  // One section's efficiency is its own, also where it has no drop to measure it by.
  r.eta = r.sections.size() == 1 ? last.eta
          : r.isentropicDrop > 0 ? r.actualDrop / r.isentropicDrop
                                 : NAN;
}

}  // namespace

Point InletState(Formulation f, const Inlet& in) {
  switch (in.kind) {
    case InletKind::PressureEnthalpy: return StateFromPH(f, in.p, in.value, Detail::Full);
    case InletKind::SaturatedSteam: {
      const SaturationPair sat = SaturationByP(f, in.p);
      if (sat.status != Status::Ok) {
        Point failed;
        failed.status = sat.status;
        failed.limit = sat.limit;
        return failed;
      }
      Point steam = sat.vapour;
      steam.tsat = steam.t;
      return steam;
    }
    default: return StateFromPT(f, in.p, in.value, Detail::Full);
  }
}

TurbineResult ExpandSections(Formulation f, const Inlet& inlet,
                             const std::vector<Section>& sections, const Units& u) {
  TurbineResult r;
  r.formulation = f;
  const int count = int(sections.size());
  if (count == 0) {
    r.reason = "没有分段：至少需要一段的末压力和效率";
    return r;
  }
  if (count > kMaxSections) {
    r.reason = "分段数 " + std::to_string(count) + " 超过上限 " + std::to_string(kMaxSections);
    return r;
  }
  if (!InletOrReason(f, inlet, u, r.inlet, r.reason)) return r;
  const bool chain = count > 1;
  Point start = r.inlet;
  for (int k = 0; k < count; ++k) {
    const Section& s = sections[k];
    const std::string n = std::to_string(k + 1);
    const std::string pLabel = chain ? "第 " + n + " 段末压力" : "出口压力";
    const std::string before = k == 0 ? "进口压力" : "第 " + std::to_string(k) + " 段末压力";
    const std::string etaLabel = chain ? "第 " + n + " 段效率" : "效率";
    if (!std::isfinite(s.p) || !std::isfinite(s.eta)) {
      r.reason = (chain ? "第 " + n + " 段：" : std::string()) + Explain(Status::NotFinite);
      return r;
    }
    if (!(s.eta > 0 && s.eta <= 1)) {
      r.reason = etaLabel + " " + Efficiency(s.eta) + " 超出 0 < η ≤ 1";
      return r;
    }
    if (s.p > start.p) {
      r.reason = pLabel + " " + Show(Quantity::Pressure, s.p, u) + " 高于" + before + " " +
                 Show(Quantity::Pressure, start.p, u) + "（膨胀的末压力不得高于始压力）";
      return r;
    }
    const Expansion e = ExpandFrom(f, start, s.p, s.eta, Detail::Full);
    if (e.status != Status::Ok) {
      const Named p{pLabel, Quantity::Pressure, s.p};
      if (e.isentropicEnd.status != Status::Ok)
        r.reason =
            Why(e.status, e.limit, p,
                {k == 0 ? "进口熵" : "第 " + n + " 段始点熵", Quantity::Entropy, start.s}, u);
      else
        r.reason = Why(e.status, e.limit, p,
                       {(chain ? "第 " + n + " 段" : std::string()) + "实际末点焓",
                        Quantity::Enthalpy, start.h - e.actualDrop},
                       u);
      r.sections.clear();
      return r;
    }
    r.sections.push_back({e, s.eta});
    start = e.end;
  }
  Overall(f, r);
  return r;
}

TurbineResult MeasuredEfficiency(Formulation f, const Inlet& inlet, const Outlet& outlet,
                                 const Units& u) {
  TurbineResult r;
  r.formulation = f;
  r.measured = true;
  if (!InletOrReason(f, inlet, u, r.inlet, r.reason)) return r;
  const double p2 = outlet.p;
  if (!std::isfinite(p2) || !std::isfinite(outlet.value)) {
    r.reason = Explain(Status::NotFinite);
    return r;
  }
  if (!(p2 < r.inlet.p)) {
    r.reason = "出口压力 " + Show(Quantity::Pressure, p2, u) + " 不低于进口压力 " +
               Show(Quantity::Pressure, r.inlet.p, u) + "（没有焓降，效率无定义）";
    return r;
  }
  const Named pOut{"出口压力", Quantity::Pressure, p2};
  Point end;
  Named other{"出口焓", Quantity::Enthalpy, outlet.value};
  switch (outlet.kind) {
    case OutletKind::PressureTemperature: {
      other = {"出口温度", Quantity::Temperature, outlet.value};
      // Below the critical pressure a wet outlet sits at ts(p2) whatever its dryness.
      const SaturationPair sat = SaturationByP(f, p2);
      if (sat.status == Status::Ok && outlet.value <= sat.vapour.t + kSaturationBand) {
        r.reason = "出口温度 " + Show(Quantity::Temperature, outlet.value, u) +
                   " 不高于出口压力下的饱和温度 " + Show(Quantity::Temperature, sat.vapour.t, u) +
                   "：出口为湿蒸汽（或水），其状态不能由压力和温度确定，请给出出口干度";
        return r;
      }
      end = StateFromPT(f, p2, outlet.value, Detail::Full);
      break;
    }
    case OutletKind::PressureDryness: {
      const double x = outlet.value;
      if (!(x >= 0 && x <= 1)) {
        r.reason = "出口干度 " + Efficiency(x) + " 超出 0–1";
        return r;
      }
      const SaturationPair sat = SaturationByP(f, p2);
      if (sat.status != Status::Ok) {
        r.reason = Why(sat.status, sat.limit, {"出口压力", Quantity::Pressure, p2, true}, other, u);
        return r;
      }
      end = StateFromPH(f, p2, sat.liquid.h + x * (sat.vapour.h - sat.liquid.h), Detail::Full);
      break;
    }
    case OutletKind::PressureEnthalpy: end = StateFromPH(f, p2, outlet.value, Detail::Full); break;
  }
  if (end.status != Status::Ok) {
    r.reason = Why(end.status, end.limit, pOut, other, u);
    return r;
  }
  const Point isentropic = StateFromPS(f, p2, r.inlet.s, Detail::Full);
  if (isentropic.status != Status::Ok) {
    r.reason =
        Why(isentropic.status, isentropic.limit, pOut, {"进口熵", Quantity::Entropy, r.inlet.s}, u);
    return r;
  }
  Expansion e;
  e.inlet = r.inlet;
  e.isentropicEnd = isentropic;
  e.end = end;
  e.isentropicDrop = r.inlet.h - isentropic.h;
  e.actualDrop = r.inlet.h - end.h;
  const double eta = e.actualDrop / e.isentropicDrop;
  r.sections.push_back({e, eta});
  Overall(f, r);
  if (eta > 1) {
    r.warnings.push_back("出口熵 " + Show(Quantity::Entropy, end.s, u) + " 低于进口熵 " +
                         Show(Quantity::Entropy, r.inlet.s, u) + "（η = " + Efficiency(eta) +
                         " > 1）：实际膨胀不可能如此，请检查测量值");
  } else if (!(eta > 0)) {
    r.warnings.push_back("出口焓 " + Show(Quantity::Enthalpy, end.h, u) + " 不低于进口焓 " +
                         Show(Quantity::Enthalpy, r.inlet.h, u) + "（η = " + Efficiency(eta) +
                         " ≤ 0）：请检查测量值");
  }
  return r;
}

std::vector<Point> ExpansionLine(const TurbineResult& r) {
  std::vector<Point> line;
  if (!r.Ok()) return line;
  line.push_back(r.inlet);
  for (const SectionResult& s : r.sections) line.push_back(s.expansion.end);
  return line;
}

namespace {

// The quantities of a point in a table's columns or rows.
struct Column {
  const char* caption;
  Quantity q;
  double (*value)(const Point&);
};
const Column kPointColumns[] = {
    {"压力", Quantity::Pressure, [](const Point& p) { return p.p; }},
    {"温度", Quantity::Temperature, [](const Point& p) { return p.t; }},
    {"焓", Quantity::Enthalpy, [](const Point& p) { return p.h; }},
    {"熵", Quantity::Entropy, [](const Point& p) { return p.s; }},
    {"比容", Quantity::Volume, [](const Point& p) { return p.v; }},
    {"干度", Quantity::Dryness, [](const Point& p) { return p.x; }},
    {"过热度", Quantity::TemperatureDifference,
     [](const Point& p) { return p.superheat > 0 ? p.superheat : NAN; }},
};

std::string Caption(const Column& c, const Units& u) {
  const std::string name = c.q == Quantity::Volume ? VolumeCaption(u) : c.caption;
  const std::string unit = UnitName(c.q, u);
  return unit.empty() ? name : name + " " + unit;
}

Cell Number(Quantity q, double value, const Units& u) {
  return Cell::Number(std::isfinite(value) ? Out(q, value, u) : NAN);
}

// A point of the result with its row label and, on a section's end, the section's figures.
struct Row {
  std::string label;
  const Point* point;
  std::string section;  // on a section's end: "", "第 2 段 " or "全程 "
  double isentropicDrop = NAN, actualDrop = NAN, eta = NAN;
};

std::vector<Row> Rows(const TurbineResult& r) {
  std::vector<Row> rows;
  if (!r.Ok()) return rows;
  rows.push_back({"进口", &r.inlet, ""});
  const bool chain = r.sections.size() > 1;
  for (std::size_t k = 0; k < r.sections.size(); ++k) {
    const SectionResult& s = r.sections[k];
    const std::string n = chain ? "第 " + std::to_string(k + 1) + " 段" : "";
    rows.push_back({n + "等熵末点", &s.expansion.isentropicEnd, ""});
    rows.push_back({n + "实际末点", &s.expansion.end, chain ? n + " " : "",
                    s.expansion.isentropicDrop, s.expansion.actualDrop, s.eta});
  }
  if (chain)
    rows.push_back(
        {"全程等熵末点", &r.isentropicEnd, "全程 ", r.isentropicDrop, r.actualDrop, r.eta});
  return rows;
}

}  // namespace

Table TurbineTable(const TurbineResult& r, const Units& u) {
  Table t;
  t.captions.push_back("点");
  for (const Column& c : kPointColumns) t.captions.push_back(Caption(c, u));
  const std::string h = EnthalpyName(u);
  t.captions.insert(t.captions.end(), {"等熵焓降 " + h, "实际焓降 " + h, "效率", "状态"});
  for (const Row& row : Rows(r)) {
    std::vector<Cell> cells{Cell::Text(row.label)};
    for (const Column& c : kPointColumns) cells.push_back(Number(c.q, c.value(*row.point), u));
    cells.push_back(Number(Quantity::Enthalpy, row.isentropicDrop, u));
    cells.push_back(Number(Quantity::Enthalpy, row.actualDrop, u));
    cells.push_back(Cell::Number(row.eta));
    cells.push_back(Cell::Text(FormTexts(*row.point).state));
    t.rows.push_back(std::move(cells));
  }
  return t;
}

Table TurbineCompareTable(const TurbineResult& a, const TurbineResult& b, const Units& u) {
  Table t;
  t.captions = {"量", "IFC-67", "IF97", "Δ = IF97 − IFC-67"};
  const std::vector<Row> ra = Rows(a), rb = Rows(b);
  auto add = [&](const std::string& caption, Quantity q, double va, double vb) {
    const Cell ca = Number(q, va, u), cb = Number(q, vb, u);
    const double d = Out(q, vb, u) - Out(q, va, u);
    // A temperature's difference is a difference, whatever the unit's zero.
    t.rows.push_back({Cell::Text(caption), ca, cb, Cell::Number(std::isfinite(d) ? d : NAN)});
  };
  const std::size_t count = std::max(ra.size(), rb.size());
  for (std::size_t i = 0; i < count; ++i) {
    const Row* x = i < ra.size() ? &ra[i] : nullptr;
    const Row* y = i < rb.size() ? &rb[i] : nullptr;
    const std::string label = (x ? x : y)->label;
    for (const Column& c : kPointColumns)
      add(label + " " + Caption(c, u), c.q, x ? c.value(*x->point) : NAN,
          y ? c.value(*y->point) : NAN);
    t.rows.push_back({Cell::Text(label + " 状态"), Cell::Text(x ? FormTexts(*x->point).state : "—"),
                      Cell::Text(y ? FormTexts(*y->point).state : "—"), Cell::Text("")});
    const Row& any = *(x ? x : y);
    if (std::isfinite(any.eta)) {
      const std::string h = " " + EnthalpyName(u);
      add(any.section + "等熵焓降" + h, Quantity::Enthalpy, x ? x->isentropicDrop : NAN,
          y ? y->isentropicDrop : NAN);
      add(any.section + "实际焓降" + h, Quantity::Enthalpy, x ? x->actualDrop : NAN,
          y ? y->actualDrop : NAN);
      add(any.section + "效率", Quantity::Dryness, x ? x->eta : NAN, y ? y->eta : NAN);
    }
  }
  auto notes = [](const TurbineResult& r) {
    std::string text = r.reason;
    for (const std::string& w : r.warnings) text += (text.empty() ? "" : "；") + w;
    return text;
  };
  if (!notes(a).empty() || !notes(b).empty())
    t.rows.push_back(
        {Cell::Text("说明"), Cell::Text(notes(a)), Cell::Text(notes(b)), Cell::Text("")});
  return t;
}

}  // namespace calc
