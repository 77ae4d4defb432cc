#include <cmath>

#include "if97/detail/lines.h"

namespace if97::detail {
namespace {
// IAPWS R7-97(2012), Table 1, Eqs. 5 and 6: n₁…n₅ of the 2–3 boundary, π = n₁ + n₂θ + n₃θ²;
// slot 0 unused. T* = 1 K, p* = 1 MPa.
constexpr double nB23[] = {0.0,
                           0.34805185628969e3,
                           -0.11671859879975e1,
                           0.10192970039326e-2,
                           0.57254459862746e3,
                           0.13918839778870e2};
// IAPWS R7-97(2012), Table 19, Eqs. 20 and 21: n₁…n₅ of the 2b–2c boundary, π = n₁ + n₂η + n₃η²;
// slot 0 unused. h* = 1 kJ/kg, p* = 1 MPa.
constexpr double nB2bc[] = {0.0,
                            0.90584278514723e3,
                            -0.67955786399241,
                            0.12809002730136e-3,
                            0.26526571908428e4,
                            0.45257578905948e1};
// IAPWS SR3-03(2014), Eq. 1: n₁…n₄ of η = n₁ + n₂π + n₃π² + n₄π³, the 3a–3b boundary;
// slot 0 unused. h* = 1 kJ/kg, p* = 1 MPa.
constexpr double nB3ab[] = {0.0, 0.201464004206875e4, 0.374696550136983e1, -0.219921901054187e-1,
                            0.875131686009950e-4};
// IAPWS SR2-01(2014), Eq. 2: n₁…n₄ of η = n₁ + n₂σ + n₃σ² + n₄σ³, the 2a–2b boundary;
// slot 0 unused. h* = 1 kJ/kg, s* = 1 kJ/(kg·K).
constexpr double nB2ab[] = {0.0, -0.349898083432139e4, 0.257560716905876e4, -0.421073558227969e3,
                            0.276349063799944e2};
}  // namespace

double B23Pressure(double T) { return nB23[1] + (nB23[2] + nB23[3] * T) * T; }
double B23Temperature(double p) { return nB23[4] + std::sqrt((p - nB23[5]) / nB23[3]); }

double B2bcPressure(double h) { return nB2bc[1] + (nB2bc[2] + nB2bc[3] * h) * h; }
double B2bcEnthalpy(double p) { return nB2bc[4] + std::sqrt((p - nB2bc[5]) / nB2bc[3]); }

double B3abEnthalpy(double p) { return nB3ab[1] + (nB3ab[2] + (nB3ab[3] + nB3ab[4] * p) * p) * p; }

double B2abEnthalpy(double s) { return nB2ab[1] + (nB2ab[2] + (nB2ab[3] + nB2ab[4] * s) * s) * s; }

}  // namespace if97::detail
