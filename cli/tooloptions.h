// What the tool commands (expand, table) share: their options, numbers read strictly, texts in
// the chosen units, a table aligned for a terminal, and the workbook they write.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "calc/calc.h"
#include "calc/quantity.h"
#include "calc/table.h"

namespace kelmcli {

struct ToolOptions {
  calc::Formulation formulation = calc::Formulation::IFC67;
  bool compare = false, tsv = false;
  calc::Units units;
  std::string xlsx;  // the workbook to write, or empty
  // A command's own options and their values, in the order given.
  std::vector<std::pair<std::string, std::string>> own;
  std::vector<std::string> operands;
};

// Reads --formulation, --compare, --units, --tsv, --xlsx and the command's own options (each
// taking a value, "--name VALUE" or "--name=VALUE"); "--" ends the options. False with the message.
bool ParseToolOptions(const std::vector<std::string>& args, const std::vector<std::string>& own,
                      ToolOptions& out, std::string& error);

// A value as the form writes its results ("%f" and the unit): the form's own unit texts for its
// own units ("kJ/(kg*K)", "m**3/kg"), the units' names for the others; the dryness without one.
std::string FormText(calc::Quantity q, double value, const calc::Units& u);

// The table with its captions, each column as wide as its widest cell, numbers to the right.
std::string AlignedText(const calc::Table& table);

// Writes the workbook with its stamp; false with the message.
bool WriteToolXlsx(const std::string& path, const calc::Table& table, const std::string& title,
                   const ToolOptions& options, std::string& error);

// "kelm-calc: MESSAGE" and the hint to --help; returns the usage exit status.
int ToolUsageError(std::ostream& err, const std::string& message);

}  // namespace kelmcli
