#include "engine/satprops.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "engine/constants.h"
#include "engine/region1.h"
#include "engine/region2.h"
#include "engine/region3.h"
#include "engine/region4.h"
#include "engine/saturation.h"

namespace {

constexpr int kKinds[] = {PK_V, PK_S, PK_H};

// IFC-67 steam-table values on the saturation line, to the digits the tables give.
struct SatTableRow {
  double t;
  int kind;
  double water, waterTol, steam, steamTol;
};
constexpr SatTableRow SatTableRows[] = {
    {0.01, PK_V, 0.0010002, 5e-8, 206.16, 5e-3}, {0.01, PK_S, 0.0, 5e-5, 9.1575, 5e-5},
    {0.01, PK_H, 0.000611, 1e-6, 2501.6, 0.05},  {100, PK_V, 0.0010437, 5e-8, 1.6730, 5e-5},
    {100, PK_S, 1.3069, 5e-5, 7.3554, 5e-5},     {100, PK_H, 419.06, 5e-3, 2676.0, 0.05},
};

TEST(SatWaterSteamProp, MatchSteamTableValues) {
  for (const SatTableRow& row : SatTableRows) {
    SCOPED_TRACE(testing::Message() << row.t << " °C, kind " << row.kind);
    CalcStatus = 0xFFFF;
    EXPECT_NEAR(SatWaterProp(row.t, 1, row.kind), row.water, row.waterTol);
    EXPECT_EQ(CalcStatus, 0u);
    CalcStatus = 0xFFFF;
    EXPECT_NEAR(SatSteamProp(row.t, 1, row.kind), row.steam, row.steamTol);
    EXPECT_EQ(CalcStatus, 0u);
  }
}

TEST(SatWaterSteamProp, ByPressureEqualsByItsSaturationTemperature) {
  for (double p : {0.0007, 0.1, 1.0, 10.0, 16.5, 16.6, 20.0, 22.1}) {
    const double t = SatTemperature(p);
    for (int kind : kKinds) {
      SCOPED_TRACE(testing::Message() << p << " MPa, kind " << kind);
      const bool high = t >= 350;
      const double water = high ? Region4Props(t, p, kind) : Region1Reduced(t, p, kind);
      const double steam = high ? Region3Props(t, p, kind) : Region2Reduced(t, p, kind);
      CalcStatus = 0xFFFF;
      EXPECT_EQ(SatWaterProp(p, 0, kind), ScaleReduced(water, kind));
      EXPECT_EQ(CalcStatus, 0u);
      CalcStatus = 0xFFFF;
      EXPECT_EQ(SatSteamProp(p, 0, kind), ScaleReduced(steam, kind));
      EXPECT_EQ(CalcStatus, 0u);
    }
  }
}

struct CriticalRow {
  double x;
  int byTemperature;
};
TEST(SatWaterSteamProp, CriticalPointAndItsToleranceAnswerTheCriticalValues) {
  const CriticalRow rows[] = {{374.15, 1}, {374.14995, 1}, {374.14991, 1}, {374.15009, 1},
                              {22.12, 0},  {22.119995, 0}, {22.119991, 0}, {22.120009, 0}};
  const double critical[] = {0, kCriticalV, kCriticalS, kCriticalH};
  for (const CriticalRow& row : rows) {
    for (int kind : kKinds) {
      SCOPED_TRACE(testing::Message()
                   << row.x << " by T " << row.byTemperature << " kind " << kind);
      CalcStatus = 0xFFFF;
      EXPECT_EQ(SatWaterProp(row.x, row.byTemperature, kind), critical[kind]);
      EXPECT_EQ(CalcStatus, 0u);
      CalcStatus = 0xFFFF;
      EXPECT_EQ(SatSteamProp(row.x, row.byTemperature, kind), critical[kind]);
      EXPECT_EQ(CalcStatus, 0u);
    }
  }
  EXPECT_EQ(SatWaterProp(374.15, 1, PK_H), 2107.4);
  EXPECT_EQ(SatSteamProp(22.12, 0, PK_V), 0.00317);
}

TEST(SatWaterSteamProp, JustOutsideTheCriticalToleranceIsComputed) {
  const double t = 374.1498;
  const double p = SatPressure(t);
  for (int kind : kKinds) {
    SCOPED_TRACE(kind);
    EXPECT_EQ(SatWaterProp(t, 1, kind), ScaleReduced(Region4Props(t, p, kind), kind));
    EXPECT_EQ(SatSteamProp(t, 1, kind), ScaleReduced(Region3Props(t, p, kind), kind));
    EXPECT_EQ(CalcStatus, 0u);
  }
  const double pBelow = 22.1199;
  const double tBelow = SatTemperature(pBelow);
  EXPECT_EQ(SatWaterProp(pBelow, 0, PK_H), ScaleReduced(Region4Props(tBelow, pBelow, PK_H), PK_H));
  EXPECT_NE(SatWaterProp(pBelow, 0, PK_H), kCriticalH);
}

struct SatRangeRow {
  double x;
  int byTemperature;
  std::uint32_t status;
};
TEST(SatWaterSteamProp, OutOfRangeReturnsTenWithOneFlag) {
  const SatRangeRow rows[] = {
      {0.0099, 1, CS_T_LOW},    {-20, 1, CS_T_LOW},       {NAN, 1, CS_T_LOW},
      {374.1502, 1, CS_T_HIGH}, {INFINITY, 1, CS_T_HIGH}, {0.00069, 0, CS_P_LOW},
      {0, 0, CS_P_LOW},         {NAN, 0, CS_P_LOW},       {22.12002, 0, CS_P_HIGH},
      {100, 0, CS_P_HIGH},
  };
  for (const SatRangeRow& row : rows) {
    for (int kind : kKinds) {
      SCOPED_TRACE(testing::Message()
                   << row.x << " by T " << row.byTemperature << " kind " << kind);
      CalcStatus = 0xFFFF;
      EXPECT_EQ(SatWaterProp(row.x, row.byTemperature, kind), 10.0);
      EXPECT_EQ(CalcStatus, row.status);
      CalcStatus = 0xFFFF;
      EXPECT_EQ(SatSteamProp(row.x, row.byTemperature, kind), 10.0);
      EXPECT_EQ(CalcStatus, row.status);
    }
  }
}

TEST(SatWaterSteamProp, LowerRangeLimitsAreAccepted) {
  for (int kind : kKinds) {
    CalcStatus = 0xFFFF;
    EXPECT_EQ(SatWaterProp(0.01, 1, kind),
              ScaleReduced(Region1Reduced(0.01, SatPressure(0.01), kind), kind));
    EXPECT_EQ(CalcStatus, 0u);
    const double t = SatTemperature(0.0007);
    CalcStatus = 0xFFFF;
    EXPECT_EQ(SatSteamProp(0.0007, 0, kind), ScaleReduced(Region2Reduced(t, 0.0007, kind), kind));
    EXPECT_EQ(CalcStatus, 0u);
  }
}

// Up to 350 °C (within 0.000001 °C) subregions 1 and 2, beyond it subregions 4 and 3. The
// alternative equation gives a different value on both sides, so each row tells the two apart.
TEST(SatWaterSteamProp, SwitchAt350CelsiusByTemperature) {
  const struct {
    double t;
    bool high;
  } rows[] = {{349.9, false}, {350, false}, {350.0000005, false}, {350.00001, true}, {350.1, true}};
  for (const auto& row : rows) {
    const double p = SatPressure(row.t);
    for (int kind : kKinds) {
      SCOPED_TRACE(testing::Message() << row.t << " °C, kind " << kind);
      const double low1 = ScaleReduced(Region1Reduced(row.t, p, kind), kind);
      const double high4 = ScaleReduced(Region4Props(row.t, p, kind), kind);
      const double low2 = ScaleReduced(Region2Reduced(row.t, p, kind), kind);
      const double high3 = ScaleReduced(Region3Props(row.t, p, kind), kind);
      ASSERT_NE(low1, high4);
      ASSERT_NE(low2, high3);
      CalcStatus = 0xFFFF;
      EXPECT_EQ(SatWaterProp(row.t, 1, kind), row.high ? high4 : low1);
      CalcStatus = 0xFFFF;
      EXPECT_EQ(SatSteamProp(row.t, 1, kind), row.high ? high3 : low2);
      EXPECT_EQ(CalcStatus, 0u);
    }
  }
}

TEST(SatWaterSteamProp, SwitchAt350CelsiusFollowsTheSaturationTemperatureOfAPressure) {
  const double t165 = SatTemperature(16.5);
  const double t166 = SatTemperature(16.6);
  ASSERT_LT(t165, 350);
  ASSERT_GT(t166, 350.000001);
  for (int kind : kKinds) {
    SCOPED_TRACE(kind);
    EXPECT_EQ(SatWaterProp(16.5, 0, kind), ScaleReduced(Region1Reduced(t165, 16.5, kind), kind));
    EXPECT_EQ(SatSteamProp(16.5, 0, kind), ScaleReduced(Region2Reduced(t165, 16.5, kind), kind));
    EXPECT_EQ(SatWaterProp(16.6, 0, kind), ScaleReduced(Region4Props(t166, 16.6, kind), kind));
    EXPECT_EQ(SatSteamProp(16.6, 0, kind), ScaleReduced(Region3Props(t166, 16.6, kind), kind));
  }
}

// The formulation's subregions 1/4 and 2/3 do not meet exactly at 350 °C. Measured jumps between
// 350 °C and 350.000002 °C: water v −2.47e-7 m³/kg, s 9.38e-5 kJ/(kg·K), h −0.161 kJ/kg; steam v
// −6.65e-8, s 4.5e-6, h 0.0517. The bounds sit just above them.
TEST(SatWaterSteamProp, JumpAt350CelsiusStaysWithinTheFormulationsOwnMismatch) {
  const double waterBound[] = {0, 3e-7, 1.2e-4, 0.2};
  const double steamBound[] = {0, 1e-7, 1e-5, 0.06};
  for (int kind : kKinds) {
    SCOPED_TRACE(kind);
    const double waterJump = SatWaterProp(350.000002, 1, kind) - SatWaterProp(350, 1, kind);
    const double steamJump = SatSteamProp(350.000002, 1, kind) - SatSteamProp(350, 1, kind);
    EXPECT_LT(std::fabs(waterJump), waterBound[kind]);
    EXPECT_LT(std::fabs(steamJump), steamBound[kind]);
    // The same step below the switch moves the value by far less: the jump is the equations'.
    const double waterStep = SatWaterProp(350, 1, kind) - SatWaterProp(349.999998, 1, kind);
    EXPECT_LT(std::fabs(waterStep), waterBound[kind] / 100);
  }
}

// Along the whole line: finite, water below steam, and the monotone properties monotone (h″
// has its maximum near 234 °C and is left out).
TEST(SatWaterSteamProp, AlongTheLineValuesAreOrderedAndMonotone) {
  double prev[4][2] = {};
  bool first = true;
  for (int i = 0;; ++i) {
    const double t = i * 0.25 < 374.14 ? 0.01 + i * 0.25 : 374.15;
    SCOPED_TRACE(t);
    double cur[4][2];
    for (int kind : kKinds) {
      cur[kind][0] = SatWaterProp(t, 1, kind);
      ASSERT_EQ(CalcStatus, 0u);
      cur[kind][1] = SatSteamProp(t, 1, kind);
      ASSERT_EQ(CalcStatus, 0u);
      ASSERT_TRUE(std::isfinite(cur[kind][0]) && std::isfinite(cur[kind][1]));
      if (t < 374.15) {
        EXPECT_LT(cur[kind][0], cur[kind][1]);
      }
    }
    EXPECT_GT(cur[PK_V][0], 0);
    if (!first) {
      if (t > 5) {  // water is densest near 4 °C
        EXPECT_GT(cur[PK_V][0], prev[PK_V][0]);
      }
      EXPECT_GT(cur[PK_S][0], prev[PK_S][0]);
      EXPECT_GT(cur[PK_H][0], prev[PK_H][0]);
      EXPECT_LT(cur[PK_V][1], prev[PK_V][1]);
      EXPECT_LT(cur[PK_S][1], prev[PK_S][1]);
    }
    for (int kind : kKinds) {
      prev[kind][0] = cur[kind][0];
      prev[kind][1] = cur[kind][1];
    }
    first = false;
    if (t == 374.15) break;
  }
}

// ---- Quality ----

struct LineCase {
  double x;
  int byTemperature;
};
constexpr LineCase QualityLines[] = {{100, 1}, {360, 1},  {374.1, 1},
                                     {1.0, 0}, {20.0, 0}, {0.0007, 0}};

TEST(Quality, SaturatedValuesGiveDrynessZeroAndOne) {
  for (const LineCase& line : QualityLines) {
    for (int valueKind : kKinds) {
      for (int wanted : kKinds) {
        SCOPED_TRACE(testing::Message() << line.x << " by T " << line.byTemperature
                                        << " value kind " << valueKind << " wanted " << wanted);
        const double y1 = SatWaterProp(line.x, line.byTemperature, valueKind);
        const double y2 = SatSteamProp(line.x, line.byTemperature, valueKind);
        const double z1 = SatWaterProp(line.x, line.byTemperature, wanted);
        const double z2 = SatSteamProp(line.x, line.byTemperature, wanted);
        double X = 99;
        CalcStatus = 0xFFFF;
        EXPECT_EQ(Quality(line.x, line.byTemperature, y1, valueKind, X, wanted), z1);
        EXPECT_EQ(X, 0.0);
        EXPECT_EQ(CalcStatus, 0u);
        CalcStatus = 0xFFFF;
        EXPECT_NEAR(Quality(line.x, line.byTemperature, y2, valueKind, X, wanted), z2,
                    1e-12 * std::fabs(z2));
        EXPECT_EQ(X, 1.0);
        EXPECT_EQ(CalcStatus, 0u);
        CalcStatus = 0xFFFF;
        EXPECT_NEAR(Quality(line.x, line.byTemperature, (y1 + y2) / 2, valueKind, X, wanted),
                    (z1 + z2) / 2, 1e-12 * std::fabs(z2));
        EXPECT_NEAR(X, 0.5, 1e-12);
        EXPECT_EQ(CalcStatus, 0u);
      }
    }
  }
}

TEST(Quality, GivenDrynessIsUsedAsItIs) {
  for (const LineCase& line : QualityLines) {
    for (int wanted : kKinds) {
      SCOPED_TRACE(testing::Message()
                   << line.x << " by T " << line.byTemperature << " wanted " << wanted);
      const double z1 = SatWaterProp(line.x, line.byTemperature, wanted);
      const double z2 = SatSteamProp(line.x, line.byTemperature, wanted);
      double X = 99;
      CalcStatus = 0xFFFF;
      EXPECT_EQ(Quality(line.x, line.byTemperature, 0.25, PK_X, X, wanted), z1 + 0.25 * (z2 - z1));
      EXPECT_EQ(X, 0.25);
      EXPECT_EQ(CalcStatus, 0u);
    }
  }
}

struct DrynessRow {
  double X;
  bool flagged, high;
};
// The tolerances are −0.00001 and 1 + 0.000001; inside them the mixture rule extrapolates.
constexpr DrynessRow DrynessRows[] = {{-0.1, true, false},       {-0.00002, true, false},
                                      {-0.000005, false, false}, {1.0000005, false, true},
                                      {1.000002, true, true},    {1.5, true, true}};

std::uint32_t ExpectedFlag(int valueKind, bool high) {
  switch (valueKind) {
    case PK_V:
      return high ? CS_V_HIGH : CS_V_LOW;
    case PK_S:
      return high ? CS_S_HIGH : CS_S_LOW;
    case PK_H:
      return high ? CS_H_HIGH : CS_H_LOW;
    default:
      return high ? CS_X_HIGH : CS_X_LOW;
  }
}

TEST(Quality, DrynessOutsideItsTolerancesIsFlaggedByValueKindAndNotClamped) {
  const LineCase line = QualityLines[0];
  for (int valueKind : {PK_V, PK_S, PK_H, PK_X}) {
    const double y1 = valueKind == PK_X ? 0 : SatWaterProp(line.x, 1, valueKind);
    const double y2 = valueKind == PK_X ? 1 : SatSteamProp(line.x, 1, valueKind);
    const double z1 = SatWaterProp(line.x, 1, PK_H);
    const double z2 = SatSteamProp(line.x, 1, PK_H);
    for (const DrynessRow& row : DrynessRows) {
      SCOPED_TRACE(testing::Message() << "value kind " << valueKind << " X " << row.X);
      const double value = y1 + row.X * (y2 - y1);
      double X = 99;
      CalcStatus = 0xFFFF;  // assigned, not OR-ed: the poison must be gone
      const double r = Quality(line.x, 1, value, valueKind, X, PK_H);
      EXPECT_NEAR(X, row.X, 1e-9);
      if (row.flagged) {
        EXPECT_EQ(r, 10.0);
        EXPECT_EQ(CalcStatus, ExpectedFlag(valueKind, row.high));
      } else {
        EXPECT_EQ(CalcStatus, 0u);
        EXPECT_EQ(r, z1 + X * (z2 - z1));
        EXPECT_TRUE(row.high ? r > z2 : r < z1);
      }
    }
  }
}

TEST(Quality, NanValueIsFlaggedBelowNeverReturned) {
  double X = 0;
  for (int valueKind : {PK_V, PK_S, PK_H, PK_X}) {
    SCOPED_TRACE(valueKind);
    EXPECT_EQ(Quality(100, 1, NAN, valueKind, X, PK_H), 10.0);
    EXPECT_EQ(CalcStatus, ExpectedFlag(valueKind, false));
  }
}

struct QualityRangeRow {
  double x;
  int byTemperature;
  std::uint32_t status;
  double result, dryness;
};
TEST(Quality, RefusesTheCriticalPointAndOutOfRangeArguments) {
  const QualityRangeRow rows[] = {
      {374.14995, 1, CS_T_HIGH, 1, 10}, {374.15, 1, CS_T_HIGH, 1, 10},
      {374.16, 1, CS_T_HIGH, 1, 10},    {0.0099, 1, CS_T_LOW, 1, 10},
      {NAN, 1, CS_T_LOW, 1, 10},        {22.119995, 0, CS_P_HIGH, 10, 1},
      {22.12, 0, CS_P_HIGH, 10, 1},     {22.2, 0, CS_P_HIGH, 10, 1},
      {0.00069, 0, CS_P_LOW, 10, 1},    {NAN, 0, CS_P_LOW, 10, 1},
  };
  for (const QualityRangeRow& row : rows) {
    SCOPED_TRACE(testing::Message() << row.x << " by T " << row.byTemperature);
    double X = 99;
    CalcStatus = 0xFFFF;
    EXPECT_EQ(Quality(row.x, row.byTemperature, 0.5, PK_X, X, PK_H), row.result);
    EXPECT_EQ(CalcStatus, row.status);
    EXPECT_EQ(X, row.dryness);
  }
}

TEST(Quality, ComputesJustBelowTheCriticalPoint) {
  const LineCase lines[] = {{374.1498, 1}, {22.11998, 0}};
  for (const LineCase& line : lines) {
    SCOPED_TRACE(line.x);
    const double h1 = SatWaterProp(line.x, line.byTemperature, PK_H);
    const double h2 = SatSteamProp(line.x, line.byTemperature, PK_H);
    // So close to the critical point the formulation's water and steam nearly coincide (here
    // h′ even lies a little above h″), but the mixture is still computed.
    ASSERT_NE(h1, h2);
    double X = 99;
    CalcStatus = 0xFFFF;
    EXPECT_EQ(Quality(line.x, line.byTemperature, 0.5, PK_X, X, PK_H), h1 + 0.5 * (h2 - h1));
    EXPECT_EQ(CalcStatus, 0u);
    EXPECT_EQ(X, 0.5);
  }
}

}  // namespace
