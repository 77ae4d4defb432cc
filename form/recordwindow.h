// A window without a screen for the calculation form: the controls are a plain record that a
// caller edits to simulate typing and picking, and the enabled state of each control is a flag.
// The form session (form/formsession.h) opens the form on it.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "form/formwindow.h"

class CRecordWindow : public IFormWindow {
 public:
  // Every control starts enabled and both lists empty, until the form opens on the window.
  void EnableControl(int id, bool enable) override;
  bool IsControlEnabled(int id) const override;
  void InsertItem(int index, const std::string& text) override;
  void ClearModeList() override;
  void InsertMode(int index, const std::string& text) override;
  void UpdateData(CalcFormData& data, bool save) override;  // a plain copy either way

  std::vector<std::string> items;  // entries of IDC_ITEM
  std::vector<std::string> modes;  // entries of IDC_MODE
  CalcFormData controls;           // what the controls show

  // What the form did to the window, in order: each EnableControl call, and the count of
  // exchanges in each direction.
  std::vector<std::pair<int, bool>> enableCalls;
  int reads = 0;
  int writes = 0;

 private:
  std::map<int, bool> m_enabled;
};
