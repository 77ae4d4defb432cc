// The form without a window: labels, enabling, and for every item and mode the texts shown, the
// members written, the engine calls and statuses; the lenient parse and the result texts.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "engine/constants.h"
#include "form/formsession.h"
#include "form/parse.h"
#include "form/resource.h"

namespace {

// '1' or '0' for inputs 1 to 3, Calculate, Exit and solution buttons 1 and 2.
std::string Enabled(const CFormSession& s) {
  std::string flags;
  for (int id : {IDC_INPUT1, IDC_INPUT2, IDC_INPUT3, IDC_CALC, IDC_EXIT, IDC_SOLUTION1,
                 IDC_SOLUTION2}) {
    flags += s.window.IsControlEnabled(id) ? '1' : '0';
  }
  return flags;
}

// Labels and units, then enabled inputs 1 to 3, of each item's modes in list order.
const char* const kModeRows[] = {
    "计算点压力|MPa||||100",                        "计算点温度|℃||||100",
    "计算点压力|MPa||||100",                        "计算点温度|℃||||100",
    "计算点压力|MPa|计算点温度|℃||110",             "计算点压力|MPa|计算点熵|kJ/(kg*K)||110",
    "计算点压力|MPa|计算点焓|kJ/kg||110",           "计算点温度|℃|计算点熵|kJ/(kg*K)||110",
    "计算点温度|℃|计算点焓|kJ/kg||110",             "起始点压力|MPa|起始点温度|℃|末点压力|MPa111",
    "起始点压力|MPa|起始点温度|℃|末点温度|℃111"};

const std::vector<std::string> kModeLists[] = {
    {"压力", "温度"}, {"压力", "温度"},
    {"压力和温度", "压力和熵", "压力和焓", "温度和熵", "温度和焓"}, {"末点压力", "末点温度"}};

std::string Inputs(const CFormSession& s) {
  const CalcFormData& c = s.window.controls;
  return c.m_strLabel1 + '|' + c.m_strUnit1 + '|' + c.m_strLabel2 + '|' + c.m_strUnit2 + '|' +
         c.m_strLabel3 + '|' + c.m_strUnit3 + Enabled(s).substr(0, 3);
}

TEST(CalcForm, EveryItemAndModeShowsItsLabelsUnitsAndInputs) {
  // Reached from the last mode of every item, so that nothing of the previous row survives.
  for (int from = 0; from < 4; ++from) {
    const char* const* row = kModeRows;
    for (int item = 0; item < 4; ++item) {
      for (int mode = 0; mode < int(kModeLists[item].size()); ++mode, ++row) {
        CFormSession s;
        s.PickItem(from);
        s.PickMode(int(kModeLists[from].size()) - 1);
        s.PickItem(item);
        EXPECT_EQ(s.window.controls.m_nMode, 0);
        EXPECT_EQ(s.window.modes, kModeLists[item]);
        s.PickMode(mode);
        EXPECT_EQ(Inputs(s), *row) << "from " << from << ": " << item << "/" << mode;
      }
    }
  }
}

TEST(CalcForm, UnknownItemOrModeLeavesWhatOnlyItsRowWouldSet) {
  // Every label and unit "x", then a mode outside the list: what the item shows in every mode is
  // set, the rest stays; under an item outside the list (4) nothing changes at all.
  const char* const expected[5] = {"x|x||||100", "x|x||||100", "x|x|x|x||110",
                                   "起始点压力|MPa|起始点温度|℃|x|x111", "x|x|x|x|x|x110"};
  for (int item = 0; item < 5; ++item) {
    CFormSession s;
    s.PickItem(2);
    s.PickItem(item);
    CalcFormData& c = s.window.controls;
    c.m_strLabel1 = c.m_strUnit1 = c.m_strLabel2 = c.m_strUnit2 = c.m_strLabel3 = c.m_strUnit3 = "x";
    s.window.enableCalls.clear();
    s.PickMode(item < 4 ? 7 : 0);
    s.form.OnCalc();  // calculates nothing either
    EXPECT_EQ(Inputs(s) + s.window.controls.m_strState, std::string(expected[item]) + "未知");
    EXPECT_EQ(s.window.modes, kModeLists[item < 4 ? item : 2]);
    EXPECT_EQ(s.window.enableCalls.empty(), item == 4);
  }
}

TEST(CalcForm, CalculateIsEnabledOnceEveryEnabledInputHoldsText) {
  // Pick an item (−1: keep it), type into an input (0: none), then Calculate enabled or not.
  const std::tuple<int, int, const char*, bool> steps[] = {
      {-1, 1, "1", true}, {-1, 1, "", false}, {-1, 1, " ", true}, {1, 0, "", true},
      {2, 0, "", false},  {-1, 2, "x", true}, {-1, 2, "", false}, {-1, 2, "0", true},
      {3, 0, "", false},  {-1, 3, "5", true}, {-1, 2, "", false}, {-1, 2, "7", true},
      {0, 0, "", true},   {-1, 1, "", false}, {2, 0, "", false},  {-1, 1, "1", true},
      {3, 0, "", true},   {-1, 3, "", false}, {1, 0, "", true},
  };
  CFormSession s;
  for (const auto& [item, input, text, calc] : steps) {
    if (item >= 0) s.PickItem(item);
    if (input > 0) s.Type(input, text);
    EXPECT_EQ(s.window.IsControlEnabled(IDC_CALC), calc) << item << " " << input << " " << text;
  }
}

// The members a calculation wrote, a letter each (inputs 123 parsed; PTHSV, dryness x, state n;
// solution 2 phsv, y, m; f the failed flag cleared), then poisons them again.
std::string Written(CCalcDlg& d) {
  float* const floats[] = {&d.m_fIn1, &d.m_fIn2, &d.m_fIn3, &d.m_fP, &d.m_fT, &d.m_fH, &d.m_fS,
                           &d.m_fV, &d.m_fX1, &d.m_fP2, &d.m_fH2, &d.m_fS2, &d.m_fV2, &d.m_fX2};
  std::string written;
  for (int i = 0; i < 14; ++i) {
    if (std::bit_cast<std::uint32_t>(*floats[i]) != 0xFFC00007u) written += "123PTHSVxphsvy"[i];
    *floats[i] = std::bit_cast<float>(0xFFC00007u);  // a NaN no calculation stores
  }
  written += std::string(d.m_nState1 != -7, 'n') + std::string(d.m_nState2 != -7, 'm') +
             std::string(!d.m_bFailed, 'f');
  d.m_nState1 = d.m_nState2 = -7;
  d.m_bFailed = true;
  return written;
}

// The calls in order, each with its status in hexadecimal when that is not 0.
std::string Calls(const CalcResult& result) {
  std::string text;
  for (int i = 0; i < result.callCount; ++i) {
    const CallRecord& call = result.calls[i];
    char status[16] = "";
    if (call.status != 0) std::snprintf(status, sizeof status, " %x", unsigned(call.status));
    text += (i > 0 ? ", " : "") + std::string(CallName(call.call)) + status;
  }
  return text;
}

struct CalcRow {
  int item, mode;
  std::vector<std::string> inputs;  // unused inputs hold "9", which must not be read
  const char* written;
  const char* calls;
  const char* shown;        // pressure|temperature|enthalpy|entropy|volume|state
  const char* second = "";  // after clicking "2"
};

// One row per item and mode, then failures and the edges of the display. The saturation rows agree
// with the published IFC-67 tables (0.1 MPa: ts 99.632 °C, h' 417.51, s' 1.3027, h'' 2675.4,
// v'' 1.6937; 100 °C: ps 0.101325 MPa).
const CalcRow kCalcRows[] = {
    {0, 0, {"0.1"}, "1PTHSV", "SatTByP, SatWaterHByP, SatWaterSByP, SatWaterVByP",
     "0.100000 MPa|99.631638 ℃|417.510864 kJ/kg|1.302708 kJ/(kg*K)|0.001043 m**3/kg|饱和水"},
    {0, 1, {"100"}, "1PTHSV", "SatPByT, SatWaterHByT, SatWaterSByT, SatWaterVByT",
     "0.101325 MPa|100.000000 ℃|419.064697 kJ/kg|1.306870 kJ/(kg*K)|0.001044 m**3/kg|饱和水"},
    {1, 0, {"0.1"}, "1PTHSV", "SatTByP, SatSteamHByP, SatSteamSByP, SatSteamVByP",
     "0.100000 MPa|99.631638 ℃|2675.433838 kJ/kg|7.359819 kJ/(kg*K)|1.693731 m**3/kg|饱和蒸汽"},
    {1, 1, {"100"}, "1PTHSV", "SatPByT, SatSteamHByT, SatSteamSByP, SatSteamVByP",
     "0.101325 MPa|100.000000 ℃|2676.008789 kJ/kg|7.355380 kJ/(kg*K)|1.672997 m**3/kg|饱和蒸汽"},
    {2, 0, {"1", "300"}, "12PTHSV", "PointPropH, PointPropS, PointPropV",
     "1.000000 MPa|300.000000 ℃|3052.143066 kJ/kg|7.125144 kJ/(kg*K)|0.257976 m**3/kg|过热蒸汽"},
    {2, 1, {"0.1", "4.3312635"}, "12PTHSV", "SolveTFromPS",
     "0.100000 MPa|99.631638 ℃|1546.472290 kJ/kg|4.331264 kJ/(kg*K)|0.847387 m**3/kg|饱和水或饱和蒸汽或湿蒸汽,干度=0.500000"},
    {2, 2, {"3", "115.253578"}, "12PTHSV", "SolveTFromPH",
     "3.000000 MPa|26.849997 ℃|115.253578 kJ/kg|0.392025 kJ/(kg*K)|0.001002 m**3/kg|不饱和水"},
    {2, 3, {"400", "5.145481"}, "12PTHSV", "SolvePFromTS",
     "24.999996 MPa|400.000000 ℃|2581.991455 kJ/kg|5.145481 kJ/(kg*K)|0.006014 m**3/kg|超临界"},
    {2, 4, {"100", "425"}, "12PTHSVxphsvynmf", "SolvePFromTH",
     "0.101325 MPa|100.000000 ℃|425.000000 kJ/kg|1.322777 kJ/(kg*K)|0.005441 m**3/kg|饱和水或饱和蒸汽或湿蒸汽,干度=0.002630",
     "8.002765 MPa|100.000000 ℃|425.000000 kJ/kg|1.300719 kJ/(kg*K)|0.001040 m**3/kg|不饱和水"},
    {2, 4, {"300", "3052.143066"}, "12PTHSVxnf", "SolvePFromTH",
     "1.000004 MPa|300.000000 ℃|3052.143066 kJ/kg|7.125142 kJ/(kg*K)|0.257975 m**3/kg|过热蒸汽"},
    {3, 0, {"10", "500", "0.1"}, "123PTHSV", "IsentropicEndH, SolveTFromPH",
     "0.100000 MPa|99.631638 ℃|2391.987305 kJ/kg|6.599444 kJ/(kg*K)|1.481240 m**3/kg|饱和水或饱和蒸汽或湿蒸汽,干度=0.874466"},
    {3, 1, {"10", "500", "100"}, "123PTHSV", "PointPropS, SolvePFromTS",
     "0.101325 MPa|100.000000 ℃|2393.938721 kJ/kg|6.599444 kJ/(kg*K)|1.464038 m**3/kg|饱和水或饱和蒸汽或湿蒸汽,干度=0.875021"},
    // Failed: the sentinels shown, pressure 1 as (1 ×10)·0.1; steam goes on at it to s and v.
    {0, 1, {"374.2"}, "1PTHSV", "SatPByT 2, SatWaterHByT 2, SatWaterSByT 2, SatWaterVByT 2",
     "1.000000 MPa|374.200012 ℃|10.000000 kJ/kg|10.000000 kJ/(kg*K)|10.000000 m**3/kg|计算或参数有误"},
    {1, 1, {"400"}, "1PTHSV", "SatPByT 2, SatSteamHByT 2, SatSteamSByP, SatSteamVByP",
     "1.000000 MPa|400.000000 ℃|10.000000 kJ/kg|6.582811 kJ/(kg*K)|0.194293 m**3/kg|计算或参数有误"},
    // On the saturation line: no dryness. Beyond float range: the inputs echoed as inf.
    {2, 0, {"0.1", "99.631638"}, "12PTHSV", "PointPropH, PointPropS, PointPropV",
     "0.100000 MPa|99.631638 ℃|2675.433838 kJ/kg|7.359819 kJ/(kg*K)|1.693730 m**3/kg|饱和水或饱和蒸汽或湿蒸汽"},
    {2, 0, {"1e40", "-1e400"}, "12PTHSV", "PointPropH c, PointPropS c, PointPropV c",
     "inf MPa|-inf ℃|10.000000 kJ/kg|10.000000 kJ/(kg*K)|10.000000 m**3/kg|计算或参数有误"},
    // No solution: three fields empty; "未知" unless it failed.
    {2, 4, {"100", "300"}, "12THf", "SolvePFromTH",
     "|100.000000 ℃|300.000000 kJ/kg|||未知"},
    {2, 4, {"100", "0.5"}, "12TH", "SolvePFromTH 40",
     "|100.000000 ℃|0.500000 kJ/kg|||计算或参数有误"},
    // End not below start: CS_ORDER in the out-parameter, 10 solved on; by t2 nothing asks.
    {3, 0, {"1", "300", "2"}, "123PTHSV", "IsentropicEndH 1, SolveTFromPH",
     "2.000000 MPa|1.902550 ℃|10.000000 kJ/kg|0.029188 kJ/(kg*K)|0.000999 m**3/kg|计算或参数有误"},
    {3, 1, {"10", "500", "600"}, "123PTHSV", "PointPropS, SolvePFromTS",
     "17.104076 MPa|600.000000 ℃|3561.321289 kJ/kg|6.599444 kJ/(kg*K)|0.021576 m**3/kg|过热蒸汽"},
};

TEST(Calculate, EveryItemAndModeShowsWritesAndCallsAsRecorded) {
  for (const CalcRow& row : kCalcRows) {
    SCOPED_TRACE(testing::Message() << row.item << "/" << row.mode << " " << row.inputs[0]);
    CFormSession s;
    s.PickItem(row.item);
    s.PickMode(row.mode);
    for (int i = 0; i < 3; ++i) s.Type(i + 1, i < int(row.inputs.size()) ? row.inputs[i] : "9");
    Written(s.form);
    ASSERT_TRUE(s.ClickCalculate());
    EXPECT_EQ(Joined(s.Texts(), '|'), row.shown);
    const ModeRow& mode = ModeRows(Item(row.item))[row.mode];
    CalcStatus = 0xFFFF;  // a status read before the call would show
    const CalcResult result = Calculate(mode.item, mode.mode, s.form.m_fIn1, s.form.m_fIn2,
                                        s.form.m_fIn3);
    EXPECT_EQ(Calls(result), row.calls);
    EXPECT_EQ(result.solutions, s.form.m_nSolutions);
    EXPECT_EQ(s.window.IsControlEnabled(IDC_SOLUTION2), *row.second != '\0');
    s.ClickSolution(2);
    EXPECT_EQ(*row.second ? Joined(s.Texts(), '|') : "", row.second);
    EXPECT_EQ(Written(s.form), row.written);
  }
  // A mode the item lacks computes nothing.
  const CalcResult none = Calculate(Item::SatWater, Mode::EndPressure, 1, 2, 3);
  EXPECT_EQ(none.callCount + none.solutions, 0);
}

TEST(SolutionButtons, SwitchBetweenTwoStoredSolutionsUntilTheNextCalculate) {
  CFormSession s;
  s.PickItem(2);
  s.PickMode(4);
  s.Type(1, "100");
  s.Type(2, "425");
  ASSERT_TRUE(s.ClickCalculate());
  const std::string first = Joined(s.Texts(), '|');
  s.ClickSolution(2);
  const std::string second = Joined(s.Texts(), '|');
  EXPECT_EQ(s.form.m_fX2, 0.0f);  // compressed water, its dryness stored though not shown
  int writes = s.window.writes;
  s.form.OnSolution2();  // the checked button again: nothing
  EXPECT_EQ(s.window.writes, writes);
  // Item and mode changes keep inputs, results and solutions; a mode judges no Calculate.
  s.PickItem(3);
  s.window.enableCalls.clear();
  s.PickMode(1);
  EXPECT_EQ(s.window.enableCalls,
            (std::vector<std::pair<int, bool>>{{IDC_INPUT2, true}, {IDC_INPUT3, true}}));
  s.PickItem(1);
  EXPECT_EQ(Joined(s.Texts(), '|') + s.window.controls.m_strInput2, second + "425");
  EXPECT_EQ(Enabled(s), "1001111");
  s.ClickSolution(1);
  EXPECT_EQ(Joined(s.Texts(), '|'), first);
  s.form.m_bFailed = true;
  for (int button : {2, 1, 2}) {  // and "2" shown at the next Calculate
    s.ClickSolution(button);
    EXPECT_EQ(s.window.controls.m_strState, "计算有误");
  }
  ASSERT_TRUE(s.ClickCalculate());
  EXPECT_EQ(Enabled(s) + std::to_string(s.window.controls.m_nSolution), "10011100");
  writes = s.window.writes;
  for (int count : {1, 0}) {  // too few solutions for either button
    s.form.m_nSolutions = count;
    s.form.OnSolution2();
    s.form.m_nSolution = 1;
    s.form.OnSolution1();
    s.form.m_nSolution = 0;
  }
  EXPECT_EQ(s.window.writes, writes);
}

using Limits = std::numeric_limits<float>;
constexpr float kInf = Limits::infinity();

TEST(ParseInput, ReadsTheLongestDecimalPrefixAsTheCLibraryWould) {
  // Texts outside the alphabet below, and the narrowing to float.
  const std::pair<const char*, float> rows[] = {
      {" \t\n\v\f\r+2", 2}, {"1.5E-2x", 0.015f}, {"100℃", 100}, {"abc", 0}, {"\xC2\xA0" "1", 0},
      {"inf", 0}, {"nan", 0}, {"0x1A", 0}, {"-0", -0.0f}, {"1e40", kInf}, {"-1e400", -kInf},
      {"1e99999999999999999999", kInf}, {"3.4028235e38", Limits::max()}, {"3.4028236e38", kInf},
      {"-1e-400", -0.0f}, {"1e-45", Limits::denorm_min()}};
  for (const auto& [text, value] : rows) {
    EXPECT_EQ(std::bit_cast<std::uint32_t>(ParseInput(text)), std::bit_cast<std::uint32_t>(value))
        << text;
  }
  // Texts over digits, point, exponent letters, signs, blanks and a comma start no hexadecimal,
  // infinity or NaN, so strtod in the C locale reads them by the same rule: the same double bit
  // for bit, subnormals, overflow and −0 included.
  const std::string alphabet = "0123456789.eE+- \t,";
  std::mt19937 gen(20240611);
  for (int i = 0; i < 50000; ++i) {
    std::string text;
    for (int n = int(gen() % 15); n > 0; --n) text += alphabet[gen() % alphabet.size()];
    ASSERT_EQ(std::bit_cast<std::uint64_t>(ParseDecimalPrefix(text)),
              std::bit_cast<std::uint64_t>(std::strtod(text.c_str(), nullptr)))
        << '"' << text << '"';
  }
}

TEST(FormatFixed, IsPrintfOfTheWidenedFloatAndNeverNan) {
  std::mt19937 gen(4711);
  for (int i = 0; i < 100000; ++i) {
    const float value = i < 4 ? std::array{kInf, -kInf, 1.0f / 128, 3.0f / 128}[i]  // ties
                              : std::bit_cast<float>(std::uint32_t(gen()));
    if (std::isnan(value)) continue;
    char printed[64];
    std::snprintf(printed, sizeof printed, "%f", double(value));
    ASSERT_EQ(FormatFixed(value), printed);
  }
  EXPECT_EQ(FormatFixed(Limits::quiet_NaN()), "10.000000");
}

// (The calculations above show the other state texts.)
TEST(StateText, ShowsADrynessUnlessExactlyMinusOneAndUnknownForAnyOtherCode) {
  EXPECT_EQ(StateText(SC_WET, -0.99999994f), "饱和水或饱和蒸汽或湿蒸汽,干度=-1.000000");
  EXPECT_EQ(StateText(SC_UNKNOWN, 1) + StateText(5, 0) + StateText(-1, 0), "未知未知未知");
}

}  // namespace
