// Every published verification value of the basic, saturation, boundary and backward equations,
// read from the release's own table and compared after rounding to the digits it prints.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "if97/detail/backward.h"
#include "if97/detail/lines.h"
#include "if97/detail/regions.h"

namespace {

using namespace if97::detail;

struct CheckRow {
  std::string equation, x1Name, output, value;
  double x1, x2;
  int digits;
};

std::vector<CheckRow> ReadCheckValues() {
  std::ifstream in(IF97_CHECK_VALUES);
  std::vector<CheckRow> rows;
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    std::vector<std::string> f;
    std::stringstream ss(line);
    std::string field;
    while (std::getline(ss, field, '\t')) f.push_back(field);
    if (f.size() != 10) continue;
    rows.push_back({f[0], f[2], f[6], f[8], std::strtod(f[3].c_str(), nullptr),
                    f[5].empty() ? 0.0 : std::strtod(f[5].c_str(), nullptr), std::stoi(f[9])});
  }
  return rows;
}

// The value rounded to `digits` significant digits, as printed.
std::string Rounded(double v, int digits) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", digits - 1, v);
  return buf;
}

double PropsOutput(const Props& pr, const std::string& out) {
  const std::map<std::string, double> m = {{"v", pr.v},   {"h", pr.h}, {"u", pr.u}, {"s", pr.s},
                                           {"cp", pr.cp}, {"w", pr.w}, {"p", pr.p}};
  return m.at(out);
}

// Each equation of the table by its name there: x1, x2 in the table's order and units (K, MPa).
double Evaluate(const CheckRow& r) {
  using F = std::function<double(double, double)>;
  const auto one = [](double (*f)(double)) { return F([f](double x, double) { return f(x); }); };
  const std::map<std::string, F> eq = {
      {"region4_psat", one(SatPressureK)}, {"region4_Tsat", one(SatTemperatureK)},
      {"b23_p", one(B23Pressure)},         {"b23_T", one(B23Temperature)},
      {"b2bc_p", one(B2bcPressure)},       {"b2bc_h", one(B2bcEnthalpy)},
      {"b3ab", one(B3abEnthalpy)},         {"b2ab", one(B2abEnthalpy)},
      {"p3sat_h", one(Region3SatPFromH)},  {"p3sat_s", one(Region3SatPFromS)},
      {"region1_T_ph", Region1TFromPH},    {"region1_T_ps", Region1TFromPS},
      {"region2a_T_ph", Region2aTFromPH},  {"region2b_T_ph", Region2bTFromPH},
      {"region2c_T_ph", Region2cTFromPH},  {"region2a_T_ps", Region2aTFromPS},
      {"region2b_T_ps", Region2bTFromPS},  {"region2c_T_ps", Region2cTFromPS},
      {"region3a_T_ph", Region3aTFromPH},  {"region3b_T_ph", Region3bTFromPH},
      {"region3a_v_ph", Region3aVFromPH},  {"region3b_v_ph", Region3bVFromPH},
      {"region3a_T_ps", Region3aTFromPS},  {"region3b_T_ps", Region3bTFromPS},
      {"region3a_v_ps", Region3aVFromPS},  {"region3b_v_ps", Region3bVFromPS},
      {"region1_p_hs", Region1PFromHS},    {"region2a_p_hs", Region2aPFromHS},
      {"region2b_p_hs", Region2bPFromHS},  {"region2c_p_hs", Region2cPFromHS},
  };
  const std::map<std::string, Props (*)(double, double)> basic = {
      {"region1", Region1}, {"region2", Region2}, {"region5", Region5}};
  if (r.equation == "region3") return PropsOutput(Region3(r.x2, r.x1), r.output);
  if (basic.count(r.equation)) return PropsOutput(basic.at(r.equation)(r.x2, r.x1), r.output);
  return eq.at(r.equation)(r.x1, r.x2);
}

TEST(CheckValues, EveryPublishedValueToAllPrintedDigits) {
  const std::vector<CheckRow> rows = ReadCheckValues();
  ASSERT_EQ(rows.size(), 150u) << "cannot read " << IF97_CHECK_VALUES;
  for (const CheckRow& r : rows) {
    SCOPED_TRACE(r.equation + " " + r.x1Name + "=" + std::to_string(r.x1) + " " + r.output);
    const double published = std::strtod(r.value.c_str(), nullptr);
    EXPECT_EQ(Rounded(Evaluate(r), r.digits), Rounded(published, r.digits));
  }
}

// Between 4 and 6.546699678 MPa all of region 2 is subregion 2b for T(p, h), where Eq. 21 has
// no real value below 4.5258 MPa: the backward temperature stays within its 10 mK there.
TEST(BackwardEquations, Region2FromFourTo6Point5MPaIsSubregion2b) {
  for (double p : {4.0001, 4.44, 5.0, 6.5}) {
    for (double T : {600.0, 777.0, 1000.0}) {
      EXPECT_NEAR(Region2TFromPH(p, Region2(p, T).h), T, 0.010) << p << " MPa, " << T << " K";
    }
  }
}

}  // namespace
