// Units beyond the form: each conversion against its defining value in both directions, round
// trips, the gauge pressure's absolute zero on both sides, the captions, and the settings text.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "calc/units.h"

using namespace calc;

namespace {

Units Make(const std::string& text) {
  std::string error;
  const auto units = ParseUnits(text, error);
  EXPECT_TRUE(units) << text << ": " << error;
  return units.value_or(Units{});
}

// One ulp of the larger magnitude on either side of a conversion.
double Ulp(double a, double b) {
  const double m = std::max(std::fabs(a), std::fabs(b));
  return std::nextafter(m, INFINITY) - m;
}

enum class Q { P, T, H, S, V };
double Out(Q q, double x, const Units& u) {
  switch (q) {
    case Q::P: return PressureOut(x, u);
    case Q::T: return TemperatureOut(x, u);
    case Q::H: return EnthalpyOut(x, u);
    case Q::S: return EntropyOut(x, u);
    default: return VolumeOut(x, u);
  }
}
double In(Q q, double x, const Units& u) {
  switch (q) {
    case Q::P: return PressureIn(x, u).value_or(NAN);
    case Q::T: return TemperatureIn(x, u);
    case Q::H: return EnthalpyIn(x, u);
    case Q::S: return EntropyIn(x, u);
    default: return VolumeIn(x, u);
  }
}

struct DefiningRow {
  const char* units;
  Q quantity;
  double engine, shown;  // the same amount in the engine's unit and in the chosen one
};
constexpr DefiningRow kDefining[] = {
    {"p=MPa", Q::P, 22.064, 22.064},
    {"p=kPa", Q::P, 0.101325, 101.325},
    {"p=bar", Q::P, 0.1, 1},
    {"p=bar", Q::P, 22.064, 220.64},
    {"p=kgf", Q::P, 0.0980665, 1},  // 1 kgf/cm² = 98 066.5 Pa
    {"p=MPag", Q::P, 0.101325, 0},
    {"p=MPag", Q::P, 1.101325, 1},
    {"p=kPag", Q::P, 0.201325, 100},
    {"p=barg,atm=0.1", Q::P, 1.1, 10},
    {"p=kgfg,atm=0.0980665", Q::P, 0.196133, 1},
    {"t=C", Q::T, 100, 100},
    {"t=K", Q::T, 0, 273.15},
    {"t=K", Q::T, 373.946, 647.096},  // the IF97 critical temperature
    {"t=K", Q::T, -273.15, 0},
    {"h=kcal", Q::H, 4.1868, 1},  // the International Table calorie
    {"h=kcal", Q::H, 2675.6, 639.05608101652814},
    {"h=kJ", Q::H, 2675.6, 2675.6},
    {"h=kcal", Q::S, 4.1868, 1},
    {"h=kcal", Q::S, 7.3549, 1.7566876851055699},
    {"v=v", Q::V, 0.001043, 0.001043},
    {"v=rho", Q::V, 0.001, 1000},
    {"v=rho", Q::V, 0.5, 2},
};

}  // namespace

TEST(Units, EachConversionMeetsItsDefiningValueInBothDirections) {
  for (const DefiningRow& row : kDefining) {
    SCOPED_TRACE(std::string(row.units) + " " + std::to_string(row.engine));
    const Units u = Make(row.units);
    EXPECT_NEAR(Out(row.quantity, row.engine, u), row.shown, 2 * Ulp(row.engine, row.shown));
    EXPECT_NEAR(In(row.quantity, row.shown, u), row.engine, 2 * Ulp(row.engine, row.shown));
  }
}

TEST(Units, TheWholeFactorsAreExact) {
  EXPECT_EQ(PressureOut(0.1, Make("p=kPa")), 100.0);
  EXPECT_EQ(PressureIn(100, Make("p=kPa")), 0.1);
  EXPECT_EQ(PressureOut(0.1, Make("p=bar")), 1.0);
  EXPECT_EQ(PressureIn(1, Make("p=bar")), 0.1);
  EXPECT_EQ(PressureOut(kKgfPerCm2InMPa, Make("p=kgf")), 1.0);
  EXPECT_EQ(PressureIn(1, Make("p=kgf")), 0.0980665);
  EXPECT_EQ(EnthalpyOut(kKcalInKJ, Make("h=kcal")), 1.0);
  EXPECT_EQ(EnthalpyIn(1, Make("h=kcal")), 4.1868);
  EXPECT_EQ(TemperatureOut(0, Make("t=K")), 273.15);
  // The default units leave every value as it is, negative pressures included.
  for (double x : {-1.0, 0.0, 0.611657e-3, 22.12, 1e9}) {
    EXPECT_EQ(PressureIn(x, Units{}), x);
    EXPECT_EQ(PressureOut(x, Units{}), x);
    EXPECT_EQ(TemperatureIn(x, Units{}), x);
    EXPECT_EQ(EnthalpyIn(x, Units{}), x);
    EXPECT_EQ(VolumeOut(x, Units{}), x);
  }
}

TEST(Units, EveryUnitGoesOutAndComesBackWithinAnUlp) {
  const char* choices[] = {"p=kPa",  "p=bar",  "p=kgf", "p=MPag", "p=kPag", "p=barg,atm=0.0953",
                         "p=kgfg", "t=K",    "h=kcal", "v=rho"};
  const double values[] = {0.000611657, 0.0101, 0.101325, 1, 3.5, 16.53, 22.064, 100, 373.946, 2675.6};
  for (const char* choice : choices) {
    const Units u = Make(choice);
    for (Q q : {Q::P, Q::T, Q::H, Q::S, Q::V}) {
      for (double x : values) {
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
  struct Row {
    const char* units;
    double shown;
    bool accepted;
  };
  const Row rows[] = {
      {"p=MPag", -0.2, false},
      {"p=MPag", -0.1013, true},
      {"p=MPag", -0.1014, false},
      {"p=MPag,atm=0.09", -0.09, true},  // the absolute zero itself
      {"p=MPag,atm=0.09", -0.0901, false},
      {"p=kPag", -101.3, true},
      {"p=kPag", -101.4, false},
      {"p=barg", -1.013, true},
      {"p=barg", -1.014, false},
      {"p=kgfg", -1.033, true},
      {"p=kgfg", -1.034, false},
      {"p=MPag", NAN, false},
      {"p=MPa", -0.2, true},  // absolute: the engines give their own reason
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.units) + " " + std::to_string(row.shown));
    const auto p = PressureIn(row.shown, Make(row.units));
    EXPECT_EQ(p.has_value(), row.accepted);
    if (p && Make(row.units).gauge) {
      EXPECT_GE(*p, 0.0);
    }
  }
}

TEST(Units, CaptionsNameEveryUnitAndMarkGauge) {
  struct Row {
    const char* units;
    const char* p;
    const char* t;
    const char* h;
    const char* s;
    const char* v;
    const char* volume;
  };
  const Row rows[] = {
      {"", "MPa", "℃", "kJ/kg", "kJ/(kg·K)", "m³/kg", "比容"},
      {"p=MPag", "MPa(表压)", "℃", "kJ/kg", "kJ/(kg·K)", "m³/kg", "比容"},
      {"p=kPa,t=K", "kPa", "K", "kJ/kg", "kJ/(kg·K)", "m³/kg", "比容"},
      {"p=barg,h=kcal", "bar(表压)", "℃", "kcal/kg", "kcal/(kg·K)", "m³/kg", "比容"},
      {"p=kgf,v=rho", "kgf/cm²", "℃", "kJ/kg", "kJ/(kg·K)", "kg/m³", "密度"},
      {"p=kgfg", "kgf/cm²(表压)", "℃", "kJ/kg", "kJ/(kg·K)", "m³/kg", "比容"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.units);
    const Units u = Make(row.units);
    EXPECT_EQ(PressureName(u), row.p);
    EXPECT_EQ(TemperatureName(u), row.t);
    EXPECT_EQ(EnthalpyName(u), row.h);
    EXPECT_EQ(EntropyName(u), row.s);
    EXPECT_EQ(VolumeName(u), row.v);
    EXPECT_EQ(VolumeCaption(u), row.volume);
  }
  EXPECT_EQ(DescribeUnits(Make("p=kPag,atm=0.095,t=K,h=kcal,v=rho")),
            "压力 kPa(表压，当地大气压 0.095 MPa)，温度 K，焓 kcal/kg，熵 kcal/(kg·K)，密度 kg/m³");
  EXPECT_EQ(DescribeUnits(Units{}), "压力 MPa，温度 ℃，焓 kJ/kg，熵 kJ/(kg·K)，比容 m³/kg");
}

TEST(Units, TheSettingsTextReadsBackEveryCombination) {
  EXPECT_EQ(FormatUnits(Units{}), "p=MPa,atm=0.101325,t=C,h=kJ,v=v");
  int combinations = 0;
  for (PressureUnit p : {PressureUnit::MPa, PressureUnit::kPa, PressureUnit::bar, PressureUnit::kgfcm2})
    for (bool gauge : {false, true})
      for (double atm : {0.101325, 0.0953, 0.1})
        for (TemperatureUnit t : {TemperatureUnit::Celsius, TemperatureUnit::Kelvin})
          for (EnergyUnit h : {EnergyUnit::kJ, EnergyUnit::kcal})
            for (VolumeUnit v : {VolumeUnit::SpecificVolume, VolumeUnit::Density}) {
              const Units u{p, gauge, atm, t, h, v};
              const Units back = Make(FormatUnits(u));
              SCOPED_TRACE(FormatUnits(u));
              EXPECT_EQ(back.pressure, p);
              EXPECT_EQ(back.gauge, gauge);
              EXPECT_EQ(back.atmosphere, atm);
              EXPECT_EQ(back.temperature, t);
              EXPECT_EQ(back.energy, h);
              EXPECT_EQ(back.volume, v);
              ++combinations;
            }
  EXPECT_EQ(combinations, 4 * 2 * 3 * 2 * 2 * 2);
  EXPECT_EQ(FormatUnits(Make(" p = kgfg , atm=0.0953, t=K ")), "p=kgfg,atm=0.0953,t=K,h=kJ,v=v");
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
