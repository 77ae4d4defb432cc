// libFuzzer harness of the command line's batch path: the bytes are the batch input (any bytes,
// NULs, non-UTF-8, CR, byte-order marks, comment and blank lines). Asserted:
//   - the run returns 0, or 2 when some line could not be calculated;
//   - exactly one output line per calculation line, in order, each either "error", a tab and a
//     message, or the form's six texts and solution count (and the five texts of solution 2);
//   - one message on the error stream per error line, naming its line number;
//   - every output byte is UTF-8 with no control characters but tab and line end;
//   - every number text is "%f" with its field's unit, never "nan"; every state text is one of
//     the form's texts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "cli/calccli.h"
#include "fuzz/form_texts.h"

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& line) {
  std::fprintf(stderr, "batch_fuzz: %s\n  line: %s\n", what.c_str(),
               Quote(line).c_str());
  std::abort();
}

void Require(bool ok, const std::string& what, const std::string& line = "") {
  if (!ok) Fail(what, line);
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

// Well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF) without control
// characters other than those allowed.
bool CleanUtf8(const std::string& text, const char* allowedControls) {
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      if ((c < 0x20 || c == 0x7F) && std::strchr(allowedControls, c) == nullptr) return false;
      ++i;
      continue;
    }
    int length = 0;
    unsigned code = 0;
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
      code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      code = c & 0x07;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (int k = 1; k < length; ++k) {
      const unsigned char d = static_cast<unsigned char>(text[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      code = (code << 6) | (d & 0x3F);
    }
    if ((length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
        (length == 4 && (code < 0x10000 || code > 0x10FFFF)))
      return false;
    i += length;
  }
  return true;
}

bool IsNumberField(const std::string& text, const char* unit) {
  if (text.find("nan") != std::string::npos) return false;
  double value = 0;
  // An echoed input that overflows single precision shows as "inf" or "-inf".
  return fuzz::WellFormed(text, unit, value) || text == std::string("inf") + unit ||
         text == std::string("-inf") + unit;
}

void CheckResultLine(const std::string& line) {
  const std::vector<std::string> fields = Split(line, '\t');
  Require(fields.size() == 7 || fields.size() == 12, "result line field count", line);
  const int count = fields[6] == "0" ? 0 : fields[6] == "1" ? 1 : fields[6] == "2" ? 2 : -1;
  Require(count >= 0, "solution count", line);
  Require((count == 2) == (fields.size() == 12), "second solution without a count of 2", line);
  static const char* const kUnits[5] = {" MPa", " ℃", " kJ/kg", " kJ/(kg*K)", " m**3/kg"};
  for (int i = 0; i < 5; ++i) {
    // Without a solution pressure, entropy and volume are empty.
    if (count == 0 && (i == 0 || i == 3 || i == 4) && fields[i].empty()) continue;
    Require(IsNumberField(fields[i], kUnits[i]), "malformed number text", line);
  }
  double x = 0;
  Require(fuzz::IsStateText(fields[5], x), "unknown state text", line);
  if (count == 2) {
    static const char* const kUnits2[4] = {" MPa", " kJ/kg", " kJ/(kg*K)", " m**3/kg"};
    for (int i = 0; i < 4; ++i)
      Require(IsNumberField(fields[7 + i], kUnits2[i]), "malformed solution-2 text", line);
    Require(fuzz::IsStateText(fields[11], x), "unknown solution-2 state text", line);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = kelmcli::RunBatch(in, out, err);
  Require(status == kelmcli::kExitOk || status == kelmcli::kExitUsage, "batch exit status");

  // The calculation lines of the input: every '\n'-ended line and a last unended one; a
  // byte-order mark opening the first and a CR ending any is dropped; blank and '#' lines skip.
  std::vector<std::string> lines = Split(input, '\n');
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  std::vector<std::size_t> calculationLines;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string line = lines[i];
    if (i == 0 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const bool blank = line.find_first_not_of(" \t\r\v\f") == std::string::npos;
    if (line.size() <= 65536 && (blank || line.front() == '#')) continue;
    calculationLines.push_back(i + 1);
  }

  const std::string output = out.str();
  Require(output.empty() || output.back() == '\n', "output not ended by a line end");
  Require(CleanUtf8(output, "\t\n"), "output not clean UTF-8", output);
  Require(CleanUtf8(err.str(), "\n"), "error stream not clean UTF-8", err.str());
  std::vector<std::string> outLines = Split(output, '\n');
  outLines.pop_back();  // after the last line end
  Require(outLines.size() == calculationLines.size(), "one output line per calculation line");

  std::vector<std::string> errLines = Split(err.str(), '\n');
  errLines.pop_back();
  std::size_t errors = 0;
  for (std::size_t k = 0; k < outLines.size(); ++k) {
    const std::string& line = outLines[k];
    if (line.rfind("error\t", 0) == 0) {
      Require(errors < errLines.size(), "error line without a message", line);
      const std::string prefix =
          "kelm-calc: line " + std::to_string(calculationLines[k]) + ": " + line.substr(6);
      Require(errLines[errors] == prefix, "error message does not match its line", line);
      ++errors;
    } else {
      CheckResultLine(line);
    }
  }
  Require(errors == errLines.size(), "messages without error lines");
  Require((status == kelmcli::kExitUsage) == (errors > 0), "exit status does not follow errors");
  return 0;
}
