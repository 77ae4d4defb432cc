// Units of the windows and outputs beyond the form (the form itself keeps MPa and ℃). Every value
// inside the program is in the engines' units (MPa absolute, ℃, kJ/kg, kJ/(kg·K), m³/kg); a unit
// converts on the way out and back on the way in.
#pragma once

#include <optional>
#include <string>

namespace calc {

enum class PressureUnit { MPa, kPa, bar, kgfcm2 };
enum class TemperatureUnit { Celsius, Kelvin };
enum class EnergyUnit { kJ, kcal };  // enthalpy per kg, entropy per kg·K
enum class VolumeUnit { SpecificVolume, Density };

struct Units {
  PressureUnit pressure = PressureUnit::MPa;
  bool gauge = false;            // pressures above the local atmosphere
  double atmosphere = 0.101325;  // MPa, the local atmospheric pressure of gauge readings
  TemperatureUnit temperature = TemperatureUnit::Celsius;
  EnergyUnit energy = EnergyUnit::kJ;
  VolumeUnit volume = VolumeUnit::SpecificVolume;
};

// The International Table calorie, and one kilogram-force per square centimetre.
inline constexpr double kKcalInKJ = 4.1868;           // kJ
inline constexpr double kKgfPerCm2InMPa = 0.0980665;  // MPa

// Engine value → the unit's value, and back. A gauge pressure below the absolute zero (−0.2 MPa(g)
// at the default atmosphere) has no absolute pressure: PressureIn returns nothing. An absolute
// value converts as it is, a negative one too: the engines give their own reason for it.
double PressureOut(double pMPa, const Units& u);
std::optional<double> PressureIn(double value, const Units& u);
double TemperatureOut(double tC, const Units& u);
double TemperatureIn(double value, const Units& u);
double EnthalpyOut(double h, const Units& u);
double EnthalpyIn(double value, const Units& u);
double EntropyOut(double s, const Units& u);
double EntropyIn(double value, const Units& u);
// v m³/kg shown as v, or as the density 1/v kg/m³.
double VolumeOut(double v, const Units& u);
double VolumeIn(double value, const Units& u);

// The unit texts a caption shows: "MPa", "kPa(表压)", "℃", "K", "kJ/kg", "kcal/kg",
// "kJ/(kg·K)", "kcal/(kg·K)", "m³/kg", "kg/m³".
std::string PressureName(const Units& u);
std::string TemperatureName(const Units& u);
std::string EnthalpyName(const Units& u);
std::string EntropyName(const Units& u);
std::string VolumeName(const Units& u);
// "比容" or "密度": what the volume column holds.
std::string VolumeCaption(const Units& u);
// All the units in words, for a workbook's stamp: "压力 MPa(表压，当地大气压 0.101325 MPa)，
// 温度 ℃，焓 kJ/kg，熵 kJ/(kg·K)，比容 m³/kg".
std::string DescribeUnits(const Units& u);

// The units as one text for the command line and the settings, and back:
// "p=MPa,t=C,h=kJ,v=v" … with p one of MPa, kPa, bar, kgf (each with an optional "g" suffix for
// gauge, e.g. "MPag", "barg"), atm=<MPa> the local atmosphere, t one of C, K, h one of kJ, kcal,
// v one of v, rho. Missing keys keep their defaults; blanks around fields are ignored. The text
// holds the shortest digits of the atmosphere that read back exactly, with a point in every
// locale. Returns nothing and an error for a bad text.
std::string FormatUnits(const Units& u);
std::optional<Units> ParseUnits(const std::string& text, std::string& error);

}  // namespace calc
