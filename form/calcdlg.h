// The calculation form: its items, input modes, labels and enabling rules, and the Calculate
// command with its result display. Free of any window system: it reaches its window only through
// IFormWindow. Items, modes, labels and computations come from the table of form/calculation.h.
#pragma once

#include "form/calculation.h"
#include "form/formwindow.h"

class CCalcDlg : public CalcFormData {
 public:
  explicit CCalcDlg(IFormWindow& window);

  // Fills both lists, sets the first labels, writes every member to the controls and disables
  // the controls that start disabled.
  void OnInitDialog();
  void OnSelChangeItem();
  void OnSelChangeMode();
  void OnChangeInput();
  // Works on the members as last read from the controls; reads nothing itself.
  void UpdateCalcButton();
  void OnCalc();
  void OnSolution1();
  void OnSolution2();
  void OnExit();

  // Inputs as parsed and the results of the last calculation, all in single precision.
  float m_fIn1 = 0.0f;
  float m_fIn2 = 0.0f;
  float m_fIn3 = 0.0f;
  float m_fP = 0.0f;   // MPa; solution 1 when there are two
  float m_fT = 0.0f;   // °C; shared by both solutions
  float m_fH = 0.0f;   // kJ/kg; solution 1
  float m_fS = 0.0f;   // kJ/(kg·K); solution 1
  float m_fV = 0.0f;   // m³/kg; solution 1
  float m_fX1 = 0.0f;  // dryness of solution 1 (temperature-and-enthalpy mode only)
  int m_nState1 = 0;   // StateCode of solution 1 (same mode)
  float m_fP2 = 0.0f;
  float m_fH2 = 0.0f;
  float m_fS2 = 0.0f;
  float m_fV2 = 0.0f;
  float m_fX2 = 0.0f;
  int m_nState2 = 0;
  int m_nSolutions = 1;    // solutions of the last calculation
  bool m_bFailed = false;  // the last temperature-and-enthalpy calculation failed

 private:
  void InsertModes(int item);
  void ShowInputs(int item, int mode);
  void ShowResult(const ModeRow& row, const CalcResult& result);
  void ShowSolution(float p, float h, float s, float v, int state, float x);

  IFormWindow& m_window;
};
