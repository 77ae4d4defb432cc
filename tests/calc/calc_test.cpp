// The calculation layer: answers as the form shows them, reasons, warnings, the comparison.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "calc/batch.h"
#include "calc/compare.h"
#include "calc/points.h"
#include "calc/reasons.h"
#include "calc/selfcheck.h"
#include "form/format.h"
#include "form/formsession.h"
#include "form/parse.h"
#include "tests/support/units.h"

namespace {

using calc::Formulation;
constexpr Formulation C = Formulation::IFC67, F = Formulation::IF97;

// Every line of the golden batch as the form reads it: the IFC-67 answer shows what the form
// shows; in both formulations a reason exactly when a calculation failed or found no state, and
// every dimension of an answer finite where it exists.
TEST(Layer, AnswersShowWhatTheFormShowsAndAReasonForEveryFailure) {
  std::ifstream in(KELM_TEST_DATA "/batch_mixed.tsv");
  for (std::string line; std::getline(in, line);) {
    SCOPED_TRACE(line);
    std::istringstream fields(line);
    FormRequest request;
    std::getline(fields, request.item, '\t');
    std::getline(fields, request.mode, '\t');
    for (std::string input; std::getline(fields, input, '\t');) request.inputs.push_back(input);
    FormReading reading;
    FormOutcome form;
    ASSERT_EQ(ReadOnForm(request, InputMatch::UsedOnly, reading), "");
    ASSERT_EQ(CalculateOnForm(request, InputMatch::UsedOnly, form), "");
    calc::Request r{C, reading.item, reading.mode, {0, 0, 0}};
    for (int i = 0; i < reading.inputs; ++i) r.in[i] = ParseDecimalPrefix(reading.input[i]);
    const calc::Answer a = calc::Calculate(r);
    ASSERT_EQ(int(a.solutions.size()), form.solutions);
    for (int i = 0; i < form.solutions; ++i) {
      const calc::Texts t = calc::FormTexts(a.solutions[i]);
      const ResultTexts& shown = i == 0 ? form.shown : form.second;
      EXPECT_EQ(Joined({t.pressure, i == 0 ? t.temperature : shown.temperature, t.enthalpy,
                        t.entropy, t.volume, t.state}, '|'),
                Joined(shown, '|'));
    }
    for (Formulation f : {C, F}) {
      r.formulation = f;
      const calc::Answer b = calc::Calculate(r);
      EXPECT_EQ(!b.reasons.empty(), b.failed || b.solutions.empty());
      for (const calc::Solution& s : b.solutions) {
        if (b.failed) continue;
        EXPECT_TRUE(std::isfinite(s.p + s.t + s.h + s.s + s.v));
        EXPECT_FALSE(s.state.empty() || s.state == "计算或参数有误");
      }
    }
  }
}

// Every failure path of every item and mode: the input named with its value, the limit, the range
// (a sentence, or the part of one that names the cause).
struct FailureRow { Formulation f; Item item; Mode mode; double in[3]; const char* reason; };
const FailureRow kFailures[] = {
    {C, Item::SatWater, Mode::Pressure, {0}, "计算点压力 0 MPa 低于饱和线的下限 0.0007 MPa（饱和线：0.0007–22.12 MPa）"},
    {C, Item::SatSteam, Mode::Pressure, {23}, "计算点压力 23 MPa 高于临界压力 22.12 MPa"},
    {C, Item::SatWater, Mode::Temperature, {0.005}, "计算点温度 0.005 ℃ 低于三相点温度 0.01 ℃（饱和线：0.01–374.15 ℃）"},
    {C, Item::SatSteam, Mode::Temperature, {375}, "计算点温度 375 ℃ 高于临界温度 374.15 ℃"},
    {C, Item::AnyState, Mode::PressureTemperature, {1, 801}, "计算点温度 801 ℃ 高于适用上限 800 ℃"},
    {C, Item::AnyState, Mode::PressureTemperature, {0.0005, 100}, "计算点压力 0.0005 MPa 低于适用下限 0.0007 MPa（适用范围 0.0007–100 MPa）"},
    {C, Item::AnyState, Mode::PressureTemperature, {200, -1}, "计算点温度 -1 ℃ 低于适用下限 0.01 ℃（适用范围 0.01–800 ℃）；计算点压力 200 MPa 高于适用上限 100 MPa（适用范围 0.0007–100 MPa）"},
    {C, Item::AnyState, Mode::PressureEntropy, {101, 6}, "计算点压力 101 MPa 高于适用上限 100 MPa"},
    {C, Item::AnyState, Mode::PressureEntropy, {1, 12.3}, "计算点熵 12.3 kJ/(kg·K) 高于该压力下 800 ℃ 时的熵 8.49966 kJ/(kg·K)"},
    {C, Item::AnyState, Mode::PressureEntropy, {1, -1}, "计算点熵 -1 kJ/(kg·K) 低于该压力下 0.1 ℃ 时的熵"},
    {C, Item::AnyState, Mode::PressureEnthalpy, {1, 5000}, "计算点焓 5000 kJ/kg 高于该压力下 800 ℃ 时的焓"},
    {C, Item::AnyState, Mode::PressureEnthalpy, {1, -10}, "计算点焓 -10 kJ/kg 低于该压力下 0.1 ℃ 时的焓"},
    {C, Item::AnyState, Mode::PressureEnthalpy, {22.1186974, 2106.84413}, "计算未收敛（接近临界点，该参数组合在 IFC-67 中无对应状态）"},
    {C, Item::AnyState, Mode::TemperatureEntropy, {801, 6}, "计算点温度 801 ℃ 高于适用上限 800 ℃"},
    {C, Item::AnyState, Mode::TemperatureEntropy, {100, 12}, "计算点熵 12 kJ/(kg·K) 高于该温度下 0.001 MPa 时的熵"},
    {C, Item::AnyState, Mode::TemperatureEntropy, {100, -1}, "计算点熵 -1 kJ/(kg·K) 低于该温度下 100 MPa 时的熵"},
    {C, Item::AnyState, Mode::TemperatureEnthalpy, {100, 0.5}, "计算点焓 0.5 kJ/kg 低于下限 1 kJ/kg"},
    {C, Item::AnyState, Mode::TemperatureEnthalpy, {100, 5000}, "计算点焓 5000 kJ/kg 高于该温度下 0.001 MPa 时的焓"},
    {C, Item::AnyState, Mode::TemperatureEnthalpy, {100, 300}, "该温度下无满足给定焓的状态"},
    {C, Item::AnyState, Mode::TemperatureEnthalpy, {374.148942, 2112.20668}, "计算未收敛"},
    {C, Item::Isentropic, Mode::EndPressure, {1, 300, 2}, "末点压力 2 MPa 不低于起始点压力 1 MPa（等熵膨胀的末点压力须低于起始点压力）"},
    {C, Item::Isentropic, Mode::EndPressure, {1, 300, 0.00005}, "末点压力 5e-05 MPa 低于等熵膨胀的下限 0.0001 MPa"},
    {C, Item::Isentropic, Mode::EndPressure, {1, 900, 0.1}, "起始点温度 900 ℃ 高于适用上限 800 ℃"},
    {C, Item::Isentropic, Mode::EndPressure, {1, 300, 0.0005}, "末点压力 0.0005 MPa 低于适用下限 0.0007 MPa"},
    {C, Item::Isentropic, Mode::EndTemperature, {200, 300, 100}, "起始点压力 200 MPa 高于适用上限 100 MPa"},
    {C, Item::Isentropic, Mode::EndTemperature, {1, 300, 900}, "末点温度 900 ℃ 高于适用上限 800 ℃"},
    {C, Item::Isentropic, Mode::EndTemperature, {0.001, 800, 10}, "起始点熵 11."},
    {F, Item::SatWater, Mode::Pressure, {0}, "计算点压力 0 MPa 低于适用下限 0.000611213 MPa（饱和线：0.000611213–22.064 MPa）"},
    {F, Item::SatSteam, Mode::Temperature, {380}, "计算点温度 380 ℃ 高于适用上限 373.946 ℃（饱和线：0–373.946 ℃）"},
    {F, Item::AnyState, Mode::PressureTemperature, {1, -1}, "计算点温度 -1 ℃ 低于适用下限 0 ℃"},
    {F, Item::AnyState, Mode::PressureTemperature, {10, 2001}, "计算点温度 2001 ℃ 高于适用上限 2000 ℃"},
    {F, Item::AnyState, Mode::PressureTemperature, {60, 900}, "计算点压力 60 MPa 高于适用上限 50 MPa"},
    {F, Item::AnyState, Mode::PressureTemperature, {101, 300}, "计算点压力 101 MPa 高于适用上限 100 MPa"},
    {F, Item::AnyState, Mode::PressureTemperature, {INFINITY, 300}, "输入值不是有限数"},
    {F, Item::AnyState, Mode::PressureEnthalpy, {1, 8000}, "计算点焓 8000 kJ/kg 高于该压力下可达到的最高焓"},
    {F, Item::AnyState, Mode::PressureEntropy, {1, -2}, "计算点熵 -2 kJ/(kg·K) 低于该压力下可达到的最低熵"},
    {F, Item::AnyState, Mode::TemperatureEnthalpy, {100, 300}, "计算点焓 300 kJ/kg 低于该温度下可达到的最低焓 419.099 kJ/kg"},
    {F, Item::AnyState, Mode::TemperatureEntropy, {100, 20}, "计算点熵 20 kJ/(kg·K) 高于该温度下可达到的最高熵"},
    {F, Item::Isentropic, Mode::EndPressure, {1, 300, 2}, "末点压力 2 MPa 高于起始点压力 1 MPa"},
    {F, Item::Isentropic, Mode::EndPressure, {1, 300, 0}, "末点压力 0 MPa 低于适用下限"},
    {F, Item::Isentropic, Mode::EndTemperature, {1, 300, -5}, "末点温度 -5 ℃ 低于适用下限 0 ℃"},
};

TEST(Reasons, EveryFailurePathNamesTheInputTheLimitAndTheRange) {
  for (const FailureRow& row : kFailures) {
    const calc::Answer a = calc::Calculate({row.f, row.item, row.mode, {row.in[0], row.in[1], row.in[2]}});
    std::string joined;
    for (const std::string& r : a.reasons) joined += (joined.empty() ? "" : "；") + r;
    EXPECT_NE(joined.find(row.reason), std::string::npos)
        << calc::FormulationName(row.f) << " " << calc::Describe(a.request) << " got: " << joined;
  }
  // Every status the double-precision points report has its sentence, in both languages.
  for (int s = 1; s < calc::kStatusCount; ++s) {
    const calc::Request r{F, Item::AnyState, Mode::PressureEnthalpy, {1, 2000, 0}};
    EXPECT_FALSE(calc::If97Reasons(r, calc::Status(s), 1).empty()) << s;
    EXPECT_STRNE(calc::Explain(calc::Status(s)), calc::Explain(calc::Status(s), true));
  }
}

TEST(Warnings, NearTheLineAndNearTheCriticalPoint) {
  const struct { calc::Request request; const char* warning; } rows[] = {
      {{F, Item::AnyState, Mode::PressureTemperature, {1, 179.88}}, "距饱和线仅 0.0056 ℃（饱和温度 179.8856 ℃）"},
      {{C, Item::AnyState, Mode::PressureTemperature, {22.1, 374}}, "接近临界点（IFC-67：374.15 ℃，22.12 MPa）"},
  };
  for (const auto& row : rows) {
    const calc::Answer a = calc::Calculate(row.request);
    std::string joined;
    for (const std::string& w : a.warnings) joined += w;
    EXPECT_NE(joined.find(row.warning), std::string::npos) << joined;
  }
  EXPECT_TRUE(calc::Calculate({F, Item::AnyState, Mode::PressureTemperature, {1, 300}}).warnings.empty());
}

TEST(Compare, PairsSolutionsByPhaseAndPressureAndExplainsAPhaseThatDiffers) {
  // Two solutions in both formulations, each paired with its own.
  const calc::Comparison two = calc::Compare({F, Item::AnyState, Mode::TemperatureEnthalpy, {100, 420}});
  ASSERT_EQ(two.pairs.size(), 2u);
  EXPECT_EQ(two.pairs[1].rows[0].ifc67, "1.348398");
  EXPECT_EQ(two.pairs[1].rows[0].if97.substr(0, 5), "1.300");
  // 99.62 ℃ at 0.1 MPa: above IF97's saturation temperature (99.606), below IFC-67's (99.632).
  const calc::Comparison near = calc::Compare({F, Item::AnyState, Mode::PressureTemperature, {0.1, 99.62}});
  ASSERT_EQ(near.pairs.size(), 1u);
  EXPECT_TRUE(near.pairs[0].phaseDiffers);
  EXPECT_NE(near.notes[0].find("IFC-67 为不饱和水，IF97 为过热蒸汽"), std::string::npos);
  // A failure in one formulation: the other's solution stands alone, the reason under the table.
  const calc::Comparison one = calc::Compare({F, Item::AnyState, Mode::PressureTemperature, {1, 900}});
  ASSERT_EQ(one.pairs.size(), 1u);
  EXPECT_EQ(one.pairs[0].rows[0].ifc67, "");
  EXPECT_NE(one.notes[0].find("IFC-67 计算失败：计算点温度 900 ℃ 高于适用上限 800 ℃"), std::string::npos);
  EXPECT_EQ(calc::ComparisonTsv(one).find("—\t—\t—"), 0u);  // IFC-67 has no numbers
}

TEST(SelfCheck, ReportsEveryPublishedValueOfBothFormulations) {
  const calc::SelfCheck check = calc::RunSelfCheck();
  EXPECT_EQ(check.passed, check.total);
  EXPECT_EQ(calc::SelfCheckText(check),
            "IFC-67：" + std::to_string(check.groups[0].total) + "/" +
                std::to_string(check.groups[0].total) + " 通过\nIF97：150/150 通过\n共 " +
                std::to_string(check.total) + "/" + std::to_string(check.total) + " 通过\n");
}

using namespace calc;

TEST(CompareUnits, CaptionsShowTheChosenUnitsAndMarkGauge) {
  const Request r{F, Item::AnyState, Mode::PressureTemperature, {1, 300}};
  const Comparison c = Compare(r, UnitsOf("p=barg,t=K,h=kcal,v=rho"));
  std::vector<std::string> captions;
  for (const ComparedRow& row : c.pairs.at(0).rows) captions.push_back(row.caption);
  EXPECT_EQ(captions, (std::vector<std::string>{
                          "压力 bar(表压)", "温度 K", "焓 kcal/kg", "熵 kcal/(kg·K)", "密度 kg/m³",
                          "干度", "饱和温度 K", "饱和压力 bar(表压)", "过热度 K", "过冷度 K",
                          "比容 m³/kg", "内能 kcal/kg", "定压比热 kcal/(kg·K)",
                          "定容比热 kcal/(kg·K)", "声速 m/s", "等熵指数", "状态"}));
  // The default units keep the captions the table always had.
  const Comparison plain = Compare(r);
  for (std::size_t i = 0; i < ComparedQuantities().size(); ++i)
    EXPECT_EQ(plain.pairs[0].rows[i].caption, ComparedQuantities()[i].caption);
}

// Each value and Δ converted by its quantity's kind, by hand: p in kPa above 0.095 MPa, t in K,
// h, u, s, cp and cv in kcal, v and ρ each shown as the other; the rest as they are.
TEST(CompareUnits, ValuesAndDifferencesAreConvertedByTheirKind) {
  auto convert = [](QuantityKind kind, double v) {
    switch (kind) {
      case QuantityKind::Pressure: return (v - 0.095) * 1000;
      case QuantityKind::Temperature: return v + 273.15;
      case QuantityKind::Energy: case QuantityKind::Entropy: return v / 4.1868;
      case QuantityKind::Volume: case QuantityKind::Density: return 1 / v;
      default: return v;
    }
  };
  const Units u = UnitsOf("p=kPag,atm=0.095,t=K,h=kcal,v=rho");
  // Superheated steam, then a wet state and subcooled water.
  for (const Request& r : {Request{F, Item::AnyState, Mode::PressureTemperature, {1, 300}},
                           Request{F, Item::AnyState, Mode::TemperatureEnthalpy, {100, 420}}}) {
    const Comparison c = Compare(r, u);
    for (const ComparedPair& pair : c.pairs) {
      for (std::size_t i = 0; i < ComparedQuantities().size(); ++i) {
        const Quantity& q = ComparedQuantities()[i];
        const ComparedRow& row = pair.rows.at(i);
        SCOPED_TRACE(row.caption);
        const double a = convert(q.kind, q.value(c.ifc67.solutions.at(pair.ifc67)));
        const double b = convert(q.kind, q.value(c.if97.solutions.at(pair.if97)));
        for (const auto& [text, value] : {std::pair{row.ifc67, a}, {row.if97, b}}) {
          if (std::isfinite(value)) EXPECT_NEAR(std::atof(text.c_str()), value, 5e-7) << text;
          else EXPECT_EQ(text, "—");
        }
        if (q.difference && std::isfinite(b - a)) {
          EXPECT_NEAR(std::atof(row.delta.c_str()), b - a, 1e-6);
        }
      }
    }
  }
}

TEST(CompareUnits, TheTsvLineConvertsAllButTheVolumeColumns) {
  const Request r{F, Item::AnyState, Mode::PressureTemperature, {1, 300}};
  const auto plain = SplitBatchFields(ComparisonTsv(Compare(r)));
  const auto bar = SplitBatchFields(ComparisonTsv(Compare(r, UnitsOf("p=bar,t=K,v=rho"))));
  ASSERT_EQ(plain.size(), bar.size());
  EXPECT_EQ(plain[0], "1.000000");
  EXPECT_EQ(bar[0], "10.000000");           // ifc67_p
  EXPECT_EQ(bar[1], "573.150000");          // ifc67_t
  EXPECT_EQ(bar[4], plain[4]);              // ifc67_v stays m³/kg
  EXPECT_EQ(bar[11], plain[11]);            // ifc67_rho stays kg/m³
  EXPECT_EQ(bar[17 + 0], "10.000000");      // if97_p
  EXPECT_EQ(bar[34], plain[34]);            // d_p: both 1 MPa, no difference either way
}

}  // namespace
