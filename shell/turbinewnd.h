// "汽轮机膨胀过程": a turbine section from its inlet with an internal efficiency, a chain of
// sections to the extraction pressures (typed or pasted), or the efficiency from a measured
// outlet; in IFC-67, IF97 or both side by side. The points of each computed expansion leave by
// ExpansionComputed for the record and the h–s diagram.
#pragma once

#include <QWidget>
#include <vector>

#include "calc/turbine.h"

class CResultTableModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QStandardItemModel;
class QTabWidget;
class QTableView;

class CTurbineWnd : public QWidget {
  Q_OBJECT

 public:
  explicit CTurbineWnd(QWidget* parent);

  // The pages of IDC_TB_MODE.
  enum Page { kGiven, kSections, kMeasured };

  // Computes what the page asks (the Calculate button).
  void Calculate();
  // Rows of "pressure efficiency" (tabs, commas or blanks between, one row a line) into the
  // sections from the current row on, at most calc::kMaxSections in all.
  void PasteSections(const QString& text);
  // The results of the last calculation: one, or IFC-67 and IF97 when comparing; empty when it
  // was refused.
  const std::vector<calc::TurbineResult>& Results() const { return m_results; }
  // The result table with its captions as TSV, as Ctrl+C copies it.
  QString CopyText() const;
  // Writes the result table to a file (TSV, CSV or XLSX by its suffix); false with the message
  // shown under the table.
  bool ExportTo(const QString& path);

 signals:
  // After each calculation, once for each formulation that computed: the record takes the result,
  // the diagram its line (calc::ExpansionLine).
  void ExpansionComputed(const calc::TurbineResult& result);

 private:
  void CreateControls();
  void UpdateLabels();
  void UnitsChanged(const calc::Units& units);
  bool ReadRequest(calc::Inlet& inlet, std::vector<calc::Section>& sections, calc::Outlet& outlet,
                   QString& error) const;
  void ShowNotes(const QString& text, bool failed);

  calc::Units m_units;
  std::vector<calc::TurbineResult> m_results;
  QComboBox* m_formulation = nullptr;
  QComboBox* m_inletKind = nullptr;
  QLineEdit* m_p1 = nullptr;
  QLineEdit* m_x1 = nullptr;
  QLabel* m_p1Unit = nullptr;
  QLabel* m_x1Label = nullptr;
  QLabel* m_x1Unit = nullptr;
  QTabWidget* m_pages = nullptr;
  QLineEdit* m_p2 = nullptr;
  QLabel* m_p2Unit = nullptr;
  QLineEdit* m_eta = nullptr;
  QStandardItemModel* m_sections = nullptr;
  QTableView* m_sectionView = nullptr;
  QComboBox* m_outletKind = nullptr;
  QLineEdit* m_mp2 = nullptr;
  QLabel* m_mp2Unit = nullptr;
  QLabel* m_mx2Label = nullptr;
  QLineEdit* m_mx2 = nullptr;
  QLabel* m_mx2Unit = nullptr;
  CResultTableModel* m_result = nullptr;
  QTableView* m_resultView = nullptr;
  QLabel* m_notes = nullptr;
};

// The result travels by value through queued connections too.
Q_DECLARE_METATYPE(calc::TurbineResult)
