// Every engine family's calling contract in one table: each limit as a pair on both sides of its
// tolerance, non-finite and extreme arguments, every refusal's sentinels and flags. CalcStatus is
// poisoned before each call: a function that ORs instead of assigning keeps the poison.
#include <cfloat>
#include <functional>
#include <vector>

#include "tests/engine/engine_test.h"

using Outs = std::vector<double>;  // a call's outputs, compared as far as a row lists them
constexpr std::uint32_t kPoison = 0x40000000;  // no engine function sets it
constexpr double kNaN = NAN, kInf = INFINITY, kMax = DBL_MAX, kTiny = DBL_TRUE_MIN;
constexpr double C = -1e300;  // computed: finite, neither a sentinel nor a critical constant

Outs O(double y) { return {y}; }
Outs O(Outs y) { return y; }
Outs Point(double t, double p, int k) { int st; return {PointProp(t, p, k, st), double(st)}; }
Outs Entry(double (*f)(float, int*), float x) { int st; return {f(x, &st), double(st)}; }
Outs EndH(float t, float a, float b) { int st; return {IsentropicEndH(t, a, b, &st), double(st)}; }
Outs Qual(double a, int b, double y, int k) { double x; return {Quality(a, b, y, k, x, PK_H), x}; }
Outs By(Solver w, double fixed, double y) {  // t or p, state, v, z, x; count; slot 2's p, state
  const Answer a = Solve(w, fixed, y);
  const Slot &s = a.slot[0], &u = a.slot[1];
  return {s.found, double(s.state), s.v, s.other, s.x, double(a.count), u.found, double(u.state)};
}
Outs Volume(double (*props)(double, double, int, SearchInfo*), double t, double p) {
  SearchInfo i;  // χ, the evaluations, converged
  return {props(t, p, PK_V, &i), double(i.evaluations), double(i.converged)};
}
double Next(double y, double to) { return std::nextafter(y, to); }

struct Row { const char* call; std::function<Outs()> fn; std::uint32_t status; Outs want; };
#define ROW(call, status, ...) Row{#call, [&] { return O(call); }, status, Outs{__VA_ARGS__}}

TEST(EngineContract, RangeLimitsSentinelsAndFlags) {
  const double sLo = Prop(0.1, 1, PK_S), sHi = Prop(800, 1, PK_S), hLo = Prop(0.1, 1, PK_H);
  const double hHi = Prop(800, 1, PK_H), s300 = Prop(300, 100, PK_S), h300 = Prop(300, 0.001, PK_H);
  const std::uint32_t TLo = CS_T_LOW, THi = CS_T_HIGH, PLo = CS_P_LOW, PHi = CS_P_HIGH;
  const std::uint32_t SLo = CS_S_LOW, SHi = CS_S_HIGH, HLo = CS_H_LOW, HHi = CS_H_HIGH;
  const double t0 = 350.0000005, t1 = 350.00001, p0 = SatPressure(t0), p1 = SatPressure(t1);
  const int SUP = SC_SUPERCRITICAL;
  const Row rows[] = {
      ROW(SatPressure(0.01), 0, C), ROW(SatPressure(0.0099), TLo, 1),
      ROW(SatPressure(374.15009), 0, C), ROW(SatPressure(374.15011), THi, 1),
      ROW(SatPressure(kNaN), TLo, 1), ROW(SatPressure(374.15), 0, 22.12),  // θ = 1: β = 1 exactly
      ROW(SatTemperature(0.0007), 0, C), ROW(SatTemperature(0.00069), PLo, 10),
      ROW(SatTemperature(22.12001), 0, 374.15), ROW(SatTemperature(22.120011), PHi, 10),
      // The state range: the temperature flag assigned, the pressure flags OR-ed on.
      ROW(FindRegion(0.01, 0.0007), 0, 1), ROW(FindRegion(0.0099, 1), TLo, 1),
      ROW(FindRegion(-1, 200), TLo | PHi, 1), ROW(Point(kNaN, kTiny, PK_H), TLo | PLo, 10, 0),
      ROW(Point(800, 100, PK_H), 0, C, SUP), ROW(Point(800.0001, 1, PK_H), THi, 10, 0),
      ROW(Point(100, 0.00069, PK_S), PLo, 10, 0), ROW(Point(100, 100.0001, PK_S), PHi, 10, 0),
      // The critical constants within 0.0001 °C and 0.00001 MPa; the 350 °C switch within 1e-6 °C.
      ROW(SatWaterProp(374.14995, 1, PK_H), 0, 2107.4), ROW(SatWaterProp(374.14989, 1, PK_H), 0, C),
      ROW(SatSteamProp(22.119995, 0, PK_S), 0, 4.4429), ROW(SatSteamProp(22.119989, 0, PK_H), 0, C),
      ROW(SatWaterProp(374.15011, 1, PK_V), THi, 10), ROW(SatSteamProp(0.00069, 0, PK_S), PLo, 10),
      ROW(Point(374.15, 22.12, PK_S), 0, 4.4429, SUP), ROW(Point(374.15011, 22.12, PK_H), 0, C),
      ROW(Point(374.15009, 22.120009, PK_V), 0, 0.00317), ROW(Point(374.15, 22.120011, PK_H), 0, C),
      ROW(SatWaterProp(t0, 1, PK_H), 0, ScaleReduced(Region1Reduced(t0, p0, PK_H), PK_H)),
      ROW(SatWaterProp(t1, 1, PK_H), 0, ScaleReduced(Region4Props(t1, p1, PK_H), PK_H)),
      // Quality refuses the critical point: by t it answers 1 and writes 10, by p the reverse.
      ROW(Qual(374.14995, 1, 0.5, PK_X), THi, 1, 10), ROW(Qual(374.14989, 1, 0.5, PK_X), 0, C, 0.5),
      ROW(Qual(22.119995, 0, 0.5, PK_X), PHi, 10, 1), ROW(Qual(22.119989, 0, 0.5, PK_X), 0, C, 0.5),
      ROW(Qual(0.0099, 1, 0.5, PK_X), TLo, 1, 10), ROW(Qual(kNaN, 0, 5, PK_S), PLo, 10, 1),
      // Dryness within −0.00001…1.000001, a refused one unclamped, flagged by the value's kind.
      ROW(Qual(100, 1, -0.00002, PK_X), CS_X_LOW, 10, -0.00002),
      ROW(Qual(100, 1, -0.000005, PK_X), 0, C), ROW(Qual(100, 1, 1.0000005, PK_X), 0, C),
      ROW(Qual(100, 1, 1.000002, PK_X), CS_X_HIGH, 10, 1.000002),
      ROW(Qual(100, 1, kNaN, PK_S), SLo, 10), ROW(Qual(100, 1, kInf, PK_S), SHi, 10),
      ROW(Qual(100, 1, -kInf, PK_H), HLo, 10), ROW(Qual(100, 1, kMax, PK_V), CS_V_HIGH, 10),
      // A volume search that cannot end stops at its cap, answers 0 and leaves CalcStatus alone.
      ROW(Volume(Region3Props, 360, 0.001), kPoison, 0, 8000, 0),
      ROW(Volume(Region4Props, 360, 0.001), kPoison, 0, 7000, 0),
      // Solvers: each bracket end, value flags OR-ed on; a failure is t (p), v, z 10, x 1, state 0.
      ROW(By(PS, 100, 6), 0, C, SUP, C, C, -1), ROW(By(PS, 100.0001, 6), PHi, 10, 0, 10, 10, 1),
      ROW(By(PS, 1, sLo), 0, C, SC_WATER, C, C, 0), ROW(By(PS, 1, Next(sLo, 0)), SLo, 10, 0),
      ROW(By(PS, 1, Next(sHi, 20)), SHi, 10, 0), ROW(By(PS, kNaN, kNaN), PLo | SLo, 10, 0),
      ROW(By(PH, 1, hLo), 0, C, SC_WATER), ROW(By(PH, 1, Next(hLo, 0)), HLo, 10, 0, 10, 10, 1),
      ROW(By(PH, 1, Next(hHi, 9e3)), HHi, 10, 0), ROW(By(PH, 0.00069, 5), PLo | HLo, 10, 0),
      ROW(By(TS, 800, 7), 0, C, SC_STEAM, C, C, 1), ROW(By(TS, 800.0001, 7), THi, 10, 0, 10, 10, 1),
      ROW(By(TS, 300, Next(s300, 0)), SLo, 10, 0), ROW(By(TS, -kInf, 11), TLo | SHi, 10, 0),
      // (t, h): a fixed floor of 1 kJ/kg, h_hi itself out; no state writes nothing.
      ROW(By(TH, 800.0001, 3000), THi, 10, 0, 10, 10, 1, 0, 10, 0),
      ROW(By(TH, 300, Next(1, 0)), HLo, 10, 0), ROW(By(TH, 300, 1), 0, -7, -7, -7, -7, -7, 0, -7),
      ROW(By(TH, 300, h300), HHi, 10, 0), ROW(By(TH, 300, Next(h300, 0)), 0, C, SC_STEAM, C, C, 1),
      // Entry points copy CalcStatus to their status; SatPByT's sentinel is 1 × 10; 0.01f < 0.01.
      ROW(Entry(SatPByT, 0.005f), TLo, 10, TLo), ROW(Entry(SatWaterHByT, 0.01f), TLo, 10, TLo),
      ROW(Entry(SatTByP, kNaN), PLo, 10, PLo), ROW(Entry(SatSteamVByP, 221.21f), PHi, 10, PHi),
      // The order check, then the minimum 0.001 of the ×10 values, report through status only.
      ROW(EndH(300, 10, 10), kPoison, 10, CS_ORDER), ROW(EndH(500, kNaN, 1), kPoison, 10, CS_ORDER),
      ROW(EndH(300, 0.0005f, 0.001f), kPoison, 10, CS_ORDER), ROW(EndH(500, 100, 1), 0, C, 0),
      ROW(EndH(300, 10, 0.0009f), kPoison, 100, PLo), ROW(EndH(800.5f, 100, 1), THi, 10, THi),
      ROW(EndH(300, 10, 0.001f), PLo | SLo, 10, PLo | SLo), ROW(EndH(kNaN, 100, 1), TLo, 10, TLo)};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.call);
    CalcStatus = kPoison;
    const Outs got = row.fn();
    EXPECT_EQ(CalcStatus, row.status);
    for (std::size_t i = 0; i < row.want.size(); ++i) {
      const double y = got[i], want = row.want[i];
      EXPECT_TRUE(want == C ? std::isfinite(y) && y != 1 && y != 10 && y != 2107.4 : y == want)
          << "output " << i << ": " << y;
    }
  }
}
