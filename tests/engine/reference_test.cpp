// Published IFC-67 values to the digits they give, each band of region selection on both sides of
// its tolerances, and how the entry points take their pressures.
#include <cstdlib>
#include <cstring>

#include "tests/engine/engine_test.h"

// Within half a unit of the last digit ("1.30687": 5e-6), and 1e-14 for subregion 4's own part.
void ExpectDigits(double got, const char* ref) {
  if (!ref) return;
  const char* exp = std::strchr(ref, 'e');
  const long decimals = (exp ? exp : ref + std::strlen(ref)) - std::strchr(ref, '.') - 1;
  const double unit = std::pow(10.0, (exp ? std::atoi(exp + 1) : 0) - double(decimals));
  EXPECT_NEAR(got, std::atof(ref), unit / 2 + 1e-14) << ref;
}

// f(x, y, kind) for PK_V (β at a volume), PK_S and PK_H.
double SatP(double t, double, int) { return SatPressure(t); }
double SatT(double p, double, int) { return SatTemperature(p); }
double LineL(double t, double, int) { return BoundaryL(t) * IfcConstants.pc; }
double Water(double t, double, int k) { return SatWaterProp(t, 1, k); }
double Steam(double t, double, int k) { return SatSteamProp(t, 1, k); }
double R4(double t, double p, int k) { return Region4Props(t, p, k); }
double R3v(double t, double v, int k) { return Region3Reduced(t, v, k == PK_V ? PK_P : k); }
double R4v(double t, double v, int k) { return Region4Reduced(t, v, k == PK_V ? PK_P : k); }
double Corr(double t, double v, int k) { return R4v(t, v, k) - R3v(t, v, k); }  // subregion 4's own

TEST(PublishedValues, MatchToTheDigitsGiven) {
  const struct { double (*f)(double, double, int); double x, y; const char* ref[3]; } rows[] = {
      {SatP, 0.01, 0, {"0.000611244"}}, {SatP, 100, 0, {"0.10132526"}},
      {SatP, 200, 0, {"1.554880"}}, {SatP, 300, 0, {"8.592692"}}, {SatP, 350, 0, {"16.535124"}},
      {SatT, 0.0007, 0, {"1.8913"}}, {SatT, 0.1, 0, {"99.6316"}}, {SatT, 1, 0, {"179.8844"}},
      {SatT, 22.11, 0, {"374.1125"}}, {SatT, 0.001, 0, {"6.982800006866455"}},  // 6.9828f as held
      {LineL, 350, 0, {"16.535124"}}, {LineL, 360, 0, {"17.667683"}},
      {LineL, 400, 0, {"24.237173"}}, {LineL, 590, 0, {"100.000000"}},
      {Region1Reduced, 0.01, 0.1, {"0.3155121773", "7.6553e-05", "0.00145937"}},
      {Region1Reduced, 100, 0.101325, {"0.3292454768", "12.06406796", "5.976359004"}},
      {Region1Reduced, 300, 20, {"0.4292131731", "29.62176908", "19.02817869"}},
      {Region1Reduced, 350, 20, {"0.5256024408", "34.44039339", "23.49069582"}},
      {Region1Reduced, 20, 100, {"0.3033564879", "2.484803262", "2.481334583"}},
      {Prop, 300, 20, {"0.001360606", "3.20885", "1334.26"}},
      {Region2Reduced, 400, 10, {"8.3306497", "57.401666", "44.208618"}},
      {Prop, 200, 0.1, {"2.172328", "7.834945", "2875.357"}},
      {Prop, 400, 10, {"0.02640816", "6.218180", "3099.926"}},
      {Prop, 500, 20, {"0.01477146", "6.145600", "3241.100"}},
      {Prop, 800, 100, {"0.004341060", "6.039661", "3714.263"}},
      {R3v, 380, 0.0025, {"1.0958948", "39.446456", "28.563980"}}, {R3v, 400, 0.005, {"1.1925830"}},
      {Prop, 380, 25, {"0.00224029", "4.175671", "1941.040"}},
      {Prop, 400, 30, {"0.00283060", "4.489629", "2161.771"}},
      {Prop, 450, 60, {"0.00208369", "4.424558", "2187.069"}},
      {Prop, 500, 100, {"0.00189336", "4.491331", "2316.137"}},
      {Corr, 350, 0.0017, {"-0.00052759121", "0.1532023628", "0.1500700464"}},
      {Corr, 360, 0.0018, {"-3.693242074e-05", "0.09932663796", "0.09798456967"}},
      {Corr, 365, 0.0014, {"0.0006281007712", "0.06351886302", "0.0632312304"}},
      {Corr, 374, 0.0025, {"5.710810524e-08", "-5.454117025e-05", "-5.448771436e-05"}},
      {R4, 360, 20, {"0.5763029968", "35.84936145", "24.85527752"}},
      {R4, 370, 30, {"0.5449637224", "35.6812973", "24.94244123"}},
      {R4, 355, 40, {"0.4779488801", "33.59327879", "23.11921959"}},
      {R4, 365, 100, {"0.4261920883", "32.41444333", "23.1809059"}},
      {Prop, 360, 20, {"0.0018268805", "3.88347", "1742.862"}},
      {Water, 0.01, 0, {"0.0010002", "0.0000", "0.000611"}},
      {Water, 100, 0, {"0.0010437", "1.3069", "419.06"}},
      {Steam, 0.01, 0, {"206.16", "9.1575", "2501.6"}},
      {Prop, 100, SatPressure(100), {"1.6730", "7.3554", "2676.0"}}};  // on the line: steam
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << "row " << &r - rows << ": " << r.x << ", " << r.y);
    for (int k = PK_V; k <= PK_H; ++k) ExpectDigits(r.f(r.x, r.y, k), r.ref[k - 1]);
  }
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
