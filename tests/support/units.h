// Units from their text, as `--units` and the settings store them.
#pragma once

#include <string>

#include "calc/units.h"

inline calc::Units UnitsOf(const std::string& text) {
  std::string error;
  return calc::ParseUnits(text, error).value();  // throws, failing the test, on a bad text
}
