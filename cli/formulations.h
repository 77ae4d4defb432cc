// One calculation of kelm-calc in either formulation or both side by side, with the reasons of a
// failure when asked: the form reads the request, the calculation layer answers it.
#pragma once

#include <string>

#include "calc/calc.h"
#include "calc/units.h"
#include "form/formsession.h"

namespace kelmcli {

struct Options {
  calc::Formulation formulation = calc::Formulation::IFC67;
  bool compare = false;  // both formulations and their difference
  bool explain = false;  // the reason of a failure, or a warning, after the result
  // Of what lies beyond the form: the --compare table and line, the --xlsx workbook. The form's
  // own output and the inputs stay in MPa and ℃.
  calc::Units units;
};

// The request as the layer takes it: the inputs parsed as the form parses them, rounded to single
// precision for IFC-67 (the form's own values), in double precision for IF97.
calc::Request ToRequest(const FormReading& reading, calc::Formulation f);

// A calculation as printed: for a person, and as one tab-separated line (no line end).
struct Printed {
  std::string readable, tsv;
  bool failed = false;  // the result shows a failure (exit status 1)
};

// Returns an empty string and fills `printed`, or why the form cannot calculate the request
// (the form's own messages). IFC-67 without --explain prints exactly what the form shows.
std::string CalculateAndPrint(const FormRequest& request, InputMatch match, const Options& options,
                              Printed& printed);

// The --help paragraphs on --formulation, --compare, --explain and the columns they print.
std::string FormulationHelp();

}  // namespace kelmcli
