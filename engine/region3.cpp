#include "engine/region3.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "engine/constants.h"
#include "engine/detail/memo.h"
#include "engine/detail/region3_parts.h"
#include "engine/detail/volume_search.h"

namespace {
// IFC-67 subregion 3, coefficients Cμk, μ = 0…7, k = 0…12. Rows 0 to 3 hold Cμ1 (factor of χ),
// Cμ2…CμKμ (factors of χ^(1−k)) and, in the slot after CμKμ, the factor of ln χ. Row 4 is the
// τ·θ^(−23) term, row 5 the θ·ln θ term, row 6 the χ^6 term, row 7 the polynomial in τ. Unlisted
// slots are zero and never read.
constexpr double C[8][13] = {
    {-6.8399, -0.017226042, -7.77175039, 4.20460752, -2.76807038, 2.10419707, -1.14649588,
     0.223138085, 0.116250363, -0.0820900544, 0.0194129239, -0.00169470576, -4.311577033},
    {0.0, 0.708636085, 12.3679455, -12.0389004, 5.40437422, -0.993865043, 0.0627523182, -7.74743016,
     0.0, 0.0, 0.0, 0.0, 0.0},
    {0.0, -4.29885092, 43.1430538, -14.1619313, 4.04172459, 1.55546326, -1.66568935, 0.324881158,
     29.3655325, 0.0, 0.0, 0.0, 0.0},
    {0.0, 7.94841842e-6, 80.8859747, -83.615338, 35.8636517, 7.51895954, -12.616064, 1.09717462,
     2.12145492, -0.546529566, 8.32875413, 0.0, 0.0},
    {2.75971776e-6, -0.000509073985, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0},
    {210.636332, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0},
    {0.05528935335, -0.2336365955, 0.369707142, -0.259641547, 0.06828087013, 0.0, 0.0, 0.0, 0.0,
     0.0, 0.0, 0.0, 0.0},
    {-257.1600553, -151.8783715, 22.20723208, -180.203957, 2357.09622, -14623.35698, 45429.1663,
     -70535.56432, 43815.71428, 0.0, 0.0, 0.0, 0.0},
};

// Last power index Kμ of rows 0…3; the ln χ factor sits in slot Kμ + 1.
constexpr int Kmu[4] = {11, 6, 7, 9};

// Pressure evaluations per search, the start included: at most 78 on a 1 °C by 0.5 MPa grid of
// subregion 3 (84 on a 0.1 °C by 0.1 MPa grid) and 55 along the saturation line from 350 °C.
// A hundred times that means the search is lost.
constexpr int kRegion3Cap = 8000;

// The products (1 − k)·Cμk of Pμ, μ = 0…3, held ready-made: each is the double-precision product
// that Pμ would form.
struct WeightedC {
  double w[4][12];
};
constexpr WeightedC MakeWeightedC() {
  WeightedC out{};
  for (int mu = 0; mu <= 3; ++mu)
    for (int k = 2; k <= Kmu[mu]; ++k) out.w[mu][k] = double(1 - k) * C[mu][k];
  return out;
}
constexpr WeightedC kWeightedC = MakeWeightedC();

// Pμ = ∂Gμ/∂χ = Cμ1 + Cμℓ/χ + Σ(k = 2…Kμ) (1 − k)·Cμk·χ^(−k).
template <int mu>
double P(const Region3Volume& vol) {
  double S = 0;
  for (int k = 2; k <= Kmu[mu]; ++k) S += kWeightedC.w[mu][k] * vol.chiM[k];
  return C[mu][1] + C[mu][Kmu[mu] + 1] / vol.chi + S;
}

// The powers of χ of recent volumes. A solver's successive volume searches start from the same
// volume with the same steps and, as the solver closes in, share ever longer runs of trial
// volumes. Direct-mapped on the volume's bits; an entry belongs to the current generation only.
struct VolumeCacheEntry {
  std::uint64_t bits = 0;
  std::uint32_t generation = 0;
  bool hasChiM1 = false;
  Region3Volume vol;
  double chiM1;  // χ^(−1), taken only for subregion 4
};
constexpr int kVolumeCacheBits = 9;
thread_local VolumeCacheEntry volumeCache[1 << kVolumeCacheBits];
thread_local std::uint32_t volumeGeneration = 1;

VolumeCacheEntry& VolumeEntry(double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  const std::uint64_t mixed = (bits ^ (bits >> 31)) * 0x9E3779B97F4A7C15ull;
  VolumeCacheEntry& e = volumeCache[mixed >> (64 - kVolumeCacheBits)];
  if (e.generation != volumeGeneration || e.bits != bits) {
    e.bits = bits;
    e.generation = volumeGeneration;
    e.hasChiM1 = false;
    e.vol = Region3VolumeAt(v);
  }
  return e;
}

// χ^(1−k) for k = 1…11 is chiP[k − 1]: chiP[0] = χ⁰ = 1, chiP[j] = χ^(−j), each one pow.
struct ChiNegative {
  double chiP[11];
};

// Gμ = Cμ1·χ + Cμℓ·ln χ + Σ(k = 2…Kμ) Cμk·χ^(1−k).
double G(int mu, double chi, double lnChi, const ChiNegative& c) {
  double S = 0;
  for (int k = 2; k <= Kmu[mu]; ++k) S += C[mu][k] * c.chiP[k - 1];
  return C[mu][1] * chi + C[mu][Kmu[mu] + 1] * lnChi + S;
}

// Σ(k = 2…K) factor(k)·Cμk·χ^(1−k), with factor(k) = k − offset, or 1 when offset is none.
double SumChi(int mu, int K, const ChiNegative& c) {
  double S = 0;
  for (int k = 2; k <= K; ++k) S += C[mu][k] * c.chiP[k - 1];
  return S;
}
double SumChiWeighted(int mu, int K, int offset, const ChiNegative& c) {
  double S = 0;
  for (int k = 2; k <= K; ++k) S += double(k - offset) * C[mu][k] * c.chiP[k - 1];
  return S;
}

thread_local engine_detail::VolumeMemo region3Memo;
}  // namespace

Region3Isotherm Region3IsothermAt(double t) {
  Region3Isotherm iso;
  iso.theta = (t + IfcConstants.T0) / IfcConstants.Tc;
  iso.tau = iso.theta - 1;
  iso.tau2 = std::pow(iso.tau, 2.0);
  iso.tau3 = std::pow(iso.tau, 3.0);
  iso.c41Tau = 5 * C[4][1] * iso.tau * std::pow(iso.theta, -23.0);
  iso.S6 = 0;
  for (int j = 0; j <= 4; ++j) iso.S6 += C[6][j] * std::pow(iso.theta, double(-(j + 2)));
  return iso;
}

Region3Volume Region3VolumeAt(double v) {
  Region3Volume vol;
  vol.chi = v / IfcConstants.vc;
  vol.chiM[0] = vol.chiM[1] = 0;
  for (int k = 2; k <= 11; ++k) vol.chiM[k] = std::pow(vol.chi, double(-k));
  vol.chi5 = std::pow(vol.chi, 5.0);
  return vol;
}

const Region3Volume& Region3VolumeCached(double v) { return VolumeEntry(v).vol; }

double Region3ChiM1Cached(double v) {
  VolumeCacheEntry& e = VolumeEntry(v);
  if (!e.hasChiM1) {
    e.chiM1 = std::pow(e.vol.chi, -1.0);
    e.hasChiM1 = true;
  }
  return e.chiM1;
}

double Region3Pressure(const Region3Isotherm& iso, const Region3Volume& vol) {
  return -P<0>(vol) - iso.tau * P<1>(vol) - iso.tau2 * P<2>(vol) - iso.tau3 * P<3>(vol) +
         iso.c41Tau * vol.chiM[6] - 6 * vol.chi5 * iso.S6;
}

void engine_memo::ResetRegion3Search() {
  region3Memo.valid = false;
  // A new generation empties the volume cache; on wrap-around the old entries are cleared.
  if (++volumeGeneration == 0) {
    for (VolumeCacheEntry& e : volumeCache) e.generation = 0;
    volumeGeneration = 1;
  }
}

double Region3Reduced(double t, double v, int kind) {
  if (kind == PK_P) return Region3Pressure(Region3IsothermAt(t), Region3VolumeCached(v));

  const double theta = (t + IfcConstants.T0) / IfcConstants.Tc;
  const double chi = v / IfcConstants.vc;
  const double tau = theta - 1;
  if (kind != PK_S && kind != PK_H) return 0;

  // Each power once: χ^(1−k) for k = 1…11, τ^j for j = 0…8 (τ⁰ = 1 and τ¹ = τ exactly), and the
  // logarithms, which every G and E term shares.
  ChiNegative c;
  c.chiP[0] = 1;
  for (int j = 1; j <= 10; ++j) c.chiP[j] = std::pow(chi, double(-j));
  double tauJ[9];
  tauJ[0] = 1;
  tauJ[1] = tau;
  for (int j = 2; j <= 8; ++j) tauJ[j] = std::pow(tau, double(j));
  const double lnChi = std::log(chi);
  const double chi6 = std::pow(chi, 6.0);
  const double thetaM23 = std::pow(theta, -23.0);

  if (kind == PK_S) {
    double S6 = 0;
    for (int j = 0; j <= 4; ++j) S6 += double(j + 2) * C[6][j] * std::pow(theta, double(-(j + 3)));
    double S7 = 0;
    for (int j = 0; j <= 8; ++j) S7 += double(j + 1) * C[7][j] * tauJ[j];
    return -(G(1, chi, lnChi, c) + C[5][0]) - 2 * tau * G(2, chi, lnChi, c) -
           3 * tauJ[2] * G(3, chi, lnChi, c) + chi6 * S6 - C[5][0] * std::log(theta) - S7 +
           (C[4][0] + C[4][1] * c.chiP[5]) * (22 * thetaM23 - 23 * std::pow(theta, -24.0));
  }
  // C0ℓ = C0,12, C1ℓ = C17, C2ℓ = C28, C3ℓ = C3,10.
  const double E0 = C[0][0] - C[0][12] - C[5][0] - C[1][1] * chi + SumChiWeighted(0, 11, 0, c) -
                    SumChi(1, 6, c) + (C[0][12] - C[1][7]) * lnChi;
  const double E1 = SumChiWeighted(1, 6, 1, c) - (C[1][1] + 2 * C[2][1]) * chi - C[5][0] - C[1][7] -
                    2 * SumChi(2, 7, c) - 2 * C[2][8] * lnChi;
  const double E2 = SumChiWeighted(2, 7, 2, c) - (2 * C[2][1] + 3 * C[3][1]) * chi - C[2][8] -
                    3 * SumChi(3, 9, c) - (C[2][8] + 3 * C[3][10]) * lnChi;
  const double E3 =
      SumChiWeighted(3, 9, 3, c) - 3 * C[3][1] * chi - C[3][10] - 2 * C[3][10] * lnChi;
  // 22 and 23 come from differentiating τ·θ^(−23); 28 = 23 + 5 and 29 = 24 + 5.
  const double E4 = std::pow(theta, -22.0) * (23 * C[4][0] + 28 * C[4][1] * c.chiP[5]) -
                    thetaM23 * (24 * C[4][0] + 29 * C[4][1] * c.chiP[5]);
  double E6 = 0;
  for (int j = 0; j <= 4; ++j) E6 += double(j - 3) * C[6][j] * std::pow(theta, double(-(j + 2)));
  double E7 = 0;
  for (int j = 0; j <= 8; ++j) E7 += (1 + j * theta) * C[7][j] * tauJ[j];
  return E0 + tau * E1 + tauJ[2] * E2 + tauJ[3] * E3 + E4 + chi6 * E6 - E7;
}

double Region3Props(double t, double p, int kind, SearchInfo* info) {
  if (!region3Memo.Holds(t, p)) {
    // The start volume, by pressure at and above 22.12 MPa, else by temperature. Every start
    // lies above the middle of the three volumes at which a subcritical isotherm meets its
    // saturation pressure, so the search ends at the steam root.
    double v0 = 0.008;
    if (p > 22.12 || std::fabs(p - 22.12) < 0.000001)
      v0 = p < 40 ? 0.004 : 0.002;
    else if (t >= 370)
      v0 = 0.004;
    else if (t >= 360)
      v0 = 0.006;
    const Region3Isotherm iso = Region3IsothermAt(t);
    region3Memo = engine_detail::SearchVolume(t, p, v0, kRegion3Cap, [&](double v) {
      return Region3Pressure(iso, Region3VolumeCached(v));
    });
  }
  return engine_detail::VolumeProps(region3Memo, t, kind, info, Region3Reduced);
}
