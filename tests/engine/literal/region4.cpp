// Frozen reference copy of engine/region4.cpp, taken before any optimisation.
// The bit-identity test holds the engine to this literal arithmetic: never edit it.
#include "tests/engine/literal/region4.h"

#include <cmath>

#include "tests/engine/literal/constants.h"
#include "tests/engine/literal/region3.h"

namespace literal {

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
}  // namespace

double Region4Reduced(double t, double v, int kind) {
  if (kind != PK_P && kind != PK_S && kind != PK_H) return 0;
  const double r3 = Region3Reduced(t, v, kind);

  const double theta = (t + IfcConstants.T0) / IfcConstants.Tc;
  const double y = (1 - theta) * K;
  const double chi = v / IfcConstants.vc;

  // The three results are −∂Δψ/∂χ, −∂Δψ/∂θ and Δψ + θ·σ + χ·β; the j = 0 and i = 0 terms of β,
  // whose factor is 0, are summed like the others.
  double SD = 0;
  double SE = 0;
  if (kind == PK_P) {
    for (int m = 3; m <= 4; ++m)
      for (int j = 0; j <= 4; ++j)
        SD += j * D[5 * (m - 3) + j] * std::pow(y, double(m)) * std::pow(chi, double(-(j + 1)));
    for (int i = 0; i <= 2; ++i) SE += i * E[i] * std::pow(chi, double(i - 1));
    return r3 + SD - std::pow(y, 32.0) * SE;
  }
  if (kind == PK_S) {
    for (int m = 3; m <= 4; ++m)
      for (int j = 0; j <= 4; ++j)
        SD += m * D[5 * (m - 3) + j] * std::pow(y, double(m - 1)) * std::pow(chi, double(-j));
    for (int i = 0; i <= 2; ++i) SE += E[i] * std::pow(chi, double(i));
    return r3 + K * (SD + 32 * std::pow(y, 31.0) * SE);
  }
  for (int m = 3; m <= 4; ++m)
    for (int j = 0; j <= 4; ++j)
      SD += D[5 * (m - 3) + j] * std::pow(y, double(m - 1)) * std::pow(chi, double(-j)) *
            ((j - m + 1) * y + m * K);
  for (int i = 0; i <= 2; ++i) SE += E[i] * std::pow(chi, double(i)) * ((i + 31) * y - K32);
  return r3 + SD - std::pow(y, 31.0) * SE;
}

double Region4Props(double t, double p, int kind, SearchInfo* info) {
  if (info) *info = SearchInfo{};
  const double beta = p / IfcConstants.pc;

  // Step 1: start at a liquid-like volume; the computed pressure crosses the wanted one between
  // it and the answer for every compressed-water point up to 100 MPa.
  double v = p < 36 ? 0.002 : 0.0015;

  // Step 2: a computed pressure at or above the wanted one moves the volume up.
  double d = Region4Reduced(t, v, PK_P) - beta;
  int evaluations = 1;
  double s = d >= 0 ? 1 : -1;

  // Step 3: step, reversing and shrinking tenfold each time the wanted pressure is crossed; the
  // floor's reductions persist. 0.0001·0.1⁴ is just above 1e-8, so a search that steps ends no
  // earlier than the fifth reversal.
  if (!(std::fabs(d) <= 1e-7)) {
    double h = 0.0001;
    for (;;) {
      while (v + s * h < 0.00001) h = h * 0.1;
      // h only shrinks: a trial that cannot move now never moves again and d stays as it is.
      const bool frozen = v + h == v && v - h == v;
      v = v + s * h;
      d = Region4Reduced(t, v, PK_P) - beta;
      ++evaluations;
      if (std::fabs(d) < 1e-7 && h < 1e-8) break;
      if ((frozen && !(std::fabs(d) < 1e-7)) || evaluations >= kRegion4Cap) {
        if (info) {
          info->evaluations = evaluations;
          info->converged = false;
        }
        return 0;
      }
      if (s * d < 0) {
        h = h * 0.1;
        s = -s;
      }
    }
  }
  if (info) info->evaluations = evaluations;

  if (kind == PK_V) return v / IfcConstants.vc;
  return Region4Reduced(t, v, kind);
}

}  // namespace literal
