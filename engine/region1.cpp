#include "engine/region1.h"

#include <cmath>

#include "engine/constants.h"

namespace {
// IFC-67 subregion 1, main coefficients A0…A22.
constexpr double A[23] = {6824.687741,     -542.2063673,    -20966.66205,   39412.86787,
                          -67332.77739,    99023.81028,     -109391.1774,   85908.41667,
                          -45111.68742,    14181.38926,     -2017.271113,   7.982692717,
                          -0.02616571843,  0.00152241179,   0.02284279054,  242.1647003,
                          1.269716088e-10, 2.074838328e-07, 2.17402035e-08, 1.105710498e-09,
                          12.93441934,     1.308119072e-05, 6.047626338e-14};
// Auxiliary coefficients a1…a12; slot 0 unused so that a[3] is a3.
constexpr double a[13] = {
    0.0,      0.8438375405, 0.0005362162162, 1.72,        0.07342278489,   0.0497585887, 0.65371543,
    1.15e-06, 1.5108e-05,   0.14188,         7.002753165, 0.0002995284926, 0.204};

// Products of coefficients, held ready-made; each is the double-precision product of its factors.
constexpr double a1_2 = 1.687675081;                // 2·a1
constexpr double a2_6 = 0.0032172972972;            // 6·a2
constexpr double a5_2 = 0.0995171774;               // 2·a5
constexpr double A11_a5 = 0.3972075236236885;       // A11·a5
constexpr double a3_1 = 0.72;                       // a3 − 1
constexpr double A14_2 = 0.04568558108;             // 2·A14
constexpr double A15_10 = 2421.647003;              // 10·A15
constexpr double A16_19 = 2.4124605672e-09;         // 19·A16
constexpr double A18_2 = 4.3480407e-08;             // 2·A18
constexpr double A19_3 = 3.3171314939999997e-09;    // 3·A19
constexpr double A21_3 = 3.924357216e-05;           // 3·A21
constexpr double a12_A21 = 2.6685629068799995e-06;  // a12·A21
constexpr double A22_4 = 2.4190505352e-13;          // 4·A22
constexpr double A22_20 = 1.2095252676e-12;         // 20·A22
constexpr double A22_21 = 1.27000153098e-12;        // 21·A22
constexpr double a9_18 = 2.55384;                   // 18·a9
constexpr double a9_17 = 2.41196;                   // 17·a9

// Fractions of the Z terms. 5/12 is held one ulp below 5.0/12; the check values use it.
constexpr double m5_17 = -0.29411764705882354;  // −5/17
constexpr double one12 = 0.08333333333333333;   // 1/12
constexpr double one29 = 0.034482758620689655;  // 1/29
constexpr double five12 = 0.41666666666666663;  // 5/12

// θ^j with θ⁰ = 1, θ¹ = θ and θ² exactly as given; the library's pow beyond.
double ThetaPower(int j, double theta, double theta2) {
  return j == 0 ? 1 : j == 1 ? theta : j == 2 ? theta2 : std::pow(theta, double(j));
}
}  // namespace

double Region1Reduced(double t, double p, int kind) {
  const double theta = (t + IfcConstants.T0) / IfcConstants.Tc;
  const double beta = p / IfcConstants.pc;
  // Every power once per call: θ², β², β³ and (a6 − θ)⁹ serve several terms.
  const double theta2 = std::pow(theta, 2.0);
  const double Y = 1 - a[1] * theta2 - a[2] * std::pow(theta, -6.0);
  const double Yp = a2_6 * std::pow(theta, -7.0) - a1_2 * theta;  // dY/dθ
  const double Z = Y + std::sqrt(a[3] * std::pow(Y, 2.0) - 2 * a[4] * theta + a5_2 * beta);
  if (kind != PK_V && kind != PK_S && kind != PK_H) return 0;
  const double Zm = std::pow(Z, m5_17);
  const double beta2 = std::pow(beta, 2.0);
  const double beta3 = std::pow(beta, 3.0);
  const double theta11 = std::pow(theta, 11.0);
  const double theta18 = std::pow(theta, 18.0);
  const double theta19 = std::pow(theta, 19.0);

  switch (kind) {
    case PK_V:
      // A12 is negative: adding it subtracts 0.02616571843.
      return A11_a5 * Zm + A[12] + A[13] * theta + A[14] * theta2 +
             A[15] * std::pow(a[6] - theta, 10.0) + A[16] / (a[7] + theta19) -
             (A[17] + A18_2 * beta + A19_3 * beta2) / (a[8] + theta11) -
             A[20] * theta18 * (a[9] + theta2) * (a[11] - 3 * std::pow(a[10] + beta, -4.0)) +
             A21_3 * (a[12] - theta) * beta2 + A22_4 * std::pow(theta, -20.0) * beta3;

    case PK_S: {
      double sum = 0;  // 1·A2·θ⁰ + 2·A3·θ¹ + … + 9·A10·θ⁸
      for (int i = 2; i <= 10; ++i) sum += (i - 1) * A[i] * ThetaPower(i - 2, theta, theta2);
      return A[0] * std::log(theta) - sum + A[11] * Zm * ((five12 * Z - a3_1 * Y) * Yp + a[4]) +
             beta * (A16_19 * theta18 / std::pow(a[7] + theta19, 2.0) - A[13] - A14_2 * theta +
                     A15_10 * std::pow(a[6] - theta, 9.0)) -
             11 * std::pow(theta, 10.0) * (A[17] * beta + A[18] * beta2 + A[19] * beta3) /
                 std::pow(a[8] + theta11, 2.0) +
             A[20] * std::pow(theta, 17.0) * (a9_18 + 20 * theta2) *
                 (std::pow(a[10] + beta, -3.0) + a[11] * beta) +
             A[21] * beta3 + A22_20 * std::pow(theta, -21.0) * std::pow(beta, 4.0);
    }

    default: {
      double sum = 0;  // −1·A1·θ⁰ + 0·A2·θ¹ + 1·A3·θ² + … + 8·A10·θ⁹
      for (int i = 1; i <= 10; ++i) sum += (i - 2) * A[i] * ThetaPower(i - 1, theta, theta2);
      return A[0] * theta - sum +
             A[11] * Zm *
                 (Z * (17 * (Z * one29 - Y * one12) + five12 * theta * Yp) + a[4] * theta -
                  a3_1 * theta * Y * Yp) +
             beta * (A[12] - A[14] * theta2 +
                     A[15] * (9 * theta + a[6]) * std::pow(a[6] - theta, 9.0) +
                     A[16] * (20 * theta19 + a[7]) / std::pow(a[7] + theta19, 2.0)) -
             (12 * theta11 + a[8]) * (A[17] * beta + A[18] * beta2 + A[19] * beta3) /
                 std::pow(a[8] + theta11, 2.0) +
             A[20] * theta18 * (a9_17 + 19 * theta2) *
                 (std::pow(a[10] + beta, -3.0) + a[11] * beta) +
             a12_A21 * beta3 + A22_21 * std::pow(theta, -20.0) * std::pow(beta, 4.0);
    }
  }
}
