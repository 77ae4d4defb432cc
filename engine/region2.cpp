#include "engine/region2.h"

#include <cmath>

#include "engine/constants.h"
#include "engine/regions.h"

namespace {
// IFC-67 subregion 2, scalar coefficients.
constexpr double I1 = 4.260321148;
constexpr double b = 0.7633333333;
constexpr double B0 = 16.83599274;

// B0ν, ν = 1…5; slot 0 unused so that B0nu[1] is B01.
constexpr double B0nu[6] = {0.0,          28.56067796,   -54.38923329,
                            0.4330662834, -0.6547711697, 0.08565182058};

// Bμλ with exponents zμλ and term counts n(μ), μ = 1…8; row 0 unused so that B[μ] is row μ.
// Counts and exponents are whole numbers held as doubles.
constexpr double n[9] = {0, 2, 3, 2, 2, 3, 2, 2, 2};
constexpr double B[9][3] = {{0, 0, 0},
                            {0.06670375918, 1.388983801, 0},
                            {0.08390104328, 0.02614670893, -0.03373439453},
                            {0.4520918904, 0.1069036614, 0},
                            {-0.5975336707, -0.08847535804, 0},
                            {0.5958051609, -0.5159303373, 0.2075021122},
                            {0.1190610271, -0.09867174132, 0},
                            {0.1683998803, -0.05809438001, 0},
                            {0.006552390126, 0.0005710218649, 0}};
constexpr double z[9][3] = {{0, 0, 0},    {13, 3, 0},  {18, 2, 1},  {18, 10, 0}, {25, 14, 0},
                            {32, 28, 24}, {12, 11, 0}, {24, 18, 0}, {24, 14, 0}};

// bμλ with exponents xμλ and term counts l(μ) of the denominators, μ = 6…8 (rows 0…5 unused).
constexpr double l[9] = {0, 0, 0, 0, 0, 0, 1, 1, 2};
constexpr double bml[9][2] = {{0, 0},
                              {0, 0},
                              {0, 0},
                              {0, 0},
                              {0, 0},
                              {0, 0},
                              {0.4006073948, 0},
                              {0.08636081627, 0},
                              {-0.8532322921, 0.3460208861}};
constexpr double x[9][2] = {{0, 0}, {0, 0},  {0, 0},  {0, 0},  {0, 0},
                            {0, 0}, {14, 0}, {19, 0}, {54, 27}};

// B9ν of the boundary term, ν = 0…6.
constexpr double B9nu[7] = {193.6587558, -1388.522425, 4126.607219, -6508.211677,
                            5745.984054, -2693.088365, 523.5718623};

// dβL/dθ: twice the quadratic and the linear coefficient of the L-function.
constexpr double L2_2 = 38.62761414;
constexpr double L1 = 34.17061978;

// X^e for every exponent the formulation uses (the z and x tables and ν = 0…6), each one pow
// per call; X⁰ = 1 and X¹ = X exactly.
constexpr int kXExponents[] = {2, 3, 4, 5, 6, 10, 11, 12, 13, 14, 18, 19, 24, 25, 27, 28, 32, 54};
struct XPowers {
  double at[55];
  explicit XPowers(double X) {
    at[0] = 1;
    at[1] = X;
    for (int e : kXExponents) at[e] = std::pow(X, double(e));
  }
  double operator()(double e) const { return at[int(e)]; }
};

// The powers β^k each branch uses besides β⁰ and β¹: β^(μ−1) or β^μ of the μ = 1…5 sum,
// β^(1−μ) of the volume's μ = 6…8 sum and β^(2−μ) of Dμ.
constexpr int kBetaExponentsV[] = {2, 3, 4, -4, -5, -6, -7};
constexpr int kBetaExponentsSH[] = {2, 3, 4, 5, -4, -5, -6};

// Nμ = Σλ Bμλ·X^zμλ.
double N(int mu, const XPowers& Xp) {
  double sum = 0;
  for (int lam = 0; lam < n[mu]; ++lam) sum += B[mu][lam] * Xp(z[mu][lam]);
  return sum;
}

// Dμ = β^(2−μ) + Σλ bμλ·X^xμλ.
double D(int mu, double betaPow2mMu, const XPowers& Xp) {
  double sum = 0;
  for (int lam = 0; lam < l[mu]; ++lam) sum += bml[mu][lam] * Xp(x[mu][lam]);
  return betaPow2mMu + sum;
}

// Qμ = (Σλ xμλ·bμλ·X^xμλ) / Dμ.
double Q(int mu, const XPowers& Xp, double Dmu) {
  double sum = 0;
  for (int lam = 0; lam < l[mu]; ++lam) sum += x[mu][lam] * bml[mu][lam] * Xp(x[mu][lam]);
  return sum / Dmu;
}

// Σ(μ = 1…5) β^μ·Σλ f(zμλ)·Bμλ·X^zμλ, the second sum of the entropy and the enthalpy.
template <class F>
double SumLow(const double* betaPow, const XPowers& Xp, F f) {
  double sum = 0;
  for (int mu = 1; mu <= 5; ++mu) {
    double inner = 0;
    for (int lam = 0; lam < n[mu]; ++lam) inner += f(z[mu][lam]) * B[mu][lam] * Xp(z[mu][lam]);
    sum += betaPow[mu] * inner;
  }
  return sum;
}

// Σ(μ = 6…8) Σλ f(zμλ − Qμ)·Bμλ·X^zμλ / Dμ, the third sum of the entropy and the enthalpy.
template <class F>
double SumHigh(const double* betaPow, const XPowers& Xp, F f) {
  double sum = 0;
  for (int mu = 6; mu <= 8; ++mu) {
    const double Dmu = D(mu, betaPow[2 - mu], Xp);
    const double Qmu = Q(mu, Xp, Dmu);
    double inner = 0;
    for (int lam = 0; lam < n[mu]; ++lam)
      inner += f(z[mu][lam] - Qmu) * B[mu][lam] * Xp(z[mu][lam]);
    sum += inner / Dmu;
  }
  return sum;
}
}  // namespace

double Region2Reduced(double t, double p, int kind) {
  const double theta = (t + IfcConstants.T0) / IfcConstants.Tc;
  const double beta = p / IfcConstants.pc;
  const double betaL = BoundaryL(t);
  const double betaLp = L2_2 * theta - L1;  // dβL/dθ
  const double X = std::exp(b * (1 - theta));
  if (kind != PK_V && kind != PK_S && kind != PK_H) return 0;

  // Every power once per call: the powers of X, β^k for k = −7…5 (β⁰ = 1, β¹ = β exactly).
  const XPowers Xp(X);
  double betaPowAt[13];
  double* const betaPow = betaPowAt + 7;  // betaPow[k] = β^k
  betaPow[0] = 1;
  betaPow[1] = beta;
  const double W = std::pow(beta / betaL, 10.0);

  // Each branch: step 1 the B0/I1 part, step 2 the sum over μ = 1…5, step 3 over μ = 6…8,
  // step 4 the boundary sum; the result is (1 − 2 − 3) + boundary factor × 4.
  switch (kind) {
    case PK_V: {
      for (int k : kBetaExponentsV) betaPow[k] = std::pow(beta, double(k));
      const double s1 = I1 * theta / beta;
      double s2 = 0;
      for (int mu = 1; mu <= 5; ++mu) s2 += mu * betaPow[mu - 1] * N(mu, Xp);
      double s3 = 0;
      for (int mu = 6; mu <= 8; ++mu)
        s3 += (mu - 2) * betaPow[1 - mu] * N(mu, Xp) / std::pow(D(mu, betaPow[2 - mu], Xp), 2.0);
      double s4 = 0;
      for (int nu = 0; nu <= 6; ++nu) s4 += B9nu[nu] * Xp(nu);
      return (s1 - s2 - s3) + (11 * W * s4);
    }

    case PK_S: {
      for (int k : kBetaExponentsSH) betaPow[k] = std::pow(beta, double(k));
      double sum0 = 0;  // the ν = 1 term is 0
      for (int nu = 1; nu <= 5; ++nu) {
        const double power = nu == 2 ? 1 : nu == 3 ? theta : std::pow(theta, double(nu - 2));
        sum0 += (nu - 1) * B0nu[nu] * power;
      }
      const double s1 = B0 * std::log(theta) - I1 * std::log(beta) - sum0;
      const double s2 = b * SumLow(betaPow, Xp, [](double zz) { return zz; });
      const double s3 = b * SumHigh(betaPow, Xp, [](double u) { return u; });
      double s4 = 0;
      for (int nu = 0; nu <= 6; ++nu) s4 += (10 * betaLp / betaL + nu * b) * B9nu[nu] * Xp(nu);
      return (s1 - s2 - s3) + (beta * W * s4);
    }

    default: {
      for (int k : kBetaExponentsSH) betaPow[k] = std::pow(beta, double(k));
      double sum0 = 0;
      for (int nu = 1; nu <= 5; ++nu) {
        const double power = nu == 1 ? 1 : nu == 2 ? theta : std::pow(theta, double(nu - 1));
        sum0 += (nu - 2) * B0nu[nu] * power;
      }
      const double s1 = B0 * theta - sum0;
      const double s2 = SumLow(betaPow, Xp, [&](double zz) { return 1 + zz * b * theta; });
      const double s3 = SumHigh(betaPow, Xp, [&](double u) { return 1 + b * theta * u; });
      double s4 = 0;
      for (int nu = 0; nu <= 6; ++nu)
        s4 += (1 + theta * (10 * betaLp / betaL + nu * b)) * B9nu[nu] * Xp(nu);
      return (s1 - s2 - s3) + (beta * W * s4);
    }
  }
}
