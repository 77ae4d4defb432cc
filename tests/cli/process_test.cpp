// The real kelm-calc executable: exit statuses as a shell sees them, streaming, and memory that
// stays flat over a long batch.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/cli/cli_form.h"

extern char** environ;

namespace {

struct ProcessRun {
  int status = -1;   // exit status, −1 when killed by a signal
  long maxRssKb = 0;  // peak resident set of the child
};

// Runs kelm-calc with standard input, output and error connected to files.
ProcessRun RunKelmCalc(const std::vector<std::string>& args, const std::string& inPath,
                       const std::string& outPath, const std::string& errPath) {
  std::vector<std::string> argStrings{KELM_CALC_PATH};
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : argStrings) argv.push_back(arg.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  // Under AddressSanitizer freed memory waits in a quarantine of up to 256 MB, which would look
  // like growth; without it the sanitised run measures the program's own memory too.
  std::vector<std::string> envStrings{"ASAN_OPTIONS=quarantine_size_mb=0"};
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (std::string(*entry).rfind("ASAN_OPTIONS=", 0) != 0) envStrings.emplace_back(*entry);
  }
  std::vector<char*> envp;
  for (std::string& entry : envStrings) envp.push_back(entry.data());
  envp.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, KELM_CALC_PATH, &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ProcessRun run;
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << KELM_CALC_PATH;
    return run;
  }
  int wstatus = 0;
  rusage usage{};
  wait4(pid, &wstatus, 0, &usage);
  run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  run.maxRssKb = usage.ru_maxrss;
  return run;
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// Named by process so that test runs of several build trees at once do not share files.
std::string Temp(const char* name) {
  return testing::TempDir() + "kelm_cli_" + std::to_string(getpid()) + "_" + name;
}

TEST(Executable, ExitStatusesAsAShellSeesThem) {
  const std::string none = "/dev/null", out = Temp("status.out"), err = Temp("status.err");
  EXPECT_EQ(RunKelmCalc({"0", "0", "0.1"}, none, out, err).status, 0);
  EXPECT_EQ(ReadFile(out).rfind("压力  0.100000 MPa\n", 0), 0u);
  EXPECT_EQ(RunKelmCalc({"0", "0", "0"}, none, out, err).status, 1);
  EXPECT_EQ(RunKelmCalc({"0", "0"}, none, out, err).status, 2);
  EXPECT_EQ(ReadFile(out), "");
  EXPECT_NE(ReadFile(err).find("missing input 1"), std::string::npos);
  EXPECT_EQ(RunKelmCalc({"--version"}, none, out, err).status, 0);
  EXPECT_EQ(ReadFile(out), "kelm-calc 0.85\n");
}

TEST(Executable, BatchWritesEachResultBeforeTheNextLineArrives) {
  int toChild[2], fromChild[2];
  ASSERT_EQ(pipe(toChild), 0);
  ASSERT_EQ(pipe(fromChild), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, toChild[0], 0);
  posix_spawn_file_actions_adddup2(&actions, fromChild[1], 1);
  posix_spawn_file_actions_addclose(&actions, toChild[1]);
  posix_spawn_file_actions_addclose(&actions, fromChild[0]);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::string program = KELM_CALC_PATH, option = "--batch";
  char* argv[] = {program.data(), option.data(), nullptr};
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, KELM_CALC_PATH, &actions, nullptr, argv, environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  close(toChild[0]);
  close(fromChild[1]);

  const char* lines[] = {"0\t0\t0.1\n", "# comment\n2\t4\t100\t420\n", "9\t0\t1\n"};
  const std::string expected[] = {ExpectedTsv(ShowOnForm(0, 0, {"0.1"})) + "\n",
                                  ExpectedTsv(ShowOnForm(2, 4, {"100", "420"})) + "\n",
                                  "error\tunknown item \"9\""};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    ASSERT_EQ(write(toChild[1], lines[i], std::char_traits<char>::length(lines[i])),
              static_cast<ssize_t>(std::char_traits<char>::length(lines[i])));
    // The input stays open: the answer must come while kelm-calc waits for more.
    std::string got;
    while (got.empty() || got.back() != '\n') {
      pollfd ready{fromChild[0], POLLIN, 0};
      ASSERT_EQ(poll(&ready, 1, 20000), 1) << "no output within 20 s; got " << got;
      char buffer[4096];
      const ssize_t n = read(fromChild[0], buffer, sizeof buffer);
      ASSERT_GT(n, 0);
      got.append(buffer, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(got.rfind(expected[i], 0), 0u) << got;
  }
  close(toChild[1]);
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  close(fromChild[0]);
  ASSERT_TRUE(WIFEXITED(wstatus));
  EXPECT_EQ(WEXITSTATUS(wstatus), 2);  // the unreadable third line
}

// Saturated water by temperature, the cheapest calculation (no search), at 1 … 360 °C.
std::string WriteSaturatedWaterBatch(const std::string& path, int lines) {
  std::ofstream file(path, std::ios::binary);
  for (int i = 0; i < lines; ++i) {
    file << "0\t1\t" << 1 + i % 360 << '\n';
    if (i % 1000 == 0) file << "# block " << i / 1000 << "\n\n";
  }
  return path;
}

TEST(Executable, HundredThousandLineBatchRunsInFlatMemory) {
  const std::string small = WriteSaturatedWaterBatch(Temp("small.tsv"), 1000);
  const std::string large = WriteSaturatedWaterBatch(Temp("large.tsv"), 100000);
  const std::string out = Temp("large.out"), err = Temp("large.err");

  const ProcessRun smallRun = RunKelmCalc({"--batch"}, small, out, err);
  ASSERT_EQ(smallRun.status, 0);
  const ProcessRun largeRun = RunKelmCalc({"--batch", large}, "/dev/null", out, err);
  ASSERT_EQ(largeRun.status, 0);
  EXPECT_EQ(ReadFile(err), "");

  // Every calculation line gives one line, in order: temperatures cycle through 1 … 360 °C.
  std::ifstream results(out, std::ios::binary);
  long count = 0;
  const std::string first = ExpectedTsv(ShowOnForm(0, 1, {"1"}));
  const std::string last = ExpectedTsv(ShowOnForm(0, 1, {"360"}));
  for (std::string line; std::getline(results, line); ++count) {
    if (count % 360 == 0) {
      ASSERT_EQ(line, first) << "line " << count;
    } else if (count % 360 == 359) {
      ASSERT_EQ(line, last) << "line " << count;
    }
  }
  EXPECT_EQ(count, 100000);

  // 100 000 result lines are about 10 MB; holding them, or the input, would show here.
  RecordProperty("max_rss_kb_1000_lines", static_cast<int>(smallRun.maxRssKb));
  RecordProperty("max_rss_kb_100000_lines", static_cast<int>(largeRun.maxRssKb));
  EXPECT_LT(largeRun.maxRssKb, smallRun.maxRssKb + 1024)
      << "1000 lines: " << smallRun.maxRssKb << " kB, 100000 lines: " << largeRun.maxRssKb << " kB";
  for (const std::string& path : {small, large, out, err}) std::remove(path.c_str());
}

}  // namespace
