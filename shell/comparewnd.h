// "IFC-67 与 IF97 对比": the form's last calculation through both formulations, quantity by
// quantity with the difference, the phase that differs highlighted, the reasons of failures under
// the table. It follows the form and never changes it.
#pragma once

#include <QAbstractTableModel>
#include <QWidget>

#include "calc/compare.h"

class QLabel;
class QTableView;

// The comparison as rows: each pair of solutions a title row and its quantities.
class CCompareModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit CCompareModel(QObject* parent);
  void SetComparison(const calc::Comparison& comparison);
  const calc::Comparison& Comparison() const { return m_comparison; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // The pair a row belongs to, and whether it is that pair's title row.
  int PairOf(int row, bool* title = nullptr) const;

 private:
  calc::Comparison m_comparison;
  calc::Table m_table;
};

class CCompareWnd : public QWidget {
  Q_OBJECT

 public:
  explicit CCompareWnd(QWidget* parent);

  // Shows the request through both formulations (its formulation field is ignored), in the
  // program's units; shown again when they change.
  void ShowRequest(const calc::Request& request);
  // The table with its captions as TSV, as Ctrl+C copies it.
  QString CopyText() const;

 private:
  CCompareModel* m_model;
  QLabel* m_request;
  QTableView* m_view;
  QLabel* m_notes;
  calc::Request m_shownRequest;
  bool m_shown = false;
};
