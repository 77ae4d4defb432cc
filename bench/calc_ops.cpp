// Calculate on the form, for every item and mode, with inputs that reach each branch. Built
// against whichever engine the executable links (the form itself is the same source).
#include <memory>
#include <string>
#include <vector>

#include "bench/ops.h"
#include "form/formsession.h"

namespace kelm_ops {
namespace {

struct CalcCase {
  const char* name;
  int item, mode;
  const char* in1;
  const char* in2;
  const char* in3;
};

// Items: 0 saturated water, 1 saturated steam (mode 0 pressure, 1 temperature); 2 any state
// (0 p t, 1 p s, 2 p h, 3 t s, 4 t h); 3 isentropic end point (0 p1 t1 p2, 1 p1 t1 t2).
constexpr CalcCase kCases[] = {
    {"Calc/satwater-p/1MPa", 0, 0, "1", "", ""},
    {"Calc/satwater-p/20MPa", 0, 0, "20", "", ""},
    {"Calc/satwater-t/200C", 0, 1, "200", "", ""},
    {"Calc/satwater-t/360C", 0, 1, "360", "", ""},
    {"Calc/satsteam-p/1MPa", 1, 0, "1", "", ""},
    {"Calc/satsteam-p/20MPa", 1, 0, "20", "", ""},
    {"Calc/satsteam-t/200C", 1, 1, "200", "", ""},
    {"Calc/satsteam-t/360C", 1, 1, "360", "", ""},
    {"Calc/pt/sub1", 2, 0, "1", "100", ""},
    {"Calc/pt/sub2", 2, 0, "1", "400", ""},
    {"Calc/pt/sub3", 2, 0, "30", "400", ""},
    {"Calc/pt/sub4", 2, 0, "20", "360", ""},
    {"Calc/pt/sub3-worst", 2, 0, "19.5507", "373.6", ""},
    {"Calc/pt/sub4-worst", 2, 0, "73.4007", "353.4", ""},
    {"Calc/ps/water", 2, 1, "10", "2", ""},
    {"Calc/ps/wet", 2, 1, "1", "4", ""},
    {"Calc/ps/steam", 2, 1, "1", "7", ""},
    {"Calc/ps/supercritical", 2, 1, "30", "5", ""},
    {"Calc/ps/nearcrit-water", 2, 1, "22", "4", ""},
    {"Calc/ps/nearcrit-steam", 2, 1, "22", "5", ""},
    {"Calc/ps/worst", 2, 1, "22.2", "4.29", ""},
    {"Calc/ph/water", 2, 2, "10", "1000", ""},
    {"Calc/ph/wet", 2, 2, "1", "2000", ""},
    {"Calc/ph/steam", 2, 2, "1", "3000", ""},
    {"Calc/ph/supercritical", 2, 2, "30", "2500", ""},
    {"Calc/ph/nearcrit-water", 2, 2, "22", "1950", ""},
    {"Calc/ph/nearcrit-steam", 2, 2, "22", "2300", ""},
    {"Calc/ph/worst", 2, 2, "19.65", "2585", ""},
    {"Calc/ts/water", 2, 3, "200", "2.31", ""},
    {"Calc/ts/wet", 2, 3, "200", "4", ""},
    {"Calc/ts/steam", 2, 3, "200", "7", ""},
    {"Calc/ts/supercritical", 2, 3, "300", "3.12", ""},
    {"Calc/ts/nearcrit", 2, 3, "374", "4.3", ""},
    {"Calc/ts/worst", 2, 3, "377.25", "4.43", ""},
    {"Calc/th/wet+water", 2, 4, "100", "420", ""},
    {"Calc/th/steam", 2, 4, "200", "2850", ""},
    {"Calc/th/above-374C", 2, 4, "400", "2900", ""},
    {"Calc/th/none-above-374C", 2, 4, "380", "2200", ""},
    {"Calc/th/nearcrit", 2, 4, "374", "2100", ""},
    {"Calc/th/worst", 2, 4, "372.5", "2590", ""},
    {"Calc/isentropic-p/10-0.1MPa", 3, 0, "10", "500", "0.1"},
    {"Calc/isentropic-p/25-22MPa", 3, 0, "25", "450", "22"},
    {"Calc/isentropic-p/worst", 3, 0, "30", "394.012177", "22.2"},
    {"Calc/isentropic-t/10MPa-100C", 3, 1, "10", "500", "100"},
    {"Calc/isentropic-t/25MPa-374C", 3, 1, "25", "450", "374"},
};
constexpr int kCaseCount = int(sizeof kCases / sizeof kCases[0]);

// A form with the case's item, mode and inputs picked and typed, ready for Calculate.
CFormSession& Prepared(int index) {
  static std::vector<std::unique_ptr<CFormSession>> forms(kCaseCount);
  if (!forms[index]) {
    const CalcCase& c = kCases[index];
    const char* const inputs[3] = {c.in1, c.in2, c.in3};
    forms[index] = std::make_unique<CFormSession>();
    forms[index]->PickItem(c.item);
    forms[index]->PickMode(c.mode);
    for (int i = 0; i < 3; ++i) forms[index]->Type(i + 1, inputs[i]);
  }
  return *forms[index];
}

void RunCalc(int index) {
  CFormSession& form = Prepared(index);
  form.ClickCalculate();
  Sink(double(form.form.m_fH));
}

std::vector<Op> MakeOps() {
  std::vector<Op> ops;
  for (int i = 0; i < kCaseCount; ++i) ops.push_back({kCases[i].name, RunCalc, i});
  return ops;
}
const std::vector<Op> kCalcOps = MakeOps();
const Registrar kRegistrar(kCalcOps.data(), int(kCalcOps.size()));

}  // namespace
}  // namespace kelm_ops
