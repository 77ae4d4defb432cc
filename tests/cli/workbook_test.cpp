// kelm-calc --units and --xlsx: the comparison in other units, the form's own output untouched,
// the batch's workbook read back, and a workbook that cannot be written.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "cli/calccli.h"
#include "tests/cli/cli_run.h"
#include "tests/support/xlsx_reader.h"

namespace {

std::string Temporary(const std::string& name) {
  return testing::TempDir() + "kelm_xlsx_" + std::to_string(getpid()) + "_" + name;
}

const std::string kLines = "2\t0\t1\t300\n9\t0\n2\t4\t100\t420\n0\t0\t0.1\n";

}  // namespace

TEST(UnitsOption, TheComparisonTakesThemAndTheFormsOutputDoesNot) {
  const CliRun bar =
      RunCli({"--compare", "--units", "p=barg,atm=0.1,t=K", "2", "0", "1", "300"});
  EXPECT_EQ(bar.status, 0);
  for (const char* line : {"\n压力 bar(表压)      9.000000          9.000000",
                           "\n温度 K              573.150000", "\n饱和压力 bar(表压)  84.926920"})
    EXPECT_NE(bar.out.find(line), std::string::npos) << line << "\n" << bar.out;
  // The default units, named or not, print the same bytes.
  for (const char* option : {"--compare", "--tsv", "--explain"}) {
    EXPECT_EQ(RunCli({"--compare", option, "--units=p=MPa,t=C,h=kJ,v=v", "2", "4", "100", "420"})
                  .out,
              RunCli({"--compare", option, "2", "4", "100", "420"}).out) << option;
  }
  // The form's own output stays in MPa and ℃ (the batch's lines: below).
  EXPECT_EQ(RunCli({"--units", "p=kPa,t=K", "2", "0", "1", "300"}).out,
            RunCli({"2", "0", "1", "300"}).out);
}

TEST(Xlsx, TheBatchWorkbookHoldsEveryCalculatedLineAndStdoutStaysAsItWas) {
  const std::string path = Temporary("batch.xlsx");
  const CliRun plain = RunCli({"--batch"}, kLines);
  const CliRun run = RunCli({"--batch", "--xlsx", path, "--units", "p=kPa,h=kcal"}, kLines);
  EXPECT_EQ(run.out, plain.out);
  EXPECT_EQ(run.err, plain.err);  // line 2 cannot be read, in both
  EXPECT_EQ(run.status, 2);
  const auto sheets = testxlsx::ReadWorkbook(path);
  std::filesystem::remove(path);
  ASSERT_EQ(sheets.size(), 2u);
  const testxlsx::Sheet& rows = sheets[0];
  EXPECT_EQ(rows.rows(), 4);  // the captions and the three calculated lines
  EXPECT_EQ(rows.at("B2").text, "kelm-calc");
  EXPECT_EQ(rows.at("C2").text, "IFC-67");
  EXPECT_EQ(rows.at("G2").value, 1000.0);  // the units given (captions: the layer's tests)
  EXPECT_EQ(rows.at("N3").value, 2.0);  // both solutions of (100 ℃, 420 kJ/kg)
  EXPECT_EQ(rows.at("M4").text, "饱和水");
  EXPECT_EQ(sheets[1].at("B1").text, "kelm 0.85");
  EXPECT_EQ(sheets[1].at("B2").text, "IFC-67（1967 年 IFC 工业用公式）");
  EXPECT_EQ(sheets[1].at("B4").text, "压力 kPa，温度 ℃，焓 kcal/kg，熵 kcal/(kg·K)，比容 m³/kg");
}

TEST(Xlsx, CompareGivesARowPerFormulationAndASingleCalculationOneWorkbook) {
  const std::string path = Temporary("compare.xlsx");
  ASSERT_EQ(RunCli({"--xlsx=" + path, "--compare", "2", "0", "1", "300"}).status, 0);
  const auto sheets = testxlsx::ReadWorkbook(path);
  std::filesystem::remove(path);
  EXPECT_EQ(sheets[0].rows(), 3);
  EXPECT_EQ(sheets[0].at("C2").text, "IFC-67");
  EXPECT_EQ(sheets[0].at("C3").text, "IF97");
  EXPECT_NEAR(sheets[0].at("I3").value, 3051.703186, 5e-7);
  EXPECT_EQ(sheets[1].at("B4").text, "IAPWS-IF97");
}

TEST(Xlsx, AWorkbookThatCannotBeWrittenIsAnErrorAndLeavesNoFile) {
  const std::string dir = Temporary("missing");
  const CliRun run = RunCli({"--batch", "--xlsx", dir + "/a.xlsx"}, "2\t0\t1\t300\n");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, RunCli({"--batch"}, "2\t0\t1\t300\n").out);
  EXPECT_EQ(run.err, "kelm-calc: 无法写入文件 " + dir + "/a.xlsx：文件夹不存在\n");
  EXPECT_FALSE(std::filesystem::exists(dir));
}
