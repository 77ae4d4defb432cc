// kelm-calc --batch --jobs: the recorded batch and RunBatch's line handling, byte for byte, on any
// number of threads; an answer for each line before the next arrives; a failing output.
#include "cli/batchjobs.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <ext/stdio_filebuf.h>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "calc/table.h"
#include "cli/calccli.h"
#include "tests/cli/cli_run.h"
#include "cli/workbook.h"

namespace {

CliRun Batch(const std::string& input, int jobs, const kelmcli::Options& options = {},
               kelmcli::CalcWorkbook* workbook = nullptr) {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = kelmcli::RunBatchJobs(in, out, err, jobs, options, workbook);
  return {status, out.str(), err.str()};
}

std::string ReadFile(const char* path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

// Every kind of line RunBatch treats apart amid the 2000 recorded lines over every item and mode
// (a tenth near the critical point): a byte-order mark, comments (one too long to keep), blank
// and CRLF lines, inputs an item does not use, lines it cannot read, too many fields, a line too
// long, two solutions and a last line without its end. One thread prints the recorded bytes and
// the errors by line number; any number of threads prints what one prints.
TEST(BatchJobs, AnyNumberOfThreadsWritesTheRecordedBytesAndErrors) {
  const std::string mixed = ReadFile(KELM_TEST_DATA "/batch_mixed.tsv"),
                    recorded = ReadFile(KELM_TEST_DATA "/batch_mixed.out");
  ASSERT_FALSE(recorded.empty());
  const auto half = [](const std::string& text) {  // after the 1000th line
    std::size_t at = 0;
    for (int k = 0; k < 1000; ++k) at = text.find('\n', at) + 1;
    return at;
  };
  const std::string items = " (items: 0 饱和水, 1 饱和蒸汽, 2 任意状态水或水蒸汽, 3 等熵焓降末点)";
  const std::string water =
      "0.100000 MPa\t99.631638 ℃\t417.510864 kJ/kg\t1.302708 kJ/(kg*K)\t0.001043 m**3/kg\t饱和水\t1\n";
  const std::string input =
      "\xEF\xBB\xBF" + mixed.substr(0, half(mixed)) + "# item\tmode\r\n0\t0\t0.1\r\n\n   \t \n" +
      "0\t0\t0.1\t不用\t99\n2\t4\r\n0\t0\t0.1\t2\t3\t4\n\xFF\x01\rx\t0\t1\n #0\t0\t0.1\n0\t0\t" +
      std::string(70000, '1') + "\n# " + std::string(70000, 'c') + "\n2\t4\t100\t420\r\n" +
      mixed.substr(half(mixed)) + "0\t0\t0.1";
  std::string wantOut = water + water, wantErr;
  for (const auto& [line, message] : std::initializer_list<std::pair<int, std::string>>{
           {1006, "input 1 (计算点温度, ℃) left empty"},
           {1007, "more than five tab-separated fields (ITEM, MODE, INPUT1, INPUT2, INPUT3)"},
           {1008, "unknown item \"\\xFF\\x01\\x0Dx\"" + items},
           {1009, "unknown item \" #0\"" + items},
           {1010, "line longer than 65536 bytes"}}) {
    wantOut += "error\t" + message + "\n";
    wantErr += "kelm-calc: line " + std::to_string(line) + ": " + message + "\n";
  }
  wantOut += "0.101325 MPa\t100.000000 ℃\t420.000000 kJ/kg\t1.309377 kJ/(kg*K)\t0.001737 m**3/kg\t"
             "饱和水或饱和蒸汽或湿蒸汽,干度=0.000414\t2\t1.348398 MPa\t420.000000 kJ/kg\t"
             "1.305890 kJ/(kg*K)\t0.001043 m**3/kg\t不饱和水\n";  // two solutions
  const CliRun one = Batch(input, 1);
  EXPECT_EQ(one.status, kelmcli::kExitUsage);
  const std::size_t at = half(recorded);
  // On a difference, GoogleTest prints the lines around it.
  EXPECT_EQ(one.out, recorded.substr(0, at) + wantOut + recorded.substr(at) + water);
  EXPECT_EQ(one.err, wantErr);
  for (int jobs : {2, 3, 4, 16}) {
    SCOPED_TRACE(jobs);
    const CliRun many = Batch(input, jobs);
    EXPECT_EQ(many.status, one.status);
    EXPECT_EQ(many.err, one.err);
    EXPECT_TRUE(many.out == one.out);  // 2000 lines: no dump of both
  }
  // Both formulations with the reasons, and the workbook's rows in input order.
  const kelmcli::Options compare{calc::Formulation::IF97, true, true, {}};
  kelmcli::CalcWorkbook bookOne(compare), bookMany(compare);
  const CliRun oneCompared = Batch(input, 1, compare, &bookOne);
  const CliRun manyCompared = Batch(input, 3, compare, &bookMany);
  EXPECT_EQ(manyCompared.err, oneCompared.err);
  EXPECT_TRUE(manyCompared.out == oneCompared.out);
  ASSERT_EQ(bookOne.Rows().size(), 2 * 2004u);
  const auto table = [](std::vector<calc::RecordRow> rows) {
    for (calc::RecordRow& row : rows) row.time = 0;  // the two runs' clocks differ
    return calc::ToTsv(calc::RecordTable(rows, {}));
  };
  EXPECT_TRUE(table(bookMany.Rows()) == table(bookOne.Rows()));
  EXPECT_EQ(Batch("", 4).out + Batch("# only\n\n", 4).out, "");
}

// What a reader of the pipe `fd` has received once `lines` line ends have come, or after 20 s.
std::string Receive(int fd, long lines) {
  std::string got;
  char buffer[4096];
  pollfd ready{fd, POLLIN, 0};
  while (std::count(got.begin(), got.end(), '\n') < lines && poll(&ready, 1, 20000) > 0) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    got.append(buffer, std::size_t(n));
  }
  return got;
}

TEST(BatchJobs, AnswersEachLineBeforeTheNextArrives) {
  int input[2], output[2];
  ASSERT_EQ(pipe(input) | pipe(output), 0);
  __gnu_cxx::stdio_filebuf<char> reading(input[0], std::ios::in), writing(output[1], std::ios::out);
  std::istream in(&reading);
  std::ostream out(&writing);
  std::ostringstream err;
  std::thread batch([&] { kelmcli::RunBatchJobs(in, out, err, 3); });
  EXPECT_EQ(write(input[1], "0\t0\t0.1\n", 8), 8);
  const std::string first = Receive(output[0], 1);
  EXPECT_EQ(write(input[1], "# c\n9\n", 6), 6);
  const std::string second = Receive(output[0], 1);
  close(input[1]);
  batch.join();
  close(output[0]);
  EXPECT_EQ(first.substr(0, 14), "0.100000 MPa\t9");
  EXPECT_EQ(second.rfind("error\tunknown item \"9\"", 0), 0u);
}

TEST(BatchJobs, StopsOnceWhenTheOutputFails) {
  std::string input;
  for (int k = 0; k < 3000; ++k) input += "0\t0\t0.1\n9\n";
  std::ostream broken(nullptr);
  for (int jobs : {1, 4}) {
    std::istringstream in(input);
    std::ostringstream err;
    EXPECT_EQ(kelmcli::RunBatchJobs(in, broken, err, jobs), kelmcli::kExitUsage);
    EXPECT_EQ(err.str(), "kelm-calc: cannot write the output\n") << jobs;
  }
}

TEST(BatchJobs, OptionTakesOneToMaxThreads) {
  int jobs = 0;
  for (const char* bad : {"", "0", "-1", "+2", "1025", "99999", "2x", " 2", "1.5"})
    EXPECT_FALSE(kelmcli::ParseJobs(bad, jobs)) << bad;
  EXPECT_TRUE(kelmcli::ParseJobs("1", jobs) && jobs == 1);
  EXPECT_TRUE(kelmcli::ParseJobs("1024", jobs) && jobs == 1024);
  EXPECT_GE(kelmcli::DefaultJobs(), 1);

  // The option's value is read as the option's, and "--" still ends the options.
  std::istringstream in("0\t0\t0.1\n");
  std::ostringstream out, err;
  EXPECT_EQ(kelmcli::RunCommandLine({"--jobs", "3", "--batch", "--", "-"}, in, out, err), 0);
  EXPECT_EQ(out.str().rfind("0.100000 MPa\t", 0), 0u);
}

}  // namespace
