// The texts of the form's result fields.
#pragma once

#include <string>

#include "form/calculation.h"

// The float widened to double in fixed notation with six decimals, as printf("%f") prints it in
// the C locale ("inf", "-inf" included), whatever the process locale.
std::string FormatFixed(float value);

std::string FormatPressure(float p);     // "%f MPa"
std::string FormatTemperature(float t);  // "%f ℃"
std::string FormatEnthalpy(float h);     // "%f kJ/kg"
std::string FormatEntropy(float s);      // "%f kJ/(kg*K)"
std::string FormatVolume(float v);       // "%f m**3/kg"

// Text of a StateCode with the dryness fraction x (x == −1 exactly: no dryness known).
std::string StateText(int state, float x);

inline constexpr const char* kCalcFailedText = "计算或参数有误";  // failure seen by Calculate
inline constexpr const char* kSolutionFailedText = "计算有误";    // failure seen by the buttons

// The six result fields of the form.
struct ResultTexts {
  std::string pressure, temperature, enthalpy, entropy, volume, state;
};

// The six texts in field order, pressure first, each followed by the separator but the last.
std::string Joined(const ResultTexts& texts, char separator);

// What the form shows after Calculate for a result of the item: solution 1, or the given
// temperature and enthalpy alone when there is no solution; a failure shows as the state text.
ResultTexts ShownTexts(Item item, const CalcResult& result);
