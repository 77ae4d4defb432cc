// The lenient reading of typed numbers.
#include "form/parse.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

namespace {

struct ParseRow {
  const char* text;
  float value;
};

constexpr float kInf = std::numeric_limits<float>::infinity();

const ParseRow kParseRows[] = {
    {"0.1", 0.1f},
    {"1.5", 1.5f},
    {"  1.5", 1.5f},
    {" \t\n\v\f\r2", 2.0f},
    {"+3", 3.0f},
    {"-4.5e1", -45.0f},
    {"1.5E-2x", 0.015f},
    {"2e+1", 20.0f},
    {".5", 0.5f},
    {"5.", 5.0f},
    {"-.25", -0.25f},
    {"007", 7.0f},
    // An exponent letter without digits is not part of the number.
    {"1e", 1.0f},
    {"1e+", 1.0f},
    {"1e-x", 1.0f},
    {"1E5", 100000.0f},
    // Only the decimal prefix counts.
    {"12abc", 12.0f},
    {"1 2", 1.0f},
    {"1..2", 1.0f},
    {"1.2.3", 1.2f},
    {"1,5", 1.0f},
    {"100℃", 100.0f},
    // No prefix at all gives 0.
    {"", 0.0f},
    {"   ", 0.0f},
    {"abc", 0.0f},
    {".", 0.0f},
    {"-", 0.0f},
    {"+.e1", 0.0f},
    {"--1", 0.0f},
    {"+-1", 0.0f},
    {"e5", 0.0f},
    {",5", 0.0f},
    {"\xC2\xA0" "1", 0.0f},   // a no-break space is not white space in the C locale
    {"\xEF\xBC\x91", 0.0f},   // a full-width digit one
    // What strtod would read but the rule does not.
    {"inf", 0.0f},
    {"-inf", 0.0f},
    {"INFINITY", 0.0f},
    {"nan", 0.0f},
    {"NAN(1)", 0.0f},
    {"0x1A", 0.0f},
    {"0X1p3", 0.0f},
    {" -0x10", -0.0f},
    // Beyond float range: the double is exact, its float is infinity or rounds to the limits.
    {"1e40", kInf},
    {"-1e40", -kInf},
    {"3.4028235e38", std::numeric_limits<float>::max()},
    {"3.40282356e38", std::numeric_limits<float>::max()},
    {"3.4028236e38", kInf},
    // Beyond double range: strtod's HUGE_VAL and 0.
    {"1e400", kInf},
    {"-1e400", -kInf},
    {"1e99999999999999999999999", kInf},
    {"0.0000000001e309", kInf},  // 1e299, finite in double, is beyond float
    {"1e-400", 0.0f},
    {"1e-99999999999999999999999", 0.0f},
    {"0e999999999999", 0.0f},
    // Subnormal floats come from the double.
    {"1e-45", std::numeric_limits<float>::denorm_min()},
    {"1e-50", 0.0f},
    {"1.17549435e-38", std::numeric_limits<float>::min()},
};

TEST(ParseInput, ReadsTheLongestDecimalPrefix) {
  for (const ParseRow& row : kParseRows) {
    SCOPED_TRACE(row.text);
    const float value = ParseInput(row.text);
    EXPECT_EQ(value, row.value);
    EXPECT_EQ(std::signbit(value), std::signbit(row.value));
  }
}

TEST(ParseInput, NegativeZeroAndNegativeUnderflowKeepTheirSign) {
  EXPECT_TRUE(std::signbit(ParseInput("-0")));
  EXPECT_TRUE(std::signbit(ParseInput("-0.000")));
  EXPECT_TRUE(std::signbit(ParseInput("-1e-400")));
  EXPECT_FALSE(std::signbit(ParseInput("0")));
}

TEST(ParseInput, RoundsTheDoubleToFloatOnlyOnce) {
  // 0.1 read as a double and then rounded to float is the float nearest 0.1.
  EXPECT_EQ(ParseDecimalPrefix("0.1"), 0.1);
  EXPECT_EQ(ParseInput("0.1"), static_cast<float>(0.1));
  // A value between two floats whose decimal text sits closer to the upper one than the double
  // is: the double first, then the float (what a double parse followed by a float store gives).
  EXPECT_EQ(ParseInput("1.00000005960464477539062500001"),
            static_cast<float>(1.00000005960464477539062500001));
}

TEST(ParseDecimalPrefix, AgreesWithStrtodOnEveryDecimalText) {
  // Random texts over digits, point, exponent letters, signs, blanks and a comma: none of them
  // can start a hexadecimal, infinity or NaN, so strtod in the C locale reads them by the same
  // rule, and both must give the same double bit for bit (subnormals, overflow, ±0 included).
  ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  const std::string alphabet = "0123456789.eE+- \t,";
  std::mt19937 gen(20240611);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(0, 14);
  for (int i = 0; i < 50000; ++i) {
    std::string text;
    for (int n = length(gen); n > 0; --n) text += alphabet[pick(gen)];
    const double expected = std::strtod(text.c_str(), nullptr);
    const double got = ParseDecimalPrefix(text);
    ASSERT_EQ(std::signbit(got), std::signbit(expected)) << '"' << text << '"';
    ASSERT_EQ(got, expected) << '"' << text << '"';
  }
  // Long mantissas and exponents near both ends of double range.
  const char* const extremes[] = {
      "2.4703282292062327e-324", "2.4703282292062328e-324", "4.9406564584124654e-324",
      "1.7976931348623157e308",  "1.7976931348623158e308",  "1.797693134862315807e308",
      "179769313486231580793728971405303415079934132710037826936173778980444968292764750946649017977587207096330286416692887910946555547851940402630657488671505820681908902000708383676273854845817711531764475730270069855571366959622842914819860834936475292719074168444365510704342711559699508093042880177904174497792", 
      "0.000000000000000000000000000000000000000000000000000000000000000000000000000001e-250",
      "100000000000000000000000000000000000000000000000000000e-360",
      "-0.00000000000000000000000000000000000000000000000000000000000000001e370",
      "1e-320", "-3e-324", "2e-324", "0.5e-323"};
  for (const char* text : extremes) {
    SCOPED_TRACE(text);
    const double expected = std::strtod(text, nullptr);
    EXPECT_EQ(ParseDecimalPrefix(text), expected);
    EXPECT_EQ(std::signbit(ParseDecimalPrefix(text)), std::signbit(expected));
  }
}

TEST(ParseInput, IgnoresTheProcessLocale) {
  // A locale that writes a decimal comma must not change the reading: "1,5" is still 1 and
  // "1.5" still 1.5.
  const char* const german = std::setlocale(LC_ALL, "de_DE.UTF-8");
  if (german == nullptr) GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
  const float comma = ParseInput("1,5");
  const float point = ParseInput("1.5");
  const float spaced = ParseInput(" 2.25e1");
  const double library = std::atof("1,5");  // shows that the locale is in force
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(library, 1.5);
  EXPECT_EQ(comma, 1.0f);
  EXPECT_EQ(point, 1.5f);
  EXPECT_EQ(spaced, 22.5f);
}

}  // namespace
