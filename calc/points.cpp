#include "calc/points.h"

#include "calc/phase.h"
#include "engine/constants.h"
#include "engine/satprops.h"
#include "engine/saturation.h"
#include "engine/solvers.h"
#include "engine/statepoint.h"
#include "if97/if97.h"

namespace calc {
namespace {

bool Finite(double a, double b, double c = 0) {
  return std::isfinite(a) && std::isfinite(b) && std::isfinite(c);
}

Point Failed(Status status, double limit = NAN) {
  Point p;
  p.status = status;
  p.limit = limit;
  return p;
}

// ρ and u from the state's own values.
void Derived(Point& pt) {
  if (pt.v > 0) pt.rho = 1 / pt.v;
  pt.u = pt.h - pt.p * pt.v * 1000;  // MPa·m³/kg = 1000 kJ/kg
}

// ---------------------------------------------------------------- IFC-67

// The status of an IFC-67 status word: the temperature first, then the pressure, the given
// value, the dryness; `range` picks the limits of the state range or of the saturation line.
struct Limits {
  double tHigh, pHigh;
};
constexpr Limits kStateRange{800, 100}, kSaturationRange{374.15, 22.12};

Point FromFlags(std::uint32_t flags, Limits range) {
  if (flags & CS_NO_CONVERGENCE) return Failed(Status::NoConvergence);
  if (flags & CS_T_LOW) return Failed(Status::TemperatureLow, 0.01);
  if (flags & CS_T_HIGH) return Failed(Status::TemperatureHigh, range.tHigh);
  if (flags & CS_P_LOW) return Failed(Status::PressureLow, 0.0007);
  if (flags & CS_P_HIGH) return Failed(Status::PressureHigh, range.pHigh);
  if (flags & CS_H_LOW) return Failed(Status::EnthalpyLow);
  if (flags & CS_H_HIGH) return Failed(Status::EnthalpyHigh);
  if (flags & CS_S_LOW) return Failed(Status::EntropyLow);
  if (flags & CS_S_HIGH) return Failed(Status::EntropyHigh);
  if (flags & CS_ORDER) return Failed(Status::PressureOrder);
  return Failed(Status::DrynessRange);
}

Point Ifc67Point(double p, double t, double h, double s, double v, double x, int state) {
  Point pt;
  pt.p = p;
  pt.t = t;
  pt.h = h;
  pt.s = s;
  pt.v = v;
  pt.phase = PhaseOfStateCode(state);
  if (state == SC_WET && x >= 0 && x <= 1) pt.x = x;
  Derived(pt);
  return pt;
}

// The solvers' answer: a wet answer whose dryness Quality refused keeps its flag.
Point Ifc67Solved(int state, double p, double t, double h, double s, double v, double x) {
  if (CalcStatus) return FromFlags(CalcStatus, kStateRange);
  return Ifc67Point(p, t, h, s, v, x, state);
}

Point Ifc67PT(double p, double t) {
  int state = SC_UNKNOWN;
  const double h = PointProp(t, p, PK_H, state);
  if (CalcStatus) return FromFlags(CalcStatus, kStateRange);
  const double s = PointProp(t, p, PK_S, state);
  const double v = PointProp(t, p, PK_V, state);
  return Ifc67Point(p, t, h, s, v, NAN, state);
}

SaturationPair Ifc67Saturation(double x, bool byTemperature) {
  SaturationPair pair;
  const double other = byTemperature ? SatPressure(x) : SatTemperature(x);
  if (CalcStatus) {
    const Point f = FromFlags(CalcStatus, kSaturationRange);
    pair.status = f.status;
    pair.limit = f.limit;
    return pair;
  }
  const double p = byTemperature ? other : x, t = byTemperature ? x : other;
  auto side = [&](bool steam, Point& pt) {
    double y[3];
    for (int k = 0; k < 3; ++k) {
      y[k] = steam ? SatSteamProp(x, byTemperature, k + 1) : SatWaterProp(x, byTemperature, k + 1);
      if (CalcStatus) return false;
    }
    pt = Ifc67Point(p, t, y[2], y[1], y[0], steam ? 1 : 0, SC_WET);
    return true;
  };
  if (!side(false, pair.liquid) || !side(true, pair.vapour)) {
    const Point f = FromFlags(CalcStatus, kSaturationRange);
    pair = SaturationPair{};
    pair.status = f.status;
    pair.limit = f.limit;
  }
  return pair;
}

// ---------------------------------------------------------------- IF97

Status FromFailure(if97::Failure f) {
  switch (f) {
    case if97::Failure::None: return Status::Ok;
    case if97::Failure::PressureLow: return Status::PressureLow;
    case if97::Failure::PressureHigh: return Status::PressureHigh;
    case if97::Failure::TemperatureLow: return Status::TemperatureLow;
    case if97::Failure::TemperatureHigh: return Status::TemperatureHigh;
    case if97::Failure::EnthalpyLow: return Status::EnthalpyLow;
    case if97::Failure::EnthalpyHigh: return Status::EnthalpyHigh;
    case if97::Failure::EntropyLow: return Status::EntropyLow;
    case if97::Failure::EntropyHigh: return Status::EntropyHigh;
    case if97::Failure::NotFinite: return Status::NotFinite;
    case if97::Failure::PressureOrder: return Status::PressureOrder;
    case if97::Failure::NoSolution: return Status::NoSolution;
    case if97::Failure::NearCritical: return Status::NearCritical;
    case if97::Failure::NoConvergence: return Status::NoConvergence;
  }
  return Status::NoConvergence;
}

Point If97Point(const if97::State& st) {
  if (st.failure != if97::Failure::None) return Failed(FromFailure(st.failure), st.limit);
  Point pt;
  pt.p = st.p;
  pt.t = st.t;
  pt.h = st.h;
  pt.s = st.s;
  pt.v = st.v;
  pt.rho = st.rho;
  pt.u = st.u;
  pt.phase = PhaseOfIf97(st);
  if (st.phase == if97::Phase::TwoPhase) pt.x = st.x;
  // A wet mixture (0 < x < 1) has no cp, cv, w or κ; the saturated states have their phase's.
  if (!(st.phase == if97::Phase::TwoPhase && st.x > 0 && st.x < 1)) {
    pt.cp = st.cp;
    pt.cv = st.cv;
    pt.w = st.w;
    pt.kappa = st.kappa;
  }
  return pt;
}

SaturationPair If97Saturation(const if97::Saturation& sat) {
  SaturationPair pair;
  pair.status = FromFailure(sat.failure);
  pair.limit = sat.failure == if97::Failure::None ? NAN : sat.limit;
  if (pair.status == Status::Ok) {
    pair.liquid = If97Point(sat.liquid);
    pair.vapour = If97Point(sat.vapour);
  }
  return pair;
}

Points If97Roots(const if97::States& roots) {
  Points out;
  out.status = FromFailure(roots.failure);
  if (out.status != Status::Ok) {
    out.limit = roots.limit;
    return out;
  }
  out.count = roots.count;
  for (int i = 0; i < roots.count; ++i) out.root[i] = If97Point(roots.root[i]);
  return out;
}

// ---------------------------------------------------------------- both

Point Finish(Formulation f, Point pt, Detail detail) {
  if (detail == Detail::Full && pt.status == Status::Ok) {
    const SaturationDistance d = DistanceFromLine(f, pt.p, pt.t, pt.phase);
    pt.tsat = d.tsat;
    pt.psat = d.psat;
    pt.superheat = d.superheat;
  }
  return pt;
}

Points FinishRoots(Formulation f, Points roots, Detail detail) {
  for (int i = 0; i < roots.count; ++i) roots.root[i] = Finish(f, roots.root[i], detail);
  return roots;
}

}  // namespace

const char* Explain(Status status, bool english) {
  static constexpr const char* kTexts[kStatusCount][2] = {
      {"计算成功", "calculated"},
      {"温度低于适用下限", "temperature below the range of the formulation"},
      {"温度高于适用上限", "temperature above the range of the formulation"},
      {"压力低于适用下限", "pressure below the range of the formulation"},
      {"压力高于适用上限", "pressure above the range of the formulation"},
      {"给定焓低于可达到的最低焓", "enthalpy below the lowest one reachable"},
      {"给定焓高于可达到的最高焓", "enthalpy above the highest one reachable"},
      {"给定熵低于可达到的最低熵", "entropy below the lowest one reachable"},
      {"给定熵高于可达到的最高熵", "entropy above the highest one reachable"},
      {"输入值不是有限数", "an input is not a finite number"},
      {"末点压力高于起始点压力", "end pressure above the start pressure"},
      {"无满足给定参数的状态", "no state has these inputs"},
      {"接近临界点，该参数组合无对应状态", "no state so close to the critical point"},
      {"计算未收敛", "the calculation did not converge"},
      {"干度超出 0–1", "dryness outside 0 to 1"},
      {"效率须在 0 与 1 之间（0 < η ≤ 1）", "efficiency outside 0 < eta <= 1"},
  };
  const int i = int(status);
  return i >= 0 && i < kStatusCount ? kTexts[i][english]
                                    : kTexts[int(Status::NoConvergence)][english];
}

Point StateFromPT(Formulation f, double p, double t, Detail detail) {
  if (!Finite(p, t)) return Failed(Status::NotFinite);
  return Finish(f, f == Formulation::IF97 ? If97Point(if97::StateFromPT(p, t)) : Ifc67PT(p, t),
                detail);
}

Point StateFromPH(Formulation f, double p, double h, Detail detail) {
  if (!Finite(p, h)) return Failed(Status::NotFinite);
  if (f == Formulation::IF97) return Finish(f, If97Point(if97::StateFromPH(p, h)), detail);
  double t = 0, v = 0, s = 0, x = 0;
  const int state = SolveTFromPH(p, h, t, v, s, x);
  return Finish(f, Ifc67Solved(state, p, t, h, s, v, x), detail);
}

Point StateFromPS(Formulation f, double p, double s, Detail detail) {
  if (!Finite(p, s)) return Failed(Status::NotFinite);
  if (f == Formulation::IF97) return Finish(f, If97Point(if97::StateFromPS(p, s)), detail);
  double t = 0, v = 0, h = 0, x = 0;
  // The solver first: its out-parameters are the point's values.
  const int state = SolveTFromPS(p, s, t, v, h, x);
  return Finish(f, Ifc67Solved(state, p, t, h, s, v, x), detail);
}

Points StatesFromTS(Formulation f, double t, double s, Detail detail) {
  Points out;
  if (!Finite(t, s)) {
    out.status = Status::NotFinite;
    return out;
  }
  if (f == Formulation::IF97) return FinishRoots(f, If97Roots(if97::StatesFromTS(t, s)), detail);
  double p = 0, v = 0, h = 0, x = 0;
  const int state = SolvePFromTS(t, s, p, v, h, x);
  out.root[0] = Ifc67Solved(state, p, t, h, s, v, x);
  out.status = out.root[0].status;
  out.limit = out.root[0].limit;
  out.count = out.status == Status::Ok ? 1 : 0;
  return FinishRoots(f, out, detail);
}

Points StatesFromTH(Formulation f, double t, double h, Detail detail) {
  Points out;
  if (!Finite(t, h)) {
    out.status = Status::NotFinite;
    return out;
  }
  if (f == Formulation::IF97) return FinishRoots(f, If97Roots(if97::StatesFromTH(t, h)), detail);
  double p[2] = {0, 0}, v[2] = {0, 0}, s[2] = {0, 0}, x[2] = {0, 0};
  int state[2] = {SC_UNKNOWN, SC_UNKNOWN};
  const int count =
      SolvePFromTH(t, h, p[0], v[0], s[0], x[0], state[0], p[1], v[1], s[1], x[1], state[1]);
  if (CalcStatus) {
    const Point failed = FromFlags(CalcStatus, kStateRange);
    out.status = failed.status;
    out.limit = failed.limit;
    return out;
  }
  // The solver's slots already run by rising pressure: wet (or steam) first, then water.
  out.count = count;
  for (int i = 0; i < count; ++i) out.root[i] = Ifc67Point(p[i], t, h, s[i], v[i], x[i], state[i]);
  return FinishRoots(f, out, detail);
}

SaturationPair SaturationByP(Formulation f, double p) {
  if (!std::isfinite(p)) return {Point{}, Point{}, Status::NotFinite, NAN};
  return f == Formulation::IF97 ? If97Saturation(if97::SaturationByP(p))
                                : Ifc67Saturation(p, false);
}

SaturationPair SaturationByT(Formulation f, double t) {
  if (!std::isfinite(t)) return {Point{}, Point{}, Status::NotFinite, NAN};
  return f == Formulation::IF97 ? If97Saturation(if97::SaturationByT(t)) : Ifc67Saturation(t, true);
}

Point IsentropicEnd(Formulation f, double p1, double t1, double p2, Detail detail) {
  if (!Finite(p1, t1, p2)) return Failed(Status::NotFinite);
  if (f == Formulation::IF97) return Finish(f, If97Point(if97::IsentropicEnd(p1, t1, p2)), detail);
  if (p2 > p1) return Failed(Status::PressureOrder, p1);
  const Point start = Ifc67PT(p1, t1);
  if (start.status != Status::Ok) return start;
  return StateFromPS(f, p2, start.s, detail);
}

Expansion ExpandFrom(Formulation f, const Point& inlet, double p2, double eta, Detail detail) {
  Expansion e;
  e.inlet = inlet;
  if (inlet.status != Status::Ok) {
    e.status = inlet.status;
    e.limit = inlet.limit;
    return e;
  }
  if (!Finite(p2, eta)) {
    e.status = Status::NotFinite;
    return e;
  }
  if (!(eta > 0 && eta <= 1)) {
    e.status = Status::EfficiencyRange;
    return e;
  }
  if (p2 > inlet.p) {
    e.status = Status::PressureOrder;
    e.limit = inlet.p;
    return e;
  }
  e.isentropicEnd = StateFromPS(f, p2, inlet.s, detail);
  if (e.isentropicEnd.status != Status::Ok) {
    e.status = e.isentropicEnd.status;
    e.limit = e.isentropicEnd.limit;
    return e;
  }
  e.isentropicDrop = inlet.h - e.isentropicEnd.h;
  e.actualDrop = eta * e.isentropicDrop;
  e.end = StateFromPH(f, p2, inlet.h - e.actualDrop, detail);
  e.status = e.end.status;
  e.limit = e.end.limit;
  return e;
}

Expansion Expand(Formulation f, double p1, double t1, double p2, double eta, Detail detail) {
  return ExpandFrom(f, StateFromPT(f, p1, t1, detail), p2, eta, detail);
}

}  // namespace calc
