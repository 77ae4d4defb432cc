#include <gtest/gtest.h>

#include <cmath>

#include "engine/constants.h"
#include "engine/satprops.h"
#include "engine/saturation.h"
#include "engine/detail/solver_parts.h"
#include "engine/solvers.h"
#include "engine/statepoint.h"

namespace {

double Prop(double t, double p, int kind) {
  int state = 0;
  return PointProp(t, p, kind, state);
}

struct Result {
  int state;
  double p, v, h, x;
  SearchInfo info;
};
Result ByS(double t, double s) {
  Result r{};
  CalcStatus = 0xFFFF;
  r.state = SolvePFromTS(t, s, r.p, r.v, r.h, r.x, &r.info);
  return r;
}

struct Slot {
  double p = -7, v = -7, s = -7, x = -7;
  int state = -7;
};
struct Solutions {
  int count;
  Slot slot[2];
  SearchInfo info;
};
Solutions ByH(double t, double h) {
  Solutions r{};
  CalcStatus = 0xFFFF;
  Slot& a = r.slot[0];
  Slot& b = r.slot[1];
  r.count = SolvePFromTH(t, h, a.p, a.v, a.s, a.x, a.state, b.p, b.v, b.s, b.x, b.state, &r.info);
  return r;
}

void ExpectSentinels(const Result& r) {
  EXPECT_EQ(r.state, SC_UNKNOWN);
  EXPECT_EQ(r.p, 10.0);
  EXPECT_EQ(r.v, 10.0);
  EXPECT_EQ(r.h, 10.0);
  EXPECT_EQ(r.x, 1.0);
}
void ExpectSentinels(const Solutions& r) {
  EXPECT_EQ(r.count, 0);
  for (const Slot& s : r.slot) {
    EXPECT_EQ(s.p, 10.0);
    EXPECT_EQ(s.v, 10.0);
    EXPECT_EQ(s.s, 10.0);
    EXPECT_EQ(s.x, 1.0);
    EXPECT_EQ(s.state, SC_UNKNOWN);
  }
}
void ExpectUntouched(const Slot& s) {
  EXPECT_EQ(s.p, -7.0);
  EXPECT_EQ(s.v, -7.0);
  EXPECT_EQ(s.s, -7.0);
  EXPECT_EQ(s.x, -7.0);
  EXPECT_EQ(s.state, -7);
}

struct FailRow {
  double t, y;
  std::uint32_t status;
};

TEST(SolvePFromTS, OutOfRangeInputsReturnSentinelsWithTheirFlags) {
  const double sLo = Prop(300, 100, PK_S), sHi = Prop(300, 0.001, PK_S);
  const FailRow rows[] = {
      {800.0001, 7, CS_T_HIGH},
      {INFINITY, 7, CS_T_HIGH},
      // Below 0.01 °C the bracket calls leave CS_T_LOW; the value test is OR-ed on.
      {0.005, 1, CS_T_LOW | CS_S_LOW},
      {NAN, 1, CS_T_LOW | CS_S_LOW},
      {-INFINITY, 11, CS_T_LOW | CS_S_HIGH},
      {300, std::nextafter(sLo, 0.0), CS_S_LOW},
      {300, std::nextafter(sHi, 20.0), CS_S_HIGH},
      {300, NAN, CS_S_LOW},
      {300, INFINITY, CS_S_HIGH},
  };
  for (const FailRow& row : rows) {
    SCOPED_TRACE(testing::Message() << row.t << " " << row.y);
    const Result r = ByS(row.t, row.y);
    EXPECT_EQ(CalcStatus, row.status);
    ExpectSentinels(r);
  }
}

TEST(SolvePFromTH, OutOfRangeInputsFillBothSlotsWithSentinels) {
  const double hHi = Prop(300, 0.001, PK_H);
  const FailRow rows[] = {
      {800.0001, 3000, CS_T_HIGH},
      // Below 0.01 °C the bracket answers 10 at both ends, so 3000 ≥ h_hi adds CS_H_HIGH.
      {0.005, 3000, CS_T_LOW | CS_H_HIGH},
      {300, 0.5, CS_H_LOW},  // a fixed lower limit of 1 kJ/kg at any temperature
      {20, 0.5, CS_H_LOW},
      {300, std::nextafter(1.0, 0.0), CS_H_LOW},
      {300, hHi, CS_H_HIGH},  // at h_hi itself already out
      {300, NAN, CS_H_LOW},
      {300, INFINITY, CS_H_HIGH},
      {NAN, 3000, CS_T_LOW | CS_H_HIGH},
  };
  for (const FailRow& row : rows) {
    SCOPED_TRACE(testing::Message() << row.t << " " << row.y);
    const Solutions r = ByH(row.t, row.y);
    EXPECT_EQ(CalcStatus, row.status);
    ExpectSentinels(r);
  }
  // Just below h_hi is accepted and found near 0.001 MPa.
  const double h = std::nextafter(hHi, 0.0);
  const Solutions r = ByH(300, h);
  EXPECT_EQ(CalcStatus, 0u);
  ASSERT_EQ(r.count, 1);
  EXPECT_EQ(r.slot[0].state, SC_STEAM);
  EXPECT_NEAR(r.slot[0].p, 0.001, 1e-6);
}

TEST(SolvePFromTS, CriticalPointIsAnsweredDirectly) {
  for (double t : {374.15, 374.149995, 374.150005}) {
    SCOPED_TRACE(t);
    const Result r = ByS(t, 4.4429);
    EXPECT_EQ(CalcStatus, 0u);
    EXPECT_EQ(r.state, SC_SUPERCRITICAL);
    EXPECT_EQ(r.p, 22.12);
    EXPECT_EQ(r.v, 0.00317);
    EXPECT_EQ(r.h, 2107.4);
    EXPECT_EQ(r.x, 1.0);
    EXPECT_EQ(r.info.evaluations, 0);
  }
}

TEST(SolvePFromTH, CriticalPointIsAnsweredDirectly) {
  const Solutions r = ByH(374.15, 2107.4);
  EXPECT_EQ(CalcStatus, 0u);
  ASSERT_EQ(r.count, 1);
  EXPECT_EQ(r.slot[0].p, 22.12);
  EXPECT_EQ(r.slot[0].v, 0.00317);
  EXPECT_EQ(r.slot[0].s, 4.4429);
  EXPECT_EQ(r.slot[0].x, 1.0);
  EXPECT_EQ(r.slot[0].state, SC_SUPERCRITICAL);
  ExpectUntouched(r.slot[1]);
}

// At and above 374.15 °C a value within its tolerance of the one at 22.12 MPa is answered there.
TEST(SolvePFromTS, EntropyAtTheCriticalPressureAboveTheCriticalTemperature) {
  const double sC = Prop(400, 22.12, PK_S);
  for (double offset : {0.0, 0.00004, -0.00004}) {
    SCOPED_TRACE(offset);
    const Result r = ByS(400, sC + offset);
    EXPECT_EQ(CalcStatus, 0u);
    EXPECT_EQ(r.state, SC_SUPERCRITICAL);
    EXPECT_EQ(r.p, 22.12);
    EXPECT_EQ(r.v, Prop(400, 22.12, PK_V));
    EXPECT_EQ(r.h, Prop(400, 22.12, PK_H));
    EXPECT_EQ(r.x, 1.0);
  }
  const Result above = ByS(400, sC + 0.0001);
  EXPECT_EQ(above.state, SC_STEAM);
  EXPECT_LT(above.p, 22.12);
  const Result below = ByS(400, sC - 0.0001);
  EXPECT_EQ(below.state, SC_SUPERCRITICAL);
  EXPECT_GT(below.p, 22.12);
}

TEST(SolvePFromTH, EnthalpyAtTheCriticalPressureIsAnsweredThere) {
  for (double t : {300.0, 400.0}) {
    SCOPED_TRACE(t);
    const double hC = Prop(t, 22.12, PK_H);
    const Solutions r = ByH(t, hC + 0.0004);
    EXPECT_EQ(CalcStatus, 0u);
    ASSERT_EQ(r.count, 1);
    EXPECT_EQ(r.slot[0].p, 22.12);
    EXPECT_EQ(r.slot[0].v, Prop(t, 22.12, PK_V));
    EXPECT_EQ(r.slot[0].s, Prop(t, 22.12, PK_S));
    EXPECT_EQ(r.slot[0].state, SC_SUPERCRITICAL);
  }
}

TEST(SolvePFromTS, BelowTheCriticalTemperatureALowEntropyIsSupercritical) {
  const double sC = Prop(300, 22.12, PK_S);
  const Result r = ByS(300, sC - 0.01);
  EXPECT_EQ(CalcStatus, 0u);
  EXPECT_EQ(r.state, SC_SUPERCRITICAL);
  EXPECT_EQ(r.x, -1.0);
  EXPECT_GT(r.p, 22.12);
  EXPECT_NEAR(Prop(300, r.p, PK_S), sC - 0.01, 1e-6);
}

TEST(SolvePFromTS, WetPointGivesTheSaturationPressureAndTheMixture) {
  const double t = 200;
  const double sW = SatWaterProp(t, 1, PK_S), sS = SatSteamProp(t, 1, PK_S);
  const double s = sW + 0.25 * (sS - sW);
  const Result r = ByS(t, s);
  EXPECT_EQ(CalcStatus, 0u);
  EXPECT_EQ(r.state, SC_WET);
  EXPECT_EQ(r.p, SatPressure(t));
  const double x = (s - sW) / (sS - sW);
  EXPECT_EQ(r.x, x);
  const double hW = SatWaterProp(t, 1, PK_H), hS = SatSteamProp(t, 1, PK_H);
  EXPECT_EQ(r.h, hW + (hS - hW) * x);
}

// Next to the critical point Quality refuses the temperature (374.15 − t < 0.0001) and answers
// 1 as the volume; the flag used to be lost to the saturation calls after it.
TEST(SolvePFromTS, WetResultKeepsTheFlagOfARefusedTemperature) {
  const Result r = ByS(374.14995, 4.4429);
  EXPECT_EQ(r.state, SC_WET);
  EXPECT_EQ(CalcStatus, CS_T_HIGH);
  EXPECT_EQ(r.v, 1.0);
  EXPECT_EQ(r.x, 1.0);  // Quality's dryness 10, clamped
}

TEST(SolvePFromTH, AboveTheCriticalTemperatureAnEnthalpyBelowTheCriticalPressureOneHasNoState) {
  const double hC = Prop(400, 22.12, PK_H);
  const Solutions r = ByH(400, hC - 1);
  EXPECT_EQ(r.count, 0);
  EXPECT_EQ(CalcStatus, 0u);
  ExpectUntouched(r.slot[0]);
  ExpectUntouched(r.slot[1]);
}

TEST(SolvePFromTH, WetAndCompressedWaterGiveTwoSolutions) {
  const double t = 100;
  const double hW = SatWaterProp(t, 1, PK_H), hS = SatSteamProp(t, 1, PK_H);
  const double h = hW + 5;  // between h′ and h″ and between h′ and h at 22.12 MPa
  ASSERT_LT(h, Prop(t, 22.12, PK_H));
  const Solutions r = ByH(t, h);
  EXPECT_EQ(CalcStatus, 0u);
  ASSERT_EQ(r.count, 2);
  const double x = (h - hW) / (hS - hW);
  EXPECT_EQ(r.slot[0].state, SC_WET);
  EXPECT_EQ(r.slot[0].p, SatPressure(t));
  EXPECT_EQ(r.slot[0].x, x);
  double dryness = 0;
  EXPECT_EQ(r.slot[0].v, Quality(t, 1, h, PK_H, dryness, PK_V));
  EXPECT_EQ(r.slot[1].state, SC_WATER);
  EXPECT_EQ(r.slot[1].x, 0.0);
  EXPECT_GT(r.slot[1].p, SatPressure(t));
  EXPECT_NEAR(Prop(t, r.slot[1].p, PK_H), h, 0.00005);
  EXPECT_EQ(r.slot[1].s, Prop(t, r.slot[1].p, PK_S));
  EXPECT_EQ(r.slot[1].v, Prop(t, r.slot[1].p, PK_V));
}

TEST(SolvePFromTH, WetOnlyAndNoStateCases) {
  // Far into the wet band no compressed-water state reaches the enthalpy: one solution.
  const Solutions wet = ByH(100, 1500);
  EXPECT_EQ(CalcStatus, 0u);
  ASSERT_EQ(wet.count, 1);
  EXPECT_EQ(wet.slot[0].state, SC_WET);
  ExpectUntouched(wet.slot[1]);
  // Below h′ at 100 °C no state exists (water enthalpy rises with pressure there).
  const Solutions none = ByH(100, 300);
  EXPECT_EQ(none.count, 0);
  EXPECT_EQ(CalcStatus, 0u);
  ExpectUntouched(none.slot[0]);
}

// Round trips: (t, p) → s, h → p again.
struct GridPoint {
  double t, p;
};
// Compressed water at low pressure lies within the wet band's 0.00005 of s′ (20 °C, 0.1 MPa is
// reported wet by entropy), so the water points here sit well above their saturation pressure.
constexpr GridPoint kGrid[] = {
    // compressed water
    {90, 5},
    {200, 10},
    {300, 20},
    {355, 20},
    {365, 21},
    {373, 22},
    // superheated steam
    {10, 0.0011},
    {100, 0.01},
    {200, 0.1},
    {400, 1},
    {500, 10},
    {360, 17},
    {380, 20},
    {700, 0.002},
    {800, 15},
    {374.15, 10},
    // supercritical
    {20, 50},
    {100, 30},
    {300, 60},
    {380, 25},
    {400, 30},
    {450, 60},
    {600, 100},
    {374.3, 22.2},
    {390, 22.5}};

TEST(SolvePFromTS, RoundTripsOverEveryStateRegion) {
  for (const GridPoint& g : kGrid) {
    SCOPED_TRACE(testing::Message() << g.t << " °C " << g.p << " MPa");
    int expected = 0;
    const double s = PointProp(g.t, g.p, PK_S, expected);
    const Result r = ByS(g.t, s);
    EXPECT_EQ(CalcStatus, 0u);
    EXPECT_EQ(r.state, expected);
    EXPECT_NEAR(Prop(g.t, r.p, PK_S), s, r.info.bestPoint ? solver_search::kBestPointBoundS : 1e-6);
    // Compressed water hardly changes entropy with pressure: compare relative to the slope.
    EXPECT_NEAR(r.p, g.p, g.p * 0.02);
    EXPECT_EQ(r.h, Prop(g.t, r.p, PK_H));
    EXPECT_EQ(r.v, Prop(g.t, r.p, PK_V));
  }
}

// The (t, h) solver searches compressed water only between ps and 22.12 MPa with h above h′, and
// steam below 22.12 MPa: those grid points come back among its solutions.
TEST(SolvePFromTH, RoundTripsFindTheOriginalPointAmongTheSolutions) {
  for (const GridPoint& g : kGrid) {
    SCOPED_TRACE(testing::Message() << g.t << " °C " << g.p << " MPa");
    int expected = 0;
    const double h = PointProp(g.t, g.p, PK_H, expected);
    const Solutions r = ByH(g.t, h);
    EXPECT_EQ(CalcStatus, 0u);
    if (g.p > 22.12 || (expected == SC_WATER && h < SatWaterProp(g.t, 1, PK_H))) continue;
    bool found = false;
    for (int i = 0; i < r.count; ++i) {
      const Slot& s = r.slot[i];
      if (s.state != SC_WET && std::fabs(s.p - g.p) < g.p * 0.02) {
        found = true;
        EXPECT_NEAR(Prop(g.t, s.p, PK_H), h,
                    r.info.bestPoint ? solver_search::kBestPointBoundH : 0.00005);
      }
    }
    EXPECT_TRUE(found);
  }
}

// Below the pressure range: steam near its value at 0.001 MPa. A trial below 0.0007 MPa gets the
// sentinel 10, the residual keeps pointing down and p would freeze at 0.
TEST(SolvePFromTS, SteamTrialsTrappedBelowThePressureRangeAreFoundOnTheInterval) {
  const struct {
    double t, s;
  } rows[] = {
      {600, 11}, {300, Prop(300, 0.001, PK_S) - 0.01}, {800, Prop(800, 0.001, PK_S) - 1e-6}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.t << " " << row.s);
    const Result r = ByS(row.t, row.s);
    EXPECT_EQ(CalcStatus, 0u);
    EXPECT_EQ(r.state, SC_STEAM);
    EXPECT_GE(r.p, 0.001);
    EXPECT_NEAR(Prop(row.t, r.p, PK_S), row.s, 1e-6);
    EXPECT_FALSE(r.info.converged);
    EXPECT_FALSE(r.info.bestPoint);
  }
}

TEST(SolvePFromTH, SteamTrialsTrappedBelowThePressureRangeAreFoundOnTheInterval) {
  const struct { double t, h; } rows[] = {{37.4337, 2570.98}, {200, Prop(200, 0.001, PK_H) - 0.01}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.t << " " << row.h);
    const Solutions r = ByH(row.t, row.h);
    EXPECT_EQ(CalcStatus, 0u);
    ASSERT_EQ(r.count, 1);
    EXPECT_EQ(r.slot[0].state, SC_STEAM);
    EXPECT_GE(r.slot[0].p, 0.001);
    EXPECT_NEAR(Prop(row.t, r.slot[0].p, PK_H), row.h, 0.00005);
    EXPECT_FALSE(r.info.converged);
  }
}

// With s below 10 the sentinel 10 of a trial under 0.0007 MPa points the search back up: this
// one visits 0.00047 MPa, returns, and ends by its own stop test after 35 rounds.
TEST(SolvePFromTS, ASearchThatLeavesTheRangeAndComesBackIsLeftAlone) {
  const double s = Prop(100, 0.001, PK_S) - 0.01;
  const Result r = ByS(100, s);
  EXPECT_EQ(CalcStatus, 0u);
  EXPECT_EQ(r.state, SC_STEAM);
  EXPECT_TRUE(r.info.converged);
  EXPECT_EQ(r.info.evaluations, 36);  // the start value and 35 rounds
  EXPECT_NEAR(Prop(100, r.p, PK_S), s, 1e-6);
}

// At exactly 374.15 °C the steam start value takes s″ and h″ at the critical point.
TEST(SolvePFromTS, SteamAtExactlyTheCriticalTemperature) {
  const Result r = ByS(374.15, 5.5);
  EXPECT_EQ(CalcStatus, 0u);
  EXPECT_EQ(r.state, SC_STEAM);
  EXPECT_LT(r.p, 22.12);
  EXPECT_NEAR(Prop(374.15, r.p, PK_S), 5.5, 1e-6);
}

TEST(SolvePFromTH, SteamAtExactlyTheCriticalTemperature) {
  const Solutions r = ByH(374.15, 2700);
  EXPECT_EQ(CalcStatus, 0u);
  ASSERT_EQ(r.count, 1);
  EXPECT_EQ(r.slot[0].state, SC_STEAM);
  EXPECT_LT(r.slot[0].p, 22.12);
  EXPECT_NEAR(Prop(374.15, r.slot[0].p, PK_H), 2700, 0.00005);
}

TEST(SolvePFromTS, NearCriticalStaircaseEndsWithTheBestPoint) {
  const Result r = ByS(374.15, 4.3);
  EXPECT_EQ(CalcStatus, 0u);
  EXPECT_EQ(r.state, SC_SUPERCRITICAL);
  EXPECT_TRUE(r.info.bestPoint);
  const double residual = std::fabs(Prop(374.15, r.p, PK_S) - 4.3);
  EXPECT_GE(residual, 0.000001);
  EXPECT_LE(residual, solver_search::kBestPointBoundS);
  EXPECT_NEAR(r.p, 22.1441, 1e-3);
}

TEST(SolversAtGivenTemperature, EveryInputOfADenseGridEnds) {
  const double temps[] = {0.01, 1,     6.98,     37.4337, 100,      300, 350, 360, 373,
                          374,  374.1, 374.1499, 374.15,  374.1501, 380, 400, 600, 800};
  for (double t : temps) {
    const double sHi = Prop(t, 0.001, PK_S), hHi = Prop(t, 0.001, PK_H);
    const double ss[] = {0, 0.01, 0.5, 1, 2, 3,  3.5,  4,  4.3,        4.4,        4.44, 4.5,
                         5, 6,    7,   8, 9, 10, 10.5, 11, sHi - 0.01, sHi - 1e-5, sHi};
    const double hs[] = {1,      5,    100,  500,  1000, 1500, 1700, 1900,       2000,      2100,
                         2107.4, 2200, 2400, 2600, 2800, 3000, 3500, hHi - 0.01, hHi - 1e-5};
    for (double s : ss) {
      SCOPED_TRACE(testing::Message() << t << " s " << s);
      const Result r = ByS(t, s);
      EXPECT_TRUE(std::isfinite(r.p) && std::isfinite(r.v) && std::isfinite(r.h));
      EXPECT_LT(r.info.evaluations, solver_search::kRoundCap);
      if (CalcStatus == 0 && r.state != SC_WET && r.p != 22.12) {
        EXPECT_NEAR(Prop(t, r.p, PK_S), s,
                    r.info.bestPoint ? solver_search::kBestPointBoundS : 1e-6);
      }
      EXPECT_EQ(CalcStatus & ~(CS_S_LOW | CS_S_HIGH | CS_T_HIGH | CS_NO_CONVERGENCE), 0u);
    }
    for (double h : hs) {
      SCOPED_TRACE(testing::Message() << t << " h " << h);
      const Solutions r = ByH(t, h);
      EXPECT_LT(r.info.evaluations, solver_search::kRoundCap);
      for (int i = 0; i < r.count; ++i) {
        EXPECT_TRUE(std::isfinite(r.slot[i].p) && std::isfinite(r.slot[i].v));
        if (CalcStatus == 0 && r.slot[i].state != SC_WET && r.slot[i].p != 22.12) {
          EXPECT_NEAR(Prop(t, r.slot[i].p, PK_H), h,
                      r.info.bestPoint ? solver_search::kBestPointBoundH : 0.00005);
        }
      }
      EXPECT_EQ(CalcStatus & ~(CS_H_LOW | CS_H_HIGH | CS_T_HIGH | CS_NO_CONVERGENCE), 0u);
    }
  }
}

}  // namespace
