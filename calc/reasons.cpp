#include "calc/reasons.h"

#include <cmath>
#include <cstdio>

#include "engine/constants.h"
#include "engine/statepoint.h"
#include "if97/if97.h"

namespace calc {
namespace {

std::string Num(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "+∞" : "−∞";
  char text[40];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

// One input of the request as a sentence names it: its label on the form and its value.
struct Named {
  std::string label;
  double value;
};

Named InputAt(const Request& r, int index) {
  const ModeRow* row = FindMode(r.item, r.mode);
  return {row ? row->input[index].label : "输入", r.in[index]};
}

// Which input of the request holds the temperature or the pressure; `end` picks the end point's of
// the isentropic item.
Named Temperature(const Request& r, bool end = false) {
  switch (r.mode) {
    case Mode::PressureTemperature: return InputAt(r, 1);
    case Mode::EndPressure: return InputAt(r, 1);
    case Mode::EndTemperature: return InputAt(r, end ? 2 : 1);
    default: return InputAt(r, 0);
  }
}
Named Pressure(const Request& r, bool end = false) {
  return InputAt(r, r.mode == Mode::EndPressure && end ? 2 : 0);
}
// The given enthalpy or entropy: the second input of the any-state modes.
Named Given(const Request& r) { return InputAt(r, 1); }

std::string Below(const Named& n, const char* unit, double limit, const std::string& what,
                  const std::string& range) {
  return n.label + " " + Num(n.value) + " " + unit + " 低于" + what + " " + Num(limit) + " " +
         unit + "（" + range + "）";
}
std::string Above(const Named& n, const char* unit, double limit, const std::string& what,
                  const std::string& range) {
  return n.label + " " + Num(n.value) + " " + unit + " 高于" + what + " " + Num(limit) + " " +
         unit + "（" + range + "）";
}

constexpr const char* kC = "℃";
constexpr const char* kMPa = "MPa";
constexpr const char* kH = "kJ/kg";
constexpr const char* kS = "kJ/(kg·K)";

// ---------------------------------------------------------------- IFC-67

const char* kIfcRangeT = "适用范围 0.01–800 ℃";
const char* kIfcRangeP = "适用范围 0.0007–100 MPa";
const char* kIfcSatT = "饱和线：0.01–374.15 ℃";
const char* kIfcSatP = "饱和线：0.0007–22.12 MPa";
const char* kNoConvergence = "计算未收敛（接近临界点，该参数组合在 IFC-67 中无对应状态）";

// The temperature and pressure flags of a state-range check.
void StateRange(std::uint32_t flags, const Named& t, const Named& p,
                std::vector<std::string>& out) {
  if (flags & CS_T_LOW) out.push_back(Below(t, kC, 0.01, "适用下限", kIfcRangeT));
  if (flags & CS_T_HIGH) out.push_back(Above(t, kC, 800, "适用上限", kIfcRangeT));
  if (flags & CS_P_LOW) out.push_back(Below(p, kMPa, 0.0007, "适用下限", kIfcRangeP));
  if (flags & CS_P_HIGH) out.push_back(Above(p, kMPa, 100, "适用上限", kIfcRangeP));
}

double Prop(double t, double p, int kind) {
  int state = 0;
  return PointProp(t, p, kind, state);
}

// The flags of an inverse solver: its own argument's range, else the given value against the
// values at the ends of its search (a fraction beyond its tolerances when the value lies between
// them: the wet answer's dryness, or a temperature too close to the critical one for it).
void Solver(EngineCall call, std::uint32_t flags, const Named& fixed, const Named& given,
            std::vector<std::string>& out) {
  const bool atPressure = call == EngineCall::SolveTFromPS || call == EngineCall::SolveTFromPH;
  const bool entropy = call == EngineCall::SolveTFromPS || call == EngineCall::SolvePFromTS;
  const int kind = entropy ? PK_S : PK_H;
  const char* unit = entropy ? kS : kH;
  const std::string word = entropy ? "熵" : "焓";
  const std::uint32_t rangeFlags = atPressure ? (CS_P_LOW | CS_P_HIGH) : (CS_T_LOW | CS_T_HIGH);
  if (flags & rangeFlags) {
    // The value flags beside a range flag compare the given value with sentinels: left out.
    if (atPressure)
      StateRange(flags & rangeFlags, {}, fixed, out);
    else if (fixed.value <= 800 && !(flags & CS_T_LOW))
      out.push_back(fixed.label + " " + Num(fixed.value) +
                    " ℃ 距临界温度 374.15 ℃ 不足 0.0001 ℃，湿蒸汽的干度无定义");
    else
      StateRange(flags & rangeFlags, fixed, {}, out);
    return;
  }
  const std::uint32_t low = entropy ? CS_S_LOW : CS_H_LOW, high = entropy ? CS_S_HIGH : CS_H_HIGH;
  if (!(flags & (low | high))) return;
  // The ends of the search: 0.1 ℃ and 800 ℃ at the pressure; 100 MPa and 0.001 MPa at the
  // temperature (and a fixed 1 kJ/kg below for the (t, h) solver).
  double lo, hi;
  std::string loAt, hiAt;
  if (atPressure) {
    lo = Prop(0.1, fixed.value, kind);
    hi = Prop(800, fixed.value, kind);
    loAt = "该压力下 0.1 ℃ 时的" + word;
    hiAt = "该压力下 800 ℃ 时的" + word;
  } else {
    lo = call == EngineCall::SolvePFromTH ? 1 : Prop(fixed.value, 100, kind);
    hi = Prop(fixed.value, 0.001, kind);
    loAt = call == EngineCall::SolvePFromTH ? "下限" : "该温度下 100 MPa 时的" + word;
    hiAt = "该温度下 0.001 MPa 时的" + word;
  }
  const bool beyond = (flags & low) ? !(given.value >= lo) : given.value >= hi;
  if (!beyond) {
    out.push_back("由" + given.label + " " + Num(given.value) + " " + unit + " 求得的干度超出 0–1");
  } else if (flags & low) {
    out.push_back(given.label + " " + Num(given.value) + " " + unit + " 低于" + loAt + " " +
                  Num(lo) + " " + unit);
  } else {
    out.push_back(given.label + " " + Num(given.value) + " " + unit + " 高于" + hiAt + " " +
                  Num(hi) + " " + unit);
  }
}

}  // namespace

std::vector<std::string> Ifc67Reasons(const Request& r, const CalcResult& result) {
  std::vector<std::string> out;
  const CallRecord* failed = nullptr;
  for (int i = 0; i < result.callCount && !failed; ++i)
    if (result.calls[i].status != 0 || result.calls[i].nonFinite) failed = &result.calls[i];
  if (failed == nullptr) {
    if (result.solutions == 0)
      out.push_back(r.mode == Mode::TemperatureEnthalpy ? "该温度下无满足给定焓的状态"
                                                        : "无满足给定参数的状态");
    return out;
  }
  const std::uint32_t flags = failed->status;
  if (failed->nonFinite && flags == 0) {
    out.push_back("计算结果不是有限数");
    return out;
  }
  if (flags & CS_NO_CONVERGENCE) {
    out.push_back(kNoConvergence);
    return out;
  }
  switch (failed->call) {
    case EngineCall::SatTByP:
    case EngineCall::SatWaterHByP:
    case EngineCall::SatWaterSByP:
    case EngineCall::SatWaterVByP:
    case EngineCall::SatSteamHByP:
    case EngineCall::SatSteamSByP:
    case EngineCall::SatSteamVByP: {
      const Named p = Pressure(r);
      if (flags & CS_P_LOW) out.push_back(Below(p, kMPa, 0.0007, "饱和线的下限", kIfcSatP));
      if (flags & CS_P_HIGH) out.push_back(Above(p, kMPa, 22.12, "临界压力", kIfcSatP));
      break;
    }
    case EngineCall::SatPByT:
    case EngineCall::SatWaterHByT:
    case EngineCall::SatWaterSByT:
    case EngineCall::SatWaterVByT:
    case EngineCall::SatSteamHByT: {
      const Named t = Temperature(r);
      if (flags & CS_T_LOW) out.push_back(Below(t, kC, 0.01, "三相点温度", kIfcSatT));
      if (flags & CS_T_HIGH) out.push_back(Above(t, kC, 374.15, "临界温度", kIfcSatT));
      break;
    }
    case EngineCall::PointPropH:
    case EngineCall::PointPropS:
    case EngineCall::PointPropV: StateRange(flags, Temperature(r), Pressure(r), out); break;
    case EngineCall::SolveTFromPS:
    case EngineCall::SolveTFromPH:
    case EngineCall::SolvePFromTS:
    case EngineCall::SolvePFromTH:
      if (r.item == Item::Isentropic) {
        // The end point of the expansion, at the start point's entropy.
        const Named start{"起始点熵", Prop(float(r.in[1]), float(r.in[0]), PK_S)};
        const Named fixed = r.mode == Mode::EndPressure ? Pressure(r, true) : Temperature(r, true);
        Solver(failed->call, flags, fixed, start, out);
      } else {
        const bool atPressure = r.mode == Mode::PressureEntropy || r.mode == Mode::PressureEnthalpy;
        Solver(failed->call, flags, atPressure ? Pressure(r) : Temperature(r), Given(r), out);
      }
      break;
    case EngineCall::IsentropicEndH: {
      const Named p1 = Pressure(r), p2 = Pressure(r, true), t1 = Temperature(r);
      if (flags == CS_ORDER) {
        out.push_back(p2.label + " " + Num(p2.value) + " MPa 不低于" + p1.label + " " +
                      Num(p1.value) + " MPa（等熵膨胀的末点压力须低于起始点压力）");
      } else if (flags == CS_P_LOW &&
                 (float(p1.value * 10) < 0.001f || float(p2.value * 10) < 0.001f)) {
        for (const Named& p : {p1, p2})
          if (float(p.value * 10) < 0.001f)
            out.push_back(p.label + " " + Num(p.value) + " MPa 低于等熵膨胀的下限 0.0001 MPa");
      } else if (StateRangeFlags(float(t1.value), float(p1.value)) != 0) {
        StateRange(flags, t1, p1, out);
      } else {
        const Named start{"起始点熵", Prop(float(t1.value), float(p1.value), PK_S)};
        Solver(EngineCall::SolveTFromPS, flags, p2, start, out);
      }
      break;
    }
  }
  if (out.empty()) {
    char text[80];
    std::snprintf(text, sizeof text, "计算或参数有误（状态字 0x%x）", unsigned(flags));
    out.push_back(text);
  }
  return out;
}

// ---------------------------------------------------------------- IF97

std::vector<std::string> If97Reasons(const Request& r, Status status, double limit) {
  using Failure = Status;
  const Status failure = status;
  const bool saturation = r.item == Item::SatWater || r.item == Item::SatSteam;
  const char* rangeT = saturation ? "饱和线：0–373.946 ℃" : "IF97：0–800 ℃，50 MPa 以下至 2000 ℃";
  const char* rangeP =
      saturation ? "饱和线：0.000611213–22.064 MPa" : "IF97：至 100 MPa，800 ℃ 以上至 50 MPa";
  // For the isentropic item the start point is checked first: a failure it does not have
  // belongs to the end point.
  const bool end = r.item == Item::Isentropic &&
                   if97::StateFromPT(r.in[0], r.in[1]).failure == if97::Failure::None;
  const bool entropyGiven = r.mode == Mode::PressureEntropy || r.mode == Mode::TemperatureEntropy;
  Named given = Given(r);
  if (r.item == Item::Isentropic) given = {"起始点熵", if97::StateFromPT(r.in[0], r.in[1]).s};
  const bool atTemperature = r.mode == Mode::TemperatureEntropy ||
                             r.mode == Mode::TemperatureEnthalpy || r.mode == Mode::EndTemperature;
  const std::string where = atTemperature ? "该温度下" : "该压力下";
  switch (failure) {
    case Failure::Ok: return {};
    case Failure::TemperatureLow:
      return {Below(Temperature(r, end), kC, limit, "适用下限", rangeT)};
    case Failure::TemperatureHigh:
      return {Above(Temperature(r, end), kC, limit, "适用上限", rangeT)};
    case Failure::PressureLow: return {Below(Pressure(r, end), kMPa, limit, "适用下限", rangeP)};
    case Failure::PressureHigh: return {Above(Pressure(r, end), kMPa, limit, "适用上限", rangeP)};
    case Failure::EnthalpyLow:
    case Failure::EntropyLow:
    case Failure::EnthalpyHigh:
    case Failure::EntropyHigh: {
      const bool entropy = failure == Failure::EntropyLow || failure == Failure::EntropyHigh ||
                           (r.item == Item::Isentropic);
      const bool low = failure == Failure::EnthalpyLow || failure == Failure::EntropyLow;
      const char* unit = entropy ? kS : kH;
      return {given.label + " " + Num(given.value) + " " + unit + (low ? " 低于" : " 高于") +
              where + "可达到的" + (low ? "最低" : "最高") + (entropy ? "熵 " : "焓 ") +
              Num(limit) + " " + unit};
    }
    case Failure::NotFinite: return {"输入值不是有限数"};
    case Failure::PressureOrder: {
      const Named p1 = Pressure(r), p2 = Pressure(r, true);
      return {p2.label + " " + Num(p2.value) + " MPa 高于" + p1.label + " " + Num(p1.value) +
              " MPa（等熵膨胀的末点压力不得高于起始点压力）"};
    }
    case Failure::NoSolution:
      return {std::string(atTemperature ? "该温度下" : "该压力下") + "无满足给定" +
              (entropyGiven || r.item == Item::Isentropic ? "熵" : "焓") + "的状态"};
    case Failure::NearCritical:
      return {"计算未收敛（距临界温度不足 0.00001 K，该参数组合在 IF97 中无对应的饱和蒸汽状态）"};
    case Failure::NoConvergence: return {"计算未收敛（迭代次数达到上限）"};
    case Failure::DrynessRange: return {"干度超出 0–1"};
    case Failure::EfficiencyRange: return {Explain(status)};
  }
  return {"计算或参数有误"};
}

}  // namespace calc
