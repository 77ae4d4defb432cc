// A table of results as the engineer hands it on: captions with their units, then rows of cells,
// copied as TSV, or written as CSV or XLSX. Files are written whole or not at all: into a
// temporary file beside the target, renamed over it only when complete.
#pragma once

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace calc {

// A cell shows `text`; a number also keeps its value, so that a workbook holds a number that a
// spreadsheet can compute with. "—" and the state texts are text only.
struct Cell {
  std::string text;
  double number = NAN;
  static Cell Text(std::string t) { return {std::move(t), NAN}; }
  static Cell Number(double value, int decimals = 6);
};

struct Table {
  std::vector<std::string> captions;
  std::vector<std::vector<Cell>> rows;
};

// What the second sheet of a workbook states: program and version, formulation with its
// constants, the units, the date. Each a caption and a text.
using Stamp = std::vector<std::pair<std::string, std::string>>;

// Tab-separated, the captions first, '\n' after each line; tabs and line ends inside a cell become
// blanks. Ready to paste into a spreadsheet.
std::string ToTsv(const Table& table);

// CSV in UTF-8 with a byte-order mark (so that a spreadsheet reads the Chinese), CRLF line ends,
// cells quoted where they hold a comma, a quote or a line end.
std::string ToCsv(const Table& table);

// Writes `text` to `path`, whole or not at all. Returns false with a message naming the file and
// the cause.
bool WriteFileAtomically(const std::string& path, const std::string& text, std::string& error);

// Terminal columns of a UTF-8 text (East Asian wide characters take two), and the text padded
// with blanks to `columns`.
int DisplayWidth(const std::string& text);
std::string PadToWidth(const std::string& text, int columns);

// One sheet "结果" of the table (numbers as numbers) and one sheet "说明" of the stamp.
bool WriteXlsx(const std::string& path, const Table& table, const Stamp& stamp, std::string& error);

}  // namespace calc
