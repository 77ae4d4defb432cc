#include "shell/resulttablemodel.h"

CResultTableModel::CResultTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void CResultTableModel::SetTable(const calc::Table& table) {
  beginResetModel();
  m_table = table;
  endResetModel();
}

int CResultTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(m_table.rows.size());
}

int CResultTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(m_table.captions.size());
}

QVariant CResultTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.column() >= int(m_table.rows[index.row()].size())) return {};
  const calc::Cell& cell = m_table.rows[index.row()][index.column()];
  switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(cell.text);
    case Qt::TextAlignmentRole:
      return int((std::isfinite(cell.number) || cell.text == "—" ? Qt::AlignRight : Qt::AlignLeft) |
                 Qt::AlignVCenter);
    default: return {};
  }
}

QVariant CResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return QString::fromStdString(m_table.captions[section]);
}
