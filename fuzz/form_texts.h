// What the calculation form may show, written out independently of the form's own code: the
// result formats and the state texts.
#pragma once

#include <cstdlib>
#include <cstring>
#include <string>

namespace fuzz {

inline constexpr const char* kWetText = "饱和水或饱和蒸汽或湿蒸汽";
inline constexpr const char* kCalcFailedText = "计算或参数有误";
inline constexpr const char* kSolutionFailedText = "计算有误";

// Is the text "-?digits.dddddd" followed by exactly `unit`? The number is returned in `value`.
inline bool WellFormed(const std::string& text, const char* unit, double& value) {
  const std::size_t unitLength = std::strlen(unit);
  if (text.size() <= unitLength || text.compare(text.size() - unitLength, unitLength, unit) != 0)
    return false;
  const std::string number = text.substr(0, text.size() - unitLength);
  std::size_t i = 0;
  if (i < number.size() && number[i] == '-') ++i;
  const std::size_t digitsStart = i;
  while (i < number.size() && number[i] >= '0' && number[i] <= '9') ++i;
  if (i == digitsStart || i >= number.size() || number[i] != '.') return false;
  ++i;
  for (int k = 0; k < 6; ++k, ++i)
    if (i >= number.size() || number[i] < '0' || number[i] > '9') return false;
  if (i != number.size()) return false;
  value = std::strtod(number.c_str(), nullptr);
  return true;
}

// One of the state texts: the item texts of a success, the state-code texts, the wet text with
// "%f" of a dryness (returned in `dryness`, else left alone), or a failure text.
inline bool IsStateText(const std::string& state, double& dryness) {
  static const char* const kFixed[] = {"饱和水", "饱和蒸汽", "不饱和水", kWetText, "过热蒸汽",
                                       "超临界", "未知", kCalcFailedText, kSolutionFailedText};
  for (const char* text : kFixed)
    if (state == text) return true;
  const std::string wetPrefix = std::string(kWetText) + ",干度=";
  if (state.compare(0, wetPrefix.size(), wetPrefix) != 0) return false;
  return WellFormed(state.substr(wetPrefix.size()) + "|", "|", dryness);
}

}  // namespace fuzz
