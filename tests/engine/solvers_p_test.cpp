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
  double t, v, z, x;
  SearchInfo info;
};
Result ByS(double p, double s) {
  Result r{};
  CalcStatus = 0xFFFF;
  r.state = SolveTFromPS(p, s, r.t, r.v, r.z, r.x, &r.info);
  return r;
}
Result ByH(double p, double h) {
  Result r{};
  CalcStatus = 0xFFFF;
  r.state = SolveTFromPH(p, h, r.t, r.v, r.z, r.x, &r.info);
  return r;
}

void ExpectSentinels(const Result& r) {
  EXPECT_EQ(r.state, SC_UNKNOWN);
  EXPECT_EQ(r.t, 10.0);
  EXPECT_EQ(r.v, 10.0);
  EXPECT_EQ(r.z, 10.0);
  EXPECT_EQ(r.x, 1.0);
}

struct FailRow {
  double p, y;
  std::uint32_t status;
};

TEST(SolveTFromPS, OutOfRangeInputsReturnSentinelsWithTheirFlags) {
  const double sLo = Prop(0.1, 1, PK_S), sHi = Prop(800, 1, PK_S);
  const FailRow rows[] = {
      {100.0001, 6, CS_P_HIGH},
      {INFINITY, 6, CS_P_HIGH},
      // Below 0.0007 MPa the bracket calls answer 10 with CS_P_LOW; the value test is OR-ed on.
      {0.00069, 1, CS_P_LOW | CS_S_LOW},
      {0.00069, 11, CS_P_LOW | CS_S_HIGH},
      {NAN, 6, CS_P_LOW | CS_S_LOW},
      {1, std::nextafter(sLo, 0.0), CS_S_LOW},
      {1, std::nextafter(sHi, 20.0), CS_S_HIGH},
      {1, NAN, CS_S_LOW},
      {1, INFINITY, CS_S_HIGH},
      {1, -INFINITY, CS_S_LOW},
  };
  for (const FailRow& row : rows) {
    SCOPED_TRACE(testing::Message() << row.p << " " << row.y);
    const Result r = ByS(row.p, row.y);
    EXPECT_EQ(CalcStatus, row.status);
    ExpectSentinels(r);
  }
}

TEST(SolveTFromPH, OutOfRangeInputsReturnSentinelsWithTheirFlags) {
  const double hLo = Prop(0.1, 1, PK_H), hHi = Prop(800, 1, PK_H);
  const FailRow rows[] = {
      {100.0001, 3000, CS_P_HIGH},
      {0.00069, 5, CS_P_LOW | CS_H_LOW},
      {0.00069, 3000, CS_P_LOW | CS_H_HIGH},
      {1, std::nextafter(hLo, 0.0), CS_H_LOW},
      {1, std::nextafter(hHi, 5000.0), CS_H_HIGH},
      {1, NAN, CS_H_LOW},
      {1, INFINITY, CS_H_HIGH},
  };
  for (const FailRow& row : rows) {
    SCOPED_TRACE(testing::Message() << row.p << " " << row.y);
    const Result r = ByH(row.p, row.y);
    EXPECT_EQ(CalcStatus, row.status);
    ExpectSentinels(r);
  }
}

TEST(SolveTFromPS, BracketEndsThemselvesAreSolved) {
  const Result lo = ByS(1, Prop(0.1, 1, PK_S));
  EXPECT_EQ(CalcStatus, 0u);
  EXPECT_EQ(lo.state, SC_WATER);
  EXPECT_NEAR(lo.t, 0.1, 1e-3);
  const Result hi = ByS(1, Prop(800, 1, PK_S));
  EXPECT_EQ(CalcStatus, 0u);
  EXPECT_EQ(hi.state, SC_STEAM);
  EXPECT_NEAR(hi.t, 800, 1e-3);
}

TEST(SolveTFromPS, CriticalPressureWithinItsToleranceTakesTheSupercriticalBranch) {
  for (double p : {22.12, 22.119995, 22.12001, 30.0}) {
    SCOPED_TRACE(p);
    const Result r = ByS(p, 3.5);
    EXPECT_EQ(CalcStatus, 0u);
    EXPECT_EQ(r.state, SC_SUPERCRITICAL);
    EXPECT_EQ(r.x, -1.0);
    EXPECT_NEAR(Prop(r.t, p, PK_S), 3.5, 1e-6);
  }
  // 0.00002 below 22.12 is an ordinary pressure: the same entropy is compressed water.
  const Result r = ByS(22.11998, 3.5);
  EXPECT_EQ(r.state, SC_WATER);
  EXPECT_EQ(r.x, 0.0);
}

// Just inside the wet tolerance a value is wet with its fraction clamped; just outside it is
// searched on its own branch.
struct WetRow {
  double p;
  double offset;  // from s′ (water side) or s″ (steam side)
  bool steamSide;
  int state;
  std::uint32_t status;
};
TEST(SolveTFromPS, WetToleranceOnBothSaturatedValues) {
  // Above s″ the wet band (0.00005) is wider than Quality's tolerance on the fraction
  // (x − 1 ≤ 0.000001): such a point is wet, and its sentinel volume is reported as a failure.
  const WetRow rows[] = {
      {1, -0.00004, false, SC_WET, 0},       {1, -0.00006, false, SC_WATER, 0},
      {1, 0.000004, true, SC_WET, 0},        {1, 0.00004, true, SC_WET, CS_S_HIGH},
      {1, 0.00006, true, SC_STEAM, 0},       {0.01, -0.00004, false, SC_WET, 0},
      {20, 0.00004, true, SC_WET, CS_S_HIGH}};
  for (const WetRow& row : rows) {
    SCOPED_TRACE(testing::Message() << row.p << " " << row.offset << " " << row.steamSide);
    const double sat = row.steamSide ? SatSteamProp(row.p, 0, PK_S) : SatWaterProp(row.p, 0, PK_S);
    const Result r = ByS(row.p, sat + row.offset);
    EXPECT_EQ(CalcStatus, row.status);
    EXPECT_EQ(r.state, row.state);
    if (row.status) {
      EXPECT_EQ(r.v, 10.0);
    }
    const double ts = SatTemperature(row.p);
    if (row.state == SC_WET) {
      EXPECT_EQ(r.t, ts);
      EXPECT_EQ(r.x, row.steamSide ? 1.0 : 0.0);
      EXPECT_EQ(r.z, row.steamSide ? SatSteamProp(row.p, 0, PK_H) : SatWaterProp(row.p, 0, PK_H));
    } else {
      EXPECT_EQ(r.x, row.steamSide ? 1.0 : 0.0);
      EXPECT_NEAR(Prop(r.t, row.p, PK_S), sat + row.offset, 1e-6);
      EXPECT_TRUE(row.steamSide ? r.t > ts : r.t < ts);
    }
  }
}

TEST(SolveTFromPS, WetPointGivesTheMixtureOfTheSaturatedValues) {
  const double p = 0.5;
  const double sW = SatWaterProp(p, 0, PK_S), sS = SatSteamProp(p, 0, PK_S);
  const double s = sW + 0.3 * (sS - sW);
  const Result r = ByS(p, s);
  EXPECT_EQ(CalcStatus, 0u);
  EXPECT_EQ(r.state, SC_WET);
  EXPECT_EQ(r.t, SatTemperature(p));
  const double x = (s - sW) / (sS - sW);
  EXPECT_EQ(r.x, x);
  const double hW = SatWaterProp(p, 0, PK_H), hS = SatSteamProp(p, 0, PK_H);
  EXPECT_EQ(r.z, hW + (hS - hW) * x);
  const double vW = SatWaterProp(p, 0, PK_V), vS = SatSteamProp(p, 0, PK_V);
  EXPECT_EQ(r.v, vW + x * (vS - vW));
}

TEST(SolveTFromPH, WetToleranceSwitchesAtTheLowPressureLimit) {
  struct Row {
    double p, offset;
    int state;
  };
  // 0.1 kJ/kg from 0.0250239 MPa up, 0.01 kJ/kg below.
  const Row rows[] = {{0.03, -0.09, SC_WET},      {0.03, -0.11, SC_WATER},
                      {0.0250239, -0.09, SC_WET}, {0.0250238, -0.09, SC_WATER},
                      {0.02, -0.009, SC_WET},     {0.02, -0.011, SC_WATER},
                      {0.02, -0.05, SC_WATER}};
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.p << " " << row.offset);
    const double hW = SatWaterProp(row.p, 0, PK_H);
    const Result r = ByH(row.p, hW + row.offset);
    EXPECT_EQ(r.state, row.state);
    if (row.state == SC_WET) {
      EXPECT_EQ(r.x, 0.0);
      EXPECT_EQ(r.t, SatTemperature(row.p));
    } else {
      EXPECT_EQ(CalcStatus, 0u);
      EXPECT_NEAR(Prop(r.t, row.p, PK_H), hW + row.offset, 1e-4);
    }
  }
}

// Quality flags a fraction beyond its tolerance and answers the volume 10; the saturation calls
// after it used to reset the status, so a wet result carried a sentinel volume as a success.
TEST(SolveTFromPH, WetResultKeepsTheFlagOfAFractionOutsideItsTolerance) {
  const Result r = ByH(1, 762.56);
  EXPECT_EQ(CalcStatus, CS_H_LOW);
  EXPECT_EQ(r.state, SC_WET);
  EXPECT_LT(762.56, SatWaterProp(1, 0, PK_H));
  EXPECT_EQ(r.v, 10.0);
  EXPECT_EQ(r.x, 0.0);
  EXPECT_EQ(r.t, SatTemperature(1));
  // Within Quality's own tolerance the same path succeeds.
  const Result ok = ByH(1, SatWaterProp(1, 0, PK_H) - 0.01);
  EXPECT_EQ(ok.state, SC_WET);
  EXPECT_EQ(CalcStatus, 0u);
  EXPECT_LT(ok.v, 0.01);
}

// Round trips: (t, p) → s, h by the state-point function → t again by each solver.
struct GridPoint {
  double t, p;
};
constexpr GridPoint kGrid[] = {
    // compressed water
    {0.5, 0.1},
    {20, 0.1},
    {20, 50},
    {90, 5},
    {200, 10},
    {300, 30},
    {340, 100},
    {355, 20},
    {365, 40},
    {373, 22},
    // superheated steam
    {10, 0.001},
    {100, 0.01},
    {200, 0.1},
    {400, 1},
    {500, 10},
    {360, 17},
    {380, 20},
    {700, 0.0007},
    {800, 15},
    // supercritical
    {100, 22.12},
    {380, 25},
    {400, 30},
    {450, 60},
    {600, 100},
    {800, 22.12},
    {374.3, 22.2},
    {390, 22.5}};

TEST(SolveTFromPS, RoundTripsOverEveryStateRegion) {
  for (const GridPoint& g : kGrid) {
    SCOPED_TRACE(testing::Message() << g.t << " °C " << g.p << " MPa");
    int expected = 0;
    const double s = PointProp(g.t, g.p, PK_S, expected);
    const Result r = ByS(g.p, s);
    EXPECT_EQ(CalcStatus, 0u);
    EXPECT_EQ(r.state, expected);
    EXPECT_NEAR(Prop(r.t, g.p, PK_S), s, r.info.bestPoint ? solver_search::kBestPointBoundS : 1e-6);
    EXPECT_NEAR(r.t, g.t, 0.002);
    EXPECT_EQ(r.z, Prop(r.t, g.p, PK_H));
    EXPECT_EQ(r.v, Prop(r.t, g.p, PK_V));
  }
}

TEST(SolveTFromPH, RoundTripsOverEveryStateRegion) {
  for (const GridPoint& g : kGrid) {
    SCOPED_TRACE(testing::Message() << g.t << " °C " << g.p << " MPa");
    int expected = 0;
    const double h = PointProp(g.t, g.p, PK_H, expected);
    const Result r = ByH(g.p, h);
    EXPECT_EQ(CalcStatus, 0u);
    EXPECT_EQ(r.state, expected);
    EXPECT_NEAR(Prop(r.t, g.p, PK_H), h, r.info.bestPoint ? solver_search::kBestPointBoundH : 1e-4);
    EXPECT_NEAR(r.t, g.t, 0.002);
    EXPECT_EQ(r.z, Prop(r.t, g.p, PK_S));
    EXPECT_EQ(r.v, Prop(r.t, g.p, PK_V));
  }
}

TEST(SolveTFromPS, WetRoundTripsGiveBackTheFraction) {
  for (double p : {0.001, 0.1, 1.0, 10.0, 21.0}) {
    for (double x : {0.1, 0.5, 0.9}) {
      SCOPED_TRACE(testing::Message() << p << " " << x);
      const double sW = SatWaterProp(p, 0, PK_S), sS = SatSteamProp(p, 0, PK_S);
      const Result r = ByS(p, sW + x * (sS - sW));
      EXPECT_EQ(CalcStatus, 0u);
      EXPECT_EQ(r.state, SC_WET);
      EXPECT_NEAR(r.x, x, 1e-12);
      const Result rh = ByH(
          p, SatWaterProp(p, 0, PK_H) + x * (SatSteamProp(p, 0, PK_H) - SatWaterProp(p, 0, PK_H)));
      EXPECT_EQ(CalcStatus, 0u);
      EXPECT_EQ(rh.state, SC_WET);
      EXPECT_NEAR(rh.x, x, 1e-12);
    }
  }
}

// Below the temperature range: a downward step lands under 0.01 °C, where the state-point
// function answers 10 and the residual keeps pointing down. The state lies just above 0.1 °C.
struct LowRow {
  double p, y;
  int state;
};
TEST(SolveTFromPS, TrialsTrappedBelowTheTemperatureRangeAreFoundOnTheInterval) {
  const LowRow rows[] = {{0.1, 0.0014, SC_WATER},
                         {1, Prop(0.1, 1, PK_S) + 1e-5, SC_WATER},
                         {5, Prop(0.1, 5, PK_S) + 0.01, SC_WATER},
                         {22.12, Prop(0.1, 22.12, PK_S) + 1e-7, SC_SUPERCRITICAL},
                         // Supercritical start (s − s_lo)·800/(s_hi − s_lo) below the 0.00001 °C
                         // guard: the literal guard loop itself could never end.
                         {30, Prop(0.1, 30, PK_S) + 1e-9, SC_SUPERCRITICAL},
                         {100, Prop(0.1, 100, PK_S), SC_SUPERCRITICAL}};
  for (const LowRow& row : rows) {
    SCOPED_TRACE(testing::Message() << row.p << " " << row.y);
    const Result r = ByS(row.p, row.y);
    EXPECT_EQ(CalcStatus, 0u);
    EXPECT_EQ(r.state, row.state);
    EXPECT_GE(r.t, 0.1);
    EXPECT_LT(r.t, 0.8);
    EXPECT_NEAR(Prop(r.t, row.p, PK_S), row.y, 1e-6);
    EXPECT_FALSE(r.info.converged);
    EXPECT_FALSE(r.info.bestPoint);
  }
}

TEST(SolveTFromPH, TrialsTrappedBelowTheTemperatureRangeAreFoundOnTheInterval) {
  const LowRow rows[] = {{0.1, 0.5, SC_WATER},
                         {0.1, Prop(0.1, 0.1, PK_H) + 0.001, SC_WATER},
                         {0.1, Prop(0.1, 0.1, PK_H) + 0.01, SC_WATER}};
  for (const LowRow& row : rows) {
    SCOPED_TRACE(testing::Message() << row.p << " " << row.y);
    const Result r = ByH(row.p, row.y);
    EXPECT_EQ(CalcStatus, 0u);
    EXPECT_EQ(r.state, row.state);
    EXPECT_GE(r.t, 0.1);
    EXPECT_LT(r.t, 0.2);
    EXPECT_NEAR(Prop(r.t, row.p, PK_H), row.y, 1e-4);
    EXPECT_FALSE(r.info.converged);
  }
}

// A search that ends by itself is left alone: its own stop test, its own result.
TEST(SolveTFromPS, OrdinarySearchesEndByTheirOwnStopTest) {
  const Result r = ByS(0.1, 1.3);
  EXPECT_EQ(CalcStatus, 0u);
  EXPECT_TRUE(r.info.converged);
  EXPECT_FALSE(r.info.bestPoint);
  EXPECT_GT(r.info.evaluations, 10);
  EXPECT_NEAR(Prop(r.t, 0.1, PK_S), 1.3, 1e-6);
}

// Near the critical point the property at (t, p) comes from a volume search and moves in jumps
// larger than the outer tolerance; the stalled search takes its best point.
TEST(SolveTFromPH, NearCriticalStaircaseEndsWithTheBestPoint) {
  const Result r = ByH(22.12, 2000);
  EXPECT_EQ(CalcStatus, 0u);
  EXPECT_EQ(r.state, SC_SUPERCRITICAL);
  EXPECT_TRUE(r.info.bestPoint);
  EXPECT_FALSE(r.info.converged);
  const double residual = std::fabs(Prop(r.t, 22.12, PK_H) - 2000);
  EXPECT_GE(residual, 0.0001);  // the literal stop test could never be met
  EXPECT_LE(residual, solver_search::kBestPointBoundH);
  EXPECT_NEAR(r.t, 374.0226, 1e-3);
}

// The formulation answers the critical point by its constants within 0.0001 °C and 0.00001 MPa
// of it; on either side the equation's values lie about 11 kJ/kg away. No state has an enthalpy
// in those gaps: the search fails instead of running for ever.
TEST(SolveTFromPH, EnthalpyInTheGapAroundTheCriticalConstantsFails) {
  for (double h : {2100.0, 2115.0}) {
    SCOPED_TRACE(h);
    const Result r = ByH(22.12, h);
    EXPECT_EQ(CalcStatus, CS_NO_CONVERGENCE);
    ExpectSentinels(r);
    EXPECT_FALSE(r.info.converged);
  }
  const Result exact = ByH(22.12, 2107.4);
  EXPECT_EQ(CalcStatus, 0u);
  EXPECT_NEAR(exact.t, 374.15, 0.0001);
}

// Every input ends, under the cap, with a success or a documented flag, and never a NaN.
TEST(SolversAtGivenPressure, EveryInputOfADenseGridEnds) {
  const double pressures[] = {0.0007, 0.001, 0.01,  0.0250239, 0.1, 1,  10, 16.5,
                              22,     22.11, 22.12, 22.13,     23,  30, 100};
  for (double p : pressures) {
    const double sLo = Prop(0.1, p, PK_S), hLo = Prop(0.1, p, PK_H);
    const double ys[] = {sLo, sLo + 1e-7, sLo + 1e-4, sLo + 0.001, 0.5, 1, 2, 3, 3.5, 4,  4.2,
                         4.4, 4.44,       4.6,        5,           6,   7, 8, 9, 10,  11, 11.8};
    const double hs[] = {hLo,  hLo + 1e-4, hLo + 0.05, 1,    10,   100,  500,  1000, 1500, 1700,
                         1900, 2000,       2050,       2100, 2200, 2400, 2600, 2800, 3200, 4000};
    for (double s : ys) {
      SCOPED_TRACE(testing::Message() << p << " s " << s);
      const Result r = ByS(p, s);
      EXPECT_TRUE(std::isfinite(r.t) && std::isfinite(r.v) && std::isfinite(r.z));
      EXPECT_LT(r.info.evaluations, solver_search::kRoundCap);
      if (CalcStatus == 0 && r.state != SC_WET) {
        EXPECT_NEAR(Prop(r.t, p, PK_S), s,
                    r.info.bestPoint ? solver_search::kBestPointBoundS : 1e-6);
      }
      EXPECT_EQ(CalcStatus & ~(CS_S_LOW | CS_S_HIGH | CS_NO_CONVERGENCE), 0u);
    }
    for (double h : hs) {
      SCOPED_TRACE(testing::Message() << p << " h " << h);
      const Result r = ByH(p, h);
      EXPECT_TRUE(std::isfinite(r.t) && std::isfinite(r.v) && std::isfinite(r.z));
      EXPECT_LT(r.info.evaluations, solver_search::kRoundCap);
      if (CalcStatus == 0 && r.state != SC_WET) {
        EXPECT_NEAR(Prop(r.t, p, PK_H), h,
                    r.info.bestPoint ? solver_search::kBestPointBoundH : 1e-4);
      }
      EXPECT_EQ(CalcStatus & ~(CS_H_LOW | CS_H_HIGH | CS_NO_CONVERGENCE), 0u);
    }
  }
}

}  // namespace
