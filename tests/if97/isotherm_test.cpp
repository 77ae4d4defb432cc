// States from (t, h) and (t, s): every root along the isotherm, the extremes reported when there
// is none, and calls from many threads at once.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <thread>
#include <vector>

#include "if97/if97.h"
#include "tests/if97/grid.h"

namespace {

using namespace if97;
using if97_test::NearCritical;
using if97_test::Scale;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

States ByKind(bool byH, double t, double x) {
  return byH ? StatesFromTH(t, x) : StatesFromTS(t, x);
}
double ValueOf(bool byH, const State& s) { return byH ? s.h : s.s; }

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
    if (i > 0) {
      EXPECT_LT(r.root[i - 1].p, root.p);
    }
  }
}

// (p, t) → h or s → every root at t: one of them is the start, to what the isotherm's slope
// allows (in the ideal-gas limit h hardly depends on p), or across a boundary step the other
// region's root within 0.01 MPa.
TEST(StatesFromTH, RoundTripsFindTheStartAmongAllRoots) {
  int checked = 0;
  for (double p : if97_test::Pressures()) {
    for (double t : if97_test::Temperatures(p)) {
      const State a = StateFromPT(p, t);
      if (a.failure != Failure::None) continue;
      for (bool byH : {true, false}) {
        SCOPED_TRACE(testing::Message() << p << " MPa, " << t << " °C, by " << (byH ? "h" : "s"));
        const double target = ValueOf(byH, a);
        const States r = ByKind(byH, t, target);
        ExpectRoots(r, byH, t, target);
        ASSERT_GE(r.count, 1);
        const State* nearest = &r.root[0];
        for (int i = 1; i < r.count; ++i)
          if (std::fabs(r.root[i].p - p) < std::fabs(nearest->p - p)) nearest = &r.root[i];
        // The slope on the side that stays in the start's region (the other may cross the line).
        const State lo = StateFromPT(p * (1 - 1e-6), t), hi = StateFromPT(p * (1 + 1e-6), t);
        const double slope = std::min(std::fabs(ValueOf(byH, a) - ValueOf(byH, lo)),
                                      std::fabs(ValueOf(byH, hi) - ValueOf(byH, a))) /
                             (1e-6 * p);
        const bool sameSide = nearest->region == a.region || NearCritical(p, t);
        const double allowed = sameSide ? 1e-9 * p + 2e-11 * Scale(target) / slope : 0.01;
        EXPECT_NEAR(nearest->p, p, allowed);
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 8000);
}

struct RootsRow {
  const char* what;
  bool byH;
  double t;
  int count;
  Phase phases[3];
};

// Isotherms that cross the value more than once: wet and compressed water at 100 °C; twice in
// compressed water at 250 °C, around the minimum of h where Tα = 1; and at 2 °C, where water's
// entropy rises with p up to the density maximum, wet and twice in the water.
TEST(StatesFromTH, FindsEveryRootWhereTheIsothermCrossesMoreThanOnce) {
  const double min250 = StatesFromTH(250, 0).limit;  // the lowest h along 250 °C
  const RootsRow rows[] = {
      {"100 °C", true, 100, 2, {Phase::TwoPhase, Phase::Liquid}},
      {"250 °C", true, 250, 2, {Phase::Liquid, Phase::Liquid}},
      {"2 °C", false, 2, 3, {Phase::TwoPhase, Phase::Liquid, Phase::Liquid}},
  };
  const double targets[] = {420, 0.5 * (min250 + SaturationByT(250).liquid.h),
                            0.5 * (SaturationByT(2).liquid.s + StateFromPT(10, 2).s)};
  for (int k = 0; k < 3; ++k) {
    const RootsRow& row = rows[k];
    SCOPED_TRACE(row.what);
    const States r = ByKind(row.byH, row.t, targets[k]);
    ExpectRoots(r, row.byH, row.t, targets[k]);
    ASSERT_EQ(r.count, row.count);
    for (int i = 0; i < r.count; ++i) EXPECT_EQ(r.root[i].phase, row.phases[i]) << i;
  }
  EXPECT_EQ(StatesFromTH(100, 420).root[0].p, SatPressure(100));
  // At the minimum itself the two water roots meet; just under it there is none.
  EXPECT_GE(StatesFromTH(250, min250).count, 1);
  const States under = StatesFromTH(250, min250 - 1e-9 * min250);
  EXPECT_EQ(under.failure, Failure::EnthalpyLow);
  EXPECT_EQ(under.limit, min250);
}

// A saturated phase reached both as the end of a region's piece and as a wet root of dryness 1
// is one root (here s'' at 4e-13 K above 350 °C, within the density's noise of the piece's end).
TEST(StatesFromTH, OneRootPerPressureWhereASaturatedPhaseIsReachedTwice) {
  const double t = 350.0000000000004, s = 5.2109515701253084;
  const States r = StatesFromTS(t, s);
  ExpectRoots(r, false, t, s);
  ASSERT_EQ(r.count, 2);  // region 2 within the 2–3 step, and the saturated vapour
  EXPECT_EQ(r.root[1].region, 3);
}

struct ExtremeRow {
  bool byH;
  double t, target;
  Failure failure;
  double limitP;  // the extreme is the value at (limitP, t); 0: at the saturated liquid
};

// Beyond the isotherm's reach the failure names the extreme reachable value: the ideal-gas end
// at 1e-6 MPa, 100 MPa (50 above 800 °C), or the saturated water where h rises from the line.
TEST(StatesFromTH, BeyondTheIsothermReportsTheExtremeReachableValue) {
  const ExtremeRow rows[] = {
      {true, 100, 1e4, Failure::EnthalpyHigh, 1e-6}, {true, 100, -1, Failure::EnthalpyLow, 0},
      {false, 500, 20, Failure::EntropyHigh, 1e-6},  {false, 300, -1, Failure::EntropyLow, 100},
      {true, 1000, 100, Failure::EnthalpyLow, 50},   {true, 1000, 1e4, Failure::EnthalpyHigh, 1e-6},
  };
  for (const ExtremeRow& row : rows) {
    SCOPED_TRACE(testing::Message() << row.t << " °C, " << row.target);
    const States r = ByKind(row.byH, row.t, row.target);
    EXPECT_EQ(r.failure, row.failure);
    EXPECT_EQ(r.count, 0);
    const State at = row.limitP > 0 ? StateFromPT(row.limitP, row.t) : SaturationByT(row.t).liquid;
    EXPECT_NEAR(r.limit, ValueOf(row.byH, at), 1e-12 * Scale(r.limit));
    EXPECT_GE(ByKind(row.byH, row.t, r.limit).count, 1);  // and the extreme itself is reached
  }
  EXPECT_EQ(StatesFromTH(kNaN, 1).failure, Failure::NotFinite);
  EXPECT_EQ(StatesFromTS(1, kNaN).failure, Failure::NotFinite);
  EXPECT_EQ(StatesFromTH(std::nextafter(0, -1), 1).failure, Failure::TemperatureLow);
  const States hot = StatesFromTS(std::nextafter(2000, 3000), 1);
  EXPECT_EQ(hot.failure, Failure::TemperatureHigh);
  EXPECT_EQ(hot.limit, 2000);
  // Inside the 2–3 step at 700 K no state has the value (region 2 ends 0.125 kJ/kg above
  // where region 3 begins).
  const double pB23 = if97::detail::B23Pressure(700);
  const double gap =
      0.5 * (StateFromPT(pB23 * (1 - 1e-12), 426.85).h + StateFromPT(pB23, 426.85).h);
  EXPECT_EQ(StatesFromTH(426.85, gap).failure, Failure::NoSolution);
}

// No state is shared between calls: four threads at once give what one thread gives, bit for bit.
TEST(StatesFromTH, ManyThreadsGiveTheSameBitsAsOne) {
  auto work = [](std::vector<double>* out) {
    for (double t = 1; t < 700; t += 7.3) {
      const States r = StatesFromTH(t, 1000 + 3 * t);
      const State s = StateFromPS(10, 1 + t / 100);
      for (int i = 0; i < r.count; ++i) out->push_back(r.root[i].p);
      out->push_back(s.t);
      out->push_back(double(r.failure));
    }
  };
  std::vector<double> one;
  work(&one);
  std::vector<double> many[4];
  std::vector<std::thread> threads;
  for (auto& m : many) threads.emplace_back(work, &m);
  for (auto& th : threads) th.join();
  for (const auto& m : many) {
    ASSERT_EQ(m.size(), one.size());
    EXPECT_EQ(std::memcmp(m.data(), one.data(), one.size() * sizeof(double)), 0);
  }
}

}  // namespace
