// The units of the windows beyond the form, remembered between runs (QSettings): one value for
// the whole program, and a signal when it changes so that every open window shows the new units.
#pragma once

#include <QObject>

#include "calc/units.h"

class CUnitSettings : public QObject {
  Q_OBJECT

 public:
  // The program's one instance.
  static CUnitSettings& Instance();

  calc::Units Units() const { return m_units; }
  // Stores the units and tells every window.
  void SetUnits(const calc::Units& units);

 signals:
  void Changed(const calc::Units& units);

 private:
  CUnitSettings();
  calc::Units m_units;
};
