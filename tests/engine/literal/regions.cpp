// Frozen reference copy of engine/regions.cpp, taken before any optimisation.
// The bit-identity test holds the engine to this literal arithmetic: never edit it.
#include "tests/engine/literal/regions.h"

#include <cmath>

#include "tests/engine/literal/constants.h"
#include "tests/engine/literal/saturation.h"

namespace literal {

namespace {
// IFC-67 L-function βL = L0 + L1·θ + L2·θ²; L1 held as its magnitude and subtracted.
constexpr double L0 = 15.74373327;
constexpr double L1 = 34.17061978;
constexpr double L2 = 19.31380707;

// Reduced temperatures of 0.01, 350, 374.15 and 590 °C.
constexpr double theta1 = 0.4219990731;
constexpr double theta2 = 0.9626911787;
constexpr double theta3 = 1.333462073;
}  // namespace

double BoundaryL(double t) {
  const double theta = (t + IfcConstants.T0) / IfcConstants.Tc;
  return theta * (theta * L2 - L1) + L0;
}

int FindRegion(double t, double p) {
  CalcStatus = StateRangeFlags(t, p);
  if (CalcStatus) return 1;

  const double theta = (t + IfcConstants.T0) / IfcConstants.Tc;
  const double beta = p / IfcConstants.pc;
  const double betaK = SatPressureReduced(t);
  const double betaL = BoundaryL(t);

  const bool lowBand = (theta > theta1 || std::fabs(theta - theta1) < 1e-7) &&
                       (theta < theta2 || std::fabs(theta - theta2) < 1e-7);
  if (lowBand) {
    if (std::fabs(betaK - beta) < 1e-8) return RC_SAT_LOWER;
    if (beta < betaK) return RC_SUB2;
    return RC_SUB1;
  }
  if (theta < 1 && std::fabs(theta - 1) > 1e-8) {
    // Between 350 and 374.15 °C the L-line test comes before the saturation-line test.
    if (beta < betaL || std::fabs(beta - betaL) < 1e-8) return RC_SUB2;
    if (std::fabs(betaK - beta) < 1e-8) return RC_SAT_UPPER;
    if (beta >= betaK) return RC_SUB4;
    return RC_SUB3;
  }
  if (theta >= theta3 || std::fabs(theta - theta3) <= 1e-8) return RC_SUB2;
  if (beta < betaL || std::fabs(beta - betaL) < 1e-8) return RC_SUB2;
  return RC_SUB3;
}

}  // namespace literal
