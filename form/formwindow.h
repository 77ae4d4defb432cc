// What the calculation form needs of a window, and the members it exchanges with the controls.
#pragma once

#include <string>

// The members bound to controls, in the order of the bulk exchange. All texts are UTF-8.
struct CalcFormData {
  int m_nItem = 0;                  // IDC_ITEM, selected index (−1 when none)
  std::string m_strLabel1;          // IDC_LABEL1
  std::string m_strLabel2;          // IDC_LABEL2
  std::string m_strLabel3;          // IDC_LABEL3
  std::string m_strUnit1;           // IDC_UNIT1
  std::string m_strUnit2;           // IDC_UNIT2
  std::string m_strUnit3;           // IDC_UNIT3
  std::string m_strEnthalpy;        // IDC_ENTHALPY
  std::string m_strEntropy;         // IDC_ENTROPY
  std::string m_strInput1;          // IDC_INPUT1
  std::string m_strInput2;          // IDC_INPUT2
  std::string m_strInput3;          // IDC_INPUT3
  std::string m_strPressure;        // IDC_PRESSURE
  std::string m_strTemperature;     // IDC_TEMPERATURE
  std::string m_strVolume;          // IDC_VOLUME
  std::string m_strState = "未知";  // IDC_STATE
  int m_nMode = 0;                  // IDC_MODE, selected index (−1 when none)
  int m_nSolution = 0;              // radio group IDC_SOLUTION1/IDC_SOLUTION2: 0 or 1
};

// The window layer: a Qt dialog in the desktop program, a plain record in the command line and
// in tests.
class IFormWindow {
 public:
  virtual ~IFormWindow() = default;
  virtual void EnableControl(int id, bool enable) = 0;
  virtual bool IsControlEnabled(int id) const = 0;
  // Insert into IDC_ITEM, or into IDC_MODE; an index below zero or past the end appends.
  virtual void InsertItem(int index, const std::string& text) = 0;
  virtual void ClearModeList() = 0;  // empty IDC_MODE
  virtual void InsertMode(int index, const std::string& text) = 0;
  // save: read every member from its control; otherwise write every member to its control.
  // Both directions run over the members in the order of CalcFormData.
  virtual void UpdateData(CalcFormData& data, bool save) = 0;
};
