#include "engine/region4.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/constants.h"
#include "engine/region3.h"
#include "engine/regions.h"
#include "engine/saturation.h"

namespace {

constexpr double vc = IfcConstants.vc;
constexpr double pc = IfcConstants.pc;

// The correction alone: what Region4Reduced adds to Region3Reduced at the same (t, v).
struct CorrectionRow {
  double t, v, beta, sigma, eps;
};
TEST(Region4Reduced, CorrectionMatchesReferenceTable) {
  const CorrectionRow rows[] = {
      {350, 0.0017, -0.00052759121, 0.1532023628, 0.1500700464},
      {360, 0.0018, -3.693242074e-05, 0.09932663796, 0.09798456967},
      {365, 0.0014, 0.0006281007712, 0.06351886302, 0.0632312304},
      {374, 0.0025, 5.710810524e-08, -5.454117025e-05, -5.448771436e-05},
  };
  for (const CorrectionRow& row : rows) {
    SCOPED_TRACE(row.t);
    const double expected[3] = {row.beta, row.sigma, row.eps};
    const int kinds[3] = {PK_P, PK_S, PK_H};
    for (int i = 0; i < 3; ++i) {
      const double added =
          Region4Reduced(row.t, row.v, kinds[i]) - Region3Reduced(row.t, row.v, kinds[i]);
      // Ten significant digits; the subtraction itself costs a few units of 1e-16.
      EXPECT_NEAR(added, expected[i], 1e-9 * std::fabs(expected[i]) + 5e-16);
    }
  }
}

TEST(Region4Reduced, CorrectionVanishesAtTheCriticalTemperature) {
  for (int kind : {int(PK_P), int(PK_S), int(PK_H)}) {
    SCOPED_TRACE(kind);
    EXPECT_EQ(Region4Reduced(374.15, 0.0025, kind), Region3Reduced(374.15, 0.0025, kind));
    EXPECT_NEAR(Region4Reduced(374.1499, 0.0025, kind), Region3Reduced(374.1499, 0.0025, kind),
                1e-9);
  }
}

TEST(Region4Reduced, UnhandledKindsReturnZero) {
  for (int kind : {0, int(PK_V), int(PK_X), 6, -1}) {
    SCOPED_TRACE(kind);
    EXPECT_EQ(Region4Reduced(360, 0.0018, kind), 0.0);
  }
}

struct TvRow {
  double t, v;
};
TEST(Region4Reduced, SatisfiesMaxwellRelations) {
  const TvRow rows[] = {{350.5, 0.0017}, {355, 0.0015}, {360, 0.0018},
                        {365, 0.0014},   {370, 0.0019}, {374, 0.0025}};
  const double dt = 1e-3;
  const double dv = 1e-8;
  const double dTheta = 2 * dt / IfcConstants.Tc;
  const double dChi = 2 * dv / vc;
  for (const TvRow& row : rows) {
    SCOPED_TRACE(row.t);
    const double t = row.t;
    const double v = row.v;
    const double dSigmaDChi =
        (Region4Reduced(t, v + dv, PK_S) - Region4Reduced(t, v - dv, PK_S)) / dChi;
    const double dBetaDTheta =
        (Region4Reduced(t + dt, v, PK_P) - Region4Reduced(t - dt, v, PK_P)) / dTheta;
    const double dSigmaDTheta =
        (Region4Reduced(t + dt, v, PK_S) - Region4Reduced(t - dt, v, PK_S)) / dTheta;
    const double dEpsDTheta =
        (Region4Reduced(t + dt, v, PK_H) - Region4Reduced(t - dt, v, PK_H)) / dTheta;
    const double theta = (t + IfcConstants.T0) / IfcConstants.Tc;
    const double chi = v / vc;
    EXPECT_NEAR(dSigmaDChi, dBetaDTheta, 1e-5 * (1 + std::fabs(dBetaDTheta)));
    const double rhs = theta * dSigmaDTheta + chi * dBetaDTheta;
    EXPECT_NEAR(dEpsDTheta, rhs, 1e-5 * (1 + std::fabs(rhs)));
  }
}

struct PropsRow {
  double t, p, chi, sigma, eps, v, s, h;
  int evaluations;
};
TEST(Region4Props, MatchesReferenceStatesWithTheirEvaluationCounts) {
  const PropsRow rows[] = {
      {360, 20, 0.5763029968, 35.84936145, 24.85527752, 0.0018268805, 3.88347, 1742.862, 27},
      {370, 30, 0.5449637224, 35.6812973, 24.94244123, 0.001727535, 3.86527, 1748.974, 28},
      {355, 40, 0.4779488801, 33.59327879, 23.11921959, 0.00151509795, 3.63908, 1621.129, 55},
      {365, 100, 0.4261920883, 32.41444333, 23.1809059, 0.00135102892, 3.51138, 1625.454, 39},
  };
  for (const PropsRow& row : rows) {
    SCOPED_TRACE(row.t);
    CalcStatus = 0xFFFF;
    const int kinds[3] = {PK_V, PK_S, PK_H};
    const double reduced[3] = {row.chi, row.sigma, row.eps};
    const double scaled[3] = {row.v, row.s, row.h};
    const double scaledTol[3] = {5e-12, 5e-6, 5e-4};
    for (int i = 0; i < 3; ++i) {
      SearchInfo info;
      const double r = Region4Props(row.t, row.p, kinds[i], &info);
      EXPECT_NEAR(r, reduced[i], 5e-9);
      EXPECT_NEAR(ScaleReduced(r, kinds[i]), scaled[i], scaledTol[i]);
      EXPECT_EQ(info.evaluations, row.evaluations);  // repeated in full whatever the kind
      EXPECT_TRUE(info.converged);
    }
    EXPECT_EQ(CalcStatus, 0xFFFFu);
  }
}

// A pressure computed at a start volume is met there within 1e-7: the start is returned as it is.
TEST(Region4Props, StartVolumeWhosePressureMatchesIsReturnedWithoutAStep) {
  const TvRow rows[] = {{360, 0.002}, {370, 0.002}, {355, 0.0015}, {365, 0.0015}};
  for (const TvRow& row : rows) {
    SCOPED_TRACE(row.t);
    const double p = Region4Reduced(row.t, row.v, PK_P) * pc;
    ASSERT_EQ(p < 36, row.v == 0.002);
    SearchInfo info;
    EXPECT_EQ(Region4Props(row.t, p, PK_V, &info), row.v / vc);
    EXPECT_EQ(info.evaluations, 1);
    EXPECT_EQ(Region4Props(row.t, p, PK_S), Region4Reduced(row.t, row.v, PK_S));
  }
}

// 36 MPa itself starts at 0.0015, just below it at 0.002: same root, different paths.
TEST(Region4Props, StartVolumeSwitchesAtThirtySixMegapascals) {
  struct Row {
    double t, p, v;
    int evaluations;
  };
  const Row rows[] = {{355, 36, 0.0015407382, 23},
                      {355, 35.9999, 0.0015407389, 52},
                      {373, 36, 0.0016698022, 34},
                      {373, 35.9999, 0.0016698033, 47}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.p);
    SearchInfo info;
    EXPECT_NEAR(Region4Props(row.t, row.p, PK_V, &info) * vc, row.v, 1e-10);
    EXPECT_EQ(info.evaluations, row.evaluations);
  }
}

// Every subregion 4 point of a 1 °C by 0.5 MPa grid, and saturated water from 350.01 °C:
// at most 65 and 58 evaluations measured, against a cap of 7000.
TEST(Region4Props, EverySubregionPointConvergesFarBelowTheCap) {
  int worst = 0;
  int points = 0;
  for (int i = 0; i <= 25; ++i) {
    const double t = 350 + i;
    for (int j = 1; j <= 200; ++j) {
      const double p = 0.5 * j;
      if (FindRegion(t, p) != RC_SUB4) continue;
      SearchInfo info;
      Region4Props(t, p, PK_V, &info);
      ++points;
      ASSERT_TRUE(info.converged) << t << " °C " << p << " MPa";
      worst = std::max(worst, info.evaluations);
    }
  }
  EXPECT_GT(points, 3800);
  EXPECT_LE(worst, 100);
  worst = 0;
  for (int i = 1; i <= 2415; ++i) {
    const double t = 350 + 0.01 * i;
    SearchInfo info;
    Region4Props(t, SatPressure(t), PK_V, &info);
    ASSERT_TRUE(info.converged) << t << " °C";
    worst = std::max(worst, info.evaluations);
  }
  EXPECT_LE(worst, 100);
}

TEST(Region4Props, UnreachablePressureFailsWithZero) {
  struct Row {
    double t, p;
    int kind;
  };
  // 1000 MPa needs a volume below the 0.00001 floor; 0.001 MPa one beyond the cap; a NaN
  // never reverses and ends at the floor.
  const Row rows[] = {
      {360, 1000, PK_V}, {360, 1000, PK_S}, {360, 0.001, PK_H}, {360, NAN, PK_V}, {NAN, 20, PK_V}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.p);
    CalcStatus = 0xFFFF;
    SearchInfo info;
    EXPECT_EQ(Region4Props(row.t, row.p, row.kind, &info), 0.0);
    EXPECT_FALSE(info.converged);
    EXPECT_GT(info.evaluations, 1);
    EXPECT_LE(info.evaluations, 7000);
    EXPECT_EQ(CalcStatus, 0xFFFFu);
  }
}

}  // namespace
