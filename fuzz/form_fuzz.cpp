// libFuzzer harness of the calculation form, driven as a user drives it on a window without a
// screen. The input is up to four rounds of four lines:
//   line 1: item and mode, one byte each ('0'…'3' and '0'…'4' read naturally; any byte works);
//   lines 2-4: the texts of inputs 1 to 3 (any bytes but the line end: non-UTF-8, NULs, very
//   long digit strings, 1e-400, 1e400, …).
// Each round picks the item and the mode, types the three texts, presses Calculate when it is
// enabled, then clicks "2" and "1". After every gesture the harness checks what the form shows:
//   - labels, units, mode list and enabled controls follow the item and mode table;
//   - every result text is empty (only where no solution exists) or "%f" of a float and the
//     field's exact unit, with no "nan" anywhere; "inf" only in a field that echoes an input
//     that overflows single precision, and every echo is exactly the parsed input;
//   - the parse of each input agrees bit for bit with strtod on the same decimal prefix;
//   - the state text is one of the specified texts, as the item allows;
//   - the solution buttons show the stored solutions and change nothing when they may not.
// With KELM_FUZZ_STRICT=1 it also checks that a calculation shown as a success lies in the
// validity range of its item.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "form/calcdlg.h"
#include "form/parse.h"
#include "form/recordwindow.h"
#include "form/resource.h"
#include "fuzz/form_texts.h"

namespace {

// What the form showed when a check failed, for the report.
const CalcFormData* g_shown = nullptr;
std::string g_round;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "form_fuzz: %s\n  round: %s\n", what.c_str(), g_round.c_str());
  if (g_shown != nullptr) {
    const CalcFormData& d = *g_shown;
    std::fprintf(stderr, "  shown: P [%s] T [%s] H [%s] S [%s] V [%s] state [%s] solution %d\n",
                 d.m_strPressure.c_str(), d.m_strTemperature.c_str(), d.m_strEnthalpy.c_str(),
                 d.m_strEntropy.c_str(), d.m_strVolume.c_str(), d.m_strState.c_str(),
                 d.m_nSolution);
  }
  std::abort();
}

void Require(bool ok, const std::string& what) {
  if (!ok) Fail(what);
}

bool Strict() {
  static const bool strict = [] {
    const char* s = std::getenv("KELM_FUZZ_STRICT");
    return s != nullptr && s[0] == '1';
  }();
  return strict;
}

// The texts as the form must show them, written out independently of the form's own tables.
const char* const kItems[] = {"饱和水", "饱和蒸汽", "任意状态水或水蒸汽", "等熵焓降末点"};
const std::vector<std::vector<std::string>> kModes = {
    {"压力", "温度"},
    {"压力", "温度"},
    {"压力和温度", "压力和熵", "压力和焓", "温度和熵", "温度和焓"},
    {"末点压力", "末点温度"},
};
struct Row {
  const char* label[3];
  const char* unit[3];
};
const std::vector<std::vector<Row>> kRows = {
    {{{"计算点压力", "", ""}, {"MPa", "", ""}}, {{"计算点温度", "", ""}, {"℃", "", ""}}},
    {{{"计算点压力", "", ""}, {"MPa", "", ""}}, {{"计算点温度", "", ""}, {"℃", "", ""}}},
    {{{"计算点压力", "计算点温度", ""}, {"MPa", "℃", ""}},
     {{"计算点压力", "计算点熵", ""}, {"MPa", "kJ/(kg*K)", ""}},
     {{"计算点压力", "计算点焓", ""}, {"MPa", "kJ/kg", ""}},
     {{"计算点温度", "计算点熵", ""}, {"℃", "kJ/(kg*K)", ""}},
     {{"计算点温度", "计算点焓", ""}, {"℃", "kJ/kg", ""}}},
    {{{"起始点压力", "起始点温度", "末点压力"}, {"MPa", "℃", "MPa"}},
     {{"起始点压力", "起始点温度", "末点温度"}, {"MPa", "℃", "℃"}}},
};

using fuzz::WellFormed;
constexpr const char* kWet = fuzz::kWetText;
constexpr const char* kCalcFailed = fuzz::kCalcFailedText;
constexpr const char* kSolutionFailed = fuzz::kSolutionFailedText;

// Result fields, in the order P, T, H, S, V, with their units.
enum Field { kP, kT, kH, kS, kV, kFieldCount };
const char* const kUnits[kFieldCount] = {" MPa", " ℃", " kJ/kg", " kJ/(kg*K)", " m**3/kg"};
const char* const kFieldNames[kFieldCount] = {"pressure", "temperature", "enthalpy", "entropy",
                                              "volume"};

std::string& FieldText(CalcFormData& d, int field) {
  switch (field) {
    case kP:
      return d.m_strPressure;
    case kT:
      return d.m_strTemperature;
    case kH:
      return d.m_strEnthalpy;
    case kS:
      return d.m_strEntropy;
    default:
      return d.m_strVolume;
  }
}

// "%f" of the float widened to double, in the C locale the process never leaves.
std::string Fixed(float f) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, "%f", double(f));
  return buffer;
}

bool Contains(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

// The lenient parse done independently: skip C white space, take the longest prefix of the
// decimal grammar, hand exactly that prefix to strtod.
double ReferenceParse(const std::string& text) {
  std::size_t i = 0;
  auto space = [](char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
  };
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  while (i < text.size() && space(text[i])) ++i;
  const std::size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && digit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    std::size_t j = i + 1, fraction = 0;
    while (j < text.size() && digit(text[j])) ++j, ++fraction;
    if (digits + fraction > 0) {
      i = j;
      digits += fraction;
    }
  }
  if (digits == 0) return 0.0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && digit(text[j])) {
      while (j < text.size() && digit(text[j])) ++j;
      i = j;
    }
  }
  const std::string prefix = text.substr(start, i - start);
  return std::strtod(prefix.c_str(), nullptr);
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

struct Session {
  CRecordWindow window;
  CCalcDlg dlg{window};
  CalcFormData& shown = window.controls;
  static inline long long calculations = 0;  // over the whole run

  Session() {
    dlg.OnInitDialog();
    g_shown = &shown;
  }
  ~Session() { g_shown = nullptr; }

  int ModeCount(int item) const { return int(kModes[item].size()); }

  void CheckLayout(int item, int mode) {
    Require(shown.m_nItem == item, "item not shown as picked");
    Require(shown.m_nMode == mode, "mode not shown as picked");
    Require(window.items == std::vector<std::string>(std::begin(kItems), std::end(kItems)),
            "item list");
    Require(window.modes == kModes[item], "mode list of the item");
    const Row& row = kRows[item][mode];
    Require(shown.m_strLabel1 == row.label[0] && shown.m_strLabel2 == row.label[1] &&
                shown.m_strLabel3 == row.label[2],
            "labels of the item and mode");
    Require(shown.m_strUnit1 == row.unit[0] && shown.m_strUnit2 == row.unit[1] &&
                shown.m_strUnit3 == row.unit[2],
            "units of the item and mode");
    Require(window.IsControlEnabled(IDC_INPUT1), "input 1 disabled");
    Require(window.IsControlEnabled(IDC_INPUT2) == (item >= 2), "input 2 enabled state");
    Require(window.IsControlEnabled(IDC_INPUT3) == (item == 3), "input 3 enabled state");
  }

  bool CalculateEnabledByRule(int item) const {
    return !shown.m_strInput1.empty() && (item < 2 || !shown.m_strInput2.empty()) &&
           (item < 3 || !shown.m_strInput3.empty());
  }

  // The state text is one of the specified texts; the wet text with a dryness carries "%f" of it.
  void CheckStateText(const std::string& state, int item, bool afterCalc) {
    Require(!Contains(state, "nan") && !Contains(state, "inf"), "state text holds nan/inf: " + state);
    if (state == kCalcFailed) {
      Require(afterCalc, "Calculate's failure text shown by a solution button");
      return;
    }
    if (state == kSolutionFailed) {
      Require(!afterCalc, "a solution button's failure text shown by Calculate");
      return;
    }
    if (item == 0 && afterCalc) {
      Require(state == "饱和水", "saturated-water state text: " + state);
      return;
    }
    if (item == 1 && afterCalc) {
      Require(state == "饱和蒸汽", "saturated-steam state text: " + state);
      return;
    }
    double x = 2;
    Require(fuzz::IsStateText(state, x) && state != "饱和水" && state != "饱和蒸汽",
            "unknown state text: " + state);
    if (Strict() && x != 2)
      Require(x >= -0.00001 && x <= 1.000001, "dryness outside 0…1: " + state);
  }

  // Which input a result field echoes for the item and mode (1…3), or 0.
  static int EchoOf(int item, int mode, int field) {
    switch (item) {
      case 0:
      case 1:
        return (mode == 0 && field == kP) || (mode == 1 && field == kT) ? 1 : 0;
      case 2: {
        static const int first[5] = {kP, kP, kP, kT, kT};
        static const int second[5] = {kT, kS, kH, kS, kH};
        if (field == first[mode]) return 1;
        if (field == second[mode]) return 2;
        return 0;
      }
      default:
        return (mode == 0 && field == kP) || (mode == 1 && field == kT) ? 3 : 0;
    }
  }

  void CheckInputParse(const std::string& text, float parsed) {
    const double reference = ReferenceParse(text);
    const double mine = ParseDecimalPrefix(text);
    Require(SameBits(mine, reference), "ParseDecimalPrefix differs from strtod on the prefix");
    Require(SameBits(double(ParseInput(text)), double(static_cast<float>(reference))),
            "ParseInput is not the prefix rounded to float");
    Require(SameBits(double(parsed), double(static_cast<float>(reference))),
            "input member is not the parsed text");
  }

  void CheckAfterCalc(int item, int mode) {
    ++calculations;
    if ((calculations & 0x3ffff) == 0)
      std::fprintf(stderr, "#calculations %lld\n", calculations);

    CheckLayout(item, mode);
    Require(shown.m_nSolution == 0, "Calculate leaves solution 2 checked");
    const bool twoSolutions = item == 2 && mode == 4 && dlg.m_nSolutions == 2;
    Require(window.IsControlEnabled(IDC_SOLUTION2) == twoSolutions, "button 2 enabled state");
    Require(dlg.m_nSolutions == 1 || (item == 2 && mode == 4 && dlg.m_nSolutions >= 0 &&
                                      dlg.m_nSolutions <= 2),
            "solution count");

    const std::string* texts[3] = {&shown.m_strInput1, &shown.m_strInput2, &shown.m_strInput3};
    const float parsed[3] = {dlg.m_fIn1, dlg.m_fIn2, dlg.m_fIn3};
    const int used = item < 2 ? 1 : item == 2 ? 2 : 3;
    for (int i = 0; i < used; ++i) CheckInputParse(*texts[i], parsed[i]);

    const bool noSolution = item == 2 && mode == 4 && dlg.m_nSolutions == 0;
    double value[kFieldCount] = {};
    for (int field = 0; field < kFieldCount; ++field) {
      const std::string& text = FieldText(shown, field);
      const std::string name = kFieldNames[field];
      if (noSolution && (field == kP || field == kS || field == kV)) {
        Require(text.empty(), name + " shown without a solution: " + text);
        continue;
      }
      const int echo = EchoOf(item, mode, field);
      if (echo) {
        const std::string expected = Fixed(parsed[echo - 1]) + kUnits[field];
        Require(text == expected, name + " does not echo its input: " + text + " vs " + expected);
        if (std::isinf(parsed[echo - 1])) continue;
      }
      Require(!Contains(text, "nan") && !Contains(text, "inf"), name + " holds nan/inf: " + text);
      Require(WellFormed(text, kUnits[field], value[field]), name + " malformed: " + text);
    }

    CheckStateText(shown.m_strState, item, true);
    const bool failed = shown.m_strState == kCalcFailed;
    if (Strict() && !failed && !noSolution) {
      const bool saturation = item < 2;
      const double tMax = saturation ? 374.1501 : 800.0001;
      const double pMax = saturation ? 22.1201 : 100.0001;  // 374.1501 °C gives 22.120024 MPa
      // The saturation pressure at 0.01 °C is 0.000611 MPa, below the state range's 0.0007;
      // the solvers by temperature answer it for wet points.
      const double pMin = 0.0006;
      Require(value[kT] >= 0.0099 && value[kT] <= tMax, "success with a temperature outside");
      Require(value[kP] >= pMin && value[kP] <= pMax, "success with a pressure outside");
      // A wet point's volume comes from the unclamped dryness, which may lie 0.00001 below 0:
      // at low pressure, where v'' is some 200 m³/kg, that extrapolates below v' and even
      // below zero. Only other states must have a positive volume.
      if (shown.m_strState.rfind(kWet, 0) != 0)
        Require(value[kV] > 0, "success with a volume not positive");
    }
  }

  // Clicks "2" and then "1", checking what each shows against the stored solutions.
  void ClickSolutions(int item) {
    const CalcFormData before = shown;
    const int solutionsBefore = dlg.m_nSolutions;
    const bool canSwitch = dlg.m_nSolutions >= 2 && dlg.m_nSolution == 0;
    dlg.OnSolution2();
    if (!canSwitch) {
      Require(Same(before, shown), "button 2 changed the form without a second solution");
    } else {
      Require(shown.m_nSolution == 1, "button 2 not checked after its click");
      const float values[kFieldCount] = {dlg.m_fP2, dlg.m_fT, dlg.m_fH2, dlg.m_fS2, dlg.m_fV2};
      CheckShown(values, item);
      Require(shown.m_strTemperature == before.m_strTemperature &&
                  shown.m_strEnthalpy == before.m_strEnthalpy,
              "solution 2 changes the given temperature or enthalpy");
    }
    Require(dlg.m_nSolutions == solutionsBefore, "a solution button changed the count");

    const CalcFormData middle = shown;
    const bool canSwitchBack = dlg.m_nSolutions >= 2 && dlg.m_nSolution == 1;
    dlg.OnSolution1();
    if (!canSwitchBack) {
      Require(Same(middle, shown), "button 1 changed the form while solution 1 is shown");
    } else {
      Require(shown.m_nSolution == 0, "button 1 not checked after its click");
      const float values[kFieldCount] = {dlg.m_fP, dlg.m_fT, dlg.m_fH, dlg.m_fS, dlg.m_fV};
      CheckShown(values, item);
    }
  }

  void CheckShown(const float (&values)[kFieldCount], int item) {
    for (int field = 0; field < kFieldCount; ++field) {
      const std::string expected = Fixed(values[field]) + kUnits[field];
      const std::string& text = FieldText(shown, field);
      Require(text == expected, std::string(kFieldNames[field]) + " of the shown solution: " +
                                    text + " vs " + expected);
      // Temperature and enthalpy are the given ones and may echo an overflowing input.
      if (field == kT || field == kH) continue;
      Require(!Contains(text, "nan") && !Contains(text, "inf"), "solution field holds nan/inf");
    }
    CheckStateText(shown.m_strState, item, false);
    Require((shown.m_strState == kSolutionFailed) == dlg.m_bFailed,
            "solution failure text does not follow the failed flag");
  }

  static bool Same(const CalcFormData& a, const CalcFormData& b) {
    return a.m_nItem == b.m_nItem && a.m_strLabel1 == b.m_strLabel1 &&
           a.m_strLabel2 == b.m_strLabel2 && a.m_strLabel3 == b.m_strLabel3 &&
           a.m_strUnit1 == b.m_strUnit1 && a.m_strUnit2 == b.m_strUnit2 &&
           a.m_strUnit3 == b.m_strUnit3 && a.m_strEnthalpy == b.m_strEnthalpy &&
           a.m_strEntropy == b.m_strEntropy && a.m_strInput1 == b.m_strInput1 &&
           a.m_strInput2 == b.m_strInput2 && a.m_strInput3 == b.m_strInput3 &&
           a.m_strPressure == b.m_strPressure && a.m_strTemperature == b.m_strTemperature &&
           a.m_strVolume == b.m_strVolume && a.m_strState == b.m_strState &&
           a.m_nMode == b.m_nMode && a.m_nSolution == b.m_nSolution;
  }

  static bool SameResults(const CalcFormData& a, const CalcFormData& b) {
    return a.m_strPressure == b.m_strPressure && a.m_strTemperature == b.m_strTemperature &&
           a.m_strEnthalpy == b.m_strEnthalpy && a.m_strEntropy == b.m_strEntropy &&
           a.m_strVolume == b.m_strVolume && a.m_strState == b.m_strState &&
           a.m_nSolution == b.m_nSolution;
  }

  void Round(std::uint8_t itemByte, std::uint8_t modeByte, const std::string (&inputs)[3]) {
    const int item = std::uint8_t(itemByte - '0') % 4;
    const CalcFormData before = shown;
    const bool solution2Before = window.IsControlEnabled(IDC_SOLUTION2);
    shown.m_nItem = item;
    dlg.OnSelChangeItem();
    const int mode = std::uint8_t(modeByte - '0') % ModeCount(item);
    g_round = "item " + std::to_string(item) + " mode " + std::to_string(mode);
    for (const std::string& text : inputs) {
      g_round += " [";
      for (unsigned char c : text.substr(0, 80)) {
        char hex[8];
        std::snprintf(hex, sizeof hex, c >= 0x20 && c < 0x7f ? "%c" : "\\x%02X", c);
        g_round += hex;
      }
      g_round += text.size() > 80 ? "...]" : "]";
    }
    shown.m_nMode = mode;
    dlg.OnSelChangeMode();
    CheckLayout(item, mode);
    Require(SameResults(before, shown), "picking the item or mode changed the results");
    Require(window.IsControlEnabled(IDC_SOLUTION2) == solution2Before,
            "picking the item or mode changed button 2");

    // Typing: each field receives its text (a paste), with the change handler after each.
    shown.m_strInput1 = inputs[0];
    dlg.OnChangeInput();
    shown.m_strInput2 = inputs[1];
    dlg.OnChangeInput();
    shown.m_strInput3 = inputs[2];
    dlg.OnChangeInput();
    const bool calcEnabled = window.IsControlEnabled(IDC_CALC);
    Require(calcEnabled == CalculateEnabledByRule(item), "Calculate enabled state");

    if (calcEnabled) {
      dlg.OnCalc();
      CheckAfterCalc(item, mode);
    }
    ClickSolutions(item);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Split into lines; a missing line is an empty text.
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= size; ++i) {
    if (i == size || data[i] == '\n') {
      lines.emplace_back(reinterpret_cast<const char*>(data) + start, i - start);
      start = i + 1;
    }
  }
  Session session;
  for (std::size_t round = 0; round < 4 && round * 4 < lines.size(); ++round) {
    const std::string& head = lines[round * 4];
    const std::uint8_t itemByte = head.size() > 0 ? head[0] : '0';
    const std::uint8_t modeByte = head.size() > 1 ? head[1] : '0';
    std::string inputs[3];
    for (int k = 0; k < 3; ++k)
      if (round * 4 + 1 + k < lines.size()) inputs[k] = lines[round * 4 + 1 + k];
    session.Round(itemByte, modeByte, inputs);
  }
  return 0;
}
