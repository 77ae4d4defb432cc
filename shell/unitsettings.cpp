#include "shell/unitsettings.h"

#include <QSettings>

namespace {
constexpr const char* kKey = "units";
}  // namespace

CUnitSettings& CUnitSettings::Instance() {
  static CUnitSettings settings;
  return settings;
}

CUnitSettings::CUnitSettings() {
  // A stored text that no longer reads (edited by hand, an older program) leaves the defaults.
  std::string error;
  const std::string stored = QSettings().value(kKey).toString().toStdString();
  if (const auto units = calc::ParseUnits(stored, error); units && !stored.empty())
    m_units = *units;
}

void CUnitSettings::SetUnits(const calc::Units& units) {
  m_units = units;
  QSettings().setValue(kKey, QString::fromStdString(calc::FormatUnits(units)));
  emit Changed(units);
}
