#include "form/format.h"

#include <charconv>
#include <cmath>

#include "engine/constants.h"

std::string FormatFixed(float value) {
  const double d = value;
  if (std::isnan(d)) {
    // Every value shown has passed the form's finiteness check or is a parsed input, and the
    // parse never yields NaN; should one slip through anyway, show the engine's sentinel rather
    // than "nan".
    return FormatFixed(10.0f);
  }
  // The largest float needs 39 integer digits; with sign, point and six decimals 64 is ample.
  char buffer[64];
  const std::to_chars_result r =
      std::to_chars(buffer, buffer + sizeof buffer, d, std::chars_format::fixed, 6);
  return std::string(buffer, r.ptr);
}

std::string FormatPressure(float p) { return FormatFixed(p) + " MPa"; }
std::string FormatTemperature(float t) { return FormatFixed(t) + " ℃"; }
std::string FormatEnthalpy(float h) { return FormatFixed(h) + " kJ/kg"; }
std::string FormatEntropy(float s) { return FormatFixed(s) + " kJ/(kg*K)"; }
std::string FormatVolume(float v) { return FormatFixed(v) + " m**3/kg"; }

std::string StateText(int state, float x) {
  switch (state) {
    case SC_WATER: return "不饱和水";
    case SC_WET:
      if (x == -1.0f) return "饱和水或饱和蒸汽或湿蒸汽";
      return "饱和水或饱和蒸汽或湿蒸汽,干度=" + FormatFixed(x);
    case SC_STEAM: return "过热蒸汽";
    case SC_SUPERCRITICAL: return "超临界";
    default: return "未知";
  }
}

std::string Joined(const ResultTexts& t, char separator) {
  return t.pressure + separator + t.temperature + separator + t.enthalpy + separator + t.entropy +
         separator + t.volume + separator + t.state;
}

ResultTexts ShownTexts(Item item, const CalcResult& result) {
  const Solution& shown = result.solution[0];
  ResultTexts texts;
  texts.temperature = FormatTemperature(shown.t);
  texts.enthalpy = FormatEnthalpy(shown.h);
  if (result.solutions == 0) {
    texts.state = result.failed ? kCalcFailedText : "未知";
    return texts;
  }
  texts.pressure = FormatPressure(shown.p);
  texts.entropy = FormatEntropy(shown.s);
  texts.volume = FormatVolume(shown.v);
  const ItemRow* row = FindItem(int(item));
  const char* itemState = row != nullptr ? row->stateText : nullptr;
  texts.state = result.failed          ? kCalcFailedText
                : itemState != nullptr ? itemState
                                       : StateText(shown.state, shown.x);
  return texts;
}
