#include "engine/saturation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/constants.h"

namespace {

struct SatRow {
  double t, p;
};
constexpr SatRow SatPressureRows[] = {{0.01, 0.000611244}, {100, 0.10132526}, {200, 1.554880},
                                      {300, 8.592692},     {350, 16.535124}};

TEST(SatPressure, MatchesReferenceValuesAlongTheLine) {
  for (const SatRow& row : SatPressureRows) {
    SCOPED_TRACE(row.t);
    CalcStatus = 0xFFFF;
    EXPECT_NEAR(SatPressure(row.t), row.p, 5e-7);
    EXPECT_EQ(CalcStatus, 0u);
  }
}

TEST(SatPressure, CriticalTemperatureGivesExactlyTheCriticalPressure) {
  EXPECT_EQ(SatPressureReduced(374.15), 1.0);
  EXPECT_EQ(SatPressure(374.15), 22.12);
}

struct RangeRow {
  double t;
  double result;
  std::uint32_t status;
};
TEST(SatPressure, RangeLimitsOnBothSides) {
  const RangeRow rows[] = {{0.01, SatPressure(0.01), 0},      {0.0099, 1, CS_T_LOW},
                           {374.15005, SatPressure(374.15005), 0}, {374.1502, 1, CS_T_HIGH},
                           {-1, 1, CS_T_LOW},                 {NAN, 1, CS_T_LOW},
                           {INFINITY, 1, CS_T_HIGH}};
  for (const RangeRow& row : rows) {
    SCOPED_TRACE(row.t);
    CalcStatus = 0xFFFF;
    EXPECT_EQ(SatPressure(row.t), row.result);
    EXPECT_EQ(CalcStatus, row.status);
  }
  EXPECT_GT(SatPressure(374.15005), 22.12);  // computed just above the critical point
}

TEST(SatTemperature, TablePressuresMeetingTheToleranceReturnTheFloatStartTemperature) {
  const SatRow rows[] = {{6.982800006866455, 0.001}, {34.60530090332031, 0.0055},
                         {45.832801818847656, 0.01}};
  for (const SatRow& row : rows) {
    SCOPED_TRACE(row.p);
    int steps = -1;
    EXPECT_EQ(SatTemperature(row.p, &steps), row.t);
    EXPECT_EQ(steps, 0);
    EXPECT_EQ(CalcStatus, 0u);
  }
}

TEST(SatTemperature, OtherTablePressuresAreSearched) {
  const SatRow rows[] = {{64.9916, 0.025}, {81.3453, 0.05}, {99.6316, 0.1}, {151.844, 0.5},
                         {179.8844, 1},    {212.375, 2},    {233.841, 3},   {275.549, 6},
                         {310.961, 10},    {342.131, 15},   {365.702, 20}};
  for (const SatRow& row : rows) {
    SCOPED_TRACE(row.p);
    int steps = 0;
    const double t = SatTemperature(row.p, &steps);
    EXPECT_EQ(CalcStatus, 0u);
    EXPECT_GT(steps, 0);
    EXPECT_NEAR(t, row.t, 1e-3);
    EXPECT_LT(std::fabs(SatPressure(t) - row.p), 1e-7);
  }
}

TEST(SatTemperature, LowestAndNearCriticalPressures) {
  EXPECT_NEAR(SatTemperature(0.0007), 1.8913, 1e-4);
  EXPECT_EQ(CalcStatus, 0u);
  EXPECT_NEAR(SatTemperature(22.11), 374.1125, 1e-4);
  EXPECT_LE(SatTemperature(22.11), 374.15);
}

TEST(SatTemperature, CriticalPressureReturns37415WithoutSearch) {
  for (double p : {22.12, 22.11999, 22.12001}) {
    SCOPED_TRACE(p);
    int steps = -1;
    CalcStatus = 0xFFFF;
    EXPECT_EQ(SatTemperature(p, &steps), 374.15);
    EXPECT_EQ(steps, 0);
    EXPECT_EQ(CalcStatus, 0u);
  }
}

TEST(SatTemperature, OutOfRangeReturnsTenWithTheFlag) {
  const struct {
    double p;
    std::uint32_t status;
  } rows[] = {{0.00069, CS_P_LOW}, {22.1201, CS_P_HIGH}, {-3, CS_P_LOW},
              {NAN, CS_P_LOW},     {INFINITY, CS_P_HIGH}, {-INFINITY, CS_P_LOW}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.p);
    EXPECT_EQ(SatTemperature(row.p), 10.0);
    EXPECT_EQ(CalcStatus, row.status);
  }
}

TEST(SatTemperature, StatusReturnsToZeroAfterAFailure) {
  SatTemperature(-1);
  ASSERT_NE(CalcStatus, 0u);
  SatTemperature(1);
  EXPECT_EQ(CalcStatus, 0u);
}

// The worst case over the accepted range sets the round cap; every round trip must stay far below.
TEST(SatTemperature, RoundTripOnAFineGridRecoversTheTemperature) {
  int worst = 0;
  for (double t = 1.8914; t <= 374.149; t += 0.0137) {
    const double p = SatPressure(t);
    int steps = 0;
    const double back = SatTemperature(p, &steps);
    ASSERT_EQ(CalcStatus, 0u) << t;
    ASSERT_NEAR(back, t, 1e-6) << t;
    worst = std::max(worst, steps);
  }
  EXPECT_LE(worst, 75);
  EXPECT_GE(worst, 30);
}

}  // namespace
