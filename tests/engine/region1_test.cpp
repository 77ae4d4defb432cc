#include "engine/region1.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/constants.h"

namespace {

// Reference values: reduced (χ, σ, ε) with their last-digit tolerances, then engineering (v, s, h).
struct Region1Row {
  double t, p;
  double chi, sigma, eps;
  double tolChi, tolSigma, tolEps;
  double v, s, h;
  double tolV, tolS, tolH;
};
constexpr Region1Row Region1Rows[] = {
    {0.01, 0.1, 0.3155121773, 7.6553e-05, 0.00145937, 5e-11, 5e-10, 5e-9,  //
     0.001000174, 8.2928e-06, 0.102332, 5e-10, 5e-11, 5e-7},
    {100, 0.101325, 0.3292454768, 12.06406796, 5.976359004, 5e-11, 5e-9, 5e-10,  //
     0.001043708, 1.30687, 419.065, 5e-10, 5e-6, 5e-4},
    {300, 20, 0.4292131731, 29.62176908, 19.02817869, 5e-11, 5e-9, 5e-9,  //
     0.001360606, 3.20885, 1334.26, 5e-10, 5e-6, 5e-3},
    {350, 20, 0.5256024408, 34.44039339, 23.49069582, 5e-11, 5e-9, 5e-9,  //
     0.00166616, 3.73084, 1647.18, 5e-9, 5e-6, 5e-3},
    {20, 100, 0.3033564879, 2.484803262, 2.481334583, 5e-11, 5e-10, 5e-10,  //
     0.0009616401, 0.269173, 173.992, 5e-11, 5e-7, 5e-4},
};

TEST(Region1Reduced, MatchesReferenceTableReducedAndScaled) {
  for (const Region1Row& row : Region1Rows) {
    SCOPED_TRACE(testing::Message() << row.t << " °C, " << row.p << " MPa");
    CalcStatus = 0xFFFF;
    const double chi = Region1Reduced(row.t, row.p, PK_V);
    const double sigma = Region1Reduced(row.t, row.p, PK_S);
    const double eps = Region1Reduced(row.t, row.p, PK_H);
    EXPECT_EQ(CalcStatus, 0xFFFFu);  // pure: the status word is never touched
    EXPECT_NEAR(chi, row.chi, row.tolChi);
    EXPECT_NEAR(sigma, row.sigma, row.tolSigma);
    EXPECT_NEAR(eps, row.eps, row.tolEps);
    EXPECT_NEAR(ScaleReduced(chi, PK_V), row.v, row.tolV);
    EXPECT_NEAR(ScaleReduced(sigma, PK_S), row.s, row.tolS);
    EXPECT_NEAR(ScaleReduced(eps, PK_H), row.h, row.tolH);
  }
}

TEST(Region1Reduced, UnhandledSelectorReturnsExactlyZero) {
  for (int kind : {0, int(PK_P), int(PK_X), -1, 99}) {
    SCOPED_TRACE(kind);
    EXPECT_EQ(Region1Reduced(100, 1, kind), 0.0);
  }
}

TEST(Region1Reduced, RepeatedCallsGiveIdenticalResults) {
  const double first = Region1Reduced(300, 20, PK_H);
  Region1Reduced(20, 100, PK_S);
  EXPECT_EQ(Region1Reduced(300, 20, PK_H), first);
}

// χ = ∂ζ/∂β, σ = −∂ζ/∂θ and ε = ζ + θ·σ of one Gibbs function ζ(θ, β) give
// ∂σ/∂β = −∂χ/∂θ, ∂ε/∂θ = θ·∂σ/∂θ and ∂ε/∂β = χ − θ·∂χ/∂θ. A mistyped coefficient breaks one.
TEST(Region1Reduced, IsThermodynamicallyConsistent) {
  const IfcConstantsRecord& c = IfcConstants;
  const struct {
    double t, p;
  } points[] = {{1, 0.1}, {50, 1}, {150, 5}, {250, 30}, {340, 50}, {20, 100}, {345, 16}};
  const double hTheta = 1e-5;
  for (const auto& pt : points) {
    SCOPED_TRACE(testing::Message() << pt.t << " °C, " << pt.p << " MPa");
    const double theta = (pt.t + c.T0) / c.Tc;
    const double beta = pt.p / c.pc;
    const double hBeta = 1e-5 * beta;
    auto f = [&](double th, double be, int kind) {
      return Region1Reduced(th * c.Tc - c.T0, be * c.pc, kind);
    };
    auto dTheta = [&](int kind) {
      return (f(theta + hTheta, beta, kind) - f(theta - hTheta, beta, kind)) / (2 * hTheta);
    };
    auto dBeta = [&](int kind) {
      return (f(theta, beta + hBeta, kind) - f(theta, beta - hBeta, kind)) / (2 * hBeta);
    };
    const double chi = f(theta, beta, PK_V);
    const double dChiTheta = dTheta(PK_V), dSigmaTheta = dTheta(PK_S), dEpsTheta = dTheta(PK_H);
    const double dSigmaBeta = dBeta(PK_S), dEpsBeta = dBeta(PK_H);
    EXPECT_NEAR(dSigmaBeta, -dChiTheta, 1e-6 * std::fabs(dChiTheta));
    EXPECT_NEAR(dEpsTheta, theta * dSigmaTheta, 1e-6 * std::fabs(dEpsTheta));
    EXPECT_NEAR(dEpsBeta, chi - theta * dChiTheta, 1e-6 * std::fabs(chi));
  }
}

// Each held product equals the double-precision result of the operation on its factors.
TEST(Region1Reduced, HeldProductsEqualTheirFactorsMultiplied) {
  const double a1 = 0.8438375405, a2 = 0.0005362162162, a3 = 1.72, a5 = 0.0497585887;
  const double a9 = 0.14188, a12 = 0.204;
  const double A11 = 7.982692717, A14 = 0.02284279054, A15 = 242.1647003, A16 = 1.269716088e-10;
  const double A18 = 2.17402035e-08, A19 = 1.105710498e-09, A21 = 1.308119072e-05;
  const double A22 = 6.047626338e-14;
  EXPECT_EQ(2 * a1, 1.687675081);
  EXPECT_EQ(6 * a2, 0.0032172972972);
  EXPECT_EQ(2 * a5, 0.0995171774);
  EXPECT_EQ(A11 * a5, 0.3972075236236885);
  EXPECT_EQ(a3 - 1, 0.72);
  EXPECT_EQ(2 * A14, 0.04568558108);
  EXPECT_EQ(10 * A15, 2421.647003);
  EXPECT_EQ(19 * A16, 2.4124605672e-09);
  EXPECT_EQ(2 * A18, 4.3480407e-08);
  EXPECT_EQ(3 * A19, 3.3171314939999997e-09);
  EXPECT_EQ(3 * A21, 3.924357216e-05);
  EXPECT_EQ(a12 * A21, 2.6685629068799995e-06);
  EXPECT_EQ(4 * A22, 2.4190505352e-13);
  EXPECT_EQ(20 * A22, 1.2095252676e-12);
  EXPECT_EQ(21 * A22, 1.27000153098e-12);
  EXPECT_EQ(18 * a9, 2.55384);
  EXPECT_EQ(17 * a9, 2.41196);
  EXPECT_EQ(-5.0 / 17, -0.29411764705882354);
  EXPECT_EQ(1.0 / 12, 0.08333333333333333);
  EXPECT_EQ(1.0 / 29, 0.034482758620689655);
  // 5/12 is held one ulp low.
  EXPECT_EQ(std::nextafter(5.0 / 12, 0.0), 0.41666666666666663);
}

}  // namespace
