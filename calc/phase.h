// What the layer's two halves share: the phase of either engine's state, and a state's distance
// from its formulation's saturation line. Internal to the calculation layer.
#pragma once

#include "calc/calc.h"
#include "if97/if97.h"

namespace calc {

Phase PhaseOfStateCode(int state);  // IFC-67's StateCode
// IF97: a pressure at or above 22.064 MPa counts as supercritical, as IFC-67's state text says.
Phase PhaseOfIf97(const if97::State& state);

// The saturation temperature at p and pressure at t, where the formulation's line has them, and
// t − ts for compressed water and superheated steam; NaN where none applies.
struct SaturationDistance {
  double tsat = NAN, psat = NAN, superheat = NAN;
};
SaturationDistance DistanceFromLine(Formulation f, double p, double t, Phase phase);

}  // namespace calc
