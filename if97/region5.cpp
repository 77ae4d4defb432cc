#include <cmath>
#include <iterator>

#include "if97/detail/constants.h"
#include "if97/detail/regions.h"
#include "if97/detail/series.h"

namespace if97::detail {
namespace {
// IAPWS R7-97(2012), Table 37, Eq. 33: ideal-gas part γ° = ln π + Σ n°ᵢ·τ^J°ᵢ (I unused).
constexpr Term gamma0[] = {{0, 0, -0.13179983674201e2},   {0, 1, 0.68540841634434e1},
                           {0, -3, -0.24805148933466e-1}, {0, -2, 0.36901534980333},
                           {0, -1, -0.31161318213925e1},  {0, 2, -0.32961626538917}};
constexpr auto gamma0Weighted = Weighted(gamma0);
// IAPWS R7-97(2012), Table 38, Eq. 34: residual part γʳ = Σ nᵢ·π^Iᵢ·τ^Jᵢ.
constexpr Term gammar[] = {{1, 1, 0.15736404855259e-2},  {1, 2, 0.90153761673944e-3},
                           {1, 3, -0.50270077677648e-2}, {2, 3, 0.22440037409485e-5},
                           {2, 9, -0.41163275453471e-5}, {3, 7, 0.37919454822955e-7}};
constexpr auto gammarWeighted = Weighted(gammar);
constexpr double Tstar = 1000.0;  // K; p* = 1 MPa
}  // namespace

Gibbs Region5Gibbs(double p, double T) {
  const double pi = p;
  const double tau = Tstar / T;
  const DerivativeSums r =
      SumWithDerivatives(gammarWeighted, PowersI<gammar>(pi), PowersJ<gammar>(tau));
  const YSums o = SumInY(gamma0Weighted, PowersJ<gamma0>(tau));
  return {std::log(pi) + o.s + r.s,      (1.0 + r.sI) / pi,
          (r.sII - 1.0) / (pi * pi),     (o.sJ + r.sJ) / tau,
          (o.sJJ + r.sJJ) / (tau * tau), r.sIJ / (pi * tau)};
}

Props Region5(double p, double T) {
  return PropsFromGibbs(p, T, 1.0, Tstar / T, Region5Gibbs(p, T));
}

}  // namespace if97::detail
