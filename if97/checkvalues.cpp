#include "if97/checkvalues.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "if97/detail/backward.h"
#include "if97/detail/lines.h"
#include "if97/detail/regions.h"

namespace if97 {
namespace {

using namespace detail;

// Every computer-program verification value of IAPWS R7-97(2012) (basic equations Eqs. 7, 15-17,
// 28, 32-34; saturation line Eqs. 30, 31; boundaries Eqs. 5, 6, 20, 21; backward Eqs. 11, 13,
// 22-27), IAPWS SR3-03(2014) (Eqs. 1-11) and IAPWS SR2-01(2014) (Eqs. 1-5), as printed.
// Inputs in the releases' units: T K, p MPa, ρ kg/m³, h kJ/kg, s kJ/(kg·K).
constexpr CheckValue kValues[] = {
    {"region1", 300, 3, "v", "0.100215168e-2", 9},
    {"region1", 300, 3, "h", "0.115331273e3", 9},
    {"region1", 300, 3, "u", "0.112324818e3", 9},
    {"region1", 300, 3, "s", "0.392294792", 9},
    {"region1", 300, 3, "cp", "0.417301218e1", 9},
    {"region1", 300, 3, "w", "0.150773921e4", 9},
    {"region1", 300, 80, "v", "0.971180894e-3", 9},
    {"region1", 300, 80, "h", "0.184142828e3", 9},
    {"region1", 300, 80, "u", "0.106448356e3", 9},
    {"region1", 300, 80, "s", "0.368563852", 9},
    {"region1", 300, 80, "cp", "0.401008987e1", 9},
    {"region1", 300, 80, "w", "0.163469054e4", 9},
    {"region1", 500, 3, "v", "0.120241800e-2", 9},
    {"region1", 500, 3, "h", "0.975542239e3", 9},
    {"region1", 500, 3, "u", "0.971934985e3", 9},
    {"region1", 500, 3, "s", "0.258041912e1", 9},
    {"region1", 500, 3, "cp", "0.465580682e1", 9},
    {"region1", 500, 3, "w", "0.124071337e4", 9},
    {"region2", 300, 0.0035, "v", "0.394913866e2", 9},
    {"region2", 300, 0.0035, "h", "0.254991145e4", 9},
    {"region2", 300, 0.0035, "u", "0.241169160e4", 9},
    {"region2", 300, 0.0035, "s", "0.852238967e1", 9},
    {"region2", 300, 0.0035, "cp", "0.191300162e1", 9},
    {"region2", 300, 0.0035, "w", "0.427920172e3", 9},
    {"region2", 700, 0.0035, "v", "0.923015898e2", 9},
    {"region2", 700, 0.0035, "h", "0.333568375e4", 9},
    {"region2", 700, 0.0035, "u", "0.301262819e4", 9},
    {"region2", 700, 0.0035, "s", "0.101749996e2", 9},
    {"region2", 700, 0.0035, "cp", "0.208141274e1", 9},
    {"region2", 700, 0.0035, "w", "0.644289068e3", 9},
    {"region2", 700, 30, "v", "0.542946619e-2", 9},
    {"region2", 700, 30, "h", "0.263149474e4", 9},
    {"region2", 700, 30, "u", "0.246861076e4", 9},
    {"region2", 700, 30, "s", "0.517540298e1", 9},
    {"region2", 700, 30, "cp", "0.103505092e2", 9},
    {"region2", 700, 30, "w", "0.480386523e3", 9},
    {"region3", 650, 500, "p", "0.255837018e2", 9},
    {"region3", 650, 500, "h", "0.186343019e4", 9},
    {"region3", 650, 500, "u", "0.181226279e4", 9},
    {"region3", 650, 500, "s", "0.405427273e1", 9},
    {"region3", 650, 500, "cp", "0.138935717e2", 9},
    {"region3", 650, 500, "w", "0.502005554e3", 9},
    {"region3", 650, 200, "p", "0.222930643e2", 9},
    {"region3", 650, 200, "h", "0.237512401e4", 9},
    {"region3", 650, 200, "u", "0.226365868e4", 9},
    {"region3", 650, 200, "s", "0.485438792e1", 9},
    {"region3", 650, 200, "cp", "0.446579342e2", 9},
    {"region3", 650, 200, "w", "0.383444594e3", 9},
    {"region3", 750, 500, "p", "0.783095639e2", 9},
    {"region3", 750, 500, "h", "0.225868845e4", 9},
    {"region3", 750, 500, "u", "0.210206932e4", 9},
    {"region3", 750, 500, "s", "0.446971906e1", 9},
    {"region3", 750, 500, "cp", "0.634165359e1", 9},
    {"region3", 750, 500, "w", "0.760696041e3", 9},
    {"region5", 1500, 0.5, "v", "0.138455090e1", 9},
    {"region5", 1500, 0.5, "h", "0.521976855e4", 9},
    {"region5", 1500, 0.5, "u", "0.452749310e4", 9},
    {"region5", 1500, 0.5, "s", "0.965408875e1", 9},
    {"region5", 1500, 0.5, "cp", "0.261609445e1", 9},
    {"region5", 1500, 0.5, "w", "0.917068690e3", 9},
    {"region5", 1500, 30, "v", "0.230761299e-1", 9},
    {"region5", 1500, 30, "h", "0.516723514e4", 9},
    {"region5", 1500, 30, "u", "0.447495124e4", 9},
    {"region5", 1500, 30, "s", "0.772970133e1", 9},
    {"region5", 1500, 30, "cp", "0.272724317e1", 9},
    {"region5", 1500, 30, "w", "0.928548002e3", 9},
    {"region5", 2000, 30, "v", "0.311385219e-1", 9},
    {"region5", 2000, 30, "h", "0.657122604e4", 9},
    {"region5", 2000, 30, "u", "0.563707038e4", 9},
    {"region5", 2000, 30, "s", "0.853640523e1", 9},
    {"region5", 2000, 30, "cp", "0.288569882e1", 9},
    {"region5", 2000, 30, "w", "0.106736948e4", 9},
    {"region4_psat", 300, 0, "p", "0.353658941e-2", 9},
    {"region4_psat", 500, 0, "p", "0.263889776e1", 9},
    {"region4_psat", 600, 0, "p", "0.123443146e2", 9},
    {"region4_Tsat", 0.1, 0, "T", "0.372755919e3", 9},
    {"region4_Tsat", 1, 0, "T", "0.453035632e3", 9},
    {"region4_Tsat", 10, 0, "T", "0.584149488e3", 9},
    {"b23_p", 0.623150000e3, 0, "p", "0.165291643e2", 9},
    {"b23_T", 0.165291643e2, 0, "T", "0.623150000e3", 9},
    {"region1_T_ph", 3, 500, "T", "0.391798509e3", 9},
    {"region1_T_ph", 80, 500, "T", "0.378108626e3", 9},
    {"region1_T_ph", 80, 1500, "T", "0.611041229e3", 9},
    {"region1_T_ps", 3, 0.5, "T", "0.307842258e3", 9},
    {"region1_T_ps", 80, 0.5, "T", "0.309979785e3", 9},
    {"region1_T_ps", 80, 3, "T", "0.565899909e3", 9},
    {"b2bc_p", 0.3516004323e4, 0, "p", "0.100000000e3", 9},
    {"b2bc_h", 0.100000000e3, 0, "h", "0.3516004323e4", 10},
    {"region2a_T_ph", 0.001, 3000, "T", "0.534433241e3", 9},
    {"region2a_T_ph", 3, 3000, "T", "0.575373370e3", 9},
    {"region2a_T_ph", 3, 4000, "T", "0.101077577e4", 9},
    {"region2b_T_ph", 5, 3500, "T", "0.801299102e3", 9},
    {"region2b_T_ph", 5, 4000, "T", "0.101531583e4", 9},
    {"region2b_T_ph", 25, 3500, "T", "0.875279054e3", 9},
    {"region2c_T_ph", 40, 2700, "T", "0.743056411e3", 9},
    {"region2c_T_ph", 60, 2700, "T", "0.791137067e3", 9},
    {"region2c_T_ph", 60, 3200, "T", "0.882756860e3", 9},
    {"region2a_T_ps", 0.1, 7.5, "T", "0.399517097e3", 9},
    {"region2a_T_ps", 0.1, 8, "T", "0.514127081e3", 9},
    {"region2a_T_ps", 2.5, 8, "T", "0.103984917e4", 9},
    {"region2b_T_ps", 8, 6, "T", "0.600484040e3", 9},
    {"region2b_T_ps", 8, 7.5, "T", "0.106495556e4", 9},
    {"region2b_T_ps", 90, 6, "T", "0.103801126e4", 9},
    {"region2c_T_ps", 20, 5.75, "T", "0.697992849e3", 9},
    {"region2c_T_ps", 80, 5.25, "T", "0.854011484e3", 9},
    {"region2c_T_ps", 80, 5.75, "T", "0.949017998e3", 9},
    {"b3ab", 25, 0, "h", "2.095936454e3", 10},
    {"region3a_T_ph", 20, 1700, "T", "6.293083892e2", 10},
    {"region3a_T_ph", 50, 2000, "T", "6.905718338e2", 10},
    {"region3a_T_ph", 100, 2100, "T", "7.336163014e2", 10},
    {"region3a_v_ph", 20, 1700, "v", "1.749903962e-3", 10},
    {"region3a_v_ph", 50, 2000, "v", "1.908139035e-3", 10},
    {"region3a_v_ph", 100, 2100, "v", "1.676229776e-3", 10},
    {"region3b_T_ph", 20, 2500, "T", "6.418418053e2", 10},
    {"region3b_T_ph", 50, 2400, "T", "7.351848618e2", 10},
    {"region3b_T_ph", 100, 2700, "T", "8.420460876e2", 10},
    {"region3b_v_ph", 20, 2500, "v", "6.670547043e-3", 10},
    {"region3b_v_ph", 50, 2400, "v", "2.801244590e-3", 10},
    {"region3b_v_ph", 100, 2700, "v", "2.404234998e-3", 10},
    {"region3a_T_ps", 20, 3.8, "T", "6.282959869e2", 10},
    {"region3a_T_ps", 50, 3.6, "T", "6.297158726e2", 10},
    {"region3a_T_ps", 100, 4.0, "T", "7.056880237e2", 10},
    {"region3a_v_ps", 20, 3.8, "v", "1.733791463e-3", 10},
    {"region3a_v_ps", 50, 3.6, "v", "1.469680170e-3", 10},
    {"region3a_v_ps", 100, 4.0, "v", "1.555893131e-3", 10},
    {"region3b_T_ps", 20, 5.0, "T", "6.401176443e2", 10},
    {"region3b_T_ps", 50, 4.5, "T", "7.163687517e2", 10},
    {"region3b_T_ps", 100, 5.0, "T", "8.474332825e2", 10},
    {"region3b_v_ps", 20, 5.0, "v", "6.262101987e-3", 10},
    {"region3b_v_ps", 50, 4.5, "v", "2.332634294e-3", 10},
    {"region3b_v_ps", 100, 5.0, "v", "2.449610757e-3", 10},
    {"p3sat_h", 1700, 0, "p", "1.724175718e1", 10},
    {"p3sat_h", 2000, 0, "p", "2.193442957e1", 10},
    {"p3sat_h", 2400, 0, "p", "2.018090839e1", 10},
    {"p3sat_s", 3.8, 0, "p", "1.687755057e1", 10},
    {"p3sat_s", 4.2, 0, "p", "2.164451789e1", 10},
    {"p3sat_s", 5.2, 0, "p", "1.668968482e1", 10},
    {"region1_p_hs", 0.001, 0, "p", "9.800980612e-4", 10},
    {"region1_p_hs", 90, 0, "p", "9.192954727e1", 10},
    {"region1_p_hs", 1500, 3.4, "p", "5.868294423e1", 10},
    {"b2ab", 7, 0, "h", "3.376437884e3", 10},
    {"region2a_p_hs", 2800, 6.5, "p", "1.371012767", 10},
    {"region2a_p_hs", 2800, 9.5, "p", "1.879743844e-3", 10},
    {"region2a_p_hs", 4100, 9.5, "p", "1.024788997e-1", 10},
    {"region2b_p_hs", 2800, 6, "p", "4.793911442", 10},
    {"region2b_p_hs", 3600, 6, "p", "8.395519209e1", 10},
    {"region2b_p_hs", 3600, 7, "p", "7.527161441", 10},
    {"region2c_p_hs", 2800, 5.1, "p", "9.439202060e1", 10},
    {"region2c_p_hs", 2800, 5.8, "p", "8.414574124", 10},
    {"region2c_p_hs", 3400, 5.8, "p", "8.376903879e1", 10},
};

struct Equation {
  const char* name;
  double (*f)(double, double);
};
constexpr Equation kEquations[] = {
    {"region4_psat", [](double T, double) { return SatPressureK(T); }},
    {"region4_Tsat", [](double p, double) { return SatTemperatureK(p); }},
    {"b23_p", [](double T, double) { return B23Pressure(T); }},
    {"b23_T", [](double p, double) { return B23Temperature(p); }},
    {"b2bc_p", [](double h, double) { return B2bcPressure(h); }},
    {"b2bc_h", [](double p, double) { return B2bcEnthalpy(p); }},
    {"b3ab", [](double p, double) { return B3abEnthalpy(p); }},
    {"b2ab", [](double s, double) { return B2abEnthalpy(s); }},
    {"p3sat_h", [](double h, double) { return Region3SatPFromH(h); }},
    {"p3sat_s", [](double s, double) { return Region3SatPFromS(s); }},
    {"region1_T_ph", Region1TFromPH},
    {"region1_T_ps", Region1TFromPS},
    {"region2a_T_ph", Region2aTFromPH},
    {"region2b_T_ph", Region2bTFromPH},
    {"region2c_T_ph", Region2cTFromPH},
    {"region2a_T_ps", Region2aTFromPS},
    {"region2b_T_ps", Region2bTFromPS},
    {"region2c_T_ps", Region2cTFromPS},
    {"region3a_T_ph", Region3aTFromPH},
    {"region3b_T_ph", Region3bTFromPH},
    {"region3a_v_ph", Region3aVFromPH},
    {"region3b_v_ph", Region3bVFromPH},
    {"region3a_T_ps", Region3aTFromPS},
    {"region3b_T_ps", Region3bTFromPS},
    {"region3a_v_ps", Region3aVFromPS},
    {"region3b_v_ps", Region3bVFromPS},
    {"region1_p_hs", Region1PFromHS},
    {"region2a_p_hs", Region2aPFromHS},
    {"region2b_p_hs", Region2bPFromHS},
    {"region2c_p_hs", Region2cPFromHS},
};

double Output(const Props& pr, const char* out) {
  const struct {
    const char* name;
    double value;
  } outputs[] = {{"v", pr.v},   {"h", pr.h}, {"u", pr.u}, {"s", pr.s},
                 {"cp", pr.cp}, {"w", pr.w}, {"p", pr.p}};
  for (const auto& o : outputs)
    if (std::strcmp(o.name, out) == 0) return o.value;
  return NAN;
}

// The value with `digits` significant digits, as the releases print it.
std::string Rounded(double v, int digits) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*e", digits - 1, v);
  return text;
}

}  // namespace

std::span<const CheckValue> CheckValues() { return kValues; }

double Recompute(const CheckValue& c) {
  const std::string eq = c.equation;
  // The basic equations are given (T, p), or (T, ρ) in region 3.
  if (eq == "region1") return Output(Region1(c.x2, c.x1), c.output);
  if (eq == "region2") return Output(Region2(c.x2, c.x1), c.output);
  if (eq == "region5") return Output(Region5(c.x2, c.x1), c.output);
  if (eq == "region3") return Output(Region3(c.x2, c.x1), c.output);
  for (const Equation& e : kEquations)
    if (eq == e.name) return e.f(c.x1, c.x2);
  return NAN;
}

bool MatchesPublished(double computed, const CheckValue& c) {
  return Rounded(computed, c.digits) == Rounded(std::strtod(c.published, nullptr), c.digits);
}

}  // namespace if97
