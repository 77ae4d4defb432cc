// A calculation as the record keeps it, and the record's rows as a table in the engineer's units:
// for the record window, its copies and exports, and kelm-calc --xlsx. Values are kept in the
// engines' units and converted only on the way out.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "calc/calc.h"
#include "calc/table.h"
#include "calc/turbine.h"
#include "calc/units.h"

namespace calc {

// A state point of a record row; NaN where the answer has no value, x NaN where no dryness applies.
struct RecordPoint {
  double p = NAN, t = NAN, h = NAN, s = NAN, v = NAN, x = NAN;
  std::string state;
};

struct RecordRow {
  std::int64_t id = 0;    // the record's own number, 0 until stored
  std::int64_t time = 0;  // when it was calculated, ms since 1970-01-01 UTC
  std::string source;     // where: "计算窗口", "批量计算", "kelm-calc", …
  Request request;        // formulation, item, mode, inputs in the form's units
  int solutions = 0;      // of the answer, even beyond the two kept
  bool failed = false;
  RecordPoint first, second;  // solutions 1 and 2 (second: none when solutions < 2)
  std::string note;           // the reasons of a failure, else the warnings, joined by "；"
};

// The row of an answer. A failed IFC-67 answer keeps the values the form shows and its failure
// text; an answer without a solution has the state "计算或参数有误" when it failed, else "未知".
RecordRow ToRecordRow(const Answer& answer, std::int64_t time, const std::string& source);

// A turbine calculation as rows of the record: each section's actual end as the state it is, the
// (p, h) of the outlet, with a note of the section (its inlet, η, Δhs and the actual drop).
std::vector<RecordRow> ToRecordRows(const TurbineResult& result, std::int64_t time);

// The item's and the mode's list texts ("任意状态水或水蒸汽", "压力和温度").
std::string ItemText(Item item);
std::string ModeText(Item item, Mode mode);

// The inputs in words and in `units`: "计算点压力 10 bar(表压)，计算点温度 300 ℃".
std::string InputsText(const Request& request, const Units& units);

// Local time of a row, "2024-05-01 14:03:07".
std::string LocalTimeText(std::int64_t msSinceEpoch);

// The record's columns: 时间, 来源, 公式, 项目, 方式, 输入, the first solution's p, t, h, s, v (or
// ρ), 干度, 状态, 解数, the second solution's seven, 说明; each caption with its unit.
std::vector<std::string> RecordCaptions(const Units& units);
std::vector<Cell> RecordCells(const RecordRow& row, const Units& units);
Table RecordTable(const std::vector<RecordRow>& rows, const Units& units);

// The result block of one answer as the form shows it, every solution a row: p, t, h, s, v (or ρ),
// 干度, 状态, captions with units. What "复制结果" copies.
Table ResultTable(const Answer& answer, const Units& units);

// The second sheet of a workbook: program and version, the formulations of the rows with their
// constants, the units, and the date given.
Stamp RecordStamp(const std::string& version, const std::vector<Formulation>& formulations,
                  const Units& units, const std::string& date);

}  // namespace calc
