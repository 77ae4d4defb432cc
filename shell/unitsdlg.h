// "单位…": the units of everything beyond the form (the record, the comparison, the batch window,
// copies and exports), remembered between runs. The form keeps MPa and ℃.
#pragma once

#include <QDialog>

#include "calc/units.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;

class CUnitsDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CUnitsDlg(QWidget* parent);

  // The controls set to `units`.
  void Show(const calc::Units& units);
  // The units the controls give, or nothing with why (a bad atmospheric pressure).
  std::optional<calc::Units> Chosen(QString* why = nullptr) const;

 public slots:
  void accept() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Update();

  QComboBox* m_pressure;
  QCheckBox* m_gauge;
  QLineEdit* m_atmosphere;
  QComboBox* m_temperature;
  QComboBox* m_energy;
  QComboBox* m_volume;
  QLabel* m_preview;
  QDialogButtonBox* m_buttons;
};
