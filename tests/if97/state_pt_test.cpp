// States from (p, t): region and phase on both sides of every boundary, every failure with its
// limit, the steps the formulation takes at its region boundaries, and the derivatives of v
// that the inverse solvers steer by.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "if97/detail/lines.h"
#include "if97/if97.h"

namespace {

using namespace if97;
constexpr double kNaN = NAN;
constexpr double kInf = INFINITY;

double Below(double x) { return std::nextafter(x, -kInf); }
double Above(double x) { return std::nextafter(x, kInf); }

TEST(StateFromPT, SelectsRegionAndPhaseOnEachSideOfEveryBoundary) {
  const double ps100 = SatPressure(100), ps360 = SatPressure(360);
  const double pB23 = detail::B23Pressure(673.15);  // 400 °C
  const struct { double p, t; int region; Phase phase; } rows[] = {
      {ps100, 100, 1, Phase::Liquid},  // exactly on the line: the liquid
      {Below(ps100), 100, 2, Phase::Vapour},
      {20, 350, 1, Phase::Liquid},
      {20, Above(350), 3, Phase::Liquid},
      {ps360, 360, 3, Phase::Liquid},
      {Below(ps360), 360, 3, Phase::Vapour},
      {pB23, 400, 3, Phase::Supercritical},
      {Below(pB23), 400, 2, Phase::Supercritical},
      {20, 400, 2, Phase::Vapour},
      {100, 589.999999, 3, Phase::Supercritical},  // B23 reaches 100 MPa + 2.7e-11 at 590 °C
      {100, 590, 2, Phase::Supercritical},
      {50, 800, 2, Phase::Supercritical},
      {50, 800.000001, 5, Phase::Supercritical},
      {1e-6, 0, 2, Phase::Vapour},
      {22.064, 373.946, 3, Phase::Supercritical},
      {22.064, 373.945999, 3, Phase::Liquid},
      {Below(22.064), 373.946, 3, Phase::Vapour},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.p << " MPa, " << row.t << " °C");
    const State s = StateFromPT(row.p, row.t);
    EXPECT_EQ(std::tuple(s.failure, s.region, s.phase, s.x),
              std::tuple(Failure::None, row.region, row.phase, -1.0));
    EXPECT_GT(s.cp, s.cv);
  }
}

TEST(StateFromPT, ReportsEachFailureWithItsLimit) {
  const double t = 373.94599;  // within 1e-5 K of Tc, where ps lies above the vapour branch
  const struct { double p, t; Failure failure; double limit; } rows[] = {
      {kNaN, 100, Failure::NotFinite, 0},
      {1, kInf, Failure::NotFinite, 0},
      {1, Below(0), Failure::TemperatureLow, 0},
      {1, Above(2000), Failure::TemperatureHigh, 2000},
      {Above(100), 100, Failure::PressureHigh, 100},
      {Below(1e-6), 100, Failure::PressureLow, 1e-6},
      {-1, 100, Failure::PressureLow, 1e-6},
      {Above(50), 800.000001, Failure::PressureHigh, 50},
      {Above(100), Above(2000), Failure::TemperatureHigh, 2000},  // temperature first
      {SatPressure(t) - 1e-10, t, Failure::NearCritical, 22.063997318},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.p << " MPa, " << row.t << " °C");
    const State s = StateFromPT(row.p, row.t);
    EXPECT_EQ(s.failure, row.failure);
    EXPECT_NEAR(s.limit, row.limit, 1e-9);
  }
  // The accepted ends of each range (the ulp above 800 °C is still 1073.15 K: 100 MPa allowed).
  for (const auto& [p, tt] : {std::pair{1e-6, 0.0}, {100.0, Above(800)}, {50.0, 2000.0}})
    EXPECT_EQ(StateFromPT(p, tt).failure, Failure::None) << p << " MPa, " << tt << " °C";
}

// The formulation's own steps across its boundaries (measured maxima of |Δh| kJ/kg, |Δs|
// kJ/(kg·K) and |Δv/v|, with 10 % room): the engine must add nothing to them, and each side must
// really use its own region.
TEST(StateFromPT, StepsAcrossRegionBoundariesStayWithinTheFormulations) {
  const struct { const char* boundary; double h, s, v; } rows[] = {
      {"1-3 at 350 °C", 0.034, 4.7e-5, 4.0e-5}, {"2-3 along B23", 0.148, 1.95e-4, 2.0e-4},
      {"2-5 at 800 °C", 0.106, 1.56e-4, 1.36e-4}};
  for (int k = 0; k < 3; ++k) {
    const auto& row = rows[k];
    SCOPED_TRACE(row.boundary);
    double h = 0, s = 0, v = 0;
    for (double u = 0; u <= 1; u += 0.005) {
      // Each side of the boundary: in t at 350 and 800 °C, in p along B23.
      const double T = 623.2 + u * 239.9, pB = detail::B23Pressure(T),
                   p = k == 0 ? 16.6 + u * 83.4 : 1e-3 + u * 49.999;
      const State a =
          k == 1 ? StateFromPT(pB * (1 + 1e-12), T - 273.15) : StateFromPT(p, k == 0 ? 350 : 800);
      const State b = k == 1 ? StateFromPT(pB * (1 - 1e-12), T - 273.15)
                             : StateFromPT(p, (k == 0 ? 350 : 800) + 1e-9);
      ASSERT_NE(a.region, b.region) << u;
      h = std::max(h, std::fabs(a.h - b.h));
      s = std::max(s, std::fabs(a.s - b.s));
      v = std::max(v, std::fabs(a.v / b.v - 1));
    }
    EXPECT_TRUE(h <= row.h && s <= row.s && v <= row.v) << h << ", " << s << ", " << v;
    EXPECT_GT(h, row.h / 10);  // the two sides really come from two equations
  }
}

// cp, (∂v/∂T)_p and (∂v/∂p)_T against central differences of the states themselves, cv against
// cp − cv = −T(∂v/∂T)²/(∂v/∂p), and κ against −(v/p)(∂p/∂v)_s along an isentrope: a wrong
// derivative term in any region shows here (R7-97 prints no cv and no κ).
TEST(StateFromPT, DerivativesAgreeWithDifferencesInEveryRegion) {
  const std::pair<double, double> points[] = {{10, 100}, {1, 300},  {25, 380}, {30, 420},
                                              {20, 365}, {60, 700}, {10, 1500}};
  for (const auto& [p, t] : points) {
    SCOPED_TRACE(testing::Message() << p << " MPa, " << t << " °C");
    const State s = StateFromPT(p, t);
    const double dT = 1e-3, dp = 1e-4 * p;
    const State tm = StateFromPT(p, t - dT), tp = StateFromPT(p, t + dT);
    const State pm = StateFromPT(p - dp, t), pp = StateFromPT(p + dp, t);
    const double dvdT = (tp.v - tm.v) / (2 * dT), dvdp = (pp.v - pm.v) / (2 * dp);
    EXPECT_NEAR(s.cp, (tp.h - tm.h) / (2 * dT), 1e-6 * s.cp);
    const double cvIdentity = s.cp + 1e3 * (t + 273.15) * dvdT * dvdT / dvdp;
    EXPECT_NEAR(s.cv, cvIdentity, 1e-5 * s.cv);
    const State sm = StateFromPS(p - dp, s.s), sp = StateFromPS(p + dp, s.s);
    EXPECT_NEAR(s.kappa, -s.v / p * (2 * dp) / (sp.v - sm.v), 1e-6 * s.kappa);
  }
}

}  // namespace
