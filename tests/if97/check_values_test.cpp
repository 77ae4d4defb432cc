// Every published verification value of the basic, saturation, boundary and backward equations,
// compared after rounding to the digits the releases print.
#include <gtest/gtest.h>

#include "if97/checkvalues.h"
#include "if97/detail/backward.h"
#include "if97/detail/lines.h"
#include "if97/detail/regions.h"

namespace {

using namespace if97::detail;

TEST(CheckValues, EveryPublishedValueToAllPrintedDigits) {
  ASSERT_EQ(if97::CheckValues().size(), 150u);
  for (const if97::CheckValue& c : if97::CheckValues()) {
    const double computed = if97::Recompute(c);
    EXPECT_TRUE(if97::MatchesPublished(computed, c))
        << c.equation << "(" << c.x1 << ", " << c.x2 << ") " << c.output << " = " << computed
        << ", published " << c.published;
  }
}

// Between 4 and 6.546699678 MPa all of region 2 is subregion 2b for T(p, h), where Eq. 21 has
// no real value below 4.5258 MPa: the backward temperature stays within its 10 mK there.
TEST(BackwardEquations, Region2FromFourTo6Point5MPaIsSubregion2b) {
  for (double p : {4.0001, 4.44, 5.0, 6.5}) {
    for (double T : {600.0, 777.0, 1000.0}) {
      EXPECT_NEAR(Region2TFromPH(p, Region2(p, T).h), T, 0.010) << p << " MPa, " << T << " K";
    }
  }
}

}  // namespace
