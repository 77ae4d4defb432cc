#include "shell/recordwnd.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "shell/ask.h"
#include "shell/export.h"
#include "shell/unitsettings.h"

namespace {

constexpr std::size_t kMaxPages = 64;

calc::Phase PhaseOf(const std::string& state) {
  if (state == "过热蒸汽") return calc::Phase::Steam;
  if (state == "不饱和水") return calc::Phase::Water;
  if (state == "超临界") return calc::Phase::Supercritical;
  if (state == "饱和水" || state == "饱和蒸汽" || state.rfind("饱和水或饱和蒸汽或湿蒸汽", 0) == 0)
    return calc::Phase::Wet;
  return calc::Phase::Unknown;
}

calc::Solution SolutionOf(const calc::RecordPoint& p) {
  calc::Solution s;
  s.p = p.p;
  s.t = p.t;
  s.h = p.h;
  s.s = p.s;
  s.v = p.v;
  s.x = std::isnan(p.x) ? -1 : p.x;
  s.state = p.state;
  s.phase = PhaseOf(p.state);
  return s;
}

QPushButton* Button(const QString& text, const char* id, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(id));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

CRecordModel::CRecordModel(CRecord& record, QObject* parent)
    : QAbstractTableModel(parent), m_record(record), m_captions(calc::RecordCaptions({})) {
  connect(&m_record, &CRecord::Appended, this, &CRecordModel::TakeNewRows);
  connect(&m_record, &CRecord::Removed, this, &CRecordModel::Reload);
  connect(&m_record, &CRecord::ProblemChanged, this, &CRecordModel::Reload);
  Reload();
}

void CRecordModel::SetFilter(const CRecord::Filter& filter) {
  m_filter = filter;
  Reload();
}

// The same rows and columns in other units: the selection stays.
void CRecordModel::SetUnits(const calc::Units& units) {
  m_units = units;
  m_captions = calc::RecordCaptions(units);
  m_pages.clear();
  emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
  if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void CRecordModel::Reload() {
  beginResetModel();
  m_ids = m_record.Ids(m_filter);
  m_pages.clear();
  endResetModel();
}

// New rows are newer than any shown: they go on top, the pages below move down.
void CRecordModel::TakeNewRows() {
  const std::vector<std::int64_t> fresh = m_record.Ids(m_filter, m_ids.empty() ? 0 : m_ids.front());
  if (fresh.empty()) return;
  beginInsertRows({}, 0, int(fresh.size()) - 1);
  m_ids.insert(m_ids.begin(), fresh.begin(), fresh.end());
  m_pages.clear();
  endInsertRows();
}

const std::vector<calc::Cell>& CRecordModel::CellsOf(int row) const {
  const int page = row / kPageRows;
  auto it = m_pages.find(page);
  if (it == m_pages.end()) {
    if (m_pages.size() >= kMaxPages) m_pages.clear();
    const std::size_t first = std::size_t(page) * kPageRows;
    const std::size_t last = std::min(m_ids.size(), first + kPageRows);
    std::vector<std::vector<calc::Cell>> cells;
    cells.reserve(last - first);
    for (const calc::RecordRow& r : m_record.Rows(
             {m_ids.begin() + std::ptrdiff_t(first), m_ids.begin() + std::ptrdiff_t(last)}))
      cells.push_back(r.id ? calc::RecordCells(r, m_units) : std::vector<calc::Cell>());
    it = m_pages.emplace(page, std::move(cells)).first;
  }
  return it->second[std::size_t(row % kPageRows)];
}

std::vector<std::int64_t> CRecordModel::IdsAt(const std::vector<int>& rows) const {
  std::vector<std::int64_t> ids;
  for (int row : rows)
    if (row >= 0 && std::size_t(row) < m_ids.size()) ids.push_back(m_ids[std::size_t(row)]);
  return ids;
}

std::vector<calc::RecordRow> CRecordModel::RowsAt(const std::vector<int>& rows) const {
  return m_record.Rows(IdsAt(rows));
}

std::vector<calc::RecordRow> CRecordModel::AllRows() const { return m_record.Rows(m_ids); }

int CRecordModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(m_ids.size());
}

int CRecordModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(m_captions.size());
}

QVariant CRecordModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() ||
      (role != Qt::DisplayRole && role != Qt::TextAlignmentRole && role != Qt::ToolTipRole))
    return {};
  const std::vector<calc::Cell>& cells = CellsOf(index.row());
  if (std::size_t(index.column()) >= cells.size()) return {};
  const calc::Cell& cell = cells[std::size_t(index.column())];
  switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(cell.text);
    case Qt::TextAlignmentRole:
      return int((std::isfinite(cell.number) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    default:  // a long reason or input text, whole
      return cell.text.size() > 20 ? QString::fromStdString(cell.text) : QVariant();
  }
}

QVariant CRecordModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return QString::fromStdString(m_captions[std::size_t(section)]);
}

CRecordWnd::CRecordWnd(QWidget* parent, CRecord& record)
    : QWidget(parent, Qt::Window), m_record(record), m_model(new CRecordModel(record, this)) {
  setObjectName(QStringLiteral("IDD_RECORD"));
  setWindowTitle(QStringLiteral("计算记录"));
  m_model->SetUnits(CUnitSettings::Instance().Units());

  m_item = new QComboBox(this);
  m_item->setObjectName(QStringLiteral("IDC_RECORD_ITEM"));
  m_item->addItem(QStringLiteral("全部项目"), -1);
  for (const ItemRow& item : ItemRows())
    m_item->addItem(QString::fromUtf8(item.text), int(item.item));
  m_text = new QLineEdit(this);
  m_text->setObjectName(QStringLiteral("IDC_RECORD_TEXT"));
  m_text->setPlaceholderText(QStringLiteral("查找状态、说明、来源或时间"));
  m_text->setClearButtonEnabled(true);
  m_count = new QLabel(this);
  m_count->setObjectName(QStringLiteral("IDC_RECORD_COUNT"));
  auto* filters = new QHBoxLayout;
  filters->addWidget(new QLabel(QStringLiteral("项目"), this));
  filters->addWidget(m_item);
  filters->addWidget(new QLabel(QStringLiteral("查找"), this));
  filters->addWidget(m_text, 1);
  filters->addWidget(m_count);

  m_problem = new QLabel(this);
  m_problem->setObjectName(QStringLiteral("IDC_RECORD_PROBLEM"));
  m_problem->setWordWrap(true);
  m_problem->setStyleSheet(QStringLiteral("QLabel { color: #a00000; }"));

  m_view = new QTableView(this);
  m_view->setObjectName(QStringLiteral("IDC_RECORD_TABLE"));
  m_view->setModel(m_model);
  m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_view->setWordWrap(false);
  m_view->verticalHeader()->hide();
  // Fixed row heights: the view never measures the rows it does not show.
  m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
  m_view->horizontalHeader()->setDefaultSectionSize(110);
  m_view->setColumnWidth(0, 150);   // time
  m_view->setColumnWidth(3, 150);   // item
  m_view->setColumnWidth(5, 260);   // inputs
  m_view->setColumnWidth(12, 200);  // state
  m_view->horizontalHeader()->setStretchLastSection(true);
  m_view->setContextMenuPolicy(Qt::ActionsContextMenu);

  auto* copy = Button(QStringLiteral("复制"), "IDC_RECORD_COPY", this);
  auto* save = Button(QStringLiteral("导出…"), "IDC_RECORD_EXPORT", this);
  auto* diagram = Button(QStringLiteral("在图中显示"), "IDC_RECORD_DIAGRAM", this);
  auto* remove = Button(QStringLiteral("删除"), "IDC_RECORD_DELETE", this);
  auto* clear = Button(QStringLiteral("清空…"), "IDC_RECORD_CLEAR", this);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {copy, save, diagram}) buttons->addWidget(b);
  buttons->addStretch(1);
  for (QPushButton* b : {remove, clear}) buttons->addWidget(b);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(filters);
  layout->addWidget(m_problem);
  layout->addWidget(m_view, 1);
  layout->addLayout(buttons);

  // The same commands in the table's right-click menu, with their keys.
  struct Command {
    const char* id;
    QString text;
    QKeySequence key;
    void (CRecordWnd::*run)();
  };
  const Command commands[] = {
      {"IDM_RECORD_COPY", QStringLiteral("复制(&C)"), QKeySequence::Copy, &CRecordWnd::Copy},
      {"IDM_RECORD_EXPORT", QStringLiteral("导出(&E)…"), QKeySequence(), &CRecordWnd::Export},
      {"IDM_RECORD_DIAGRAM", QStringLiteral("在图中显示(&D)"), QKeySequence(),
       &CRecordWnd::ShowSelectedInDiagram},
      {"IDM_RECORD_DELETE", QStringLiteral("删除(&L)"), QKeySequence::Delete,
       &CRecordWnd::DeleteSelected},
      {"IDM_RECORD_CLEAR", QStringLiteral("清空(&A)…"), QKeySequence(), &CRecordWnd::ClearAll}};
  for (const Command& c : commands) {
    auto* action = new QAction(c.text, m_view);
    action->setObjectName(QString::fromLatin1(c.id));
    action->setShortcut(c.key);
    action->setShortcutContext(Qt::WidgetShortcut);
    connect(action, &QAction::triggered, this, c.run);
    m_view->addAction(action);
  }
  connect(copy, &QPushButton::clicked, this, &CRecordWnd::Copy);
  connect(save, &QPushButton::clicked, this, &CRecordWnd::Export);
  connect(diagram, &QPushButton::clicked, this, &CRecordWnd::ShowSelectedInDiagram);
  connect(remove, &QPushButton::clicked, this, &CRecordWnd::DeleteSelected);
  connect(clear, &QPushButton::clicked, this, &CRecordWnd::ClearAll);

  connect(m_item, &QComboBox::currentIndexChanged, this, &CRecordWnd::ApplyFilter);
  connect(m_text, &QLineEdit::textChanged, this, &CRecordWnd::ApplyFilter);
  connect(m_model, &QAbstractItemModel::modelReset, this, &CRecordWnd::UpdateCount);
  connect(m_model, &QAbstractItemModel::rowsInserted, this, &CRecordWnd::UpdateCount);
  connect(&m_record, &CRecord::ProblemChanged, this, &CRecordWnd::ShowProblem);
  connect(&CUnitSettings::Instance(), &CUnitSettings::Changed, m_model, &CRecordModel::SetUnits);
  ShowProblem();
  UpdateCount();
  resize(1000, 560);
}

void CRecordWnd::ApplyFilter() {
  m_model->SetFilter({m_item->currentData().toInt(), m_text->text()});
}

void CRecordWnd::ShowProblem() {
  m_problem->setText(m_record.Problem());
  m_problem->setVisible(!m_record.Problem().isEmpty());
}

void CRecordWnd::UpdateCount() {
  m_count->setText(QStringLiteral("共 %1 条").arg(m_model->rowCount()));
}

std::vector<int> CRecordWnd::SelectedViewRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : m_view->selectionModel()->selectedRows())
    rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

std::vector<calc::RecordRow> CRecordWnd::SelectedRows() const {
  return m_model->RowsAt(SelectedViewRows());
}

QString CRecordWnd::CopyText() const {
  return QString::fromStdString(calc::ToTsv(calc::RecordTable(SelectedRows(), m_model->Units())));
}

void CRecordWnd::Copy() {
  const std::vector<calc::RecordRow> rows = SelectedRows();
  if (!rows.empty()) CopyRows(rows, m_model->Units());
}

// The selected rows, or every row shown when none is selected.
void CRecordWnd::Export() {
  const std::vector<calc::RecordRow> rows =
      SelectedViewRows().empty() ? m_model->AllRows() : SelectedRows();
  if (rows.empty()) return;
  ExportRows(this, rows, m_model->Units(), QStringLiteral("计算记录.csv"));
}

void CRecordWnd::DeleteSelected() {
  const std::vector<std::int64_t> ids = m_model->IdsAt(SelectedViewRows());
  if (ids.empty()) return;
  if (!m_record.Remove(ids))
    CAsk::Tell(this, QStringLiteral("删除"), QStringLiteral("无法从记录文件中删除这些行。"));
}

void CRecordWnd::ClearAll() {
  if (m_record.Count() == 0) return;
  const QString question =
      QStringLiteral("清空全部 %1 条计算记录？此操作不能撤销。").arg(m_record.Count());
  if (!CAsk::Confirm(this, QStringLiteral("清空计算记录"), question)) return;
  if (!m_record.Clear())
    CAsk::Tell(this, QStringLiteral("清空"), QStringLiteral("无法清空记录文件。"));
}

void CRecordWnd::ShowSelectedInDiagram() {
  std::vector<calc::Solution> points;
  for (const calc::RecordRow& row : SelectedRows()) {
    if (std::isfinite(row.first.p)) points.push_back(SolutionOf(row.first));
    if (row.solutions > 1 && std::isfinite(row.second.p)) points.push_back(SolutionOf(row.second));
  }
  if (points.empty()) return;
  emit ShowInDiagram(points, QStringLiteral("计算记录（%1 点）").arg(points.size()));
}
