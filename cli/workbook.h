// kelm-calc --xlsx FILE: the calculations of a run as a workbook in the record's columns and the
// chosen units, with the stamp sheet, written whole or not at all after the run.
#pragma once

#include <string>
#include <vector>

#include "calc/record.h"
#include "cli/formulations.h"

namespace kelmcli {

class CalcWorkbook {
 public:
  explicit CalcWorkbook(const Options& options) : m_options(options) {}

  // Adds the rows of a request the form could read: its formulation's answer, or with --compare
  // IFC-67's and IF97's.
  void Add(const FormRequest& request, InputMatch match);

  // Writes the workbook; false with a message naming the file and the cause.
  bool Write(const std::string& path, std::string& error) const;

  const std::vector<calc::RecordRow>& Rows() const { return m_rows; }

 private:
  Options m_options;
  std::vector<calc::RecordRow> m_rows;
};

}  // namespace kelmcli
