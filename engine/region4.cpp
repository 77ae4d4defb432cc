#include "engine/region4.h"

#include <cmath>

#include "engine/constants.h"
#include "engine/detail/memo.h"
#include "engine/detail/region3_parts.h"
#include "engine/detail/volume_search.h"
#include "engine/region3.h"

namespace {
// IFC-67 subregion 4 correction Δψ = Σ(m = 3, 4) Σ(j = 0…4) D(m, j)·y^m·χ^(−j)
// + y³²·Σ(i = 0…2) E(i)·χ^i. D(m, j) is D[5·(m − 3) + j]: the five of m = 3 first.
constexpr double D[10] = {-1.717616747, 3.526389875,  -2.690899373, 0.9070982605,  -0.1138791156,
                          1.301023613,  -2.642777743, 1.996765362,  -0.6661557013, 0.08270860589};
constexpr double E[3] = {0.0003426663535, -0.001236521258, 0.001155018309};

// K = 1/(1 − θ350) with θ350 = 0.9626911787, so that y = (1 − θ)·K is 1 at 350 °C and 0 at the
// critical temperature; 32·K is held as its own constant.
constexpr double K = 26.803312598889303;
constexpr double K32 = 857.7060031644577;

// Pressure evaluations per search, the start included: at most 65 on a 1 °C by 0.5 MPa grid of
// subregion 4 (71 on a 0.1 °C by 0.1 MPa grid) and 60 along the saturation line from 350 °C.
// A hundred times that means the search is lost.
constexpr int kRegion4Cap = 7000;

// Temperature-only terms of the subregion 4 pressure at one isotherm: those of subregion 3, the
// factors j·D(m, j)·y^m of the χ^(−(j+1)) terms, the i·E(i) factors and y³².
struct Region4Isotherm {
  Region3Isotherm r3;
  double jDy[10];
  double iE[3];
  double y32;
};

Region4Isotherm Region4IsothermAt(double t) {
  Region4Isotherm iso;
  iso.r3 = Region3IsothermAt(t);
  const double y = (1 - iso.r3.theta) * K;
  const double yM[2] = {std::pow(y, 3.0), std::pow(y, 4.0)};
  for (int m = 3; m <= 4; ++m)
    for (int j = 0; j <= 4; ++j) iso.jDy[5 * (m - 3) + j] = j * D[5 * (m - 3) + j] * yM[m - 3];
  for (int i = 0; i <= 2; ++i) iso.iE[i] = i * E[i];
  iso.y32 = std::pow(y, 32.0);
  return iso;
}

// β of subregion 4, equal to Region4Reduced(t, v, PK_P): the subregion 3 pressure plus
// Σ j·D(m, j)·y^m·χ^(−(j+1)) − y³²·Σ i·E(i)·χ^(i−1), with χ⁰ = 1 and χ¹ = χ exactly.
double Region4Pressure(const Region4Isotherm& iso, double v) {
  const Region3Volume& vol = Region3VolumeCached(v);
  const double r3 = Region3Pressure(iso.r3, vol);
  const double chiM1 = Region3ChiM1Cached(v);
  const double chiPow[3] = {chiM1, 1, vol.chi};  // χ^(i−1), i = 0…2
  double SD = 0;
  for (int m = 3; m <= 4; ++m)
    for (int j = 0; j <= 4; ++j)
      SD += iso.jDy[5 * (m - 3) + j] * (j == 0 ? chiM1 : vol.chiM[j + 1]);
  double SE = 0;
  for (int i = 0; i <= 2; ++i) SE += iso.iE[i] * chiPow[i];
  return r3 + SD - iso.y32 * SE;
}

thread_local engine_detail::VolumeMemo region4Memo;
}  // namespace

void engine_memo::ResetRegion4Search() { region4Memo.valid = false; }

double Region4Reduced(double t, double v, int kind) {
  if (kind != PK_P && kind != PK_S && kind != PK_H) return 0;
  if (kind == PK_P) return Region4Pressure(Region4IsothermAt(t), v);
  const double r3 = Region3Reduced(t, v, kind);

  const double theta = (t + IfcConstants.T0) / IfcConstants.Tc;
  const double y = (1 - theta) * K;
  const double chi = v / IfcConstants.vc;

  // The three results are −∂Δψ/∂χ, −∂Δψ/∂θ and Δψ + θ·σ + χ·β. Each power once: y^(m−1) for
  // m = 3, 4; χ^(−j) for j = 0…4 (χ⁰ = 1); χ^i for i = 0…2 (χ⁰ = 1, χ¹ = χ); y³¹.
  const double yM1[2] = {std::pow(y, 2.0), std::pow(y, 3.0)};
  double chiMj[5];
  chiMj[0] = 1;
  for (int j = 1; j <= 4; ++j) chiMj[j] = std::pow(chi, double(-j));
  const double chiI[3] = {1, chi, std::pow(chi, 2.0)};
  const double y31 = std::pow(y, 31.0);
  double SD = 0;
  double SE = 0;
  if (kind == PK_S) {
    for (int m = 3; m <= 4; ++m)
      for (int j = 0; j <= 4; ++j) SD += m * D[5 * (m - 3) + j] * yM1[m - 3] * chiMj[j];
    for (int i = 0; i <= 2; ++i) SE += E[i] * chiI[i];
    return r3 + K * (SD + 32 * y31 * SE);
  }
  for (int m = 3; m <= 4; ++m)
    for (int j = 0; j <= 4; ++j)
      SD += D[5 * (m - 3) + j] * yM1[m - 3] * chiMj[j] * ((j - m + 1) * y + m * K);
  for (int i = 0; i <= 2; ++i) SE += E[i] * chiI[i] * ((i + 31) * y - K32);
  return r3 + SD - y31 * SE;
}

double Region4Props(double t, double p, int kind, SearchInfo* info) {
  if (!region4Memo.Holds(t, p)) {
    // A liquid-like start: the computed pressure crosses the wanted one between it and the
    // answer for every compressed-water point up to 100 MPa.
    const Region4Isotherm iso = Region4IsothermAt(t);
    region4Memo = engine_detail::SearchVolume(t, p, p < 36 ? 0.002 : 0.0015, kRegion4Cap,
                                              [&](double v) { return Region4Pressure(iso, v); });
  }
  return engine_detail::VolumeProps(region4Memo, t, kind, info, Region4Reduced);
}
