#include "calc/calc.h"

#include <cmath>
#include <cstdio>

#include "calc/phase.h"
#include "calc/points.h"
#include "calc/reasons.h"
#include "engine/constants.h"
#include "form/format.h"
#include "form/formsession.h"

namespace calc {
namespace {

std::string Fixed(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%f", value);
  return text;
}

// The state text of a phase in the form's words; the saturation items name their own.
std::string PhaseText(Phase phase, double x) {
  switch (phase) {
    case Phase::Water: return "不饱和水";
    case Phase::Wet:
      return x == -1 ? "饱和水或饱和蒸汽或湿蒸汽" : "饱和水或饱和蒸汽或湿蒸汽,干度=" + Fixed(x);
    case Phase::Steam: return "过热蒸汽";
    case Phase::Supercritical: return "超临界";
    default: return "未知";
  }
}

bool IsSaturationItem(Item item) { return item == Item::SatWater || item == Item::SatSteam; }

// ρ, u and the distance from the saturation line, from the state's own p, t, h, v.
void FillExtra(Formulation f, Solution& s) {
  const SaturationDistance d = DistanceFromLine(f, s.p, s.t, s.phase);
  s.extra.tsat = d.tsat;
  s.extra.psat = d.psat;
  s.extra.superheat = d.superheat;
  if (s.v > 0) s.extra.rho = 1 / s.v;
  s.extra.u = s.h - s.p * s.v * 1000;  // MPa·m³/kg = 1000 kJ/kg
}

Answer CalculateIfc67(const Request& r) {
  Answer a;
  a.request = r;
  const CalcResult result =
      ::Calculate(r.item, r.mode, float(r.in[0]), float(r.in[1]), float(r.in[2]));
  a.failed = result.failed;
  for (int i = 0; i < result.solutions && i < 2; ++i) {
    const ::Solution& f = result.solution[i];
    Solution s;
    s.p = f.p, s.t = f.t, s.h = f.h, s.s = f.s, s.v = f.v;
    if (IsSaturationItem(r.item)) {
      s.phase = result.failed ? Phase::Unknown : Phase::Wet;
      s.x = r.item == Item::SatWater ? 0 : 1;
    } else {
      s.phase = result.failed ? Phase::Unknown : PhaseOfStateCode(f.state);
      s.x = f.state == SC_WET ? f.x : -1;  // the solvers' 0 and 1 of water and steam are no dryness
    }
    // The state field: solution 1 as Calculate shows it, solution 2 as button "2" shows it.
    if (i == 0)
      s.state = ShownTexts(r.item, result).state;
    else
      s.state = result.failed ? kSolutionFailedText : StateText(f.state, f.x);
    if (!result.failed) FillExtra(Formulation::IFC67, s);
    a.solutions.push_back(s);
  }
  if (result.failed || result.solutions == 0) a.reasons = Ifc67Reasons(r, result);
  return a;
}

// ---------------------------------------------------------------- IF97

Solution FromPoint(const Point& pt, const char* itemText) {
  Solution s;
  s.p = pt.p, s.t = pt.t, s.h = pt.h, s.s = pt.s, s.v = pt.v;
  s.x = std::isnan(pt.x) ? -1 : pt.x;
  s.phase = pt.phase;
  s.state = itemText ? itemText : PhaseText(s.phase, s.x);
  s.extra = {pt.tsat, pt.psat, pt.superheat, pt.rho, pt.u, pt.cp, pt.cv, pt.w, pt.kappa};
  return s;
}

Answer CalculateIf97(const Request& r) {
  constexpr Formulation f = Formulation::IF97;
  constexpr Detail full = Detail::Full;
  Answer a;
  a.request = r;
  const double in1 = r.in[0], in2 = r.in[1], in3 = r.in[2];
  auto fail = [&](Status status, double limit) {
    a.failed = true;
    a.reasons = If97Reasons(r, status, limit);
  };
  auto single = [&](const Point& pt, const char* itemText = nullptr) {
    if (pt.status != Status::Ok)
      fail(pt.status, pt.limit);
    else
      a.solutions.push_back(FromPoint(pt, itemText));
  };
  auto several = [&](const Points& roots) {
    if (roots.status != Status::Ok) return fail(roots.status, roots.limit);
    for (int i = 0; i < roots.count; ++i) a.solutions.push_back(FromPoint(roots.root[i], nullptr));
    if (roots.count == 0) a.reasons = If97Reasons(r, Status::NoSolution, NAN);
  };
  switch (r.mode) {
    case Mode::Pressure:
    case Mode::Temperature: {
      const SaturationPair sat =
          r.mode == Mode::Pressure ? SaturationByP(f, in1) : SaturationByT(f, in1);
      if (sat.status != Status::Ok) return fail(sat.status, sat.limit), a;
      Point pt = r.item == Item::SatWater ? sat.liquid : sat.vapour;
      const SaturationDistance d = DistanceFromLine(f, pt.p, pt.t, pt.phase);
      pt.tsat = d.tsat;
      pt.psat = d.psat;
      single(pt, r.item == Item::SatWater ? "饱和水" : "饱和蒸汽");
      break;
    }
    case Mode::PressureTemperature: single(StateFromPT(f, in1, in2, full)); break;
    case Mode::PressureEntropy: single(StateFromPS(f, in1, in2, full)); break;
    case Mode::PressureEnthalpy: single(StateFromPH(f, in1, in2, full)); break;
    case Mode::TemperatureEntropy: several(StatesFromTS(f, in1, in2, full)); break;
    case Mode::TemperatureEnthalpy: several(StatesFromTH(f, in1, in2, full)); break;
    case Mode::EndPressure: single(IsentropicEnd(f, in1, in2, in3, full)); break;
    case Mode::EndTemperature: {
      const Point start = StateFromPT(f, in1, in2);
      if (start.status != Status::Ok) return fail(start.status, start.limit), a;
      several(StatesFromTS(f, in3, start.s, full));
      break;
    }
  }
  return a;
}

void AddWarnings(Answer& a) {
  if (a.failed) return;
  const CriticalPoint c = Critical(a.request.formulation);
  const char* given =
      a.request.mode == Mode::TemperatureEntropy || a.request.mode == Mode::EndTemperature ? "熵"
                                                                                           : "焓";
  if (a.solutions.size() >= 2) {
    char text[160];
    if (a.solutions.size() == 2)
      std::snprintf(text, sizeof text, "该温度和%s对应两个状态，见解 1 和解 2", given);
    else
      std::snprintf(text, sizeof text, "该温度和%s对应 %zu 个状态，见解 1 至解 %zu", given,
                    a.solutions.size(), a.solutions.size());
    a.warnings.push_back(text);
  }
  for (std::size_t i = 0; i < a.solutions.size(); ++i) {
    const Solution& s = a.solutions[i];
    const std::string which =
        a.solutions.size() > 1 ? "解 " + std::to_string(i + 1) + "：" : std::string();
    const double dt = s.extra.superheat;
    if (std::isfinite(dt) && std::fabs(dt) < 0.01) {
      char text[200];
      std::snprintf(text, sizeof text, "%s距饱和线仅 %.4f ℃（饱和温度 %.4f ℃），相态对输入误差敏感",
                    which.c_str(), std::fabs(dt), s.extra.tsat);
      a.warnings.push_back(text);
    }
    if (std::fabs(s.t - c.t) <= 1 && std::fabs(s.p - c.p) <= 0.1) {
      char text[200];
      std::snprintf(text, sizeof text, "%s接近临界点（%s：%g ℃，%g MPa），物性随参数变化剧烈",
                    which.c_str(), FormulationName(a.request.formulation), c.t, c.p);
      a.warnings.push_back(text);
    }
  }
}

}  // namespace

const char* FormulationName(Formulation f) { return f == Formulation::IF97 ? "IF97" : "IFC-67"; }

CriticalPoint Critical(Formulation f) {
  return f == Formulation::IF97 ? CriticalPoint{373.946, 22.064} : CriticalPoint{374.15, 22.12};
}

bool FindItemMode(const std::string& item, const std::string& mode, Item& outItem, Mode& outMode,
                  std::string& error) {
  auto find = [](const std::vector<std::string>& list, const std::string& key) {
    if (!key.empty() && key.size() <= 6 &&
        key.find_first_not_of("0123456789") == std::string::npos) {
      const int index = std::stoi(key);
      return index < int(list.size()) ? index : -1;
    }
    for (std::size_t i = 0; i < list.size(); ++i)
      if (list[i] == key) return int(i);
    return -1;
  };
  auto choices = [](const std::vector<std::string>& list) {
    std::string text;
    for (std::size_t i = 0; i < list.size(); ++i)
      text += (i > 0 ? ", " : "") + std::to_string(i) + " " + list[i];
    return text;
  };
  const std::vector<std::string> items = ItemTexts();
  const int nItem = find(items, item);
  if (nItem < 0) {
    error = "unknown item " + Quote(item) + " (items: " + choices(items) + ")";
    return false;
  }
  const std::vector<std::string> modes = ModeTexts(nItem);
  const int nMode = find(modes, mode);
  if (nMode < 0) {
    error = "unknown mode " + Quote(mode) + " of item " + items[nItem] +
            " (modes: " + choices(modes) + ")";
    return false;
  }
  outItem = Item(nItem);
  outMode = FindMode(nItem, nMode)->mode;
  return true;
}

Answer Calculate(const Request& request) {
  Answer a =
      request.formulation == Formulation::IF97 ? CalculateIf97(request) : CalculateIfc67(request);
  AddWarnings(a);
  return a;
}

Texts FormTexts(const Solution& s) {
  return {Fixed(s.p) + " MPa",       Fixed(s.t) + " ℃",       Fixed(s.h) + " kJ/kg",
          Fixed(s.s) + " kJ/(kg*K)", Fixed(s.v) + " m**3/kg", s.state};
}

Texts FormTexts(const Point& p) { return FormTexts(FromPoint(p, nullptr)); }

}  // namespace calc
