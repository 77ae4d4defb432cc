// IAPWS-IF97, the industrial formulation for water and steam: states from (p, t), (p, h), (p, s),
// (t, h), (t, s), the saturation line and the isentropic end point.
//
// Units: p MPa, t °C, v m³/kg, ρ kg/m³, h and u kJ/kg, s, cp and cv kJ/(kg·K), w m/s.
// Range (the formulation's own): 0 ≤ t ≤ 800 °C for pmin ≤ p ≤ 100 MPa, and 800 < t ≤ 2000 °C for
// p ≤ 50 MPa, with pmin = 1e-6 MPa (1 Pa); the saturation line from 0 °C (ps = 0.000611212677 MPa)
// to the critical point 373.946 °C, 22.064 MPa.
//
// Every function is pure: no global or static mutable state, no exceptions, safe from any
// number of threads. A result carries `failure`; every other field means something only when it
// is Failure::None, and then every number in it is finite. Every iteration is bracketed and
// capped; a cap that is hit returns Failure::NoConvergence, never a guess.
#pragma once

#include <cstdint>

namespace if97 {

enum class Phase : std::uint8_t {
  Unknown,        // failed call
  Liquid,         // compressed water: below the saturation temperature, or below 373.946 °C at p ≥ 22.064 MPa
  TwoPhase,       // on the saturation line: saturated water, saturated steam or wet steam
  Vapour,         // superheated steam below 22.064 MPa
  Supercritical,  // p ≥ 22.064 MPa and t ≥ 373.946 °C
};

enum class Failure : std::uint8_t {
  None,
  PressureLow,      // limit: the lowest pressure accepted, MPa
  PressureHigh,     // limit: 100 MPa, 50 MPa above 800 °C, or 22.064 MPa for the saturation line
  TemperatureLow,   // limit: 0 °C
  TemperatureHigh,  // limit: 2000 °C, 800 °C above 50 MPa, or 373.946 °C for the saturation line
  EnthalpyLow,      // limit: the lowest enthalpy reachable at the given p (or along the given t), kJ/kg
  EnthalpyHigh,     // limit: the highest one
  EntropyLow,       // limit: the lowest entropy reachable, kJ/(kg·K)
  EntropyHigh,      // limit: the highest one
  NotFinite,        // an argument is NaN or infinite; limit 0
  PressureOrder,    // IsentropicEnd with p2 > p1; limit: p1
  NoSolution,       // no state has these inputs although each lies in its range; limit 0
  NearCritical,     // within 1e-5 K below the critical temperature the saturation pressure of the
                    // line lies up to 8e-10 MPa above the highest pressure of the vapour branch:
                    // no vapour state exists there; limit: that highest pressure, MPa
  NoConvergence,    // an iteration cap was hit; limit 0
};

struct State {
  double p;      // MPa
  double t;      // °C
  double v;      // m³/kg
  double rho;    // kg/m³
  double h;      // kJ/kg
  double s;      // kJ/(kg·K)
  double u;      // kJ/kg
  double cp;     // kJ/(kg·K); 0 for a wet state (0 < x < 1), where it has no value
  double cv;     // kJ/(kg·K); 0 for a wet state
  double w;      // m/s, speed of sound; 0 for a wet state
  double kappa;  // isentropic exponent ρw²/p; 0 for a wet state
  double x;      // dryness: 0…1 for Phase::TwoPhase, −1 otherwise
  Phase phase;
  int region;    // 1, 2, 3, 5; 4 for two-phase states (saturated end states included)
  Failure failure;
  double limit;  // the bound crossed, in the unit of the input it bounds; 0 without one
};

// State at p MPa and t °C. Exactly on the saturation line (p == SatPressure(t)) the liquid.
// In region 3 the density is solved on the side of the saturation line that p gives, to 1e-13 of
// p (1e-12 at worst). Failures: NotFinite, TemperatureLow/High, PressureLow/High, NearCritical.
State StateFromPT(double p, double t);

// State at p MPa and h kJ/kg; two-phase, with its dryness x, where h lies between the
// saturated-water and saturated-steam values at p (p < 22.064 MPa). The temperature is polished
// on the basic equations: h(p, t) == h to 1e-9 (relative, or absolute below 1 kJ/kg).
// Failures: NotFinite, PressureLow/High, EnthalpyLow/High (limit: h at 0 °C, or at 800 °C or
// 2000 °C), NearCritical, NoConvergence.
State StateFromPH(double p, double h);
// The same for p MPa and s kJ/(kg·K), with EntropyLow/High.
State StateFromPS(double p, double s);

// Every state along the isotherm t °C with the given h kJ/kg (or s), sorted by rising pressure,
// each with its phase; a wet solution sits at p = SatPressure(t). At most 4 (count). Each root
// reproduces h (or s) to 1e-9 as above. Failures: NotFinite, TemperatureLow/High,
// EnthalpyLow/High or EntropyLow/High with limit = the lowest or highest value reachable along
// the isotherm within pmin ≤ p ≤ 100 MPa (50 MPa above 800 °C), NoConvergence.
struct States {
  int count;
  State root[4];
  Failure failure;
  double limit;
};
States StatesFromTH(double t, double h);
States StatesFromTS(double t, double s);

// Both saturated states at p MPa (0.000611212677 ≤ p ≤ 22.064) or t °C (0 ≤ t ≤ 373.946): phase
// TwoPhase, region 4, x = 0 (liquid) and 1 (vapour), each with the cp, cv, w and κ of its own
// phase. Within 1e-5 K of the critical temperature, where no vapour density reaches ps (see
// NearCritical), the vapour is taken at the top of its branch, within 8e-10 MPa of ps.
// Failures: NotFinite, PressureLow/High or TemperatureLow/High.
struct Saturation {
  double p;  // MPa
  double t;  // °C
  State liquid, vapour;
  Failure failure;
  double limit;
};
Saturation SaturationByP(double p);
Saturation SaturationByT(double t);

// The saturation line itself (Eqs. 30 and 31): ps MPa at t °C, Ts °C at p MPa. Outside
// 0 ≤ t ≤ 373.946 °C, or 0.000611212677 ≤ p ≤ 22.064 MPa, or for NaN, they return −1.
double SatPressure(double t);
double SatTemperature(double p);

// End of the isentropic change from p1 MPa, t1 °C to p2 MPa (p2 ≤ p1): the state at (p2, s1),
// wet with its dryness where s1 lies between s' and s'' at p2. Failures: those of StateFromPT
// for (p1, t1), PressureOrder (limit p1), then those of StateFromPS for (p2, s1).
State IsentropicEnd(double p1, double t1, double p2);

}  // namespace if97
