// The calculation form without calculating: opening state, items, modes, labels, enabled inputs,
// the Calculate enabling rule, and the solution buttons over stored results.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "form/calcdlg.h"
#include "form/recordwindow.h"
#include "form/resource.h"
#include "form_fixture.h"

namespace {

using Strings = std::vector<std::string>;

TEST(CalcForm, OpensOnSaturatedWaterByPressure) {
  CRecordWindow window;
  // Placeholder texts of the template, which the first exchange must replace.
  window.controls.m_strLabel2 = "Static";
  window.controls.m_strUnit3 = "Static";
  CCalcDlg dlg(window);
  dlg.OnInitDialog();
  const CalcFormData& shown = window.controls;
  EXPECT_EQ(window.items, Strings({"饱和水", "饱和蒸汽", "任意状态水或水蒸汽", "等熵焓降末点"}));
  EXPECT_EQ(window.modes, Strings({"压力", "温度"}));
  EXPECT_EQ(shown.m_nItem, 0);
  EXPECT_EQ(shown.m_nMode, 0);
  EXPECT_EQ(shown.m_nSolution, 0);
  EXPECT_EQ(shown.m_strLabel1, "计算点压力");
  EXPECT_EQ(shown.m_strUnit1, "MPa");
  for (const std::string* text : {&shown.m_strLabel2, &shown.m_strLabel3, &shown.m_strUnit2,
                                  &shown.m_strUnit3, &shown.m_strInput1, &shown.m_strInput2,
                                  &shown.m_strInput3, &shown.m_strPressure, &shown.m_strTemperature,
                                  &shown.m_strEnthalpy, &shown.m_strEntropy, &shown.m_strVolume}) {
    EXPECT_EQ(*text, "");
  }
  EXPECT_EQ(shown.m_strState, "未知");
  EXPECT_TRUE(window.IsControlEnabled(IDC_INPUT1));
  EXPECT_FALSE(window.IsControlEnabled(IDC_INPUT2));
  EXPECT_FALSE(window.IsControlEnabled(IDC_INPUT3));
  EXPECT_FALSE(window.IsControlEnabled(IDC_CALC));
  EXPECT_TRUE(window.IsControlEnabled(IDC_EXIT));
  EXPECT_TRUE(window.IsControlEnabled(IDC_SOLUTION1));
  EXPECT_FALSE(window.IsControlEnabled(IDC_SOLUTION2));
  EXPECT_EQ(window.writes, 1);
  EXPECT_EQ(window.reads, 0);
  EXPECT_EQ(dlg.m_nSolutions, 1);
  EXPECT_FALSE(dlg.m_bFailed);
}

struct ModeRow {
  int item;
  int mode;
  const char* label1;
  const char* unit1;
  const char* label2;
  const char* unit2;
  const char* label3;
  const char* unit3;
  bool input2;
  bool input3;
};

const ModeRow kModeRows[] = {
    {0, 0, "计算点压力", "MPa", "", "", "", "", false, false},
    {0, 1, "计算点温度", "℃", "", "", "", "", false, false},
    {1, 0, "计算点压力", "MPa", "", "", "", "", false, false},
    {1, 1, "计算点温度", "℃", "", "", "", "", false, false},
    {2, 0, "计算点压力", "MPa", "计算点温度", "℃", "", "", true, false},
    {2, 1, "计算点压力", "MPa", "计算点熵", "kJ/(kg*K)", "", "", true, false},
    {2, 2, "计算点压力", "MPa", "计算点焓", "kJ/kg", "", "", true, false},
    {2, 3, "计算点温度", "℃", "计算点熵", "kJ/(kg*K)", "", "", true, false},
    {2, 4, "计算点温度", "℃", "计算点焓", "kJ/kg", "", "", true, false},
    {3, 0, "起始点压力", "MPa", "起始点温度", "℃", "末点压力", "MPa", true, true},
    {3, 1, "起始点压力", "MPa", "起始点温度", "℃", "末点温度", "℃", true, true},
};

const Strings kModeLists[] = {
    {"压力", "温度"},
    {"压力", "温度"},
    {"压力和温度", "压力和熵", "压力和焓", "温度和熵", "温度和焓"},
    {"末点压力", "末点温度"},
};

void ExpectRow(FormUnderTest& form, const ModeRow& row) {
  const CalcFormData& shown = form.shown();
  EXPECT_EQ(shown.m_nItem, row.item);
  EXPECT_EQ(shown.m_nMode, row.mode);
  EXPECT_EQ(shown.m_strLabel1, row.label1);
  EXPECT_EQ(shown.m_strUnit1, row.unit1);
  EXPECT_EQ(shown.m_strLabel2, row.label2);
  EXPECT_EQ(shown.m_strUnit2, row.unit2);
  EXPECT_EQ(shown.m_strLabel3, row.label3);
  EXPECT_EQ(shown.m_strUnit3, row.unit3);
  EXPECT_TRUE(form.enabled(IDC_INPUT1));
  EXPECT_EQ(form.enabled(IDC_INPUT2), row.input2);
  EXPECT_EQ(form.enabled(IDC_INPUT3), row.input3);
  EXPECT_EQ(form.window.modes, kModeLists[row.item]);
}

TEST(CalcForm, EveryItemAndModeShowsItsLabelsUnitsAndInputs) {
  // Reached from every other item, so that nothing of the previous row can survive.
  for (int from = 0; from < 4; ++from) {
    for (const ModeRow& row : kModeRows) {
      SCOPED_TRACE(testing::Message() << "from item " << from << ", item " << row.item
                                      << " mode " << row.mode);
      FormUnderTest form;
      form.PickItem(from);
      form.PickMode(static_cast<int>(kModeLists[from].size()) - 1);
      form.PickItem(row.item);
      EXPECT_EQ(form.shown().m_nMode, 0);
      form.PickMode(row.mode);
      ExpectRow(form, row);
    }
  }
}

TEST(CalcForm, ModeListsMatchTheItems) {
  for (int item = 0; item < 4; ++item) EXPECT_EQ(CCalcDlg::ModeTexts(item), kModeLists[item]);
  EXPECT_TRUE(CCalcDlg::ModeTexts(-1).empty());
  EXPECT_TRUE(CCalcDlg::ModeTexts(4).empty());
}

TEST(CalcForm, ItemChangeResetsTheModeAndKeepsInputsResultsAndSolutionButtons) {
  FormUnderTest form;
  form.PickItem(2);
  form.PickMode(3);
  form.Type(1, "100");
  form.Type(2, "2.5");
  CalcFormData& shown = form.shown();
  shown.m_strPressure = "P";
  shown.m_strTemperature = "T";
  shown.m_strEnthalpy = "H";
  shown.m_strEntropy = "S";
  shown.m_strVolume = "V";
  shown.m_strState = "STATE";
  shown.m_nSolution = 1;
  form.dlg.m_nSolutions = 2;
  form.window.EnableControl(IDC_SOLUTION2, true);

  form.PickItem(1);
  ExpectRow(form, kModeRows[2]);
  EXPECT_EQ(shown.m_strInput1, "100");
  EXPECT_EQ(shown.m_strInput2, "2.5");
  EXPECT_EQ(shown.m_strPressure, "P");
  EXPECT_EQ(shown.m_strTemperature, "T");
  EXPECT_EQ(shown.m_strEnthalpy, "H");
  EXPECT_EQ(shown.m_strEntropy, "S");
  EXPECT_EQ(shown.m_strVolume, "V");
  EXPECT_EQ(shown.m_strState, "STATE");
  EXPECT_EQ(shown.m_nSolution, 1);
  EXPECT_EQ(form.dlg.m_nSolutions, 2);
  EXPECT_TRUE(form.enabled(IDC_SOLUTION2));
}

TEST(CalcForm, ModeChangeKeepsInputsAndResultsAndLeavesCalculateAlone) {
  FormUnderTest form;
  form.PickItem(3);
  form.Type(1, "10");
  form.Type(2, "500");
  form.Type(3, "0.1");
  form.shown().m_strState = "STATE";
  form.shown().m_strVolume = "V";
  form.window.enableCalls.clear();
  form.PickMode(1);
  EXPECT_EQ(form.shown().m_strInput1, "10");
  EXPECT_EQ(form.shown().m_strInput2, "500");
  EXPECT_EQ(form.shown().m_strInput3, "0.1");
  EXPECT_EQ(form.shown().m_strState, "STATE");
  EXPECT_EQ(form.shown().m_strVolume, "V");
  // Inputs 2 and 3 are enabled in that order; Calculate is not re-evaluated.
  const std::vector<std::pair<int, bool>> calls = {{IDC_INPUT2, true}, {IDC_INPUT3, true}};
  EXPECT_EQ(form.window.enableCalls, calls);
}

TEST(CalcForm, UnknownItemChangesNothingButIsWrittenBack) {
  FormUnderTest form;
  form.PickItem(2);
  form.PickMode(2);
  for (int item : {-1, 4}) {
    SCOPED_TRACE(item);
    const int writes = form.window.writes;
    form.window.enableCalls.clear();
    form.PickItem(item);
    EXPECT_EQ(form.window.writes, writes + 1);
    EXPECT_TRUE(form.window.enableCalls.empty());
    EXPECT_EQ(form.window.modes, kModeLists[2]);
    EXPECT_EQ(form.shown().m_nItem, item);
    EXPECT_EQ(form.shown().m_nMode, 2);
    EXPECT_EQ(form.shown().m_strLabel2, "计算点焓");
  }
  // A mode change under an unknown item does nothing either.
  form.window.enableCalls.clear();
  form.PickMode(0);
  EXPECT_TRUE(form.window.enableCalls.empty());
  EXPECT_EQ(form.shown().m_strLabel2, "计算点焓");
}

TEST(CalcForm, UnknownModeLeavesTheLabelsOfThatModeAlone) {
  struct Row {
    int item;
    const char* label1;
    const char* label2;
    const char* label3;
  };
  // What the item always sets is set; what would come from the mode's row keeps its old text.
  const Row rows[] = {{0, "x1", "", ""},
                      {1, "x1", "", ""},
                      {2, "x1", "x2", ""},
                      {3, "起始点压力", "起始点温度", "x3"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.item);
    FormUnderTest form;
    form.PickItem(row.item);
    form.shown().m_strLabel1 = "x1";
    form.shown().m_strLabel2 = "x2";
    form.shown().m_strLabel3 = "x3";
    form.PickMode(7);
    const CalcFormData& shown = form.shown();
    EXPECT_EQ(shown.m_strLabel1, row.label1);
    EXPECT_EQ(shown.m_strLabel2, row.label2);
    EXPECT_EQ(shown.m_strLabel3, row.label3);
    EXPECT_EQ(form.enabled(IDC_INPUT2), row.item >= 2);
    EXPECT_EQ(form.enabled(IDC_INPUT3), row.item == 3);
  }
}

struct EnableStep {
  int item;      // −1: keep the item
  int field;     // 0: no typing
  const char* text;
  bool calc;     // Calculate enabled afterwards
};

TEST(CalcForm, CalculateIsEnabledOnceEveryEnabledInputHoldsText) {
  const EnableStep steps[] = {
      {-1, 1, "1", true},      // item 0 needs input 1 only
      {-1, 1, "", false},      // deleting the last character disables at once
      {-1, 1, " ", true},      // a blank counts as text
      {-1, 1, "abc", true},    // so does text that is not a number
      {1, -1, nullptr, true},  // item 1: input 1 still holds text
      {2, 0, nullptr, false},  // item 2 needs input 2 as well
      {-1, 2, "2", true},
      {-1, 2, "", false},
      {-1, 2, "0", true},
      {3, 0, nullptr, false},  // item 3 with input 3 empty
      {-1, 3, "5", true},
      {-1, 2, "", false},
      {-1, 2, "7", true},
      {0, 0, nullptr, true},   // inputs 2 and 3 hold stale text but are ignored
      {-1, 1, "", false},      // ... and do not stand in for input 1
      {2, 0, nullptr, false},
      {-1, 1, "1", true},      // stale input 2 counts again once enabled
      {3, 0, nullptr, true},
      {-1, 3, "", false},
      {1, 0, nullptr, true},
  };
  FormUnderTest form;
  int n = 0;
  for (const EnableStep& step : steps) {
    SCOPED_TRACE(testing::Message() << "step " << n++);
    if (step.item >= 0) form.PickItem(step.item);
    if (step.field > 0) form.Type(step.field, step.text);
    EXPECT_EQ(form.enabled(IDC_CALC), step.calc);
  }
}

TEST(CalcForm, UpdateCalcButtonJudgesTheMembersAsLastRead) {
  FormUnderTest form;
  form.shown().m_strInput1 = "1";  // typed, but no change event delivered yet
  form.dlg.UpdateCalcButton();
  EXPECT_FALSE(form.enabled(IDC_CALC));
  form.dlg.OnChangeInput();
  EXPECT_TRUE(form.enabled(IDC_CALC));
}

// A record window that also notes which controls the form asks about.
class CQueryLogWindow : public CRecordWindow {
 public:
  bool IsControlEnabled(int id) const override {
    queries.push_back(id);
    return CRecordWindow::IsControlEnabled(id);
  }
  mutable std::vector<int> queries;
};

TEST(CalcForm, UpdateCalcButtonAsksAboutInputsThreeTwoOne) {
  CQueryLogWindow window;
  CCalcDlg dlg(window);
  dlg.OnInitDialog();
  window.controls.m_strInput1 = "1";
  window.queries.clear();
  window.enableCalls.clear();
  dlg.OnChangeInput();
  EXPECT_EQ(window.queries, std::vector<int>({IDC_INPUT3, IDC_INPUT2, IDC_INPUT1}));
  const std::vector<std::pair<int, bool>> calls = {{IDC_CALC, true}};
  EXPECT_EQ(window.enableCalls, calls);
}

TEST(CalcForm, ExitReadsEveryMember) {
  FormUnderTest form;
  form.shown().m_strInput1 = "42";
  form.shown().m_nSolution = 1;
  form.dlg.OnExit();
  EXPECT_EQ(form.dlg.m_strInput1, "42");
  EXPECT_EQ(form.dlg.m_nSolution, 1);
}

// The solution buttons over a stored two-solution result.
void StoreTwoSolutions(CCalcDlg& dlg) {
  dlg.m_nSolutions = 2;
  dlg.m_fT = 100.0f;
  dlg.m_fP = 0.1f;
  dlg.m_fH = 425.0f;
  dlg.m_fS = 1.32f;
  dlg.m_fV = 0.0045f;
  dlg.m_fX1 = 0.25f;
  dlg.m_nState1 = 2;
  dlg.m_fP2 = 8.5f;
  dlg.m_fH2 = 425.0f;
  dlg.m_fS2 = 1.3f;
  dlg.m_fV2 = 0.00104f;
  dlg.m_fX2 = 0.0f;
  dlg.m_nState2 = 1;
}

TEST(SolutionButtons, SwitchBetweenTheStoredSolutions) {
  FormUnderTest form;
  StoreTwoSolutions(form.dlg);
  form.dlg.OnSolution2();
  const CalcFormData& shown = form.shown();
  EXPECT_EQ(shown.m_nSolution, 1);
  EXPECT_EQ(shown.m_strTemperature, "100.000000 ℃");
  EXPECT_EQ(shown.m_strPressure, "8.500000 MPa");
  EXPECT_EQ(shown.m_strEnthalpy, "425.000000 kJ/kg");
  EXPECT_EQ(shown.m_strEntropy, "1.300000 kJ/(kg*K)");
  EXPECT_EQ(shown.m_strVolume, "0.001040 m**3/kg");
  EXPECT_EQ(shown.m_strState, "不饱和水");

  // Clicking the checked button again writes nothing.
  const int writes = form.window.writes;
  form.dlg.OnSolution2();
  EXPECT_EQ(form.window.writes, writes);

  form.dlg.OnSolution1();
  EXPECT_EQ(shown.m_nSolution, 0);
  EXPECT_EQ(shown.m_strPressure, "0.100000 MPa");
  EXPECT_EQ(shown.m_strEntropy, "1.320000 kJ/(kg*K)");
  EXPECT_EQ(shown.m_strVolume, "0.004500 m**3/kg");
  EXPECT_EQ(shown.m_strState, "饱和水或饱和蒸汽或湿蒸汽,干度=0.250000");
  form.dlg.OnSolution1();
  EXPECT_EQ(form.window.writes, writes + 1);
}

TEST(SolutionButtons, ShowTheirOwnFailureText) {
  FormUnderTest form;
  StoreTwoSolutions(form.dlg);
  form.dlg.m_bFailed = true;
  form.dlg.OnSolution2();
  EXPECT_EQ(form.shown().m_strState, "计算有误");
  EXPECT_EQ(form.shown().m_strPressure, "8.500000 MPa");
  form.dlg.OnSolution1();
  EXPECT_EQ(form.shown().m_strState, "计算有误");
}

TEST(SolutionButtons, DoNothingWithASingleSolution) {
  FormUnderTest form;
  StoreTwoSolutions(form.dlg);
  for (int count : {1, 0}) {
    form.dlg.m_nSolutions = count;
    const int writes = form.window.writes;
    form.dlg.OnSolution2();
    form.dlg.OnSolution1();
    EXPECT_EQ(form.window.writes, writes);
    EXPECT_EQ(form.dlg.m_nSolution, 0);
  }
}

}  // namespace
