// Calculations found by fuzzing the form, kept as they show on the form.
#include <gtest/gtest.h>

#include <initializer_list>

#include "engine/constants.h"
#include "engine/statepoint.h"
#include "form/parse.h"
#include "form_fixture.h"

namespace {

// Above 374.15 °C the pressure search for an entropy of exactly 10 kJ/(kg·K) used to stop on a
// trial below 0.0007 MPa, where the state-point function answers its sentinel 10: the form
// showed a pressure like 0.000001 MPa and "计算或参数有误" for a valid superheated state.
TEST(FormRobustness, EntropyTenAboveTheCriticalTemperatureIsSuperheatedSteam) {
  for (const char* t : {"374.17", "374.53", "375.14"}) {
    SCOPED_TRACE(t);
    FormUnderTest form;
    form.Calculate(2, 3, t, "10");
    EXPECT_EQ(form.shown().m_strState, "过热蒸汽");
    EXPECT_EQ(form.shown().m_strEntropy, "10.000000 kJ/(kg*K)");
    // The pressure shown is the state's: its entropy at the typed temperature is 10 again.
    const double p = form.dlg.m_fP;
    EXPECT_GT(p, 0.0035);
    int state = 0;
    EXPECT_NEAR(PointProp(ParseInput(t), p, PK_S, state), 10.0, 2e-6);
    EXPECT_EQ(CalcStatus, 0u);
  }
}

}  // namespace
