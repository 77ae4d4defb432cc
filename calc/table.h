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
// spreadsheet can compute with, shown there with the text's decimals. "—" and the state texts are
// text only.
struct Cell {
  std::string text;
  double number = NAN;
  static Cell Text(std::string t) { return {std::move(t), NAN}; }
  // The value with `decimals` decimals and a point in every locale; "—" for NaN or infinity.
  static Cell Number(double value, int decimals = 6);
};

// `value` with `decimals` decimals ("%.*f" with a point whatever the locale); "—" when it is not
// finite.
std::string FormatFixed(double value, int decimals = 6);

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

// Writes `text` to `path`, whole or not at all: a temporary file beside it, flushed to the disk,
// then renamed over it. Returns false with a message naming the file and the cause
// ("无法写入文件 /x/a.csv：文件夹不存在"); nothing is then left under either name.
bool WriteFileAtomically(const std::string& path, const std::string& text, std::string& error);

// Terminal columns of a UTF-8 text (East Asian wide characters take two), and the text padded
// with blanks to `columns`.
int DisplayWidth(const std::string& text);
std::string PadToWidth(const std::string& text, int columns);

// One sheet "结果" of the table (numbers as numbers, shown with the decimals of their text) and one
// sheet "说明" of the stamp, whole or not at all like WriteFileAtomically. A table longer than a
// sheet (1 048 575 rows under the captions) or a text longer than a cell takes is refused.
bool WriteXlsx(const std::string& path, const Table& table, const Stamp& stamp, std::string& error);

}  // namespace calc
