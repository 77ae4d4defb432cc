// The diagrams' scene, checked against the engines themselves, and the marks of a calculation.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "calc/diagram.h"
#include "calc/points.h"
#include "engine/constants.h"
#include "engine/statepoint.h"
#include "if97/if97.h"

using namespace calc;

namespace {

constexpr Formulation kBoth[] = {Formulation::IFC67, Formulation::IF97};

std::vector<const Line*> LinesOf(const Scene& scene, LineKind kind, double value) {
  std::vector<const Line*> found;
  for (const Line& line : scene.lines)
    if (line.kind == kind && (std::isnan(value) || line.value == value)) found.push_back(&line);
  return found;
}

}  // namespace

TEST(DiagramScene, DomeIsOneLineClosingAtTheFormulationsCriticalPoint) {
  struct Row { Formulation f; double tMin, tc, pc; };
  constexpr Row rows[] = {{Formulation::IFC67, 0.01, 374.15, 22.12},
                          {Formulation::IF97,  0.0,  373.946, 22.064}};
  for (const Row& row : rows) {
    SCOPED_TRACE(FormulationName(row.f));
    const Scene& scene = SceneOf(row.f);
    const auto domes = LinesOf(scene, LineKind::Saturation, NAN);
    ASSERT_EQ(domes.size(), 1u);
    ASSERT_EQ(&scene.lines.front(), domes[0]);
    const std::vector<ChartPoint>& pts = domes[0]->points;
    const auto top = std::max_element(pts.begin(), pts.end(),
                                      [](const ChartPoint& a, const ChartPoint& b) { return a.t < b.t; });
    EXPECT_EQ(top->t, row.tc);
    EXPECT_EQ(top->p, row.pc);
    EXPECT_EQ(std::count_if(pts.begin(), pts.end(), [&](const ChartPoint& p) { return p.t == row.tc; }), 1);
    const SaturationPair critical = SaturationByT(row.f, row.tc);
    EXPECT_NEAR(top->s, critical.vapour.s, 1e-9);
    EXPECT_NEAR(top->h, critical.vapour.h, 1e-9);
    EXPECT_EQ(scene.criticalPoint.t, row.tc);
    EXPECT_EQ(scene.criticalPoint.s, top->s);
    // Saturated water rises to the top, saturated steam falls from it, both from the lowest
    // temperature of the formulation.
    for (auto it = pts.begin(); it != pts.end(); ++it) {
      if (it == top) continue;
      EXPECT_EQ(it->x, it < top ? 0.0 : 1.0);
      if (it != pts.begin() && it != top + 1) {
        EXPECT_EQ(it < top, it->t > (it - 1)->t);
      }
    }
    EXPECT_EQ(pts.front().t, row.tMin);
    EXPECT_EQ(pts.back().t, row.tMin);
  }
}

TEST(DiagramScene, EveryIsobarStateLiesOnItsPressureAsTheEngineComputesIt) {
  for (const Formulation f : kBoth) {
    const Scene& scene = SceneOf(f);
    for (const double p : IsobarPressures(f)) {
      SCOPED_TRACE(std::string(FormulationName(f)) + " " + std::to_string(p));
      const auto lines = LinesOf(scene, LineKind::Isobar, p);
      ASSERT_EQ(lines.size(), 1u);  // one piece from end to end
      const SaturationPair sat = SaturationByP(f, p);
      int wet = 0;
      const auto& pts = lines[0]->points;
      for (std::size_t i = 0; i < pts.size(); ++i) {
        const ChartPoint& pt = pts[i];
        ASSERT_EQ(pt.p, p);
        if (std::isfinite(pt.x) && p < scene.critical.p) {
          ++wet;
          EXPECT_EQ(pt.t, sat.liquid.t);
          EXPECT_NEAR(pt.h, sat.liquid.h + pt.x * (sat.vapour.h - sat.liquid.h), 1e-9);
          continue;
        }
        if (i % 23 != 0) continue;
        // Against the engines themselves, not the layer the scene went through.
        int state = 0;
        const if97::State st = if97::StateFromPT(p, pt.t);
        const bool c = f == Formulation::IFC67;
        const double h = c ? PointProp(pt.t, p, PK_H, state) : st.h;
        const double s = c ? PointProp(pt.t, p, PK_S, state) : st.s;
        EXPECT_NEAR(pt.h, h, 1e-9 * std::fabs(h) + 1e-9) << pt.t;
        EXPECT_NEAR(pt.s, s, 1e-9) << pt.t;
      }
      // From the formulation's lowest temperature to its highest at that pressure.
      EXPECT_EQ(pts.front().t, f == Formulation::IF97 ? 0 : 0.01);
      EXPECT_NEAR(pts.back().t, f == Formulation::IF97 && p <= 50 ? 2000 : 800, 1e-9);
      EXPECT_EQ(wet, p < scene.critical.p ? 11 : 0);
    }
  }
}

TEST(DiagramScene, LinesEndWhereTheFormulationsStatesEnd) {
  // Isotherms: from the highest pressure of the range down to the lowest isobar, at their
  // temperature throughout; dryness lines from the lowest temperature to the critical point.
  for (const Formulation f : kBoth) {
    const Scene& scene = SceneOf(f);
    for (const double t : IsothermTemperatures(f)) {
      SCOPED_TRACE(std::string(FormulationName(f)) + " " + std::to_string(t));
      const auto lines = LinesOf(scene, LineKind::Isotherm, t);
      ASSERT_EQ(lines.size(), 1u);
      const auto& pts = lines[0]->points;
      EXPECT_NEAR(pts.front().p, f == Formulation::IF97 && t > 800 ? 50 : 100, 1e-12);
      EXPECT_NEAR(pts.back().p, 0.001, 1e-15);
      for (const ChartPoint& pt : pts) ASSERT_NEAR(pt.t, t, 1e-9);
    }
    EXPECT_EQ(IsothermTemperatures(f).back(), f == Formulation::IF97 ? 2000 : 800);
    for (const double x : DrynessValues()) {
      SCOPED_TRACE(x);
      const auto lines = LinesOf(scene, LineKind::Dryness, x);
      ASSERT_EQ(lines.size(), 1u);
      for (const ChartPoint& pt : lines[0]->points) ASSERT_EQ(pt.x, x);
      EXPECT_EQ(lines[0]->points.front().t, f == Formulation::IF97 ? 0 : 0.01);
      EXPECT_EQ(lines[0]->points.back().t, scene.critical.t);
      EXPECT_NEAR(lines[0]->points.back().s, scene.criticalPoint.s, 1e-9);
    }
  }
}

TEST(DiagramScene, NoSegmentJumpsAcrossAChart) {
  // A line whose states ran out somewhere would be bridged by a long straight segment; only the
  // wet region's tenths of dryness are drawn as such.
  for (const Formulation f : kBoth) {
    const Scene& scene = SceneOf(f);
    for (const Line& line : scene.lines) {
      for (std::size_t i = 1; i < line.points.size(); ++i) {
        const ChartPoint &a = line.points[i - 1], &b = line.points[i];
        if (line.kind != LineKind::Dryness && std::isfinite(a.x) && std::isfinite(b.x)) continue;
        const double ts = std::hypot((b.s - a.s) / 12, (b.t - a.t) / 800);
        const double hs = std::hypot((b.s - a.s) / 12, (b.h - a.h) / 4500);
        ASSERT_LE(std::max(ts, hs), 0.012) << LineLabel(line) << " at t = " << a.t;
      }
    }
  }
}

TEST(DiagramScene, ViewsHoldTheLinesUpTo800CWithRoundLimits) {
  struct Row { Formulation f; Chart chart; Bounds view, extent; };
  const Row rows[] = {
      {Formulation::IFC67, Chart::TS, {0, 12, 0, 800},  {0, 12, 0, 800}},
      {Formulation::IFC67, Chart::HS, {0, 12, 0, 4500}, {0, 12, 0, 4500}},
      {Formulation::IF97,  Chart::TS, {0, 12, 0, 800},  {0, 14, 0, 2000}},
      {Formulation::IF97,  Chart::HS, {0, 12, 0, 4500}, {0, 14, 0, 7500}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(FormulationName(row.f)) + (row.chart == Chart::TS ? " T-s" : " h-s"));
    const Scene& scene = SceneOf(row.f);
    for (const auto& [got, want] : {std::pair{scene.view[int(row.chart)], row.view},
                                    std::pair{scene.extent[int(row.chart)], row.extent}})
      EXPECT_TRUE(got.sMin == want.sMin && got.sMax == want.sMax && got.yMin == want.yMin &&
                  got.yMax == want.yMax) << got.sMax << " " << got.yMax;
  }
}

TEST(DiagramScene, LinesAreOnTheirChartsAndLabelled) {
  struct Row { LineKind kind; double value; const char* label; bool onTs; };
  const Row rows[] = {
      {LineKind::Saturation, NAN, "", true},          {LineKind::Isobar, 0.001, "0.001 MPa", true},
      {LineKind::Isobar, 22.064, "22.064 MPa", true}, {LineKind::Isobar, 100, "100 MPa", true},
      {LineKind::Isotherm, 300, "300 ℃", false},      {LineKind::Dryness, 0.95, "x=0.95", false}};
  for (const Row& row : rows) {
    EXPECT_EQ(LineLabel(Line{row.kind, row.value, {}}), row.label);
    EXPECT_EQ(OnChart(row.kind, Chart::TS), row.onTs) << row.label;
    EXPECT_TRUE(OnChart(row.kind, Chart::HS)) << row.label;
  }
}

TEST(DiagramMarks, MarkEverySolutionAndTheExpansion) {
  struct Row { Formulation f; Item item; Mode mode; double in[3]; const char* labels;
               int expansion; };
  const Row rows[] = {
      {Formulation::IFC67, Item::AnyState,   Mode::TemperatureEnthalpy, {100, 420, 0},  "解1 解2 ",        0},
      {Formulation::IFC67, Item::AnyState,   Mode::PressureTemperature, {1, 200, 0},    "状态点 ",         0},
      {Formulation::IFC67, Item::Isentropic, Mode::EndPressure,         {10, 500, 0.1}, "初态 终态 ",      1},
      {Formulation::IF97,  Item::Isentropic, Mode::EndTemperature,      {10, 500, 100}, "初态 终态 ",      1},
  };
  for (const Row& row : rows) {
    const Request request{row.f, row.item, row.mode, {row.in[0], row.in[1], row.in[2]}};
    const Marks marks = MarksOf(request);
    const Answer answer = Calculate(request);
    std::string labels;  // in order
    for (const Mark& mark : marks.points) labels += mark.label + " ";
    SCOPED_TRACE(std::string(FormulationName(row.f)) + " " + row.labels);
    EXPECT_EQ(labels, row.labels);
    EXPECT_EQ(marks.failure, "");
    ASSERT_EQ(marks.expansion.size(), std::size_t(row.expansion));
    // The solutions are the answer's, after an initial state where there is one.
    const std::size_t first = marks.points.size() - answer.solutions.size();
    for (std::size_t i = 0; i < answer.solutions.size(); ++i) {
      EXPECT_EQ(marks.points[first + i].point.p, answer.solutions[i].p);
      EXPECT_EQ(marks.points[first + i].point.s, answer.solutions[i].s);
      EXPECT_EQ(marks.points[first + i].kind, MarkKind::Solution);
    }
    if (row.expansion) {
      const Segment& line = marks.expansion[0];
      EXPECT_EQ(marks.points[0].kind, MarkKind::Start);
      EXPECT_EQ(line.from.p, row.in[0]);
      EXPECT_EQ(line.from.t, row.in[1]);
      EXPECT_EQ(line.to.s, marks.points[1].point.s);
      EXPECT_NEAR(line.to.s, line.from.s, 1e-5);  // isentropic: the form stores s as a float
    }
  }
  // (t, h) in IFC-67 gives the dryness of a wet root and none for the water root.
  const Marks th = MarksOf({Formulation::IFC67, Item::AnyState, Mode::TemperatureEnthalpy, {100, 420, 0}});
  EXPECT_NEAR(th.points[0].point.x, 0.000414, 1e-6);
  EXPECT_TRUE(std::isnan(th.points[1].point.x));
}

TEST(DiagramMarks, AFailedCalculationMarksNothingAndSaysWhy) {
  struct Row { Formulation f; Item item; Mode mode; double in[3]; const char* reason; };
  const Row rows[] = {
      {Formulation::IFC67, Item::AnyState,   Mode::TemperatureEnthalpy, {500, 100, 0},   "焓"},
      {Formulation::IF97,  Item::Isentropic, Mode::EndPressure,         {1, 300, 10},    "压力"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.reason);
    const Marks marks = MarksOf({row.f, row.item, row.mode, {row.in[0], row.in[1], row.in[2]}});
    EXPECT_TRUE(marks.points.empty());
    EXPECT_TRUE(marks.expansion.empty());
    EXPECT_NE(marks.failure.find(row.reason), std::string::npos) << marks.failure;
  }
}

TEST(DiagramMarks, ViewWidensToHoldEveryMark) {
  const Scene& scene = SceneOf(Formulation::IF97);
  Mark inside{{1, 300, 2000, 5, NAN}, "a", MarkKind::Added};
  Mark hot{{1, 1500, 5400, 8.9, NAN}, "b", MarkKind::Added};
  const Bounds same = ViewOf(scene, Chart::TS, {inside});
  EXPECT_EQ(same.yMax, 800);
  EXPECT_EQ(same.sMax, 12);
  const Bounds wide = ViewOf(scene, Chart::TS, {inside, hot});
  EXPECT_DOUBLE_EQ(wide.yMax, 1500 + 0.04 * 800);
  EXPECT_EQ(wide.sMax, 12);
  EXPECT_EQ(wide.yMin, 0);
  EXPECT_DOUBLE_EQ(ViewOf(scene, Chart::HS, {hot}).yMax, 5400 + 0.04 * 4500);
}

TEST(DiagramMarks, DescribeGivesTheStateWithDrynessOnlyWhenWet) {
  EXPECT_EQ(Describe({10, 500, 3373.7, 6.5966, NAN}),
            "p = 10 MPa  t = 500.00 ℃  h = 3373.7 kJ/kg  s = 6.5966 kJ/(kg·K)");
  EXPECT_EQ(Describe({0.101325, 100, 2000, 5.5, 0.7}),
            "p = 0.101325 MPa  t = 100.00 ℃  h = 2000.0 kJ/kg  s = 5.5000 kJ/(kg·K)  x = 0.7");
}
