// The saturation line: Eqs. 30 and 31 as inverses, their range edges, and both saturated
// phases by pressure and by temperature up to the critical point.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "if97/if97.h"

namespace {

using namespace if97;
constexpr double kNaN = NAN;
constexpr double kPsMin = 0.00061121267744434539;  // ps(0 °C)

double Below(double x) { return std::nextafter(x, -INFINITY); }
double Above(double x) { return std::nextafter(x, INFINITY); }

TEST(SaturationLine, PressureToTemperatureToPressureWithin1e12) {
  double worst = 0;
  for (double p = kPsMin; p <= 22.064; p *= 1.01)
    worst = std::max(worst, std::fabs(SatPressure(SatTemperature(p)) / p - 1));
  EXPECT_LE(worst, 1e-12);
  EXPECT_NEAR(SatPressure(SatTemperature(22.064)), 22.064, 1e-12 * 22.064);
}

TEST(SaturationLine, KeepsItsEndsInRange) {
  EXPECT_EQ(SatPressure(0), kPsMin);
  EXPECT_EQ(SatPressure(373.946), 22.064);  // Eq. 30 ends 3.2e-10 MPa above pc: held at pc
  EXPECT_EQ(SatTemperature(kPsMin), 0);     // Eq. 31 gives 1e-13 K less: kept in range
  EXPECT_NEAR(SatTemperature(22.064), 373.946, 2e-9);
}

// Both phases agree with the one-phase states at the same point just off the line, by pressure
// and by temperature, in regions 1/2 and in region 3.
TEST(Saturation, PhasesAreTheOnePhaseStatesAtTheLine) {
  for (double t : {0.0, 20.0, 100.0, 300.0, 350.0, 360.0, 373.0, 373.9}) {
    SCOPED_TRACE(t);
    const Saturation s = SaturationByT(t);
    // t as given, not t + 273.15 − 273.15.
    ASSERT_EQ(std::tuple(s.failure, s.p, s.t), std::tuple(Failure::None, SatPressure(t), t));
    for (const State* phase : {&s.liquid, &s.vapour})
      EXPECT_TRUE(phase->phase == Phase::TwoPhase && phase->region == 4 && phase->cp > 0);
    EXPECT_TRUE(s.liquid.x == 0 && s.vapour.x == 1) << s.liquid.x << ", " << s.vapour.x;
    const State liquid = StateFromPT(s.p, t);  // on the line (p, t) is the liquid
    const State vapour = StateFromPT(s.p * (1 - 1e-12), t);
    EXPECT_NEAR(s.liquid.h, liquid.h, 1e-9 * std::max(liquid.h, 1.0));
    EXPECT_NEAR(s.vapour.h, vapour.h, 1e-7 * vapour.h);  // near Tc h'' moves fast with p
    const Saturation byP = SaturationByP(s.p);
    EXPECT_NEAR(byP.t, t, 1e-9);
    EXPECT_NEAR(byP.liquid.s, s.liquid.s, 1e-9);
    EXPECT_NEAR(byP.vapour.s, s.vapour.s, 2e-8);
  }
}

TEST(Saturation, CriticalPointAndTheNearCriticalGap) {
  const Saturation c = SaturationByT(373.946);
  ASSERT_EQ(c.failure, Failure::None);
  EXPECT_EQ(c.liquid.rho, c.vapour.rho);  // one root above and at Tc
  EXPECT_NEAR(c.liquid.rho, 322, 0.5);
  // 1e-5 K below Tc no vapour density reaches ps: the vapour is the top of its branch, within
  // 8e-10 MPa of ps, and still less dense than the liquid.
  const Saturation g = SaturationByT(373.94599);
  ASSERT_EQ(std::tuple(g.failure, g.t), std::tuple(Failure::None, 373.94599));
  EXPECT_LT(g.vapour.rho, g.liquid.rho);
  EXPECT_EQ(StateFromPT(Below(g.p), 373.94599).failure, Failure::NearCritical);
  EXPECT_NEAR(SaturationByP(22.064).t, 373.946, 2e-9);  // a failure's t is 0
}

// Beyond the line's ends Eqs. 30 and 31 answer −1, and the saturated states name the limit.
TEST(Saturation, ReportsEachFailureWithItsLimit) {
  const struct { bool byP; double x; Failure failure; double limit; } rows[] = {
      {true, kNaN, Failure::NotFinite, 0},
      {true, Below(kPsMin), Failure::PressureLow, kPsMin},
      {true, -1, Failure::PressureLow, kPsMin},
      {true, Above(22.064), Failure::PressureHigh, 22.064},
      {false, kNaN, Failure::NotFinite, 0},
      {false, INFINITY, Failure::NotFinite, 0},
      {false, Below(0), Failure::TemperatureLow, 0},
      {false, Above(373.946), Failure::TemperatureHigh, 373.946},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << (row.byP ? "p " : "t ") << row.x);
    EXPECT_EQ(row.byP ? SatTemperature(row.x) : SatPressure(row.x), -1);
    const Saturation s = row.byP ? SaturationByP(row.x) : SaturationByT(row.x);
    EXPECT_EQ(std::tuple(s.failure, s.limit, s.liquid.failure, s.vapour.failure),
              std::tuple(row.failure, row.limit, row.failure, row.failure));
  }
  EXPECT_EQ(SaturationByP(kPsMin).failure, Failure::None);
}

}  // namespace
