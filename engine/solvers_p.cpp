// The inverse solvers at given pressure: the temperature of (p, s) and of (p, h).
#include <cmath>
#include <cstdint>

#include "engine/constants.h"
#include "engine/detail/solver_parts.h"
#include "engine/saturation.h"
#include "engine/solvers.h"

namespace {

using solver_search::Branch;
using solver_search::Fail;

// What differs between the (p, s) and the (p, h) solver.
struct Given {
  int kind;       // PK_S or PK_H, the given property
  int otherKind;  // PK_H or PK_S, the one returned beside v
  std::uint32_t lowFlag, highFlag;
  double tolR, tolStep;  // the search's stop test
  bool upperGuard;       // the (p, h) search never steps above 800 °C
  double bound;          // best-point acceptance bound
};

constexpr Given kGivenS{PK_S,     PK_H,     CS_S_LOW, CS_S_HIGH,
                        0.000001, 0.000001, false,    solver_search::kBestPointBoundS};
constexpr Given kGivenH{PK_H,   PK_S,    CS_H_LOW, CS_H_HIGH,
                        0.0001, 0.00001, true,     solver_search::kBestPointBoundH};

int SolveTFromP(const Given& g, double p, double y, double& t, double& v, double& z, double& x,
                SearchInfo* info) {
  if (info) *info = SearchInfo{};
  if (p > 100) {
    CalcStatus = CS_P_HIGH;
    return Fail(t, v, z, x);
  }
  // The bracket at 0.1 and 800 °C; a pressure below the range leaves CS_P_LOW from these calls,
  // and the value-range flags are OR-ed onto what they left. A NaN value counts as below.
  CalcStatus = 0;
  const double yLo = PointPropValue(0.1, p, g.kind);
  const double yHi = PointPropValue(800, p, g.kind);
  if (!(y >= yLo))
    CalcStatus |= g.lowFlag;
  else if (y > yHi)
    CalcStatus |= g.highFlag;
  if (CalcStatus) return Fail(t, v, z, x);

  Branch branch;
  double t0;
  double ts = 0;
  if (p > 22.12 || std::fabs(p - 22.12) < 0.00001) {
    branch = Branch::Supercritical;
    t0 = (y - yLo) * 800 / (yHi - yLo);
  } else {
    const double yW = SatWaterProp(p, 0, g.kind);
    const double yS = SatSteamProp(p, 0, g.kind);
    // The wet band's tolerance: 0.00005 in s; in h 0.1 kJ/kg, or 0.01 below 0.0250239 MPa.
    double tol = 0.00005;
    if (g.kind == PK_H) tol = p >= 0.0250239 ? 0.1 : 0.01;
    if ((y > yW && y < yS) || std::fabs(y - yW) < tol || std::fabs(y - yS) < tol)
      return solver_search::WetAnswer(p, 0, y, g.kind, g.otherKind).Give(t, v, z, x);
    ts = SatTemperature(p);
    if (y < yW) {
      branch = Branch::Water;
      t0 = (y - yLo) * (ts - 0.1) / (yW - yLo) + 0.1;  // linear between 0.1 °C and ts
    } else {
      branch = Branch::Steam;
      t0 = ts + (800 - ts) * (y - yS) / (yHi - yS);  // linear between ts and 800 °C
    }
  }

  auto residual = [&](double tt, bool& valid) {
    return solver_search::TrialResidual(tt, p, g.kind, y, valid);
  };
  // Lower guard 0.00001 °C, the (p, h) solver's upper guard at 800 °C, then the saturation guard
  // that keeps the trial at least 0.00001 °C on its own side of ts.
  auto guards = [&](double tt, double d, double& step) {
    if (!engine_detail::Shrink(tt, d, step, [](double u) { return u < 0.00001; })) return false;
    if (g.upperGuard && !engine_detail::Shrink(tt, d, step, [](double u) { return u > 800; }))
      return false;
    if (branch == Branch::Water)
      return engine_detail::Shrink(tt, d, step, [&](double u) { return ts - u < 0.00001; });
    if (branch == Branch::Steam)
      return engine_detail::Shrink(tt, d, step, [&](double u) { return u - ts < 0.00001; });
    return true;
  };
  // The property rises with temperature: overshot when the residual has the sign of d.
  auto overshoot = [](double d, double r) { return d * r > 0; };
  auto side = [](double tt) { return TempBelowRange(tt) ? -1 : (tt > 800 ? 1 : 0); };

  bool valid = false;
  const double r0 = residual(t0, valid);
  const double d0 = r0 >= 0 ? -1 : 1;
  const solver_search::Outcome o = solver_search::StepSearch(
      t0, r0, valid, d0, 100, g.tolR, g.tolStep, residual, guards, overshoot, side);
  const double a = branch == Branch::Steam ? ts : 0.1;
  const double b = branch == Branch::Water ? ts - 0.00001 : 800;
  auto nearCritical = [&](double tt) { return solver_search::NearCritical(tt, p); };
  SearchInfo own;
  const bool found =
      solver_search::Finish(o, a, b, g.tolR, g.tolStep, g.bound, residual, nearCritical, t, own);
  if (info) *info = own;
  if (!found) {
    CalcStatus = CS_NO_CONVERGENCE;
    return Fail(t, v, z, x);
  }
  z = PointPropValue(t, p, g.otherKind);
  v = PointPropValue(t, p, PK_V);
  return solver_search::BranchState(branch, x);
}

}  // namespace

int SolveTFromPS(double p, double s, double& t, double& v, double& h, double& x, SearchInfo* info) {
  return SolveTFromP(kGivenS, p, s, t, v, h, x, info);
}

int SolveTFromPH(double p, double h, double& t, double& v, double& s, double& x, SearchInfo* info) {
  return SolveTFromP(kGivenH, p, h, t, v, s, x, info);
}
