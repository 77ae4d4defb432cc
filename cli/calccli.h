// kelm-calc: the calculation form driven from the command line, one calculation or a batch.
// Every result comes from CCalcDlg itself on a window without a screen; nothing here calculates.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kelmcli {

inline constexpr const char* kVersion = KELM_RELEASE;  // set in the top CMakeLists.txt

// Exit statuses.
enum : int { kExitOk = 0, kExitFailureShown = 1, kExitUsage = 2 };

// One calculation as a user enters it: item and mode by index or by list text, and the input
// texts in order (as typed, never parsed here).
struct CalcRequest {
  std::string item;
  std::string mode;
  std::vector<std::string> inputs;
};

// The texts the form shows after Calculate, and after clicking "2" when there are two solutions.
struct FormResult {
  std::string pressure, temperature, enthalpy, entropy, volume, state;
  int solutions = 1;  // m_nSolutions
  std::string pressure2, enthalpy2, entropy2, volume2, state2;
};

// How the given inputs are matched with the inputs the item uses. Exact: the command line must
// give every used input and no more. UsedOnly: a batch line may give more (the form ignores its
// disabled inputs) or fewer (a missing input is an empty one).
enum class InputMatch { Exact, UsedOnly };

// Runs the request on a fresh form, as a user would: pick the item, pick the mode, type the
// inputs, press Calculate, and press "2" when there are two solutions. Returns an empty string
// and fills `result`, or returns why the form could not calculate (unknown item or mode, missing
// or extra input, an input the item uses left empty).
std::string CalculateOnForm(const CalcRequest& request, InputMatch match, FormResult& result);

// True when a shown state text is one of the form's failure texts.
bool ShowsFailure(const FormResult& result);

// The result as one tab-separated line (no line end): the six texts, the solution count and,
// when the count is 2, the five texts of solution 2.
std::string FormatTsv(const FormResult& result);

// The result for a person: caption and text, one per line, each line ending in '\n'.
std::string FormatReadable(const FormResult& result);

// Splits a batch line at tabs into ITEM, MODE and up to three inputs. Returns false with a
// message when the line has more than five fields.
bool ParseBatchLine(const std::string& line, CalcRequest& request, std::string& error);

// Reads calculation lines from `in` and writes one tab-separated line per calculation line to
// `out`, flushing after each. Returns 0, or 2 when a line could not be read or the output could
// not be written.
int RunBatch(std::istream& in, std::ostream& out, std::ostream& err);

// The whole command line (arguments without the program name). Returns the exit status.
int RunCommandLine(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                   std::ostream& err);

// The --help text; its table of items, modes and inputs is read from the form.
std::string HelpText();

// A user-supplied text made safe to quote in a message: printable UTF-8 kept, control
// characters and bytes that are not UTF-8 written as \xHH, cut after 60 bytes.
std::string Quote(const std::string& text);

}  // namespace kelmcli
