// "计算记录": every calculation of the program, newest first, from the record's database. The
// model reads the ids of the rows that pass the filter at once and the rows themselves a page at a
// time as they come into view, so that a record of 100 000 rows opens at once and scrolls
// smoothly. Filter by item and text, copy, export, delete, clear, and hand points to the diagram.
#pragma once

#include <QAbstractTableModel>
#include <QWidget>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "calc/record.h"
#include "shell/record.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;

class CRecordModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kPageRows = 128;

  CRecordModel(CRecord& record, QObject* parent);

  void SetFilter(const CRecord::Filter& filter);
  void SetUnits(const calc::Units& units);
  const calc::Units& Units() const { return m_units; }
  // The rows of the given view rows, read from the record.
  std::vector<calc::RecordRow> RowsAt(const std::vector<int>& rows) const;
  std::vector<std::int64_t> IdsAt(const std::vector<int>& rows) const;
  // Every row that passes the filter, newest first.
  std::vector<calc::RecordRow> AllRows() const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  void Reload();
  void TakeNewRows();
  const std::vector<calc::Cell>& CellsOf(int row) const;

  CRecord& m_record;
  CRecord::Filter m_filter;
  calc::Units m_units;
  std::vector<std::string> m_captions;
  std::vector<std::int64_t> m_ids;  // newest first
  // Pages of formatted rows by page number; dropped whole when too many are held.
  mutable std::unordered_map<int, std::vector<std::vector<calc::Cell>>> m_pages;
};

class CRecordWnd : public QWidget {
  Q_OBJECT

 public:
  explicit CRecordWnd(QWidget* parent, CRecord& record = CRecord::Instance());

  // The selected rows, in view order.
  std::vector<calc::RecordRow> SelectedRows() const;
  QString CopyText() const;

 signals:
  // "在图中显示": the state points of the selected rows (both solutions where there are two).
  void ShowInDiagram(std::vector<calc::Solution> points, QString label);

 private:
  std::vector<int> SelectedViewRows() const;
  void ApplyFilter();
  void ShowProblem();
  void Copy();
  void Export();
  void DeleteSelected();
  void ClearAll();
  void ShowSelectedInDiagram();
  void UpdateCount();

  CRecord& m_record;
  CRecordModel* m_model;
  QComboBox* m_item;
  QLineEdit* m_text;
  QLabel* m_count;
  QLabel* m_problem;
  QTableView* m_view;
};
