// kelm-calc: layouts, options and usage errors; the batch's flushing and write errors; the real
// executable's exit statuses and UTF-8 bytes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/calccli.h"
#include "tests/cli/cli_run.h"

namespace {

TEST(SingleCalculation, PrintsEachCaptionBesideTheFormsTextAndTheSecondSolution) {
  const CliRun two = RunCli({"任意状态水或水蒸汽", "温度和焓", "100", "420"});
  EXPECT_EQ(two.status, 0);
  EXPECT_EQ(two.out,
            "压力  0.101325 MPa\n温度  100.000000 ℃\n焓值  420.000000 kJ/kg\n"
            "熵    1.309377 kJ/(kg*K)\n比容  0.001737 m**3/kg\n"
            "状态  饱和水或饱和蒸汽或湿蒸汽,干度=0.000414\n第二解\n压力  1.348398 MPa\n"
            "焓值  420.000000 kJ/kg\n熵    1.305890 kJ/(kg*K)\n比容  0.001043 m**3/kg\n"
            "状态  不饱和水\n");
  // An empty field (no solution) gives its caption alone.
  EXPECT_EQ(RunCli({"2", "4", "100", "300"}).out,
            "压力\n温度  100.000000 ℃\n焓值  300.000000 kJ/kg\n熵\n比容\n状态  未知\n");
}

TEST(SingleCalculation, UsageErrorsExitWithTwoAndSayWhy) {
  const std::pair<std::vector<std::string>, const char*> rows[] = {
      {{"7", "0", "1"},
       "unknown item \"7\" (items: 0 饱和水, 1 饱和蒸汽, 2 任意状态水或水蒸汽, 3 等熵焓降末点)"},
      {{" 0", "0", "1"}, "unknown item \" 0\""},
      {{"0", "2", "1"}, "unknown mode \"2\" of item 饱和水 (modes: 0 压力, 1 温度)"},
      {{"3", "压力", "1", "2", "3"}, "unknown mode \"压力\" of item 等熵焓降末点"},
      {{"0", "0"}, "missing input 1 (计算点压力, MPa): 饱和水 takes 1 input\n"},
      {{"2", "4", "100"}, "missing input 2 (计算点焓, kJ/kg): 任意状态水或水蒸汽 takes 2 inputs\n"},
      {{"0", "0", "0.1", "5"}, "extra input \"5\": 饱和水 takes 1 input\n"},
      {{"3", "1", "1", "300", ""}, "input 3 (末点温度, ℃) left empty\n"},
      {{"3", "0", "1", "", "0.1"}, "input 2 (起始点温度, ℃) left empty\n"},
      {{}, "missing ITEM and MODE\n"},
      {{"0"}, "missing MODE\n"},
      {{"--frobnicate"}, "unknown option \"--frobnicate\"\n"},
      {{"--batch", "a", "b"}, "--batch takes at most one FILE\n"},
      {{"--batch", "/nonexistent/kelm.tsv"}, "cannot open \"/nonexistent/kelm.tsv\"\n"},
      {{"--batch", "/"}, "\"/\" is a directory\n"},
      {{"--formulation"}, "--formulation needs ifc67 or if97\n"},
      {{"--formulation=if67", "0", "0", "1"}, "unknown formulation \"if67\" (ifc67 or if97)\n"},
      {{"--units"}, "--units needs units such as p=barg,t=K\n"},
      {{"--units=p=psi", "0", "0", "0.1"}, "bad unit \"p=psi\""},
      {{"--xlsx"}, "--xlsx needs a FILE\n"},
      {{"--xlsx=", "0", "0", "0.1"}, "--xlsx needs a FILE\n"},
      {{"--batch", "--jobs", "0"}, "--jobs takes a number of threads from 1 to 1024\n"},
      {{"--batch", "--jobs"}, "--jobs takes a number of threads from 1 to 1024\n"},
      {{"--jobs", "2", "0", "0", "0.1"}, "--jobs only with --batch\n"},
  };
  for (const auto& [args, message] : rows) {
    SCOPED_TRACE(message);
    const CliRun run = RunCli(args);
    EXPECT_EQ(std::to_string(run.status) + run.out, "2");
    EXPECT_EQ(run.err.rfind(std::string("kelm-calc: ") + message, 0), 0u) << run.err;
    EXPECT_NE(run.err.find("\nTry 'kelm-calc --help' for more information.\n"), std::string::npos);
  }
}

TEST(Options, HelpShowsTheFormsTableThenTheToolsAndVersionIsZeroPointEightyFive) {
  const CliRun help = RunCli({"0", "0", "--help"});
  const std::string& h = help.out;
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(h.rfind("Usage: kelm-calc [--tsv] ITEM MODE INPUT1 [INPUT2 [INPUT3]]\n", 0), 0u);
  for (const char* line : {"  2 任意状态水或水蒸汽\n",
                           "      3 温度和熵      计算点温度 [℃], 计算点熵 [kJ/(kg*K)]\n",
                           "      1 末点温度      起始点压力 [MPa], 起始点温度 [℃], 末点温度 [℃]\n",
                           "\nTurbine expansion:\n  kelm-calc expand [OPTIONS] P1 T1 P2 ETA",
                           "\nSteam tables:\n  kelm-calc table"}) {
    EXPECT_NE(h.find(line), std::string::npos) << line;
  }
  // The tools after the form's part; the same help after a tool's name.
  EXPECT_LT(h.find("locale.\n"), h.find("\nTurbine expansion:"));
  EXPECT_LT(h.find("\nTurbine expansion:"), h.find("\nSteam tables:"));
  EXPECT_EQ(RunCli({"expand", "--help"}).out, h);
  EXPECT_EQ(RunCli({"--version"}).out, "kelm-calc 0.85\n");
}

TEST(Quote, KeepsUtf8AndEscapesControlsAndBrokenBytes) {
  EXPECT_EQ(Quote("饱和水\t\xFF" "1\xE9\xA5"), "\"饱和水\\x09\\xFF1\\xE9\\xA5\"");  // cut short
  EXPECT_EQ(Quote("\xED\xA0\x80\xC0\xAF"), "\"\\xED\\xA0\\x80\\xC0\\xAF\"");  // surrogate, overlong
  EXPECT_EQ(Quote("say \"hi\"\\"), "\"say \\\"hi\\\"\\\\\"");
  EXPECT_EQ(Quote(std::string(70, 'x')), "\"" + std::string(60, 'x') + "...\"");
}

// An output that notes, at each flush, how many lines it holds.
struct CFlushLog : std::stringbuf {
  int sync() override {
    const std::string text = str();
    linesAtFlush.push_back(std::count(text.begin(), text.end(), '\n'));
    return 0;
  }
  std::vector<long> linesAtFlush;
};

TEST(Batch, FlushesEveryLineAndASingleCalculationReportsAFailedOutput) {
  CFlushLog log;
  std::ostream out(&log);
  std::istringstream in("0\t1\t100\n# c\n9\n2\t0\t1\t300\n"), none;
  std::ostringstream err;
  EXPECT_EQ(kelmcli::RunBatch(in, out, err), kelmcli::kExitUsage);
  EXPECT_EQ(log.linesAtFlush, (std::vector<long>{1, 2, 3}));
  std::ostream broken(nullptr);
  std::ostringstream singleErr;
  EXPECT_EQ(kelmcli::RunCommandLine({"0", "0", "0.1"}, none, broken, singleErr), 2);
  EXPECT_EQ(singleErr.str(), "kelm-calc: cannot write the output\n");
}

// The text of a file, which is then removed.
std::string Take(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  std::remove(path.c_str());
  return text;
}

// `args` as a shell command line's words (quoted by the caller where needed).
CliRun RunKelmCalc(const std::string& args, const std::string& in = "/dev/null") {
  const std::string base = testing::TempDir() + "kelm_cli_" + std::to_string(getpid());
  const int status = std::system((std::string(KELM_CALC_PATH) + " " + args + " <" + in + " >" +
                                  base + ".out 2>" + base + ".err").c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Take(base + ".out"), Take(base + ".err")};
}

TEST(Executable, ExitStatusesAndUtf8OutputAsAShellSeesThem) {
  const CliRun ok = RunKelmCalc("饱和水 温度 100");
  EXPECT_EQ(ok.status, 0);
  EXPECT_EQ(ok.out.rfind("\xE5\x8E\x8B\xE5\x8A\x9B  0.101325 MPa\n"  // 压力
                         "\xE6\xB8\xA9\xE5\xBA\xA6  100.000000 \xE2\x84\x83\n",  // 温度 … ℃
                         0), 0u);
  // A failure shown exits with 1; a negative number is an input, "--" ends the options.
  EXPECT_EQ(RunKelmCalc("--tsv 0 1 -5").out.rfind("1.000000 MPa\t-5.000000 ℃\t", 0), 0u);
  const CliRun dashed = RunKelmCalc("--tsv -- 0 0 --help");
  EXPECT_EQ(dashed.out.rfind("0.000000 MPa\t10.000000 ℃\t", 0), 0u);
  EXPECT_EQ(dashed.status, 1);
  // A batch from a file; an unreadable line makes the status 2.
  const std::string path = testing::TempDir() + "kelm_cli_batch_" + std::to_string(getpid());
  std::ofstream(path, std::ios::binary) << "0\t1\t100\n9\n";
  const CliRun fromFile = RunKelmCalc("--batch " + path);
  std::remove(path.c_str());
  EXPECT_EQ(fromFile.status, 2);
  EXPECT_EQ(fromFile.out.rfind("0.101325 MPa\t100.000000 ℃\t", 0), 0u);
}

}  // namespace
