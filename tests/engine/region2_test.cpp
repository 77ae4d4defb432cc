#include "engine/region2.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/constants.h"

namespace {

struct Region2Row {
  double t, p, v, s, h;
};
constexpr Region2Row Region2Rows[] = {{200, 0.1, 2.172328, 7.834945, 2875.357},
                                      {400, 10, 0.02640816, 6.218180, 3099.926},
                                      {500, 20, 0.01477146, 6.145600, 3241.100},
                                      {800, 100, 0.004341060, 6.039661, 3714.263}};

TEST(Region2Reduced, MatchesReferencePointsInEngineeringUnits) {
  for (const Region2Row& row : Region2Rows) {
    SCOPED_TRACE(testing::Message() << row.t << " °C, " << row.p << " MPa");
    CalcStatus = 0xFFFF;
    const double v = ScaleReduced(Region2Reduced(row.t, row.p, PK_V), PK_V);
    const double s = ScaleReduced(Region2Reduced(row.t, row.p, PK_S), PK_S);
    const double h = ScaleReduced(Region2Reduced(row.t, row.p, PK_H), PK_H);
    EXPECT_EQ(CalcStatus, 0xFFFFu);  // pure: the status word is never touched
    // Seven significant digits of v, six decimals of s, three of h.
    EXPECT_NEAR(v, row.v, 5e-7 * row.v);
    EXPECT_NEAR(s, row.s, 5e-7);
    EXPECT_NEAR(h, row.h, 5e-4);
  }
}

TEST(Region2Reduced, MatchesReducedReferenceValues) {
  const struct {
    double t, p, chi, sigma, eps;
  } rows[] = {{200, 0.1, 685.27705, 72.326458, 41.006003},
              {400, 10, 8.3306497, 57.401666, 44.208618}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.t << " °C, " << row.p << " MPa");
    EXPECT_NEAR(Region2Reduced(row.t, row.p, PK_V), row.chi, 5e-6);
    EXPECT_NEAR(Region2Reduced(row.t, row.p, PK_S), row.sigma, 5e-7);
    EXPECT_NEAR(Region2Reduced(row.t, row.p, PK_H), row.eps, 5e-7);
  }
}

TEST(Region2Reduced, UnhandledSelectorReturnsExactlyZero) {
  for (int kind : {0, int(PK_P), int(PK_X), -1, 99}) {
    SCOPED_TRACE(kind);
    EXPECT_EQ(Region2Reduced(400, 10, kind), 0.0);
  }
}

TEST(Region2Reduced, RepeatedCallsGiveIdenticalResults) {
  const double first = Region2Reduced(500, 20, PK_S);
  Region2Reduced(800, 100, PK_H);
  EXPECT_EQ(Region2Reduced(500, 20, PK_S), first);
}

struct Derivatives {
  double chi, dChiTheta, dSigmaTheta, dEpsTheta, dSigmaBeta, dEpsBeta;
};

Derivatives CentralDifferences(double t, double p) {
  const IfcConstantsRecord& c = IfcConstants;
  const double theta = (t + c.T0) / c.Tc;
  const double beta = p / c.pc;
  const double hTheta = 1e-5, hBeta = 1e-5 * beta;
  auto f = [&](double th, double be, int kind) {
    return Region2Reduced(th * c.Tc - c.T0, be * c.pc, kind);
  };
  auto dTheta = [&](int kind) {
    return (f(theta + hTheta, beta, kind) - f(theta - hTheta, beta, kind)) / (2 * hTheta);
  };
  auto dBeta = [&](int kind) {
    return (f(theta, beta + hBeta, kind) - f(theta, beta - hBeta, kind)) / (2 * hBeta);
  };
  return {f(theta, beta, PK_V), dTheta(PK_V), dTheta(PK_S), dTheta(PK_H), dBeta(PK_S), dBeta(PK_H)};
}

TEST(Region2Reduced, MaxwellRelationAt400CAnd10MPa) {
  const Derivatives d = CentralDifferences(400, 10);
  EXPECT_NEAR(d.dSigmaBeta, -14.5852, 5e-5);
  EXPECT_NEAR(-d.dChiTheta, -14.5852, 5e-5);
}

// χ = ∂ζ/∂β, σ = −∂ζ/∂θ and ε = ζ + θ·σ of one Gibbs function ζ(θ, β) give
// ∂σ/∂β = −∂χ/∂θ, ∂ε/∂θ = θ·∂σ/∂θ and ∂ε/∂β = χ − θ·∂χ/∂θ. A mistyped coefficient breaks one.
TEST(Region2Reduced, IsThermodynamicallyConsistent) {
  const struct {
    double t, p;
  } points[] = {{1, 0.0007}, {100, 0.05}, {200, 0.1}, {300, 5},  {360, 17},
                {400, 10},   {450, 30},   {500, 20},  {650, 60}, {800, 100}};
  for (const auto& pt : points) {
    SCOPED_TRACE(testing::Message() << pt.t << " °C, " << pt.p << " MPa");
    const double theta = (pt.t + IfcConstants.T0) / IfcConstants.Tc;
    const Derivatives d = CentralDifferences(pt.t, pt.p);
    EXPECT_NEAR(d.dSigmaBeta, -d.dChiTheta, 1e-6 * std::fabs(d.dChiTheta));
    EXPECT_NEAR(d.dEpsTheta, theta * d.dSigmaTheta, 1e-6 * std::fabs(d.dEpsTheta));
    EXPECT_NEAR(d.dEpsBeta, d.chi - theta * d.dChiTheta, 1e-6 * std::fabs(d.chi));
  }
}

}  // namespace
