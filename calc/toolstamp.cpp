#include "calc/toolstamp.h"

#include <ctime>

#include "calc/quantity.h"

namespace calc {

std::string FormulationText(Formulation f, bool both) {
  const std::string ifc67 = "IFC-67（Tc 647.3 K，pc 22.12 MPa，vc 0.00317 m³/kg）";
  const std::string if97 = "IF97（Tc 647.096 K，pc 22.064 MPa，ρc 322 kg/m³）";
  if (both) return ifc67 + "；" + if97;
  return f == Formulation::IF97 ? if97 : ifc67;
}

std::string UnitsText(const Units& u) {
  std::string text = "压力 " + PressureName(u) + "，温度 " + TemperatureName(u) + "，焓 " +
                     EnthalpyName(u) + "，熵 " + EntropyName(u) + "，" + VolumeCaption(u) + " " +
                     VolumeName(u);
  if (u.gauge) text += "（当地大气压 " + Show(Quantity::Pressure, u.atmosphere, Units{}) + "）";
  return text;
}

std::string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  char text[16];
  std::strftime(text, sizeof text, "%Y-%m-%d", &local);
  return text;
}

Stamp ToolStamp(const std::string& program, const std::string& title, Formulation f, bool both,
                const Units& u, const std::string& date) {
  return {{"程序", program},
          {"内容", title},
          {"公式", FormulationText(f, both)},
          {"单位", UnitsText(u)},
          {"日期", date}};
}

}  // namespace calc
