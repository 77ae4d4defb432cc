// Public result values from phase properties, and the region selection at (p, T).
#pragma once

#include "if97/detail/density.h"
#include "if97/detail/regions.h"
#include "if97/if97.h"

namespace if97::detail {

// Phase of a single-phase state of `region`; `branch` matters for region 3 only.
Phase SinglePhase(double p, double T, int region, Branch branch);
// The density branch of region 3 at (p, T): Single from Tc up; below it Liquid at and above
// ps(T) (and so at any p ≥ pc), Vapour below.
Branch Region3Branch(double p, double T);

State FromProps(const Props& pr, int region, Phase phase);
// A wet state of dryness 0 < x < 1 between the saturated phases: region 4, cp = cv = w = κ = 0;
// at x = 0 or 1 the saturated phase (Saturated).
State Wet(const Props& liquid, const Props& vapour, double x);
// A saturated end state (x = 0 or 1): region 4, the phase's own cp, cv, w and κ.
State Saturated(const Props& pr, double x);
State Failed(Failure failure, double limit);

// The phase at p MPa, T K (inside the range) in the region the boundaries give. Failure only in
// region 3: NearCritical in the gap where no vapour density reaches p (limit: the highest
// pressure of the vapour branch), NoConvergence at the density cap.
struct PhaseAt {
  Props props;
  int region;
  Branch branch;
  Failure failure;
  double limit;
};
PhaseAt PropsAtPT(double p, double T);

// Region 3 phase at (p, T) on the branch, the density seeded from `start` (0: none).
struct Region3At {
  Props props;
  Density density;
};
Region3At Region3AtPT(const Region3Isotherm& isotherm, double p, Branch branch, double start = 0.0);
inline Region3At Region3AtPT(double p, double T, Branch branch, double start = 0.0) {
  return Region3AtPT(Region3Isotherm(T), p, branch, start);
}
// The failure a density result stands for (None when found), and its limit.
Failure DensityFailure(const Density& d, double T, double* limit);

// Range checks of single inputs, in their engineering units; None or the failure and its limit.
struct Check {
  Failure failure;
  double limit;
};
Check CheckPressure(double p);     // finite, pmin ≤ p ≤ 100 MPa
Check CheckTemperature(double t);  // finite, 0 ≤ t ≤ 2000 °C
// Both, then 50 MPa above 800 °C (PressureHigh). Temperature first.
Check CheckPT(double p, double t);

}  // namespace if97::detail

namespace if97::detail {

// Both saturated phases at (p, Ts): regions 1 and 2 up to ps(T13), region 3 above. In the
// near-critical gap the vapour is the top of its branch (vapourFound false). Failure only
// NoConvergence (a density cap).
struct SatPair {
  Props liquid, vapour;
  bool vapourFound;
  Failure failure;
};
SatPair SaturatedPhases(double p, double Ts, bool region3);

}  // namespace if97::detail
