// libFuzzer harness of the form worked as a user works it, on one form: up to four rounds of a
// line of item, mode and a third byte ('0'… read naturally; '2' leaves "2" shown) and three
// lines of inputs. Checked: Calculate is enabled exactly when the used inputs hold text; the form
// shows what a fresh form shows (nothing carries over), numbers as "%f" and units (or an echoed
// inf), a known state; "2" only switches to a second solution, "1" brings the first back.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "form/formsession.h"

namespace {

void Require(bool ok, const char* what, const std::string& detail = "") {
  if (ok) return;
  std::fprintf(stderr, "form_fuzz: %s: %s\n", what, detail.c_str());
  std::abort();
}

void CheckTexts(const ResultTexts& t, bool solved) {
  static const std::string n = "-?([0-9]+\\.[0-9]{6}|inf)";  // "%f", or an echoed inf
  static const std::regex kNumbers(
      n + " MPa\\|" + n + " ℃\\|" + n + " kJ/kg\\|" + n + " kJ/\\(kg\\*K\\)\\|" + n +
      " m\\*\\*3/kg\\|(饱和水|饱和蒸汽|不饱和水|过热蒸汽|超临界|未知|计算或参数有误|计算有误|"
      "饱和水或饱和蒸汽或湿蒸汽(,干度=-?[0-9]+\\.[0-9]{6})?)");
  static const std::regex kNoSolution("\\|" + n + " ℃\\|" + n +
                                      " kJ/kg\\|\\|\\|(未知|计算或参数有误)");
  const std::string texts = Joined(t, '|');
  Require(std::regex_match(texts, solved ? kNumbers : kNoSolution), "malformed texts", texts);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  CFormSession s;
  for (std::size_t round = 0; round * 4 < lines.size() && round < 4; ++round) {
    const std::string head = lines[round * 4] + "000";
    const int item = std::uint8_t(head[0] - '0') % 4;
    s.PickItem(item);
    const int mode = std::uint8_t(head[1] - '0') % int(s.window.modes.size());
    s.PickMode(mode);
    FormRequest request{std::to_string(item), std::to_string(mode), {}};
    bool filled = true;
    for (std::size_t k = 0; k < 3; ++k) {
      request.inputs.push_back(round * 4 + 1 + k < lines.size() ? lines[round * 4 + 1 + k] : "");
      s.Type(int(k) + 1, request.inputs[k]);
      filled = filled && (int(k) >= s.InputsUsed() || !request.inputs[k].empty());
    }
    Require(s.ClickCalculate() == filled, "Calculate enabled state", request.inputs[0]);
    if (!filled) continue;
    FormOutcome fresh;
    Require(CalculateOnForm(request, InputMatch::UsedOnly, fresh).empty(), "fresh form refused");
    const std::string shown = Joined(fresh.shown, '|');
    Require(Joined(s.Texts(), '|') == shown && s.window.controls.m_nSolution == 0,
            "shown other than on a fresh form", shown);
    CheckTexts(fresh.shown, fresh.solutions > 0);
    s.ClickSolution(2);
    Require(Joined(s.Texts(), '|') == (fresh.solutions == 2 ? Joined(fresh.second, '|') : shown),
            "button 2", shown);
    if (fresh.solutions == 2) CheckTexts(fresh.second, true);
    if (head[2] == '2') continue;  // "2" stays shown into the next round
    s.ClickSolution(1);
    Require(Joined(s.Texts(), '|') == shown, "button 1", shown);
  }
  return 0;
}
