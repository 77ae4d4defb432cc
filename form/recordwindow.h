// A window without a screen for the calculation form: the controls are a plain record that a
// caller edits to simulate typing and picking, and the enabled state of each control is a flag.
// Used by the form tests and by the command-line front end.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "form/formwindow.h"

class CRecordWindow : public IFormWindow {
 public:
  // IDC_INPUT2, IDC_INPUT3, IDC_CALC and IDC_SOLUTION2 start disabled, as in the form template;
  // every other control starts enabled. IDC_ITEM holds the four item texts.
  CRecordWindow();

  void EnableControl(int id, bool enable) override;
  bool IsControlEnabled(int id) const override;
  void ClearModeList() override;
  void InsertMode(int index, const std::string& text) override;  // index < 0 or past the end appends
  void UpdateData(CalcFormData& data, bool save) override;      // a plain copy either way

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
