// libFuzzer harness of kelm-calc --batch on any bytes. Checked: one output line per calculation
// line, "error<TAB>" and a message the error stream repeats with the line's number, or 7 fields
// (12 with two solutions); status 2 exactly with an error; clean UTF-8 output and messages; the
// same on three threads (--jobs 3).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/batchjobs.h"
#include "cli/calccli.h"

namespace {

void Require(bool ok, const char* what, const std::string& line = "") {
  if (ok) return;
  std::fprintf(stderr, "batch_fuzz: %s\n  line: %s\n", what, Quote(line).c_str());
  std::abort();
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
  return parts;
}

// Well-formed UTF-8 (no overlong form, surrogate or code point past U+10FFFF) and no control
// character but tab and line end.
bool Clean(const std::string& s) {
  static constexpr unsigned kLeast[] = {0, 0, 0x80, 0x800, 0x10000};  // by sequence length
  for (std::size_t i = 0, n = 1; i < s.size(); i += n) {
    const unsigned c = static_cast<unsigned char>(s[i]);
    n = c < 0x80 ? 1 : c < 0xC2 ? 0 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : c < 0xF5 ? 4 : 0;
    if (n == 0 || i + n > s.size() || (c < 0x20 && c != '\t' && c != '\n') || c == 0x7F)
      return false;
    unsigned cp = n == 1 ? c : c & (0x7Fu >> n);
    for (std::size_t k = 1; k < n; ++k) {
      if ((s[i + k] & 0xC0) != 0x80) return false;
      cp = cp << 6 | (s[i + k] & 0x3Fu);
    }
    if (cp < kLeast[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
  }
  return true;
}

// The batch on `jobs` threads (1: RunBatch itself): status, output and messages.
struct Run {
  int status;
  std::string out, err;
  bool operator==(const Run&) const = default;
};
Run Batch(const std::string& input, int jobs, const kelmcli::Options& options = {}) {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = kelmcli::RunBatchJobs(in, out, err, jobs, options);
  return {status, out.str(), err.str()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const Run plain = Batch(input, 1);
  const int status = plain.status;

  // The numbers of the calculation lines: a mark opening the first line and a CR ending any
  // are dropped; blank lines and comments (of any length) are skipped.
  const std::vector<std::string> lines = Split(input, '\n');
  std::vector<std::size_t> numbers;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string line = lines[i].substr(i == 0 && lines[i].starts_with("\xEF\xBB\xBF") ? 3 : 0);
    if (line.ends_with('\r')) line.pop_back();
    const bool blank = line.find_first_not_of(" \t\r\v\f") == std::string::npos;
    if (!line.starts_with('#') && !(blank && line.size() <= 65536)) numbers.push_back(i + 1);
  }

  const std::string &output = plain.out, &messages = plain.err;
  Require(output.empty() || output.ends_with('\n'), "output not ended by a line end");
  Require(Clean(output) && Clean(messages), "output or messages not clean UTF-8");
  const std::vector<std::string> results = Split(output, '\n'), errors = Split(messages, '\n');
  Require(results.size() == numbers.size(), "not one output line per calculation line");
  std::size_t e = 0;
  for (std::size_t k = 0; k < results.size(); ++k) {
    const std::string& line = results[k];
    if (line.starts_with("error\t")) {
      Require(e < errors.size() && errors[e++] == "kelm-calc: line " + std::to_string(numbers[k]) +
                                                      ": " + line.substr(6),
              "error line and message disagree", line);
      continue;
    }
    const std::vector<std::string> fields = Split(line, '\t');
    Require((fields.size() == 7 && (fields[6] == "0" || fields[6] == "1")) ||
                (fields.size() == 12 && fields[6] == "2"),
            "result fields and solution count disagree", line);
  }
  Require(e == errors.size(), "messages without error lines");
  Require(status == (e > 0 ? kelmcli::kExitUsage : kelmcli::kExitOk), "exit status");

  Require(Batch(input, 3) == plain, "--jobs 3: output, messages or status");

  // The same lines through both formulations side by side, with the reasons: the same lines read,
  // the same errors, one line each, clean text; on two threads the same bytes.
  for (const kelmcli::Options options :
       {kelmcli::Options{calc::Formulation::IF97, false, true, {}},
        kelmcli::Options{calc::Formulation::IFC67, true, true, {}}}) {
    const Run with = Batch(input, 1, options);
    Require(with.status == status, "exit status with options");
    Require(with.err == messages && Clean(with.out), "messages or text with options");
    const std::vector<std::string> lines2 = Split(with.out, '\n');
    Require(lines2.size() == results.size(), "not one line per calculation line with options");
    for (std::size_t k = 0; k < lines2.size(); ++k)
      Require(lines2[k].starts_with("error\t") == results[k].starts_with("error\t"),
              "error lines differ with options", lines2[k]);
    Require(Batch(input, 2, options) == with, "--jobs 2 with options: output, messages or status");
  }
  return 0;
}
