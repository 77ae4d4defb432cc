// States from (t, h) and (t, s): every pressure along the isotherm with the given value. The
// isotherm runs through up to three regions and crosses the saturation line once; along each
// region's piece h(p) and s(p) are smooth but need not be monotone (in compressed water
// (∂h/∂p)_T = v·(1 − Tα) changes sign where Tα = 1, and (∂s/∂p)_T = −vα where α = 0 near 4 °C).
// Region 3's pieces run in ρ, not p: along an isotherm through the critical point p(ρ) goes flat
// and h(p) steep, while h(ρ) stays smooth, and no density has to be solved for.
// Step 1: each piece is sampled with its slope. Step 2: wherever the slope changes sign between
// samples the extremum is located, so that the piece falls into monotone parts. Step 3: each part
// whose end values enclose the target is solved by the bracketed Newton. The extremes of all end
// values are the limits reported when no part encloses the target.
#include <algorithm>
#include <cmath>
#include <optional>

#include "if97/detail/constants.h"
#include "if97/detail/lines.h"
#include "if97/detail/solve.h"
#include "if97/detail/state.h"
#include "if97/if97.h"

namespace if97 {
namespace detail {
namespace {

// One region's stretch of the isotherm: p from lo to hi MPa, or in region 3 ρ from lo to hi
// kg/m³ (p rises with ρ on every branch) between the pressures plo and phi.
struct Piece {
  int region;
  Branch branch;
  double lo, hi;
  double plo = 0, phi = 0;
};

// Samples per piece: enough that no two extrema can hide between neighbours (there is at most
// one per piece); pieces spanning decades are sampled on a log scale.
constexpr int kSamples = 6;
constexpr int kExtremumCap = 60;

States FailedStates(Failure failure, double limit) {
  States r{};
  r.failure = failure;
  r.limit = limit;
  return r;
}

class Isotherm {
 public:
  Isotherm(double T, double target, Kind kind) : T_(T), target_(target), kind_(kind) {}

  // The value and its slope in the piece's variable (p, or ρ in region 3) at x.
  Sample At(const Piece& piece, double x) {
    switch (piece.region) {
      case 1: return OfP(Region1(x, T_));
      case 2: return OfP(Region2(x, T_));
      case 5: return OfP(Region5(x, T_));
    }
    const Props pr = Isotherm3().At(x);
    Sample s{pr, ValueOf(pr, kind_), DensitySlope(pr, kind_)};
    Note(s);
    return s;
  }

  const Region3Isotherm& Isotherm3() {
    if (!region3_) region3_.emplace(T_);
    return *region3_;
  }

  // Every root on the piece; false when an iteration cap was hit.
  bool Solve(const Piece& piece) {
    Sample prev = At(piece, piece.lo);
    const bool logScale = piece.hi > 100 * piece.lo;
    for (int i = 1; i <= kSamples; ++i) {
      const double u = double(i) / kSamples;
      const double x = i == kSamples ? piece.hi
                       : logScale    ? piece.lo * std::pow(piece.hi / piece.lo, u)
                                     : piece.lo + u * (piece.hi - piece.lo);
      const Sample next = At(piece, x);
      if (prev.slope * next.slope < 0) {
        const Sample m = Extremum(piece, prev, next);
        if (!Part(piece, prev, m) || !Part(piece, m, next)) return false;
      } else if (!Part(piece, prev, next)) {
        return false;
      }
      prev = next;
    }
    return true;
  }

  // A wet root at ps between the saturated phases, when the target lies strictly between them.
  void Wet(const Props& liquid, const Props& vapour) {
    const double vl = ValueOf(liquid, kind_), vv = ValueOf(vapour, kind_);
    Note(Sample{liquid, vl, 0});
    Note(Sample{vapour, vv, 0});
    if (target_ > std::min(vl, vv) && target_ < std::max(vl, vv))
      Add(detail::Wet(liquid, vapour, (target_ - vl) / (vv - vl)));
  }

  States Result() {
    States r{};
    // A root at the shared end of two parts is found from both, and a saturated phase may come
    // both as a piece's end and as a wet root of dryness 0 or 1: one root per pressure, the
    // one-phase one first.
    std::sort(roots_, roots_ + count_, [](const State& a, const State& b) {
      return a.p != b.p ? a.p < b.p : a.region < b.region;
    });
    int n = 0;
    for (int i = 0; i < count_; ++i)
      if (n == 0 || roots_[i].p > r.root[n - 1].p * (1 + 1e-12)) {
        if (n == 4) return FailedStates(Failure::NoConvergence, 0);  // never seen: at most 3
        r.root[n++] = roots_[i];
      }
    r.count = n;
    r.failure = Failure::None;
    if (n > 0) return r;
    if (target_ > max_) {
      r.failure = HighFailure(kind_);
      r.limit = max_;
    } else if (target_ < min_) {
      r.failure = LowFailure(kind_);
      r.limit = min_;
    } else {
      r.failure = Failure::NoSolution;  // in the step between two regions at their boundary
    }
    return r;
  }

  bool Failed() const { return failed_; }

 private:
  Sample OfP(const Props& pr) {
    Sample s{pr, ValueOf(pr, kind_), IsothermSlope(pr, kind_)};
    Note(s);
    return s;
  }

  void Note(const Sample& s) {
    min_ = std::min(min_, s.value);
    max_ = std::max(max_, s.value);
  }

  void Add(const State& s) {
    if (s.failure != Failure::None) {
      failed_ = true;
      return;
    }
    if (count_ == kMaxRoots) {
      failed_ = true;  // never seen: an isotherm crosses a value at most three times
      return;
    }
    roots_[count_++] = s;
  }

  // The extremum between a and b, where the slope changes sign: regula falsi on the slope with
  // the Illinois halving. Its place matters only through its value, so it ends once the value
  // at the newest point is within 1e-12 of the extreme one: near the extremum the value falls
  // short of it by slope²/(2·curvature), the curvature taken across the bracket.
  // The piece's variable at a sample.
  static double X(const Piece& piece, const Sample& s) {
    return piece.region == 3 ? 1.0 / s.props.v : s.props.p;
  }

  Sample Extremum(const Piece& piece, Sample a, Sample b) {
    double wa = 1, wb = 1;
    int kept = 0;  // 1: b was kept by the last step, −1: a
    Sample m = a;
    const double enough = 1e-12 * ValueScale(target_);
    for (int k = 0; k < kExtremumCap; ++k) {
      const double xa = X(piece, a), xb = X(piece, b);
      double x = (xa * b.slope * wb - xb * a.slope * wa) / (b.slope * wb - a.slope * wa);
      if (!(x > xa && x < xb)) x = 0.5 * (xa + xb);
      m = At(piece, x);
      const double curvature = std::fabs(b.slope - a.slope) / (xb - xa);
      if (m.slope * m.slope <= 2 * curvature * enough) return m;
      // The Illinois rule: an end kept twice running has its slope halved in the next step.
      if ((m.slope < 0) == (a.slope < 0)) {
        a = m;
        wa = 1;
        if (kept == 1) wb *= 0.5;
        kept = 1;
      } else {
        b = m;
        wb = 1;
        if (kept == -1) wa *= 0.5;
        kept = -1;
      }
    }
    failed_ = true;  // the cap: the extremum's value is not known to 1e-12
    return m;
  }

  // The root in a monotone part between samples a and b, if their values enclose the target.
  bool Part(const Piece& piece, const Sample& a, const Sample& b) {
    const double lo = std::min(a.value, b.value), hi = std::max(a.value, b.value);
    if (!(target_ >= lo && target_ <= hi)) return true;
    const double xa = X(piece, a), xb = X(piece, b);
    const double span = b.value - a.value;
    const double start = span != 0 ? xa + (target_ - a.value) / span * (xb - xa) : xa;
    const auto eval = [&](double x) { return At(piece, x); };
    const Solved r = SolveMonotone(eval, target_, xa, xb, start, b.value > a.value);
    if (r.outcome != Outcome::Found) return r.outcome != Outcome::NoConvergence;
    Props pr = r.at.props;
    // p(ρ) at a piece's end meets the end's pressure to 1e-13 only; a root there keeps the
    // piece's own side of the boundary (or of 100 MPa).
    if (piece.region == 3) pr.p = std::clamp(pr.p, piece.plo, piece.phi);
    Add(FromProps(pr, piece.region, SinglePhase(pr.p, T_, piece.region, piece.branch)));
    return true;
  }

  static constexpr int kMaxRoots = 8;
  double T_, target_;
  Kind kind_;
  double min_ = INFINITY, max_ = -INFINITY;
  std::optional<Region3Isotherm> region3_;  // φ's terms at T_, once
  State roots_[kMaxRoots];
  int count_ = 0;
  bool failed_ = false;
};

States StatesFromTX(double t, double target, Kind kind) {
  if (!std::isfinite(t) || !std::isfinite(target)) return FailedStates(Failure::NotFinite, 0);
  const Check c = CheckTemperature(t);
  if (c.failure != Failure::None) return FailedStates(c.failure, c.limit);
  const double T = t + T0;
  Isotherm iso(T, target, kind);
  bool ok = true;
  if (T > T25) {
    ok = iso.Solve({5, Branch::Vapour, pmin, pmax5});
  } else if (T > TB23max) {
    ok = iso.Solve({2, Branch::Vapour, pmin, pmax});
  } else if (T >= Tc) {
    // B23 reaches 100 MPa + 2.7e-11 at 863.15 K: there region 2 alone fills the isotherm.
    const double pb = std::min(B23Pressure(T), pmax);
    ok = iso.Solve({2, Branch::Vapour, pmin, pb});
    if (ok && pb < pmax) {
      const Density low = Region3Density(iso.Isotherm3(), pb, Branch::Single);
      const Density high = Region3Density(iso.Isotherm3(), pmax, Branch::Single);
      ok = !low.capped && !high.capped &&
           iso.Solve({3, Branch::Single, low.rho, high.rho, pb, pmax});
    }
  } else if (T > T13) {
    // The saturated densities end the two region 3 pieces; in the near-critical gap the
    // vapour's is the top of its branch, as in SaturationByT.
    const double pb = B23Pressure(T), ps = SatPressureK(T);
    const SatPair sat = SaturatedPhases(ps, T, true);
    const Density low = Region3Density(iso.Isotherm3(), pb, Branch::Vapour);
    const Density high = Region3Density(iso.Isotherm3(), pmax, Branch::Liquid);
    ok = sat.failure == Failure::None && !low.capped && !high.capped &&
         iso.Solve({2, Branch::Vapour, pmin, pb}) &&
         iso.Solve({3, Branch::Vapour, low.rho, 1.0 / sat.vapour.v, pb, ps}) &&
         iso.Solve({3, Branch::Liquid, 1.0 / sat.liquid.v, high.rho, ps, pmax});
    if (ok) iso.Wet(sat.liquid, sat.vapour);
  } else {
    const double ps = SatPressureK(T);
    ok = iso.Solve({2, Branch::Vapour, pmin, ps}) && iso.Solve({1, Branch::Liquid, ps, pmax});
    iso.Wet(Region1(ps, T), Region2(ps, T));
  }
  if (!ok || iso.Failed()) return FailedStates(Failure::NoConvergence, 0);
  return iso.Result();
}

}  // namespace
}  // namespace detail

States StatesFromTH(double t, double h) { return detail::StatesFromTX(t, h, detail::Kind::H); }
States StatesFromTS(double t, double s) { return detail::StatesFromTX(t, s, detail::Kind::S); }

}  // namespace if97
