#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/calccli.h"
#include "tests/cli/cli_form.h"

namespace {

struct BatchRun {
  int status;
  std::string out, err;
};

BatchRun RunBatchOn(const std::string& input, std::vector<std::string> args = {"--batch"}) {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = kelmcli::RunCommandLine(args, in, out, err);
  return {status, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// One line of a batch file and what it must give: a calculation (item, mode and the inputs the
// form gets), an error whose message starts as given, or nothing (skipped).
struct BatchRow {
  std::string line;
  enum { kCalc, kError, kSkipped } kind;
  int item = 0, mode = 0;
  std::vector<std::string> inputs = {};
  std::string error = {};
};

const std::vector<BatchRow> kMixedBatch = {
    {"# item\tmode\tinput 1\tinput 2\tinput 3", BatchRow::kSkipped},
    {"0\t0\t0.1", BatchRow::kCalc, 0, 0, {"0.1"}},
    {"饱和水\t温度\t100", BatchRow::kCalc, 0, 1, {"100"}},
    {"", BatchRow::kSkipped},
    {"1\t压力\t 1 MPa ", BatchRow::kCalc, 1, 0, {" 1 MPa "}},
    {"饱和蒸汽\t1\t100", BatchRow::kCalc, 1, 1, {"100"}},
    {"   \t ", BatchRow::kSkipped},
    {"2\t0\t1\t200", BatchRow::kCalc, 2, 0, {"1", "200"}},
    {"任意状态水或水蒸汽\t压力和熵\t0.1\t4\t不用的输入", BatchRow::kCalc, 2, 1, {"0.1", "4"}},
    {"2\t2\t1\t3000", BatchRow::kCalc, 2, 2, {"1", "3000"}},
    {"#2\t2\t1\t3000", BatchRow::kSkipped},
    {"2\t温度和熵\t200\t7", BatchRow::kCalc, 2, 3, {"200", "7"}},
    {"2\t4\t100\t420", BatchRow::kCalc, 2, 4, {"100", "420"}},  // two solutions
    {"2\t4\t300\t3000", BatchRow::kCalc, 2, 4, {"300", "3000"}},
    {"2\t4\t100\t5000", BatchRow::kCalc, 2, 4, {"100", "5000"}},  // none
    {"3\t0\t1\t300\t0.1", BatchRow::kCalc, 3, 0, {"1", "300", "0.1"}},
    {"等熵焓降末点\t末点温度\t1\t300\t100", BatchRow::kCalc, 3, 1, {"1", "300", "100"}},
    // Failures shown by the form are results, not errors.
    {"0\t0\t0", BatchRow::kCalc, 0, 0, {"0"}},
    {"0\t0\t压力", BatchRow::kCalc, 0, 0, {"压力"}},
    {"3\t0\t0.1\t300\t1", BatchRow::kCalc, 3, 0, {"0.1", "300", "1"}},
    // Unused inputs are ignored, as the form ignores its disabled inputs.
    {"0\t0\t0.1\t不用\t99", BatchRow::kCalc, 0, 0, {"0.1"}},
    {"0\t0\t0.1\t\t", BatchRow::kCalc, 0, 0, {"0.1"}},
    // Lines that cannot be read.
    {"9\t0\t1", BatchRow::kError, 0, 0, {}, "unknown item \"9\""},
    {"饱和\t0\t1", BatchRow::kError, 0, 0, {}, "unknown item \"饱和\""},
    {"0\t5\t1", BatchRow::kError, 0, 0, {}, "unknown mode \"5\" of item 饱和水"},
    {"0", BatchRow::kError, 0, 0, {}, "unknown mode \"\" of item 饱和水"},
    {"0\t0", BatchRow::kError, 0, 0, {}, "input 1 (计算点压力, MPa) left empty"},
    {"0\t0\t", BatchRow::kError, 0, 0, {}, "input 1 (计算点压力, MPa) left empty"},
    {"2\t4\t100", BatchRow::kError, 0, 0, {}, "input 2 (计算点焓, kJ/kg) left empty"},
    {"3\t1\t1\t\t100", BatchRow::kError, 0, 0, {}, "input 2 (起始点温度, ℃) left empty"},
    {"0\t0\t0.1\t2\t3\t4", BatchRow::kError, 0, 0, {}, "more than five tab-separated fields"},
    {"0 0 0.1", BatchRow::kError, 0, 0, {}, "unknown item \"0 0 0.1\""},
    {" #0\t0\t0.1", BatchRow::kError, 0, 0, {}, "unknown item \" #0\""},
    {"2\t0\t25\t500", BatchRow::kCalc, 2, 0, {"25", "500"}},
};

TEST(Batch, MixedFileGivesOneLinePerCalculationLineInOrder) {
  std::string input;
  for (const BatchRow& row : kMixedBatch) input += row.line + "\n";
  const BatchRun run = RunBatchOn(input);
  EXPECT_EQ(run.status, 2);  // some lines could not be read

  const std::vector<std::string> out = Lines(run.out);
  const std::vector<std::string> err = Lines(run.err);
  std::size_t o = 0, e = 0;
  bool sawTwo = false, sawFailure = false;
  for (std::size_t i = 0; i < kMixedBatch.size(); ++i) {
    const BatchRow& row = kMixedBatch[i];
    SCOPED_TRACE(testing::Message() << "line " << i + 1 << ": " << row.line);
    if (row.kind == BatchRow::kSkipped) continue;
    ASSERT_LT(o, out.size());
    if (row.kind == BatchRow::kCalc) {
      const ShownOnForm shown = ShowOnForm(row.item, row.mode, row.inputs);
      sawTwo = sawTwo || shown.solutions == 2;
      sawFailure = sawFailure || IsFailureText(shown.first[5]);
      EXPECT_EQ(out[o++], ExpectedTsv(shown));
    } else {
      EXPECT_EQ(out[o++].rfind("error\t" + row.error, 0), 0u) << out[o - 1];
      ASSERT_LT(e, err.size());
      EXPECT_EQ(err[e++].rfind("kelm-calc: line " + std::to_string(i + 1) + ": " + row.error, 0), 0u)
          << err[e - 1];
    }
  }
  EXPECT_EQ(o, out.size());
  EXPECT_EQ(e, err.size());
  EXPECT_TRUE(sawTwo);
  EXPECT_TRUE(sawFailure);
}

TEST(Batch, CalculationFailuresAloneLeaveTheStatusZero) {
  const BatchRun run = RunBatchOn("0\t0\t0\n0\t1\t100\n2\t0\t1\t900\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], ExpectedTsv(ShowOnForm(0, 0, {"0"})));
  EXPECT_EQ(lines[2], ExpectedTsv(ShowOnForm(2, 0, {"1", "900"})));
}

TEST(Batch, EmptyInputAndCommentsOnlyWriteNothing) {
  for (const char* input : {"", "\n\n", "# nothing\n\t\n  \n", "# no line end"}) {
    SCOPED_TRACE(input);
    const BatchRun run = RunBatchOn(input);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
  }
}

TEST(Batch, ToleratesCrLfLineEndsAByteOrderMarkAndAMissingLastLineEnd) {
  const std::string expected = ExpectedTsv(ShowOnForm(0, 1, {"100"})) + "\n";
  const BatchRun run = RunBatchOn("\xEF\xBB\xBF饱和水\t温度\t100\r\n# c\r\n\r\n饱和水\t温度\t100");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, expected + expected);
  // A mark anywhere but at the very start is part of the item text.
  EXPECT_EQ(RunBatchOn("0\t1\t100\n\xEF\xBB\xBF" "0\t1\t100\n").status, 2);
}

TEST(Batch, OverlongLineIsAnErrorAndTheRunGoesOn) {
  const std::string input = "0\t0\t" + std::string(70000, '1') + "\n# " + std::string(70000, 'c') +
                            "\n0\t0\t0.1\n";
  const BatchRun run = RunBatchOn(input);
  EXPECT_EQ(run.status, 2);
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "error\tline longer than 65536 bytes");
  EXPECT_EQ(lines[1], ExpectedTsv(ShowOnForm(0, 0, {"0.1"})));
  EXPECT_EQ(run.err, "kelm-calc: line 1: line longer than 65536 bytes\n");
}

TEST(Batch, ErrorMessagesStayOnOneLine) {
  // Control characters and bytes that are not UTF-8 are escaped, never copied into the output.
  const BatchRun run = RunBatchOn("\xFF\x01\rx\t0\t1\n");
  EXPECT_EQ(run.out.rfind("error\tunknown item \"\\xFF\\x01\\x0Dx\"", 0), 0u) << run.out;
  EXPECT_EQ(Lines(run.out).size(), 1u);
  EXPECT_EQ(Lines(run.err).size(), 1u);
}

TEST(Batch, ReadsAFileOrStandardInput) {
  const std::string path =
      testing::TempDir() + "kelm_cli_" + std::to_string(getpid()) + "_batch_file.tsv";
  {
    std::ofstream file(path, std::ios::binary);
    file << "0\t0\t0.1\n3\t0\t1\t300\t0.1\n";
  }
  const std::string expected = ExpectedTsv(ShowOnForm(0, 0, {"0.1"})) + "\n" +
                               ExpectedTsv(ShowOnForm(3, 0, {"1", "300", "0.1"})) + "\n";
  const BatchRun fromFile = RunBatchOn("9\t9\t9\n", {"--batch", path});
  EXPECT_EQ(fromFile.status, 0);
  EXPECT_EQ(fromFile.out, expected);
  const BatchRun fromDash = RunBatchOn("0\t0\t0.1\n3\t0\t1\t300\t0.1\n", {"--tsv", "--batch", "-"});
  EXPECT_EQ(fromDash.out, expected);
  std::remove(path.c_str());
}

TEST(Batch, StopsWithStatusTwoWhenTheOutputCannotBeWritten) {
  std::istringstream in("0\t0\t0.1\n0\t0\t0.1\n");
  std::ostream out(nullptr);  // every write fails
  std::ostringstream err;
  EXPECT_EQ(kelmcli::RunBatch(in, out, err), 2);
  EXPECT_EQ(err.str(), "kelm-calc: cannot write the output\n");  // once: the run stops
  std::istringstream none;
  std::ostringstream singleErr;
  EXPECT_EQ(kelmcli::RunCommandLine({"0", "0", "0.1"}, none, out, singleErr), 2);
  EXPECT_EQ(singleErr.str(), "kelm-calc: cannot write the output\n");
}

}  // namespace
