// Published IFC-67 values to the digits they give, each band of region selection on both sides of
// its tolerances, and how the entry points take their pressures.
#include <cstdlib>
#include <cstring>

#include "engine/checkvalues.h"
#include "tests/engine/engine_test.h"

TEST(PublishedValues, MatchToTheDigitsGiven) {
  for (const Ifc67CheckValue& row : Ifc67CheckValues())
    EXPECT_TRUE(MatchesPublished(Recompute(row), row.published))
        << Describe(row) << " = " << Recompute(row) << ", published " << row.published;
}

// Each band on both sides of its tolerances (1e-7 in θ at 350 °C, 1e-8 in θ at 374.15 and 590 °C
// and in β at either line); wet within 0.0001 °C of ts, whichever side the equation takes.
TEST(RegionSelection, EachBandOnBothSidesOfItsTolerances) {
  const double ps = SatPressure(100), pL = BoundaryL(360) * IfcConstants.pc;
  const int W = SC_WATER, WET = SC_WET, S = SC_STEAM, SUP = SC_SUPERCRITICAL;
  const struct { double t, p; int region, state; } rows[] = {
      {100, 0.1, 2, S}, {100, ps + 1e-7, 6, WET}, {100, ps + 3e-7, 1, WET}, {100, 0.101325, 2, WET},
      {100.00005, 0.101325, 2, S}, {350.00006, 20, 1, W}, {350.0001, 20, 4, W}, {360, 19, 4, W},
      {360, pL + 1e-7, 2, S}, {360, pL + 3e-7, 3, S}, {360, SatPressure(360), 5, WET},
      {374.1, 22.12, 4, SUP}, {374.14999, 25, 4, SUP}, {374.149995, 25, 3, SUP}, {374.15, 19, 2, S},
      {589.99997, 100, 3, SUP}, {589.999995, 100, 2, SUP}};
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << r.t << " °C, " << r.p << " MPa");
    EXPECT_EQ(FindRegion(r.t, r.p), r.region);
    int state = -1;
    PointProp(r.t, r.p, PK_H, state);
    EXPECT_EQ(state, r.state);
  }
}

// A pressure ×10 comes back by the double 0.1, never / 10: here the two give different h′.
TEST(EntryPoints, TakeTheTenthBackAndExpandAsTheSteamTablesSay) {
  const double p10 = 50.8627396f;
  int st = -1;
  ASSERT_NE(SatWaterProp(p10 * 0.1, 0, PK_H), SatWaterProp(p10 / 10, 0, PK_H));
  EXPECT_EQ(SatWaterHByP(float(p10), &st), SatWaterProp(p10 * 0.1, 0, PK_H));
  // 10 MPa, 500 °C expands to 0.1 MPa at a dryness of 0.874 by the tables' s′, s″, h′, h″.
  EXPECT_NEAR(IsentropicEndH(500, 100, 1, &st), 2391.0, 1.5);
}
