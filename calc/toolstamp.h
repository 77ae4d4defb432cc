// What a handed-on table states about itself, in a workbook's second sheet and a printed page's
// header: the program, the formulation with its critical constants, the units and the date.
#pragma once

#include <string>

#include "calc/calc.h"
#include "calc/table.h"
#include "calc/units.h"

namespace calc {

// The formulation and its constants: "IFC-67（Tc 647.3 K，pc 22.12 MPa，vc 0.00317 m³/kg）",
// "IF97（Tc 647.096 K，pc 22.064 MPa，ρc 322 kg/m³）"; with `both`, the two joined by "；".
std::string FormulationText(Formulation f, bool both = false);

// "压力 MPa，温度 ℃，焓 kJ/kg，熵 kJ/(kg·K)，比容 m³/kg", gauge pressures with their atmosphere.
std::string UnitsText(const Units& u);

// Today's local date, "2024-03-09".
std::string Today();

// The stamp rows: 程序, 内容, 公式, 单位, 日期.
Stamp ToolStamp(const std::string& program, const std::string& title, Formulation f, bool both,
                const Units& u, const std::string& date);

}  // namespace calc
