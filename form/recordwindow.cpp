#include "form/recordwindow.h"

#include "form/calcdlg.h"
#include "form/resource.h"

CRecordWindow::CRecordWindow() : items(CCalcDlg::ItemTexts()) {
  m_enabled[IDC_INPUT2] = false;
  m_enabled[IDC_INPUT3] = false;
  m_enabled[IDC_CALC] = false;
  m_enabled[IDC_SOLUTION2] = false;
}

void CRecordWindow::EnableControl(int id, bool enable) {
  m_enabled[id] = enable;
  enableCalls.emplace_back(id, enable);
}

bool CRecordWindow::IsControlEnabled(int id) const {
  const auto it = m_enabled.find(id);
  return it == m_enabled.end() ? true : it->second;
}

void CRecordWindow::ClearModeList() { modes.clear(); }

void CRecordWindow::InsertMode(int index, const std::string& text) {
  if (index < 0 || index > static_cast<int>(modes.size())) {
    modes.push_back(text);
  } else {
    modes.insert(modes.begin() + index, text);
  }
}

void CRecordWindow::UpdateData(CalcFormData& data, bool save) {
  if (save) {
    data = controls;
    ++reads;
  } else {
    controls = data;
    ++writes;
  }
}
