#include "cli/workbook.h"

#include <chrono>

#include "cli/calccli.h"

namespace kelmcli {
namespace {

std::int64_t Now() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace

void CalcWorkbook::Add(const FormRequest& request, InputMatch match) {
  FormReading reading;
  if (!ReadOnForm(request, match, reading).empty()) return;
  std::vector<calc::Formulation> formulations = {m_options.formulation};
  if (m_options.compare) formulations = {calc::Formulation::IFC67, calc::Formulation::IF97};
  for (calc::Formulation f : formulations)
    m_rows.push_back(calc::ToRecordRow(calc::Calculate(ToRequest(reading, f)), Now(), "kelm-calc"));
}

bool CalcWorkbook::Write(const std::string& path, std::string& error) const {
  std::vector<calc::Formulation> formulations = {m_options.formulation};
  if (m_options.compare) formulations = {calc::Formulation::IFC67, calc::Formulation::IF97};
  const calc::Stamp stamp =
      calc::RecordStamp(kVersion, formulations, m_options.units, calc::LocalTimeText(Now()));
  return calc::WriteXlsx(path, calc::RecordTable(m_rows, m_options.units), stamp, error);
}

}  // namespace kelmcli
