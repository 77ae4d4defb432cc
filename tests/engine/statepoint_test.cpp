#include "engine/statepoint.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "engine/constants.h"
#include "engine/region1.h"
#include "engine/region2.h"
#include "engine/region3.h"
#include "engine/region4.h"
#include "engine/regions.h"
#include "engine/satprops.h"
#include "engine/saturation.h"

namespace {

constexpr int kKinds[] = {PK_V, PK_S, PK_H};

double SubregionValue(int region, double t, double p, int kind) {
  switch (region) {
    case RC_SUB1:
      return ScaleReduced(Region1Reduced(t, p, kind), kind);
    case RC_SUB2:
      return ScaleReduced(Region2Reduced(t, p, kind), kind);
    case RC_SUB3:
      return ScaleReduced(Region3Props(t, p, kind), kind);
    case RC_SUB4:
      return ScaleReduced(Region4Props(t, p, kind), kind);
    default:
      return SatSteamProp(t, 1, kind);
  }
}

TEST(PointProp, CriticalPointAnswersTheCriticalValues) {
  const struct {
    double t, p;
  } points[] = {{374.15, 22.12}, {374.15009, 22.120009}, {374.14991, 22.119991}};
  const double critical[] = {0, kCriticalV, kCriticalS, kCriticalH};
  for (const auto& pt : points) {
    for (int kind : kKinds) {
      SCOPED_TRACE(testing::Message() << pt.t << " °C, " << pt.p << " MPa, kind " << kind);
      int state = -1;
      CalcStatus = 0xFFFF;
      EXPECT_EQ(PointProp(pt.t, pt.p, kind, state), critical[kind]);
      EXPECT_EQ(state, SC_SUPERCRITICAL);
      EXPECT_EQ(CalcStatus, 0u);
    }
  }
  int state = -1;
  EXPECT_EQ(PointProp(374.15, 22.12, PK_H, state), 2107.4);
  EXPECT_EQ(PointProp(374.15, 22.12, PK_S, state), 4.4429);
  EXPECT_EQ(PointProp(374.15, 22.12, PK_V, state), 0.00317);
}

struct PointRow {
  double t, p;
  int state, region;
};
// Each row's subregion is checked against FindRegion too, so the expected value really is the
// named equation's.
constexpr PointRow PointRows[] = {
    {374.1, 22.12, SC_SUPERCRITICAL, RC_SUB4},     // the pressure test alone decides the state
    {374.1502, 22.12, SC_SUPERCRITICAL, RC_SUB3},  // just outside the critical temperature band
    {374.15, 22.12002, SC_SUPERCRITICAL, RC_SUB3},
    {20, 0.1, SC_WATER, RC_SUB1},
    {400, 0.1, SC_STEAM, RC_SUB2},
    {300, 30, SC_SUPERCRITICAL, RC_SUB1},
    {400, 25, SC_SUPERCRITICAL, RC_SUB3},
    {360, 19, SC_WATER, RC_SUB4},
    {360, 18, SC_STEAM, RC_SUB3},
    {360, 17, SC_STEAM, RC_SUB2},
    {100, 0.101325, SC_WET, RC_SUB2},           // within 0.0001 °C of ts, 2.6e-7 MPa off the line
    {100, 0.1013256, SC_WET, RC_SUB1},          // wet by its state, water by its equation
    {99.9999, 0.101325, SC_WET, RC_SAT_LOWER},  // within 10⁻⁸ in β: saturated steam
    {100.00005, 0.101325, SC_STEAM, RC_SUB2},
    {99.9, 0.101325, SC_WATER, RC_SUB1},
    {800, 100, SC_SUPERCRITICAL, RC_SUB2},
    {0.01, 0.0007, SC_WATER, RC_SUB1},
    {800, 0.0007, SC_STEAM, RC_SUB2},
    {0.01, 100, SC_SUPERCRITICAL, RC_SUB1},
};

TEST(PointProp, ClassifiesAndDispatchesToTheSubregionEquation) {
  for (const PointRow& row : PointRows) {
    ASSERT_EQ(FindRegion(row.t, row.p), row.region) << row.t << " °C, " << row.p << " MPa";
    for (int kind : kKinds) {
      SCOPED_TRACE(testing::Message() << row.t << " °C, " << row.p << " MPa, kind " << kind);
      const double expected = SubregionValue(row.region, row.t, row.p, kind);
      int state = -1;
      CalcStatus = 0xFFFF;
      EXPECT_EQ(PointProp(row.t, row.p, kind, state), expected);
      EXPECT_EQ(state, row.state);
      EXPECT_EQ(CalcStatus, 0u);
    }
  }
}

TEST(PointProp, PointOnTheLineIsSaturatedSteam) {
  for (double t : {5.0, 100.0, 349.99, 350.0, 360.0, 374.1}) {
    const double p = SatPressure(t);
    ASSERT_EQ(FindRegion(t, p), t <= 350 ? RC_SAT_LOWER : RC_SAT_UPPER) << t;
    for (int kind : kKinds) {
      SCOPED_TRACE(testing::Message() << t << " °C, kind " << kind);
      const double steam = SatSteamProp(t, 1, kind);
      int state = -1;
      CalcStatus = 0xFFFF;
      EXPECT_EQ(PointProp(t, p, kind, state), steam);
      EXPECT_NE(steam, SatWaterProp(t, 1, kind));
      EXPECT_EQ(state, SC_WET);
      EXPECT_EQ(CalcStatus, 0u);
    }
  }
}

TEST(PointProp, SteamTableValues) {
  // IFC-67 tables: superheated steam at 0.1 MPa, 400 °C, and the saturated steam at 100 °C.
  int state = -1;
  EXPECT_NEAR(PointProp(400, 0.1, PK_H, state), 3278.2, 0.05);
  EXPECT_NEAR(PointProp(100, SatPressure(100), PK_H, state), 2676.0, 0.05);
  EXPECT_NEAR(PointProp(100, SatPressure(100), PK_S, state), 7.3554, 5e-5);
}

struct RangeRow {
  double t, p;
  std::uint32_t status;
};
TEST(PointProp, OutOfRangeReturnsTenWithCombinedFlagsAndUnknownState) {
  const RangeRow rows[] = {
      {900, 1, CS_T_HIGH},
      {-5, 0.0001, CS_T_LOW | CS_P_LOW},
      {-1, 200, CS_T_LOW | CS_P_HIGH},
      {0.0099, 1, CS_T_LOW},
      {800.0001, 1, CS_T_HIGH},
      {100, 0.00069, CS_P_LOW},
      {100, 100.0001, CS_P_HIGH},
      {NAN, 1, CS_T_LOW},
      {100, NAN, CS_P_LOW},
      {900, NAN, CS_T_HIGH | CS_P_LOW},
  };
  for (const RangeRow& row : rows) {
    for (int kind : kKinds) {
      SCOPED_TRACE(testing::Message() << row.t << " °C, " << row.p << " MPa, kind " << kind);
      int state = -1;
      CalcStatus = 0xFFFF;
      EXPECT_EQ(PointProp(row.t, row.p, kind, state), 10.0);
      EXPECT_EQ(state, SC_UNKNOWN);
      EXPECT_EQ(CalcStatus, row.status);
    }
  }
}

TEST(PointProp, SuccessClearsAPreviousFailure) {
  int state = -1;
  PointProp(900, 1, PK_H, state);
  ASSERT_NE(CalcStatus, 0u);
  PointProp(150, 1, PK_H, state);
  EXPECT_EQ(CalcStatus, 0u);
  EXPECT_EQ(state, SC_WATER);
}

// Every point of the state range gets a state and a finite value, v > 0; a dense patch around
// the critical point, where subregions 3 and 4 search for the volume, included.
TEST(PointProp, WholeStateRangeIsFiniteAndClassified) {
  auto check = [](double t, double p) {
    for (int kind : kKinds) {
      int state = -1;
      const double y = PointProp(t, p, kind, state);
      if (CalcStatus != 0 || !std::isfinite(y) || state < SC_WATER || state > SC_SUPERCRITICAL ||
          (kind == PK_V && !(y > 0))) {
        ADD_FAILURE() << t << " °C, " << p << " MPa, kind " << kind << ": " << y << ", state "
                      << state << ", status " << CalcStatus;
        return false;
      }
    }
    return true;
  };
  int failures = 0;
  for (int i = 0; i <= 80; ++i) {
    const double t = i == 0 ? 0.01 : i * 10.0;
    for (int j = 0; j <= 60; ++j) {
      const double p = j == 60 ? 100 : 0.0007 * std::pow(100 / 0.0007, j / 60.0);
      if (!check(t, p) && ++failures > 5) return;
    }
  }
  for (double t = 340; t <= 420; t += 1.1) {
    for (double p = 15; p <= 30; p += 0.29) {
      if (!check(t, p) && ++failures > 5) return;
    }
  }
}

}  // namespace
