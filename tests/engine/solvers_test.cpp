// The inverse solvers branch by branch, and one termination sweep of round trips around the zones
// where a step search cannot end by itself.
#include <algorithm>
#include <tuple>

#include "tests/engine/engine_test.h"

enum Ending { kStop, kInterval, kBest };  // own stop test, bisection on its interval, best point

int most = 0;  // the most evaluations a solve took

// A solve ends with finite outputs, flagged at most by a value range, the critical point or no
// convergence; a searched point gives the value back within its stop test or, after a stall, the
// documented best-point bound (3e-6 kJ/(kg·K), 0.002 kJ/kg).
Answer Check(Solver w, double fixed, double y) {
  const Answer a = Solve(w, fixed, y);
  most = std::max(most, a.info.evaluations);
  const std::uint32_t flags = CS_S_LOW | CS_S_HIGH | CS_H_LOW | CS_H_HIGH | CS_T_HIGH;
  EXPECT_EQ(a.status & ~(flags | CS_NO_CONVERGENCE), 0u) << w << ": " << fixed << ", " << y;
  const int kind = w == PS || w == TS ? PK_S : PK_H;
  const double tol[] = {1e-6, 1e-4, 1e-6, 0.00005}, bound[] = {3e-6, 0.002};
  for (const Slot& s : a.slot) {
    EXPECT_TRUE(std::isfinite(s.found + s.v + s.other)) << w << ": " << fixed << ", " << y;
    if (a.status != 0 || s.state <= 0 || s.state == SC_WET || s.found == 22.12) continue;
    const double back = w <= PH ? Prop(s.found, fixed, kind) : Prop(fixed, s.found, kind);
    EXPECT_NEAR(back, y, a.info.bestPoint ? bound[kind == PK_H] : tol[w]) << w << ": " << fixed;
  }
  return a;
}

TEST(Solvers, EachBranchGivesItsStateAndEnding) {
  const double t1 = SatTemperature(1), sW = SatWaterProp(1, 0, PK_S), sS = SatSteamProp(1, 0, PK_S);
  const double hW = SatWaterProp(0.0250239, 0, PK_H) - 0.09, hW2 = SatWaterProp(0.02, 0, PK_H);
  const double sC = Prop(400, 22.12, PK_S), hC = Prop(400, 22.12, PK_H), F = NAN;  // F: searched
  const double sLo = Prop(0.1, 1, PK_S), hHi = Prop(200, 0.001, PK_H), ps = SatPressure(200);
  const double s2 = SatWaterProp(200, 1, PK_S), h2 = SatWaterProp(200, 1, PK_H);  // at 200 °C
  const int W = SC_WATER, WET = SC_WET, S = SC_STEAM, SUP = SC_SUPERCRITICAL, NO = -7;
  const struct { Solver w; double fixed, y; std::uint32_t status; int state; double found = NAN;
                 double x = NAN; int end = kStop; } rows[] = {
      // Wet within 0.00005 of s′ or s″, x clamped; a fraction Quality refuses keeps its flag, v 10.
      {PS, 1, sW + 0.3 * (sS - sW), 0, WET, t1, 0.3}, {PS, 1, sW - 4e-5, 0, WET, t1, 0},
      {PS, 1, sW - 6e-5, 0, W}, {PS, 1, sS + 4e-6, 0, WET, t1, 1}, {PS, 1, sS + 6e-5, 0, S},
      {PS, 1, sS + 4e-5, CS_S_HIGH, WET, t1, 1}, {TS, 200, s2 - 4e-5, 0, WET, ps, 0},
      {TS, 200, s2 - 6e-5, 0, W}, {TH, 200, h2 - 4e-5, 0, WET, ps, 0},
      {TH, 200, h2 - 6e-5, 0, NO},  // below h′ no (t, h) state
      // 22.12 MPa within 0.00001 is supercritical; 0.00002 below, an ordinary pressure.
      {PS, 22.12, 3.5, 0, SUP}, {PS, 22.119995, 3.5, 0, SUP}, {PS, 22.11998, 3.5, 0, W},
      // The (p, h) wet band: 0.1 kJ/kg from 0.0250239 MPa up, 0.01 below.
      {PH, 0.0250239, hW, CS_H_LOW, WET, SatTemperature(0.0250239), 0}, {PH, 0.0250238, hW, 0, W},
      {PH, 0.0250239, hW - 0.02, 0, W},
      {PH, 0.02, hW2 - 0.009, 0, WET, SatTemperature(0.02), 0}, {PH, 0.02, hW2 - 0.011, 0, W},
      // Out-of-range trials answer 10 (here s is 10 too) and point out: found on the interval.
      {PS, 1, sLo + 1e-5, 0, W, F, F, kInterval}, {PH, 0.1, 0.5, 0, W, F, F, kInterval},
      {TS, 382.2901, 10, 0, S, F, F, kInterval}, {TH, 200, hHi - 0.01, 0, S, F, F, kInterval},
      // Near the critical point the property moves in the inner volume searches' jumps; no state
      // has an enthalpy in the gaps around the critical constants.
      {PH, 22.05, 2002.535, 0, W, F, F, kBest}, {TS, 374.15, 4.3, 0, SUP, F, F, kBest},
      {TH, 374.14, 2122.82, 0, S, F, F, kBest},  // a first stall 0.017 off, rejected
      {PH, 22.12, 2100, CS_NO_CONVERGENCE, 0, 10, 1, kInterval},
      {TS, 374.15, 4.4429, 0, SUP, 22.12, 1}, {TH, 374.15, 2107.4, 0, SUP, 22.12, 1},
      {TS, 374.14995, 4.4429, CS_T_HIGH, WET, SatPressure(374.14995), 1},  // Quality refuses t
      {TS, 400, sC + 4e-5, 0, SUP, 22.12, 1}, {TS, 400, sC + 1e-4, 0, S},
      {TS, 400, sC - 1e-4, 0, SUP}, {TS, 300, Prop(300, 22.12, PK_S) - 0.01, 0, SUP},
      {TS, 374.15, 5.5, 0, S}, {TH, 374.15, 2700, 0, S}, {TH, 400, hC - 4e-4, 0, SUP, 22.12, 1},
      {TH, 400, hC - 1e-3, 0, NO}};
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << "solver " << r.w << ": " << r.fixed << ", " << r.y);
    const Answer a = Check(r.w, r.fixed, r.y);
    const Slot& s = a.slot[0];
    EXPECT_EQ(std::make_tuple(a.status, s.state, a.count),
              std::make_tuple(r.status, r.state, int(r.state != NO)));
    EXPECT_EQ(a.info.converged ? kStop : a.info.bestPoint ? kBest : kInterval, r.end);
    EXPECT_TRUE(std::isnan(r.x) || std::fabs(s.x - r.x) < 1e-12) << s.x;
    EXPECT_TRUE(std::isnan(r.found) || s.found == r.found) << s.found;
    EXPECT_TRUE(r.status == 0 || r.state != WET || s.v == (r.status == CS_T_HIGH ? 1 : 10)) << s.v;
  }
  const Answer two = Check(TH, 100, SatWaterProp(100, 1, PK_H) + 5);  // also below h(22.12 MPa)
  EXPECT_TRUE(two.count == 2 && two.slot[0].state == WET && two.slot[1].state == W);
}

// Round trips through Check end far below the caps where a search cannot end by itself: just above
// the values at 0.1 °C (trials below 0.01 °C), steam near its value at 0.001 MPa (trials below
// 0.0007 MPa), the near-critical staircase; and the saturation temperature gives t back.
TEST(Solvers, EveryInputOfADenseGridAroundTheHardZonesEnds) {
  for (int i = 0; i <= 48; ++i) {
    const double up = std::pow(10.0, -9 + i / 6.4), down = i ? std::pow(10.0, -9 + i / 6.0) : 0;
    for (double p : {0.0007, 0.001, 0.0250239, 0.1, 1.0, 16.5, 22.11, 22.12, 22.13, 30.0, 100.0}) {
      Check(PS, p, Prop(0.1, p, PK_S) + up), Check(PH, p, Prop(0.1, p, PK_H) + 100 * up);
    }
    for (double t : {0.01, 7.0, 37.4337, 100.0, 300.0, 360.0, 373.0, 374.1499, 374.1501, 800.0}) {
      Check(TS, t, Prop(t, 0.001, PK_S) - down), Check(TH, t, Prop(t, 0.001, PK_H) - 10 * down);
    }
    const double h = 1700 + 19.0 * i, s = 3.9 + 0.025 * i;  // the staircase
    for (double p : {22.0, 22.119995, 22.12, 22.2, 23.0}) Check(PH, p, h), Check(PS, p, s);
    for (double t : {374.0, 374.1499, 374.15}) Check(TH, t, h), Check(TS, t, s);
  }
  EXPECT_LE(most, 400);  // measured 157, against a cap of 8000; an own stop test ends within 71
  for (double t = 1.9; t < 374.149; t += 0.73) EXPECT_NEAR(SatTemperature(SatPressure(t)), t, 1e-6);
}
