// The whole road from typed inputs to printed texts, held to a recorded run: 2000 mixed batch
// lines over every item and mode (a tenth of the any-state lines near the critical point) and the
// exact bytes kelm-calc --batch printed for them.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

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

TEST(GoldenBatch, MixedLinesPrintTheRecordedBytes) {
  std::istringstream in(ReadFile(KELM_TEST_DATA "/batch_mixed.tsv"));
  std::ostringstream out, err;
  EXPECT_EQ(kelmcli::RunBatch(in, out, err), kelmcli::kExitOk);
  EXPECT_EQ(err.str(), "");
  const std::string want = ReadFile(KELM_TEST_DATA "/batch_mixed.out");
  ASSERT_FALSE(want.empty());
  EXPECT_EQ(FirstDifference(out.str(), want), "");
}

}  // namespace
