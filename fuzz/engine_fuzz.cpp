// libFuzzer harness of the property engine. The bytes choose a sequence of up to eight engine
// calls and their arguments: raw bit patterns, NaN, infinities, denormals, −0, every range limit
// and tolerance nudged by ulps or decimal offsets, and points derived from the saturation line,
// the L-line and the searched property itself, where the searches have the least room.
//
// Asserted for every call:
//   - it returns (libFuzzer's -timeout turns a slow input into a reported hang);
//   - it assigns CalcStatus rather than OR-ing onto the caller's value (the caller's bits are
//     poisoned before each call), except where IsentropicEndH is documented to leave it alone;
//   - on success (status 0) every result is finite and inside its function's documented set
//     (region codes, state codes, dryness 0…1 or −1);
//   - on failure every returned number is still finite: a sentinel, never NaN.
// With KELM_FUZZ_STRICT=1 in the environment it also checks plausibility: searched results
// reproduce their target within the search's stop tolerance (or its best-point bound), results
// lie in the state range, and searches that converged did so under their round cap.
//
// The subregion equations Region1Reduced … Region4Reduced are pure formulas, defined only inside
// their subregions: they are called only at points that region selection assigns to them (or
// on the saturation line where the saturation properties use them), and the volume-based
// Region3Reduced/Region4Reduced only through the volume searches Region3Props/Region4Props.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "engine/constants.h"
#include "engine/entrypoints.h"
#include "engine/region1.h"
#include "engine/region2.h"
#include "engine/region3.h"
#include "engine/region4.h"
#include "engine/regions.h"
#include "engine/satprops.h"
#include "engine/saturation.h"
#include "engine/search.h"
#include "engine/detail/solver_parts.h"
#include "engine/solvers.h"
#include "engine/statepoint.h"
#include "fuzz/fuzz_input.h"

namespace {

using fuzz::Input;
using fuzz::Quantity;

// Bits no engine function ever sets: a result that still carries them was OR-ed, not assigned.
constexpr std::uint32_t kPoison = 0x40000000u;

bool Strict() {
  static const bool strict = [] {
    const char* s = std::getenv("KELM_FUZZ_STRICT");
    return s != nullptr && s[0] == '1';
  }();
  return strict;
}

[[noreturn]] void Fail(const char* what, double a, double b, double c) {
  std::fprintf(stderr, "engine_fuzz: %s (args %.17g, %.17g, %.17g), CalcStatus 0x%x\n", what, a, b,
               c, unsigned(CalcStatus));
  std::abort();
}

void Require(bool ok, const char* what, double a, double b = 0, double c = 0) {
  if (!ok) Fail(what, a, b, c);
}

void Plausible(bool ok, const char* what, double a, double b = 0, double c = 0) {
  if (Strict() && !ok) Fail(what, a, b, c);
}

bool Finite(double v) { return std::isfinite(v); }

// The largest number of evaluations seen per search, printed whenever it grows.
struct Record {
  const char* name;
  int cap;
  int most = 0;
  void Note(int evaluations) {
    if (evaluations > most) {
      most = evaluations;
      std::fprintf(stderr, "#most %s evaluations %d (cap %d)\n", name, most, cap);
    }
  }
};
Record satTempRecord{"SatTemperature", 7000};
Record region3Record{"Region3Props", 8000};
Record region4Record{"Region4Props", 7000};
// The solvers' count is of state-point evaluations, each search round one, bisection included.
Record solveTFromPSRecord{"SolveTFromPS", solver_search::kRoundCap};
Record solveTFromPHRecord{"SolveTFromPH", solver_search::kRoundCap};
Record solvePFromTSRecord{"SolvePFromTS", solver_search::kRoundCap};
Record solvePFromTHRecord{"SolvePFromTH", solver_search::kRoundCap};
constexpr double kBoundS = solver_search::kBestPointBoundS;
constexpr double kBoundH = solver_search::kBestPointBoundH;

int Kind(Input& in) { return 1 + in.Byte() % 3; }  // PK_V, PK_S or PK_H

// A state point (t, p): independent, or placed on or beside the saturation line, the L-line
// between subregions 2 and 3, or the critical point.
void StatePoint(Input& in, double& t, double& p) {
  const std::uint8_t how = in.Byte() % 6;
  t = in.Double(Quantity::T);
  p = in.Double(Quantity::P);
  switch (how) {
    case 1: {  // pressure on the saturation line of t, nudged
      const double ps = SatPressure(t);
      if (CalcStatus == 0) p = in.Byte() & 1 ? in.Ulps(ps) : ps * (1 + in.Offset(0.0) * 1e-3);
      break;
    }
    case 2: {  // temperature on the saturation line of p, nudged
      const double ts = SatTemperature(p);
      if (CalcStatus == 0) t = in.Byte() & 1 ? in.Ulps(ts) : in.Offset(ts);
      break;
    }
    case 3:  // on the L-line, nudged
      p = in.Ulps(BoundaryL(t) * IfcConstants.pc) * (1 + in.Offset(0.0) * 1e-4);
      break;
    case 4:  // around the critical point
      t = in.Offset(374.15);
      p = in.Offset(22.12);
      break;
    default:
      break;
  }
}

// A given property for a solver: independent, the property of a state point on the solver's
// isobar or isotherm (so that a solution exists), a saturation value, or a bracket end, each
// exact or nudged. `solvable` tells that the value is exactly the property of a state inside the
// solver's bracket (0.1…800 °C on an isobar, 0.001…100 MPa on an isotherm).
double GivenValue(Input& in, Quantity q, int kind, bool byTemperature, double fixed,
                  bool& solvable) {
  solvable = false;
  const std::uint8_t how = in.Byte() % 5;
  double y = in.Double(q);
  int state = 0;
  double v = 0;
  bool inside = false;
  switch (how) {
    case 1: {
      const double other = in.Double(byTemperature ? Quantity::P : Quantity::T);
      v = byTemperature ? PointProp(fixed, other, kind, state) : PointProp(other, fixed, kind, state);
      // Strictly inside: at the ends the property's rounding noise (some 1e-13 where the
      // entropy of cold water is a small difference of large terms) can put a neighbour of an
      // end outside the bracket.
      inside = byTemperature ? other > 0.001 * (1 + 1e-6) && other < 100 - 1e-6
                             : other > 0.1 + 1e-6 && other < 800 - 1e-6;
      // Within 0.0001 °C and 0.00001 MPa of the critical point the state-point function answers
      // the critical values, so the property jumps at the edge of that box; the searches' guards
      // keep 0.00001 MPa off 22.12 MPa. A state just outside the box, between the jump and the
      // guard, has a property no search can reach.
      const double t = byTemperature ? fixed : other;
      const double p = byTemperature ? other : fixed;
      if (std::fabs(t - 374.15) < 0.001 && std::fabs(p - 22.12) < 0.001) inside = false;
      break;
    }
    case 2:
      v = SatWaterProp(fixed, byTemperature, kind);
      break;
    case 3:
      v = SatSteamProp(fixed, byTemperature, kind);
      break;
    case 4: {
      const double ends[] = {0.1, 800, 100, 0.001, 22.12};
      const double end = ends[in.Byte() % 5];
      v = byTemperature ? PointProp(fixed, end, kind, state) : PointProp(end, fixed, kind, state);
      break;
    }
    default:
      return y;
  }
  if (CalcStatus != 0) return y;
  switch (in.Byte() % 3) {
    case 0:
      solvable = inside;
      return v;
    case 1:
      return in.Ulps(v);
    default:
      return in.Offset(v);
  }
}

void CallSatPressure(Input& in) {
  const double t = in.Double(Quantity::T);
  CalcStatus = kPoison;
  const double p = SatPressure(t);
  if (CalcStatus == 0) {
    Require(Finite(p) && p > 0, "SatPressure success not a positive finite pressure", t, p);
  } else {
    Require(CalcStatus == CS_T_LOW || CalcStatus == CS_T_HIGH, "SatPressure failure flags", t);
    Require(p == 1, "SatPressure failure sentinel", t, p);
  }
  // The K- and L-functions are pure formulas that region selection evaluates over the whole
  // state range; outside it they may overflow like any polynomial.
  if (t >= 0.01 && t <= 800) {
    Require(Finite(SatPressureReduced(t)), "SatPressureReduced", t);
    Require(Finite(BoundaryL(t)), "BoundaryL", t);
  }
}

void CallSatTemperature(Input& in) {
  const double p = in.Double(Quantity::P);
  int steps = -1;
  CalcStatus = kPoison;
  const double t = SatTemperature(p, &steps);
  satTempRecord.Note(steps);
  if (CalcStatus == 0) {
    Require(Finite(t), "SatTemperature success not finite", p, t);
    Plausible(t >= 0.0 && t <= 374.15, "SatTemperature outside 0…374.15", p, t);
    Plausible(steps < 7000, "SatTemperature at its cap", p, t);
    if (t != 374.15) {
      const double back = SatPressure(t);
      Plausible(std::fabs(back - p) < 1e-7 || std::fabs(t - 374.15) < 0.0001,
                "SatTemperature does not reproduce p", p, t, back);
    }
  } else {
    Require(CalcStatus == CS_P_LOW || CalcStatus == CS_P_HIGH || CalcStatus == CS_NO_CONVERGENCE,
            "SatTemperature failure flags", p);
    Require(t == 10, "SatTemperature failure sentinel", p, t);
  }
}

void CallFindRegion(Input& in) {
  double t, p;
  StatePoint(in, t, p);
  CalcStatus = kPoison;
  const int code = FindRegion(t, p);
  if (CalcStatus == 0) {
    Require(code >= RC_SUB1 && code <= RC_SAT_LOWER, "FindRegion code", t, p, code);
  } else {
    Require((CalcStatus & ~(CS_T_LOW | CS_T_HIGH | CS_P_LOW | CS_P_HIGH)) == 0,
            "FindRegion failure flags", t, p);
    Require(code == 1, "FindRegion failure sentinel", t, p, code);
    return;
  }
  // The equation that region selection chose, where it chose it.
  const int kind = Kind(in);
  SearchInfo info;
  double r = 0;
  switch (code) {
    case RC_SUB1:
      r = Region1Reduced(t, p, kind);
      break;
    case RC_SUB2:
      r = Region2Reduced(t, p, kind);
      break;
    case RC_SUB3:
      r = Region3Props(t, p, kind, &info);
      region3Record.Note(info.evaluations);
      Require(info.converged, "Region3Props did not converge", t, p, kind);
      break;
    case RC_SUB4:
      r = Region4Props(t, p, kind, &info);
      region4Record.Note(info.evaluations);
      Require(info.converged, "Region4Props did not converge", t, p, kind);
      break;
    default:
      return;
  }
  Require(Finite(r), "subregion equation not finite in its subregion", t, p, kind);
  if (kind == PK_V) Plausible(r > 0, "subregion volume not positive", t, p, r);
}

void CallSatProp(Input& in) {
  const bool byTemperature = in.Byte() & 1;
  const bool steam = in.Byte() & 1;
  const double x = in.Double(byTemperature ? Quantity::T : Quantity::P);
  const int kind = Kind(in);
  CalcStatus = kPoison;
  const double y = steam ? SatSteamProp(x, byTemperature, kind) : SatWaterProp(x, byTemperature, kind);
  Require(Finite(y), "SatWaterProp/SatSteamProp not finite", x, byTemperature, kind);
  if (CalcStatus == 0) {
    if (kind == PK_V) Plausible(y > 0, "saturated volume not positive", x, byTemperature, y);
  } else {
    Require(y == 10, "SatWaterProp/SatSteamProp failure sentinel", x, byTemperature, y);
    Require((CalcStatus & kPoison) == 0, "SatWaterProp/SatSteamProp OR-ed the status", x);
  }

  // The saturation-line searches of subregions 3 and 4 on the line itself.
  if (byTemperature && x > 350 && x < 374.15) {
    const double p = SatPressure(x);
    SearchInfo info;
    const double r = steam ? Region3Props(x, p, kind, &info) : Region4Props(x, p, kind, &info);
    (steam ? region3Record : region4Record).Note(info.evaluations);
    Require(info.converged, "saturation-line volume search did not converge", x, p, kind);
    Require(Finite(r), "saturation-line volume search not finite", x, p, kind);
  }
}

void CallQuality(Input& in) {
  const bool byTemperature = in.Byte() & 1;
  const double x = in.Double(byTemperature ? Quantity::T : Quantity::P);
  static constexpr int kValueKinds[] = {PK_V, PK_S, PK_H, PK_X};
  const int valueKind = kValueKinds[in.Byte() % 4];
  static constexpr Quantity kQuantities[] = {Quantity::V, Quantity::S, Quantity::H, Quantity::X};
  double value = in.Double(kQuantities[valueKind == PK_X ? 3 : valueKind - 1]);
  if (valueKind != PK_X && (in.Byte() & 3) == 0) {
    // Between or beside the two saturated values.
    const double a = SatWaterProp(x, byTemperature, valueKind);
    const double b = SatSteamProp(x, byTemperature, valueKind);
    if (CalcStatus == 0) value = a + in.Double(Quantity::X) * (b - a);
  }
  const int wanted = Kind(in);
  double dryness = -12345;
  CalcStatus = kPoison;
  const double y = Quality(x, byTemperature, value, valueKind, dryness, wanted);
  Require(Finite(y), "Quality result not finite", x, value, valueKind);
  Require((CalcStatus & kPoison) == 0, "Quality OR-ed the status", x, value);
  if (CalcStatus == 0) {
    Require(Finite(dryness), "Quality success with a non-finite dryness", x, value, dryness);
    Require(dryness >= -0.00001 && dryness - 1 <= 0.000001, "Quality success dryness outside",
            x, value, dryness);
  } else {
    Require(y == 10 || y == 1, "Quality failure sentinel", x, value, y);
  }
}

void CallPointProp(Input& in) {
  double t, p;
  StatePoint(in, t, p);
  const int kind = Kind(in);
  int state = -7;
  CalcStatus = kPoison;
  const double y = PointProp(t, p, kind, state);
  Require(Finite(y), "PointProp not finite", t, p, kind);
  if (CalcStatus == 0) {
    Require(state >= SC_WATER && state <= SC_SUPERCRITICAL, "PointProp success state", t, p, state);
    if (kind == PK_V) Plausible(y > 0, "PointProp volume not positive", t, p, y);
  } else {
    Require(state == SC_UNKNOWN, "PointProp failure state", t, p, state);
    Require(y == 10, "PointProp failure sentinel", t, p, y);
    Require((CalcStatus & kPoison) == 0, "PointProp OR-ed the status", t, p);
  }
}

// Shared checks of a solver's outcome: the found point, its dryness and state. `found` is the
// searched output (t or p), the other of t and p is the given input.
void CheckSolved(const char* name, int state, double t, double p, double found, double v, double z,
                 double x, double a, double b) {
  Require(Finite(found) && Finite(v) && Finite(z) && Finite(x), name, a, b);
  Require((CalcStatus & kPoison) == 0, "solver OR-ed onto the caller's status", a, b);
  if (CalcStatus != 0) return;
  Require(state >= SC_WATER && state <= SC_SUPERCRITICAL, "solver success with a bad state", a,
          b, state);
  switch (state) {
    case SC_WATER:
      Require(x == 0, "water with a dryness other than 0", a, b, x);
      break;
    case SC_WET:
      Require(x >= 0 && x <= 1, "wet dryness outside 0…1", a, b, x);
      break;
    case SC_STEAM:
      Require(x == 1, "steam with a dryness other than 1", a, b, x);
      break;
    default:
      Require(x == -1 || x == 1, "supercritical dryness neither −1 nor 1", a, b, x);
      break;
  }
  // A wet point found by temperature lies at the saturation pressure, 0.000611 MPa at 0.01 °C:
  // inside the saturation range, below the state range.
  const double pMin = state == SC_WET ? 0.0006 : 0.0007;
  Plausible(t >= 0.01 && t <= 800 && p >= pMin && p <= 100, "solved point outside the range", t,
            p);
  // A wet volume comes from the unclamped dryness (down to −0.00001), which at low pressure,
  // with v'' some 200 m³/kg, extrapolates below v' and even below zero.
  if (state != SC_WET) Plausible(v > 0, "solved volume not positive", t, p, v);
}

void CallSolveTFromP(Input& in, bool entropy) {
  const double p = in.Double(Quantity::P);
  const int kind = entropy ? PK_S : PK_H;
  bool solvable = false;
  const double given =
      GivenValue(in, entropy ? Quantity::S : Quantity::H, kind, false, p, solvable);
  double t = -1, v = -1, z = -1, x = -7;
  SearchInfo info;
  CalcStatus = kPoison;
  const int state = entropy ? SolveTFromPS(p, given, t, v, z, x, &info)
                            : SolveTFromPH(p, given, t, v, z, x, &info);
  (entropy ? solveTFromPSRecord : solveTFromPHRecord).Note(info.evaluations);
  CheckSolved(entropy ? "SolveTFromPS outputs not finite" : "SolveTFromPH outputs not finite",
              state, t, p, t, v, z, x, p, given);
  if (CalcStatus != 0) {
    if (state != SC_WET) {
      Require(state == SC_UNKNOWN && t == 10 && v == 10 && z == 10 && x == 1,
              "solver failure sentinels", p, given, t);
    }
    // The property of a state inside the bracket has a solution; only a wet point whose
    // dryness lies beyond Quality's tolerances is flagged.
    Plausible(!solvable || state == SC_WET, "the property of a state was not solved", p, given);
    return;
  }
  if (state != SC_WET) {
    int s2 = 0;
    const double back = PointProp(t, p, kind, s2);
    const double tol = info.bestPoint ? (entropy ? kBoundS : kBoundH) : (entropy ? 1e-6 : 1e-4);
    Plausible(std::fabs(back - given) <= tol * 1.0000001 + 1e-7,
              entropy ? "SolveTFromPS does not reproduce s" : "SolveTFromPH does not reproduce h",
              p, given, back);
  }
}

void CallSolvePFromTS(Input& in) {
  const double t = in.Double(Quantity::T);
  bool solvable = false;
  const double s = GivenValue(in, Quantity::S, PK_S, true, t, solvable);
  double p = -1, v = -1, h = -1, x = -7;
  SearchInfo info;
  CalcStatus = kPoison;
  const int state = SolvePFromTS(t, s, p, v, h, x, &info);
  solvePFromTSRecord.Note(info.evaluations);
  CheckSolved("SolvePFromTS outputs not finite", state, t, p, p, v, h, x, t, s);
  if (CalcStatus != 0) {
    if (state != SC_WET) {
      Require(state == SC_UNKNOWN && p == 10 && v == 10 && h == 10 && x == 1,
              "solver failure sentinels", t, s, p);
    }
    // Below 4 °C water expands on cooling: entropy rises with pressure there, the bracket
    // y(100 MPa)…y(0.001 MPa) is upside down and such states are refused (the program's known
    // limit at very low temperatures).
    Plausible(!solvable || t < 4.5 || state == SC_WET, "the entropy of a state was not solved", t,
              s);
    return;
  }
  if (state != SC_WET) {
    int s2 = 0;
    const double back = PointProp(t, p, PK_S, s2);
    const double tol = info.bestPoint ? kBoundS : 1e-6;
    Plausible(std::fabs(back - s) <= tol * 1.0000001 + 1e-7 || (p == 22.12 && x == 1),
              "SolvePFromTS does not reproduce s", t, s, back);
  }
}

void CallSolvePFromTH(Input& in) {
  const double t = in.Double(Quantity::T);
  bool solvable = false;  // with no searched supercritical branch, (t, h) may have no solution
  const double h = GivenValue(in, Quantity::H, PK_H, true, t, solvable);
  double p1 = -1, v1 = -1, s1 = -1, x1 = -7, p2 = -1, v2 = -1, s2 = -1, x2 = -7;
  int state1 = -7, state2 = -7;
  SearchInfo info;
  CalcStatus = kPoison;
  const int count = SolvePFromTH(t, h, p1, v1, s1, x1, state1, p2, v2, s2, x2, state2, &info);
  solvePFromTHRecord.Note(info.evaluations);
  Require((CalcStatus & kPoison) == 0, "SolvePFromTH OR-ed the status", t, h);
  Require(count >= 0 && count <= 2, "SolvePFromTH count", t, h, count);
  if (CalcStatus != 0) {
    if (count > 0) {
      // The one failure that keeps its solutions: the wet slot's dryness beyond Quality's
      // tolerances (its volume the sentinel 10), as where h' exceeds h'' just below 374.15 °C.
      Require(state1 == SC_WET, "SolvePFromTH failure with solutions but no wet slot", t, h, count);
      Require(Finite(p1) && Finite(v1) && Finite(s1) && Finite(x1), "SolvePFromTH slot 1", t, h);
      if (count == 2)
        Require(Finite(p2) && Finite(v2) && Finite(s2) && Finite(x2), "SolvePFromTH slot 2", t, h);
      return;
    }
    Require(p1 == 10 && v1 == 10 && s1 == 10 && x1 == 1 && state1 == SC_UNKNOWN &&
                p2 == 10 && v2 == 10 && s2 == 10 && x2 == 1 && state2 == SC_UNKNOWN,
            "SolvePFromTH failure sentinels", t, h);
    return;
  }
  // With two solutions slot 1 is the wet one; where the water and steam branches both hold
  // without a wet solution it may stay unwritten (state −7 here), which the form shows as zeros.
  if (count >= 1 && state1 != -7)
    CheckSolved("SolvePFromTH slot 1 not finite", state1, t, p1, p1, v1, s1, x1, t, h);
  if (count == 2) {
    CheckSolved("SolvePFromTH slot 2 not finite", state2, t, p2, p2, v2, s2, x2, t, h);
    Require(state1 == SC_WET || state1 == -7, "SolvePFromTH slot 1 of two not wet", t, h, state1);
  }
  for (int slot = 1; slot <= count; ++slot) {
    const double p = slot == 1 ? p1 : p2;
    const int st = slot == 1 ? state1 : state2;
    if (st == SC_WET || st == -7) continue;
    int s3 = 0;
    const double back = PointProp(t, p, PK_H, s3);
    const double tol = info.bestPoint ? kBoundH : 0.0005;
    Plausible(std::fabs(back - h) <= tol * 1.0000001, "SolvePFromTH does not reproduce h", t, h,
              back);
  }
}

void CallEntryPoint(Input& in) {
  using ByFloat = double (*)(float, int*);
  static constexpr ByFloat kByP[] = {SatTByP,      SatWaterHByP, SatWaterSByP, SatWaterVByP,
                                     SatSteamHByP, SatSteamSByP, SatSteamVByP};
  static constexpr ByFloat kByT[] = {SatPByT,      SatWaterHByT, SatWaterSByT, SatWaterVByT,
                                     SatSteamHByT};
  const std::uint8_t which = in.Byte() % (std::size(kByP) + std::size(kByT));
  const bool byP = which < std::size(kByP);
  float arg;
  if (byP) {
    // The form's ×10 of a pressure, or any float.
    arg = in.Byte() & 1 ? Input::NarrowToFloat(double(Input::NarrowToFloat(in.Double(Quantity::P))) * 10.0)
                        : in.Float(Quantity::P);
  } else {
    arg = in.Float(Quantity::T);
  }
  int status = -7;
  CalcStatus = kPoison;
  const double y = byP ? kByP[which](arg, &status) : kByT[which - std::size(kByP)](arg, &status);
  Require(Finite(y), "entry point result not finite", arg, which, y);
  Require(std::uint32_t(status) == CalcStatus, "entry point status is not CalcStatus", arg, which,
          status);
  Require((CalcStatus & kPoison) == 0, "entry point OR-ed the status", arg, which);
}

void CallIsentropicEndH(Input& in) {
  const float t1 = in.Float(Quantity::T);
  float p1 = Input::NarrowToFloat(double(in.Float(Quantity::P)) * 10.0);
  float p2 = Input::NarrowToFloat(double(in.Float(Quantity::P)) * 10.0);
  if (in.Byte() & 1) p2 = Input::NarrowToFloat(in.Ulps(p1));
  int status = -7;
  CalcStatus = kPoison;
  const double h = IsentropicEndH(t1, p1, p2, &status);
  Require(Finite(h), "IsentropicEndH result not finite", t1, p1, p2);
  if (!(p1 > p2)) {
    Require(status == CS_ORDER && h == 10 && CalcStatus == kPoison, "IsentropicEndH order check",
            t1, p1, p2);
  } else if (p1 < 0.001f || p2 < 0.001f) {
    Require(status == CS_P_LOW && h == 100 && CalcStatus == kPoison,
            "IsentropicEndH minimum check", t1, p1, p2);
  } else {
    Require(std::uint32_t(status) == CalcStatus, "IsentropicEndH status is not CalcStatus", t1,
            p1, p2);
    Require((CalcStatus & kPoison) == 0, "IsentropicEndH OR-ed the status", t1, p1, p2);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  for (int call = 0; call < 8 && !in.Empty(); ++call) {
    switch (in.Byte() % 12) {
      case 0:
        CallSatPressure(in);
        break;
      case 1:
        CallSatTemperature(in);
        break;
      case 2:
        CallFindRegion(in);
        break;
      case 3:
        CallSatProp(in);
        break;
      case 4:
        CallQuality(in);
        break;
      case 5:
        CallPointProp(in);
        break;
      case 6:
        CallSolveTFromP(in, true);
        break;
      case 7:
        CallSolveTFromP(in, false);
        break;
      case 8:
        CallSolvePFromTS(in);
        break;
      case 9:
        CallSolvePFromTH(in);
        break;
      case 10:
        CallEntryPoint(in);
        break;
      default:
        CallIsentropicEndH(in);
        break;
    }
  }
  return 0;
}
