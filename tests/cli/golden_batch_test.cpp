// The whole road from typed inputs to printed texts, held to a recorded run: 2000 mixed batch
// lines over every item and mode (a tenth of the any-state lines near the critical point) and the
// exact bytes kelm-calc --batch printed for them.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/calccli.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The first line that differs, with its number, or empty when the texts are equal.
std::string FirstDifference(const std::string& got, const std::string& want) {
  std::istringstream a(got), b(want);
  std::string la, lb;
  for (int n = 1;; ++n) {
    const bool moreA = bool(std::getline(a, la)), moreB = bool(std::getline(b, lb));
    if (!moreA && !moreB) return {};
    if (la != lb || moreA != moreB)
      return "line " + std::to_string(n) + "\n  got:  " + la + "\n  want: " + lb;
  }
}

std::string RunMixedBatch() {
  std::istringstream in(ReadFile(KELM_TEST_DATA "/batch_mixed.tsv"));
  std::ostringstream out, err;
  EXPECT_EQ(kelmcli::RunBatch(in, out, err), kelmcli::kExitOk);
  EXPECT_EQ(err.str(), "");
  return out.str();
}

TEST(GoldenBatch, MixedLinesPrintTheRecordedBytes) {
  const std::string want = ReadFile(KELM_TEST_DATA "/batch_mixed.out");
  ASSERT_FALSE(want.empty());
  EXPECT_EQ(FirstDifference(RunMixedBatch(), want), "");
}

// Each thread has its own status word and memos: four batches at once print what one prints.
TEST(GoldenBatch, FourThreadsAtOncePrintWhatOneThreadPrints) {
  const std::string alone = RunMixedBatch();
  std::vector<std::string> outputs(4);
  std::vector<std::thread> threads;
  for (std::string& out : outputs) threads.emplace_back([&out] { out = RunMixedBatch(); });
  for (std::thread& thread : threads) thread.join();
  for (const std::string& out : outputs) EXPECT_EQ(FirstDifference(out, alone), "");
}

}  // namespace
