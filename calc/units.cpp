#include "calc/units.h"

#include <charconv>
#include <sstream>
#include <string>

namespace calc {
namespace {

// Pressure in a unit from MPa and back: kPa and bar by their exact whole factors, kgf/cm² by its
// defined size in MPa.
double FromMPa(double p, PressureUnit unit) {
  switch (unit) {
    case PressureUnit::kPa: return p * 1000;
    case PressureUnit::bar: return p * 10;
    case PressureUnit::kgfcm2: return p / kKgfPerCm2InMPa;
    default: return p;
  }
}
double ToMPa(double value, PressureUnit unit) {
  switch (unit) {
    case PressureUnit::kPa: return value / 1000;
    case PressureUnit::bar: return value / 10;
    case PressureUnit::kgfcm2: return value * kKgfPerCm2InMPa;
    default: return value;
  }
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

double EnergyFactor(const Units& u) { return u.energy == EnergyUnit::kcal ? kKcalInKJ : 1; }

struct PressureWord {
  const char* key;
  const char* name;
  PressureUnit unit;
};
constexpr PressureWord kPressureWords[] = {{"MPa", "MPa", PressureUnit::MPa},
                                           {"kPa", "kPa", PressureUnit::kPa},
                                           {"bar", "bar", PressureUnit::bar},
                                           {"kgf", "kgf/cm²", PressureUnit::kgfcm2}};

}  // namespace

double PressureOut(double pMPa, const Units& u) {
  return FromMPa(u.gauge ? pMPa - u.atmosphere : pMPa, u.pressure);
}

std::optional<double> PressureIn(double value, const Units& u) {
  if (!u.gauge) return ToMPa(value, u.pressure);
  const double p = ToMPa(value, u.pressure) + u.atmosphere;
  if (!(p >= 0)) return std::nullopt;
  return p;
}

double TemperatureOut(double tC, const Units& u) {
  return u.temperature == TemperatureUnit::Kelvin ? tC + 273.15 : tC;
}
double TemperatureIn(double value, const Units& u) {
  return u.temperature == TemperatureUnit::Kelvin ? value - 273.15 : value;
}
double EnthalpyOut(double h, const Units& u) { return h / EnergyFactor(u); }
double EnthalpyIn(double value, const Units& u) { return value * EnergyFactor(u); }
double EntropyOut(double s, const Units& u) { return s / EnergyFactor(u); }
double EntropyIn(double value, const Units& u) { return value * EnergyFactor(u); }
double VolumeOut(double v, const Units& u) { return u.volume == VolumeUnit::Density ? 1 / v : v; }
double VolumeIn(double value, const Units& u) {
  return u.volume == VolumeUnit::Density ? 1 / value : value;
}

std::string PressureName(const Units& u) {
  std::string name;
  for (const PressureWord& w : kPressureWords)
    if (w.unit == u.pressure) name = w.name;
  return u.gauge ? name + "(表压)" : name;
}
std::string TemperatureName(const Units& u) {
  return u.temperature == TemperatureUnit::Kelvin ? "K" : "℃";
}
std::string EnthalpyName(const Units& u) {
  return u.energy == EnergyUnit::kcal ? "kcal/kg" : "kJ/kg";
}
std::string EntropyName(const Units& u) {
  return u.energy == EnergyUnit::kcal ? "kcal/(kg·K)" : "kJ/(kg·K)";
}
std::string VolumeName(const Units& u) {
  return u.volume == VolumeUnit::Density ? "kg/m³" : "m³/kg";
}
std::string VolumeCaption(const Units& u) {
  return u.volume == VolumeUnit::Density ? "密度" : "比容";
}

std::string DescribeUnits(const Units& u) {
  std::string text = "压力 " + PressureName(u);
  if (u.gauge) {
    char atm[32];
    const auto end = std::to_chars(atm, atm + sizeof atm, u.atmosphere).ptr;
    text.insert(text.size() - std::string(")").size(),
                "，当地大气压 " + std::string(atm, end) + " MPa");
  }
  return text + "，温度 " + TemperatureName(u) + "，焓 " + EnthalpyName(u) + "，熵 " +
         EntropyName(u) + "，" + VolumeCaption(u) + " " + VolumeName(u);
}

std::string FormatUnits(const Units& u) {
  std::string p;
  for (const PressureWord& w : kPressureWords)
    if (w.unit == u.pressure) p = w.key;
  // The shortest text that reads back as the same double, with a point in every locale.
  char atm[32];
  const auto end = std::to_chars(atm, atm + sizeof atm, u.atmosphere).ptr;
  return "p=" + p + (u.gauge ? "g" : "") + ",atm=" + std::string(atm, end) +
         ",t=" + (u.temperature == TemperatureUnit::Kelvin ? "K" : "C") +
         ",h=" + (u.energy == EnergyUnit::kcal ? "kcal" : "kJ") +
         ",v=" + (u.volume == VolumeUnit::Density ? "rho" : "v");
}

std::optional<Units> ParseUnits(const std::string& text, std::string& error) {
  Units u;
  std::istringstream fields(text);
  for (std::string field; std::getline(fields, field, ',');) {
    field = Trimmed(field);
    const std::size_t eq = field.find('=');
    const std::string key = Trimmed(field.substr(0, eq));
    const std::string value = eq == std::string::npos ? "" : Trimmed(field.substr(eq + 1));
    bool ok = false;
    if (key == "p") {
      for (const PressureWord& w : kPressureWords) {
        const std::string k = w.key;
        if (value == k || value == k + "g") {
          u.pressure = w.unit;
          u.gauge = value != k;
          ok = true;
        }
      }
    } else if (key == "atm") {
      // from_chars reads a point whatever the locale (the settings are read inside a Qt program,
      // which takes LC_NUMERIC from the environment).
      double atm = 0;
      const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), atm);
      ok = !value.empty() && ec == std::errc() && end == value.data() + value.size() && atm > 0 &&
           atm < 1;
      if (ok) u.atmosphere = atm;
    } else if (key == "t") {
      ok = value == "C" || value == "K";
      u.temperature = value == "K" ? TemperatureUnit::Kelvin : TemperatureUnit::Celsius;
    } else if (key == "h") {
      ok = value == "kJ" || value == "kcal";
      u.energy = value == "kcal" ? EnergyUnit::kcal : EnergyUnit::kJ;
    } else if (key == "v") {
      ok = value == "v" || value == "rho";
      u.volume = value == "rho" ? VolumeUnit::Density : VolumeUnit::SpecificVolume;
    }
    if (!ok) {
      error = "bad unit \"" + field +
              "\" (p=MPa|kPa|bar|kgf, with g for gauge; atm=MPa between 0 and 1; t=C|K; "
              "h=kJ|kcal; v=v|rho)";
      return std::nullopt;
    }
  }
  return u;
}

}  // namespace calc
