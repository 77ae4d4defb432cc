#include "form/formsession.h"

#include "form/resource.h"

namespace {

constexpr int kInputIds[3] = {IDC_INPUT1, IDC_INPUT2, IDC_INPUT3};

// Index of `key` in `list`, given as a decimal index or as the exact text of an entry; −1 when
// it is neither.
int FindEntry(const std::vector<std::string>& list, const std::string& key) {
  if (!key.empty() && key.size() <= 6 && key.find_first_not_of("0123456789") == std::string::npos) {
    const int index = std::stoi(key);
    return index < int(list.size()) ? index : -1;
  }
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i] == key) return int(i);
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

std::string Takes(const std::string& item, int used) {
  return ": " + item + " takes " + std::to_string(used) + (used == 1 ? " input" : " inputs");
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

}  // namespace

CFormSession::CFormSession() { form.OnInitDialog(); }

std::string CFormSession::Pick(const std::string& item, const std::string& mode) {
  const std::vector<std::string> items = ItemTexts();
  const int nItem = FindEntry(items, item);
  if (nItem < 0) return "unknown item " + Quote(item) + " (items: " + Choices(items) + ")";
  PickItem(nItem);
  // The mode is looked up in the list the form has just put into IDC_MODE.
  const int nMode = FindEntry(window.modes, mode);
  if (nMode < 0) {
    return "unknown mode " + Quote(mode) + " of item " + items[nItem] +
           " (modes: " + Choices(window.modes) + ")";
  }
  PickMode(nMode);
  return {};
}

void CFormSession::PickItem(int item) {
  window.controls.m_nItem = item;
  form.OnSelChangeItem();
}

void CFormSession::PickMode(int mode) {
  window.controls.m_nMode = mode;
  form.OnSelChangeMode();
}

void CFormSession::Type(int input, const std::string& text) {
  CalcFormData& c = window.controls;
  *(input == 1 ? &c.m_strInput1 : input == 2 ? &c.m_strInput2 : &c.m_strInput3) = text;
  form.OnChangeInput();
}

bool CFormSession::ClickCalculate() {
  if (!window.IsControlEnabled(IDC_CALC)) return false;
  form.OnCalc();
  return true;
}

void CFormSession::ClickSolution(int button) {
  if (!window.IsControlEnabled(button == 1 ? IDC_SOLUTION1 : IDC_SOLUTION2)) return;
  // A push-like radio button is checked by the click, before its handler runs.
  window.controls.m_nSolution = button - 1;
  if (button == 1) {
    form.OnSolution1();
  } else {
    form.OnSolution2();
  }
}

int CFormSession::InputsUsed() const {
  int used = 0;
  while (used < 3 && window.IsControlEnabled(kInputIds[used])) ++used;
  return used;
}

ResultTexts CFormSession::Texts() const {
  const CalcFormData& c = window.controls;
  return {c.m_strPressure, c.m_strTemperature, c.m_strEnthalpy,
          c.m_strEntropy,  c.m_strVolume,      c.m_strState};
}

std::string CFormSession::InputName(int input) const {
  const CalcFormData& c = window.controls;
  const std::string* labels[3] = {&c.m_strLabel1, &c.m_strLabel2, &c.m_strLabel3};
  const std::string* units[3] = {&c.m_strUnit1, &c.m_strUnit2, &c.m_strUnit3};
  return "input " + std::to_string(input) + " (" + *labels[input - 1] + ", " + *units[input - 1] +
         ")";
}

namespace {

// The form opened on `session` with the request picked and typed; an empty string when Calculate
// is then enabled, else why not.
std::string Prepare(CFormSession& session, const FormRequest& request, InputMatch match) {
  if (std::string error = session.Pick(request.item, request.mode); !error.empty()) return error;
  const std::string item = ItemTexts()[session.window.controls.m_nItem];
  const int used = session.InputsUsed();
  const int given = int(request.inputs.size());
  if (match == InputMatch::Exact && given < used) {
    return "missing " + session.InputName(given + 1) + Takes(item, used);
  }
  if (match == InputMatch::Exact && given > used) {
    return "extra input " + Quote(request.inputs[used]) + Takes(item, used);
  }
  // Disabled inputs keep what they get; the form ignores them.
  for (int i = 0; i < 3; ++i) session.Type(i + 1, i < given ? request.inputs[i] : "");
  if (!session.window.IsControlEnabled(IDC_CALC)) {
    const CalcFormData& c = session.window.controls;
    const std::string* typed[3] = {&c.m_strInput1, &c.m_strInput2, &c.m_strInput3};
    int empty = 1;
    while (empty < used && !typed[empty - 1]->empty()) ++empty;
    return session.InputName(empty) + " left empty";
  }
  return {};
}

}  // namespace

std::string CalculateOnForm(const FormRequest& request, InputMatch match, FormOutcome& outcome) {
  CFormSession session;
  if (std::string error = Prepare(session, request, match); !error.empty()) return error;
  session.ClickCalculate();
  outcome.shown = session.Texts();
  outcome.solutions = session.form.m_nSolutions;
  outcome.second = {};
  if (outcome.solutions == 2) {
    session.ClickSolution(2);
    outcome.second = session.Texts();
  }
  return {};
}

std::string ReadOnForm(const FormRequest& request, InputMatch match, FormReading& reading) {
  CFormSession session;
  if (std::string error = Prepare(session, request, match); !error.empty()) return error;
  const CalcFormData& c = session.window.controls;
  const ModeRow* row = FindMode(c.m_nItem, c.m_nMode);
  reading.item = row->item;
  reading.mode = row->mode;
  reading.inputs = row->inputs;
  const std::string* typed[3] = {&c.m_strInput1, &c.m_strInput2, &c.m_strInput3};
  for (int i = 0; i < 3; ++i) reading.input[i] = i < row->inputs ? *typed[i] : "";
  return {};
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
