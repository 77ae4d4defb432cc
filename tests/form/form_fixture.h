// A calculation form on a window without a screen, with the user's gestures as calls.
#pragma once

#include <string>

#include "form/calcdlg.h"
#include "form/recordwindow.h"
#include "form/resource.h"

struct FormUnderTest {
  CRecordWindow window;
  CCalcDlg dlg{window};

  FormUnderTest() { dlg.OnInitDialog(); }

  CalcFormData& shown() { return window.controls; }
  bool enabled(int id) const { return window.IsControlEnabled(id); }

  void PickItem(int item) {
    window.controls.m_nItem = item;
    dlg.OnSelChangeItem();
  }
  void PickMode(int mode) {
    window.controls.m_nMode = mode;
    dlg.OnSelChangeMode();
  }
  // field 1, 2 or 3: replaces the whole text, as typing or deleting ends with it.
  void Type(int field, const std::string& text) {
    std::string& target = field == 1   ? window.controls.m_strInput1
                          : field == 2 ? window.controls.m_strInput2
                                       : window.controls.m_strInput3;
    target = text;
    dlg.OnChangeInput();
  }
  // Picks item and mode, types the inputs the item uses, and presses Calculate.
  void Calculate(int item, int mode, const std::string& in1, const std::string& in2 = "",
                 const std::string& in3 = "") {
    PickItem(item);
    PickMode(mode);
    Type(1, in1);
    if (item >= 2) Type(2, in2);
    if (item == 3) Type(3, in3);
    dlg.OnCalc();
  }
};
