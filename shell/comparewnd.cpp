#include "shell/comparewnd.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFont>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include "shell/unitsettings.h"

namespace {
const QColor kDiffers(255, 228, 196);  // a phase that differs between the formulations
}  // namespace

// The captions from the start, before any comparison: the view sizes its columns by them.
CCompareModel::CCompareModel(QObject* parent)
    : QAbstractTableModel(parent), m_table(calc::ComparisonTable({})) {}

void CCompareModel::SetComparison(const calc::Comparison& comparison) {
  beginResetModel();
  m_comparison = comparison;
  m_table = calc::ComparisonTable(comparison);
  // The notes stand under the table, not in it.
  m_table.rows.resize(m_table.rows.size() - comparison.notes.size());
  endResetModel();
}

int CCompareModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(m_table.rows.size());
}

int CCompareModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(m_table.captions.size());
}

int CCompareModel::PairOf(int row, bool* title) const {
  int first = 0;
  for (std::size_t pair = 0; pair < m_comparison.pairs.size(); ++pair) {
    const int rows = 1 + int(m_comparison.pairs[pair].rows.size());
    if (row < first + rows) {
      if (title) *title = row == first;
      return int(pair);
    }
    first += rows;
  }
  return -1;
}

QVariant CCompareModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const calc::Cell& cell = m_table.rows[index.row()][index.column()];
  bool title = false;
  const int pair = PairOf(index.row(), &title);
  switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(cell.text);
    case Qt::TextAlignmentRole:
      return int((index.column() == 0 || title ? Qt::AlignLeft : Qt::AlignRight) |
                 Qt::AlignVCenter);
    case Qt::FontRole:
      if (title) {
        QFont bold;
        bold.setBold(true);
        return bold;
      }
      return {};
    case Qt::BackgroundRole: {
      // The pair's title and its state row, where the phases stand.
      const bool stateRow =
          pair >= 0 && index.row() + 1 < rowCount() && PairOf(index.row() + 1) != pair;
      const bool last = pair >= 0 && index.row() + 1 == rowCount();
      if (pair >= 0 && m_comparison.pairs[pair].phaseDiffers && (title || stateRow || last))
        return kDiffers;
      return {};
    }
    default: return {};
  }
}

QVariant CCompareModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return QString::fromStdString(m_table.captions[section]);
}

CCompareWnd::CCompareWnd(QWidget* parent)
    : QWidget(parent, Qt::Window), m_model(new CCompareModel(this)) {
  setObjectName(QStringLiteral("IDD_COMPARE"));
  setWindowTitle(QStringLiteral("IFC-67 与 IF97 对比"));
  m_request =
      new QLabel(QStringLiteral("尚未计算：在主窗口计算后，此处显示两种公式的结果。"), this);
  m_request->setObjectName(QStringLiteral("IDC_COMPARE_REQUEST"));
  m_request->setWordWrap(true);
  m_view = new QTableView(this);
  m_view->setObjectName(QStringLiteral("IDC_COMPARE_TABLE"));
  m_view->setModel(m_model);
  m_view->verticalHeader()->hide();
  m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
  // Numbers set the widths; a long state text wraps within its column.
  m_view->setWordWrap(true);
  m_view->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  for (int column = 1; column <= 3; ++column) m_view->setColumnWidth(column, 150);
  m_view->horizontalHeader()->setStretchLastSection(true);
  m_notes = new QLabel(this);
  m_notes->setObjectName(QStringLiteral("IDC_COMPARE_NOTES"));
  m_notes->setWordWrap(true);
  m_notes->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_request);
  layout->addWidget(m_view, 1);
  layout->addWidget(m_notes);

  auto* copy = new QAction(QStringLiteral("复制(&C)"), this);
  copy->setShortcut(QKeySequence::Copy);
  copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  connect(copy, &QAction::triggered, this,
          [this] { QApplication::clipboard()->setText(CopyText()); });
  addAction(copy);
  setContextMenuPolicy(Qt::ActionsContextMenu);
  resize(720, 620);
  connect(&CUnitSettings::Instance(), &CUnitSettings::Changed, this, [this] {
    if (m_shown) ShowRequest(m_shownRequest);
  });
}

void CCompareWnd::ShowRequest(const calc::Request& request) {
  m_shownRequest = request;
  m_shown = true;
  const calc::Comparison comparison = calc::Compare(request, CUnitSettings::Instance().Units());
  m_request->setText(QString::fromStdString(calc::Describe(request)));
  m_model->SetComparison(comparison);
  m_view->clearSpans();
  for (int row = 0; row < m_model->rowCount(); ++row) {
    bool title = false;
    m_model->PairOf(row, &title);
    if (title) m_view->setSpan(row, 0, 1, m_model->columnCount());
  }
  m_view->resizeRowsToContents();
  QString notes;
  for (const std::string& note : comparison.notes)
    notes += (notes.isEmpty() ? "" : "\n") + QString::fromStdString(note);
  m_notes->setText(notes);
  m_notes->setVisible(!notes.isEmpty());
}

QString CCompareWnd::CopyText() const {
  return QString::fromStdString(calc::ToTsv(calc::ComparisonTable(m_model->Comparison())));
}
