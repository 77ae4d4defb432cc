// libFuzzer harness of the IF97 engine. The bytes choose up to eight calls and their arguments:
// raw bit patterns, NaN, infinities, −0 and denormals, values spread over a quantity's range,
// IF97's range limits and region boundaries nudged by ulps or decimal offsets, pressures on the
// saturation line and the 2–3 boundary of a temperature, and h or s of states next to them.
//
// Asserted for every call: it returns (libFuzzer's -timeout reports a slow input as a hang);
// a failed result is Phase::Unknown with a finite limit; a valid one has every number finite,
// its phase, region and dryness in their sets, and meets its inputs: the given p, t, h or s (to
// 1e-9), roots sorted by pressure and each the basic equation's value at its (p, t); a state
// from (p, t) is found again from its h and from its s.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "if97/detail/lines.h"
#include "if97/if97.h"

namespace {

using namespace if97;

// The bytes read as choices and numbers; past the end every byte reads 0.
struct Input {
  const std::uint8_t* data;
  std::size_t size, pos = 0;
  std::uint8_t Byte() { return pos < size ? data[pos++] : 0; }
  // Raw bits, a special value, or spread over −5…105 % of top (℃, MPa, kJ/kg, kJ/(kg·K)).
  double Double(double top) {
    static constexpr double kSpecial[] = {NAN,  INFINITY,     -INFINITY, 0.0,
                                          -0.0, DBL_TRUE_MIN, DBL_MAX,   -1};
    const std::uint8_t how = Byte();
    double v = 0;
    if (how < 32 && pos + 8 <= size) std::memcpy(&v, data + pos, 8), pos += 8;
    if (how < 32) return v;
    if (how < 64) return kSpecial[Byte() % std::size(kSpecial)];
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits = bits << 8 | Byte();
    return top * (-0.05 + 1.1 * (bits / 4294967295.0));
  }
  // v as it is, moved by up to eight ulps either way, or by n·10^−e with n up to eight either
  // way (either side of a tolerance).
  double Nudged(double v) {
    const int how = Byte() % 3, n = std::int8_t(Byte()) % 9;
    if (how == 2) return v + n * std::pow(10.0, -(Byte() % 16));
    for (int i = 0; how == 1 && i < std::abs(n); ++i) v = std::nextafter(v, n * INFINITY);
    return v;
  }
};

void Require(bool ok, const char* what, double a, double b = 0) {
  if (ok) return;
  std::fprintf(stderr, "if97_fuzz: %s (args %.17g, %.17g)\n", what, a, b);
  std::abort();
}

bool Close(double a, double b) { return std::fabs(a - b) <= 1e-9 * std::max(std::fabs(b), 1.0); }
bool NearCritical(double p, double t) {
  return std::fabs(p - 22.064) < 0.1 && std::fabs(t - 373.946) < 1;
}

// Any double (raw bits, specials, spread) or one of IF97's own values, nudged.
double Temperature(Input& in) {
  static constexpr double kT[] = {0, 2, 100, 250, 350, 373.946, 373.9459, 590, 800, 2000};
  return in.Byte() < 96 ? in.Double(2100) : in.Nudged(kT[in.Byte() % std::size(kT)]);
}
double Pressure(Input& in, double t) {
  static constexpr double kP[] = {
      1e-6, 0.00061121267744434539, 1, 4, 6.5467, 16.529164252604509, 22.064, 50, 100};
  const std::uint8_t how = in.Byte();
  if (how < 64) return in.Double(110);
  if (how < 128) return in.Nudged(kP[in.Byte() % std::size(kP)]);
  if (how < 192) return in.Nudged(SatPressure(t));  // −1 off the line
  return in.Nudged(detail::B23Pressure(t + 273.15));
}
// h or s: of a state at a chosen (p, t) or a saturated one, nudged, or any double.
double Target(Input& in, bool byH) {
  const std::uint8_t how = in.Byte();
  if (how < 64) return in.Double(byH ? 4500 : 13);
  const double t = Temperature(in), p = Pressure(in, t);
  const State s = how < 160 ? StateFromPT(p, t)
                            : (in.Byte() & 1 ? SaturationByT(t).liquid : SaturationByT(t).vapour);
  return in.Nudged(byH ? s.h : s.s);
}

void CheckState(const State& s, const char* what) {
  if (s.failure != Failure::None)
    return Require(s.phase == Phase::Unknown && std::isfinite(s.limit), what, double(s.failure));
  for (double v : {s.p, s.t, s.v, s.rho, s.h, s.s, s.u, s.cp, s.cv, s.w, s.kappa, s.x})
    Require(std::isfinite(v), what, s.p, s.t);
  Require(s.p >= 1e-6 && s.p <= 100 * (1 + 1e-13) && s.t >= 0 && s.t <= 2000, what, s.p, s.t);
  Require(s.v > 0 && std::fabs(s.rho * s.v - 1) < 1e-12, what, s.p, s.t);
  const bool wet = s.phase == Phase::TwoPhase;
  Require(wet == (s.region == 4), what, s.p, s.t);
  Require(wet ? s.x >= 0 && s.x <= 1 : s.x == -1 && s.phase != Phase::Unknown, what, s.p, s.t);
  Require(wet && s.x > 0 && s.x < 1 ? s.cp == 0 : s.cp > 0 && s.w > 0, what, s.p, s.t);
}

// The state's own value and the basic equation's at its (p, t), unless (p, t) picks another
// region, lies on the saturation line (where Eq. 30 of Eq. 31 gives p back only to 1e-12, so
// either phase may answer) or near the critical point.
void CheckValue(const State& s, bool byH, double target, const char* what) {
  Require(Close(byH ? s.h : s.s, target), what, s.p, target);
  if (s.phase == Phase::TwoPhase || NearCritical(s.p, s.t)) return;
  if (std::fabs(SatPressure(s.t) - s.p) <= 1e-11 * s.p) return;
  const State f = StateFromPT(s.p, s.t);
  if (f.region == s.region) Require(Close(byH ? f.h : f.s, target), what, s.p, s.t);
}

void CallPT(Input& in) {
  const double t = Temperature(in), p = Pressure(in, t);
  const State s = StateFromPT(p, t);
  CheckState(s, "StateFromPT");
  if (s.failure != Failure::None) return;
  Require(s.p == p && std::fabs(s.t - t) <= 1e-12 * (t + 273.15), "StateFromPT inputs", p, t);
  for (bool byH : {true, false}) {
    const State b = byH ? StateFromPH(p, s.h) : StateFromPS(p, s.s);
    CheckState(b, "round trip");
    Require(b.failure == Failure::None, "round trip failed", p, t);
    CheckValue(b, byH, byH ? s.h : s.s, "round trip value");
  }
}

void CallPX(Input& in, bool byH) {
  const double p = Pressure(in, Temperature(in)), target = Target(in, byH);
  const State s = byH ? StateFromPH(p, target) : StateFromPS(p, target);
  CheckState(s, "StateFromPH/PS");
  if (s.failure != Failure::None) return;
  Require(s.p == p, "StateFromPH/PS pressure", p, target);
  CheckValue(s, byH, target, "StateFromPH/PS value");
}

void CallTX(Input& in, bool byH) {
  const double t = Temperature(in), target = Target(in, byH);
  const States r = byH ? StatesFromTH(t, target) : StatesFromTS(t, target);
  Require(r.count >= 0 && r.count <= 4 && (r.count > 0) == (r.failure == Failure::None),
          "StatesFromTH/TS count", t, target);
  Require(std::isfinite(r.limit), "StatesFromTH/TS limit", t, target);
  for (int i = 0; i < r.count; ++i) {
    CheckState(r.root[i], "StatesFromTH/TS root");
    Require(std::fabs(r.root[i].t - t) <= 1e-12 * (t + 273.15), "root temperature", t, target);
    Require(i == 0 || r.root[i - 1].p < r.root[i].p, "roots sorted", t, target);
    CheckValue(r.root[i], byH, target, "root value");
  }
}

void CallSaturation(Input& in) {
  const bool byP = in.Byte() & 1;
  const double t = Temperature(in), x = byP ? Pressure(in, t) : t;
  const Saturation s = byP ? SaturationByP(x) : SaturationByT(x);
  for (const State* phase : {&s.liquid, &s.vapour}) CheckState(*phase, "saturated phase");
  Require(s.liquid.failure == s.failure && s.vapour.failure == s.failure, "saturation", x);
  if (s.failure != Failure::None) return;
  Require(s.liquid.x == 0 && s.vapour.x == 1 && s.liquid.rho >= s.vapour.rho, "saturation", x);
  Require(byP ? s.p == x : s.t == x, "saturation input", x);
  // The line itself: both directions in range, and p → t → p to 1e-12.
  Require(std::fabs(SatPressure(SatTemperature(s.p)) / s.p - 1) < 1e-12, "line", s.p, s.t);
}

void CallIsentropic(Input& in) {
  const double t1 = Temperature(in), p1 = Pressure(in, t1), p2 = Pressure(in, Temperature(in));
  const State s = IsentropicEnd(p1, t1, p2);
  CheckState(s, "IsentropicEnd");
  if (s.failure == Failure::None)
    Require(s.p == p2 && p2 <= p1 && Close(s.s, StateFromPT(p1, t1).s), "IsentropicEnd", p1, p2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in{data, size};
  for (int call = 0; call < 8 && in.pos < size; ++call) {
    switch (in.Byte() % 7) {
      case 0: CallPT(in); break;
      case 1: CallPX(in, true); break;
      case 2: CallPX(in, false); break;
      case 3: CallTX(in, true); break;
      case 4: CallTX(in, false); break;
      case 5: CallSaturation(in); break;
      default: CallIsentropic(in); break;
    }
  }
  return 0;
}
