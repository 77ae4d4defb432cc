// One calculation of kelm-calc in either formulation or both side by side, with the reasons of a
// failure when asked: the form reads the request, the calculation layer answers it.
#pragma once

#include <string>

#include "calc/calc.h"
#include "form/formsession.h"

namespace kelmcli {

struct Options {
  calc::Formulation formulation = calc::Formulation::IFC67;
  bool compare = false;  // both formulations and their difference
  bool explain = false;  // the reason of a failure, or a warning, after the result
};

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
