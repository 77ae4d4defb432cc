#include <algorithm>
#include <cmath>

#include "if97/detail/constants.h"
#include "if97/detail/lines.h"

namespace if97::detail {
namespace {
// IAPWS R7-97(2012), Table 34, Eqs. 30 and 31: n₁…n₁₀ of the saturation line; slot 0 unused so
// that n[9] is n₉. T* = 1 K, p* = 1 MPa.
constexpr double n[] = {0.0,
                        0.11670521452767e4,
                        -0.72421316703206e6,
                        -0.17073846940092e2,
                        0.12020824702470e5,
                        -0.32325550322333e7,
                        0.14915108613530e2,
                        -0.48232657361591e4,
                        0.40511340542057e6,
                        -0.23855557567849,
                        0.65017534844798e3};
}  // namespace

// Eq. 30 is the quadratic A·β² + B·β + C = 0 in β = ps^¼ at ϑ = T + n₉/(T − n₁₀).
double SatPressureK(double T) {
  const double theta = T + n[9] / (T - n[10]);
  const double A = (theta + n[1]) * theta + n[2];
  const double B = (n[3] * theta + n[4]) * theta + n[5];
  const double C = (n[6] * theta + n[7]) * theta + n[8];
  const double beta = 2 * C / (-B + std::sqrt(B * B - 4 * A * C));
  const double beta2 = beta * beta;
  // Eq. 30 ends 3.2e-10 MPa above pc at Tc; held at pc over its last 1.2e-9 K, the line stays
  // inside the range Eq. 31 inverts.
  return std::min(beta2 * beta2, pc);
}

// Eq. 31, the same quadratic solved for ϑ at β = p^¼, then T from ϑ.
double SatTemperatureK(double p) {
  const double beta = std::sqrt(std::sqrt(p));
  const double E = (beta + n[3]) * beta + n[6];
  const double F = (n[1] * beta + n[4]) * beta + n[7];
  const double G = (n[2] * beta + n[5]) * beta + n[8];
  const double D = 2 * G / (-F - std::sqrt(F * F - 4 * E * G));
  const double nD = n[10] + D;
  return 0.5 * (nD - std::sqrt(nD * nD - 4 * (n[9] + n[10] * D)));
}

}  // namespace if97::detail
