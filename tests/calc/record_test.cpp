// Record rows: what an answer keeps, and the rows, the result block and the workbook's stamp as
// they are copied and exported, to their bytes, in the default units and in others.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "calc/record.h"

using namespace calc;

namespace {

constexpr Formulation IFC67 = Formulation::IFC67, IF97 = Formulation::IF97;
constexpr std::int64_t kNoon = 1714564800000;  // 2024-05-01 12:00:00 UTC

Units Make(const char* text) {
  std::string error;
  return ParseUnits(text, error).value();
}

class RecordRows : public ::testing::Test {
 protected:
  // Local time is the machine's: the tests fix it.
  void SetUp() override {
    const char* tz = std::getenv("TZ");
    saved = tz ? tz : "";
    had = tz != nullptr;
    setenv("TZ", "UTC", 1);
    tzset();
  }
  void TearDown() override {
    had ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
    tzset();
  }
  std::string saved;
  bool had = false;
};

RecordRow Row(const Request& r) { return ToRecordRow(Calculate(r), kNoon, "批量计算"); }

}  // namespace

TEST_F(RecordRows, KeepTheValuesTheStateTheSecondSolutionAndTheReason) {
  const RecordRow one = Row({IFC67, Item::AnyState, Mode::PressureTemperature, {1, 300}});
  EXPECT_EQ(one.first.h, double(3052.143066f));
  EXPECT_EQ(one.first.state, "过热蒸汽");
  EXPECT_TRUE(std::isnan(one.first.x));
  EXPECT_EQ(one.solutions, 1);
  EXPECT_TRUE(std::isnan(one.second.p));
  EXPECT_EQ(one.note, "");

  const RecordRow two = Row({IFC67, Item::AnyState, Mode::TemperatureEnthalpy, {100, 420}});
  EXPECT_EQ(two.solutions, 2);
  EXPECT_NEAR(two.first.x, 0.000414, 5e-7);
  EXPECT_NEAR(two.second.p, 1.348398, 5e-7);
  EXPECT_EQ(two.second.state, "不饱和水");
  EXPECT_EQ(two.note, "该温度和焓对应两个状态，见解 1 和解 2");

  // A failed IFC-67 calculation keeps the form's sentinels; a failed IF97 one has no values.
  const RecordRow sentinels = Row({IFC67, Item::AnyState, Mode::PressureTemperature, {1, 900}});
  EXPECT_TRUE(sentinels.failed);
  EXPECT_EQ(sentinels.first.h, 10.0);
  EXPECT_EQ(sentinels.first.state, "计算或参数有误");
  EXPECT_EQ(sentinels.note, "计算点温度 900 ℃ 高于适用上限 800 ℃（适用范围 0.01–800 ℃）");
  const RecordRow none = Row({IF97, Item::AnyState, Mode::PressureTemperature, {120, 300}});
  EXPECT_TRUE(none.failed);
  EXPECT_EQ(none.solutions, 0);
  EXPECT_TRUE(std::isnan(none.first.p));
  EXPECT_EQ(none.first.state, "计算或参数有误");
  EXPECT_NE(none.note.find("计算点压力 120 MPa 高于适用上限 100 MPa"), std::string::npos);
}

TEST_F(RecordRows, CopyToTheirBytesInTheDefaultUnits) {
  const std::vector<RecordRow> rows = {
      Row({IFC67, Item::AnyState, Mode::TemperatureEnthalpy, {100, 420}}),
      Row({IF97, Item::AnyState, Mode::PressureTemperature, {120, 300}}),
      Row({IFC67, Item::SatWater, Mode::Pressure, {0.1}})};
  EXPECT_EQ(ToTsv(RecordTable(rows, Units{})),
            "时间\t来源\t公式\t项目\t方式\t输入\t压力 MPa\t温度 ℃\t焓 kJ/kg\t熵 kJ/(kg·K)\t比容 m³/kg\t干度\t状态\t"
            "解数\t解 2 压力 MPa\t解 2 温度 ℃\t解 2 焓 kJ/kg\t解 2 熵 kJ/(kg·K)\t解 2 比容 m³/kg\t解 2 干度\t"
            "解 2 状态\t说明\n"
            "2024-05-01 12:00:00\t批量计算\tIFC-67\t任意状态水或水蒸汽\t温度和焓\t计算点温度 100 ℃，计算点焓 420 kJ/kg\t"
            "0.101325\t100.000000\t420.000000\t1.309377\t0.001737\t0.000414\t饱和水或饱和蒸汽或湿蒸汽,干度=0.000414\t"
            "2\t1.348398\t100.000000\t420.000000\t1.305890\t0.001043\t—\t不饱和水\t该温度和焓对应两个状态，见解 1 和解 2\n"
            "2024-05-01 12:00:00\t批量计算\tIF97\t任意状态水或水蒸汽\t压力和温度\t计算点压力 120 MPa，计算点温度 300 ℃\t"
            "\t\t\t\t\t\t计算或参数有误\t0\t\t\t\t\t\t\t\t"
            "计算点压力 120 MPa 高于适用上限 100 MPa（IF97：至 100 MPa，800 ℃ 以上至 50 MPa）\n"
            "2024-05-01 12:00:00\t批量计算\tIFC-67\t饱和水\t压力\t计算点压力 0.1 MPa\t"
            "0.100000\t99.631638\t417.510864\t1.302708\t0.001043\t0.000000\t饱和水\t1\t\t\t\t\t\t\t\t\n");
}

TEST_F(RecordRows, ConvertEveryValueAndInputToTheChosenUnits) {
  const Units u = Make("p=barg,atm=0.1,t=K,h=kcal,v=rho");
  const RecordRow row = Row({IFC67, Item::AnyState, Mode::PressureTemperature, {1, 300}});
  const Table table = RecordTable({row}, u);
  const std::vector<std::string> captions = {
      "时间", "来源", "公式", "项目", "方式", "输入", "压力 bar(表压)", "温度 K", "焓 kcal/kg",
      "熵 kcal/(kg·K)", "密度 kg/m³", "干度", "状态", "解数", "解 2 压力 bar(表压)", "解 2 温度 K",
      "解 2 焓 kcal/kg", "解 2 熵 kcal/(kg·K)", "解 2 密度 kg/m³", "解 2 干度", "解 2 状态", "说明"};
  EXPECT_EQ(table.captions, captions);
  const std::vector<Cell>& cells = table.rows.at(0);
  EXPECT_EQ(cells[5].text, "计算点压力 9 bar(表压)，计算点温度 573.15 K");
  // An IFC-67 input is a float: in other units it shows the form's six decimals, not its noise.
  EXPECT_EQ(InputsText({IFC67, Item::SatWater, Mode::Pressure, {double(0.1f)}}, u), "计算点压力 0 bar(表压)");
  EXPECT_EQ(InputsText({IFC67, Item::SatWater, Mode::Pressure, {double(0.1f)}}, Make("p=kPag")),
            "计算点压力 -1.325 kPa(表压)");
  EXPECT_EQ(InputsText({IF97, Item::AnyState, Mode::PressureTemperature, {-0.0000001, 0.5}}, Units{}),
            "计算点压力 0 MPa，计算点温度 0.5 ℃");
  EXPECT_EQ(cells[6].text, "9.000000");
  EXPECT_EQ(cells[7].text, "573.150000");
  EXPECT_EQ(cells[8].text, FormatFixed(row.first.h / 4.1868));
  EXPECT_EQ(cells[9].text, FormatFixed(row.first.s / 4.1868));
  EXPECT_EQ(cells[10].text, "3.876331");
  EXPECT_EQ(cells[10].number, 1 / row.first.v);  // the workbook keeps the whole value
  EXPECT_EQ(cells[13].number, 1.0);
}

TEST(ResultBlock, EverySolutionARowWithCaptionsAndUnits) {
  EXPECT_EQ(ToTsv(ResultTable(Calculate({IFC67, Item::AnyState, Mode::TemperatureEnthalpy, {100, 420}}), Units{})),
            "压力 MPa\t温度 ℃\t焓 kJ/kg\t熵 kJ/(kg·K)\t比容 m³/kg\t干度\t状态\n"
            "0.101325\t100.000000\t420.000000\t1.309377\t0.001737\t0.000414\t饱和水或饱和蒸汽或湿蒸汽,干度=0.000414\n"
            "1.348398\t100.000000\t420.000000\t1.305890\t0.001043\t—\t不饱和水\n");
  EXPECT_EQ(ToTsv(ResultTable(Calculate({IF97, Item::AnyState, Mode::PressureTemperature, {120, 300}}),
                              Make("p=kPa"))),
            "压力 kPa\t温度 ℃\t焓 kJ/kg\t熵 kJ/(kg·K)\t比容 m³/kg\t干度\t状态\n\t\t\t\t\t\t计算或参数有误\n");
}

TEST(Stamp, NamesTheProgramTheFormulationsWithTheirConstantsTheUnitsAndTheDate) {
  const Stamp stamp = RecordStamp("0.85", {IFC67, IF97}, Make("p=MPag"), "2024-05-01 12:00:00");
  const Stamp want = {
      {"程序", "kelm 0.85"},
      {"公式", "IFC-67（1967 年 IFC 工业用公式）"},
      {"常数", "临界点 374.15 ℃，22.12 MPa，临界比容 0.00317 m³/kg，T = t + 273.15 K"},
      {"公式", "IAPWS-IF97"},
      {"常数", "临界点 373.946 ℃，22.064 MPa，临界密度 322 kg/m³，比气体常数 R = 0.461526 kJ/(kg·K)，"
               "T = t + 273.15 K"},
      {"单位", "压力 MPa(表压，当地大气压 0.101325 MPa)，温度 ℃，焓 kJ/kg，熵 kJ/(kg·K)，比容 m³/kg"},
      {"日期", "2024-05-01 12:00:00"}};
  EXPECT_EQ(stamp, want);
}
