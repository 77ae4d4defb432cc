#include "cli/expand.h"

#include <cstdio>
#include <ostream>

#include "calc/steamtable.h"
#include "calc/turbine.h"
#include "cli/calccli.h"
#include "cli/tooloptions.h"

namespace kelmcli {
namespace {

using calc::Quantity;

// The six result lines of a point, as the form's captions and texts.
void PrintPoint(std::string& out, const std::string& title, const calc::Point& p,
                const calc::Units& u) {
  out += title + "\n";
  const std::pair<const char*, std::string> lines[] = {
      {"压力", FormText(Quantity::Pressure, p.p, u)},
      {"温度", FormText(Quantity::Temperature, p.t, u)},
      {"焓值", FormText(Quantity::Enthalpy, p.h, u)},
      {"熵", FormText(Quantity::Entropy, p.s, u)},
      {"比容", FormText(Quantity::Volume, p.v, u)},
      {"状态", calc::FormTexts(p).state}};
  for (const auto& [caption, text] : lines)
    out += calc::PadToWidth(caption, 4) + "  " + text + "\n";
}

void PrintFigure(std::string& out, const std::string& caption, const std::string& text) {
  out += caption + "  " + text + "\n";
}

std::string Eta(double eta) {
  char text[32];
  std::snprintf(text, sizeof text, "%f", eta);
  return text;
}

std::string Readable(const calc::TurbineResult& r, const calc::Units& u) {
  std::string out;
  PrintPoint(out, "进口", r.inlet, u);
  const bool chain = r.sections.size() > 1;
  for (std::size_t k = 0; k < r.sections.size(); ++k) {
    const calc::Expansion& e = r.sections[k].expansion;
    const std::string n = chain ? "第 " + std::to_string(k + 1) + " 段" : "";
    PrintPoint(out, n + "等熵末点", e.isentropicEnd, u);
    PrintFigure(out, "等熵焓降", FormText(Quantity::Enthalpy, e.isentropicDrop, u));
    PrintFigure(out, "实际焓降", FormText(Quantity::Enthalpy, e.actualDrop, u));
    if (chain || r.measured) PrintFigure(out, "效率    ", Eta(r.sections[k].eta));
    PrintPoint(out, n + "实际末点", e.end, u);
  }
  if (chain) {
    PrintFigure(out, "全程等熵焓降", FormText(Quantity::Enthalpy, r.isentropicDrop, u));
    PrintFigure(out, "全程实际焓降", FormText(Quantity::Enthalpy, r.actualDrop, u));
    PrintFigure(out, "全程效率    ", Eta(r.eta));
  }
  for (const std::string& w : r.warnings) PrintFigure(out, "说明", w);
  return out;
}

// One line per section: h1, s1, h2s, Δhs, the actual drop, the end's six texts; η last when it
// was measured.
std::vector<std::string> TsvFields(const calc::TurbineResult& r, std::size_t k,
                                   const calc::Units& u) {
  const calc::Expansion& e = r.sections[k].expansion;
  const calc::Point& end = e.end;
  std::vector<std::string> f = {FormText(Quantity::Enthalpy, e.inlet.h, u),
                                FormText(Quantity::Entropy, e.inlet.s, u),
                                FormText(Quantity::Enthalpy, e.isentropicEnd.h, u),
                                FormText(Quantity::Enthalpy, e.isentropicDrop, u),
                                FormText(Quantity::Enthalpy, e.actualDrop, u),
                                FormText(Quantity::Pressure, end.p, u),
                                FormText(Quantity::Temperature, end.t, u),
                                FormText(Quantity::Enthalpy, end.h, u),
                                FormText(Quantity::Entropy, end.s, u),
                                FormText(Quantity::Volume, end.v, u),
                                calc::FormTexts(end).state};
  if (r.measured) f.push_back(Eta(r.sections[k].eta));
  return f;
}

std::string Joined(const std::vector<std::string>& fields) {
  std::string line;
  for (const std::string& f : fields) line += (line.empty() ? "" : "\t") + f;
  return line;
}

// The differences IF97 − IFC-67 of a section's numbers, in the units, six decimals.
std::vector<std::string> Deltas(const calc::TurbineResult& a, const calc::TurbineResult& b,
                                std::size_t k, const calc::Units& u) {
  const calc::Expansion &x = a.sections[k].expansion, &y = b.sections[k].expansion;
  const std::pair<Quantity, double> d[] = {
      {Quantity::Enthalpy, y.inlet.h - x.inlet.h},
      {Quantity::Entropy, y.inlet.s - x.inlet.s},
      {Quantity::Enthalpy, y.isentropicEnd.h - x.isentropicEnd.h},
      {Quantity::Enthalpy, y.isentropicDrop - x.isentropicDrop},
      {Quantity::Enthalpy, y.actualDrop - x.actualDrop},
      {Quantity::TemperatureDifference, y.end.t - x.end.t},
      {Quantity::Enthalpy, y.end.h - x.end.h},
      {Quantity::Entropy, y.end.s - x.end.s},
      {Quantity::Volume,
       calc::Out(Quantity::Volume, y.end.v, u) - calc::Out(Quantity::Volume, x.end.v, u)}};
  std::vector<std::string> f;
  for (const auto& [q, value] : d) {
    char text[48];
    const bool linear = q != Quantity::Volume && q != Quantity::TemperatureDifference;
    std::snprintf(text, sizeof text, "%f", linear ? calc::Out(q, value, u) : value);
    f.push_back(text);
  }
  return f;
}

bool ReadNumbers(const std::vector<std::string>& texts, std::vector<double>& values,
                 std::string& error) {
  for (const std::string& t : texts) {
    double v = 0;
    if (!calc::ParseNumber(t, v)) {
      error = "bad number " + Quote(t);
      return false;
    }
    values.push_back(v);
  }
  return true;
}

}  // namespace

int RunExpand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ToolOptions o;
  std::string error;
  if (!ParseToolOptions(args, {"--inlet", "--measured"}, o, error))
    return ToolUsageError(err, error);
  calc::InletKind inletKind = calc::InletKind::PressureTemperature;
  std::string measured;
  for (const auto& [name, value] : o.own) {
    if (name == "--inlet") {
      if (value != "pt" && value != "ph" && value != "sat")
        return ToolUsageError(err, "unknown inlet " + Quote(value) + " (pt, ph or sat)");
      inletKind = value == "ph"    ? calc::InletKind::PressureEnthalpy
                  : value == "sat" ? calc::InletKind::SaturatedSteam
                                   : calc::InletKind::PressureTemperature;
    } else {
      if (value != "t" && value != "x" && value != "h")
        return ToolUsageError(err, "unknown outlet " + Quote(value) + " (t, x or h)");
      measured = value;
    }
  }
  const std::size_t inletCount = inletKind == calc::InletKind::SaturatedSteam ? 1 : 2;
  const std::size_t n = o.operands.size();
  const bool pairs = n > inletCount && (n - inletCount) % 2 == 0;
  if (!pairs || (!measured.empty() && n != inletCount + 2)) {
    return ToolUsageError(
        err, measured.empty()
                 ? "expand takes the inlet (" + std::string(inletCount == 1 ? "P1" : "P1 T1|H1") +
                       ") and pairs of end pressure and efficiency"
                 : "expand --measured takes the inlet and P2 with the outlet's " + measured);
  }
  std::vector<double> v;
  if (!ReadNumbers(o.operands, v, error)) return ToolUsageError(err, error);
  const calc::Units& u = o.units;
  auto pressure = [&](double value, double& p) {
    const std::optional<double> in = calc::In(Quantity::Pressure, value, u);
    if (in) p = *in;
    return in.has_value();
  };
  calc::Inlet inlet{inletKind, NAN, NAN};
  if (!pressure(v[0], inlet.p)) return ToolUsageError(err, "pressure below absolute zero");
  if (inletCount == 2)
    inlet.value = *calc::In(
        inletKind == calc::InletKind::PressureEnthalpy ? Quantity::Enthalpy : Quantity::Temperature,
        v[1], u);
  std::vector<calc::Section> sections;
  calc::Outlet outlet;
  for (std::size_t i = inletCount; i + 1 < n; i += 2) {
    calc::Section s{NAN, v[i + 1]};
    if (!pressure(v[i], s.p)) return ToolUsageError(err, "pressure below absolute zero");
    sections.push_back(s);
  }
  if (!measured.empty()) {
    outlet.p = sections[0].p;
    outlet.kind = measured == "t"   ? calc::OutletKind::PressureTemperature
                  : measured == "x" ? calc::OutletKind::PressureDryness
                                    : calc::OutletKind::PressureEnthalpy;
    const double given = v[inletCount + 1];
    outlet.value = measured == "t"   ? calc::TemperatureIn(given, u)
                   : measured == "x" ? given
                                     : calc::EnthalpyIn(given, u);
  }
  auto run = [&](calc::Formulation f) {
    return measured.empty() ? calc::ExpandSections(f, inlet, sections, u)
                            : calc::MeasuredEfficiency(f, inlet, outlet, u);
  };

  std::string text;
  calc::Table table;
  bool failed = false;
  if (o.compare) {
    const calc::TurbineResult a = run(calc::Formulation::IFC67), b = run(calc::Formulation::IF97);
    table = calc::TurbineCompareTable(a, b, u);
    failed = !a.Ok() || !b.Ok();
    if (!o.tsv) {
      text = AlignedText(table);
    } else if (!failed) {
      for (std::size_t k = 0; k < a.sections.size(); ++k) {
        std::vector<std::string> line = TsvFields(a, k, u);
        for (const std::string& f : TsvFields(b, k, u)) line.push_back(f);
        for (const std::string& f : Deltas(a, b, k, u)) line.push_back(f);
        text += Joined(line) + "\n";
      }
    }
    if (failed && o.tsv) {
      if (!a.Ok()) err << "kelm-calc: IFC-67: " << a.reason << '\n';
      if (!b.Ok()) err << "kelm-calc: IF97: " << b.reason << '\n';
    }
  } else {
    const calc::TurbineResult r = run(o.formulation);
    if (!r.Ok()) {
      err << "kelm-calc: " << r.reason << '\n';
      return kExitFailureShown;
    }
    table = calc::TurbineTable(r, u);
    if (o.tsv) {
      for (std::size_t k = 0; k < r.sections.size(); ++k) text += Joined(TsvFields(r, k, u)) + "\n";
    } else {
      text = Readable(r, u);
    }
  }
  out << text << std::flush;
  if (!o.xlsx.empty() && !WriteToolXlsx(o.xlsx, table, "汽轮机膨胀过程", o, error)) {
    err << "kelm-calc: " << error << '\n';
    return kExitUsage;
  }
  if (!out) {
    err << "kelm-calc: cannot write the output\n";
    return kExitUsage;
  }
  return failed ? kExitFailureShown : kExitOk;
}

std::string ExpandHelp() {
  return "Turbine expansion:\n"
         "  kelm-calc expand [OPTIONS] P1 T1 P2 ETA [P3 ETA3 ...]\n"
         "  kelm-calc expand [OPTIONS] --inlet ph P1 H1 P2 ETA [...]\n"
         "  kelm-calc expand [OPTIONS] --inlet sat P1 P2 ETA [...]\n"
         "  kelm-calc expand [OPTIONS] [--inlet pt|ph|sat] --measured t|x|h P1 [T1|H1] P2 VALUE\n"
         "                  the section from the inlet (p1 with t1, p1 with h1, or saturated\n"
         "                  steam at p1) to P2 with the internal efficiency ETA (0 < ETA <= 1):\n"
         "                  the inlet, the isentropic end, the isentropic drop h1 - h2s, the\n"
         "                  actual drop ETA * (h1 - h2s) and the actual end at (P2, h1 - ETA *\n"
         "                  (h1 - h2s)). Further pairs of pressure and efficiency, up to 50 in\n"
         "                  all, make a chain of sections (extraction points), each from the end\n"
         "                  of the one before, with the whole chain's drops and efficiency.\n"
         "                  With --measured the outlet is measured: its temperature (superheated\n"
         "                  steam only), its dryness or its enthalpy at P2; prints the efficiency\n"
         "                  (h1 - h2)/(h1 - h2s), with a note when it exceeds 1.\n"
         "                  --tsv: one line per section: h1, s1, h2s, the isentropic drop, the\n"
         "                  actual drop, then the actual end's pressure, temperature, enthalpy,\n"
         "                  entropy, volume and state as the form writes them; with --measured\n"
         "                  the efficiency last. --compare: both formulations and their\n"
         "                  difference, point by point (with --tsv: IFC-67's fields, IF97's, then\n"
         "                  the differences of h1, s1, h2s, the two drops, t2, h2, s2, v2).\n"
         "                  Exit status 1 when the inputs cannot be calculated (the reason on\n"
         "                  standard error).\n";
}

}  // namespace kelmcli
