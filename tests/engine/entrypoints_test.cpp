#include "engine/entrypoints.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>

#include "engine/constants.h"
#include "engine/satprops.h"
#include "engine/saturation.h"

namespace {

// One wrapper and the engine call it stands for, with its argument already converted.
struct Wrapper {
  const char* name;
  double (*entry)(float, int*);
  bool byPressure;
  double (*engine)(double);
};

const Wrapper Wrappers[] = {
    {"SatTByP", SatTByP, true, [](double p) { return SatTemperature(p); }},
    {"SatPByT", SatPByT, false, [](double t) { return SatPressure(t) * 10; }},
    {"SatWaterHByP", SatWaterHByP, true, [](double p) { return SatWaterProp(p, 0, PK_H); }},
    {"SatWaterSByP", SatWaterSByP, true, [](double p) { return SatWaterProp(p, 0, PK_S); }},
    {"SatWaterVByP", SatWaterVByP, true, [](double p) { return SatWaterProp(p, 0, PK_V); }},
    {"SatWaterHByT", SatWaterHByT, false, [](double t) { return SatWaterProp(t, 1, PK_H); }},
    {"SatWaterVByT", SatWaterVByT, false, [](double t) { return SatWaterProp(t, 1, PK_V); }},
    {"SatWaterSByT", SatWaterSByT, false, [](double t) { return SatWaterProp(t, 1, PK_S); }},
    {"SatSteamHByP", SatSteamHByP, true, [](double p) { return SatSteamProp(p, 0, PK_H); }},
    {"SatSteamSByP", SatSteamSByP, true, [](double p) { return SatSteamProp(p, 0, PK_S); }},
    {"SatSteamVByP", SatSteamVByP, true, [](double p) { return SatSteamProp(p, 0, PK_V); }},
    {"SatSteamHByT", SatSteamHByT, false, [](double t) { return SatSteamProp(t, 1, PK_H); }},
};

// Pressure arguments are MPa × 10 in single precision; temperatures are single precision too.
constexpr float PressureArgs[] = {1.0f, 0.007f, 3.0f, 50.8627396f, 165.0f, 221.19f, 221.2f};
constexpr float TemperatureArgs[] = {0.02f, 100.0f, 100.1f, 349.9f, 350.0f, 360.3f, 374.15f};

TEST(EntryPoints, EachWrapperMakesItsEngineCallWithWidenedArguments) {
  for (const Wrapper& w : Wrappers) {
    const float* first = w.byPressure ? std::begin(PressureArgs) : std::begin(TemperatureArgs);
    const float* last = w.byPressure ? std::end(PressureArgs) : std::end(TemperatureArgs);
    for (const float* a = first; a != last; ++a) {
      SCOPED_TRACE(testing::Message() << w.name << "(" << *a << ")");
      const double x = w.byPressure ? double(*a) * 0.1 : double(*a);
      const double expected = w.engine(x);
      ASSERT_EQ(CalcStatus, 0u);
      int status = -1;
      CalcStatus = 0xFFFF;
      EXPECT_EQ(w.entry(*a, &status), expected);
      EXPECT_EQ(status, 0);
      EXPECT_EQ(CalcStatus, 0u);
    }
  }
}

TEST(EntryPoints, PressureComesBackByTheDoubleTenthNotByDivision) {
  // 0.1 MPa is float 1 exactly, and 1 × 0.1 is the double 0.1.
  ASSERT_EQ(float(0.1 * 10), 1.0f);
  int status = -1;
  EXPECT_EQ(SatTByP(1.0f, &status), SatTemperature(0.1));
  EXPECT_EQ(status, 0);
  // For this argument p×10 × 0.1 and p×10 / 10 are different doubles giving different h′.
  const float p10 = 50.8627396f;
  ASSERT_NE(double(p10) * 0.1, double(p10) / 10);
  ASSERT_NE(SatWaterProp(double(p10) * 0.1, 0, PK_H), SatWaterProp(double(p10) / 10, 0, PK_H));
  EXPECT_EQ(SatWaterHByP(p10, &status), SatWaterProp(double(p10) * 0.1, 0, PK_H));
}

TEST(EntryPoints, FloatJustBelowTheLowestTemperatureIsRefused) {
  // 0.01f lies just below 0.01: the float is widened as it is, not rounded back to 0.01.
  int status = -1;
  ASSERT_LT(double(0.01f), 0.01);
  EXPECT_EQ(SatWaterHByT(0.01f, &status), 10.0);
  EXPECT_EQ(status, int(CS_T_LOW));
}

TEST(EntryPoints, TemperatureIsTheWidenedFloat) {
  int status = -1;
  ASSERT_NE(double(100.1f), 100.1);
  EXPECT_EQ(SatWaterHByT(100.1f, &status), SatWaterProp(double(100.1f), 1, PK_H));
  EXPECT_NE(SatWaterHByT(100.1f, &status), SatWaterProp(100.1, 1, PK_H));
}

TEST(EntryPoints, SatPByTReturnsTenTimesTheSaturationPressure) {
  int status = -1;
  EXPECT_EQ(SatPByT(100, &status), SatPressure(100) * 10);
  EXPECT_NEAR(SatPByT(100, &status), 1.0132526, 5e-6);
  EXPECT_EQ(status, 0);
  // Below 0.01 °C the saturation-pressure sentinel 1 comes back times 10.
  CalcStatus = 0;
  EXPECT_EQ(SatPByT(0.005f, &status), 10.0);
  EXPECT_EQ(status, int(CS_T_LOW));
  EXPECT_EQ(CalcStatus, CS_T_LOW);
}

// Failures: the engine's sentinel (×10 for SatPByT) and its flags, in the out-parameter too.
TEST(EntryPoints, FailureCopiesTheEngineFlags) {
  struct FailRow {
    float arg;
    std::uint32_t byPressure, byTemperature;
  };
  const FailRow rows[] = {{0.0069f, CS_P_LOW, CS_T_LOW},
                          {221.21f, CS_P_HIGH, CS_T_LOW},
                          {374.2f, CS_P_HIGH, CS_T_HIGH},
                          {-1.0f, CS_P_LOW, CS_T_LOW}};
  for (const Wrapper& w : Wrappers) {
    for (const FailRow& row : rows) {
      SCOPED_TRACE(testing::Message() << w.name << "(" << row.arg << ")");
      const std::uint32_t flag = w.byPressure ? row.byPressure : row.byTemperature;
      if (!w.byPressure && row.arg > 100 && row.arg < 300) continue;  // a valid temperature
      int status = -1;
      CalcStatus = 0;
      const double r = w.entry(row.arg, &status);
      EXPECT_EQ(status, int(flag));
      EXPECT_EQ(CalcStatus, flag);
      EXPECT_EQ(r, w.engine(w.byPressure ? double(row.arg) * 0.1 : double(row.arg)));
      EXPECT_EQ(r, 10.0);  // 10, or for SatPByT the sentinel 1 times 10
    }
  }
}

TEST(EntryPoints, NullStatusPointerIsAccepted) {
  for (const Wrapper& w : Wrappers) {
    SCOPED_TRACE(w.name);
    CalcStatus = 0xFFFF;
    const double r = w.entry(w.byPressure ? 1.0f : 100.0f, nullptr);
    EXPECT_EQ(CalcStatus, 0u);
    EXPECT_EQ(r, w.engine(w.byPressure ? double(1.0f) * 0.1 : 100.0));
    CalcStatus = 0;
    w.entry(-1.0f, nullptr);
    EXPECT_NE(CalcStatus, 0u);
  }
}

}  // namespace
