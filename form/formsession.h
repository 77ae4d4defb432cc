// The calculation form opened on a window without a screen and worked as a user works it: pick
// the item and the mode, type the inputs, click Calculate, click a solution button. The one driver
// of the form for the command line, the tests, the fuzz harnesses and the benchmarks.
#pragma once

#include <string>
#include <vector>

#include "form/calcdlg.h"
#include "form/format.h"
#include "form/recordwindow.h"

class CFormSession {
 public:
  CFormSession();  // opens the form

  // Picks an item, then a mode from the list the item put up, each by its index or by its exact
  // list text. Returns an empty string, or why there is no such entry (the lists' entries named).
  std::string Pick(const std::string& item, const std::string& mode);
  void PickItem(int item);
  void PickMode(int mode);
  // Input 1, 2 or 3 ends up holding `text`, as after typing, pasting or deleting.
  void Type(int input, const std::string& text);
  // Clicks Calculate; false, and nothing happens, while it is disabled.
  bool ClickCalculate();
  // Clicks solution button 1 or 2; a disabled button ignores the click.
  void ClickSolution(int button);

  int InputsUsed() const;                  // the enabled inputs, 1 to 3
  ResultTexts Texts() const;               // the six result fields as shown
  std::string InputName(int input) const;  // "input 2 (计算点温度, ℃)"

  CRecordWindow window;  // what the controls show, and what the form did to them
  CCalcDlg form{window};
};

// One calculation as a user enters it: item and mode by index or list text, and the texts typed
// into the inputs in order (never parsed here).
struct FormRequest {
  std::string item;
  std::string mode;
  std::vector<std::string> inputs;
};

struct FormOutcome {
  ResultTexts shown;   // after Calculate
  int solutions = 1;   // m_nSolutions
  ResultTexts second;  // after clicking "2" when there are two solutions; else empty
};

// How the given inputs meet the inputs the item uses. Exact: every used input and no more.
// UsedOnly: more are ignored, as the form ignores its disabled inputs; a missing one is empty.
enum class InputMatch { Exact, UsedOnly };

// Runs the request on a fresh form: pick, type, Calculate, and "2" when there are two solutions.
// Returns an empty string and fills `outcome`, or why the form could not calculate: an unknown
// item or mode, a missing or extra input, an input the item uses left empty.
std::string CalculateOnForm(const FormRequest& request, InputMatch match, FormOutcome& outcome);

// The same up to the point where Calculate would be clicked: the item and mode picked and the
// used inputs as typed (unused ones empty), for a calculation the form itself does not make.
struct FormReading {
  Item item = Item::SatWater;
  Mode mode = Mode::Pressure;
  int inputs = 1;        // the inputs the item uses
  std::string input[3];  // as typed
};
std::string ReadOnForm(const FormRequest& request, InputMatch match, FormReading& reading);

// A user-supplied text made safe to quote in a message: printable UTF-8 kept, control
// characters and bytes that are not UTF-8 written as \xHH, cut after 60 bytes.
std::string Quote(const std::string& text);
