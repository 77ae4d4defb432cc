#include <cmath>
#include <iterator>

#include "if97/detail/constants.h"
#include "if97/detail/regions.h"
#include "if97/detail/series.h"

namespace if97::detail {
namespace {
// IAPWS R7-97(2012), Table 10, Eq. 16: ideal-gas part γ° = ln π + Σ n°ᵢ·τ^J°ᵢ (I unused).
constexpr Term gamma0[] = {
    {0, 0, -0.96927686500217e1},  {0, 1, 0.10086655968018e2}, {0, -5, -0.56087911283020e-2},
    {0, -4, 0.71452738081455e-1}, {0, -3, -0.40710498223928}, {0, -2, 0.14240819171444e1},
    {0, -1, -0.43839511319450e1}, {0, 2, -0.28408632460772},  {0, 3, 0.21268463753307e-1}};
constexpr auto gamma0Weighted = Weighted(gamma0);
// IAPWS R7-97(2012), Table 11, Eq. 17: residual part γʳ = Σ nᵢ·π^Iᵢ·(τ − 0.5)^Jᵢ.
constexpr Term gammar[] = {{1, 0, -0.17731742473213e-2},   {1, 1, -0.17834862292358e-1},
                           {1, 2, -0.45996013696365e-1},   {1, 3, -0.57581259083432e-1},
                           {1, 6, -0.50325278727930e-1},   {2, 1, -0.33032641670203e-4},
                           {2, 2, -0.18948987516315e-3},   {2, 4, -0.39392777243355e-2},
                           {2, 7, -0.43797295650573e-1},   {2, 36, -0.26674547914087e-4},
                           {3, 0, 0.20481737692309e-7},    {3, 1, 0.43870667284435e-6},
                           {3, 3, -0.32277677238570e-4},   {3, 6, -0.15033924542148e-2},
                           {3, 35, -0.40668253562649e-1},  {4, 1, -0.78847309559367e-9},
                           {4, 2, 0.12790717852285e-7},    {4, 3, 0.48225372718507e-6},
                           {5, 7, 0.22922076337661e-5},    {6, 3, -0.16714766451061e-10},
                           {6, 16, -0.21171472321355e-2},  {6, 35, -0.23895741934104e2},
                           {7, 0, -0.59059564324270e-17},  {7, 11, -0.12621808899101e-5},
                           {7, 25, -0.38946842435739e-1},  {8, 8, 0.11256211360459e-10},
                           {8, 36, -0.82311340897998e1},   {9, 13, 0.19809712802088e-7},
                           {10, 4, 0.10406965210174e-18},  {10, 10, -0.10234747095929e-12},
                           {10, 14, -0.10018179379511e-8}, {16, 29, -0.80882908646985e-10},
                           {16, 50, 0.10693031879409},     {18, 57, -0.33662250574171},
                           {20, 20, 0.89185845355421e-24}, {20, 35, 0.30629316876232e-12},
                           {20, 48, -0.42002467698208e-5}, {21, 21, -0.59056029685639e-25},
                           {22, 53, 0.37826947613457e-5},  {23, 39, -0.12768608934681e-14},
                           {24, 26, 0.73087610595061e-28}, {24, 40, 0.55414715350778e-16},
                           {24, 58, -0.94369707241210e-6}};
constexpr auto gammarWeighted = Weighted(gammar);
constexpr double Tstar = 540.0;  // K; p* = 1 MPa
}  // namespace

Gibbs Region2Gibbs(double p, double T) {
  const double pi = p;
  const double tau = Tstar / T;
  const double y = tau - 0.5;
  const DerivativeSums r =
      SumWithDerivatives(gammarWeighted, PowersI<gammar>(pi), PowersJ<gammar>(y));
  const YSums o = SumInY(gamma0Weighted, PowersJ<gamma0>(tau));
  return {std::log(pi) + o.s + r.s,
          (1.0 + r.sI) / pi,
          (r.sII - 1.0) / (pi * pi),
          o.sJ / tau + r.sJ / y,
          o.sJJ / (tau * tau) + r.sJJ / (y * y),
          r.sIJ / (pi * y)};
}

Props Region2(double p, double T) {
  return PropsFromGibbs(p, T, 1.0, Tstar / T, Region2Gibbs(p, T));
}

}  // namespace if97::detail
