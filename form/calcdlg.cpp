#include "form/calcdlg.h"

#include <cmath>

#include "engine/constants.h"
#include "engine/entrypoints.h"
#include "engine/solvers.h"
#include "engine/statepoint.h"
#include "form/format.h"

namespace {

// Label and unit of each of the three inputs for one item and mode.
struct InputRow {
  const char* label1;
  const char* unit1;
  const char* label2;
  const char* unit2;
  const char* label3;
  const char* unit3;
};

constexpr InputRow kSaturationRows[] = {
    {"计算点压力", "MPa", "", "", "", ""},
    {"计算点温度", "℃", "", "", "", ""},
};
constexpr InputRow kAnyStateRows[] = {
    {"计算点压力", "MPa", "计算点温度", "℃", "", ""},
    {"计算点压力", "MPa", "计算点熵", "kJ/(kg*K)", "", ""},
    {"计算点压力", "MPa", "计算点焓", "kJ/kg", "", ""},
    {"计算点温度", "℃", "计算点熵", "kJ/(kg*K)", "", ""},
    {"计算点温度", "℃", "计算点焓", "kJ/kg", "", ""},
};
constexpr InputRow kIsentropicRows[] = {
    {"起始点压力", "MPa", "起始点温度", "℃", "末点压力", "MPa"},
    {"起始点压力", "MPa", "起始点温度", "℃", "末点温度", "℃"},
};

// The row of an item and mode, or nullptr when either is unknown.
const InputRow* FindRow(int item, int mode) {
  auto pick = [mode](const InputRow* rows, int count) -> const InputRow* {
    return mode >= 0 && mode < count ? &rows[mode] : nullptr;
  };
  switch (item) {
    case 0:
    case 1:
      return pick(kSaturationRows, 2);
    case 2:
      return pick(kAnyStateRows, 5);
    case 3:
      return pick(kIsentropicRows, 2);
    default:
      return nullptr;
  }
}

// Pressure ×10 in the form the entry points take it: the product rounded to float (exact in
// double, so the same as a float multiplication, overflow to infinity included).
float Times10(float value) { return static_cast<float>(value * 10.0); }

// The engine never answers NaN or infinity by contract; if it ever did, the calculation counts
// as failed and the value shown is the engine's usual failure sentinel instead of "nan".
double Checked(double value, double sentinel, bool& failed) {
  if (std::isfinite(value)) return value;
  failed = true;
  return sentinel;
}

// "check": a non-zero status marks the calculation as failed.
void Check(long long status, bool& failed) {
  if (status != 0) failed = true;
}

}  // namespace

CCalcDlg::CCalcDlg(IFormWindow& window) : m_window(window) {}

const std::vector<std::string>& CCalcDlg::ItemTexts() {
  static const std::vector<std::string> items = {"饱和水", "饱和蒸汽", "任意状态水或水蒸汽",
                                                 "等熵焓降末点"};
  return items;
}

const std::vector<std::string>& CCalcDlg::ModeTexts(int item) {
  static const std::vector<std::string> saturation = {"压力", "温度"};
  static const std::vector<std::string> anyState = {"压力和温度", "压力和熵", "压力和焓",
                                                    "温度和熵", "温度和焓"};
  static const std::vector<std::string> isentropic = {"末点压力", "末点温度"};
  static const std::vector<std::string> none;
  switch (item) {
    case 0:
    case 1:
      return saturation;
    case 2:
      return anyState;
    case 3:
      return isentropic;
    default:
      return none;
  }
}

void CCalcDlg::OnInitDialog() {
  m_window.InsertMode(0, "压力");
  m_window.InsertMode(1, "温度");
  m_strLabel1 = "计算点压力";
  m_strUnit1 = "MPa";
  m_window.UpdateData(*this, false);
  m_window.EnableControl(IDC_SOLUTION2, false);
}

void CCalcDlg::SetLabels(int item, int mode, bool set1, bool set2, bool set3) {
  const InputRow* row = FindRow(item, mode);
  if (row == nullptr) return;
  if (set1) {
    m_strLabel1 = row->label1;
    m_strUnit1 = row->unit1;
  }
  if (set2) {
    m_strLabel2 = row->label2;
    m_strUnit2 = row->unit2;
  }
  if (set3) {
    m_strLabel3 = row->label3;
    m_strUnit3 = row->unit3;
  }
}

void CCalcDlg::OnSelChangeItem() {
  m_window.UpdateData(*this, true);
  if (m_nItem >= 0 && m_nItem <= 3) {
    m_window.ClearModeList();
    const std::vector<std::string>& modes = ModeTexts(m_nItem);
    for (int i = 0; i < static_cast<int>(modes.size()); ++i) m_window.InsertMode(i, modes[i]);
    m_nMode = 0;
    SetLabels(m_nItem, 0, true, true, true);
    // Inputs 2 and 3 follow the item: item 2 uses two inputs, item 3 all three.
    m_window.EnableControl(IDC_INPUT2, m_nItem >= 2);
    m_window.EnableControl(IDC_INPUT3, m_nItem == 3);
    UpdateCalcButton();
  }
  m_window.UpdateData(*this, false);
}

void CCalcDlg::OnSelChangeMode() {
  m_window.UpdateData(*this, true);
  switch (m_nItem) {
    case 0:
    case 1:
      SetLabels(m_nItem, m_nMode, true, false, false);
      m_strLabel2.clear();
      m_strLabel3.clear();
      m_strUnit2.clear();
      m_strUnit3.clear();
      m_window.EnableControl(IDC_INPUT2, false);
      m_window.EnableControl(IDC_INPUT3, false);
      break;
    case 2:
      SetLabels(m_nItem, m_nMode, true, true, false);
      m_strLabel3.clear();
      m_strUnit3.clear();
      m_window.EnableControl(IDC_INPUT2, true);
      m_window.EnableControl(IDC_INPUT3, false);
      break;
    case 3:
      m_strLabel1 = "起始点压力";
      m_strUnit1 = "MPa";
      m_strLabel2 = "起始点温度";
      m_strUnit2 = "℃";
      SetLabels(m_nItem, m_nMode, false, false, true);
      m_window.EnableControl(IDC_INPUT2, true);
      m_window.EnableControl(IDC_INPUT3, true);
      break;
    default:
      break;
  }
  m_window.UpdateData(*this, false);
}

void CCalcDlg::OnChangeInput() {
  m_window.UpdateData(*this, true);
  UpdateCalcButton();
}

void CCalcDlg::UpdateCalcButton() {
  bool enable = true;
  if (m_window.IsControlEnabled(IDC_INPUT3) && m_strInput3.empty()) enable = false;
  if (m_window.IsControlEnabled(IDC_INPUT2) && m_strInput2.empty()) enable = false;
  if (m_window.IsControlEnabled(IDC_INPUT1) && m_strInput1.empty()) enable = false;
  m_window.EnableControl(IDC_CALC, enable);
}

void CCalcDlg::ShowSolution(float p, float h, float s, float v, int state, float x) {
  m_strTemperature = FormatTemperature(m_fT);
  m_strPressure = FormatPressure(p);
  m_strEnthalpy = FormatEnthalpy(h);
  m_strEntropy = FormatEntropy(s);
  m_strVolume = FormatVolume(v);
  m_strState = StateText(state, x);
}

void CCalcDlg::OnCalc() {
  m_window.UpdateData(*this, true);
  bool failed = false;
  int status = 0;

  // Sentinel outputs of a failed solve, used if the engine ever answered a non-finite value.
  constexpr double kSentinel = 10.0;
  constexpr double kSentinelX = 1.0;

  const bool saturation = (m_nItem == 0 || m_nItem == 1) && (m_nMode == 0 || m_nMode == 1);
  if (saturation) {
    const bool water = m_nItem == 0;
    m_fIn1 = ParseInput(m_strInput1);
    if (m_nMode == 0) {
      m_fP = m_fIn1;
      const float p10 = Times10(m_fIn1);
      m_fT = static_cast<float>(Checked(SatTByP(p10, &status), kSentinel, failed));
      Check(status, failed);
      m_fH = static_cast<float>(
          Checked(water ? SatWaterHByP(p10, &status) : SatSteamHByP(p10, &status), kSentinel,
                  failed));
      Check(status, failed);
      m_fS = static_cast<float>(
          Checked(water ? SatWaterSByP(p10, &status) : SatSteamSByP(p10, &status), kSentinel,
                  failed));
      Check(status, failed);
      m_fV = static_cast<float>(
          Checked(water ? SatWaterVByP(p10, &status) : SatSteamVByP(p10, &status), kSentinel,
                  failed));
      Check(status, failed);
    } else {
      m_fT = m_fIn1;
      // SatPByT answers the pressure ×10; the product with 0.1 is taken in double precision.
      m_fP = static_cast<float>(Checked(SatPByT(m_fIn1, &status), kSentinel, failed) * 0.1);
      Check(status, failed);
      if (water) {
        m_fH = static_cast<float>(Checked(SatWaterHByT(m_fIn1, &status), kSentinel, failed));
        Check(status, failed);
        m_fS = static_cast<float>(Checked(SatWaterSByT(m_fIn1, &status), kSentinel, failed));
        Check(status, failed);
        m_fV = static_cast<float>(Checked(SatWaterVByT(m_fIn1, &status), kSentinel, failed));
        Check(status, failed);
      } else {
        m_fH = static_cast<float>(Checked(SatSteamHByT(m_fIn1, &status), kSentinel, failed));
        Check(status, failed);
        // No steam entropy or volume by temperature: both come through the pressure just found.
        const float p10 = Times10(m_fP);
        m_fS = static_cast<float>(Checked(SatSteamSByP(p10, &status), kSentinel, failed));
        Check(status, failed);
        m_fV = static_cast<float>(Checked(SatSteamVByP(p10, &status), kSentinel, failed));
        Check(status, failed);
      }
    }
    m_strState = failed ? kCalcFailedText : (water ? "饱和水" : "饱和蒸汽");
    m_strTemperature = FormatTemperature(m_fT);
    m_strPressure = FormatPressure(m_fP);
    m_strEnthalpy = FormatEnthalpy(m_fH);
    m_strEntropy = FormatEntropy(m_fS);
    m_strVolume = FormatVolume(m_fV);
    m_nSolutions = 1;
    m_nSolution = 0;
    m_window.EnableControl(IDC_SOLUTION2, false);
  } else if (m_nItem == 2 && m_nMode >= 0 && m_nMode <= 4) {
    m_nSolutions = 1;
    m_nSolution = 0;
    m_window.EnableControl(IDC_SOLUTION2, false);
    m_fIn1 = ParseInput(m_strInput1);
    m_fIn2 = ParseInput(m_strInput2);
    int state = SC_UNKNOWN;
    float x = -1.0f;
    double t = 0.0, p = 0.0, h = 0.0, s = 0.0, v = 0.0, xd = 0.0;
    switch (m_nMode) {
      case 0: {
        m_fP = m_fIn1;
        m_fT = m_fIn2;
        m_fH = static_cast<float>(Checked(PointProp(m_fIn2, m_fIn1, PK_H, state), kSentinel, failed));
        Check(CalcStatus, failed);
        m_fS = static_cast<float>(Checked(PointProp(m_fIn2, m_fIn1, PK_S, state), kSentinel, failed));
        Check(CalcStatus, failed);
        m_fV = static_cast<float>(Checked(PointProp(m_fIn2, m_fIn1, PK_V, state), kSentinel, failed));
        Check(CalcStatus, failed);
        x = -1.0f;
        break;
      }
      case 1:
        m_fS = m_fIn2;
        m_fP = m_fIn1;
        state = SolveTFromPS(m_fIn1, m_fIn2, t, v, h, xd);
        Check(CalcStatus, failed);
        m_fT = static_cast<float>(Checked(t, kSentinel, failed));
        m_fV = static_cast<float>(Checked(v, kSentinel, failed));
        m_fH = static_cast<float>(Checked(h, kSentinel, failed));
        x = static_cast<float>(Checked(xd, kSentinelX, failed));
        break;
      case 2:
        m_fH = m_fIn2;
        m_fP = m_fIn1;
        state = SolveTFromPH(m_fIn1, m_fIn2, t, v, s, xd);
        Check(CalcStatus, failed);
        m_fT = static_cast<float>(Checked(t, kSentinel, failed));
        m_fV = static_cast<float>(Checked(v, kSentinel, failed));
        m_fS = static_cast<float>(Checked(s, kSentinel, failed));
        x = static_cast<float>(Checked(xd, kSentinelX, failed));
        break;
      case 3:
        m_fS = m_fIn2;
        m_fT = m_fIn1;
        state = SolvePFromTS(m_fIn1, m_fIn2, p, v, h, xd);
        Check(CalcStatus, failed);
        m_fP = static_cast<float>(Checked(p, kSentinel, failed));
        m_fV = static_cast<float>(Checked(v, kSentinel, failed));
        m_fH = static_cast<float>(Checked(h, kSentinel, failed));
        x = static_cast<float>(Checked(xd, kSentinelX, failed));
        break;
      case 4: {
        m_fH = m_fIn2;
        m_fT = m_fIn1;
        // Slots the solver leaves unwritten (no solution) keep these values; they are shown only
        // when the count says the slot holds a solution.
        double p1 = 0.0, v1 = 0.0, s1 = 0.0, x1 = 0.0, p2 = 0.0, v2 = 0.0, s2 = 0.0, x2 = 0.0;
        int state1 = SC_UNKNOWN, state2 = SC_UNKNOWN;
        m_nSolutions = SolvePFromTH(m_fIn1, m_fIn2, p1, v1, s1, x1, state1, p2, v2, s2, x2, state2);
        Check(CalcStatus, failed);
        if (m_nSolutions == 2) m_window.EnableControl(IDC_SOLUTION2, true);
        if (m_nSolutions >= 1) {
          m_fP = static_cast<float>(Checked(p1, kSentinel, failed));
          m_fV = static_cast<float>(Checked(v1, kSentinel, failed));
          m_fS = static_cast<float>(Checked(s1, kSentinel, failed));
          m_fX1 = static_cast<float>(Checked(x1, kSentinelX, failed));
          m_nState1 = state1;
        }
        if (m_nSolutions == 2) {
          m_fP2 = static_cast<float>(Checked(p2, kSentinel, failed));
          m_fV2 = static_cast<float>(Checked(v2, kSentinel, failed));
          m_fS2 = static_cast<float>(Checked(s2, kSentinel, failed));
          m_fX2 = static_cast<float>(Checked(x2, kSentinelX, failed));
          m_nState2 = state2;
          m_fH2 = m_fH;
        }
        m_bFailed = failed;
        state = m_nState1;
        x = m_fX1;
        break;
      }
    }
    m_strTemperature = FormatTemperature(m_fT);
    if (m_nSolutions == 0) {
      m_strEnthalpy = FormatEnthalpy(m_fH);
      m_strState = failed ? kCalcFailedText : "未知";
      m_strPressure.clear();
      m_strEntropy.clear();
      m_strVolume.clear();
    } else {
      ShowSolution(m_fP, m_fH, m_fS, m_fV, state, x);
      if (failed) m_strState = kCalcFailedText;
    }
  } else if (m_nItem == 3 && (m_nMode == 0 || m_nMode == 1)) {
    m_nSolutions = 1;
    m_nSolution = 0;
    m_window.EnableControl(IDC_SOLUTION2, false);
    m_fIn1 = ParseInput(m_strInput1);
    m_fIn2 = ParseInput(m_strInput2);
    m_fIn3 = ParseInput(m_strInput3);
    int state = SC_UNKNOWN;
    double t = 0.0, p = 0.0, h = 0.0, s = 0.0, v = 0.0, xd = 0.0;
    if (m_nMode == 0) {
      // IsentropicEndH reports through its out-parameter only (its order and minimum checks
      // leave CalcStatus alone), so that is what is checked.
      const double h2 = Checked(IsentropicEndH(m_fIn2, Times10(m_fIn1), Times10(m_fIn3), &status),
                                kSentinel, failed);
      Check(status, failed);
      // The end point again from p2 in MPa as parsed (not the ×10 form) and the enthalpy found.
      state = SolveTFromPH(m_fIn3, h2, t, v, s, xd);
      Check(CalcStatus, failed);
      m_fH = static_cast<float>(h2);
      m_fP = m_fIn3;
      m_fT = static_cast<float>(Checked(t, kSentinel, failed));
      m_fV = static_cast<float>(Checked(v, kSentinel, failed));
      m_fS = static_cast<float>(Checked(s, kSentinel, failed));
    } else {
      int startState = SC_UNKNOWN;
      const double s1 = Checked(PointProp(m_fIn2, m_fIn1, PK_S, startState), kSentinel, failed);
      Check(CalcStatus, failed);
      state = SolvePFromTS(m_fIn3, s1, p, v, h, xd);
      Check(CalcStatus, failed);
      m_fP = static_cast<float>(Checked(p, kSentinel, failed));
      m_fT = m_fIn3;
      m_fH = static_cast<float>(Checked(h, kSentinel, failed));
      m_fV = static_cast<float>(Checked(v, kSentinel, failed));
      m_fS = static_cast<float>(s1);
    }
    const float x = static_cast<float>(Checked(xd, kSentinelX, failed));
    ShowSolution(m_fP, m_fH, m_fS, m_fV, state, x);
    if (failed) m_strState = kCalcFailedText;
  }
  // An unknown item or mode computes nothing: the members read are written back unchanged.
  m_window.UpdateData(*this, false);
}

void CCalcDlg::OnSolution1() {
  // Compares the click with the member, which still holds the previous choice.
  if (m_nSolution == 0 || m_nSolutions <= 1) return;
  m_nSolution = 0;
  ShowSolution(m_fP, m_fH, m_fS, m_fV, m_nState1, m_fX1);
  if (m_bFailed) m_strState = kSolutionFailedText;
  m_window.UpdateData(*this, false);
}

void CCalcDlg::OnSolution2() {
  if (m_nSolution == 1 || m_nSolutions < 2) return;
  m_nSolution = 1;
  ShowSolution(m_fP2, m_fH2, m_fS2, m_fV2, m_nState2, m_fX2);
  if (m_bFailed) m_strState = kSolutionFailedText;
  m_window.UpdateData(*this, false);
}

void CCalcDlg::OnExit() { m_window.UpdateData(*this, true); }
