// The formulation-neutral calculation layer: one request (an item and mode of the form, its inputs
// as numbers, a formulation) and one answer (its solutions with every quantity the front ends
// show, or the reason it failed), for IFC-67 and IAPWS-IF97 alike. The comparison, the record,
// the diagrams, the turbine and table tools, the command line's new options and Python go through
// here; none of them calls an engine.
//
// IFC-67 runs the very computation of the form's Calculate, so its values are the single-precision
// values the form shows; IF97 values are its double-precision results. Units: MPa, ℃, kJ/kg,
// kJ/(kg·K), m³/kg, kg/m³, m/s.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "form/calculation.h"

namespace calc {

enum class Formulation { IFC67, IF97 };

// "IFC-67", "IF97".
const char* FormulationName(Formulation f);

// Critical point of a formulation: 374.15 ℃, 22.12 MPa (IFC-67); 373.946 ℃, 22.064 MPa (IF97).
struct CriticalPoint {
  double t, p;
};
CriticalPoint Critical(Formulation f);

struct Request {
  Formulation formulation = Formulation::IFC67;
  Item item = Item::SatWater;
  Mode mode = Mode::Pressure;
  double in[3] = {0, 0, 0};  // the inputs in the order of the form's inputs, in the form's units
};

// The form's list texts or indexes → item and mode; false with a message naming the entries.
bool FindItemMode(const std::string& item, const std::string& mode, Item& outItem, Mode& outMode,
                  std::string& error);

// The phase of a state, as the form's state texts name it. A pressure at or above the critical
// one is supercritical in both formulations, whatever the temperature.
enum class Phase { Unknown, Water, Wet, Steam, Supercritical };

// Quantities a state may lack: NaN where one does not exist (cp of a wet state, the superheat
// above the critical pressure, cp in IFC-67); the front ends show "—".
struct Extra {
  double tsat = NAN;          // saturation temperature at the state's pressure, ℃
  double psat = NAN;          // saturation pressure at the state's temperature, MPa
  double superheat = NAN;     // t − ts: above 0 superheated steam, below 0 subcooled water
  double rho = NAN;           // kg/m³
  double u = NAN;             // kJ/kg
  double cp = NAN, cv = NAN;  // kJ/(kg·K), IF97 only
  double w = NAN;             // m/s, IF97 only
  double kappa = NAN;         // isentropic exponent, IF97 only
};

struct Solution {
  double p = 0, t = 0, h = 0, s = 0, v = 0;
  double x = -1;  // dryness: 0…1 when wet, −1 when none applies
  Phase phase = Phase::Unknown;
  std::string state;  // the state text, exactly as the form's state field shows it
  Extra extra;
};

struct Answer {
  Request request;
  // Solution 1 first. A failed IFC-67 calculation keeps the values the form shows (its
  // sentinels); a failed IF97 one has none. IFC-67 (t, h) without a state: no solution.
  std::vector<Solution> solutions;
  bool failed = false;
  std::vector<std::string> reasons;   // one sentence per cause of a failure, or of no solution
  std::vector<std::string> warnings;  // not failures: near the line or the critical point, …
};

Answer Calculate(const Request& request);

// The six result texts of a solution in the form's formats ("%f MPa", "%f ℃", "%f kJ/kg",
// "%f kJ/(kg*K)", "%f m**3/kg", the state). For IFC-67 these are the form's texts.
struct Texts {
  std::string pressure, temperature, enthalpy, entropy, volume, state;
};
Texts FormTexts(const Solution& s);

}  // namespace calc
