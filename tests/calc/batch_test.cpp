// Lines of the batch window: tab- or comma-separated, texts or indexes, inputs in the chosen
// units; every unreadable line with its number and why, the others read on.
#include <gtest/gtest.h>

#include "calc/batch.h"

using namespace calc;

namespace {
Units Make(const char* text) {
  std::string error;
  return ParseUnits(text, error).value();
}
}  // namespace

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
  ASSERT_EQ(lines.size(), 5u);
  const int numbers[] = {2, 4, 6, 7, 8};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(lines[i].number);
    EXPECT_EQ(lines[i].number, numbers[i]);
    EXPECT_EQ(lines[i].error, "");
    EXPECT_EQ(lines[i].request.formulation, Formulation::IF97);
  }
  EXPECT_EQ(lines[0].request.item, Item::AnyState);
  EXPECT_EQ(lines[0].request.mode, Mode::PressureTemperature);
  EXPECT_EQ(lines[1].request.in[0], 1.0);
  EXPECT_EQ(lines[1].request.in[1], 300.0);
  EXPECT_EQ(lines[2].request.in[1], 0.0);
  EXPECT_EQ(lines[3].request.mode, Mode::EndTemperature);
  EXPECT_EQ(lines[3].request.in[2], 0.01);
  EXPECT_EQ(lines[4].request.item, Item::SatSteam);
  EXPECT_EQ(lines[4].request.in[0], 100.0);
}

TEST(Batch, InputsAreReadInTheChosenUnits) {
  const auto lines = ReadBatch("2\t0\t10\t573.15\n2\t4\t373.15\t100\n2\t1\t-0.05\t1.5\n",
                               Make("p=barg,atm=0.1,t=K,h=kcal"), Formulation::IFC67);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].request.in[0], 1.1);
  EXPECT_NEAR(lines[0].request.in[1], 300, 1e-12);
  EXPECT_NEAR(lines[1].request.in[0], 100, 1e-12);
  EXPECT_EQ(lines[1].request.in[1], 418.68);
  EXPECT_NEAR(lines[2].request.in[0], 0.095, 1e-15);  // −0.05 bar(g) is above the absolute zero
  EXPECT_EQ(lines[2].request.in[1], 1.5 * 4.1868);
}

TEST(Batch, EveryUnreadableLineSaysWhyAndTheOthersAreRead) {
  struct Row {
    const char* line;
    const char* error;
  };
  const Row rows[] = {
      {"9\t0\t1", "未知的项目 \"9\"（项目：0 饱和水，1 饱和蒸汽，2 任意状态水或水蒸汽，3 等熵焓降末点）"},
      {"饱和水\t压力和温度\t1", "项目“饱和水”没有方式 \"压力和温度\"（方式：0 压力，1 温度）"},
      {"2\t0\t1", "输入 2（计算点温度）为空"},
      {"2\t0\t1\t ", "输入 2（计算点温度）为空"},
      {"2\t0\t1,5\t300", "输入 1（计算点压力）不是数字：\"1,5\""},
      {"2\t0\tabc\t300", "输入 1（计算点压力）不是数字：\"abc\""},
      {"2\t0\t1e999\t300", "输入 1（计算点压力）不是数字：\"1e999\""},
      {"2\t0\tnan\t300", "输入 1（计算点压力）不是数字：\"nan\""},
      {"2\t0\t0x10\t300", "输入 1（计算点压力）不是数字：\"0x10\""},
      {"2\t0\t+-1\t300", "输入 1（计算点压力）不是数字：\"+-1\""},
      {"2\t0\t-0.2\t300", "输入 1（计算点压力） -0.2 MPa(表压) 低于绝对零压（当地大气压 0.101325 MPa）"},
      {"2\t0\t1\t2\t3\t4", "多于五个字段（项目、方式、输入 1、输入 2、输入 3）"},
  };
  std::string text;
  for (const Row& row : rows) text += std::string(row.line) + "\n2\t0\t1\t300\n";
  const auto lines = ReadBatch(text, Make("p=MPag"), Formulation::IFC67);
  ASSERT_EQ(lines.size(), 2 * std::size(rows));
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(rows[i].line);
    EXPECT_EQ(lines[2 * i].number, int(2 * i + 1));
    EXPECT_EQ(lines[2 * i].error, rows[i].error);
    EXPECT_EQ(lines[2 * i + 1].error, "");
  }
  // At the absolute zero itself the pressure is 0, for the engine to judge.
  EXPECT_EQ(ReadBatch("2\t0\t-0.101325\t300", Make("p=MPag"), Formulation::IFC67)[0].error, "");
  // The same negative pressure in absolute units goes to the engine, which gives its reason.
  EXPECT_EQ(ReadBatch("2\t0\t-0.2\t300", Units{}, Formulation::IFC67)[0].request.in[0], -0.2);
}

TEST(Batch, CsvFieldsMayBeQuotedWithCommasAndQuotesInside) {
  EXPECT_EQ(SplitBatchFields("a,\"b,c\",\"d\"\"e\",,"),
            (std::vector<std::string>{"a", "b,c", "d\"e", "", ""}));
  EXPECT_EQ(SplitBatchFields("a\t\"b\"\t,c"), (std::vector<std::string>{"a", "\"b\"", ",c"}));
}
