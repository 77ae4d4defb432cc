#include "form/calcdlg.h"

#include <string>
#include <vector>

#include "form/format.h"
#include "form/parse.h"
#include "form/resource.h"

CCalcDlg::CCalcDlg(IFormWindow& window) : m_window(window) {}

void CCalcDlg::OnInitDialog() {
  InsertModes(0);
  const InputText& first = ModeRows(Item::SatWater).front().input[0];
  m_strLabel1 = first.label;
  m_strUnit1 = first.unit;
  const std::vector<std::string> items = ItemTexts();
  for (int i = 0; i < int(items.size()); ++i) m_window.InsertItem(i, items[i]);
  m_window.UpdateData(*this, false);
  // The controls of the template that start disabled: the inputs the first item does not use,
  // Calculate until its inputs hold text, and "2" until a result has two solutions.
  for (int id : {IDC_INPUT2, IDC_INPUT3, IDC_CALC, IDC_SOLUTION2}) {
    m_window.EnableControl(id, false);
  }
}

void CCalcDlg::InsertModes(int item) {
  const std::vector<std::string> modes = ModeTexts(item);
  for (int i = 0; i < int(modes.size()); ++i) m_window.InsertMode(i, modes[i]);
}

// Labels, units and enabled inputs of a known item and a mode. Inputs the item does not use are
// cleared and disabled. Inputs that read the same in every mode of the item are set even for a
// mode the item lacks; the others come from the mode's row, and a mode the item lacks leaves them.
void CCalcDlg::ShowInputs(int item, int mode) {
  const ItemRow& itemRow = *FindItem(item);
  const ModeRow& firstRow = ModeRows(itemRow.item).front();
  const ModeRow* row = FindMode(item, mode);
  std::string* const labels[3] = {&m_strLabel1, &m_strLabel2, &m_strLabel3};
  std::string* const units[3] = {&m_strUnit1, &m_strUnit2, &m_strUnit3};
  const int used = firstRow.inputs;
  for (int i = 0; i < 3; ++i) {
    const ModeRow* source = i < itemRow.fixedInputs ? &firstRow : row;
    if (i >= used) {
      labels[i]->clear();
      units[i]->clear();
    } else if (source != nullptr) {
      *labels[i] = source->input[i].label;
      *units[i] = source->input[i].unit;
    }
  }
  m_window.EnableControl(IDC_INPUT2, used >= 2);
  m_window.EnableControl(IDC_INPUT3, used >= 3);
}

void CCalcDlg::OnSelChangeItem() {
  m_window.UpdateData(*this, true);
  if (FindItem(m_nItem) != nullptr) {
    m_window.ClearModeList();
    InsertModes(m_nItem);
    m_nMode = 0;
    ShowInputs(m_nItem, 0);
    UpdateCalcButton();
  }
  m_window.UpdateData(*this, false);
}

// Never re-evaluates Calculate: the enabled inputs follow the item, not the mode.
void CCalcDlg::OnSelChangeMode() {
  m_window.UpdateData(*this, true);
  if (FindItem(m_nItem) != nullptr) ShowInputs(m_nItem, m_nMode);
  m_window.UpdateData(*this, false);
}

void CCalcDlg::OnChangeInput() {
  m_window.UpdateData(*this, true);
  UpdateCalcButton();
}

void CCalcDlg::UpdateCalcButton() {
  bool enable = true;
  if (m_window.IsControlEnabled(IDC_INPUT3) && m_strInput3.empty()) enable = false;
  if (m_window.IsControlEnabled(IDC_INPUT2) && m_strInput2.empty()) enable = false;
  if (m_window.IsControlEnabled(IDC_INPUT1) && m_strInput1.empty()) enable = false;
  m_window.EnableControl(IDC_CALC, enable);
}

void CCalcDlg::OnCalc() {
  m_window.UpdateData(*this, true);
  // An unknown item or mode computes nothing: the members read are written back unchanged.
  if (const ModeRow* row = FindMode(m_nItem, m_nMode)) {
    float* const parsed[3] = {&m_fIn1, &m_fIn2, &m_fIn3};
    const std::string* const typed[3] = {&m_strInput1, &m_strInput2, &m_strInput3};
    for (int i = 0; i < row->inputs; ++i) *parsed[i] = ParseInput(*typed[i]);
    ShowResult(*row, Calculate(row->item, row->mode, m_fIn1, m_fIn2, m_fIn3));
  }
  m_window.UpdateData(*this, false);
}

// Stores a result in the members and its texts in the fields. Only the temperature-and-enthalpy
// mode stores the solution slots and the failed flag, and without a solution it keeps the stored
// pressure, entropy and volume.
void CCalcDlg::ShowResult(const ModeRow& row, const CalcResult& result) {
  const Solution& first = result.solution[0];
  const bool slots = row.mode == Mode::TemperatureEnthalpy;
  m_nSolutions = result.solutions;
  m_nSolution = 0;
  m_window.EnableControl(IDC_SOLUTION2, false);
  if (m_nSolutions == 2) m_window.EnableControl(IDC_SOLUTION2, true);
  m_fT = first.t;
  m_fH = first.h;
  if (m_nSolutions >= 1) {
    m_fP = first.p;
    m_fS = first.s;
    m_fV = first.v;
    if (slots) {
      m_fX1 = first.x;
      m_nState1 = first.state;
    }
  }
  if (slots && m_nSolutions == 2) {
    const Solution& second = result.solution[1];
    m_fP2 = second.p;
    m_fH2 = m_fH;
    m_fS2 = second.s;
    m_fV2 = second.v;
    m_fX2 = second.x;
    m_nState2 = second.state;
  }
  if (slots) m_bFailed = result.failed;
  const ResultTexts texts = ShownTexts(row.item, result);
  m_strPressure = texts.pressure;
  m_strTemperature = texts.temperature;
  m_strEnthalpy = texts.enthalpy;
  m_strEntropy = texts.entropy;
  m_strVolume = texts.volume;
  m_strState = texts.state;
}

void CCalcDlg::ShowSolution(float p, float h, float s, float v, int state, float x) {
  m_strTemperature = FormatTemperature(m_fT);
  m_strPressure = FormatPressure(p);
  m_strEnthalpy = FormatEnthalpy(h);
  m_strEntropy = FormatEntropy(s);
  m_strVolume = FormatVolume(v);
  m_strState = m_bFailed ? kSolutionFailedText : StateText(state, x);
}

void CCalcDlg::OnSolution1() {
  // Compares the click with the member, which still holds the previous choice.
  if (m_nSolution == 0 || m_nSolutions <= 1) return;
  m_nSolution = 0;
  ShowSolution(m_fP, m_fH, m_fS, m_fV, m_nState1, m_fX1);
  m_window.UpdateData(*this, false);
}

void CCalcDlg::OnSolution2() {
  if (m_nSolution == 1 || m_nSolutions < 2) return;
  m_nSolution = 1;
  ShowSolution(m_fP2, m_fH2, m_fS2, m_fV2, m_nState2, m_fX2);
  m_window.UpdateData(*this, false);
}

void CCalcDlg::OnExit() { m_window.UpdateData(*this, true); }
