// States from (p, h), (p, s), (t, h) and (t, s), and the isentropic end point: round trips over
// every region, at and next to every boundary and around the critical point; every root along
// an isotherm; wet states; the extremes and every failure; calls from many threads at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <cstring>
#include <thread>
#include <vector>

#include "if97/detail/lines.h"
#include "if97/if97.h"

namespace {

using namespace if97;
constexpr double kNaN = NAN;

double Scale(double x) { return std::max(std::fabs(x), 1.0); }
double ValueOf(bool byH, const State& s) { return byH ? s.h : s.s; }
States ByKind(bool byH, double t, double x) {
  return byH ? StatesFromTH(t, x) : StatesFromTS(t, x);
}

// Within 1 °C and 0.1 MPa of the critical point, where (p, t) is too steep a way to a state for
// a forward check to 1e-9.
bool NearCritical(double p, double t) {
  return std::fabs(p - 22.064) < 0.1 && std::fabs(t - 373.946) < 1;
}

// The round trips' starts: pressures in every region and next to every pressure boundary; for
// each, temperatures on a grid and within 0.001 °C (and 1e-6 °C around the critical point and
// the line) of every boundary crossed at that pressure. Near the critical point water on the line
// itself: h' of the liquid density at (p, t) and the h' found at Ts(p) differ by the density's
// noise (1e-7 kJ/kg), so the root sits on the end of the liquid's interval.
constexpr double kNearCriticalLine[] = {373.88918840010592, 373.89086970010612, 373.89313580010639};
std::vector<double> Pressures() {
  std::vector<double> p = {1e-6, 1e-4, 0.00061121, 0.000611213, 0.001, 0.01, 0.1, 1, 3.999999, 4,
                           4.000001, 6.5467, 10, 16.529163, 16.529164252604552, 16.529165, 18, 20,
                           21.5, 25, 30, 49.999999, 50, 60, 80, 99.999999, 100};
  for (double dp : {-0.1, -0.01, -1e-3, -1e-6, 0.0, 1e-6, 1e-3, 0.01, 0.1})
    p.push_back(22.064 + dp);
  for (double t : kNearCriticalLine) p.push_back(SatPressure(t));
  return p;
}
std::vector<double> Temperatures(double p) {
  std::vector<double> t;
  for (double x = 0; x <= 2000; x += 13.7) t.push_back(x);
  for (double b : {0.0, 350.0, 590.0, 800.0, 2000.0})
    for (double d : {-1e-3, 0.0, 1e-3}) t.push_back(b + d);
  t.push_back(349.9999999999996);  // with 16.529164252604552 MPa: on the line, 4e-14 above ps13
  t.insert(t.end(), std::begin(kNearCriticalLine), std::end(kNearCriticalLine));
  for (double d : {-1.0, -0.1, -1e-3, -1e-6, 0.0, 1e-6, 1e-3, 0.1, 1.0}) t.push_back(373.946 + d);
  if (const double ts = SatTemperature(p); ts >= 0)
    for (double d : {-1e-3, -1e-6, 0.0, 1e-6, 1e-3}) t.push_back(ts + d);
  if (p > 16.53)
    for (double d : {-1e-3, 1e-3}) t.push_back(detail::B23Temperature(p) - 273.15 + d);
  return t;
}

// Every root has the value: its own, and that of the basic equation at its (p, t) unless it is
// wet or on the line (where (p, t) stands for either phase); roots come sorted by pressure.
void ExpectRoots(const States& r, bool byH, double t, double target) {
  ASSERT_EQ(r.failure, Failure::None);
  for (int i = 0; i < r.count; ++i) {
    SCOPED_TRACE(i);
    const State& root = r.root[i];
    EXPECT_NEAR(root.t, t, 1e-12 * (t + 273.15));
    EXPECT_NEAR(ValueOf(byH, root), target, 1e-9 * Scale(target));
    const bool onLine = std::fabs(SatPressure(t) - root.p) <= 1e-11 * root.p;
    if (root.phase != Phase::TwoPhase && !onLine && !NearCritical(root.p, t)) {
      EXPECT_NEAR(ValueOf(byH, StateFromPT(root.p, t)), target, 1e-9 * Scale(target));
    }
    EXPECT_TRUE(i == 0 || r.root[i - 1].p < root.p);
  }
}

// (p, t) → h or s → (p, h) or (p, s): the value, given back by the basic equation at the state's
// (p, t), and the start's t (across a region step the other region's, up to 0.06 K at 800 °C).
// → every root at t: one is the start, as far as the isotherm's slope allows (in the ideal-gas
// limit h hardly depends on p), or across a boundary step the other region's within 0.01 MPa.
TEST(InverseStates, RoundTripsEverywhereIncludingBoundariesAndTheCriticalPoint) {
  int checked = 0;
  for (double p : Pressures()) {
    for (double t : Temperatures(p)) {
      const State a = StateFromPT(p, t);
      if (a.failure != Failure::None) continue;
      for (bool byH : {true, false}) {
        SCOPED_TRACE(testing::Message() << p << " MPa, " << t << " °C, by " << (byH ? "h" : "s"));
        const double target = ValueOf(byH, a);
        const State b = byH ? StateFromPH(p, target) : StateFromPS(p, target);
        ASSERT_EQ(b.failure, Failure::None);
        EXPECT_NEAR(ValueOf(byH, b), target, 1e-9 * Scale(target));
        EXPECT_NEAR(b.t, t, b.region == a.region ? 1e-9 * (t + 273.15) : 0.1);
        if (!NearCritical(p, t)) {
          EXPECT_NEAR(ValueOf(byH, StateFromPT(p, b.t)), target, 1e-9 * Scale(target));
        }

        const States r = ByKind(byH, t, target);
        ExpectRoots(r, byH, t, target);
        ASSERT_GE(r.count, 1);
        const State* nearest = std::min_element(r.root, r.root + r.count, [p](auto& x, auto& y) {
          return std::fabs(x.p - p) < std::fabs(y.p - p);
        });
        // The slope on the side that stays in the start's region (the other may cross the line).
        const State lo = StateFromPT(p * (1 - 1e-6), t), hi = StateFromPT(p * (1 + 1e-6), t);
        const double slope = std::min(std::fabs(target - ValueOf(byH, lo)),
                                      std::fabs(ValueOf(byH, hi) - target)) / (1e-6 * p);
        const bool sameSide = nearest->region == a.region || NearCritical(p, t);
        EXPECT_NEAR(nearest->p, p, sameSide ? 1e-9 * p + 2e-11 * Scale(target) / slope : 0.01);
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 8000);
}
// A value between h' and h'' (or s' and s'') is wet, with the dryness that mixes them; the
// saturated values themselves give the saturated phases, one-phase or wet of dryness 0 or 1 as
// rounding falls, always with their own cp and w.
TEST(StateFromPH, FromTheSaturatedValuesInwardsTheWetStatesWithTheirDryness) {
  for (double p : {0.000611213, 0.01, 0.1, 1.0, 5.0, 10.0, 16.529, 16.6, 20.0, 22.0, 22.0639}) {
    const Saturation sat = SaturationByP(p);
    for (double x : {0.0, 1e-6, 0.25, 0.5, 0.999999, 1.0}) {
      SCOPED_TRACE(testing::Message() << p << " MPa, x = " << x);
      const double h = x == 1 ? sat.vapour.h : sat.liquid.h + x * (sat.vapour.h - sat.liquid.h);
      const double s = x == 1 ? sat.vapour.s : sat.liquid.s + x * (sat.vapour.s - sat.liquid.s);
      const State bh = StateFromPH(p, h), bs = StateFromPS(p, s);
      for (const State* b : {&bh, &bs}) {
        ASSERT_EQ(b->failure, Failure::None);
        if (x == 0 || x == 1) {
          const State& end = x == 0 ? sat.liquid : sat.vapour;
          EXPECT_TRUE(b->x == -1 || b->x == x) << b->x;
          EXPECT_NEAR(b->rho, end.rho, 1e-6 * end.rho);
          EXPECT_TRUE(b->cp > 0 && b->w > 0) << b->cp << ", " << b->w;
          continue;
        }
        EXPECT_EQ(std::tuple(b->phase, b->region, b->t, b->cp + b->cv + b->w + b->kappa),
                  std::tuple(Phase::TwoPhase, 4, sat.t, 0.0));
        EXPECT_NEAR(b->x, x, 1e-9);
        EXPECT_NEAR(b->v, sat.liquid.v + x * (sat.vapour.v - sat.liquid.v), 1e-9 * b->v);
        EXPECT_NEAR(b->u, b->h - 1e3 * p * b->v, 1e-9 * Scale(b->h));
      }
    }
  }
}

// target: relative to the limit, the value at (p, limitT); with limitT NaN, absolute and the
// limit fixed.
TEST(StateFromPH, ReportsEachFailureWithItsLimit) {
  const struct { double p, target; bool byH; Failure failure; double limitT, limit; } rows[] = {
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
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.p << " MPa, " << row.target);
    double limit = row.limit, target = row.target;
    if (!std::isnan(row.limitT)) {
      limit = ValueOf(row.byH, StateFromPT(row.p, row.limitT));
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
// between: the 1–3 step at 17 MPa, the 2–3 step at 30 MPa, the 2–5 step at 50 MPa; along the
// isotherm, the 2–3 step at 700 K (region 2 ends 0.125 kJ/kg above where region 3 begins).
TEST(InverseStates, InsideAStepBetweenRegionsThereIsNoSolution) {
  const double pB23 = detail::B23Pressure(700);
  const double gap =
      0.5 * (StateFromPT(pB23 * (1 - 1e-12), 426.85).h + StateFromPT(pB23, 426.85).h);
  EXPECT_EQ(StatesFromTH(426.85, gap).failure, Failure::NoSolution);
  const double tB23 = detail::B23Temperature(30) - 273.15;
  const double steps[][3] = {{17, 350, 350 + 1e-9}, {30, tB23 - 1e-9, tB23 + 1e-9},
                             {50, 800, 800 + 1e-9}};  // p, t on each side
  for (const auto& [p, tLow, tHigh] : steps) {
    SCOPED_TRACE(p);
    const State lo = StateFromPT(p, tLow), hi = StateFromPT(p, tHigh);
    ASSERT_NE(lo.region, hi.region);
    ASSERT_LT(lo.h, hi.h);
    EXPECT_EQ(StateFromPH(p, 0.5 * (lo.h + hi.h)).failure, Failure::NoSolution);
    EXPECT_EQ(StateFromPS(p, 0.5 * (lo.s + hi.s)).failure, Failure::NoSolution);
  }
}

TEST(IsentropicEnd, KeepsTheEntropyAndReportsItsFailures) {
  const State start = StateFromPT(10, 500);
  const State wet = IsentropicEnd(10, 500, 0.01);
  ASSERT_EQ(std::tuple(wet.failure, wet.phase), std::tuple(Failure::None, Phase::TwoPhase));
  EXPECT_TRUE(wet.x > 0.7 && wet.x < 0.8) << wet.x;
  EXPECT_NEAR(wet.s, start.s, 1e-12 * start.s);
  EXPECT_NEAR(IsentropicEnd(10, 500, 10).t, 500, 1e-9 * 773.15);
  const State up = IsentropicEnd(10, 500, std::nextafter(10, 11));
  EXPECT_EQ(std::tuple(up.failure, up.limit), std::tuple(Failure::PressureOrder, 10.0));
  EXPECT_EQ(IsentropicEnd(10, -1, 1).failure, Failure::TemperatureLow);
  EXPECT_EQ(IsentropicEnd(10, 500, kNaN).failure, Failure::NotFinite);
  // Cold water expanded below the triple point: no state has that entropy at 1e-5 MPa.
  const State low = IsentropicEnd(100, 0, 1e-5);
  EXPECT_EQ(std::tuple(low.failure, low.limit),
            std::tuple(Failure::EntropyLow, StateFromPT(1e-5, 0).s));
}

// Isotherms that cross the value more than once: wet and compressed water at 100 °C; twice in
// compressed water at 250 °C, around the minimum of h where Tα = 1; and at 2 °C, where water's
// entropy rises with p up to the density maximum, wet and twice in the water. A saturated phase
// reached both as the end of a region's piece and as a wet root of dryness 1 is one root (s'' at
// 4e-13 K above 350 °C, within the density's noise of the end of region 3's piece).
TEST(StatesFromTH, FindsEveryRootWhereTheIsothermCrossesMoreThanOnce) {
  const double min250 = StatesFromTH(250, 0).limit;  // the lowest h along 250 °C
  const struct { bool byH; double t, target; int count; Phase phases[3]; } rows[] = {
      {true, 100, 420, 2, {Phase::TwoPhase, Phase::Liquid}},
      {true, 250, 0.5 * (min250 + SaturationByT(250).liquid.h), 2, {Phase::Liquid, Phase::Liquid}},
      {false, 2, 0.5 * (SaturationByT(2).liquid.s + StateFromPT(10, 2).s), 3,
       {Phase::TwoPhase, Phase::Liquid, Phase::Liquid}},
      {false, 350.0000000000004, 5.2109515701253084, 2, {Phase::Vapour, Phase::Vapour}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.t);
    const States r = ByKind(row.byH, row.t, row.target);
    ExpectRoots(r, row.byH, row.t, row.target);
    ASSERT_EQ(r.count, row.count);
    for (int i = 0; i < r.count; ++i) EXPECT_EQ(r.root[i].phase, row.phases[i]) << i;
  }
  EXPECT_EQ(StatesFromTH(100, 420).root[0].p, SatPressure(100));
  // At the minimum itself the two water roots meet; just under it there is none.
  EXPECT_GE(StatesFromTH(250, min250).count, 1);
  const States under = StatesFromTH(250, min250 - 1e-9 * min250);
  EXPECT_EQ(std::tuple(under.failure, under.limit), std::tuple(Failure::EnthalpyLow, min250));
}

// Beyond the isotherm's reach the failure names the extreme reachable value: the ideal-gas end
// at 1e-6 MPa, 100 MPa (50 above 800 °C), or the saturated water where h rises from the line:
// the value at (limitP, t), with limitP 0 at the saturated liquid.
TEST(StatesFromTH, BeyondTheIsothermReportsTheExtremeReachableValue) {
  const struct { bool byH; double t, target; Failure failure; double limitP; } rows[] = {
      {true, 100, 1e4, Failure::EnthalpyHigh, 1e-6}, {true, 100, -1, Failure::EnthalpyLow, 0},
      {false, 500, 20, Failure::EntropyHigh, 1e-6},  {false, 300, -1, Failure::EntropyLow, 100},
      {true, 1000, 100, Failure::EnthalpyLow, 50},   {true, 1000, 1e4, Failure::EnthalpyHigh, 1e-6},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.t << " °C, " << row.target);
    const States r = ByKind(row.byH, row.t, row.target);
    EXPECT_EQ(std::tuple(r.failure, r.count), std::tuple(row.failure, 0));
    const State at = row.limitP > 0 ? StateFromPT(row.limitP, row.t) : SaturationByT(row.t).liquid;
    EXPECT_NEAR(r.limit, ValueOf(row.byH, at), 1e-12 * Scale(r.limit));
    EXPECT_GE(ByKind(row.byH, row.t, r.limit).count, 1);  // and the extreme itself is reached
  }
  EXPECT_EQ(StatesFromTH(kNaN, 1).failure, Failure::NotFinite);
  EXPECT_EQ(StatesFromTS(1, kNaN).failure, Failure::NotFinite);
  EXPECT_EQ(StatesFromTH(std::nextafter(0, -1), 1).failure, Failure::TemperatureLow);
  const States hot = StatesFromTS(std::nextafter(2000, 3000), 1);
  EXPECT_EQ(std::tuple(hot.failure, hot.limit), std::tuple(Failure::TemperatureHigh, 2000.0));
}

TEST(StatesFromTH, ManyThreadsGiveTheSameBitsAsOne) {
  auto work = [](std::vector<double>* out) {
    for (double t = 1; t < 700; t += 7.3) {
      const States r = StatesFromTH(t, 1000 + 3 * t);
      for (int i = 0; i < r.count; ++i) out->push_back(r.root[i].p);
      out->insert(out->end(), {StateFromPS(10, 1 + t / 100).t, double(r.failure)});
    }
  };
  std::vector<double> one, many[4];
  work(&one);
  // All four at once, joined as the loop ends.
  for (std::vector<std::jthread> threads; auto& m : many) threads.emplace_back(work, &m);
  for (const auto& m : many)
    EXPECT_TRUE(m.size() == one.size() && !std::memcmp(m.data(), one.data(), 8 * m.size()));
}

}  // namespace
