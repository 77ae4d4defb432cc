// The quantities of the tool windows and commands as the engineer reads them: a value in the
// chosen units with its unit's name. Pressures may be gauge, so only a pressure can fail to come
// back in.
#pragma once

#include <optional>
#include <string>

#include "calc/units.h"

namespace calc {

// Dryness and efficiency have no unit; a temperature difference (superheat, Δt) is in K or ℃
// without the Kelvin offset.
enum class Quantity {
  Pressure,
  Temperature,
  Enthalpy,
  Entropy,
  Volume,
  Dryness,
  TemperatureDifference
};

double Out(Quantity q, double value, const Units& u);
std::optional<double> In(Quantity q, double value, const Units& u);
// "MPa", "℃", "kJ/kg", …; empty for the dryness.
std::string UnitName(Quantity q, const Units& u);

// "0.01 MPa", "45.8075 ℃", "0.95": the value in the units with six significant digits.
std::string Show(Quantity q, double value, const Units& u);

}  // namespace calc
