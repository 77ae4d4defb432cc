// Termination sweeps of the four solvers around the places where their step searches never end
// by themselves: just above s_lo/h_lo (trials below 0.01 °C), steam near its value at 0.001 MPa
// (trials below 0.0007 MPa), and the near-critical staircase (1700…2600 kJ/kg at 22…23 MPa and at
// 374…374.15 °C).
// The quick sweep runs with the suite; the dense one is run by hand:
//   engine_tests --gtest_also_run_disabled_tests --gtest_filter='*DISABLED_Dense*'
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/constants.h"
#include "engine/detail/solver_parts.h"
#include "engine/solvers.h"
#include "engine/statepoint.h"

namespace {

double Prop(double t, double p, int kind) {
  int state = 0;
  return PointProp(t, p, kind, state);
}

struct Tally {
  long inputs = 0, converged = 0, finished = 0, bestPoint = 0, failed = 0, flagged = 0;
  int maxConverged = 0, maxAll = 0;
  void Print(const char* name) const {
    std::printf(
        "%s: %ld inputs, %ld by the stop test (at most %d evaluations), %ld finished on the "
        "interval, %ld by the best point, %ld CS_NO_CONVERGENCE, %ld range flags; at most %d "
        "evaluations in all\n",
        name, inputs, converged, maxConverged, finished, bestPoint, failed, flagged, maxAll);
  }
};

// One solve: it ends under the cap with finite outputs, and a success meets the stop tolerance
// (or the best-point bound), while a failure carries a flag.
void Check(Tally& tally, std::uint32_t status, const SearchInfo& info, double residual, double tol,
           double bound, bool searched, bool finite) {
  ++tally.inputs;
  EXPECT_TRUE(finite);
  EXPECT_LT(info.evaluations, solver_search::kRoundCap);
  tally.maxAll = std::max(tally.maxAll, info.evaluations);
  if (status == CS_NO_CONVERGENCE) {
    ++tally.failed;
    EXPECT_FALSE(info.converged);
    return;
  }
  if (status) {
    ++tally.flagged;
    return;
  }
  if (info.converged) {
    ++tally.converged;
    tally.maxConverged = std::max(tally.maxConverged, info.evaluations);
  } else if (info.bestPoint) {
    ++tally.bestPoint;
  } else {
    ++tally.finished;
  }
  if (searched) {
    EXPECT_LE(residual, info.bestPoint ? bound : tol);
  }
}

struct Sweep {
  Tally ps, ph, ts, th;
};

// `n` sets the density: points per decade near the range ends and per unit span elsewhere.
Sweep RunSweep(int n) {
  Sweep out;
  double t = 0, v = 0, z = 0, x = 0;
  SearchInfo info;
  const double pressures[] = {0.0007, 0.001, 0.1, 1, 5, 10, 22.12, 25, 30, 60, 100};
  // Just above the values at 0.1 °C, from 1e-9 to 0.03 above.
  for (double p : pressures) {
    const double sLo = Prop(0.1, p, PK_S), hLo = Prop(0.1, p, PK_H);
    for (int i = 0; i <= 8 * n; ++i) {
      const double dy = std::pow(10.0, -9 + 7.5 * i / (8 * n));
      SCOPED_TRACE(testing::Message() << p << " +" << dy);
      const int a = SolveTFromPS(p, sLo + dy, t, v, z, x, &info);
      const std::uint32_t flagsS = CalcStatus;
      Check(out.ps, flagsS, info, std::fabs(Prop(t, p, PK_S) - sLo - dy), 1e-6,
            solver_search::kBestPointBoundS, a != SC_WET, std::isfinite(t) && std::isfinite(v));
      const int b = SolveTFromPH(p, hLo + 100 * dy, t, v, z, x, &info);
      const std::uint32_t flagsH = CalcStatus;
      Check(out.ph, flagsH, info, std::fabs(Prop(t, p, PK_H) - hLo - 100 * dy), 1e-4,
            solver_search::kBestPointBoundH, b != SC_WET, std::isfinite(t) && std::isfinite(v));
    }
  }
  // Steam just below its values at 0.001 MPa, and the bracket value itself.
  const double temps[] = {7, 20, 37.4337, 100, 200, 280, 300, 373, 400, 600, 800};
  for (double tt : temps) {
    const double sHi = Prop(tt, 0.001, PK_S), hHi = Prop(tt, 0.001, PK_H);
    for (int i = 0; i <= 8 * n; ++i) {
      const double dy = i == 0 ? 0 : std::pow(10.0, -9 + 8.0 * i / (8 * n));
      SCOPED_TRACE(testing::Message() << tt << " -" << dy);
      const int a = SolvePFromTS(tt, sHi - dy, t, v, z, x, &info);
      const std::uint32_t flagsS = CalcStatus;
      Check(out.ts, flagsS, info, std::fabs(Prop(tt, t, PK_S) - sHi + dy), 1e-6,
            solver_search::kBestPointBoundS, a != SC_WET && a != SC_UNKNOWN,
            std::isfinite(t) && std::isfinite(v));
      double p1, v1, s1, x1, p2, v2, s2, x2;
      int st1 = 0, st2 = 0;
      const int count =
          SolvePFromTH(tt, hHi - 10 * dy, p1, v1, s1, x1, st1, p2, v2, s2, x2, st2, &info);
      const std::uint32_t flagsH = CalcStatus;
      const double p = count == 2 ? p2 : p1;
      Check(out.th, flagsH, info, count ? std::fabs(Prop(tt, p, PK_H) - hHi + 10 * dy) : 0, 0.00005,
            solver_search::kBestPointBoundH, count > 0 && st1 != SC_WET,
            count == 0 || std::isfinite(p));
    }
  }
  // The near-critical staircase: 1700…2600 kJ/kg and the entropies between, on isobars from
  // 22 to 23 MPa and on isotherms from 374 to 374.15 °C.
  const int steps = 6 * n;
  for (double p : {22.0, 22.1, 22.119995, 22.12, 22.2, 22.5, 23.0}) {
    for (int i = 0; i <= steps; ++i) {
      const double h = 1700 + 900.0 * i / steps + 0.0137;
      const double s = 3.9 + 1.2 * i / steps + 0.0000137;
      SCOPED_TRACE(testing::Message() << p << " h " << h << " s " << s);
      const int b = SolveTFromPH(p, h, t, v, z, x, &info);
      const std::uint32_t flagsH = CalcStatus;
      Check(out.ph, flagsH, info, std::fabs(Prop(t, p, PK_H) - h), 1e-4,
            solver_search::kBestPointBoundH, b != SC_WET, std::isfinite(t) && std::isfinite(v));
      const int a = SolveTFromPS(p, s, t, v, z, x, &info);
      const std::uint32_t flagsS = CalcStatus;
      Check(out.ps, flagsS, info, std::fabs(Prop(t, p, PK_S) - s), 1e-6,
            solver_search::kBestPointBoundS, a != SC_WET, std::isfinite(t) && std::isfinite(v));
    }
  }
  for (double tt : {374.0, 374.1, 374.14, 374.1499, 374.15}) {
    for (int i = 0; i <= steps; ++i) {
      const double h = 1700 + 900.0 * i / steps + 0.0137;
      const double s = 3.9 + 1.2 * i / steps + 0.0000137;
      SCOPED_TRACE(testing::Message() << tt << " h " << h << " s " << s);
      double p1, v1, s1, x1, p2, v2, s2, x2;
      int st1 = 0, st2 = 0;
      const int count = SolvePFromTH(tt, h, p1, v1, s1, x1, st1, p2, v2, s2, x2, st2, &info);
      const std::uint32_t flagsH = CalcStatus;
      const double p = count == 2 ? p2 : p1;
      const bool direct = count > 0 && (st1 == SC_WET || p == 22.12);
      Check(out.th, flagsH, info, count ? std::fabs(Prop(tt, p, PK_H) - h) : 0, 0.00005,
            solver_search::kBestPointBoundH, count > 0 && !direct, count == 0 || std::isfinite(p));
      const int a = SolvePFromTS(tt, s, t, v, z, x, &info);
      const std::uint32_t flagsS = CalcStatus;
      Check(out.ts, flagsS, info, std::fabs(Prop(tt, t, PK_S) - s), 1e-6,
            solver_search::kBestPointBoundS, a != SC_WET && a != SC_UNKNOWN && t != 22.12,
            std::isfinite(t) && std::isfinite(v));
    }
  }
  return out;
}

TEST(SolverSweep, EveryInputAroundTheNonEndingSearchesEnds) {
  const Sweep s = RunSweep(8);
  // The sweep reaches every way of ending: by the stop test, on the interval (below the
  // temperature and pressure ranges), and by the best point (the staircase).
  EXPECT_GT(s.ps.finished, 0);
  EXPECT_GT(s.ph.finished, 0);
  EXPECT_GT(s.ts.finished, 0);
  EXPECT_GT(s.th.finished, 0);
  EXPECT_GT(s.ph.bestPoint, 0);
  EXPECT_GT(s.th.bestPoint, 0);
  for (const Tally* t : {&s.ps, &s.ph, &s.ts, &s.th}) {
    EXPECT_GT(t->converged, 0);
    EXPECT_LE(t->maxConverged, 100);
  }
}

TEST(SolverSweep, DISABLED_DenseSweepPrintsRoundCountsAndEndings) {
  const Sweep s = RunSweep(200);
  s.ps.Print("SolveTFromPS");
  s.ph.Print("SolveTFromPH");
  s.ts.Print("SolvePFromTS");
  s.th.Print("SolvePFromTH");
}

}  // namespace
