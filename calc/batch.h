// Many calculations from a block of lines, as kelm-calc --batch reads them, for the batch window:
// ITEM, MODE, INPUT1 … INPUT3 separated by tabs (a block pasted from a spreadsheet) or by commas
// (a CSV file, fields optionally in double quotes); the item and mode by their list text or index.
// Unlike the form, which reads "1,5" as 1, an input here must be a whole number text, and it is
// read in the chosen units.
#pragma once

#include <string>
#include <vector>

#include "calc/calc.h"
#include "calc/units.h"

namespace calc {

struct BatchLine {
  int number = 0;  // the line's number in the text, counting from 1
  Request request;
  std::string error;  // why the line cannot be calculated; empty when it can
};

// The calculation lines of `text`: blank lines and lines starting with '#' are skipped, a
// byte-order mark and CRLF line ends are accepted. Inputs the mode does not use are ignored.
// A gauge pressure below the absolute zero is an error of its line, never a negative absolute
// pressure.
std::vector<BatchLine> ReadBatch(const std::string& text, const Units& units,
                                 Formulation formulation);

// The fields of one line: split at tabs when it has any, else as CSV.
std::vector<std::string> SplitBatchFields(const std::string& line);

}  // namespace calc
