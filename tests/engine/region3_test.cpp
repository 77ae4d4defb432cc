#include "engine/region3.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/constants.h"
#include "engine/regions.h"
#include "engine/saturation.h"

namespace {

constexpr double vc = IfcConstants.vc;
constexpr double pc = IfcConstants.pc;

TEST(Region3Reduced, MatchesReferenceValues) {
  EXPECT_NEAR(Region3Reduced(380, 0.0025, PK_P), 1.0958948, 5e-8);
  EXPECT_NEAR(Region3Reduced(380, 0.0025, PK_P) * pc, 24.2411934, 5e-7);
  EXPECT_NEAR(Region3Reduced(380, 0.0025, PK_S), 39.446456, 5e-7);
  EXPECT_NEAR(Region3Reduced(380, 0.0025, PK_H), 28.563980, 5e-7);
  EXPECT_NEAR(Region3Reduced(400, 0.005, PK_P), 1.1925830, 5e-8);
}

TEST(Region3Reduced, UnhandledKindsReturnZero) {
  for (int kind : {0, int(PK_V), int(PK_X), 6, -1}) {
    SCOPED_TRACE(kind);
    EXPECT_EQ(Region3Reduced(380, 0.0025, kind), 0.0);
  }
}

// Central differences in (t, v) converted to (θ, χ): dθ = dt/Tc, dχ = dv/vc.
struct Derivatives {
  double dSigmaDChi, dBetaDTheta, dSigmaDTheta, dEpsDTheta;
};
Derivatives CentralDifferences(double (*f)(double, double, int), double t, double v) {
  const double dt = 1e-3;
  const double dv = 1e-8;
  const double dTheta = 2 * dt / IfcConstants.Tc;
  const double dChi = 2 * dv / vc;
  return {(f(t, v + dv, PK_S) - f(t, v - dv, PK_S)) / dChi,
          (f(t + dt, v, PK_P) - f(t - dt, v, PK_P)) / dTheta,
          (f(t + dt, v, PK_S) - f(t - dt, v, PK_S)) / dTheta,
          (f(t + dt, v, PK_H) - f(t - dt, v, PK_H)) / dTheta};
}

struct TvRow {
  double t, v;
};
TEST(Region3Reduced, SatisfiesMaxwellRelations) {
  const TvRow rows[] = {{352, 0.0088}, {360, 0.0069}, {374, 0.0032}, {380, 0.0025},
                        {400, 0.005},  {450, 0.0021}, {500, 0.0019}, {589, 0.012}};
  for (const TvRow& row : rows) {
    SCOPED_TRACE(row.t);
    const Derivatives d = CentralDifferences(Region3Reduced, row.t, row.v);
    const double theta = (row.t + IfcConstants.T0) / IfcConstants.Tc;
    const double chi = row.v / vc;
    EXPECT_NEAR(d.dSigmaDChi, d.dBetaDTheta, 1e-5 * (1 + std::fabs(d.dBetaDTheta)));
    const double rhs = theta * d.dSigmaDTheta + chi * d.dBetaDTheta;
    EXPECT_NEAR(d.dEpsDTheta, rhs, 1e-5 * (1 + std::fabs(rhs)));
  }
}

struct PropsRow {
  double t, p, v, s, h;
  int evaluations;
};
TEST(Region3Props, MatchesReferenceStatesAndLeavesStatusAlone) {
  const PropsRow rows[] = {{380, 25, 0.00224029, 4.175671, 1941.040, 48},
                           {400, 30, 0.00283060, 4.489629, 2161.771, 47},
                           {450, 60, 0.00208369, 4.424558, 2187.069, 23},
                           {500, 100, 0.00189336, 4.491331, 2316.137, 46}};
  for (const PropsRow& row : rows) {
    SCOPED_TRACE(row.t);
    CalcStatus = 0xFFFF;
    SearchInfo info;
    EXPECT_NEAR(ScaleReduced(Region3Props(row.t, row.p, PK_V, &info), PK_V), row.v, 5e-9);
    EXPECT_TRUE(info.converged);
    EXPECT_EQ(info.evaluations, row.evaluations);
    EXPECT_NEAR(ScaleReduced(Region3Props(row.t, row.p, PK_S), PK_S), row.s, 5e-7);
    EXPECT_NEAR(ScaleReduced(Region3Props(row.t, row.p, PK_H), PK_H), row.h, 5e-4);
    EXPECT_EQ(CalcStatus, 0xFFFFu);
  }
}

// A pressure computed at a start volume is met there within 1e-7, so the search is skipped and
// the result is that start volume exactly: this shows which start each rule picks.
struct StartRow {
  double t, v0;
};
TEST(Region3Props, StartVolumeFollowsPressureThenTemperatureBands) {
  const StartRow rows[] = {
      {359.99, 0.008},  // below 360 °C
      {360, 0.006},     // 360 belongs to the middle band
      {369.99, 0.006},  // just below the upper band
      {370, 0.004},     // 370 belongs to the upper band
      {400, 0.004},     // 22.12 ≤ p < 40
      {450, 0.002},     // p ≥ 40
  };
  for (const StartRow& row : rows) {
    SCOPED_TRACE(row.t);
    const double p = Region3Reduced(row.t, row.v0, PK_P) * pc;
    SearchInfo info;
    EXPECT_EQ(Region3Props(row.t, p, PK_V, &info), row.v0 / vc);
    EXPECT_EQ(info.evaluations, 1);
    EXPECT_TRUE(info.converged);
  }
  // Below 40 MPa 0.002 is not a start: that volume's own pressure is searched from 0.004.
  const double p = Region3Reduced(380, 0.002, PK_P) * pc;
  ASSERT_LT(p, 40);
  SearchInfo info;
  EXPECT_NEAR(Region3Props(380, p, PK_V, &info) * vc, 0.002, 1e-8);
  EXPECT_GT(info.evaluations, 1);
}

// At 355 °C the temperature band would start at 0.008; the pressure rule starts at 0.004, some
// forty steps of 0.0001 closer to the root near 0.00169.
TEST(Region3Props, ExactlyCriticalPressureStartsByPressure) {
  struct Row {
    double p;
    int evaluations;
  };
  const Row rows[] = {{22.12, 46}, {22.1199995, 47}, {22.119999, 84}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.p);
    SearchInfo info;
    EXPECT_NEAR(Region3Props(355, row.p, PK_V, &info) * vc, 0.00168916, 5e-9);
    EXPECT_EQ(info.evaluations, row.evaluations);
  }
}

TEST(Region3Props, FortyMegapascalsStartsAtTheSmallerVolume) {
  SearchInfo at40;
  SearchInfo below40;
  const double v40 = Region3Props(375, 40, PK_V, &at40) * vc;
  const double vBelow = Region3Props(375, 39.9999, PK_V, &below40) * vc;
  EXPECT_NEAR(v40, 0.00164142, 5e-9);
  EXPECT_NEAR(vBelow, 0.00164142, 5e-9);
  EXPECT_EQ(at40.evaluations, 39);     // from 0.002
  EXPECT_EQ(below40.evaluations, 62);  // from 0.004
}

TEST(Region3Props, SaturatedSteamEndsAtTheSteamRoot) {
  const TvRow rows[] = {{355, 0.0078592}, {360, 0.0069398}, {370, 0.0049727}};
  for (const TvRow& row : rows) {
    SCOPED_TRACE(row.t);
    const double ps = SatPressure(row.t);
    SearchInfo info;
    const double v = Region3Props(row.t, ps, PK_V, &info) * vc;
    EXPECT_TRUE(info.converged);
    EXPECT_NEAR(v, row.v, 5e-8);
    EXPECT_LT(std::fabs(Region3Reduced(row.t, v, PK_P) - ps / pc), 1e-7);
  }
}

// Every subregion 3 point of a 1 °C by 0.5 MPa grid and the saturation line from 350.01 °C:
// at most 78 and 54 evaluations measured, against a cap of 8000.
TEST(Region3Props, EverySubregionPointConvergesFarBelowTheCap) {
  int worst = 0;
  int points = 0;
  for (int i = 0; i <= 240; ++i) {
    const double t = 350 + i;
    for (int j = 1; j <= 200; ++j) {
      const double p = 0.5 * j;
      if (FindRegion(t, p) != RC_SUB3) continue;
      SearchInfo info;
      Region3Props(t, p, PK_V, &info);
      ++points;
      ASSERT_TRUE(info.converged) << t << " °C " << p << " MPa";
      worst = std::max(worst, info.evaluations);
    }
  }
  EXPECT_GT(points, 20000);
  EXPECT_LE(worst, 100);
  worst = 0;
  for (int i = 1; i <= 2415; ++i) {
    const double t = 350 + 0.01 * i;
    SearchInfo info;
    Region3Props(t, SatPressure(t), PK_V, &info);
    ASSERT_TRUE(info.converged) << t << " °C";
    worst = std::max(worst, info.evaluations);
  }
  EXPECT_LE(worst, 100);
}

TEST(Region3Props, UnreachablePressureFailsWithZero) {
  struct Row {
    double t, p;
    int kind;
  };
  // 0.001 MPa at 360 °C lies beyond any volume the search can reach before its cap; a NaN
  // reverses every step until the trial cannot move.
  const Row rows[] = {
      {360, 0.001, PK_V}, {360, 0.001, PK_H}, {NAN, 20, PK_S}, {360, NAN, PK_V}, {360, 1000, PK_V}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.p);
    CalcStatus = 0xFFFF;
    SearchInfo info;
    EXPECT_EQ(Region3Props(row.t, row.p, row.kind, &info), 0.0);
    EXPECT_FALSE(info.converged);
    EXPECT_GT(info.evaluations, 1);
    EXPECT_LE(info.evaluations, 8000);
    EXPECT_EQ(CalcStatus, 0xFFFFu);
  }
}

}  // namespace
