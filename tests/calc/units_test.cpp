// Units beyond the form: defining values, round trips, the gauge's absolute zero, texts.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "calc/units.h"
#include "tests/support/units.h"

using namespace calc;

namespace {

// One ulp of the larger magnitude on either side of a conversion.
double Ulp(double a, double b) {
  const double m = std::max(std::fabs(a), std::fabs(b));
  return std::nextafter(m, INFINITY) - m;
}

enum class Q { P, T, H, S, V };
double Out(Q q, double x, const Units& u) {
  return q == Q::P ? PressureOut(x, u) : q == Q::T ? TemperatureOut(x, u)
       : q == Q::H ? EnthalpyOut(x, u)  : q == Q::S ? EntropyOut(x, u) : VolumeOut(x, u);
}
double In(Q q, double x, const Units& u) {
  return q == Q::P ? PressureIn(x, u).value_or(NAN) : q == Q::T ? TemperatureIn(x, u)
       : q == Q::H ? EnthalpyIn(x, u) : q == Q::S ? EntropyIn(x, u) : VolumeIn(x, u);
}

// The same amount in the engine's unit and in the chosen one; exact where the factor is whole or
// is the unit's own definition, else within two ulps.
struct DefiningRow { const char* units; Q quantity; double engine, shown; bool exact; };
constexpr DefiningRow kDefining[] = {
    {"", Q::P, -1, -1, true},              {"", Q::P, 1e9, 1e9, true},  // negative pressures too
    {"", Q::T, 0.611657e-3, 0.611657e-3, true}, {"", Q::H, 22.12, 22.12, true},
    {"", Q::V, 0.001043, 0.001043, true},  {"p=kPa", Q::P, 0.1, 100, true},
    {"p=kPa", Q::P, 0.101325, 101.325, false}, {"p=bar", Q::P, 0.1, 1, true},
    {"p=bar", Q::P, 22.064, 220.64, false}, {"p=kgf", Q::P, 0.0980665, 1, true},  // 98 066.5 Pa
    {"p=MPag", Q::P, 0.101325, 0, false},  {"p=MPag", Q::P, 1.101325, 1, false},
    {"p=kPag", Q::P, 0.201325, 100, false}, {"p=barg,atm=0.1", Q::P, 1.1, 10, false},
    {"p=kgfg,atm=0.0980665", Q::P, 0.196133, 1, false}, {"t=C", Q::T, 100, 100, true},
    {"t=K", Q::T, 0, 273.15, true},        {"t=K", Q::T, 373.946, 647.096, false},  // IF97's Tc
    {"t=K", Q::T, -273.15, 0, false},      {"h=kcal", Q::H, 4.1868, 1, true},  // the IT calorie
    {"h=kcal", Q::H, 2675.6, 639.05608101652814, false}, {"h=kJ", Q::H, 2675.6, 2675.6, true},
    {"h=kcal", Q::S, 4.1868, 1, true},     {"h=kcal", Q::S, 7.3549, 1.7566876851055699, false},
    {"v=rho", Q::V, 0.001, 1000, false},   {"v=rho", Q::V, 0.5, 2, true},
};

}  // namespace

TEST(Units, EachConversionMeetsItsDefiningValueInBothDirections) {
  for (const DefiningRow& row : kDefining) {
    SCOPED_TRACE(std::string(row.units) + " " + std::to_string(row.engine));
    const Units u = UnitsOf(row.units);
    const double tol = row.exact ? 0 : 2 * Ulp(row.engine, row.shown);
    EXPECT_NEAR(Out(row.quantity, row.engine, u), row.shown, tol);
    EXPECT_NEAR(In(row.quantity, row.shown, u), row.engine, tol);
  }
}

TEST(Units, EveryUnitGoesOutAndComesBackWithinAnUlp) {
  for (const char* choice : {"p=kPa", "p=bar", "p=kgf", "p=MPag", "p=kPag", "p=barg,atm=0.0953",
                             "p=kgfg", "t=K", "h=kcal", "v=rho"}) {
    const Units u = UnitsOf(choice);
    for (Q q : {Q::P, Q::T, Q::H, Q::S, Q::V}) {
      for (double x : {0.000611657, 0.0101, 0.101325, 1.0, 3.5, 16.53, 22.064, 100.0, 373.946,
                       2675.6}) {
        SCOPED_TRACE(std::string(choice) + " " + std::to_string(int(q)) + " " + std::to_string(x));
        const double shown = Out(q, x, u);
        // A gauge value carries the atmosphere's rounding as well: its ulp is the atmosphere's.
        const double slack = u.gauge && q == Q::P ? Ulp(shown, u.atmosphere * 1000) : 0;
        EXPECT_NEAR(In(q, shown, u), x, 2 * Ulp(x, shown) + 2 * slack);
      }
    }
  }
}

TEST(Units, AGaugePressureBelowTheAbsoluteZeroIsRefused) {
  struct Row { const char* units; double shown; bool accepted; };
  const Row rows[] = {
      {"p=MPag", -0.1013, true},  {"p=MPag", -0.1014, false},
      {"p=MPag,atm=0.09", -0.09, true},  // the absolute zero itself
      {"p=MPag,atm=0.09", -0.0901, false}, {"p=kgfg", -1.033, true}, {"p=kgfg", -1.034, false},
      {"p=MPag", NAN, false},    {"p=MPa", -0.2, true},  // absolute: the engines give their reason
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.units) + " " + std::to_string(row.shown));
    const auto p = PressureIn(row.shown, UnitsOf(row.units));
    EXPECT_EQ(p.has_value(), row.accepted);
    if (p && UnitsOf(row.units).gauge) {
      EXPECT_GE(*p, 0.0);
    }
  }
}

TEST(Units, CaptionsNameEveryUnitAndMarkGauge) {
  struct Row { const char *units, *p, *t, *h, *s, *v, *volume; };
  const Row rows[] = {
      {"", "MPa", "℃", "kJ/kg", "kJ/(kg·K)", "m³/kg", "比容"},
      {"p=kPa,t=K", "kPa", "K", "kJ/kg", "kJ/(kg·K)", "m³/kg", "比容"},
      {"p=barg,h=kcal", "bar(表压)", "℃", "kcal/kg", "kcal/(kg·K)", "m³/kg", "比容"},
      {"p=kgf,v=rho", "kgf/cm²", "℃", "kJ/kg", "kJ/(kg·K)", "kg/m³", "密度"},
  };
  for (const Row& row : rows) {
    const Units u = UnitsOf(row.units);
    EXPECT_EQ(PressureName(u) + "|" + TemperatureName(u) + "|" + EnthalpyName(u) + "|" +
                  EntropyName(u) + "|" + VolumeName(u) + "|" + VolumeCaption(u),
              std::string(row.p) + "|" + row.t + "|" + row.h + "|" + row.s + "|" + row.v + "|" +
                  row.volume);
  }
  EXPECT_EQ(DescribeUnits(UnitsOf("p=kPag,atm=0.095,t=K,h=kcal,v=rho")),
            "压力 kPa(表压，当地大气压 0.095 MPa)，温度 K，焓 kcal/kg，熵 kcal/(kg·K)，密度 kg/m³");
  EXPECT_EQ(DescribeUnits(Units{}), "压力 MPa，温度 ℃，焓 kJ/kg，熵 kJ/(kg·K)，比容 m³/kg");
}

TEST(Units, TheSettingsTextReadsBackEveryCombination) {
  EXPECT_EQ(FormatUnits(Units{}), "p=MPa,atm=0.101325,t=C,h=kJ,v=v");
  for (PressureUnit p : {PressureUnit::MPa, PressureUnit::kPa, PressureUnit::bar, PressureUnit::kgfcm2})
    for (bool gauge : {false, true})
      for (double atm : {0.101325, 0.0953, 0.1})
        for (TemperatureUnit t : {TemperatureUnit::Celsius, TemperatureUnit::Kelvin})
          for (EnergyUnit h : {EnergyUnit::kJ, EnergyUnit::kcal})
            for (VolumeUnit v : {VolumeUnit::SpecificVolume, VolumeUnit::Density}) {
              const Units u{p, gauge, atm, t, h, v}, back = UnitsOf(FormatUnits(u));
              SCOPED_TRACE(FormatUnits(u));
              EXPECT_TRUE(back.pressure == p && back.gauge == gauge && back.atmosphere == atm &&
                          back.temperature == t && back.energy == h && back.volume == v);
            }
  EXPECT_EQ(FormatUnits(UnitsOf(" p = kgfg , atm=0.0953, t=K ")), "p=kgfg,atm=0.0953,t=K,h=kJ,v=v");
}

TEST(Units, ABadTextIsRefusedNamingTheField) {
  for (const char* text : {"p=psi", "p=mpa", "atm=0", "atm=1", "atm=-0.1", "atm=abc", "atm=0.1x",
                           "atm=", "atm=nan", "t=F", "h=J", "v=m3", "x=1", "p", "p=MPa,,t=K"}) {
    SCOPED_TRACE(text);
    std::string error;
    EXPECT_FALSE(ParseUnits(text, error));
    EXPECT_NE(error.find("bad unit"), std::string::npos);
    EXPECT_NE(error.find("p=MPa|kPa|bar|kgf"), std::string::npos);
  }
  std::string error;
  ParseUnits("p=MPa,t=F", error);
  EXPECT_NE(error.find("\"t=F\""), std::string::npos);
}
