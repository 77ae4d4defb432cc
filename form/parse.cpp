#include "form/parse.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace {

bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The exponent's digits may be arbitrarily many; anything beyond this magnitude is already far
// outside double range, so the sum saturates here instead of overflowing.
constexpr long long kExponentCap = 1000000000000LL;

}  // namespace

double ParseDecimalPrefix(const std::string& text) {
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  const char* p = begin;
  while (p != end && IsCSpace(*p)) ++p;

  bool negative = false;
  if (p != end && (*p == '+' || *p == '-')) {
    negative = *p == '-';
    ++p;
  }
  const char* const mantissa = p;

  // Mantissa: digits with an optional point, or a point followed by at least one digit.
  long long digitsBeforePoint = 0;
  long long leadingZeros = 0;  // zeros before the first non-zero digit, across the point
  bool seenNonZero = false;
  bool anyDigit = false;
  while (p != end && IsDigit(*p)) {
    if (!seenNonZero && *p == '0')
      ++leadingZeros;
    else
      seenNonZero = true;
    ++digitsBeforePoint;
    anyDigit = true;
    ++p;
  }
  if (p != end && *p == '.') {
    const char* q = p + 1;
    bool fractionDigit = false;
    while (q != end && IsDigit(*q)) {
      if (!seenNonZero && *q == '0')
        ++leadingZeros;
      else
        seenNonZero = true;
      fractionDigit = true;
      ++q;
    }
    if (anyDigit || fractionDigit) {
      anyDigit = true;
      p = q;
    }
  }
  if (!anyDigit) return 0.0;

  // Exponent: taken only when at least one digit follows the letter and its sign.
  long long exponent = 0;
  if (p != end && (*p == 'e' || *p == 'E')) {
    const char* q = p + 1;
    bool expNegative = false;
    if (q != end && (*q == '+' || *q == '-')) {
      expNegative = *q == '-';
      ++q;
    }
    if (q != end && IsDigit(*q)) {
      while (q != end && IsDigit(*q)) {
        if (exponent < kExponentCap) exponent = exponent * 10 + (*q - '0');
        ++q;
      }
      if (expNegative) exponent = -exponent;
      p = q;
    }
  }

  // from_chars takes no sign of its own here (the '+' it would refuse), no white space and no
  // locale; over the validated prefix it agrees with strtod.
  double magnitude = 0.0;
  const std::from_chars_result r =
      std::from_chars(mantissa, p, magnitude, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    // from_chars leaves the value alone out of range; strtod gives HUGE_VAL on overflow and 0 on
    // an underflow below the smallest subnormal (subnormals themselves come back in range). The
    // order of magnitude of the first non-zero digit tells the two apart.
    const long long order = digitsBeforePoint - leadingZeros + exponent;
    magnitude = order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (r.ec != std::errc() || r.ptr != p) {
    magnitude = 0.0;  // not reached: the prefix was validated above
  }
  return negative ? -magnitude : magnitude;
}

float ParseInput(const std::string& text) { return static_cast<float>(ParseDecimalPrefix(text)); }
