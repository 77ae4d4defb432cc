#include "cli/calccli.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>
#include <streambuf>
#include <system_error>

#include "form/calcdlg.h"
#include "form/format.h"
#include "form/recordwindow.h"
#include "form/resource.h"

namespace kelmcli {
namespace {

constexpr int kInputIds[3] = {IDC_INPUT1, IDC_INPUT2, IDC_INPUT3};

// A batch line holds five short fields; anything longer is kept only up to this many bytes, so
// that memory stays bounded even for a file without line ends.
constexpr std::size_t kMaxLineBytes = 65536;

// Index of `key` in `list`, given as a decimal index or as the exact text of an entry; −1 when
// it is neither.
int FindEntry(const std::vector<std::string>& list, const std::string& key) {
  if (!key.empty() && key.size() <= 6 && key.find_first_not_of("0123456789") == std::string::npos) {
    const int index = std::stoi(key);
    return index < static_cast<int>(list.size()) ? index : -1;
  }
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i] == key) return static_cast<int>(i);
  }
  return -1;
}

// "0 压力, 1 温度": a list as a message shows it.
std::string Choices(const std::vector<std::string>& list) {
  std::string text;
  for (std::size_t i = 0; i < list.size(); ++i) {
    text += (i > 0 ? ", " : "") + std::to_string(i) + " " + list[i];
  }
  return text;
}

// The label and the unit that the form shows beside input `index` (0…2).
const std::string& Label(const CalcFormData& controls, int index) {
  const std::string* label[3] = {&controls.m_strLabel1, &controls.m_strLabel2,
                                 &controls.m_strLabel3};
  return *label[index];
}
const std::string& Unit(const CalcFormData& controls, int index) {
  const std::string* unit[3] = {&controls.m_strUnit1, &controls.m_strUnit2, &controls.m_strUnit3};
  return *unit[index];
}

// "input 2 (计算点温度, ℃)": how a message names one of the form's inputs.
std::string InputName(const CalcFormData& controls, int index) {
  return "input " + std::to_string(index + 1) + " (" + Label(controls, index) + ", " +
         Unit(controls, index) + ")";
}

std::string* InputText(CalcFormData& controls, int index) {
  std::string* text[3] = {&controls.m_strInput1, &controls.m_strInput2, &controls.m_strInput3};
  return text[index];
}

// The form opened, with an item and a mode picked from its lists. Returns an empty string or
// why the pick failed.
std::string OpenAndPick(CRecordWindow& window, CCalcDlg& dlg, const std::string& item,
                        const std::string& mode) {
  dlg.OnInitDialog();
  const std::vector<std::string>& items = CCalcDlg::ItemTexts();
  const int nItem = FindEntry(items, item);
  if (nItem < 0) return "unknown item " + Quote(item) + " (items: " + Choices(items) + ")";
  window.controls.m_nItem = nItem;
  dlg.OnSelChangeItem();
  // The mode is looked up in the list the form has just put into IDC_MODE.
  const int nMode = FindEntry(window.modes, mode);
  if (nMode < 0) {
    return "unknown mode " + Quote(mode) + " of item " + items[nItem] + " (modes: " +
           Choices(window.modes) + ")";
  }
  window.controls.m_nMode = nMode;
  dlg.OnSelChangeMode();
  return {};
}

int EnabledInputs(const CRecordWindow& window) {
  int used = 0;
  while (used < 3 && window.IsControlEnabled(kInputIds[used])) ++used;
  return used;
}

// Number of bytes of the well-formed UTF-8 sequence at s[i], or 0 when there is none.
std::size_t Utf8Length(const std::string& s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = byte(i);
  std::size_t n;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) lo = 0xA0;  // no overlong forms
    if (c == 0xED) hi = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  if (byte(i + 1) < lo || byte(i + 1) > hi) return 0;
  for (std::size_t k = 2; k < n; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  }
  return n;
}

// Terminal columns of a UTF-8 text: East Asian wide characters take two.
int DisplayWidth(const std::string& s) {
  int width = 0;
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t n = Utf8Length(s, i);
    if (n == 3) {
      const unsigned cp = (static_cast<unsigned char>(s[i]) & 0x0Fu) << 12 |
                          (static_cast<unsigned char>(s[i + 1]) & 0x3Fu) << 6 |
                          (static_cast<unsigned char>(s[i + 2]) & 0x3Fu);
      const bool wide = (cp >= 0x2E80 && cp <= 0xA4CF) || (cp >= 0xAC00 && cp <= 0xD7A3) ||
                        (cp >= 0xF900 && cp <= 0xFAFF) || (cp >= 0xFF00 && cp <= 0xFF60);
      width += wide ? 2 : 1;
    } else {
      width += 1;
    }
    i += n == 0 ? 1 : n;
  }
  return width;
}

std::string PadTo(const std::string& s, int columns) {
  const int width = DisplayWidth(s);
  return width >= columns ? s : s + std::string(columns - width, ' ');
}

void AppendReadable(std::string& out, const char* caption, const std::string& text) {
  // Captions padded to four columns so that the texts line up; an empty field gives the caption
  // alone, without trailing blanks.
  out += text.empty() ? std::string(caption) : PadTo(caption, 4) + "  " + text;
  out += '\n';
}

// Reads one line, without its '\n', keeping at most kMaxLineBytes bytes of it. Returns false at
// the end of the input when nothing was left to read.
bool ReadLine(std::streambuf& in, std::string& line, bool& tooLong) {
  using Traits = std::streambuf::traits_type;
  line.clear();
  tooLong = false;
  Traits::int_type c = in.sbumpc();
  if (Traits::eq_int_type(c, Traits::eof())) return false;
  while (!Traits::eq_int_type(c, Traits::eof()) && Traits::to_char_type(c) != '\n') {
    if (line.size() < kMaxLineBytes) {
      line.push_back(Traits::to_char_type(c));
    } else {
      tooLong = true;
    }
    c = in.sbumpc();
  }
  return true;
}

bool IsBlank(const std::string& line) {
  return line.find_first_not_of(" \t\r\v\f") == std::string::npos;
}

int UsageError(std::ostream& err, const std::string& message) {
  err << "kelm-calc: " << message << "\nTry 'kelm-calc --help' for more information.\n";
  return kExitUsage;
}

}  // namespace

std::string CalculateOnForm(const CalcRequest& request, InputMatch match, FormResult& result) {
  CRecordWindow window;
  CCalcDlg dlg(window);
  if (std::string error = OpenAndPick(window, dlg, request.item, request.mode); !error.empty()) {
    return error;
  }
  CalcFormData& controls = window.controls;
  const int used = EnabledInputs(window);
  const int given = static_cast<int>(request.inputs.size());
  if (match == InputMatch::Exact) {
    if (given < used) {
      return "missing " + InputName(controls, given) + ": " + CCalcDlg::ItemTexts()[controls.m_nItem] +
             " takes " + std::to_string(used) + (used == 1 ? " input" : " inputs");
    }
    if (given > used) {
      return "extra input " + Quote(request.inputs[used]) + ": " +
             CCalcDlg::ItemTexts()[controls.m_nItem] + " takes " + std::to_string(used) +
             (used == 1 ? " input" : " inputs");
    }
  }
  // Typing into the three inputs; disabled ones keep what they get and the form ignores them.
  for (int i = 0; i < 3; ++i) *InputText(controls, i) = i < given ? request.inputs[i] : "";
  dlg.OnChangeInput();
  if (!window.IsControlEnabled(IDC_CALC)) {
    int empty = 0;
    while (empty < used - 1 && !InputText(controls, empty)->empty()) ++empty;
    return InputName(controls, empty) + " left empty";
  }
  dlg.OnCalc();
  result.pressure = controls.m_strPressure;
  result.temperature = controls.m_strTemperature;
  result.enthalpy = controls.m_strEnthalpy;
  result.entropy = controls.m_strEntropy;
  result.volume = controls.m_strVolume;
  result.state = controls.m_strState;
  result.solutions = dlg.m_nSolutions;
  if (dlg.m_nSolutions == 2) {
    dlg.OnSolution2();
    result.pressure2 = controls.m_strPressure;
    result.enthalpy2 = controls.m_strEnthalpy;
    result.entropy2 = controls.m_strEntropy;
    result.volume2 = controls.m_strVolume;
    result.state2 = controls.m_strState;
  } else {
    result.pressure2.clear();
    result.enthalpy2.clear();
    result.entropy2.clear();
    result.volume2.clear();
    result.state2.clear();
  }
  return {};
}

bool ShowsFailure(const FormResult& result) {
  const auto failed = [](const std::string& state) {
    return state == kCalcFailedText || state == kSolutionFailedText;
  };
  return failed(result.state) || (result.solutions == 2 && failed(result.state2));
}

std::string FormatTsv(const FormResult& r) {
  std::string line = r.pressure + '\t' + r.temperature + '\t' + r.enthalpy + '\t' + r.entropy +
                     '\t' + r.volume + '\t' + r.state + '\t' + std::to_string(r.solutions);
  if (r.solutions == 2) {
    line += '\t' + r.pressure2 + '\t' + r.enthalpy2 + '\t' + r.entropy2 + '\t' + r.volume2 +
            '\t' + r.state2;
  }
  return line;
}

std::string FormatReadable(const FormResult& r) {
  std::string out;
  AppendReadable(out, "压力", r.pressure);
  AppendReadable(out, "温度", r.temperature);
  AppendReadable(out, "焓值", r.enthalpy);
  AppendReadable(out, "熵", r.entropy);
  AppendReadable(out, "比容", r.volume);
  AppendReadable(out, "状态", r.state);
  if (r.solutions == 2) {
    // The temperature is shared by both solutions; the form shows it unchanged after "2".
    out += "第二解\n";
    AppendReadable(out, "压力", r.pressure2);
    AppendReadable(out, "焓值", r.enthalpy2);
    AppendReadable(out, "熵", r.entropy2);
    AppendReadable(out, "比容", r.volume2);
    AppendReadable(out, "状态", r.state2);
  }
  return out;
}

bool ParseBatchLine(const std::string& line, CalcRequest& request, std::string& error) {
  std::string fields[5];
  int count = 0;
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find('\t', start);
    if (count == 5) {
      error = "more than five tab-separated fields (ITEM, MODE, INPUT1, INPUT2, INPUT3)";
      return false;
    }
    fields[count++] = line.substr(start, tab == std::string::npos ? std::string::npos : tab - start);
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  request.item = fields[0];
  request.mode = count > 1 ? fields[1] : std::string();
  request.inputs.assign(fields + std::min(count, 2), fields + std::max(count, 2));
  return true;
}

int RunBatch(std::istream& in, std::ostream& out, std::ostream& err) {
  int status = kExitOk;
  std::string line;
  bool tooLong = false;
  CalcRequest request;
  FormResult result;
  std::streambuf* source = in.rdbuf();
  for (long long number = 1; source != nullptr && ReadLine(*source, line, tooLong); ++number) {
    if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);  // byte-order mark
    if (!line.empty() && line.back() == '\r') line.pop_back();                 // CRLF line end
    if (!line.empty() && line.front() == '#') continue;  // a comment, however long
    if (!tooLong && IsBlank(line)) continue;

    std::string error;
    if (tooLong) {
      error = "line longer than " + std::to_string(kMaxLineBytes) + " bytes";
    } else if (ParseBatchLine(line, request, error)) {
      error = CalculateOnForm(request, InputMatch::UsedOnly, result);
    }
    out << (error.empty() ? FormatTsv(result) : "error\t" + error) << '\n' << std::flush;
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
  // Each item and mode picked on a form of its own, and the enabled inputs' labels read back.
  std::string table;
  const std::vector<std::string>& items = CCalcDlg::ItemTexts();
  for (std::size_t item = 0; item < items.size(); ++item) {
    table += "  " + std::to_string(item) + " " + items[item] + "\n";
    const std::vector<std::string>& modes = CCalcDlg::ModeTexts(static_cast<int>(item));
    for (std::size_t mode = 0; mode < modes.size(); ++mode) {
      CRecordWindow window;
      CCalcDlg dlg(window);
      OpenAndPick(window, dlg, std::to_string(item), std::to_string(mode));
      std::string inputs;
      for (int i = 0; i < EnabledInputs(window); ++i) {
        inputs += (i > 0 ? ", " : "") + Label(window.controls, i) + " [" +
                  Unit(window.controls, i) + "]";
      }
      table += "      " + std::to_string(mode) + " " + PadTo(modes[mode], 12) + "  " + inputs + "\n";
    }
  }
  return "Usage: kelm-calc [--tsv] ITEM MODE INPUT1 [INPUT2 [INPUT3]]\n"
         "       kelm-calc --batch [FILE]\n"
         "       kelm-calc --help | --version\n"
         "\n"
         "Water and steam properties (IFC-67) calculated by the same form as the desktop\n"
         "calculator, with the same result texts.\n"
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
         "  --help          show this text.\n"
         "  --version       show the version.\n"
         "\n"
         "Exit status: 0 success; 1 the result shows a failure (\"计算或参数有误\" or\n"
         "\"计算有误\"); 2 a usage error. With --batch: 0, or 2 when any line could not be\n"
         "read (calculation failures are results there) or the output could not be written.\n"
         "\n"
         "Output is UTF-8, and numbers are read and written with a decimal point, in every\n"
         "locale.\n";
}

int RunCommandLine(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                   std::ostream& err) {
  bool help = false, version = false, batch = false, tsv = false;
  std::vector<std::string> operands;
  bool optionsEnded = false;
  for (const std::string& arg : args) {
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

  if (batch) {
    if (operands.size() > 1) return UsageError(err, "--batch takes at most one FILE");
    if (operands.empty() || operands[0] == "-") return RunBatch(in, out, err);
    const std::string& path = operands[0];
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return UsageError(err, Quote(path) + " is a directory");
    std::ifstream file(path, std::ios::binary);
    if (!file) return UsageError(err, "cannot open " + Quote(path));
    return RunBatch(file, out, err);
  }

  if (operands.empty()) return UsageError(err, "missing ITEM and MODE");
  if (operands.size() == 1) return UsageError(err, "missing MODE");
  CalcRequest request{operands[0], operands[1], {operands.begin() + 2, operands.end()}};
  FormResult result;
  if (std::string error = CalculateOnForm(request, InputMatch::Exact, result); !error.empty()) {
    return UsageError(err, error);
  }
  out << (tsv ? FormatTsv(result) + '\n' : FormatReadable(result)) << std::flush;
  if (!out) {
    err << "kelm-calc: cannot write the output\n";
    return kExitUsage;
  }
  return ShowsFailure(result) ? kExitFailureShown : kExitOk;
}

std::string Quote(const std::string& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  constexpr std::size_t kMaxQuoted = 60;
  std::string quoted = "\"";
  std::size_t i = 0;
  while (i < text.size() && i < kMaxQuoted) {
    const std::size_t n = Utf8Length(text, i);
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (n == 0 || c < 0x20 || c == 0x7F || c == '\\' || c == '"') {
      if (c == '\\' || c == '"') {
        quoted += '\\';
        quoted += static_cast<char>(c);
      } else {
        quoted += "\\x";
        quoted += kHex[c >> 4];
        quoted += kHex[c & 0xF];
      }
      ++i;
    } else {
      quoted.append(text, i, n);
      i += n;
    }
  }
  if (i < text.size()) quoted += "...";
  return quoted + "\"";
}

}  // namespace kelmcli
