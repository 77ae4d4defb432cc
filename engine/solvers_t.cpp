// The inverse solvers at given temperature: the pressure of (t, s) and of (t, h).
#include <cmath>
#include <cstdint>

#include "engine/constants.h"
#include "engine/detail/solver_parts.h"
#include "engine/saturation.h"
#include "engine/solvers.h"

namespace {

using solver_search::Branch;
using solver_search::Fail;

// Outside the state range from below (−1); a pressure search never steps above 100 MPa.
int PressureSide(double p) { return PressBelowRange(p) ? -1 : (p > 100 ? 1 : 0); }

// One result slot of the (t, h) solver.
struct Slot {
  double& p;
  double& v;
  double& s;
  double& x;
  int& state;
  void Fill(double pp, double vv, double ss, double xx, int st) const {
    p = pp;
    v = vv;
    s = ss;
    x = xx;
    state = st;
  }
};

}  // namespace

int SolvePFromTS(double t, double s, double& p, double& v, double& h, double& x, SearchInfo* info) {
  if (info) *info = SearchInfo{};
  if (t > 800) {
    CalcStatus = CS_T_HIGH;
    return Fail(p, v, h, x);
  }
  // Entropy falls with pressure: the lowest at 100 MPa, the highest at 0.001 MPa. A temperature
  // below the range leaves CS_T_LOW from these calls; the value-range flags are OR-ed onto it.
  CalcStatus = 0;
  const double sLo = PointPropValue(t, 100, PK_S);
  const double sHi = PointPropValue(t, 0.001, PK_S);
  if (!(s >= sLo))
    CalcStatus |= CS_S_LOW;
  else if (s > sHi)
    CalcStatus |= CS_S_HIGH;
  if (CalcStatus) return Fail(p, v, h, x);

  if (std::fabs(t - 374.15) < 0.00001 && std::fabs(s - 4.4429) < 0.000001) {
    p = kCriticalP;
    v = kCriticalV;
    h = kCriticalH;
    x = 1;
    return SC_SUPERCRITICAL;
  }

  const double sC = PointPropValue(t, 22.12, PK_S);
  Branch branch;
  double sW = 0, sS = 0;  // s′, s″
  if (t < 374.15) {
    sW = SatWaterProp(t, 1, PK_S);
    sS = SatSteamProp(t, 1, PK_S);
    if ((s > sW && s < sS) || std::fabs(s - sW) < 0.00005 || std::fabs(s - sS) < 0.00005)
      return solver_search::WetAnswer(t, 1, s, PK_S, PK_H).Give(p, v, h, x);
    // Below sC the pressure lies above 22.12 MPa although t is below 374.15 °C.
    if (s > sC)
      branch = s >= sW ? Branch::Steam : Branch::Water;
    else
      branch = Branch::Supercritical;
  } else {
    if (std::fabs(s - sC) < 0.00005) {
      p = 22.12;
      v = PointPropValue(t, 22.12, PK_V);
      h = PointPropValue(t, 22.12, PK_H);
      x = 1;
      return SC_SUPERCRITICAL;
    }
    branch = s >= sC ? Branch::Steam : Branch::Supercritical;
    // At exactly 374.15 °C the steam start value below takes s″ at the critical point.
    sS = kCriticalS;
  }

  double p0;
  double ps = 0;
  if (t > 374.15) {
    if (branch == Branch::Supercritical)
      p0 = (sC - s) * 77.88 / (sC - sLo) + 22.12;  // linear between 22.12 and 100 MPa
    else
      p0 = (sHi - s) * 22.11 / (sHi - sC) + 0.01;  // linear between 0.01 and 22.12 MPa
  } else {
    ps = SatPressure(t);
    if (branch == Branch::Supercritical)
      p0 = (sC - s) * 77.88 / (sC - sLo) + 22.12;
    else if (branch == Branch::Water)
      p0 = ps + (sW - s) * (100 - ps) / (sW - sLo);
    else
      p0 = ps * (sHi - s) / (sHi - sS);
  }

  auto residual = [&](double pp, bool& valid) {
    return solver_search::TrialResidual(t, pp, PK_S, s, valid);
  };
  // Pressure stays in 0…100 MPa; the water trial at or above ps − 0.00001, the steam trial
  // below t's ps − 0.00001, the supercritical trial above 22.12 + 0.00001.
  auto guards = [&](double pp, double d, double& step) {
    if (!engine_detail::Shrink(pp, d, step, [](double u) { return u < 0; })) return false;
    if (!engine_detail::Shrink(pp, d, step, [](double u) { return u > 100; })) return false;
    if (branch == Branch::Water)
      return engine_detail::Shrink(pp, d, step, [&](double u) { return ps - u > 0.00001; });
    if (branch == Branch::Steam && t < 374.15)
      return engine_detail::Shrink(pp, d, step, [&](double u) { return u - ps > -0.00001; });
    if (branch == Branch::Supercritical)
      return engine_detail::Shrink(pp, d, step, [](double u) { return u - 22.12 < 0.00001; });
    return true;
  };
  // Entropy falls with pressure: overshot when the residual's sign is against d.
  auto overshoot = [](double d, double r) { return d * r < 0; };

  bool valid = false;
  const double r0 = residual(p0, valid);
  const double d0 = r0 > 0 ? 1 : -1;
  const solver_search::Outcome o = solver_search::StepSearch(
      p0, r0, valid, d0, 10, 0.000001, 0.000001, residual, guards, overshoot, PressureSide);
  double a = 0.001, b = 22.12;  // steam at or above 374.15 °C
  if (branch == Branch::Steam && t < 374.15) b = ps;
  if (branch == Branch::Water) {
    a = std::fmax(ps + 0.00001, 0.0007);
    b = 100;
  }
  if (branch == Branch::Supercritical) {
    a = 22.12;
    b = 100;
  }
  auto nearCritical = [&](double pp) { return solver_search::NearCritical(t, pp); };
  SearchInfo own;
  const bool found = solver_search::Finish(
      o, a, b, 0.000001, 0.000001, solver_search::kBestPointBoundS, residual, nearCritical, p, own);
  if (info) *info = own;
  if (!found) {
    CalcStatus = CS_NO_CONVERGENCE;
    return Fail(p, v, h, x);
  }
  h = PointPropValue(t, p, PK_H);
  v = PointPropValue(t, p, PK_V);
  return solver_search::BranchState(branch, x);
}

namespace {

// The pressure search of the (t, h) solver on one branch. `hW`, `hS`, `hLo`, `hHi`, `hC` are
// h′, h″ and the enthalpies at 100, 0.001 and 22.12 MPa. Returns false when it cannot end.
bool SearchPFromTH(double t, double h, Branch branch, double hW, double hS, double hLo, double hHi,
                   double hC, double& pFound, SearchInfo* info) {
  double p0;
  double ps = 0;
  if (t > 374.15) {
    p0 = (hHi - h) * 22.11 / (hHi - hC) + 0.01;
  } else {
    ps = SatPressure(t);
    if (branch == Branch::Water)
      p0 = ps + (hW - h) * (100 - ps) / (hW - hLo);
    else
      p0 = (hHi - h) * ps / (hHi - hS);
  }

  // Enthalpy may rise or fall with pressure along the isotherm: its slope sign σ comes from two
  // probes, the higher pressure first.
  double y1, y2;
  if (branch == Branch::Water) {
    y1 = PointPropValue(t, ps + 0.5 * (22.12 - ps), PK_H);
    y2 = PointPropValue(t, ps + (22.12 - ps) / 3, PK_H);
  } else if (t < 374.15) {
    y1 = PointPropValue(t, 0.5 * ps, PK_H);
    y2 = PointPropValue(t, ps / 3, PK_H);
  } else {
    y1 = PointPropValue(t, 8, PK_H);
    y2 = PointPropValue(t, 5, PK_H);
  }
  const double sigma = y1 - y2 > 0 ? 1 : -1;

  auto residual = [&](double pp, bool& valid) {
    return solver_search::TrialResidual(t, pp, PK_H, h, valid);
  };
  auto guards = [&](double pp, double d, double& step) {
    if (!engine_detail::Shrink(pp, d, step, [](double u) { return u < 0; })) return false;
    if (!engine_detail::Shrink(pp, d, step, [](double u) { return u > 100; })) return false;
    if (branch == Branch::Water) {
      // Written as (ps − p) − d·Δ: rounds differently from ps − (p + d·Δ).
      while ((ps - pp) - d * step > 0.00001) {
        if (step == 0) return false;
        step *= 0.1;
      }
      return true;
    }
    if (branch == Branch::Steam && t < 374.15)
      return engine_detail::Shrink(pp, d, step, [&](double u) { return u - ps > -0.00001; });
    return true;
  };
  auto overshoot = [sigma](double d, double r) { return sigma == 1 ? d * r > 0 : d * r < 0; };

  bool valid = false;
  const double r0 = residual(p0, valid);
  const double d0 = r0 > 0 ? -sigma : sigma;
  const solver_search::Outcome o = solver_search::StepSearch(
      p0, r0, valid, d0, 10, 0.00005, 0.000001, residual, guards, overshoot, PressureSide);
  double a = 0.001, b = 22.12;  // steam at or above 374.15 °C
  if (branch == Branch::Steam && t < 374.15) b = ps;
  if (branch == Branch::Water) a = std::fmax(ps + 0.00001, 0.0007);
  auto nearCritical = [&](double pp) { return solver_search::NearCritical(t, pp); };
  SearchInfo own;
  const bool found =
      solver_search::Finish(o, a, b, 0.00005, 0.000001, solver_search::kBestPointBoundH, residual,
                            nearCritical, pFound, own);
  if (info) {
    info->evaluations += own.evaluations;
    info->converged = info->converged && own.converged;
    info->bestPoint = info->bestPoint || own.bestPoint;
  }
  return found;
}

}  // namespace

int SolvePFromTH(double t, double h, double& p1, double& v1, double& s1, double& x1, int& state1,
                 double& p2, double& v2, double& s2, double& x2, int& state2, SearchInfo* info) {
  if (info) *info = SearchInfo{};
  const Slot slot1{p1, v1, s1, x1, state1};
  const Slot slot2{p2, v2, s2, x2, state2};
  auto fail = [&] {
    slot1.Fill(10, 10, 10, 1, SC_UNKNOWN);
    slot2.Fill(10, 10, 10, 1, SC_UNKNOWN);
    return 0;
  };
  if (t > 800) {
    CalcStatus = CS_T_HIGH;
    return fail();
  }
  CalcStatus = 0;
  const double hLo = PointPropValue(t, 100, PK_H);
  const double hHi = PointPropValue(t, 0.001, PK_H);
  // A fixed lower limit of 1 kJ/kg, not hLo; at or above hHi is out. NaN counts as below.
  if (!(h >= 1))
    CalcStatus |= CS_H_LOW;
  else if (h >= hHi)
    CalcStatus |= CS_H_HIGH;
  if (CalcStatus) return fail();

  if (std::fabs(t - 374.15) < 0.00001 && std::fabs(h - 2107.4) < 0.000001) {
    slot1.Fill(kCriticalP, kCriticalV, kCriticalS, 1, SC_SUPERCRITICAL);
    return 1;
  }
  const double hC = PointPropValue(t, 22.12, PK_H);
  if (std::fabs(h - hC) < 0.0005) {
    const double v = PointPropValue(t, 22.12, PK_V);
    const double s = PointPropValue(t, 22.12, PK_S);
    slot1.Fill(22.12, v, s, 1, SC_SUPERCRITICAL);
    return 1;
  }

  double hW = 0, hS = 0;  // h′, h″
  bool steam = false, water = false;
  std::uint32_t qualityFlags = 0;
  int count = 0;
  if (t >= 374.15) {
    if (h < hC) return 0;  // no state of this enthalpy at this temperature
    steam = true;
    count = 1;
    hS = kCriticalH;  // the start value at exactly 374.15 °C takes h″ at the critical point
  } else {
    hW = SatWaterProp(t, 1, PK_H);
    hS = SatSteamProp(t, 1, PK_H);
    const bool wet =
        (h > hW && h < hS) || std::fabs(h - hW) < 0.00005 || std::fabs(h - hS) < 0.00005;
    steam = h > hS + 0.00005;
    // A compressed-water state between ps and 22.12 MPa with this enthalpy.
    const double u = (h - hW) / (hC - hW);
    water = u > 0 && u < 1 && h - hW > 0.00005;
    if (wet) count = 1;
    if (steam) ++count;
    if (water) ++count;
    if (wet) {
      const solver_search::Wet w = solver_search::WetAnswer(t, 1, h, PK_H, PK_S);
      qualityFlags = w.qualityFlags;  // carried past the searches below
      slot1.Fill(w.sat, w.v, w.z, w.x, SC_WET);
      if (count == 1) {
        CalcStatus |= qualityFlags;
        return 1;
      }
    }
    if (!steam && !water) return 0;
  }

  // One search per branch that holds. With a wet solution in slot 1 the other goes to slot 2;
  // without one, a single solution goes to slot 1, and when both the steam and the water
  // conditions hold the steam solution takes slot 1 and the compressed-water one slot 2.
  const bool both = steam && water;
  double pSteam = 0, pWater = 0;
  if (steam && !SearchPFromTH(t, h, Branch::Steam, hW, hS, hLo, hHi, hC, pSteam, info)) {
    CalcStatus = CS_NO_CONVERGENCE;
    return fail();
  }
  if (water && !SearchPFromTH(t, h, Branch::Water, hW, hS, hLo, hHi, hC, pWater, info)) {
    CalcStatus = CS_NO_CONVERGENCE;
    return fail();
  }
  auto fillSearched = [&](const Slot& slot, double p, bool isSteam) {
    const double s = PointPropValue(t, p, PK_S);
    const double v = PointPropValue(t, p, PK_V);
    double x = 0;
    const int state = solver_search::BranchState(isSteam ? Branch::Steam : Branch::Water, x);
    slot.Fill(p, v, s, x, state);
  };
  if (both) {
    fillSearched(slot1, pSteam, true);
    fillSearched(slot2, pWater, false);
  } else {
    fillSearched(count == 2 ? slot2 : slot1, steam ? pSteam : pWater, steam);
  }
  CalcStatus |= qualityFlags;
  return count;
}
