#include <cmath>
#include <iterator>

#include "if97/detail/constants.h"
#include "if97/detail/regions.h"
#include "if97/detail/series.h"

namespace if97::detail {
namespace {
// IAPWS R7-97(2012), Table 30, Eq. 28: φ = n₁·ln δ + Σᵢ₌₂…₄₀ nᵢ·δ^Iᵢ·τ^Jᵢ; n₁ apart, the
// table from n₂ on.
constexpr double n1 = 0.10658070028513e1;
constexpr Term phi[] = {
    {0, 0, -0.15732845290239e2},   {0, 1, 0.20944396974307e2},    {0, 2, -0.76867707878716e1},
    {0, 7, 0.26185947787954e1},    {0, 10, -0.28080781148620e1},  {0, 12, 0.12053369696517e1},
    {0, 23, -0.84566812812502e-2}, {1, 2, -0.12654315477714e1},   {1, 6, -0.11524407806681e1},
    {1, 15, 0.88521043984318},     {1, 17, -0.64207765181607},    {2, 0, 0.38493460186671},
    {2, 2, -0.85214708824206},     {2, 6, 0.48972281541877e1},    {2, 7, -0.30502617256965e1},
    {2, 22, 0.39420536879154e-1},  {2, 26, 0.12558408424308},     {3, 0, -0.27999329698710},
    {3, 2, 0.13899799569460e1},    {3, 4, -0.20189915023570e1},   {3, 16, -0.82147637173963e-2},
    {3, 26, -0.47596035734923},    {4, 0, 0.43984074473500e-1},   {4, 2, -0.44476435428739},
    {4, 4, 0.90572070719733},      {4, 26, 0.70522450087967},     {5, 1, 0.10770512626332},
    {5, 3, -0.32913623258954},     {5, 26, -0.50871062041158},    {6, 0, -0.22175400873096e-1},
    {6, 2, 0.94260751665092e-1},   {6, 26, 0.16436278447961},     {7, 2, -0.13503372241348e-1},
    {8, 26, -0.14834345352472e-1}, {9, 2, 0.57922953628084e-3},   {9, 26, 0.32308904703711e-2},
    {10, 0, 0.80964802996215e-4},  {10, 1, -0.16557679795037e-3}, {11, 26, -0.44923899061815e-4}};
}  // namespace

static_assert(Region3Isotherm::kPowers == HighestI(phi) + 1 && LowestI(phi) == 0);

Region3Isotherm::Region3Isotherm(double T) : T_(T) {
  const double tau = Tc / T;
  const PowersJ<phi> y(tau);
  for (int i = 0; i < kPowers; ++i) A_[i] = B_[i] = C_[i] = 0.0;
  for (const Term& t : phi) {
    const double a = t.n * y[t.J];
    const double J = t.J;
    A_[t.I] += a;
    B_[t.I] += J * a;
    C_[t.I] += J * (J - 1) * a;
  }
}

// Only δφ_δ and δ²φ_δδ: p = ρRT·δφ_δ, (∂p/∂ρ)_T = RT·(2δφ_δ + δ²φ_δδ).
PressureSlope Region3Isotherm::Pressure(double rho) const {
  const double delta = rho / rhoc;
  double dfd = 0.0, d2fdd = 0.0;  // Σ I·A_I·δ^I, Σ I(I−1)·A_I·δ^I by Horner from the top
  for (int i = kPowers - 1; i >= 1; --i) {
    dfd = dfd * delta + i * A_[i];
    d2fdd = d2fdd * delta + i * (i - 1) * A_[i];
  }
  dfd = n1 + dfd * delta;
  d2fdd = d2fdd * delta - n1;
  const double RT = R * T_;
  return {1e-3 * rho * RT * dfd, 1e-3 * RT * (2 * dfd + d2fdd)};
}

Helmholtz Region3Isotherm::Phi(double rho) const {
  const double delta = rho / rhoc;
  const double tau = Tc / T_;
  double f = 0, fI = 0, fII = 0, fJ = 0, fJJ = 0, fIJ = 0;
  for (int i = kPowers - 1; i >= 0; --i) {
    f = f * delta + A_[i];
    fI = fI * delta + i * A_[i];
    fII = fII * delta + i * (i - 1) * A_[i];
    fJ = fJ * delta + B_[i];
    fJJ = fJJ * delta + C_[i];
    fIJ = fIJ * delta + i * B_[i];
  }
  return {n1 * std::log(delta) + f, (n1 + fI) / delta,  (fII - n1) / (delta * delta), fJ / tau,
          fJJ / (tau * tau),        fIJ / (delta * tau)};
}

Props Region3Isotherm::At(double rho) const { return PropsFromHelmholtz(rho, T_, Phi(rho)); }

Props Region3(double rho, double T) { return Region3Isotherm(T).At(rho); }

}  // namespace if97::detail
