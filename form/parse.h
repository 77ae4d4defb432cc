// The lenient reading of a number typed into an input of the calculation form.
#pragma once

#include <string>

// Skips leading white space (the C locale's: blank, \t, \n, \v, \f, \r), takes the longest prefix
// of the form [+-]?(digits[.digits?]|.digits)([eE][+-]?digits)?, converts it in double precision
// exactly as the C library's strtod does (overflow gives ±infinity, underflow the subnormal or
// zero that strtod gives) and rounds the double to float. A text without such a prefix gives 0.
// Never reads "inf", "nan" or hexadecimal, and never depends on the process locale: "1,5" is 1
// and "1.5" is 1.5 whatever LC_NUMERIC says.
float ParseInput(const std::string& text);

// The double-precision value of the same prefix, before the rounding to float.
double ParseDecimalPrefix(const std::string& text);
