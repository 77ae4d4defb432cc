// Turbine sections: hand-worked expansions, measured η, chains, refusals, warnings, tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/turbine.h"

namespace {

using calc::Formulation;
using calc::InletKind;
using calc::OutletKind;
constexpr Formulation C = Formulation::IFC67, F = Formulation::IF97;

calc::Inlet PT(double p, double t) { return {InletKind::PressureTemperature, p, t}; }

// Hand-worked expansions from the printed values of the source named, worked by
//   x2s = (s1 − s')/(s'' − s'),  h2s = h' + x2s·(h'' − h'),  Δhs = h1 − h2s,
//   h2 = h1 − η·Δhs,  x2 = (h2 − h')/(h'' − h').
// tolH and tolX are the sources' rounding carried through, widened for the IF97 rows by how far
// the printed tables (after IAPWS-95) lie from IF97 here: 0.1 kJ/kg in h, 3e-4 kJ/(kg·K) in s.
struct TextbookCase { const char* source; Formulation f; calc::Inlet inlet;
                      double p2, eta, h1, s1, t2, x2s, h2s, dhs, h2, x2, tolH, tolX; };
const TextbookCase kTextbook[] = {
    // IAPWS-95 tables: 10 MPa, 500 ℃: h 3375.1, s 6.5995; at 10 kPa: ts 45.81 ℃, h' 191.81,
    // h'' 2583.9, s' 0.6492, s'' 8.1488.
    {"10 MPa/500 ℃ → 10 kPa", F, PT(10, 500), 0.01, 0.85, 3375.1, 6.5995, 45.81, 0.79342, 2089.73,
     1285.37, 2282.54, 0.87402, 0.2, 1e-4},
    // IAPWS-95 tables: 3 MPa, 400 ℃: h 3231.7, s 6.9235; at 100 kPa: ts 99.61 ℃, h' 417.51,
    // h'' 2675.0, s' 1.3028, s'' 7.3589.
    {"3 MPa/400 ℃ → 0.1 MPa", F, PT(3, 400), 0.1, 0.8, 3231.7, 6.9235, 99.61, 0.92811, 2512.70,
     719.00, 2656.50, 0.99180, 0.2, 1e-4},
    // IAPWS-95 tables: saturated steam at 1 MPa: h'' 2777.1, s'' 6.5850; at 50 kPa: ts 81.32 ℃,
    // h' 340.54, h'' 2645.2, s' 1.0912, s'' 7.5931.
    {"1 MPa saturated → 50 kPa", F, {InletKind::SaturatedSteam, 1, NAN}, 0.05, 0.75, 2777.1, 6.5850,
     81.32, 0.84495, 2287.87, 489.23, 2410.18, 0.89802, 0.2, 1e-4},
    // IFC-67 (1967) values: 10 MPa, 400 ℃: h 3099.926, s 6.218180; at 100 ℃ (ps 0.10132526 MPa):
    // h' 419.06, h'' 2676.0, s' 1.3069, s'' 7.3554.
    {"10 MPa/400 ℃ → 100 ℃ saturation", C, PT(10, 400), 0.10132526, 0.85, 3099.926, 6.218180, 100,
     0.81198, 2251.66, 848.27, 2378.90, 0.86836, 0.05, 2e-5},
    // IFC-67 (1967) values: 20 MPa, 500 ℃: h 3241.100, s 6.145600; at 100 ℃ as above.
    {"20 MPa/500 ℃ → 100 ℃ saturation", C, PT(20, 500), 0.10132526, 0.8, 3241.100, 6.145600, 100,
     0.79998, 2224.57, 1016.53, 2427.88, 0.89006, 0.05, 2e-5},
    // The same inlet given by its enthalpy: the same expansion.
    {"10 MPa, 3099.926 kJ/kg → 100 ℃", C, {InletKind::PressureEnthalpy, 10, 3099.926}, 0.10132526,
     0.85, 3099.926, 6.218180, 100, 0.81198, 2251.66, 848.27, 2378.90, 0.86836, 0.05, 2e-5},
    // From saturated steam at 100 ℃ down to itself: no drop at all, whatever η.
    {"saturated steam at 100 ℃, no drop", C, {InletKind::SaturatedSteam, 0.10132526, NAN},
     0.10132526, 0.7, 2676.0, 7.3554, 100, 1, 2676.0, 0, 2676.0, 1, 0.05, 2e-5},
};

TEST(Turbine, ExpansionsMatchHandWorkedSteamTableCases) {
  for (const TextbookCase& c : kTextbook) {
    SCOPED_TRACE(std::string(calc::FormulationName(c.f)) + " " + c.source);
    const calc::TurbineResult r = calc::ExpandSections(c.f, c.inlet, {{c.p2, c.eta}});
    ASSERT_TRUE(r.Ok()) << r.reason;
    ASSERT_EQ(r.sections.size(), 1u);
    const calc::Expansion& e = r.sections[0].expansion;
    EXPECT_NEAR(r.inlet.h, c.h1, c.tolH);
    EXPECT_NEAR(r.inlet.s, c.s1, 3e-4);
    EXPECT_NEAR(e.isentropicEnd.s, r.inlet.s, 1e-9);
    EXPECT_NEAR(e.isentropicEnd.x, c.x2s, c.tolX);
    EXPECT_NEAR(e.isentropicEnd.h, c.h2s, c.tolH);
    EXPECT_NEAR(e.isentropicDrop, c.dhs, c.tolH);
    EXPECT_NEAR(e.end.h, c.h2, c.tolH);
    EXPECT_NEAR(e.end.x, c.x2, c.tolX);
    EXPECT_NEAR(e.end.t, c.t2, 0.005);
    if (c.inlet.kind == InletKind::PressureTemperature) {  // the layer's own entry from (p1, t1)
      EXPECT_EQ(calc::Expand(c.f, c.inlet.p, c.inlet.value, c.p2, c.eta).end.h, e.end.h);
    }
    // One section: the whole chain is the section.
    EXPECT_EQ(r.eta, c.eta);
    EXPECT_EQ(r.isentropicDrop, e.isentropicDrop);
    EXPECT_TRUE(r.warnings.empty());
  }
}

// An expansion at a known η, measured back at its end, gives η again: by (p2, h2) and, for a wet
// end, by (p2, x2) to 1e-9; by (p2, t2) for a superheated end to the inverse solver's temperature,
// 1e-9 in IF97 (polished) and 1e-6 in IFC-67 (its (p, h) search stops within about 1e-5 K).
TEST(Turbine, EfficiencyRoundTripsThroughEveryOutletForm) {
  const struct { calc::Inlet inlet; double p2, eta; } rows[] = {
      {PT(10, 500), 0.01, 0.85}, {PT(3, 400), 0.1, 0.8}, {PT(10, 550), 1, 0.9},
      {PT(25, 600), 22, 0.9},    {{InletKind::SaturatedSteam, 1, NAN}, 0.05, 0.75}};
  for (Formulation f : {C, F}) {
    for (const auto& row : rows) {
      SCOPED_TRACE(std::string(calc::FormulationName(f)) + " p2 " + std::to_string(row.p2));
      const calc::TurbineResult r = calc::ExpandSections(f, row.inlet, {{row.p2, row.eta}});
      ASSERT_TRUE(r.Ok()) << r.reason;
      const calc::Point& end = r.sections[0].expansion.end;
      auto measured = [&](OutletKind kind, double value) {
        const calc::TurbineResult m = calc::MeasuredEfficiency(f, row.inlet, {kind, row.p2, value});
        EXPECT_TRUE(m.Ok() && m.warnings.empty()) << m.reason;
        return m.eta;
      };
      EXPECT_NEAR(measured(OutletKind::PressureEnthalpy, end.h), row.eta, 1e-9);
      if (end.phase == calc::Phase::Wet)
        EXPECT_NEAR(measured(OutletKind::PressureDryness, end.x), row.eta, 1e-9);
      else
        EXPECT_NEAR(measured(OutletKind::PressureTemperature, end.t), row.eta, f == F ? 1e-9 : 1e-6);
    }
  }
}

TEST(Turbine, ChainRunsSectionBySectionAndGainsOnTheWholeDrop) {
  for (Formulation f : {C, F}) {
    SCOPED_TRACE(calc::FormulationName(f));
    const std::vector<calc::Section> sections = {{5, 0.85}, {1.5, 0.85}, {0.4, 0.85}, {0.01, 0.85}};
    const calc::TurbineResult r = calc::ExpandSections(f, PT(16, 540), sections);
    ASSERT_TRUE(r.Ok()) << r.reason;
    ASSERT_EQ(r.sections.size(), sections.size());
    double sum = 0;
    for (std::size_t k = 0; k < sections.size(); ++k) {
      const calc::Expansion& e = r.sections[k].expansion;
      EXPECT_EQ(e.inlet.h, (k == 0 ? r.inlet : r.sections[k - 1].expansion.end).h);
      EXPECT_EQ(e.end.p, sections[k].p);
      EXPECT_NEAR(e.actualDrop, 0.85 * e.isentropicDrop, 1e-9);
      sum += e.actualDrop;
    }
    // Each end's h is the (p, h) search's, within 1e-9 relative of what it was asked for.
    EXPECT_NEAR(r.actualDrop, sum, 1e-9 * r.inlet.h * sections.size());
    EXPECT_NEAR(r.isentropicEnd.s, r.inlet.s, 1e-9);
    // Each section starts from a hotter state than the isentropic line: the reheat factor lifts
    // the whole chain's efficiency above its sections'.
    EXPECT_GT(r.eta, 0.86);
    EXPECT_LT(r.eta, 0.90);
    const std::vector<calc::Point> line = calc::ExpansionLine(r);
    ASSERT_EQ(line.size(), sections.size() + 1);
    EXPECT_EQ(line.front().h, r.inlet.h);
    EXPECT_EQ(line.back().h, r.sections.back().expansion.end.h);
  }
}

// The boundaries of η, of the section count and of the saturation band on both sides.
TEST(Turbine, RefusedRequestsSayWhy) {
  const std::vector<calc::Section> fifty(calc::kMaxSections, {1, 0.9}), fiftyOne(51, {1, 0.9});
  const calc::Units kPa{.pressure = calc::PressureUnit::kPa};
  const calc::Inlet sat{InletKind::SaturatedSteam, 25, NAN};
  const std::string up = "（膨胀的末压力不得高于始压力）";
  const struct { Formulation f; calc::Inlet inlet; std::vector<calc::Section> sections;
                 calc::Units units; std::string reason; } rows[] = {  // reason empty: computed
      {C, PT(10, 500), {}, {}, "没有分段：至少需要一段的末压力和效率"},
      {C, PT(10, 500), fifty, {}, ""},
      {C, PT(10, 500), fiftyOne, {}, "分段数 51 超过上限 50"},
      {C, PT(10, 500), {{1, 0}}, {}, "效率 0 超出 0 < η ≤ 1"},
      {C, PT(10, 500), {{1, 1e-9}}, {}, ""},
      {C, PT(10, 500), {{1, 1}}, {}, ""},
      {F, PT(10, 500), {{1, 1.0000001}}, {}, "效率 1 超出 0 < η ≤ 1"},
      {C, PT(10, 500), {{5, 0.9}, {1, 1.2}}, {}, "第 2 段效率 1.2 超出 0 < η ≤ 1"},
      {C, PT(10, 500), {{12, 0.9}}, {}, "出口压力 12 MPa 高于进口压力 10 MPa" + up},
      {C, PT(10, 500), {{12, 0.9}}, kPa, "出口压力 12000 kPa 高于进口压力 10000 kPa" + up},
      {F, PT(10, 500), {{10, 0.9}}, {}, ""},
      {F, PT(10, 500), {{2, 0.9}, {3, 0.9}}, {}, "第 2 段末压力 3 MPa 高于第 1 段末压力 2 MPa" + up},
      {C, PT(10, 900), {{1, 0.9}}, {}, "进口温度 900 ℃ 高于适用上限 800 ℃"},
      {F, PT(10, 2100), {{1, 0.9}}, {}, "进口温度 2100 ℃ 高于适用上限 2000 ℃"},
      {C, PT(120, 500), {{1, 0.9}}, {}, "进口压力 120 MPa 高于适用上限 100 MPa"},
      {C, sat, {{1, 0.9}}, {}, "进口压力 25 MPa 高于饱和线的上限 22.12 MPa"},
      {F, sat, {{1, 0.9}}, {}, "进口压力 25 MPa 高于饱和线的上限 22.064 MPa"},
      {F, {InletKind::PressureEnthalpy, 1, 8000}, {{0.1, 0.9}}, {},
       "进口焓 8000 kJ/kg 高于该压力下可达到的最高值 7376.73 kJ/kg"},  // h at 2000 ℃
      {C, PT(10, 500), {{0.0001, 0.9}}, {}, "出口压力 0.0001 MPa 低于适用下限 0.0007 MPa"},
      {C, PT(10, 500), {{5, 0.9}, {0.0001, 0.9}}, {}, "第 2 段末压力 0.0001 MPa 低于适用下限 0.0007 MPa"},
      {F, PT(10, 500), {{NAN, 0.9}}, {}, "输入值不是有限数"},
      {F, PT(10, 500), {{1, 0.9}, {0.5, INFINITY}}, {}, "第 2 段：输入值不是有限数"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.reason);
    const calc::TurbineResult r = calc::ExpandSections(row.f, row.inlet, row.sections, row.units);
    EXPECT_EQ(r.reason, row.reason);
    EXPECT_EQ(r.Ok(), r.sections.size() == row.sections.size() && !row.sections.empty());
  }
}

TEST(Turbine, RefusedMeasurementsSayWhy) {
  const double ts = calc::SaturationByP(F, 0.01).vapour.t;
  const calc::Units kelvin{.temperature = calc::TemperatureUnit::Kelvin};
  const std::string wet = "：出口为湿蒸汽（或水），其状态不能由压力和温度确定，请给出出口干度";
  const struct { Formulation f; calc::Outlet outlet; calc::Units units; std::string reason; }
  rows[] = {
      {F, {OutletKind::PressureTemperature, 0.01, ts + 2 * calc::kSaturationBand}, {}, ""},
      {F, {OutletKind::PressureTemperature, 0.01, ts + calc::kSaturationBand / 2}, {},
       "出口温度 45.808 ℃ 不高于出口压力下的饱和温度 45.8075 ℃" + wet},
      {C, {OutletKind::PressureTemperature, 0.01, calc::SaturationByP(C, 0.01).vapour.t}, kelvin,
       "出口温度 318.983 K 不高于出口压力下的饱和温度 318.983 K" + wet},
      {C, {OutletKind::PressureTemperature, 0.01, 30}, {},  // far below the line too
       "出口温度 30 ℃ 不高于出口压力下的饱和温度 45.8328 ℃" + wet},
      {F, {OutletKind::PressureTemperature, 10, 600}, {},
       "出口压力 10 MPa 不低于进口压力 10 MPa（没有焓降，效率无定义）"},
      {F, {OutletKind::PressureDryness, 0.01, 1}, {}, ""},
      {F, {OutletKind::PressureDryness, 0.01, 0}, {}, ""},
      {F, {OutletKind::PressureDryness, 0.01, 1.2}, {}, "出口干度 1.2 超出 0–1"},
      {C, {OutletKind::PressureDryness, 0.01, -0.1}, {}, "出口干度 -0.1 超出 0–1"},
      {C, {OutletKind::PressureDryness, 0.0005, 0.9}, {}, "出口压力 0.0005 MPa 低于饱和线的下限 0.0007 MPa"},
      {C, {OutletKind::PressureTemperature, 1, 900}, {}, "出口温度 900 ℃ 高于适用上限 800 ℃"},
      {F, {OutletKind::PressureEnthalpy, 1, -50}, {}, "出口焓 -50 kJ/kg 低于该压力下可达到的最低值 0.975816 kJ/kg"},
      {F, {OutletKind::PressureEnthalpy, NAN, 2000}, {}, "输入值不是有限数"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.reason);
    const calc::TurbineResult r = calc::MeasuredEfficiency(row.f, PT(10, 500), row.outlet, row.units);
    EXPECT_EQ(r.reason, row.reason);
    EXPECT_EQ(r.sections.size(), row.reason.empty() ? 1u : 0u);
  }
}

TEST(Turbine, ImpossibleMeasurementsAreComputedWithAWarning) {
  for (Formulation f : {C, F}) {
    SCOPED_TRACE(calc::FormulationName(f));
    const calc::TurbineResult ideal = calc::ExpandSections(f, PT(10, 500), {{1, 1}});
    auto measured = [&](double h2) {
      return calc::MeasuredEfficiency(f, PT(10, 500), {OutletKind::PressureEnthalpy, 1, h2});
    };
    const calc::TurbineResult above = measured(ideal.sections[0].expansion.end.h - 20);
    const calc::TurbineResult none = measured(ideal.inlet.h + 1);
    ASSERT_TRUE(above.Ok() && none.Ok());
    EXPECT_GT(above.eta, 1);
    EXPECT_LT(none.eta, 0);
    ASSERT_TRUE(above.warnings.size() == 1 && none.warnings.size() == 1);
    EXPECT_NE(above.warnings[0].find("低于进口熵"), std::string::npos) << above.warnings[0];
    EXPECT_NE(above.warnings[0].find(" > 1）"), std::string::npos);
    EXPECT_NE(none.warnings[0].find("不低于进口焓"), std::string::npos) << none.warnings[0];
  }
}

TEST(TurbineTable, RowsPerPointInTheChosenUnits) {
  const calc::TurbineResult one = calc::ExpandSections(F, PT(10, 500), {{0.01, 0.85}});
  const calc::Table t = calc::TurbineTable(
      one, {.pressure = calc::PressureUnit::kPa, .temperature = calc::TemperatureUnit::Kelvin});
  ASSERT_EQ(t.captions.size(), 12u);
  EXPECT_EQ(t.captions[1] + "|" + t.captions[7], "压力 kPa|过热度 K");
  ASSERT_EQ(t.rows.size(), 3u);
  EXPECT_EQ(t.rows[0][0].text + t.rows[1][0].text + t.rows[2][0].text, "进口等熵末点实际末点");
  EXPECT_EQ(t.rows[0][1].number, 10000);
  EXPECT_NEAR(t.rows[0][2].number, 773.15, 1e-12);
  EXPECT_NEAR(t.rows[0][7].number, 500 - one.inlet.tsat, 1e-12);
  EXPECT_EQ(t.rows[2][11].text, "饱和水或饱和蒸汽或湿蒸汽,干度=0.873986");
  EXPECT_EQ(t.rows[2][7].text + t.rows[1][10].text, "——");
  EXPECT_EQ(t.rows[2][10].number, 0.85);

  const calc::TurbineResult chain = calc::ExpandSections(F, PT(10, 500), {{1, 0.85}, {0.01, 0.8}});
  const calc::Table c = calc::TurbineTable(chain);
  ASSERT_EQ(c.rows.size(), 6u);
  EXPECT_EQ(c.rows[3][0].text + "|" + c.rows[5][0].text, "第 2 段等熵末点|全程等熵末点");
  EXPECT_EQ(c.rows[5][10].number, chain.eta);
  EXPECT_TRUE(calc::TurbineTable(calc::ExpandSections(F, PT(10, 500), {})).rows.empty());
}

TEST(TurbineTable, CompareGivesBothFormulationsTheirDifferenceAndTheReasons) {
  const calc::TurbineResult a = calc::ExpandSections(C, PT(10, 500), {{0.01, 0.85}});
  const calc::TurbineResult b = calc::ExpandSections(F, PT(10, 500), {{0.01, 0.85}});
  const calc::Table t = calc::TurbineCompareTable(a, b);
  ASSERT_EQ(t.captions.size(), 4u);
  // Three points of eight rows each, then the section's drops and η.
  ASSERT_EQ(t.rows.size(), 3u * 8 + 3);
  EXPECT_EQ(t.rows[2][0].text, "进口 焓 kJ/kg");
  EXPECT_EQ(t.rows[2][1].number, a.inlet.h);
  EXPECT_EQ(t.rows[2][2].number, b.inlet.h);
  EXPECT_NEAR(t.rows[2][3].number, b.inlet.h - a.inlet.h, 1e-9);
  EXPECT_EQ(t.rows.back()[0].text, "效率");
  // Hotter than IFC-67 reaches: its column is empty and its reason is under the table.
  const calc::Table h =
      calc::TurbineCompareTable(calc::ExpandSections(C, PT(10, 900), {{0.01, 0.85}}),
                                calc::ExpandSections(F, PT(10, 900), {{0.01, 0.85}}));
  EXPECT_EQ(h.rows[2][1].text + h.rows[2][3].text, "——");
  EXPECT_EQ(h.rows.back()[1].text, "进口温度 900 ℃ 高于适用上限 800 ℃");
}

}  // namespace
