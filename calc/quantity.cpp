#include "calc/quantity.h"

#include <cstdio>

namespace calc {

double Out(Quantity q, double value, const Units& u) {
  switch (q) {
    case Quantity::Pressure: return PressureOut(value, u);
    case Quantity::Temperature: return TemperatureOut(value, u);
    case Quantity::Enthalpy: return EnthalpyOut(value, u);
    case Quantity::Entropy: return EntropyOut(value, u);
    case Quantity::Volume: return VolumeOut(value, u);
    default: return value;
  }
}

std::optional<double> In(Quantity q, double value, const Units& u) {
  switch (q) {
    case Quantity::Pressure: return PressureIn(value, u);
    case Quantity::Temperature: return TemperatureIn(value, u);
    case Quantity::Enthalpy: return EnthalpyIn(value, u);
    case Quantity::Entropy: return EntropyIn(value, u);
    case Quantity::Volume: return VolumeIn(value, u);
    default: return value;
  }
}

std::string UnitName(Quantity q, const Units& u) {
  switch (q) {
    case Quantity::Pressure: return PressureName(u);
    case Quantity::Temperature: return TemperatureName(u);
    case Quantity::Enthalpy: return EnthalpyName(u);
    case Quantity::Entropy: return EntropyName(u);
    case Quantity::Volume: return VolumeName(u);
    case Quantity::TemperatureDifference:
      return u.temperature == TemperatureUnit::Kelvin ? "K" : "℃";
    default: return "";
  }
}

std::string Show(Quantity q, double value, const Units& u) {
  char text[48];
  std::snprintf(text, sizeof text, "%.6g", Out(q, value, u));
  const std::string unit = UnitName(q, u);
  return unit.empty() ? text : text + (" " + unit);
}

}  // namespace calc
