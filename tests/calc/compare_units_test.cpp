// The comparison in the engineer's units: captions with their units, values and Δ converted, and
// the default units leaving every text as it was.
#include <gtest/gtest.h>

#include <cstdlib>

#include "calc/compare.h"

using namespace calc;

namespace {
constexpr Formulation F = Formulation::IF97;

Units Make(const char* text) {
  std::string error;
  return ParseUnits(text, error).value();
}
}  // namespace

TEST(CompareUnits, CaptionsShowTheChosenUnitsAndMarkGauge) {
  const Comparison c = Compare({F, Item::AnyState, Mode::PressureTemperature, {1, 300}},
                               Make("p=barg,t=K,h=kcal,v=rho"));
  std::vector<std::string> captions;
  for (const ComparedRow& row : c.pairs.at(0).rows) captions.push_back(row.caption);
  EXPECT_EQ(captions, (std::vector<std::string>{
                          "压力 bar(表压)", "温度 K", "焓 kcal/kg", "熵 kcal/(kg·K)", "密度 kg/m³",
                          "干度", "饱和温度 K", "饱和压力 bar(表压)", "过热度 K", "过冷度 K",
                          "比容 m³/kg", "内能 kcal/kg", "定压比热 kcal/(kg·K)",
                          "定容比热 kcal/(kg·K)", "声速 m/s", "等熵指数", "状态"}));
  // The default units keep the captions the table always had.
  const Comparison plain = Compare({F, Item::AnyState, Mode::PressureTemperature, {1, 300}});
  for (std::size_t i = 0; i < ComparedQuantities().size(); ++i)
    EXPECT_EQ(plain.pairs[0].rows[i].caption, ComparedQuantities()[i].caption);
}

// Every converted value and difference is the default one converted, row by row.
TEST(CompareUnits, ValuesAndDifferencesAreTheDefaultOnesConverted) {
  const Request requests[] = {{F, Item::AnyState, Mode::PressureTemperature, {1, 300}},
                              {F, Item::AnyState, Mode::TemperatureEnthalpy, {100, 420}},
                              {F, Item::SatSteam, Mode::Pressure, {0.5}}};
  const Units u = Make("p=kPag,atm=0.095,t=K,h=kcal,v=rho");
  for (const Request& r : requests) {
    SCOPED_TRACE(Describe(r));
    const Comparison plain = Compare(r), units = Compare(r, u);
    ASSERT_EQ(plain.pairs.size(), units.pairs.size());
    for (std::size_t p = 0; p < plain.pairs.size(); ++p) {
      for (std::size_t i = 0; i < ComparedQuantities().size(); ++i) {
        const Quantity& q = ComparedQuantities()[i];
        const ComparedRow &a = plain.pairs[p].rows[i], &b = units.pairs[p].rows[i];
        SCOPED_TRACE(b.caption);
        for (const auto& [before, after] : {std::pair{a.ifc67, b.ifc67}, {a.if97, b.if97}}) {
          if (before == "—" || before.empty()) {
            EXPECT_EQ(after, before);
            continue;
          }
          // The shown default value is rounded to six decimals: the converted one lies within
          // what that rounding becomes in the new unit.
          const Quantity same{q.caption, [](const calc::Solution& x) { return x.p; }, q.difference,
                              q.kind};
          auto convert = [&](double value) {
            calc::Solution s;
            s.p = value;
            return QuantityValue(same, s, u);
          };
          const double x = std::atof(before.c_str());
          const double lo = convert(x - 5e-7), hi = convert(x + 5e-7);
          EXPECT_GE(std::atof(after.c_str()), std::min(lo, hi) - 5e-7);
          EXPECT_LE(std::atof(after.c_str()), std::max(lo, hi) + 5e-7);
        }
        // Δ of a gauge pressure or a kelvin temperature is the absolute one in the new unit.
        if (q.kind == QuantityKind::Temperature && !a.delta.empty()) {
          EXPECT_NEAR(std::atof(b.delta.c_str()), std::atof(a.delta.c_str()), 1.5e-6);
        }
        if (q.kind == QuantityKind::Pressure && !a.delta.empty()) {
          EXPECT_NEAR(std::atof(b.delta.c_str()), 1000 * std::atof(a.delta.c_str()), 1.5e-3);
        }
      }
    }
  }
}

TEST(CompareUnits, TheTsvLineConvertsAllButTheVolumeColumns) {
  const Request r{F, Item::AnyState, Mode::PressureTemperature, {1, 300}};
  auto fields = [](const std::string& line) {
    std::vector<std::string> f;
    for (std::size_t start = 0, tab;; start = tab + 1) {
      tab = line.find('\t', start);
      f.push_back(line.substr(start, tab - start));
      if (tab == std::string::npos) return f;
    }
  };
  const auto plain = fields(ComparisonTsv(Compare(r)));
  const auto bar = fields(ComparisonTsv(Compare(r, Make("p=bar,t=K,v=rho"))));
  ASSERT_EQ(plain.size(), bar.size());
  EXPECT_EQ(plain[0], "1.000000");
  EXPECT_EQ(bar[0], "10.000000");           // ifc67_p
  EXPECT_EQ(bar[1], "573.150000");          // ifc67_t
  EXPECT_EQ(bar[4], plain[4]);              // ifc67_v stays m³/kg
  EXPECT_EQ(bar[11], plain[11]);            // ifc67_rho stays kg/m³
  EXPECT_EQ(bar[17 + 0], "10.000000");      // if97_p
  EXPECT_EQ(bar[34], plain[34]);            // d_p: both 1 MPa, no difference either way
}
