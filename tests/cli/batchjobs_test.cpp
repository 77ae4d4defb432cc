// kelm-calc --batch --jobs: what RunBatch writes, byte for byte, on any number of threads; an
// answer for each line before the next arrives; a failing output; the option's usage errors.
#include "cli/batchjobs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "calc/table.h"
#include "cli/calccli.h"
#include "cli/workbook.h"

namespace {

struct BatchRun {
  int status;
  std::string out, err;
};

BatchRun Batch(const std::string& input, int jobs, const kelmcli::Options& options = {},
               kelmcli::CalcWorkbook* workbook = nullptr) {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = kelmcli::RunBatchJobs(in, out, err, jobs, options, workbook);
  return {status, out.str(), err.str()};
}

// The recorded mixed batch with every kind of line RunBatch treats apart: a byte-order mark,
// comments (one too long to keep), blank and CRLF lines, lines it cannot read, too many fields,
// a line too long, and a last line without its end.
std::string MixedBatchWithErrors() {
  std::ifstream file(KELM_TEST_DATA "/batch_mixed.tsv", std::ios::binary);
  const std::string mixed{std::istreambuf_iterator<char>(file), {}};
  const std::size_t half = mixed.find('\n', mixed.size() / 2) + 1;
  std::string input = "\xEF\xBB\xBF# item\tmode\r\n" + mixed.substr(0, half) +
                      "\n  \t\r\n9\t0\t1\n2\t4\r\n0\t0\t0.1\t2\t3\t4\n0\t0\t" +
                      std::string(70000, '1') + "\n# " + std::string(70000, 'c') + "\n" +
                      mixed.substr(half) + "x\n2\t4\t100\t420\r\n3\t0\t1\t300\t5";
  return input;
}

TEST(BatchJobs, AnyNumberOfThreadsWritesWhatOneWrites) {
  const std::string input = MixedBatchWithErrors();
  const BatchRun one = Batch(input, 1);
  ASSERT_EQ(one.status, kelmcli::kExitUsage);
  ASSERT_EQ(std::count(one.err.begin(), one.err.end(), '\n'), 5);
  ASSERT_EQ(std::count(one.out.begin(), one.out.end(), '\n'), 2000 + 7);
  for (int jobs : {2, 3, 4, 16}) {
    SCOPED_TRACE(jobs);
    const BatchRun many = Batch(input, jobs);
    EXPECT_EQ(many.status, one.status);
    EXPECT_EQ(many.err, one.err);
    EXPECT_TRUE(many.out == one.out);  // 2000 lines: no dump of both
  }
  // Both formulations with the reasons, and the workbook's rows in input order.
  const kelmcli::Options compare{calc::Formulation::IF97, true, true};
  kelmcli::CalcWorkbook bookOne(compare), bookMany(compare);
  const BatchRun oneCompared = Batch(input, 1, compare, &bookOne);
  const BatchRun manyCompared = Batch(input, 3, compare, &bookMany);
  EXPECT_EQ(manyCompared.err, oneCompared.err);
  EXPECT_TRUE(manyCompared.out == oneCompared.out);
  ASSERT_EQ(bookOne.Rows().size(), 2 * 2002u);
  EXPECT_TRUE(calc::ToTsv(calc::RecordTable(bookMany.Rows(), {})) ==
              calc::ToTsv(calc::RecordTable(bookOne.Rows(), {})));
  const BatchRun clean = Batch("0\t0\t0.1\n", 4);
  EXPECT_EQ(clean.status, kelmcli::kExitOk);
  EXPECT_EQ(Batch("", 4).out + Batch("# only\n\n", 4).out, "");
}

// An input that hands out the lines the test gives it, and waits while it has none.
class CPipe : public std::streambuf {
 public:
  void Give(const std::string& text, bool close = false) {
    std::lock_guard lock(mutex_);
    pending_ += text;
    closed_ = close;
    changed_.notify_all();
  }

 protected:
  int_type underflow() override {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return closed_ || !pending_.empty(); });
    if (pending_.empty()) return traits_type::eof();
    current_ = pending_.substr(0, 1);
    pending_.erase(0, 1);
    setg(current_.data(), current_.data(), current_.data() + 1);
    return traits_type::to_int_type(current_[0]);
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::string pending_, current_;
  bool closed_ = false;
};

// An output whose flushed text the test can wait for.
class CWatchedOutput : public std::stringbuf {
 public:
  bool WaitFor(std::size_t lines) {
    std::unique_lock lock(mutex_);
    return flushed_.wait_for(lock, std::chrono::seconds(20), [&] { return lines_ >= lines; });
  }

 protected:
  int sync() override {
    std::lock_guard lock(mutex_);
    const std::string text = str();
    lines_ = std::count(text.begin(), text.end(), '\n');
    flushed_.notify_all();
    return 0;
  }

 private:
  std::mutex mutex_;
  std::condition_variable flushed_;
  std::size_t lines_ = 0;
};

TEST(BatchJobs, AnswersEachLineBeforeTheNextArrives) {
  CPipe pipe;
  CWatchedOutput watched;
  std::istream in(&pipe);
  std::ostream out(&watched);
  std::ostringstream err;
  int status = -1;
  std::thread batch([&] { status = kelmcli::RunBatchJobs(in, out, err, 3); });
  pipe.Give("0\t0\t0.1\n");
  const bool first = watched.WaitFor(1);
  pipe.Give("# c\n9\n");
  const bool second = watched.WaitFor(2);
  pipe.Give("", true);
  batch.join();
  EXPECT_TRUE(first);
  EXPECT_TRUE(second);
  EXPECT_EQ(status, kelmcli::kExitUsage);
  EXPECT_EQ(watched.str().substr(0, 14), "0.100000 MPa\t9");
  EXPECT_EQ(err.str().rfind("kelm-calc: line 3: unknown item \"9\"", 0), 0u);
}

TEST(BatchJobs, StopsOnceWhenTheOutputFails) {
  std::string input;
  for (int k = 0; k < 3000; ++k) input += "0\t0\t0.1\n9\n";
  std::istringstream in(input);
  std::ostream broken(nullptr);
  std::ostringstream err;
  EXPECT_EQ(kelmcli::RunBatchJobs(in, broken, err, 4), kelmcli::kExitUsage);
  EXPECT_EQ(err.str(), "kelm-calc: cannot write the output\n");
}

TEST(BatchJobs, OptionTakesOneToMaxThreadsAndOnlyWithBatch) {
  int jobs = 0;
  for (const char* bad : {"", "0", "-1", "+2", "1025", "99999", "2x", " 2", "1.5"})
    EXPECT_FALSE(kelmcli::ParseJobs(bad, jobs)) << bad;
  EXPECT_TRUE(kelmcli::ParseJobs("1", jobs) && jobs == 1);
  EXPECT_TRUE(kelmcli::ParseJobs("1024", jobs) && jobs == 1024);
  EXPECT_GE(kelmcli::DefaultJobs(), 1);

  const std::pair<std::vector<std::string>, const char*> usage[] = {
      {{"--batch", "--jobs", "0"}, "--jobs takes a number of threads from 1 to 1024\n"},
      {{"--batch", "--jobs"}, "--jobs takes a number of threads from 1 to 1024\n"},
      {{"--jobs", "2", "0", "0", "0.1"}, "--jobs only with --batch\n"},
  };
  for (const auto& [args, message] : usage) {
    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_EQ(kelmcli::RunCommandLine(args, in, out, err), kelmcli::kExitUsage);
    EXPECT_EQ(err.str().rfind(std::string("kelm-calc: ") + message, 0), 0u) << err.str();
  }
  // The option's value is read as the option's, and "--" still ends the options.
  std::istringstream in("0\t0\t0.1\n");
  std::ostringstream out, err;
  EXPECT_EQ(kelmcli::RunCommandLine({"--jobs", "3", "--batch", "--", "-"}, in, out, err), 0);
  EXPECT_EQ(out.str().rfind("0.100000 MPa\t", 0), 0u);
  EXPECT_NE(kelmcli::HelpText().find("  --jobs N        with --batch"), std::string::npos);
}

}  // namespace
