#include "calc/phase.h"

#include "engine/constants.h"
#include "engine/saturation.h"

namespace calc {

Phase PhaseOfStateCode(int state) {
  switch (state) {
    case SC_WATER: return Phase::Water;
    case SC_WET: return Phase::Wet;
    case SC_STEAM: return Phase::Steam;
    case SC_SUPERCRITICAL: return Phase::Supercritical;
    default: return Phase::Unknown;
  }
}

Phase PhaseOfIf97(const if97::State& st) {
  if (st.phase == if97::Phase::TwoPhase) return Phase::Wet;
  if (st.p >= 22.064 || st.phase == if97::Phase::Supercritical) return Phase::Supercritical;
  if (st.phase == if97::Phase::Liquid) return Phase::Water;
  if (st.phase == if97::Phase::Vapour) return Phase::Steam;
  return Phase::Unknown;
}

SaturationDistance DistanceFromLine(Formulation f, double p, double t, Phase phase) {
  SaturationDistance d;
  if (f == Formulation::IF97) {
    const double ts = p < 22.064 ? if97::SatTemperature(p) : -1;
    const double ps = t <= 373.946 ? if97::SatPressure(t) : -1;
    if (ts >= 0) d.tsat = ts;
    if (ps >= 0) d.psat = ps;
  } else {
    if (p >= 0.0007 && p < 22.12) {
      const double ts = SatTemperature(p);
      if (CalcStatus == 0) d.tsat = ts;
    }
    if (t >= 0.01 && t <= 374.15) {
      const double ps = SatPressure(t);
      if (CalcStatus == 0) d.psat = ps;
    }
  }
  if ((phase == Phase::Water || phase == Phase::Steam) && std::isfinite(d.tsat))
    d.superheat = t - d.tsat;
  return d;
}

}  // namespace calc
