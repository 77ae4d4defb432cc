// The result texts: "%f" of a float, the units and the state texts.
#include "form/format.h"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "engine/constants.h"

namespace {

std::string Printf(float value) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, "%f", static_cast<double>(value));
  return buffer;
}

TEST(FormatFixed, MatchesPrintfOfTheWidenedFloat) {
  ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  const float specials[] = {0.0f,
                            -0.0f,
                            0.1f,
                            2675.4f,
                            1.0f / 128,        // 0.0078125: a tie at the sixth decimal, to even
                            3.0f / 128,        // 0.0234375: a tie rounding up
                            0.0000005f,
                            -0.0000005f,
                            0.00000049999f,
                            999999.9999995f,
                            16777217.0f,
                            std::numeric_limits<float>::max(),
                            -std::numeric_limits<float>::max(),
                            std::numeric_limits<float>::min(),
                            std::numeric_limits<float>::denorm_min(),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity()};
  for (float value : specials) {
    SCOPED_TRACE(value);
    EXPECT_EQ(FormatFixed(value), Printf(value));
  }
  // Random bit patterns over the whole float range, and random values of the size the form shows.
  std::mt19937 gen(4711);
  for (int i = 0; i < 100000; ++i) {
    float value = std::bit_cast<float>(static_cast<std::uint32_t>(gen()));
    if (std::isnan(value)) continue;
    ASSERT_EQ(FormatFixed(value), Printf(value)) << std::bit_cast<std::uint32_t>(value);
  }
  std::uniform_real_distribution<float> everyday(-5000.0f, 5000.0f);
  for (int i = 0; i < 100000; ++i) {
    const float value = everyday(gen);
    ASSERT_EQ(FormatFixed(value), Printf(value)) << std::bit_cast<std::uint32_t>(value);
  }
  // Every float whose widened value has a tie at the seventh decimal, between 0 and 1.
  for (std::uint32_t k = 1; k < 128; k += 2) {
    const float value = static_cast<float>(k) / 128.0f;
    ASSERT_EQ(FormatFixed(value), Printf(value)) << value;
  }
}

TEST(FormatFixed, NeverShowsNan) {
  EXPECT_EQ(FormatFixed(std::numeric_limits<float>::quiet_NaN()), "10.000000");
  EXPECT_EQ(FormatFixed(-std::numeric_limits<float>::quiet_NaN()), "10.000000");
}

TEST(FormatFixed, IgnoresTheProcessLocale) {
  const char* const german = std::setlocale(LC_ALL, "de_DE.UTF-8");
  if (german == nullptr) GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
  const std::string text = FormatFixed(1.5f);
  const std::string big = FormatFixed(1234567.0f);
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(text, "1.500000");
  EXPECT_EQ(big, "1234567.000000");
}

TEST(FormatResult, AppendsTheUnitOfEachField) {
  EXPECT_EQ(FormatPressure(0.1f), "0.100000 MPa");
  EXPECT_EQ(FormatTemperature(100.0f), "100.000000 ℃");
  EXPECT_EQ(FormatTemperature(100.0f), "100.000000 \xE2\x84\x83");  // U+2103 after one blank
  EXPECT_EQ(FormatEnthalpy(2675.4f), "2675.399902 kJ/kg");
  EXPECT_EQ(FormatEntropy(1.3027f), "1.302700 kJ/(kg*K)");
  EXPECT_EQ(FormatVolume(0.0010434f), "0.001043 m**3/kg");
  EXPECT_EQ(FormatPressure(-std::numeric_limits<float>::infinity()), "-inf MPa");
  EXPECT_EQ(FormatTemperature(std::numeric_limits<float>::infinity()), "inf ℃");
}

struct StateRow {
  int state;
  float x;
  const char* text;
};

const StateRow kStateRows[] = {
    {SC_WATER, 0.0f, "不饱和水"},
    {SC_WATER, -1.0f, "不饱和水"},
    {SC_WET, -1.0f, "饱和水或饱和蒸汽或湿蒸汽"},
    {SC_WET, 0.5f, "饱和水或饱和蒸汽或湿蒸汽,干度=0.500000"},
    {SC_WET, 0.0f, "饱和水或饱和蒸汽或湿蒸汽,干度=0.000000"},
    {SC_WET, 1.0f, "饱和水或饱和蒸汽或湿蒸汽,干度=1.000000"},
    {SC_WET, -0.99999994f, "饱和水或饱和蒸汽或湿蒸汽,干度=-1.000000"},  // not exactly −1
    {SC_WET, 0.87345678f, "饱和水或饱和蒸汽或湿蒸汽,干度=0.873457"},
    {SC_STEAM, 1.0f, "过热蒸汽"},
    {SC_SUPERCRITICAL, -1.0f, "超临界"},
    {SC_UNKNOWN, 1.0f, "未知"},
    {5, 0.0f, "未知"},
    {-1, 0.0f, "未知"},
};

TEST(StateText, NamesEveryStateCode) {
  for (const StateRow& row : kStateRows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(StateText(row.state, row.x), row.text);
  }
}

}  // namespace
