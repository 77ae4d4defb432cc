#include "engine/saturation.h"

#include <cmath>
#include <cstdint>

#include "engine/constants.h"
#include "engine/detail/memo.h"
#include "engine/detail/step_search.h"

namespace {
// IFC-67 K-function coefficients k1…k9; slot 0 unused so that k[1] is k1.
constexpr double k[10] = {0.0,          -7.691234564, -26.08023696, -168.1706546, 64.23285504,
                          -118.9646225, 4.16711732,   20.9750676,   1.0e9,        6.0};

// Start points of the saturation-temperature search, (p MPa, t °C), held in single precision
// as the search expects: a start temperature returned unchanged carries its float rounding.
constexpr int kStartCount = 15;
constexpr float startP[kStartCount] = {0.001f, 0.0055f, 0.01f, 0.025f, 0.05f, 0.1f,  0.5f,  1.0f,
                                       2.0f,   3.0f,    6.0f,  10.0f,  15.0f, 20.0f, 22.12f};
constexpr float startT[kStartCount] = {6.9828f,  34.6053f, 45.8328f, 64.9916f, 81.3453f,
                                       99.6316f, 151.844f, 179.884f, 212.375f, 233.841f,
                                       275.549f, 310.961f, 342.131f, 365.702f, 374.15f};

// The worst accepted pressure needs about 70 steps; a hundred times that means the search is lost.
constexpr int kSatTempCap = 7000;

// The last searched pressure and what its search returned, counted and left in CalcStatus.
struct SatTempMemo {
  bool valid = false;
  double p = 0;
  double t = 0;
  int steps = 0;
  std::uint32_t status = 0;
};
thread_local SatTempMemo satTempMemo;

// SatPressure at each start temperature, worked out once: every search first tests its start
// point against the pressure it is given.
double StartPressure(int j) {
  struct Table {
    double ps[kStartCount];
    Table() {
      for (int i = 0; i < kStartCount; ++i) ps[i] = SatPressure(startT[i]);
    }
  };
  static const Table table;
  return table.ps[j];
}

double Remember(double p, double t, int steps, int* stepsOut) {
  satTempMemo = {true, p, t, steps, CalcStatus};
  if (stepsOut) *stepsOut = steps;
  return t;
}
}  // namespace

void engine_memo::ResetSaturation() { satTempMemo.valid = false; }

double SatPressureReduced(double t) {
  const double theta = (t + IfcConstants.T0) / IfcConstants.Tc;
  const double u = 1 - theta;
  // Four powers, each taken once: u¹ is u itself (pow(u, 1) is exact), u² serves three terms.
  const double u2 = std::pow(u, 2.0);
  const double u3 = std::pow(u, 3.0);
  const double u4 = std::pow(u, 4.0);
  const double u5 = std::pow(u, 5.0);
  double S = 0;
  S += k[1] * u;
  S += k[2] * u2;
  S += k[3] * u3;
  S += k[4] * u4;
  S += k[5] * u5;
  const double E = S / (theta * (1 + k[6] * u + k[7] * u2)) - u / (k[8] * u2 + k[9]);
  return std::exp(E);
}

double SatPressure(double t) {
  CalcStatus = SatTempFlags(t);
  if (CalcStatus) return 1;
  return SatPressureReduced(t) * IfcConstants.pc;
}

double SatTemperature(double p, int* steps) {
  if (steps) *steps = 0;
  CalcStatus = SatPressFlags(p);
  if (CalcStatus) return 10;
  if (std::fabs(p - 22.12) <= 0.00001) return 374.15;
  if (satTempMemo.valid && satTempMemo.p == p) {
    CalcStatus = satTempMemo.status;
    if (steps) *steps = satTempMemo.steps;
    return satTempMemo.t;
  }

  // Index 0 is never compared: everything below 0.0055 starts there. The float table values
  // are compared as they are, so 0.1 (held slightly above 0.1) starts from the point below.
  int j = 0;
  for (int i = 1; i < kStartCount; ++i) {
    if (double(startP[i]) > p) break;
    j = i;
  }
  // Step towards the root from Δ = 10 upwards, reversing and shrinking tenfold at each
  // overshoot; the guards keep the trial inside (0.00001, 374.15] and their reductions persist.
  struct Search : engine_detail::PlainSearch {
    double p;
    double tolR = 1e-7, tolStep = 1e-6;
    int roundCap = kSatTempCap;
    double Residual(double T, bool& valid) const {
      valid = true;
      return SatPressure(T) - p;
    }
    static bool Guard(double T, double d, double& h) {
      return engine_detail::Shrink(T, d, h, [](double u) { return u < 0.00001; }) &&
             engine_detail::Shrink(T, d, h, [](double u) { return u > 374.15; });
    }
    static bool Overshoot(double d, double delta) { return d * delta > 0; }
  } search;
  search.p = p;
  const engine_detail::SearchOutcome o =
      engine_detail::StepSearch(search, startT[j], StartPressure(j) - p, true, 1, 10);
  if (o.end != engine_detail::SearchEnd::Converged) {
    CalcStatus = CS_NO_CONVERGENCE;
    return Remember(p, 10, o.rounds, steps);
  }
  return Remember(p, o.x, o.rounds, steps);
}
