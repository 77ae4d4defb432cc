// A table of the calculation layer (captions and cells) for a view: the tool windows show their
// results through it, numbers to the right, texts to the left.
#pragma once

#include <QAbstractTableModel>

#include "calc/table.h"

class CResultTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit CResultTableModel(QObject* parent);

  void SetTable(const calc::Table& table);
  const calc::Table& Table() const { return m_table; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  calc::Table m_table;
};
