#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/calccli.h"
#include "tests/cli/cli_form.h"

namespace {

struct CliRun {
  int status;
  std::string out, err;
};

CliRun RunCli(const std::vector<std::string>& args, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = kelmcli::RunCommandLine(args, in, out, err);
  return {status, out.str(), err.str()};
}

std::vector<std::string> Args(std::vector<std::string> front, const std::vector<std::string>& inputs) {
  front.insert(front.end(), inputs.begin(), inputs.end());
  return front;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Every item and mode, with inputs that succeed and inputs that make the form show its failure
// text; fails says which (so that both exit statuses are reached for every item).
struct SingleRow {
  int item, mode;
  std::vector<std::string> inputs;
  bool fails;
};
const SingleRow kSingleRows[] = {
    {0, 0, {"0.1"}, false},          {0, 0, {"0"}, true},
    {0, 0, {"abc"}, true},           {0, 1, {"100"}, false},
    {0, 1, {"-5"}, true},            {1, 0, {"1"}, false},
    {1, 0, {"30"}, true},            {1, 1, {"100"}, false},
    {1, 1, {"400"}, true},           {2, 0, {"1", "200"}, false},
    {2, 0, {"10", "100"}, false},    {2, 0, {"25", "500"}, false},
    {2, 0, {"1", "900"}, true},      {2, 1, {"1", "7"}, false},
    {2, 1, {"0.1", "4"}, false},     {2, 1, {"0.0001", "4"}, true},
    {2, 2, {"1", "3000"}, false},    {2, 2, {"0.1", "1500"}, false},
    {2, 2, {"200", "1500"}, true},   {2, 3, {"200", "7"}, false},
    {2, 3, {"900", "7"}, true},      {2, 4, {"100", "420"}, false},
    {2, 4, {"300", "3000"}, false},  {2, 4, {"900", "3000"}, true},
    {3, 0, {"1", "300", "0.1"}, false}, {3, 0, {"0.1", "300", "1"}, true},
    {3, 1, {"1", "300", "100"}, false}, {3, 1, {"1", "900", "100"}, true},
};

TEST(SingleCalculation, TsvIsWhatTheFormShowsForEveryItemAndMode) {
  for (const SingleRow& row : kSingleRows) {
    SCOPED_TRACE(testing::Message() << row.item << " " << row.mode << " " << row.inputs[0]);
    const ShownOnForm shown = ShowOnForm(row.item, row.mode, row.inputs);
    ASSERT_EQ(IsFailureText(shown.first[5]), row.fails) << shown.first[5];
    const CliRun byIndex =
        RunCli(Args({"--tsv", std::to_string(row.item), std::to_string(row.mode)}, row.inputs));
    EXPECT_EQ(byIndex.out, ExpectedTsv(shown) + "\n");
    EXPECT_EQ(byIndex.err, "");
    EXPECT_EQ(byIndex.status, row.fails ? 1 : 0);
    // The same calculation with the item and mode given by their list texts.
    const CliRun byText = RunCli(Args({CCalcDlg::ItemTexts()[row.item],
                                    CCalcDlg::ModeTexts(row.item)[row.mode], "--tsv"},
                                   row.inputs));
    EXPECT_EQ(byText.out, byIndex.out);
    EXPECT_EQ(byText.status, byIndex.status);
  }
}

TEST(SingleCalculation, DefaultLayoutPutsEachCaptionBesideTheFormText) {
  const char* captions[6] = {"压力", "温度", "焓值", "熵", "比容", "状态"};
  const char* padding[6] = {"  ", "  ", "  ", "    ", "  ", "  "};  // to the texts' column
  for (const SingleRow& row : kSingleRows) {
    SCOPED_TRACE(testing::Message() << row.item << " " << row.mode << " " << row.inputs[0]);
    const ShownOnForm shown = ShowOnForm(row.item, row.mode, row.inputs);
    if (shown.solutions == 2) continue;  // below
    std::string expected;
    for (int i = 0; i < 6; ++i) {
      // A field the form leaves empty (no solution) gives the caption alone, without blanks.
      expected += captions[i];
      if (!shown.first[i].empty()) expected += padding[i] + shown.first[i];
      expected += '\n';
    }
    const CliRun run = RunCli(Args({std::to_string(row.item), std::to_string(row.mode)}, row.inputs));
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.status, row.fails ? 1 : 0);
  }
}

TEST(SingleCalculation, NoSolutionLeavesPressureEntropyAndVolumeEmpty) {
  // Temperature and enthalpy of no state at all: the form empties three fields and shows "未知".
  const ShownOnForm shown = ShowOnForm(2, 4, {"100", "5000"});
  ASSERT_EQ(shown.solutions, 0);
  const CliRun run = RunCli({"2", "4", "100", "5000"});
  EXPECT_EQ(run.status, IsFailureText(shown.first[5]) ? 1 : 0);
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "压力");
  EXPECT_EQ(lines[1], "温度  " + shown.first[1]);
  EXPECT_EQ(lines[3], "熵");
  EXPECT_EQ(lines[4], "比容");
  EXPECT_EQ(RunCli({"--tsv", "2", "4", "100", "5000"}).out, ExpectedTsv(shown) + "\n");
}

TEST(SingleCalculation, TwoSolutionsShowTheSecondAsTheFormDoesAfterClickingTwo) {
  const ShownOnForm shown = ShowOnForm(2, 4, {"100", "420"});
  ASSERT_EQ(shown.solutions, 2);
  ASSERT_NE(shown.second[0], shown.first[0]);  // two pressures

  const CliRun readable = RunCli({"任意状态水或水蒸汽", "温度和焓", "100", "420"});
  EXPECT_EQ(readable.status, 0);
  const std::vector<std::string> lines = Lines(readable.out);
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[0], "压力  " + shown.first[0]);
  EXPECT_EQ(lines[5], "状态  " + shown.first[5]);
  EXPECT_EQ(lines[6], "第二解");
  EXPECT_EQ(lines[7], "压力  " + shown.second[0]);
  EXPECT_EQ(lines[8], "焓值  " + shown.second[1]);
  EXPECT_EQ(lines[9], "熵    " + shown.second[2]);
  EXPECT_EQ(lines[10], "比容  " + shown.second[3]);
  EXPECT_EQ(lines[11], "状态  " + shown.second[4]);

  const CliRun tsv = RunCli({"--tsv", "2", "4", "100", "420"});
  EXPECT_EQ(tsv.out, ExpectedTsv(shown) + "\n");
  std::vector<std::string> fields;
  std::istringstream in(tsv.out.substr(0, tsv.out.size() - 1));
  for (std::string field; std::getline(in, field, '\t');) fields.push_back(field);
  ASSERT_EQ(fields.size(), 12u);
  EXPECT_EQ(fields[6], "2");
  EXPECT_EQ(fields[7], shown.second[0]);
  EXPECT_EQ(fields[11], shown.second[4]);
}

TEST(SingleCalculation, InputsAreReadAsTheFormReadsThem) {
  const std::string plain = RunCli({"--tsv", "0", "0", "0.1"}).out;
  EXPECT_EQ(RunCli({"--tsv", "0", "0", " 0.1 MPa"}).out, plain);
  EXPECT_EQ(RunCli({"--tsv", "0", "0", "0.1兆帕"}).out, plain);
  EXPECT_EQ(RunCli({"--tsv", "0", "0", "1e-1"}).out, plain);
  // A decimal comma ends the number, as in the form: "1,5" is 1.
  EXPECT_EQ(RunCli({"--tsv", "0", "0", "1,5"}).out, RunCli({"--tsv", "0", "0", "1"}).out);
  // A blank is a filled input, which the form parses as 0.
  EXPECT_EQ(RunCli({"--tsv", "0", "0", " "}).out, ExpectedTsv(ShowOnForm(0, 0, {" "})) + "\n");
}

TEST(SingleCalculation, NegativeNumbersAreInputsAndDoubleDashEndsTheOptions) {
  const CliRun negative = RunCli({"--tsv", "0", "1", "-5"});
  EXPECT_EQ(negative.out, ExpectedTsv(ShowOnForm(0, 1, {"-5"})) + "\n");
  EXPECT_EQ(negative.status, 1);
  const CliRun dashed = RunCli({"--tsv", "--", "0", "0", "--help"});
  EXPECT_EQ(dashed.out, ExpectedTsv(ShowOnForm(0, 0, {"--help"})) + "\n");
  EXPECT_EQ(dashed.status, 1);  // no number: 0 MPa
}

struct UsageRow {
  std::vector<std::string> args;
  const char* message;
};
const UsageRow kUsageRows[] = {
    {{"7", "0", "1"}, "unknown item \"7\" (items: 0 饱和水, 1 饱和蒸汽, 2 任意状态水或水蒸汽, 3 等熵焓降末点)"},
    {{"-1", "0", "1"}, "unknown item \"-1\""},
    {{"饱和", "0", "1"}, "unknown item \"饱和\""},
    {{" 0", "0", "1"}, "unknown item \" 0\""},
    {{"0", "2", "1"}, "unknown mode \"2\" of item 饱和水 (modes: 0 压力, 1 温度)"},
    {{"2", "末点压力", "1", "2"}, "unknown mode \"末点压力\" of item 任意状态水或水蒸汽"},
    {{"3", "压力", "1", "2", "3"}, "unknown mode \"压力\" of item 等熵焓降末点"},
    {{"0", "0"}, "missing input 1 (计算点压力, MPa): 饱和水 takes 1 input"},
    {{"2", "4", "100"}, "missing input 2 (计算点焓, kJ/kg): 任意状态水或水蒸汽 takes 2 inputs"},
    {{"3", "1", "1", "300"}, "missing input 3 (末点温度, ℃): 等熵焓降末点 takes 3 inputs"},
    {{"0", "0", "0.1", "5"}, "extra input \"5\": 饱和水 takes 1 input"},
    {{"2", "0", "1", "200", "3"}, "extra input \"3\""},
    {{"3", "0", "1", "2", "3", "4"}, "extra input \"4\""},
    {{"0", "0", ""}, "input 1 (计算点压力, MPa) left empty"},
    {{"3", "0", "1", "", "0.1"}, "input 2 (起始点温度, ℃) left empty"},
    {{"3", "1", "1", "300", ""}, "input 3 (末点温度, ℃) left empty"},
    {{}, "missing ITEM and MODE"},
    {{"0"}, "missing MODE"},
    {{"--frobnicate", "0", "0", "1"}, "unknown option \"--frobnicate\""},
    {{"--batch", "a", "b"}, "--batch takes at most one FILE"},
    {{"--batch", "/nonexistent/kelm.tsv"}, "cannot open \"/nonexistent/kelm.tsv\""},
    {{"--batch", "/"}, "\"/\" is a directory"},
};

TEST(SingleCalculation, UsageErrorsExitWithTwoAndSayWhy) {
  for (const UsageRow& row : kUsageRows) {
    SCOPED_TRACE(row.message);
    const CliRun run = RunCli(row.args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(std::string("kelm-calc: ") + row.message), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("--help"), std::string::npos);
  }
}

TEST(Options, HelpListsEveryItemModeAndInputLabelAndExitsZero) {
  const CliRun run = RunCli({"0", "0", "--help"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out.rfind("Usage: kelm-calc [--tsv] ITEM MODE INPUT1 [INPUT2 [INPUT3]]\n", 0), 0u);
  for (int item = 0; item < 4; ++item) {
    EXPECT_NE(run.out.find(std::to_string(item) + " " + CCalcDlg::ItemTexts()[item] + "\n"),
              std::string::npos);
    for (const std::string& mode : CCalcDlg::ModeTexts(item)) {
      EXPECT_NE(run.out.find(mode), std::string::npos) << mode;
    }
  }
  EXPECT_NE(run.out.find("      1 末点温度      起始点压力 [MPa], 起始点温度 [℃], 末点温度 [℃]\n"),
            std::string::npos);
  EXPECT_NE(run.out.find("      3 温度和熵      计算点温度 [℃], 计算点熵 [kJ/(kg*K)]\n"),
            std::string::npos);
  for (const char* option : {"--tsv", "--batch [FILE]", "--version", "Exit status"}) {
    EXPECT_NE(run.out.find(option), std::string::npos) << option;
  }
}

TEST(Options, VersionIsZeroPointEightyFive) {
  const CliRun run = RunCli({"--version"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "kelm-calc 0.85\n");
}

TEST(Quote, KeepsUtf8AndEscapesControlsAndBrokenBytes) {
  struct Row {
    std::string text, quoted;
  };
  const Row rows[] = {
      {"饱和水", "\"饱和水\""},
      {"a\tb\r", "\"a\\x09b\\x0D\""},
      {"\xFF" "1", "\"\\xFF1\""},
      {"\xE9\xA5", "\"\\xE9\\xA5\""},          // a character cut short
      {"\xED\xA0\x80", "\"\\xED\\xA0\\x80\""},  // a surrogate
      {"\xC0\xAF", "\"\\xC0\\xAF\""},          // an overlong '/'
      {"say \"hi\"\\", "\"say \\\"hi\\\"\\\\\""},
      {std::string(70, 'x'), "\"" + std::string(60, 'x') + "...\""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.quoted);
    EXPECT_EQ(Quote(row.text), row.quoted);
  }
}

}  // namespace
