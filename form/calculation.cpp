#include "form/calculation.h"

#include <cmath>

#include "engine/entrypoints.h"
#include "engine/solvers.h"
#include "engine/statepoint.h"

namespace {

constexpr double kSentinel = 10.0;  // the engine's failure value of a property
constexpr double kSentinelX = 1.0;  // and of a dryness fraction

// Pressure ×10 in the form the entry points take it: the product rounded to float (exact in
// double, so the same as a float multiplication, overflow to infinity included).
float Times10(float value) { return float(value * 10.0); }

// The engine calls of one computation. Every call goes through here: its status word is read
// once, right after the call, and kept with the call's name; a non-zero status fails the
// computation, which still runs to its end.
class CEngineCalls {
 public:
  // An entry point: a single-precision argument, the status through its out-parameter.
  double Entry(EngineCall call, double (*entry)(float, int*), float arg) {
    int status = 0;
    const double value = entry(arg, &status);
    Record(call, std::uint32_t(status));
    return Finite(value);
  }

  // IsentropicEndH reports through its out-parameter only: its order and minimum checks leave
  // CalcStatus as it was.
  double EndH(float t1, float p1x10, float p2x10) {
    int status = 0;
    const double value = IsentropicEndH(t1, p1x10, p2x10, &status);
    Record(EngineCall::IsentropicEndH, std::uint32_t(status));
    return Finite(value);
  }

  double Point(double t, double p, int kind, int& state) {
    const double value = PointProp(t, p, kind, state);
    Record(kind == PK_H   ? EngineCall::PointPropH
           : kind == PK_S ? EngineCall::PointPropS
                          : EngineCall::PointPropV,
           CalcStatus);
    return Finite(value);
  }

  // A solver, whose answers arrive through its out-parameters: each then goes through Finite.
  template <typename Solver>
  int Solve(EngineCall call, Solver solver) {
    const int answer = solver();
    Record(call, CalcStatus);
    return answer;
  }

  // An answer of the last call made safe to store. The engine never answers NaN or infinity by
  // contract; if it ever did, the call counts as failed and the sentinel is shown, not "nan".
  double Finite(double value, double sentinel = kSentinel) {
    if (std::isfinite(value)) return value;
    result.calls[result.callCount - 1].nonFinite = true;
    result.failed = true;
    return sentinel;
  }

  CalcResult result;

 private:
  void Record(EngineCall call, std::uint32_t status) {
    result.calls[result.callCount++] = {call, status, false};
    if (status != 0) result.failed = true;
  }
};

// Saturated water or steam at a pressure: every entry point takes it ×10.
CalcResult SatWaterByP(float p, float, float) {
  CEngineCalls engine;
  Solution& point = engine.result.solution[0];
  const float p10 = Times10(p);
  point.p = p;
  point.t = float(engine.Entry(EngineCall::SatTByP, SatTByP, p10));
  point.h = float(engine.Entry(EngineCall::SatWaterHByP, SatWaterHByP, p10));
  point.s = float(engine.Entry(EngineCall::SatWaterSByP, SatWaterSByP, p10));
  point.v = float(engine.Entry(EngineCall::SatWaterVByP, SatWaterVByP, p10));
  return engine.result;
}

CalcResult SatSteamByP(float p, float, float) {
  CEngineCalls engine;
  Solution& point = engine.result.solution[0];
  const float p10 = Times10(p);
  point.p = p;
  point.t = float(engine.Entry(EngineCall::SatTByP, SatTByP, p10));
  point.h = float(engine.Entry(EngineCall::SatSteamHByP, SatSteamHByP, p10));
  point.s = float(engine.Entry(EngineCall::SatSteamSByP, SatSteamSByP, p10));
  point.v = float(engine.Entry(EngineCall::SatSteamVByP, SatSteamVByP, p10));
  return engine.result;
}

// SatPByT answers the pressure ×10; the product with 0.1 is taken in double precision.
CalcResult SatWaterByT(float t, float, float) {
  CEngineCalls engine;
  Solution& point = engine.result.solution[0];
  point.t = t;
  point.p = float(engine.Entry(EngineCall::SatPByT, SatPByT, t) * 0.1);
  point.h = float(engine.Entry(EngineCall::SatWaterHByT, SatWaterHByT, t));
  point.s = float(engine.Entry(EngineCall::SatWaterSByT, SatWaterSByT, t));
  point.v = float(engine.Entry(EngineCall::SatWaterVByT, SatWaterVByT, t));
  return engine.result;
}

CalcResult SatSteamByT(float t, float, float) {
  CEngineCalls engine;
  Solution& point = engine.result.solution[0];
  point.t = t;
  point.p = float(engine.Entry(EngineCall::SatPByT, SatPByT, t) * 0.1);
  point.h = float(engine.Entry(EngineCall::SatSteamHByT, SatSteamHByT, t));
  // No steam entropy or volume by temperature: both come through the pressure just found.
  const float p10 = Times10(point.p);
  point.s = float(engine.Entry(EngineCall::SatSteamSByP, SatSteamSByP, p10));
  point.v = float(engine.Entry(EngineCall::SatSteamVByP, SatSteamVByP, p10));
  return engine.result;
}

// The state code is the one the last call (the volume) wrote; no dryness is known.
CalcResult PointByPT(float p, float t, float) {
  CEngineCalls engine;
  Solution& point = engine.result.solution[0];
  point.p = p;
  point.t = t;
  int state = SC_UNKNOWN;
  point.h = float(engine.Point(t, p, PK_H, state));
  point.s = float(engine.Point(t, p, PK_S, state));
  point.v = float(engine.Point(t, p, PK_V, state));
  point.state = state;
  return engine.result;
}

CalcResult PointByPS(float p, float s, float) {
  CEngineCalls engine;
  Solution& point = engine.result.solution[0];
  double t = 0.0, v = 0.0, h = 0.0, x = 0.0;
  point.state =
      engine.Solve(EngineCall::SolveTFromPS, [&] { return SolveTFromPS(p, s, t, v, h, x); });
  point.p = p;
  point.t = float(engine.Finite(t));
  point.h = float(engine.Finite(h));
  point.s = s;
  point.v = float(engine.Finite(v));
  point.x = float(engine.Finite(x, kSentinelX));
  return engine.result;
}

CalcResult PointByPH(float p, float h, float) {
  CEngineCalls engine;
  Solution& point = engine.result.solution[0];
  double t = 0.0, v = 0.0, s = 0.0, x = 0.0;
  point.state =
      engine.Solve(EngineCall::SolveTFromPH, [&] { return SolveTFromPH(p, h, t, v, s, x); });
  point.p = p;
  point.t = float(engine.Finite(t));
  point.h = h;
  point.s = float(engine.Finite(s));
  point.v = float(engine.Finite(v));
  point.x = float(engine.Finite(x, kSentinelX));
  return engine.result;
}

CalcResult PointByTS(float t, float s, float) {
  CEngineCalls engine;
  Solution& point = engine.result.solution[0];
  double p = 0.0, v = 0.0, h = 0.0, x = 0.0;
  point.state =
      engine.Solve(EngineCall::SolvePFromTS, [&] { return SolvePFromTS(t, s, p, v, h, x); });
  point.p = float(engine.Finite(p));
  point.t = t;
  point.h = float(engine.Finite(h));
  point.s = s;
  point.v = float(engine.Finite(v));
  point.x = float(engine.Finite(x, kSentinelX));
  return engine.result;
}

// Up to two pressures: slot 1 the wet solution, slot 2 the compressed-water one. Slots the solver
// leaves unwritten (no solution) are not stored.
CalcResult PointByTH(float t, float h, float) {
  CEngineCalls engine;
  double p[2] = {}, v[2] = {}, s[2] = {}, x[2] = {};
  int state[2] = {SC_UNKNOWN, SC_UNKNOWN};
  const int count = engine.Solve(EngineCall::SolvePFromTH, [&] {
    return SolvePFromTH(t, h, p[0], v[0], s[0], x[0], state[0], p[1], v[1], s[1], x[1], state[1]);
  });
  engine.result.solutions = count;
  for (Solution& point : engine.result.solution) {
    point.t = t;
    point.h = h;
  }
  for (int k = 0; k < count && k < 2; ++k) {
    Solution& point = engine.result.solution[k];
    point.p = float(engine.Finite(p[k]));
    point.s = float(engine.Finite(s[k]));
    point.v = float(engine.Finite(v[k]));
    point.x = float(engine.Finite(x[k], kSentinelX));
    point.state = state[k];
  }
  return engine.result;
}

// The end point from the end-point enthalpy at p2 given in MPa as parsed (not the ×10 form).
// A failed IsentropicEndH still goes on: its sentinel (10 or 100) is the enthalpy solved for.
CalcResult EndByP(float p1, float t1, float p2) {
  CEngineCalls engine;
  Solution& point = engine.result.solution[0];
  const double h2 = engine.EndH(t1, Times10(p1), Times10(p2));
  double t = 0.0, v = 0.0, s = 0.0, x = 0.0;
  point.state =
      engine.Solve(EngineCall::SolveTFromPH, [&] { return SolveTFromPH(p2, h2, t, v, s, x); });
  point.p = p2;
  point.t = float(engine.Finite(t));
  point.h = float(h2);
  point.s = float(engine.Finite(s));
  point.v = float(engine.Finite(v));
  point.x = float(engine.Finite(x, kSentinelX));
  return engine.result;
}

// The start entropy at (t1, p1 MPa as parsed), then the pressure of that entropy at t2; nothing
// asks that the end lie below the start.
CalcResult EndByT(float p1, float t1, float t2) {
  CEngineCalls engine;
  Solution& point = engine.result.solution[0];
  int startState = SC_UNKNOWN;
  const double s1 = engine.Point(t1, p1, PK_S, startState);
  double p = 0.0, v = 0.0, h = 0.0, x = 0.0;
  point.state =
      engine.Solve(EngineCall::SolvePFromTS, [&] { return SolvePFromTS(t2, s1, p, v, h, x); });
  point.p = float(engine.Finite(p));
  point.t = t2;
  point.h = float(engine.Finite(h));
  point.s = float(s1);
  point.v = float(engine.Finite(v));
  point.x = float(engine.Finite(x, kSentinelX));
  return engine.result;
}

constexpr InputText kNone = {"", ""};
constexpr InputText kP = {"计算点压力", "MPa"};
constexpr InputText kT = {"计算点温度", "℃"};
constexpr InputText kS = {"计算点熵", "kJ/(kg*K)"};
constexpr InputText kH = {"计算点焓", "kJ/kg"};
constexpr InputText kStartP = {"起始点压力", "MPa"};
constexpr InputText kStartT = {"起始点温度", "℃"};
constexpr InputText kEndP = {"末点压力", "MPa"};
constexpr InputText kEndT = {"末点温度", "℃"};

constexpr ItemRow kItemRows[] = {
    {Item::SatWater, "饱和水", "饱和水", 0},
    {Item::SatSteam, "饱和蒸汽", "饱和蒸汽", 0},
    {Item::AnyState, "任意状态水或水蒸汽", nullptr, 0},
    {Item::Isentropic, "等熵焓降末点", nullptr, 2},
};

// Grouped by item in list order, each item's modes in list order.
constexpr ModeRow kModeRows[] = {
    {Item::SatWater, Mode::Pressure, "压力", 1, {kP, kNone, kNone}, SatWaterByP},
    {Item::SatWater, Mode::Temperature, "温度", 1, {kT, kNone, kNone}, SatWaterByT},
    {Item::SatSteam, Mode::Pressure, "压力", 1, {kP, kNone, kNone}, SatSteamByP},
    {Item::SatSteam, Mode::Temperature, "温度", 1, {kT, kNone, kNone}, SatSteamByT},
    {Item::AnyState, Mode::PressureTemperature, "压力和温度", 2, {kP, kT, kNone}, PointByPT},
    {Item::AnyState, Mode::PressureEntropy, "压力和熵", 2, {kP, kS, kNone}, PointByPS},
    {Item::AnyState, Mode::PressureEnthalpy, "压力和焓", 2, {kP, kH, kNone}, PointByPH},
    {Item::AnyState, Mode::TemperatureEntropy, "温度和熵", 2, {kT, kS, kNone}, PointByTS},
    {Item::AnyState, Mode::TemperatureEnthalpy, "温度和焓", 2, {kT, kH, kNone}, PointByTH},
    {Item::Isentropic, Mode::EndPressure, "末点压力", 3, {kStartP, kStartT, kEndP}, EndByP},
    {Item::Isentropic, Mode::EndTemperature, "末点温度", 3, {kStartP, kStartT, kEndT}, EndByT},
};

}  // namespace

const char* CallName(EngineCall call) {
  static constexpr const char* kNames[] = {
      "SatTByP",      "SatPByT",      "SatWaterHByP",   "SatWaterSByP", "SatWaterVByP",
      "SatWaterHByT", "SatWaterSByT", "SatWaterVByT",   "SatSteamHByP", "SatSteamSByP",
      "SatSteamVByP", "SatSteamHByT", "IsentropicEndH", "PointPropH",   "PointPropS",
      "PointPropV",   "SolveTFromPS", "SolveTFromPH",   "SolvePFromTS", "SolvePFromTH"};
  const auto index = std::size_t(call);
  return index < std::size(kNames) ? kNames[index] : "?";
}

std::span<const ItemRow> ItemRows() { return kItemRows; }

std::span<const ModeRow> ModeRows(Item item) {
  const ModeRow* first = std::begin(kModeRows);
  while (first != std::end(kModeRows) && first->item != item) ++first;
  const ModeRow* last = first;
  while (last != std::end(kModeRows) && last->item == item) ++last;
  return {first, last};
}

const ItemRow* FindItem(int item) {
  return item >= 0 && item < int(std::size(kItemRows)) ? &kItemRows[item] : nullptr;
}

const ModeRow* FindMode(int item, int mode) {
  if (FindItem(item) == nullptr) return nullptr;
  const std::span<const ModeRow> rows = ModeRows(Item(item));
  return mode >= 0 && mode < int(rows.size()) ? &rows[mode] : nullptr;
}

const ModeRow* FindMode(Item item, Mode mode) {
  for (const ModeRow& row : ModeRows(item)) {
    if (row.mode == mode) return &row;
  }
  return nullptr;
}

std::vector<std::string> ItemTexts() {
  std::vector<std::string> texts;
  for (const ItemRow& row : kItemRows) texts.emplace_back(row.text);
  return texts;
}

std::vector<std::string> ModeTexts(int item) {
  std::vector<std::string> texts;
  if (FindItem(item) == nullptr) return texts;
  for (const ModeRow& row : ModeRows(Item(item))) texts.emplace_back(row.text);
  return texts;
}

CalcResult Calculate(Item item, Mode mode, float in1, float in2, float in3) {
  if (const ModeRow* row = FindMode(item, mode)) return row->compute(in1, in2, in3);
  CalcResult none;
  none.solutions = 0;
  return none;
}
