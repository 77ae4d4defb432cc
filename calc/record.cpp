#include "calc/record.h"

#include <charconv>
#include <cstdio>
#include <ctime>

#include "engine/constants.h"
#include "form/format.h"

namespace calc {
namespace {

// An input with the form's six decimals, trailing zeros dropped: 10, 0.101325, 573.15; a float
// input of IFC-67 converted to another unit shows no digits beyond those.
std::string Input(double value) {
  std::string text = FormatFixed(value, 6);
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
  }
  return text == "-0" ? "0" : text;
}

// IFC-67 takes its inputs in single precision: the decimal the user typed is the shortest one
// that gives the same float (0.1f is 0.10000000149 as a double, typed as 0.1).
double Typed(double value, Formulation f) {
  if (f != Formulation::IFC67 || !std::isfinite(value) || double(float(value)) != value)
    return value;
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, float(value)).ptr;
  double typed = value;
  std::from_chars(text, end, typed);
  return typed;
}

// A constant as short as it reads back: 374.15, 0.00317.
std::string Shortest(double value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

RecordPoint PointOf(const Solution& s) {
  return {s.p, s.t, s.h, s.s, s.v, s.x >= 0 ? s.x : NAN, s.state};
}

std::string Joined(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& t : texts) joined += (joined.empty() ? "" : "；") + t;
  return joined;
}

void AddPoint(std::vector<Cell>& cells, const RecordPoint& p, const Units& u, bool present) {
  if (!present) {
    for (int i = 0; i < 7; ++i) cells.push_back(Cell::Text(""));
    return;
  }
  cells.push_back(Cell::Number(PressureOut(p.p, u)));
  cells.push_back(Cell::Number(TemperatureOut(p.t, u)));
  cells.push_back(Cell::Number(EnthalpyOut(p.h, u)));
  cells.push_back(Cell::Number(EntropyOut(p.s, u)));
  cells.push_back(Cell::Number(VolumeOut(p.v, u)));
  cells.push_back(Cell::Number(p.x));
  cells.push_back(Cell::Text(p.state));
}

std::vector<std::string> PointCaptions(const Units& u, const std::string& prefix) {
  return {prefix + "压力 " + PressureName(u),
          prefix + "温度 " + TemperatureName(u),
          prefix + "焓 " + EnthalpyName(u),
          prefix + "熵 " + EntropyName(u),
          prefix + VolumeCaption(u) + " " + VolumeName(u),
          prefix + "干度",
          prefix + "状态"};
}

}  // namespace

RecordRow ToRecordRow(const Answer& a, std::int64_t time, const std::string& source) {
  RecordRow row;
  row.time = time;
  row.source = source;
  row.request = a.request;
  row.solutions = int(a.solutions.size());
  row.failed = a.failed;
  if (!a.solutions.empty()) {
    row.first = PointOf(a.solutions[0]);
  } else {
    row.first.state = a.failed ? kCalcFailedText : "未知";
  }
  if (a.solutions.size() > 1) row.second = PointOf(a.solutions[1]);
  row.note = Joined(a.reasons.empty() ? a.warnings : a.reasons);
  return row;
}

std::vector<RecordRow> ToRecordRows(const TurbineResult& result, std::int64_t time) {
  std::vector<RecordRow> rows;
  const Point* from = &result.inlet;
  for (std::size_t i = 0; i < result.sections.size(); ++i) {
    const Expansion& e = result.sections[i].expansion;
    RecordRow row;
    row.time = time;
    row.source = "汽轮机膨胀";
    row.request = {
        result.formulation, Item::AnyState, Mode::PressureEnthalpy, {e.end.p, e.end.h, 0}};
    row.solutions = 1;
    const Texts texts = FormTexts(e.end);
    row.first = {e.end.p, e.end.t, e.end.h, e.end.s, e.end.v, e.end.x, texts.state};
    char note[256];
    std::snprintf(note, sizeof note,
                  "第 %zu 段：进口 %.6g MPa，%.6g ℃ → %.6g MPa，η = %.4f，等熵焓降 %.3f kJ/kg，"
                  "实际焓降 %.3f kJ/kg",
                  i + 1, from->p, from->t, e.end.p, result.sections[i].eta, e.isentropicDrop,
                  e.actualDrop);
    row.note = note;
    rows.push_back(row);
    from = &e.end;
  }
  return rows;
}

std::string ItemText(Item item) {
  const ItemRow* row = FindItem(int(item));
  return row ? row->text : "";
}

std::string ModeText(Item item, Mode mode) {
  const ModeRow* row = FindMode(item, mode);
  return row ? row->text : "";
}

std::string InputsText(const Request& r, const Units& u) {
  const ModeRow* row = FindMode(r.item, r.mode);
  if (row == nullptr) return {};
  std::string text;
  for (int i = 0; i < row->inputs; ++i) {
    const std::string unit = row->input[i].unit;
    double value = Typed(r.in[i], r.formulation);
    std::string name = unit;
    if (unit == "MPa") {
      value = PressureOut(value, u);
      name = PressureName(u);
    } else if (unit == "℃") {
      value = TemperatureOut(value, u);
      name = TemperatureName(u);
    } else if (unit == "kJ/kg") {
      value = EnthalpyOut(value, u);
      name = EnthalpyName(u);
    } else {
      value = EntropyOut(value, u);
      name = EntropyName(u);
    }
    text += (i ? "，" : "") + std::string(row->input[i].label) + " " + Input(value) + " " + name;
  }
  return text;
}

std::string LocalTimeText(std::int64_t ms) {
  const std::time_t seconds = std::time_t(ms / 1000);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

std::vector<std::string> RecordCaptions(const Units& u) {
  std::vector<std::string> captions = {"时间", "来源", "公式", "项目", "方式", "输入"};
  for (const std::string& c : PointCaptions(u, "")) captions.push_back(c);
  captions.push_back("解数");
  for (const std::string& c : PointCaptions(u, "解 2 ")) captions.push_back(c);
  captions.push_back("说明");
  return captions;
}

std::vector<Cell> RecordCells(const RecordRow& row, const Units& u) {
  std::vector<Cell> cells = {Cell::Text(LocalTimeText(row.time)),
                             Cell::Text(row.source),
                             Cell::Text(FormulationName(row.request.formulation)),
                             Cell::Text(ItemText(row.request.item)),
                             Cell::Text(ModeText(row.request.item, row.request.mode)),
                             Cell::Text(InputsText(row.request, u))};
  const bool values = row.solutions > 0 || std::isfinite(row.first.p);
  AddPoint(cells, row.first, u, values);
  if (!values) cells[cells.size() - 1] = Cell::Text(row.first.state);
  cells.push_back({std::to_string(row.solutions), double(row.solutions)});
  AddPoint(cells, row.second, u, row.solutions > 1);
  cells.push_back(Cell::Text(row.note));
  return cells;
}

Table RecordTable(const std::vector<RecordRow>& rows, const Units& u) {
  Table table;
  table.captions = RecordCaptions(u);
  table.rows.reserve(rows.size());
  for (const RecordRow& row : rows) table.rows.push_back(RecordCells(row, u));
  return table;
}

Table ResultTable(const Answer& a, const Units& u) {
  Table table;
  table.captions = PointCaptions(u, "");
  for (const Solution& s : a.solutions) {
    std::vector<Cell> cells;
    AddPoint(cells, PointOf(s), u, true);
    table.rows.push_back(cells);
  }
  if (a.solutions.empty()) {
    std::vector<Cell> cells(6, Cell::Text(""));
    cells.push_back(Cell::Text(a.failed ? kCalcFailedText : "未知"));
    table.rows.push_back(cells);
  }
  return table;
}

Stamp RecordStamp(const std::string& version, const std::vector<Formulation>& formulations,
                  const Units& u, const std::string& date) {
  Stamp stamp = {{"程序", "kelm " + version}};
  for (Formulation f : formulations) {
    const CriticalPoint c = Critical(f);
    const bool if97 = f == Formulation::IF97;
    const std::string name = if97 ? "IAPWS-IF97" : "IFC-67（1967 年 IFC 工业用公式）";
    std::string constants = "临界点 " + Shortest(c.t) + " ℃，" + Shortest(c.p) + " MPa";
    constants += if97 ? "，临界密度 322 kg/m³，比气体常数 R = 0.461526 kJ/(kg·K)，T = t + 273.15 K"
                      : "，临界比容 " + Shortest(IfcConstants.vc) + " m³/kg，T = t + " +
                            Shortest(IfcConstants.T0) + " K";
    stamp.push_back({"公式", name});
    stamp.push_back({"常数", constants});
  }
  stamp.push_back({"单位", DescribeUnits(u)});
  stamp.push_back({"日期", date});
  return stamp;
}

}  // namespace calc
