// kelm-calc: the calculation form driven from the command line, one calculation or a batch.
// Every result comes from the form itself, worked by CFormSession; nothing here calculates.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/formulations.h"
#include "form/formsession.h"

namespace kelmcli {

class CalcWorkbook;

inline constexpr const char* kVersion = KELM_RELEASE;  // set in the top CMakeLists.txt

// Exit statuses.
enum : int { kExitOk = 0, kExitFailureShown = 1, kExitUsage = 2 };

// True when a shown state text is one of the form's failure texts.
bool ShowsFailure(const FormOutcome& outcome);

// The result as one tab-separated line (no line end): the six texts, the solution count and,
// when the count is 2, the five texts of solution 2.
std::string FormatTsv(const FormOutcome& outcome);

// The result for a person: caption and text, one per line, each line ending in '\n'.
std::string FormatReadable(const FormOutcome& outcome);

// Splits a batch line at tabs into ITEM, MODE and up to three inputs. Returns false with a
// message when the line has more than five fields.
bool ParseBatchLine(const std::string& line, FormRequest& request, std::string& error);

// The calculation lines of a batch input: a leading byte-order mark, CRLF line ends, comment
// lines (#…, however long) and blank lines skipped; of each line at most kMaxLineBytes bytes kept.
class BatchReader {
 public:
  static constexpr std::size_t kMaxLineBytes = 65536;
  explicit BatchReader(std::istream& in);
  // The next calculation line with its number in the input; false at the end. `tooLong`: the
  // line was cut, and cannot be calculated.
  bool Next(long long& number, std::string& line, bool& tooLong);

 private:
  std::streambuf* m_source;
  long long m_number = 0;
};

// A batch line calculated: empty and `printed` filled, or why the line cannot be calculated.
std::string CalculateBatchLine(const std::string& line, bool tooLong, const Options& options,
                               FormRequest& request, Printed& printed);

// Reads calculation lines from `in` and writes one tab-separated line per calculation line to
// `out`, flushing after each. Returns 0, or 2 when a line could not be read or the output could
// not be written. Each calculated line also goes to `workbook` when there is one.
int RunBatch(std::istream& in, std::ostream& out, std::ostream& err, const Options& options = {},
             CalcWorkbook* workbook = nullptr);

// The whole command line (arguments without the program name). Returns the exit status.
int RunCommandLine(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                   std::ostream& err);

// The --help text; its table of items, modes and inputs is the form's own table.
std::string HelpText();

}  // namespace kelmcli
