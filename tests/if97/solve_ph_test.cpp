// States from (p, h) and (p, s), and the isentropic end point: round trips over every region,
// at and next to every boundary and around the critical point; wet states; every failure.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "if97/detail/lines.h"
#include "if97/if97.h"
#include "tests/if97/grid.h"

namespace {

using namespace if97;
using if97_test::NearCritical;
using if97_test::Scale;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// (p, t) → h or s → (p, h) or (p, s): the state found has the given value, the basic equation
// at its (p, t) gives the value back, and its t is the start's (where regions overlap at a
// boundary, the other region's t, within its step: up to 0.06 K at 800 °C).
TEST(StateFromPH, RoundTripsEverywhereIncludingBoundariesAndTheCriticalPoint) {
  int checked = 0;
  for (double p : if97_test::Pressures()) {
    for (double t : if97_test::Temperatures(p)) {
      const State a = StateFromPT(p, t);
      if (a.failure != Failure::None) continue;
      for (bool byH : {true, false}) {
        SCOPED_TRACE(testing::Message() << p << " MPa, " << t << " °C, by " << (byH ? "h" : "s"));
        const double target = byH ? a.h : a.s;
        const State b = byH ? StateFromPH(p, target) : StateFromPS(p, target);
        ASSERT_EQ(b.failure, Failure::None);
        EXPECT_NEAR(byH ? b.h : b.s, target, 1e-9 * Scale(target));
        const bool sameRegion = b.region == a.region;
        EXPECT_NEAR(b.t, t, sameRegion ? 1e-9 * (t + 273.15) : 0.1);
        // Near the critical point h(p, t) is too steep in t for the forward check.
        if (!NearCritical(p, t)) {
          const State f = StateFromPT(p, b.t);
          EXPECT_NEAR(byH ? f.h : f.s, target, 1e-9 * Scale(target));
        }
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 8000);
}

// A value between h' and h'' (or s' and s'') is wet, with the dryness that mixes them.
TEST(StateFromPH, BetweenTheSaturatedValuesGivesTheWetStateWithItsDryness) {
  for (double p : {0.000611213, 0.01, 1.0, 10.0, 16.529, 16.6, 20.0, 22.0, 22.0639}) {
    const Saturation sat = SaturationByP(p);
    for (double x : {1e-6, 0.25, 0.5, 0.999999}) {
      SCOPED_TRACE(testing::Message() << p << " MPa, x = " << x);
      const State bh = StateFromPH(p, sat.liquid.h + x * (sat.vapour.h - sat.liquid.h));
      const State bs = StateFromPS(p, sat.liquid.s + x * (sat.vapour.s - sat.liquid.s));
      for (const State* b : {&bh, &bs}) {
        ASSERT_EQ(b->failure, Failure::None);
        EXPECT_EQ(b->phase, Phase::TwoPhase);
        EXPECT_EQ(b->region, 4);
        EXPECT_NEAR(b->x, x, 1e-9);
        EXPECT_EQ(b->t, sat.t);
        EXPECT_EQ(b->cp + b->cv + b->w + b->kappa, 0);
        EXPECT_NEAR(b->v, sat.liquid.v + x * (sat.vapour.v - sat.liquid.v), 1e-9 * b->v);
        EXPECT_NEAR(b->u, b->h - 1e3 * p * b->v, 1e-9 * Scale(b->h));
      }
    }
  }
}

// The saturated values themselves give the saturated phases, one-phase or wet of dryness 0 or
// 1 as rounding falls, always with their own cp and w.
TEST(StateFromPH, TheSaturatedValuesGiveTheSaturatedPhases) {
  for (double t = 1; t < 373; t += 7.31) {
    SCOPED_TRACE(t);
    const Saturation sat = SaturationByT(t);
    for (const State* end : {&sat.liquid, &sat.vapour}) {
      for (bool byH : {true, false}) {
        const State b = byH ? StateFromPH(sat.p, end->h) : StateFromPS(sat.p, end->s);
        ASSERT_EQ(b.failure, Failure::None);
        EXPECT_TRUE(b.x == -1 || b.x == end->x) << b.x;
        EXPECT_NEAR(b.rho, end->rho, 1e-6 * end->rho);
        EXPECT_GT(b.cp, 0);
        EXPECT_GT(b.w, 0);
      }
    }
  }
}

// Water on the line near the critical point: h' of the liquid density at (p, t) and the h'
// the solver finds at Ts(p) differ by the density's noise (1e-7 kJ/kg), so the root sits on the
// end of the liquid's temperature interval and the Newton step runs past it.
TEST(StateFromPH, NearCriticalWaterOnTheLineIsFoundAgain) {
  for (double t : {373.88918840010592, 373.89086970010612, 373.89313580010639}) {
    SCOPED_TRACE(t);
    const State a = StateFromPT(SatPressure(t), t);
    const State b = StateFromPH(a.p, a.h);
    ASSERT_EQ(b.failure, Failure::None);
    EXPECT_NEAR(b.h, a.h, 1e-9 * a.h);
    EXPECT_NEAR(b.t, t, 1e-9);
  }
}

struct FailureRow {
  double p;
  double target;  // relative to the limit: limit + target
  bool byH;
  Failure failure;
  double limitT;  // the limit is the value at (p, limitT); NaN: a fixed limit
  double limit;
};

TEST(StateFromPH, ReportsEachFailureWithItsLimit) {
  const FailureRow rows[] = {
      {1, -1e-9, true, Failure::EnthalpyLow, 0, 0},
      {1, 1e-9, true, Failure::EnthalpyHigh, 2000, 0},
      {60, 1e-9, true, Failure::EnthalpyHigh, 800, 0},
      {1e-5, -1e-9, true, Failure::EnthalpyLow, 0, 0},  // below the triple point: only steam
      {100, -1e-9, false, Failure::EntropyLow, 0, 0},
      {1, 1e-9, false, Failure::EntropyHigh, 2000, 0},
      {kNaN, 0, true, Failure::NotFinite, kNaN, 0},
      {1, kNaN, false, Failure::NotFinite, kNaN, 0},
      {std::nextafter(1e-6, 0), 1000, true, Failure::PressureLow, kNaN, 1e-6},
      {std::nextafter(100, 200), 1000, false, Failure::PressureHigh, kNaN, 100},
  };
  for (const FailureRow& row : rows) {
    SCOPED_TRACE(testing::Message() << row.p << " MPa, " << row.target);
    double limit = row.limit, target = row.target;
    if (!std::isnan(row.limitT)) {
      const State edge = StateFromPT(row.p, row.limitT);
      limit = row.byH ? edge.h : edge.s;
      target = limit + row.target * Scale(limit) * 10;
      const State inside = row.byH ? StateFromPH(row.p, limit) : StateFromPS(row.p, limit);
      EXPECT_EQ(inside.failure, Failure::None);  // the limit itself is reachable
    }
    const State s = row.byH ? StateFromPH(row.p, target) : StateFromPS(row.p, target);
    EXPECT_EQ(s.failure, row.failure);
    EXPECT_NEAR(s.limit, limit, 1e-12 * Scale(limit));
  }
}

// Where the next region starts above the last one's end value, no state has the values in
// between: the 1–3 step at 17 MPa, the 2–3 step at 30 MPa, the 2–5 step at 50 MPa.
TEST(StateFromPH, InsideAStepBetweenRegionsThereIsNoSolution) {
  const double tB23 = detail::B23Temperature(30) - 273.15;
  struct Step {
    double p, tLow, tHigh;
  };
  for (const Step& step :
       {Step{17, 350, 350 + 1e-9}, Step{30, tB23 - 1e-9, tB23 + 1e-9}, Step{50, 800, 800 + 1e-9}}) {
    SCOPED_TRACE(step.p);
    const State lo = StateFromPT(step.p, step.tLow), hi = StateFromPT(step.p, step.tHigh);
    ASSERT_NE(lo.region, hi.region);
    ASSERT_LT(lo.h, hi.h);
    EXPECT_EQ(StateFromPH(step.p, 0.5 * (lo.h + hi.h)).failure, Failure::NoSolution);
    EXPECT_EQ(StateFromPS(step.p, 0.5 * (lo.s + hi.s)).failure, Failure::NoSolution);
  }
}

TEST(IsentropicEnd, KeepsTheEntropyAndReportsItsFailures) {
  const State start = StateFromPT(10, 500);
  const State wet = IsentropicEnd(10, 500, 0.01);
  ASSERT_EQ(wet.failure, Failure::None);
  EXPECT_EQ(wet.phase, Phase::TwoPhase);
  EXPECT_GT(wet.x, 0.7);
  EXPECT_LT(wet.x, 0.8);
  EXPECT_NEAR(wet.s, start.s, 1e-12 * start.s);
  const State same = IsentropicEnd(10, 500, 10);
  EXPECT_NEAR(same.t, 500, 1e-9 * 773.15);
  EXPECT_EQ(IsentropicEnd(10, 500, std::nextafter(10, 11)).failure, Failure::PressureOrder);
  EXPECT_EQ(IsentropicEnd(10, 500, std::nextafter(10, 11)).limit, 10);
  EXPECT_EQ(IsentropicEnd(10, -1, 1).failure, Failure::TemperatureLow);
  EXPECT_EQ(IsentropicEnd(10, 500, kNaN).failure, Failure::NotFinite);
  // Cold water expanded below the triple point: no state has that entropy at 1e-5 MPa.
  const State low = IsentropicEnd(100, 0, 1e-5);
  EXPECT_EQ(low.failure, Failure::EntropyLow);
  EXPECT_EQ(low.limit, StateFromPT(1e-5, 0).s);
}

}  // namespace
