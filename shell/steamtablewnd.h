// "水蒸气表": saturation tables by temperature or pressure and the compressed water and
// superheated steam table over pressures × temperatures, each axis a range or a list, with the
// extra quantities picked; in IFC-67, IF97 or both with Δ. Shown, copied, exported (TSV, CSV,
// XLSX) and printed to PDF to be handed on.
#pragma once

#include <QWidget>

#include "calc/steamtable.h"

class CResultTableModel;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTableView;

class CSteamTableWnd : public QWidget {
  Q_OBJECT

 public:
  explicit CSteamTableWnd(QWidget* parent);

  // Makes the table the controls ask for (the button); false, with the message shown, when the
  // request is refused.
  bool MakeTable();
  const calc::SteamTable& Table() const { return m_table; }
  // The table with its captions as TSV, as Ctrl+C copies it.
  QString CopyText() const;
  // Writes the table to a file (TSV, CSV or XLSX by its suffix), or prints it to a PDF; false
  // (0 pages) with the message shown.
  bool ExportTo(const QString& path);
  int PrintTo(const QString& path);

 private:
  struct Axis {
    QGroupBox* box;
    QComboBox* mode;
    QLineEdit *from, *to, *step, *list;
    QLabel* unit;
  };
  void CreateControls();
  Axis CreateAxis(int index);
  void UpdateControls();
  void UnitsChanged(const calc::Units& units);
  bool ReadAxis(const Axis& axis, const QString& name, calc::Series& series, QString& error) const;
  calc::TableRequest Request() const;
  void ShowMessage(const QString& text, bool failed);

  calc::Units m_units;
  calc::SteamTable m_table;
  bool m_compare = false;
  calc::Formulation m_formulation = calc::Formulation::IFC67;
  QComboBox* m_kind = nullptr;
  QComboBox* m_formulations = nullptr;
  Axis m_axis[2] = {};
  std::vector<std::pair<calc::TableExtra, QCheckBox*>> m_extras;
  CResultTableModel* m_model = nullptr;
  QTableView* m_view = nullptr;
  QLabel* m_message = nullptr;
};
