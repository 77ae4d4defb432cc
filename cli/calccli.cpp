#include "cli/calccli.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>
#include <streambuf>
#include <system_error>

#include "calc/selfcheck.h"
#include "calc/table.h"
#include "cli/batchjobs.h"
#include "cli/expand.h"
#include "cli/steamtable.h"
#include "cli/workbook.h"
#include "form/calculation.h"
#include "form/format.h"

namespace kelmcli {
namespace {

// A batch line holds five short fields; anything longer is kept only up to this many bytes, so
// that memory stays bounded even for a file without line ends.
void AppendReadable(std::string& out, const char* caption, const std::string& text) {
  // Captions padded to four columns so that the texts line up; an empty field gives the caption
  // alone, without trailing blanks.
  out += text.empty() ? std::string(caption) : calc::PadToWidth(caption, 4) + "  " + text;
  out += '\n';
}

int UsageError(std::ostream& err, const std::string& message) {
  err << "kelm-calc: " << message << "\nTry 'kelm-calc --help' for more information.\n";
  return kExitUsage;
}

}  // namespace

bool ShowsFailure(const FormOutcome& outcome) {
  const auto failed = [](const std::string& state) {
    return state == kCalcFailedText || state == kSolutionFailedText;
  };
  return failed(outcome.shown.state) || (outcome.solutions == 2 && failed(outcome.second.state));
}

std::string FormatTsv(const FormOutcome& outcome) {
  std::string line = Joined(outcome.shown, '\t') + '\t' + std::to_string(outcome.solutions);
  if (outcome.solutions == 2) {
    // The temperature is shared by both solutions.
    const ResultTexts& r2 = outcome.second;
    line += '\t' + r2.pressure + '\t' + r2.enthalpy + '\t' + r2.entropy + '\t' + r2.volume + '\t' +
            r2.state;
  }
  return line;
}

std::string FormatReadable(const FormOutcome& outcome) {
  const ResultTexts& r = outcome.shown;
  std::string out;
  AppendReadable(out, "压力", r.pressure);
  AppendReadable(out, "温度", r.temperature);
  AppendReadable(out, "焓值", r.enthalpy);
  AppendReadable(out, "熵", r.entropy);
  AppendReadable(out, "比容", r.volume);
  AppendReadable(out, "状态", r.state);
  if (outcome.solutions == 2) {
    // The temperature is shared by both solutions; the form shows it unchanged after "2".
    const ResultTexts& r2 = outcome.second;
    out += "第二解\n";
    AppendReadable(out, "压力", r2.pressure);
    AppendReadable(out, "焓值", r2.enthalpy);
    AppendReadable(out, "熵", r2.entropy);
    AppendReadable(out, "比容", r2.volume);
    AppendReadable(out, "状态", r2.state);
  }
  return out;
}

bool ParseBatchLine(const std::string& line, FormRequest& request, std::string& error) {
  std::string fields[5];
  int count = 0;
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find('\t', start);
    if (count == 5) {
      error = "more than five tab-separated fields (ITEM, MODE, INPUT1, INPUT2, INPUT3)";
      return false;
    }
    fields[count++] =
        line.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  request.item = fields[0];
  request.mode = count > 1 ? fields[1] : std::string();
  request.inputs.assign(fields + std::min(count, 2), fields + std::max(count, 2));
  return true;
}

BatchReader::BatchReader(std::istream& in) : m_source(in.rdbuf()) {}

bool BatchReader::Next(long long& number, std::string& line, bool& tooLong) {
  using Traits = std::streambuf::traits_type;
  while (m_source != nullptr) {
    line.clear();
    tooLong = false;
    Traits::int_type c = m_source->sbumpc();
    if (Traits::eq_int_type(c, Traits::eof())) return false;
    for (; !Traits::eq_int_type(c, Traits::eof()) && Traits::to_char_type(c) != '\n';
         c = m_source->sbumpc()) {
      if (line.size() < kMaxLineBytes) {
        line.push_back(Traits::to_char_type(c));
      } else {
        tooLong = true;
      }
    }
    number = ++m_number;
    if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);  // byte-order mark
    if (!line.empty() && line.back() == '\r') line.pop_back();                // CRLF line end
    if (!line.empty() && line.front() == '#') continue;  // a comment, however long
    if (tooLong || line.find_first_not_of(" \t\r\v\f") != std::string::npos) return true;
  }
  return false;
}

std::string CalculateBatchLine(const std::string& line, bool tooLong, const Options& options,
                               FormRequest& request, Printed& printed) {
  if (tooLong) return "line longer than " + std::to_string(BatchReader::kMaxLineBytes) + " bytes";
  std::string error;
  if (!ParseBatchLine(line, request, error)) return error;
  return CalculateAndPrint(request, InputMatch::UsedOnly, options, printed);
}

int RunBatch(std::istream& in, std::ostream& out, std::ostream& err, const Options& options,
             CalcWorkbook* workbook) {
  int status = kExitOk;
  BatchReader reader(in);
  long long number = 0;
  std::string line;
  bool tooLong = false;
  FormRequest request;
  Printed printed;
  while (reader.Next(number, line, tooLong)) {
    const std::string error = CalculateBatchLine(line, tooLong, options, request, printed);
    if (workbook != nullptr && error.empty()) workbook->Add(request, InputMatch::UsedOnly);
    out << (error.empty() ? printed.tsv : "error\t" + error) << '\n' << std::flush;
    if (!out) {
      err << "kelm-calc: cannot write the output\n";
      return kExitUsage;
    }
    if (!error.empty()) {
      err << "kelm-calc: line " << number << ": " << error << '\n';
      status = kExitUsage;
    }
  }
  return status;
}

std::string HelpText() {
  std::string table;
  for (const ItemRow& item : ItemRows()) {
    table += "  " + std::to_string(int(item.item)) + " " + item.text + "\n";
    int index = 0;
    for (const ModeRow& mode : ModeRows(item.item)) {
      std::string inputs;
      for (int i = 0; i < mode.inputs; ++i) {
        inputs +=
            std::string(i > 0 ? ", " : "") + mode.input[i].label + " [" + mode.input[i].unit + "]";
      }
      table += "      " + std::to_string(index++) + " " + calc::PadToWidth(mode.text, 12) + "  " +
               inputs + "\n";
    }
  }
  return "Usage: kelm-calc [--tsv] ITEM MODE INPUT1 [INPUT2 [INPUT3]]\n"
         "       kelm-calc --batch [FILE]\n"
         "       kelm-calc [--formulation ifc67|if97] [--compare] [--explain] [--tsv]\n"
         "                 ITEM MODE INPUT1 [INPUT2 [INPUT3]]\n"
         "       kelm-calc --batch [--jobs N] [--formulation ifc67|if97] [--compare] [--explain]\n"
         "                 [FILE]\n"
         "       kelm-calc [--batch] [--units UNITS] [--xlsx FILE] … (with the options above)\n"
         "       kelm-calc --selfcheck | --help | --version\n"
         "\n"
         "Water and steam properties (IFC-67) calculated by the same form as the desktop\n"
         "calculator, with the same result texts; and after IAPWS-IF97 beside it.\n"
         "\n"
         "ITEM is an item's index or its text, MODE a mode's index in that item's list or its\n"
         "text. The inputs are the texts typed into the form's inputs, in order; an item takes\n"
         "exactly the inputs it uses, none of them empty. Items, modes and their inputs:\n" +
         table +
         "\n"
         "Inputs are read as the form reads them: leading blanks skipped, then the longest\n"
         "decimal number at the start (sign, digits, point, exponent), else 0; so \"1,5\" is 1.\n"
         "Put \"--\" before an input that starts with \"--\".\n"
         "\n"
         "Output: the form's six result fields, one per line (压力, 温度, 焓值, 熵, 比容,\n"
         "状态); when there are two solutions, a line \"第二解\" and the pressure, enthalpy,\n"
         "entropy, volume and state that the form shows after clicking \"2\".\n"
         "\n"
         "Options:\n"
         "  --tsv           one line of tab-separated fields: pressure, temperature, enthalpy,\n"
         "                  entropy, volume, state, the solution count; when the count is 2,\n"
         "                  then the pressure, enthalpy, entropy, volume and state of solution 2.\n"
         "  --batch [FILE]  calculate every line of FILE (or of standard input when FILE is\n"
         "                  missing or \"-\"): ITEM<TAB>MODE<TAB>INPUT1<TAB>INPUT2<TAB>INPUT3,\n"
         "                  trailing fields may be missing, an empty field is an empty input.\n"
         "                  Blank lines and lines starting with # are skipped; inputs the item\n"
         "                  does not use are ignored. Writes one --tsv line per calculation\n"
         "                  line, in order, as the lines are read. A line that cannot be read\n"
         "                  gives the line \"error<TAB>message\", and the message with the line\n"
         "                  number on standard error; the run goes on.\n"
         "  --jobs N        with --batch: calculate on N threads (default: one per core),\n"
         "                  the output the same as with one.\n" +
         FormulationHelp() +
         "  --help          show this text.\n"
         "  --version       show the version.\n"
         "\n"
         "Exit status: 0 success; 1 the result shows a failure (\"计算或参数有误\" or\n"
         "\"计算有误\"); 2 a usage error. With --batch: 0, or 2 when any line could not be\n"
         "read (calculation failures are results there) or the output could not be written.\n"
         "\n"
         "Output is UTF-8, and numbers are read and written with a decimal point, in every\n"
         "locale.\n"
         "\n" +
         ExpandHelp() + SteamTableHelp();
}

int RunCommandLine(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                   std::ostream& err) {
  // "expand" and "table" as the first operand (never an item's name) start the tool commands,
  // which read their own options; --help anywhere shows the whole help.
  const bool helpAsked = std::find(args.begin(), args.end(), "--help") != args.end();
  for (std::size_t i = 0; i < args.size() && !helpAsked; ++i) {
    const std::string& arg = args[i];
    if (arg == "--" || arg == "--version") break;
    if (arg.rfind("--", 0) == 0) {
      const bool valued =
          arg == "--formulation" || arg == "--units" || arg == "--xlsx" || arg == "--jobs";
      i += valued ? 1 : 0;
      continue;
    }
    if (arg != "expand" && arg != "table") break;
    std::vector<std::string> rest(args.begin(), args.begin() + i);
    rest.insert(rest.end(), args.begin() + i + 1, args.end());
    return arg == "expand" ? RunExpand(rest, out, err) : RunSteamTable(rest, out, err);
  }
  bool help = false, version = false, batch = false, tsv = false, selfcheck = false;
  Options options;
  std::string xlsx;
  int jobs = 0;  // 0: not given
  std::vector<std::string> operands;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // Only "--" options exist, so a negative number such as -5 is always an input.
    if (optionsEnded || arg.rfind("--", 0) != 0) {
      operands.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help") {
      help = true;
    } else if (arg == "--version") {
      version = true;
    } else if (arg == "--batch") {
      batch = true;
    } else if (arg == "--tsv") {
      tsv = true;
    } else if (arg == "--compare") {
      options.compare = true;
    } else if (arg == "--explain") {
      options.explain = true;
    } else if (arg == "--selfcheck") {
      selfcheck = true;
    } else if (arg == "--formulation" || arg.rfind("--formulation=", 0) == 0) {
      const bool joined = arg != "--formulation";
      if (!joined && i + 1 == args.size())
        return UsageError(err, "--formulation needs ifc67 or if97");
      const std::string value = joined ? arg.substr(arg.find('=') + 1) : args[++i];
      if (value != "ifc67" && value != "if97") {
        return UsageError(err, "unknown formulation " + Quote(value) + " (ifc67 or if97)");
      }
      options.formulation = value == "if97" ? calc::Formulation::IF97 : calc::Formulation::IFC67;
    } else if (arg == "--units" || arg.rfind("--units=", 0) == 0 || arg == "--xlsx" ||
               arg.rfind("--xlsx=", 0) == 0) {
      const bool units = arg.rfind("--units", 0) == 0;
      const bool joined = arg.find('=') != std::string::npos;
      if (!joined && i + 1 == args.size())
        return UsageError(err,
                          units ? "--units needs units such as p=barg,t=K" : "--xlsx needs a FILE");
      const std::string value = joined ? arg.substr(arg.find('=') + 1) : args[++i];
      std::string error;
      if (!units) {
        if (value.empty()) return UsageError(err, "--xlsx needs a FILE");
        xlsx = value;
      } else if (const auto parsed = calc::ParseUnits(value, error)) {
        options.units = *parsed;
      } else {
        return UsageError(err, error);
      }
    } else if (arg == "--jobs" || arg.rfind("--jobs=", 0) == 0) {
      const bool joined = arg != "--jobs";
      if (!joined && ++i == args.size())
        return UsageError(err, "--jobs takes a number of threads from 1 to 1024");
      if (!ParseJobs(joined ? arg.substr(7) : args[i], jobs))
        return UsageError(err, "--jobs takes a number of threads from 1 to 1024");
    } else {
      return UsageError(err, "unknown option " + Quote(arg));
    }
  }
  if (help) {
    out << HelpText() << std::flush;
    return kExitOk;
  }
  if (version) {
    out << "kelm-calc " << kVersion << '\n' << std::flush;
    return kExitOk;
  }
  if (selfcheck) {
    const calc::SelfCheck check = calc::RunSelfCheck();
    out << calc::SelfCheckText(check) << std::flush;
    return check.passed == check.total ? kExitOk : kExitFailureShown;
  }

  CalcWorkbook workbook(options);
  CalcWorkbook* book = xlsx.empty() ? nullptr : &workbook;
  // The workbook after the run: a status 2 if it cannot be written, whatever the run's status.
  auto finish = [&](int status) {
    std::string error;
    if (book != nullptr && !book->Write(xlsx, error)) {
      err << "kelm-calc: " << error << '\n';
      return int(kExitUsage);
    }
    return status;
  };
  if (jobs != 0 && !batch) return UsageError(err, "--jobs only with --batch");
  if (batch) {
    if (jobs == 0) jobs = DefaultJobs();
    if (operands.size() > 1) return UsageError(err, "--batch takes at most one FILE");
    if (operands.empty() || operands[0] == "-")
      return finish(RunBatchJobs(in, out, err, jobs, options, book));
    const std::string& path = operands[0];
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
      return UsageError(err, Quote(path) + " is a directory");
    std::ifstream file(path, std::ios::binary);
    if (!file) return UsageError(err, "cannot open " + Quote(path));
    return finish(RunBatchJobs(file, out, err, jobs, options, book));
  }

  if (operands.empty()) return UsageError(err, "missing ITEM and MODE");
  if (operands.size() == 1) return UsageError(err, "missing MODE");
  const FormRequest request{operands[0], operands[1], {operands.begin() + 2, operands.end()}};
  Printed printed;
  if (std::string error = CalculateAndPrint(request, InputMatch::Exact, options, printed);
      !error.empty()) {
    return UsageError(err, error);
  }
  out << (tsv ? printed.tsv + '\n' : printed.readable) << std::flush;
  if (!out) {
    err << "kelm-calc: cannot write the output\n";
    return kExitUsage;
  }
  if (book != nullptr) book->Add(request, InputMatch::Exact);
  return finish(printed.failed ? kExitFailureShown : kExitOk);
}

}  // namespace kelmcli
