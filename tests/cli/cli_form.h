// What the calculation form itself shows for a calculation: the reference the command line is
// held to. Drives CCalcDlg on a record window the way a user works the form.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "form/calcdlg.h"
#include "form/recordwindow.h"
#include "form/resource.h"

struct ShownOnForm {
  std::vector<std::string> first;   // pressure, temperature, enthalpy, entropy, volume, state
  int solutions = 1;
  std::vector<std::string> second;  // after "2": pressure, enthalpy, entropy, volume, state
};

inline ShownOnForm ShowOnForm(int item, int mode, const std::vector<std::string>& inputs) {
  CRecordWindow window;
  CCalcDlg dlg(window);
  dlg.OnInitDialog();
  window.controls.m_nItem = item;
  dlg.OnSelChangeItem();
  window.controls.m_nMode = mode;
  dlg.OnSelChangeMode();
  std::string* fields[3] = {&window.controls.m_strInput1, &window.controls.m_strInput2,
                            &window.controls.m_strInput3};
  for (std::size_t i = 0; i < inputs.size() && i < 3; ++i) *fields[i] = inputs[i];
  dlg.OnChangeInput();
  EXPECT_TRUE(window.IsControlEnabled(IDC_CALC));
  dlg.OnCalc();
  const CalcFormData& c = window.controls;
  ShownOnForm shown;
  shown.first = {c.m_strPressure, c.m_strTemperature, c.m_strEnthalpy,
                 c.m_strEntropy, c.m_strVolume,      c.m_strState};
  shown.solutions = dlg.m_nSolutions;
  if (dlg.m_nSolutions == 2) {
    dlg.OnSolution2();
    EXPECT_EQ(c.m_strTemperature, shown.first[1]);
    shown.second = {c.m_strPressure, c.m_strEnthalpy, c.m_strEntropy, c.m_strVolume,
                    c.m_strState};
  }
  return shown;
}

// The --tsv line the command line must write for what the form shows (without the line end).
inline std::string ExpectedTsv(const ShownOnForm& shown) {
  std::string line;
  for (const std::string& text : shown.first) line += text + '\t';
  line += std::to_string(shown.solutions);
  for (const std::string& text : shown.second) line += '\t' + text;
  return line;
}

inline bool IsFailureText(const std::string& state) {
  return state == "计算或参数有误" || state == "计算有误";
}
