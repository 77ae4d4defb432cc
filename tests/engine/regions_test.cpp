#include "engine/regions.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/constants.h"
#include "engine/saturation.h"

namespace {

TEST(BoundaryL, MatchesReferencePressures) {
  const struct {
    double t, p;
  } rows[] = {{350, 16.535124}, {360, 17.667683}, {400, 24.237173}, {590, 100.000000}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.t);
    CalcStatus = 0x1234;
    EXPECT_NEAR(BoundaryL(row.t) * IfcConstants.pc, row.p, 5e-7);
    EXPECT_EQ(CalcStatus, 0x1234u);
  }
}

struct RegionRow {
  double t, p;
  int region;
};

TEST(FindRegion, ClassifiesPointsOfEveryBand) {
  const RegionRow rows[] = {
      {100, 0.1, RC_SUB2},     {100, 0.2, RC_SUB1},     {100, SatPressure(100), RC_SAT_LOWER},
      {0.01, 0.0007, RC_SUB1}, {350, 20, RC_SUB1},      {350, 16, RC_SUB2},
      {360, 17, RC_SUB2},      {360, 18, RC_SUB3},      {360, 19, RC_SUB4},
      {360, SatPressure(360), RC_SAT_UPPER},            {374.1, 19, RC_SUB2},
      {374.1, 22, RC_SUB3},    {374.1, 22.2, RC_SUB4},  {374.15, 25, RC_SUB3},
      {374.15, 19, RC_SUB2},   {400, 20, RC_SUB2},      {400, 30, RC_SUB3},
      {500, 60, RC_SUB3},      {590, 100, RC_SUB2},     {595, 100, RC_SUB2},
      {800, 100, RC_SUB2},     {585, 100, RC_SUB3},     {589.99, 100, RC_SUB3},
      {374.15, 22.12, RC_SUB3}, {350.00006, 20, RC_SUB1}, {350.0001, 20, RC_SUB4},
      {360, BoundaryL(360) * 22.12, RC_SUB2},
  };
  for (const RegionRow& row : rows) {
    SCOPED_TRACE(testing::Message() << row.t << " °C, " << row.p << " MPa");
    CalcStatus = 0xFFFF;
    EXPECT_EQ(FindRegion(row.t, row.p), row.region);
    EXPECT_EQ(CalcStatus, 0u);
  }
}

TEST(FindRegion, OutOfRangeReturnsOneWithCombinedFlags) {
  const struct {
    double t, p;
    std::uint32_t status;
  } rows[] = {{-1, 50, CS_T_LOW},
              {900, 200, CS_T_HIGH | CS_P_HIGH},
              {-1, 200, CS_T_LOW | CS_P_HIGH},
              {0.0099, 1, CS_T_LOW},
              {800.0001, 1, CS_T_HIGH},
              {100, 0.00069, CS_P_LOW},
              {100, 100.0001, CS_P_HIGH},
              {NAN, NAN, CS_T_LOW | CS_P_LOW}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.t << " °C, " << row.p << " MPa");
    EXPECT_EQ(FindRegion(row.t, row.p), 1);
    EXPECT_EQ(CalcStatus, row.status);
  }
  FindRegion(800, 100);
  EXPECT_EQ(CalcStatus, 0u);
}

}  // namespace
