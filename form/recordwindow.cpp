#include "form/recordwindow.h"

namespace {

void Insert(std::vector<std::string>& list, int index, const std::string& text) {
  if (index < 0 || index > int(list.size())) index = int(list.size());
  list.insert(list.begin() + index, text);
}

}  // namespace

void CRecordWindow::EnableControl(int id, bool enable) {
  m_enabled[id] = enable;
  enableCalls.emplace_back(id, enable);
}

bool CRecordWindow::IsControlEnabled(int id) const {
  const auto it = m_enabled.find(id);
  return it == m_enabled.end() ? true : it->second;
}

void CRecordWindow::InsertItem(int index, const std::string& text) { Insert(items, index, text); }

void CRecordWindow::ClearModeList() { modes.clear(); }

void CRecordWindow::InsertMode(int index, const std::string& text) { Insert(modes, index, text); }

void CRecordWindow::UpdateData(CalcFormData& data, bool save) {
  if (save) {
    data = controls;
    ++reads;
  } else {
    controls = data;
    ++writes;
  }
}
