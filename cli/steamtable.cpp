#include "cli/steamtable.h"

#include <ostream>

#include "calc/steamtable.h"
#include "cli/calccli.h"
#include "cli/tooloptions.h"

namespace kelmcli {

int RunSteamTable(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ToolOptions o;
  std::string error;
  if (!ParseToolOptions(args, {"--extra"}, o, error)) return ToolUsageError(err, error);
  calc::TableRequest r;
  r.formulation = o.formulation;
  r.compare = o.compare;
  r.units = o.units;
  for (const auto& [name, value] : o.own)
    if (!calc::ParseTableExtras(value, r.extras, error)) return ToolUsageError(err, error);
  const std::vector<std::string>& a = o.operands;
  if (a.empty()) return ToolUsageError(err, "table needs sat-t, sat-p or pt");
  const std::string& kind = a[0];
  if (kind != "sat-t" && kind != "sat-p" && kind != "pt")
    return ToolUsageError(err, "unknown table " + Quote(kind) + " (sat-t, sat-p or pt)");
  r.kind = kind == "sat-t"   ? calc::TableKind::SaturationByTemperature
           : kind == "sat-p" ? calc::TableKind::SaturationByPressure
                             : calc::TableKind::PressureTemperature;
  const std::size_t series = kind == "pt" ? 2 : 1;
  if (a.size() != 1 + series)
    return ToolUsageError(err, "table " + kind +
                                   (series == 2       ? " takes PRESSURES and TEMPERATURES"
                                    : kind == "sat-t" ? " takes TEMPERATURES"
                                                      : " takes PRESSURES"));
  if (!calc::ParseSeries(a[1], r.first, error) ||
      (series == 2 && !calc::ParseSeries(a[2], r.second, error)))
    return ToolUsageError(err, error);

  calc::SteamTable t;
  if (!calc::MakeSteamTable(r, t, error)) {
    err << "kelm-calc: " << error << '\n';
    return kExitFailureShown;
  }
  if (o.tsv) {
    out << calc::ToTsv(t.table);
    for (const std::string& note : t.notes) err << "kelm-calc: " << note << '\n';
  } else {
    out << t.title << "  " << (o.compare ? "IFC-67 与 IF97" : calc::FormulationName(o.formulation))
        << '\n'
        << AlignedText(t.table);
    for (const std::string& note : t.notes) out << "说明  " << note << '\n';
  }
  out << std::flush;
  if (!o.xlsx.empty() && !WriteToolXlsx(o.xlsx, t.table, t.title, o, error)) {
    err << "kelm-calc: " << error << '\n';
    return kExitUsage;
  }
  if (!out) {
    err << "kelm-calc: cannot write the output\n";
    return kExitUsage;
  }
  return t.notes.empty() ? kExitOk : kExitFailureShown;
}

std::string SteamTableHelp() {
  return "Steam tables:\n"
         "  kelm-calc table [OPTIONS] [--extra LIST] sat-t TEMPERATURES\n"
         "  kelm-calc table [OPTIONS] [--extra LIST] sat-p PRESSURES\n"
         "  kelm-calc table [OPTIONS] [--extra LIST] pt PRESSURES TEMPERATURES\n"
         "                  saturated water and steam by temperature or by pressure (p or t,\n"
         "                  h', h'', r = h'' - h', s', s'', v', v''), or compressed water and\n"
         "                  superheated steam at every pressure and temperature (h, s, v,\n"
         "                  state). Each series is FROM:TO:STEP (STEP > 0, TO itself included\n"
         "                  when the steps reach it) or a list \"1,2.5,10\". --extra adds\n"
         "                  quantities: rho, u, cp, cv, w, kappa (IF97 only: cp to kappa), and\n"
         "                  for pt also ts (saturation temperature) and dt (t - ts). A request\n"
         "                  over 200000 cells or outside the formulation's range is refused\n"
         "                  before anything is computed (exit status 1). --compare: each\n"
         "                  quantity in IFC-67, IF97 and their difference. --tsv: the table as\n"
         "                  tab-separated lines with a caption line.\n"
         "Options of expand and table:\n"
         "  --formulation ifc67|if97, --compare as above; --units UNITS for inputs and\n"
         "  outputs (p=MPa|kPa|bar|kgf with g for gauge, atm=MPa, t=C|K, h=kJ|kcal, v=v|rho,\n"
         "  e.g. --units p=bar,t=K); --tsv; --xlsx FILE also writes the table to a workbook\n"
         "  with a sheet that states the program, formulation, units and date.\n";
}

}  // namespace kelmcli
