// Steam tables: rows equal to single calculations, Δ, units, series, and every refusal.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "calc/points.h"
#include "calc/steamtable.h"
#include "calc/toolstamp.h"

namespace {

using calc::Formulation;
using calc::Series;
using calc::TableExtra;
using calc::TableKind;
constexpr Formulation C = Formulation::IFC67, F = Formulation::IF97;

calc::SteamTable Make(const calc::TableRequest& r) {
  calc::SteamTable t;
  std::string error;
  EXPECT_TRUE(calc::MakeSteamTable(r, t, error)) << error;
  return t;
}

double N(const calc::Cell& c) { return c.number; }

// A cell holds the value, or "—" where there is none.
void ExpectCell(const calc::Cell& c, double value) {
  if (std::isnan(value)) EXPECT_EQ(c.text, "—");
  else EXPECT_EQ(c.number, value);
}

TEST(SteamTable, SaturationRowsEqualSingleCalculations) {
  const std::vector<TableExtra> all = {TableExtra::Density, TableExtra::InternalEnergy,
                                       TableExtra::Cp,      TableExtra::Cv,
                                       TableExtra::SoundSpeed, TableExtra::Kappa};
  for (Formulation f : {C, F}) {
    for (TableKind kind : {TableKind::SaturationByTemperature, TableKind::SaturationByPressure}) {
      const bool byT = kind == TableKind::SaturationByTemperature;
      SCOPED_TRACE(std::string(calc::FormulationName(f)) + (byT ? " by t" : " by p"));
      const calc::SteamTable t =
          Make({.kind = kind,
                .first = byT ? Series::Range(0.01, 370, 30)
                             : Series::List({0.0007, 0.01, 0.1, 1, 10, 22}),
                .extras = all, .formulation = f});
      ASSERT_EQ(t.table.captions.size(), 9u + 2 * all.size());
      EXPECT_EQ(t.table.captions[2] + "|" + t.table.captions[9], "焓 h' kJ/kg|密度 ' kg/m³");
      EXPECT_TRUE(t.notes.empty());
      for (const auto& row : t.table.rows) {
        const calc::SaturationPair s =
            byT ? calc::SaturationByT(f, row[0].number) : calc::SaturationByP(f, row[0].number);
        ASSERT_EQ(s.status, calc::Status::Ok);
        const calc::Point &w = s.liquid, &v = s.vapour;
        EXPECT_EQ(N(row[1]), byT ? w.p : w.t);
        const double expected[] = {w.h, v.h, v.h - w.h, w.s, v.s, w.v, v.v, w.rho, v.rho,
                                   w.u, v.u, w.cp, v.cp, w.cv, v.cv, w.w, v.w, w.kappa, v.kappa};
        for (std::size_t c = 0; c < std::size(expected); ++c) {
          SCOPED_TRACE(t.table.captions[c + 2]);
          ExpectCell(row[c + 2], expected[c]);
        }
      }
      // The range's steps, its end where it lands between two.
      if (byT) {
        ASSERT_EQ(t.table.rows.size(), 13u);
        EXPECT_EQ(t.table.rows.back()[0].text, "360.01");
      }
    }
  }
}

TEST(SteamTable, PressureTemperatureRowsEqualSingleCalculations) {
  for (Formulation f : {C, F}) {
    SCOPED_TRACE(calc::FormulationName(f));
    const calc::SteamTable t = Make(
        {.kind = TableKind::PressureTemperature, .first = Series::List({0.01, 1, 10, 25, 100}),
         .second = Series::List({0.01, 100, 200, 300, 400, 500, 600, 700, 800}),
         .extras = {TableExtra::SatTemperature, TableExtra::Superheat, TableExtra::Cp},
         .formulation = f});
    ASSERT_EQ(t.table.captions.size(), 9u);
    EXPECT_EQ(t.table.captions[5], "状态");
    ASSERT_EQ(t.table.rows.size(), 5u * 9);
    for (const auto& row : t.table.rows) {
      const calc::Point p = calc::StateFromPT(f, N(row[0]), N(row[1]), calc::Detail::Full);
      EXPECT_EQ(N(row[2]), p.h);
      EXPECT_EQ(N(row[3]), p.s);
      EXPECT_EQ(N(row[4]), p.v);
      EXPECT_EQ(row[5].text, calc::FormTexts(p).state);
      ExpectCell(row[6], p.tsat);
      ExpectCell(row[7], p.superheat);
      ExpectCell(row[8], f == C ? NAN : p.cp);  // IFC-67 has no cp
    }
    // Pressures outside, temperatures inside; each key column with the decimals its values need.
    EXPECT_EQ(t.table.rows[9][0].text + " " + t.table.rows[10][1].text, "1.00 100.00");
  }
}

TEST(SteamTable, CompareGivesBothFormulationsAndTheirDifference) {
  calc::TableRequest r{.kind = TableKind::SaturationByPressure,
                       .first = Series::List({0.01, 0.1, 1, 10}), .compare = true};
  const calc::SteamTable t = Make(r);
  ASSERT_EQ(t.table.captions.size(), 1u + 8 * 3);
  EXPECT_EQ(t.table.captions[1] + "|" + t.table.captions[3], "温度 t ℃ IFC-67|温度 t ℃ Δ");
  for (const auto& row : t.table.rows) {
    const calc::SaturationPair a = calc::SaturationByP(C, N(row[0]));
    const calc::SaturationPair b = calc::SaturationByP(F, N(row[0]));
    EXPECT_EQ(N(row[1]), a.liquid.t);
    EXPECT_EQ(N(row[2]), b.liquid.t);
    EXPECT_EQ(N(row[3]), b.liquid.t - a.liquid.t);
    EXPECT_EQ(N(row[7]), a.vapour.h);
    EXPECT_EQ(N(row[9]), b.vapour.h - a.vapour.h);
  }
  // The state column has no difference. 179.885 ℃ lies between the two formulations' saturation
  // temperatures at 1 MPa, 179.8844 and 179.8856 ℃.
  r.kind = TableKind::PressureTemperature;
  r.first = Series::List({1});
  r.second = Series::List({100, 179.885});
  const calc::SteamTable s = Make(r);
  EXPECT_EQ(s.table.captions.size(), 2u + 3 * 3 + 2);
  EXPECT_EQ(s.table.captions.back(), "状态 IF97");
  EXPECT_EQ(s.table.rows[1][11].text + s.table.rows[1][12].text, "过热蒸汽不饱和水");
}

TEST(SteamTable, ValuesInTheChosenUnits) {
  calc::TableRequest r{.kind = TableKind::PressureTemperature, .first = Series::List({1, 10}),
                       .second = Series::List({373.15, 573.15}), .formulation = F,
                       .units = {.pressure = calc::PressureUnit::bar,
                                 .temperature = calc::TemperatureUnit::Kelvin,
                                 .energy = calc::EnergyUnit::kcal,
                                 .volume = calc::VolumeUnit::Density}};
  const calc::SteamTable t = Make(r);
  const auto& c = t.table.captions;
  EXPECT_EQ(c[0] + "|" + c[1] + "|" + c[2] + "|" + c[4], "压力 p bar|温度 t K|焓 h kcal/kg|密度 ρ kg/m³");
  const calc::Point p = calc::StateFromPT(F, 1.0, 300);
  const auto& row = t.table.rows[3];
  EXPECT_EQ(row[0].text + " " + row[1].text, "10 573.15");
  EXPECT_NEAR(N(row[2]), p.h / calc::kKcalInKJ, 1e-9);
  EXPECT_NEAR(N(row[4]), 1 / p.v, 1e-9);
  // Gauge pressures: 0 bar(g) is the atmosphere.
  r.units.gauge = true;
  r.first = Series::List({0});
  r.second = Series::List({373.15});
  EXPECT_NEAR(N(Make(r).table.rows[0][2]),
              calc::StateFromPT(F, 0.101325, 100).h / calc::kKcalInKJ, 1e-9);
}

TEST(SteamTable, RangeEndsOnItsBoundThroughAUnitConversion) {
  const calc::SteamTable t = Make({.first = Series::Range(273.16, 647.3, 37.414),
                                   .units = {.temperature = calc::TemperatureUnit::Kelvin}});
  ASSERT_EQ(t.table.rows.size(), 11u);
  EXPECT_EQ(t.table.rows.back()[0].number, 647.3);
  EXPECT_NEAR(N(t.table.rows.back()[1]), 22.12, 1e-6);
  EXPECT_EQ(t.table.rows[0][0].text, "273.160");
  // 0.1 + 6·0.1 is 0.7000000000000001: the last step is the end as given.
  const calc::SteamTable p =
      Make({.kind = TableKind::SaturationByPressure, .first = Series::Range(0.1, 0.7, 0.1)});
  ASSERT_EQ(p.table.rows.size(), 7u);
  EXPECT_EQ(p.table.rows.back()[0].number, 0.7);
  EXPECT_EQ(N(p.table.rows.back()[1]), calc::SaturationByP(C, 0.7).liquid.t);
}

TEST(SteamTable, RefusedRequestsSayWhyBeforeComputing) {
  auto sat = [](Series s, Formulation f = C, bool compare = false) {
    return calc::TableRequest{.first = s, .formulation = f, .compare = compare};
  };
  auto pt = [](Series p, Series t, Formulation f = C) {
    return calc::TableRequest{
        .kind = TableKind::PressureTemperature, .first = p, .second = t, .formulation = f};
  };
  const calc::TableRequest superheat{.kind = TableKind::SaturationByPressure,
                                     .first = Series::List({0.1}),
                                     .extras = {TableExtra::Superheat}};
  calc::TableRequest gauge = pt(Series::List({-0.2}), Series::List({100}));
  gauge.units.gauge = true;
  // p × t with four extras has 10 columns: 20 000 rows are the 200 000 cells allowed.
  auto wide = [&](Series p, Series t) {
    calc::TableRequest r = pt(p, t);
    r.extras = {TableExtra::Density, TableExtra::InternalEnergy, TableExtra::Cp, TableExtra::Cv};
    return r;
  };
  const struct { calc::TableRequest request; std::string message; } rows[] = {
      {sat(Series::Range(10, 100, 0)), "温度的步长 0 须大于 0"},
      {sat(Series::Range(100, 10, 5)), "温度的起点 100 高于终点 10"},
      {sat(Series::Range(10, NAN, 5)), "温度的起点、终点和步长须为有限数"},
      {sat(Series{}), "没有给出温度"},
      {sat(Series::List({10, INFINITY})), "温度的列表中有不是有限数的值"},
      {wide(Series::Range(1, 100, 1), Series::Range(1, 200, 1)), ""},
      {wide(Series::Range(1, 100, 1), Series::Range(1, 201, 1)),
       "表格共 201000 个单元格（20100 行 × 10 列），超过上限 200000 个；请加大步长或缩小范围"},
      {sat(Series::Range(0, 370, 1e-12)),
       "表格共 3330000000000009 个单元格（370000000000001 行 × 9 列），超过上限 200000 个；"
       "请加大步长或缩小范围"},
      {sat(Series::List({374.15})), ""},
      {sat(Series::List({374.16})), "温度 374.16 ℃ 超出适用范围 0.01–374.15 ℃（IFC-67）"},
      {sat(Series::List({0.005})), "温度 0.005 ℃ 超出适用范围 0.01–374.15 ℃（IFC-67）"},
      {sat(Series::List({0.005}), F), ""},
      {sat(Series::List({373.95}), F), "温度 373.95 ℃ 超出适用范围 0–373.946 ℃（IF97）"},
      {sat(Series::List({374}), C, true), "温度 374 ℃ 超出适用范围 0.01–373.946 ℃（IFC-67 与 IF97 共同）"},
      {superheat, "“过热度”只用于未饱和水与过热蒸汽表"},
      {pt(Series::List({1}), Series::Range(100, 10, 5)), "温度的起点 100 高于终点 10"},
      {pt(Series::List({0.0006}), Series::List({100})),
       "压力 0.0006 MPa 超出适用范围 0.0007–100 MPa（IFC-67）"},
      {pt(Series::List({1}), Series::List({800, 900})), "温度 900 ℃ 超出适用范围 0.01–800 ℃（IFC-67）"},
      {pt(Series::List({50}), Series::List({800, 2000}), F), ""},
      {pt(Series::List({10, 60}), Series::List({800, 900}), F),
       "压力 60 MPa 超出适用范围：800 ℃ 以上只到 50 MPa（IF97）"},
      {pt(Series::List({60}), Series::List({20, 800}), F), ""},
      {gauge, "压力 -0.2 MPa(表压) 低于绝对零压"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.message);
    EXPECT_EQ(calc::CheckTableRequest(row.request), row.message);
    calc::SteamTable t;
    std::string error;
    EXPECT_EQ(calc::MakeSteamTable(row.request, t, error), row.message.empty());
    EXPECT_EQ(error, row.message);
  }
}

TEST(SteamTable, SeriesAndExtrasReadFromText) {
  const struct { const char* text; std::vector<double> list; std::string error; } rows[] = {
      {" 10 : 20 : 2.5 ", {10, 20, 2.5}, ""},
      {"1, 2；3 4\t5\n6，7;8", {1, 2, 3, 4, 5, 6, 7, 8}, ""},
      {"+1e-3 -5", {0.001, -5}, ""},
      {"10:20", {}, "\"10:20\" 须为 起点:终点:步长"},
      {"10:20:1:2", {}, "\"10:20:1:2\" 须为 起点:终点:步长"},
      {"1, 2x", {}, "\"2x\" 不是数"},
      {"nan", {}, "\"nan\" 不是数"},
      {" ,; ", {}, "没有数值"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    Series s;
    std::string error;
    EXPECT_EQ(calc::ParseSeries(row.text, s, error), row.error.empty());
    EXPECT_EQ(error, row.error);
    if (!row.error.empty()) continue;
    EXPECT_EQ(s.IsRange(), std::strchr(row.text, ':') != nullptr);
    EXPECT_EQ(s.IsRange() ? std::vector<double>({s.from, s.to, s.step}) : s.list, row.list);
  }
  std::vector<TableExtra> extras;
  std::string error;
  ASSERT_TRUE(calc::ParseTableExtras("rho,u,cp,cv,w,kappa,ts,dt,rho", extras, error));
  EXPECT_EQ(extras.size(), 8u);
  EXPECT_EQ(extras.front(), TableExtra::Density);
  EXPECT_EQ(extras.back(), TableExtra::Superheat);
  EXPECT_FALSE(calc::ParseTableExtras("rho,x", extras, error));
  EXPECT_EQ(error, "unknown quantity \"x\" (rho, u, cp, cv, w, kappa, ts, dt)");
}

TEST(SteamTable, TitleAndStampNameTheFormulationConstantsUnitsAndDate) {
  EXPECT_EQ(calc::TableTitle(TableKind::SaturationByPressure), "饱和水与饱和蒸汽表（按压力）");
  const calc::Units barg{.pressure = calc::PressureUnit::bar, .gauge = true};
  const calc::Stamp s = calc::ToolStamp("kelm-calc 0.85", "标题", F, false, barg, "2024-03-09");
  ASSERT_EQ(s.size(), 5u);
  EXPECT_EQ(s[2].second, "IF97（Tc 647.096 K，pc 22.064 MPa，ρc 322 kg/m³）");
  EXPECT_EQ(s[3].second,
            "压力 bar(表压)，温度 ℃，焓 kJ/kg，熵 kJ/(kg·K)，比容 m³/kg（当地大气压 0.101325 MPa）");
  EXPECT_EQ(calc::FormulationText(C, true),
            "IFC-67（Tc 647.3 K，pc 22.12 MPa，vc 0.00317 m³/kg）；"
            "IF97（Tc 647.096 K，pc 22.064 MPa，ρc 322 kg/m³）");
  EXPECT_EQ(calc::Today().size(), 10u);
}

}  // namespace
