#include <algorithm>
#include <cmath>

#include "if97/detail/constants.h"
#include "if97/detail/lines.h"
#include "if97/detail/state.h"
#include "if97/if97.h"

namespace if97 {
namespace detail {

SatPair SaturatedPhases(double p, double Ts, bool region3) {
  if (!region3) return {Region1(p, Ts), Region2(p, Ts), true, Failure::None};
  const bool single = Ts >= Tc;
  const Region3At liquid = Region3AtPT(p, Ts, single ? Branch::Single : Branch::Liquid);
  const Region3At vapour = Region3AtPT(p, Ts, single ? Branch::Single : Branch::Vapour);
  const bool capped = liquid.density.capped || vapour.density.capped;
  // The liquid root always exists at p ≥ ps: the liquid spinodal stays 3.7e-10 MPa below it.
  const Failure failure = capped || !liquid.density.found ? Failure::NoConvergence : Failure::None;
  return {liquid.props, vapour.props, vapour.density.found, failure};
}

namespace {
Saturation SaturationFailed(Failure failure, double limit) {
  Saturation r{};
  r.liquid = r.vapour = Failed(failure, limit);
  r.failure = failure;
  r.limit = limit;
  return r;
}

// p and t as the caller gave them (t + T0 − T0 need not be t).
Saturation SaturationAt(double p, double t, double Ts, bool region3) {
  const SatPair pair = SaturatedPhases(p, Ts, region3);
  if (pair.failure != Failure::None) return SaturationFailed(pair.failure, 0);
  Saturation r{};
  r.p = p;
  r.t = t;
  r.liquid = Saturated(pair.liquid, 0.0);
  r.vapour = Saturated(pair.vapour, 1.0);
  r.failure = Failure::None;
  if (r.liquid.failure != Failure::None || r.vapour.failure != Failure::None)
    return SaturationFailed(Failure::NoConvergence, 0);
  return r;
}
}  // namespace
}  // namespace detail

double SatPressure(double t) {
  if (!(t >= 0 && t <= detail::tc)) return -1;
  return detail::SatPressureK(t + detail::T0);
}

// Eq. 31 inverts Eq. 30 to 1e-11 K: at the ends of the line it may step over them by as much,
// which would leave the temperature outside the range it came from.
double SatTemperature(double p) {
  using namespace detail;
  if (!(p >= psMin && p <= pc)) return -1;
  return std::clamp(SatTemperatureK(p), Tmin, Tc) - T0;
}

Saturation SaturationByP(double p) {
  using namespace detail;
  if (!std::isfinite(p)) return SaturationFailed(Failure::NotFinite, 0);
  if (p < psMin) return SaturationFailed(Failure::PressureLow, psMin);
  if (p > pc) return SaturationFailed(Failure::PressureHigh, pc);
  const double Ts = std::clamp(SatTemperatureK(p), Tmin, Tc);
  return SaturationAt(p, Ts - T0, Ts, p > ps13);
}

Saturation SaturationByT(double t) {
  using namespace detail;
  if (!std::isfinite(t)) return SaturationFailed(Failure::NotFinite, 0);
  if (t < 0) return SaturationFailed(Failure::TemperatureLow, 0);
  if (t > tc) return SaturationFailed(Failure::TemperatureHigh, tc);
  const double T = t + T0;
  return SaturationAt(SatPressureK(T), t, T, T > T13);
}

}  // namespace if97
