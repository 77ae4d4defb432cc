// Record rows, result block and stamp as copied and exported; the batch window's lines.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "calc/batch.h"
#include "calc/record.h"
#include "tests/support/units.h"

using namespace calc;

namespace {

constexpr Formulation IFC67 = Formulation::IFC67, IF97 = Formulation::IF97;
constexpr std::int64_t kNoon = 1714564800000;  // 2024-05-01 12:00:00 UTC

// Local time is the machine's: the rows are made in UTC.
RecordRow Row(const Request& r) {
  setenv("TZ", "UTC", 1);
  tzset();
  return ToRecordRow(Calculate(r), kNoon, "批量计算");
}

}  // namespace

// What the copied rows below do not show: the whole values, and a failed IFC-67 calculation.
TEST(RecordRows, KeepTheWholeValuesAndAFailedCalculationsSentinels) {
  const RecordRow one = Row({IFC67, Item::AnyState, Mode::PressureTemperature, {1, 300}});
  EXPECT_EQ(one.first.h, double(3052.143066f));
  EXPECT_TRUE(std::isnan(one.first.x));
  // A failed IFC-67 calculation keeps the form's sentinels; a failed IF97 one has no values.
  const RecordRow sentinels = Row({IFC67, Item::AnyState, Mode::PressureTemperature, {1, 900}});
  EXPECT_TRUE(sentinels.failed);
  EXPECT_EQ(sentinels.first.h, 10.0);
  EXPECT_EQ(sentinels.first.state, "计算或参数有误");
  EXPECT_EQ(sentinels.note, "计算点温度 900 ℃ 高于适用上限 800 ℃（适用范围 0.01–800 ℃）");
  EXPECT_TRUE(Row({IF97, Item::AnyState, Mode::PressureTemperature, {120, 300}}).failed);
}

TEST(RecordRows, CopyToTheirBytesInTheDefaultUnits) {
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

TEST(RecordRows, ConvertEveryValueAndInputToTheChosenUnits) {
  const Units u = UnitsOf("p=barg,atm=0.1,t=K,h=kcal,v=rho");
  const RecordRow row = Row({IFC67, Item::AnyState, Mode::PressureTemperature, {1, 300}});
  const Table table = RecordTable({row}, u);
  // Each point's columns take the units' names, the volume column its caption too.
  std::string captions;
  for (int c : {6, 7, 8, 9, 10, 18}) captions += table.captions[c] + "|";
  EXPECT_EQ(captions, "压力 bar(表压)|温度 K|焓 kcal/kg|熵 kcal/(kg·K)|密度 kg/m³|解 2 密度 kg/m³|");
  const std::vector<Cell>& cells = table.rows.at(0);
  EXPECT_EQ(cells[5].text, "计算点压力 9 bar(表压)，计算点温度 573.15 K");
  // An IFC-67 input is a float: in other units it shows the form's six decimals, not its noise.
  EXPECT_EQ(InputsText({IFC67, Item::SatWater, Mode::Pressure, {double(0.1f)}}, u), "计算点压力 0 bar(表压)");
  EXPECT_EQ(InputsText({IFC67, Item::SatWater, Mode::Pressure, {double(0.1f)}}, UnitsOf("p=kPag")),
            "计算点压力 -1.325 kPa(表压)");
  EXPECT_EQ(InputsText({IF97, Item::AnyState, Mode::PressureTemperature, {-0.0000001, 0.5}}, Units{}),
            "计算点压力 0 MPa，计算点温度 0.5 ℃");
  EXPECT_EQ(cells[6].text, "9.000000");
  EXPECT_EQ(cells[7].text, "573.150000");
  EXPECT_EQ(cells[8].text, FormatFixed(row.first.h / 4.1868));
  EXPECT_EQ(cells[9].text, FormatFixed(row.first.s / 4.1868));
  EXPECT_EQ(cells[10].text, "3.876331");
  EXPECT_EQ(cells[10].number, 1 / row.first.v);  // the workbook keeps the whole value
}

TEST(ResultBlock, EverySolutionARowWithCaptionsAndUnits) {
  EXPECT_EQ(ToTsv(ResultTable(Calculate({IFC67, Item::AnyState, Mode::TemperatureEnthalpy, {100, 420}}), Units{})),
            "压力 MPa\t温度 ℃\t焓 kJ/kg\t熵 kJ/(kg·K)\t比容 m³/kg\t干度\t状态\n"
            "0.101325\t100.000000\t420.000000\t1.309377\t0.001737\t0.000414\t饱和水或饱和蒸汽或湿蒸汽,干度=0.000414\n"
            "1.348398\t100.000000\t420.000000\t1.305890\t0.001043\t—\t不饱和水\n");
  EXPECT_EQ(ToTsv(ResultTable(Calculate({IF97, Item::AnyState, Mode::PressureTemperature, {120, 300}}),
                              UnitsOf("p=kPa"))),
            "压力 kPa\t温度 ℃\t焓 kJ/kg\t熵 kJ/(kg·K)\t比容 m³/kg\t干度\t状态\n\t\t\t\t\t\t计算或参数有误\n");
}

TEST(Stamp, NamesTheProgramTheFormulationsWithTheirConstantsTheUnitsAndTheDate) {
  const Stamp stamp = RecordStamp("0.85", {IFC67, IF97}, UnitsOf("p=MPag"), "2024-05-01 12:00:00");
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

TEST(Batch, ReadsTabsCsvTextsAndIndexesAndSkipsWhatIsNoLine) {
  const std::string text =
      "\xEF\xBB\xBF# 验收试验\r\n"
      "2\t0\t1\t300\r\n"
      "\n"
      "任意状态水或水蒸汽,压力和温度,\"1\",300\n"
      "   \t \n"
      "0\t0\t0.1\t9\t9\n"                  // inputs the mode does not use are ignored
      "3,1,10,500, 0.01 \n"
      "饱和蒸汽\t温度\t+100";
  const auto lines = ReadBatch(text, Units{}, Formulation::IF97);
  const struct { int number; Request request; } want[] = {
      {2, {IF97, Item::AnyState, Mode::PressureTemperature, {1, 300, 0}}},
      {4, {IF97, Item::AnyState, Mode::PressureTemperature, {1, 300, 0}}},
      {6, {IF97, Item::SatWater, Mode::Pressure, {0.1, 0, 0}}},
      {7, {IF97, Item::Isentropic, Mode::EndTemperature, {10, 500, 0.01}}},
      {8, {IF97, Item::SatSteam, Mode::Temperature, {100, 0, 0}}}};
  ASSERT_EQ(lines.size(), std::size(want));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const Request& r = lines[i].request;
    SCOPED_TRACE(lines[i].number);
    EXPECT_EQ(lines[i].number, want[i].number);
    EXPECT_EQ(lines[i].error, "");
    EXPECT_TRUE(r.formulation == IF97 && r.item == want[i].request.item &&
                r.mode == want[i].request.mode);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(r.in[k], want[i].request.in[k]) << k;
  }
}

TEST(Batch, InputsAreReadInTheChosenUnits) {
  const auto lines = ReadBatch("2\t0\t10\t573.15\n2\t4\t373.15\t100\n2\t1\t-0.05\t1.5\n",
                               UnitsOf("p=barg,atm=0.1,t=K,h=kcal"), Formulation::IFC67);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].request.in[0], 1.1);
  EXPECT_NEAR(lines[0].request.in[1], 300, 1e-12);
  EXPECT_NEAR(lines[1].request.in[0], 100, 1e-12);
  EXPECT_EQ(lines[1].request.in[1], 418.68);
  EXPECT_NEAR(lines[2].request.in[0], 0.095, 1e-15);  // −0.05 bar(g) is above the absolute zero
  EXPECT_EQ(lines[2].request.in[1], 1.5 * 4.1868);
}

TEST(Batch, EveryUnreadableLineSaysWhyAndTheOthersAreRead) {
  const struct { const char *line, *error; } rows[] = {
      {"9\t0\t1", "未知的项目 \"9\"（项目：0 饱和水，1 饱和蒸汽，2 任意状态水或水蒸汽，3 等熵焓降末点）"},
      {"饱和水\t压力和温度\t1", "项目“饱和水”没有方式 \"压力和温度\"（方式：0 压力，1 温度）"},
      {"2\t0\t1", "输入 2（计算点温度）为空"},
      {"2\t0\t1\t ", "输入 2（计算点温度）为空"},
      {"2\t0\t1,5\t300", "输入 1（计算点压力）不是数字：\"1,5\""},
      {"2\t0\tabc\t300", "输入 1（计算点压力）不是数字：\"abc\""},
      {"2\t0\t1e999\t300", "输入 1（计算点压力）不是数字：\"1e999\""},
      {"2\t0\tnan\t300", "输入 1（计算点压力）不是数字：\"nan\""},
      {"2\t0\t+-1\t300", "输入 1（计算点压力）不是数字：\"+-1\""},
      {"2\t0\t-0.2\t300", "输入 1（计算点压力） -0.2 MPa(表压) 低于绝对零压（当地大气压 0.101325 MPa）"},
      {"2\t0\t1\t2\t3\t4", "多于五个字段（项目、方式、输入 1、输入 2、输入 3）"},
  };
  std::string text;
  for (const auto& row : rows) text += std::string(row.line) + "\n2\t0\t1\t300\n";
  const auto lines = ReadBatch(text, UnitsOf("p=MPag"), Formulation::IFC67);
  ASSERT_EQ(lines.size(), 2 * std::size(rows));
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(rows[i].line);
    EXPECT_EQ(lines[2 * i].number, int(2 * i + 1));
    EXPECT_EQ(lines[2 * i].error, rows[i].error);
    EXPECT_EQ(lines[2 * i + 1].error, "");
  }
}

TEST(Batch, CsvFieldsMayBeQuotedWithCommasAndQuotesInside) {
  EXPECT_EQ(SplitBatchFields("a,\"b,c\",\"d\"\"e\",,"),
            (std::vector<std::string>{"a", "b,c", "d\"e", "", ""}));
  EXPECT_EQ(SplitBatchFields("a\t\"b\"\t,c"), (std::vector<std::string>{"a", "\"b\"", ",c"}));
}
