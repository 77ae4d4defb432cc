#include "calc/batch.h"

#include <charconv>

#include "calc/record.h"
#include "form/formsession.h"

namespace calc {
namespace {

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

std::string Shortest(double value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

// A whole decimal number ("-0.2", "+1e3", "  5 "): nothing else on the field, finite.
bool ReadNumber(const std::string& field, double& value) {
  std::string text = Trimmed(field);
  const bool plus = !text.empty() && text[0] == '+';  // from_chars takes only a minus
  if (plus) text.erase(0, 1);
  if (text.empty() || (plus && text[0] == '-')) return false;
  const auto [end, ec] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

std::string Choices(const std::vector<std::string>& list) {
  std::string text;
  for (std::size_t i = 0; i < list.size(); ++i)
    text += (i ? "，" : "") + std::to_string(i) + " " + list[i];
  return text;
}

// The input converted to the form's unit, or why it cannot be.
bool ReadInput(const std::string& field, const InputText& input, int index, const Units& u,
               double& value, std::string& error) {
  const std::string which = "输入 " + std::to_string(index + 1) + "（" + input.label + "）";
  if (Trimmed(field).empty()) {
    error = which + "为空";
    return false;
  }
  double typed = 0;
  if (!ReadNumber(field, typed)) {
    error = which + "不是数字：" + Quote(Trimmed(field));
    return false;
  }
  const std::string unit = input.unit;
  if (unit == "MPa") {
    const auto p = PressureIn(typed, u);
    if (!p) {
      error = which + " " + Shortest(typed) + " " + PressureName(u) + " 低于绝对零压（当地大气压 " +
              Shortest(u.atmosphere) + " MPa）";
      return false;
    }
    value = *p;
  } else if (unit == "℃") {
    value = TemperatureIn(typed, u);
  } else if (unit == "kJ/kg") {
    value = EnthalpyIn(typed, u);
  } else {
    value = EntropyIn(typed, u);
  }
  return true;
}

}  // namespace

std::vector<std::string> SplitBatchFields(const std::string& line) {
  std::vector<std::string> fields;
  if (line.find('\t') != std::string::npos) {
    for (std::size_t start = 0;;) {
      const std::size_t tab = line.find('\t', start);
      fields.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
      if (tab == std::string::npos) return fields;
      start = tab + 1;
    }
  }
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.push_back(field);
      field.clear();
    } else {
      field += c;
    }
  }
  fields.push_back(field);
  return fields;
}

std::vector<BatchLine> ReadBatch(const std::string& text, const Units& units,
                                 Formulation formulation) {
  std::vector<BatchLine> lines;
  int number = 0;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (Trimmed(line).empty() || line[0] == '#') continue;

    BatchLine out;
    out.number = number;
    out.request.formulation = formulation;
    const std::vector<std::string> fields = SplitBatchFields(line);
    if (fields.size() > 5) {
      out.error = "多于五个字段（项目、方式、输入 1、输入 2、输入 3）";
      lines.push_back(out);
      continue;
    }
    const std::string item = Trimmed(fields[0]);
    const std::string mode = fields.size() > 1 ? Trimmed(fields[1]) : "";
    std::string ignored;
    if (!FindItemMode(item, mode, out.request.item, out.request.mode, ignored)) {
      Item found;
      Mode unused;
      if (!FindItemMode(item, "0", found, unused, ignored))
        out.error = "未知的项目 " + Quote(item) + "（项目：" + Choices(ItemTexts()) + "）";
      else
        out.error = "项目“" + ItemText(found) + "”没有方式 " + Quote(mode) + "（方式：" +
                    Choices(ModeTexts(int(found))) + "）";
      lines.push_back(out);
      continue;
    }
    const ModeRow* row = FindMode(out.request.item, out.request.mode);
    for (int i = 0; i < row->inputs && out.error.empty(); ++i) {
      const std::string field = std::size_t(i + 2) < fields.size() ? fields[i + 2] : "";
      ReadInput(field, row->input[i], i, units, out.request.in[i], out.error);
    }
    lines.push_back(out);
  }
  return lines;
}

}  // namespace calc
