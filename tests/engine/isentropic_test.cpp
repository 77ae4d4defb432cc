#include <gtest/gtest.h>

#include <cmath>

#include "engine/constants.h"
#include "engine/entrypoints.h"
#include "engine/solvers.h"
#include "engine/statepoint.h"

namespace {

// The end point the entry point should reach: the start entropy by the state-point function at
// p1×10·0.1, then the temperature search at p2×10·0.1, with the arguments widened from floats.
double ExpectedEndH(float t1, float p1x10, float p2x10) {
  int state = 0;
  const double s1 = PointProp(double(t1), double(p1x10) * 0.1, PK_S, state);
  double t = 0, v = 0, h = 0, x = 0;
  SolveTFromPS(double(p2x10) * 0.1, s1, t, v, h, x);
  return h;
}

struct EndRow {
  float t1, p1x10, p2x10;
  double h;  // expected end enthalpy, kJ/kg
  double tol;
};
TEST(IsentropicEndH, ExpansionsEndWhereTheSolverPutsThem) {
  // Steam-table estimates by the dryness fraction at 0.1 MPa (s′ 1.3026, s″ 7.3594, h′ 417.5,
  // h″ 2675.5): 10 MPa 500 °C (s 6.5966) ends at x 0.874; 1 MPa 300 °C (s 7.1229) at x 0.961.
  // Compressed water at 10 MPa 50 °C (s 0.701) expands to water near 49.7 °C.
  const EndRow rows[] = {
      {500, 100, 1, 2391.0, 1.5}, {300, 10, 1, 2587.3, 1.5}, {50, 100, 1, 208.0, 1.0}};
  for (const EndRow& row : rows) {
    SCOPED_TRACE(testing::Message() << row.t1 << " " << row.p1x10 << " " << row.p2x10);
    int status = -1;
    CalcStatus = 0xFFFF;
    const double h = IsentropicEndH(row.t1, row.p1x10, row.p2x10, &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(CalcStatus, 0u);
    EXPECT_EQ(h, ExpectedEndH(row.t1, row.p1x10, row.p2x10));
    EXPECT_NEAR(h, row.h, row.tol);
  }
}

// The order and minimum checks compare the float arguments and report through the out-parameter
// only: CalcStatus keeps what the previous call left.
struct CheckRow {
  float p1x10, p2x10;
  int status;
  double h;
};
TEST(IsentropicEndH, OrderAndMinimumChecksLeaveTheStatusWordAlone) {
  const CheckRow rows[] = {
      {10, 10, CS_ORDER, 10},           // equal pressures fail
      {1, 10, CS_ORDER, 10},            // rising pressure
      {0.0005f, 0.001f, CS_ORDER, 10},  // order first, although both are below the minimum
      {10, 0.0005f, CS_P_LOW, 100},     // 0.00005 MPa
      {0.0009f, 0.0001f, CS_P_LOW, 100},
      {NAN, 1, CS_ORDER, 10},
      {10, NAN, CS_ORDER, 10},
      {10, -INFINITY, CS_P_LOW, 100},
  };
  for (const CheckRow& row : rows) {
    SCOPED_TRACE(testing::Message() << row.p1x10 << " " << row.p2x10);
    int status = -1;
    CalcStatus = 0x1234;
    EXPECT_EQ(IsentropicEndH(300, row.p1x10, row.p2x10, &status), row.h);
    EXPECT_EQ(status, row.status);
    EXPECT_EQ(CalcStatus, 0x1234u);
  }
}

TEST(IsentropicEndH, MinimumIsOneThousandthOfTheTimesTenValue) {
  // 0.001 itself passes the minimum check (0.0001 MPa) but lies below the solver's 0.0007 MPa.
  int status = -1;
  EXPECT_EQ(IsentropicEndH(300, 10, 0.001f, &status), 10.0);
  EXPECT_NE(status & CS_P_LOW, 0);
  EXPECT_EQ(status, int(CalcStatus));
}

TEST(IsentropicEndH, EndPressureBelowTheStateRangeFailsInTheSolver) {
  int status = -1;
  CalcStatus = 0;
  EXPECT_EQ(IsentropicEndH(300, 10, 0.005f, &status), 10.0);
  EXPECT_NE(status & CS_P_LOW, 0);
  EXPECT_EQ(status, int(CalcStatus));
}

TEST(IsentropicEndH, StartStateOutOfRangeStopsAtTheStartEntropy) {
  const struct {
    float t1, p1x10;
    int status;
  } rows[] = {{800.5f, 100, CS_T_HIGH},
              {NAN, 100, CS_T_LOW},
              {300, 1001, CS_P_HIGH},
              {-5, INFINITY, CS_T_LOW | CS_P_HIGH}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.t1 << " " << row.p1x10);
    int status = -1;
    CalcStatus = 0;
    EXPECT_EQ(IsentropicEndH(row.t1, row.p1x10, 1, &status), 10.0);
    EXPECT_EQ(status, row.status);
    EXPECT_EQ(CalcStatus, std::uint32_t(row.status));
  }
}

// Pressures ×10 are multiplied back by the double 0.1: 2.5f·0.1 is not 0.25 exactly, and the
// end point follows the product.
TEST(IsentropicEndH, TimesTenPressuresAreScaledByTheDoubleTenth) {
  int status = -1;
  const double h = IsentropicEndH(400, 30, 2.5f, &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(h, ExpectedEndH(400, 30, 2.5f));
  int state = 0;
  const double s1 = PointProp(400, 3.0000000000000004, PK_S, state);
  double t = 0, v = 0, hEnd = 0, x = 0;
  SolveTFromPS(0.25, s1, t, v, hEnd, x);
  EXPECT_NEAR(h, hEnd, 1e-6);
}

}  // namespace
