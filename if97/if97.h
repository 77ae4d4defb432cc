// IAPWS-IF97, the industrial formulation for water and steam: states from (p, t), (p, h), (p, s),
// (t, h), (t, s), the saturation line and the isentropic end point.
//
// Units: p MPa, t °C, v m³/kg, ρ kg/m³, h and u kJ/kg, s, cp and cv kJ/(kg·K), w m/s.
// Range (the formulation's own): 0 ≤ t ≤ 800 °C at pmin ≤ p ≤ 100 MPa, and 800 < t ≤ 2000 °C at
// p ≤ 50 MPa, with pmin = 1e-6 MPa (1 Pa; below the triple-point pressure only steam exists). The
// saturation line runs from 0 °C, ps = 0.000611212677 MPa, to the critical point 373.946 °C,
// 22.064 MPa.
//
// Every function is pure: no global or static mutable state, no exceptions, safe from any number
// of threads. A result carries `failure`; its other fields mean something only when that is
// Failure::None, and then every number in it is finite. Every iteration is bracketed and capped;
// a cap that is hit returns Failure::NoConvergence, never a guess.
//
// The formulation's regions do not meet exactly: across the 1–3, 2–3 and 2–5 boundaries h steps
// by up to 0.15 kJ/kg and s by 2e-4 kJ/(kg·K). A given h or s inside such a step belongs to no
// state (NoSolution). Where the two sides overlap instead, (p, h) and (p, s) give the state of
// region 1 at 350 °C and of region 2 at the 2–3 boundary and at 800 °C; (t, h), (t, s) give both.
#pragma once

#include <cstdint>

namespace if97 {

enum class Phase : std::uint8_t {
  Unknown,        // failed call
  Liquid,         // water below ts(p); at p ≥ 22.064 MPa, water below 373.946 °C
  TwoPhase,       // on the saturation line: saturated water, saturated steam or wet steam
  Vapour,         // steam below 22.064 MPa
  Supercritical,  // p ≥ 22.064 MPa and t ≥ 373.946 °C
};

enum class Failure : std::uint8_t {
  None,
  PressureLow,      // limit: pmin, or 0.000611212677 MPa for the saturation line
  PressureHigh,     // limit: 100 MPa, 50 MPa above 800 °C, or 22.064 MPa for the saturation line
  TemperatureLow,   // limit: 0 °C
  TemperatureHigh,  // limit: 2000 °C, or 373.946 °C for the saturation line
  EnthalpyLow,      // limit: the lowest h reachable at the given p (or along the given t), kJ/kg
  EnthalpyHigh,     // limit: the highest one
  EntropyLow,       // limit: the lowest s reachable, kJ/(kg·K)
  EntropyHigh,      // limit: the highest one
  NotFinite,        // an argument is NaN or infinite; limit 0
  PressureOrder,    // IsentropicEnd with p2 > p1; limit: p1
  NoSolution,       // the value lies in a step between two regions (see above); limit 0
  NearCritical,     // within 1e-5 K below 373.946 °C the saturation pressure lies up to 8e-10 MPa
                    // above the highest pressure of the region 3 vapour branch: no steam state
                    // exists between them; limit: that highest pressure, MPa
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
  double cp;     // kJ/(kg·K); 0 for wet steam (0 < x < 1), where it has no value; at the critical
                 // point, where it is infinite, of the order of 1e10
  double cv;     // kJ/(kg·K); 0 for wet steam
  double w;      // m/s, speed of sound; 0 for wet steam
  double kappa;  // isentropic exponent ρw²/p; 0 for wet steam
  double x;      // dryness: 0…1 for Phase::TwoPhase, −1 otherwise
  Phase phase;
  int region;  // 1, 2, 3, 5; 4 for Phase::TwoPhase (saturated water and steam included)
  Failure failure;
  double limit;  // the bound crossed, in the unit of the input it bounds; 0 without one
};

// State at p MPa and t °C, in the region the boundaries give; on the saturation line itself
// (p ≥ SatPressure(t) to the last bit) the water. In region 3 the density is solved on the side
// of the line that p gives, to 1e-13 of p (1e-12 in dense water, where p is rounded to 5e-13).
// Failures: NotFinite, TemperatureLow/High (checked first), PressureLow/High, NearCritical.
State StateFromPT(double p, double t);

// State at p MPa and h kJ/kg: the temperature from the backward equations, then polished on the
// basic equations so that h(p, t) == h to 1e-9 (relative; absolute below 1 kJ/kg). Below
// 22.064 MPa, a value between the saturated values h' and h'' at p gives wet steam with its
// dryness, and one within that tolerance of h' or h'' the saturated phase itself (x = 0 or 1,
// or the one-phase state at ts(p)). Failures: NotFinite, PressureLow/High, EnthalpyLow (limit: h
// at 0 °C), EnthalpyHigh (limit: h at 2000 °C, or at 800 °C above 50 MPa), NoSolution,
// NearCritical, NoConvergence.
State StateFromPH(double p, double h);
// The same for p MPa and s kJ/(kg·K), with EntropyLow/High.
State StateFromPS(double p, double s);

// Every state along the isotherm t °C with the given h kJ/kg (or s), sorted by rising pressure,
// each with its phase; wet steam sits at p = SatPressure(t), and a saturated phase reached both
// as wet and as one-phase state is given once, as the latter. The isotherm crosses a value at
// most three times (in water, h has a minimum where Tα = 1 and s a maximum near 4 °C). Each root
// meets h (or s) to 1e-9 as above. Failures: NotFinite, TemperatureLow/High, EnthalpyLow/High or
// EntropyLow/High with limit = the lowest or highest value along the isotherm from pmin to
// 100 MPa (50 MPa above 800 °C), NoSolution, NoConvergence.
struct States {
  int count;
  State root[4];
  Failure failure;
  double limit;
};
States StatesFromTH(double t, double h);
States StatesFromTS(double t, double s);

// Both saturated states at p MPa (0.000611212677 ≤ p ≤ 22.064) or t °C (0 ≤ t ≤ 373.946), with p
// and t as given: Phase::TwoPhase, region 4, x = 0 (water) and 1 (steam), each with the cp, cv, w
// and κ of its own phase. Within 1e-5 K of the critical temperature, where no steam density
// reaches ps (see NearCritical), the steam is the top of its branch, within 8e-10 MPa of ps.
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

// The saturation line itself (Eqs. 30 and 31): ps MPa at t °C, ts °C at p MPa; inverses of each
// other to 1e-12. Eq. 30 ends 3.2e-10 MPa above 22.064 MPa: the line is held at 22.064 MPa over
// its last 1.2e-9 K. Outside 0 ≤ t ≤ 373.946 °C or 0.000611212677 ≤ p ≤ 22.064 MPa, and for NaN,
// they return −1.
double SatPressure(double t);
double SatTemperature(double p);

// End of the isentropic change from p1 MPa, t1 °C to p2 MPa (p2 ≤ p1): the state at (p2, s1),
// wet with its dryness where s1 lies between s' and s'' at p2. Failures: NotFinite for p2, those
// of StateFromPT for (p1, t1), PressureOrder (limit p1), then those of StateFromPS for (p2, s1).
State IsentropicEnd(double p1, double t1, double p2);

}  // namespace if97
