#include "cli/formulations.h"

#include "calc/compare.h"
#include "calc/table.h"
#include "cli/calccli.h"
#include "form/format.h"
#include "form/parse.h"

namespace kelmcli {
namespace {

const char* const kOrdinal[] = {"", "第二解", "第三解", "第四解"};

std::string Joined(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& t : texts) joined += (joined.empty() ? "" : "；") + t;
  return joined;
}

// An answer's reasons or warnings, as --explain prints them.
std::string Explanation(const calc::Answer& a) {
  return Joined(a.reasons.empty() ? a.warnings : a.reasons);
}

// What the form would show for an answer of the layer: solution 1 with its six fields, or, with no
// solution, the given values in their fields, the others empty, and the state.
FormOutcome Shown(const calc::Answer& a, std::vector<ResultTexts>& more) {
  FormOutcome o;
  auto texts = [](const calc::Solution& s) {
    const calc::Texts t = calc::FormTexts(s);
    return ResultTexts{t.pressure, t.temperature, t.enthalpy, t.entropy, t.volume, t.state};
  };
  if (a.solutions.empty()) {
    // The given values of a state point stay where the form shows them.
    const calc::Request& r = a.request;
    const ModeRow* row = FindMode(r.item, r.mode);
    o.shown.state = a.failed ? kCalcFailedText : "未知";
    for (int i = 0; row && i < row->inputs && r.item != Item::Isentropic; ++i) {
      calc::Solution s;
      s.p = s.t = s.h = s.s = r.in[i];
      const ResultTexts given = texts(s);
      const std::string unit = row->input[i].unit;
      if (unit == "MPa") o.shown.pressure = given.pressure;
      if (unit == "℃") o.shown.temperature = given.temperature;
      if (unit == "kJ/kg") o.shown.enthalpy = given.enthalpy;
      if (unit == "kJ/(kg*K)") o.shown.entropy = given.entropy;
    }
    o.solutions = 0;
    return o;
  }
  o.shown = texts(a.solutions[0]);
  o.solutions = int(a.solutions.size());
  for (std::size_t i = 1; i < a.solutions.size(); ++i) more.push_back(texts(a.solutions[i]));
  if (!more.empty()) o.second = more[0];
  return o;
}

void PrintAnswer(const calc::Answer& a, bool explain, Printed& printed) {
  std::vector<ResultTexts> more;
  const FormOutcome o = Shown(a, more);
  printed.readable = FormatReadable({o.shown, 1, {}});
  printed.tsv = FormatTsv({o.shown, 1, {}});
  // FormatTsv wrote a count of 1: the real count, then each further solution's five fields.
  printed.tsv = printed.tsv.substr(0, printed.tsv.rfind('\t')) + '\t' + std::to_string(o.solutions);
  for (std::size_t i = 0; i < more.size(); ++i) {
    const ResultTexts& r = more[i];
    printed.readable += std::string(kOrdinal[i + 1 < 4 ? i + 1 : 3]) + "\n";
    for (const auto& [caption, text] : {std::pair{"压力", r.pressure},
                                        {"焓值", r.enthalpy},
                                        {"熵", r.entropy},
                                        {"比容", r.volume},
                                        {"状态", r.state}}) {
      printed.readable += calc::PadToWidth(caption, 4) + "  " + text + "\n";
    }
    printed.tsv +=
        '\t' + r.pressure + '\t' + r.enthalpy + '\t' + r.entropy + '\t' + r.volume + '\t' + r.state;
  }
  printed.failed = a.failed;
  if (explain) {
    const std::string why = Explanation(a);
    if (!why.empty()) printed.readable += "说明  " + why + "\n";
    printed.tsv += '\t' + why;
  }
}

}  // namespace

calc::Request ToRequest(const FormReading& reading, calc::Formulation f) {
  calc::Request r{f, reading.item, reading.mode, {0, 0, 0}};
  for (int i = 0; i < reading.inputs; ++i) {
    r.in[i] = f == calc::Formulation::IFC67 ? double(ParseInput(reading.input[i]))
                                            : ParseDecimalPrefix(reading.input[i]);
  }
  return r;
}

std::string CalculateAndPrint(const FormRequest& request, InputMatch match, const Options& options,
                              Printed& printed) {
  printed = {};
  const bool formOnly = options.formulation == calc::Formulation::IFC67 && !options.compare;
  if (formOnly) {
    FormOutcome outcome;
    if (std::string error = CalculateOnForm(request, match, outcome); !error.empty()) return error;
    printed.readable = FormatReadable(outcome);
    printed.tsv = FormatTsv(outcome);
    printed.failed = ShowsFailure(outcome);
    if (options.explain) {
      // The layer runs the form's own computation on the same parsed inputs: the same answer.
      FormReading reading;
      ReadOnForm(request, match, reading);
      const std::string why = Explanation(calc::Calculate(ToRequest(reading, options.formulation)));
      if (!why.empty()) printed.readable += "说明  " + why + "\n";
      printed.tsv += '\t' + why;
    }
    return {};
  }
  FormReading reading;
  if (std::string error = ReadOnForm(request, match, reading); !error.empty()) return error;
  if (!options.compare) {
    PrintAnswer(calc::Calculate(ToRequest(reading, options.formulation)), options.explain, printed);
    return {};
  }
  // IFC-67 rounds the inputs to single precision itself, as the form's parse does.
  const calc::Comparison c =
      calc::Compare(ToRequest(reading, calc::Formulation::IF97), options.units);
  printed.readable = calc::ComparisonText(c);
  printed.tsv = calc::ComparisonTsv(c);
  if (options.explain) printed.tsv += '\t' + Explanation(c.ifc67) + '\t' + Explanation(c.if97);
  printed.failed = c.ifc67.failed || c.if97.failed;
  return {};
}

std::string FormulationHelp() {
  return "  --formulation ifc67|if97\n"
         "                  the formulation: ifc67 (the default, the form itself) or if97\n"
         "                  (IAPWS-IF97, in its own range: 0 to 800 ℃ up to 100 MPa, to 2000 ℃\n"
         "                  up to 50 MPa). The output keeps its layout; IF97 values are its\n"
         "                  double-precision results with six decimals. A (t, h) or (t, s) with\n"
         "                  more than two IF97 solutions adds \"第三解\", \"第四解\" blocks (and\n"
         "                  five more --tsv fields each).\n"
         "  --compare       both formulations side by side for each solution: IFC-67, IF97,\n"
         "                  Δ = IF97 − IFC-67 and Δ in % of IFC-67, for p, t, h, s, v, the\n"
         "                  dryness and the extra quantities: saturation temperature at p,\n"
         "                  saturation pressure at t, superheat or subcooling (t − ts), density,\n"
         "                  internal energy, and for IF97 cp, cv, speed of sound and isentropic\n"
         "                  exponent (\"—\" where a quantity does not exist); then the notes: a\n"
         "                  phase that differs, the reason of a failure, warnings.\n"
         "                  With --tsv or --batch one line of fixed columns:\n"
         "                  ifc67_ and if97_ each: p t h s v x state solutions ts ps t_minus_ts "
         "rho u\n"
         "                  cp cv w kappa; then d_p d_t d_h d_s d_v d_rho d_u (solution 1).\n"
         "  --explain       after the result a line \"说明  …\": why it failed (the input, its\n"
         "                  value, the limit crossed and the valid range), or a warning (within\n"
         "                  0.01 ℃ of the saturation line, within 1 ℃ and 0.1 MPa of the critical\n"
         "                  point, two or more solutions). With --tsv or --batch: one more last\n"
         "                  field (with --compare two: IFC-67's, then IF97's).\n"
         "  --units UNITS   the units of the --compare table and line and of the --xlsx\n"
         "                  workbook: comma-separated KEY=VALUE, missing keys keep MPa, ℃,\n"
         "                  kJ/kg, kJ/(kg·K), m³/kg: p=MPa|kPa|bar|kgf (kgf/cm²), each with g\n"
         "                  for gauge (MPag, barg, …); atm=MPa, the local atmosphere of gauge\n"
         "                  pressures (0.101325); t=C|K; h=kJ|kcal (International Table\n"
         "                  calorie, 4.1868 kJ; also the entropy); v=v|rho (specific volume or\n"
         "                  density). Example: --units p=barg,atm=0.0953,t=K. The inputs and the\n"
         "                  form's own output stay in MPa and ℃ whatever --units says.\n"
         "  --xlsx FILE     also write the calculations as a workbook: a sheet \"结果\" in the\n"
         "                  columns of the desktop program's record (time, source, formulation,\n"
         "                  item, mode, inputs, p, t, h, s, v, dryness, state, solution count,\n"
         "                  solution 2, reason or warning; with --compare a row for each\n"
         "                  formulation) and a sheet \"说明\" with the program, the formulation\n"
         "                  and its constants, the units and the date. Written after the run,\n"
         "                  whole or not at all; standard output stays as it is.\n"
         "  --selfcheck     recompute every published check value of both formulations held in\n"
         "                  the program and report \"n/n 通过\" (exit status 1 if one differs).\n";
}

}  // namespace kelmcli
