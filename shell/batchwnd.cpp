#include "shell/batchwnd.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStringDecoder>
#include <QTableView>
#include <QVBoxLayout>

#include "shell/ask.h"
#include "shell/export.h"
#include "shell/record.h"
#include "shell/unitsettings.h"

namespace {

// Lines handed to the window at a time: often enough for a smooth progress bar, seldom enough
// that the record takes them in few transactions.
constexpr int kChunk = 250;
// Chunks the worker may have handed over that the window has not taken yet.
constexpr int kAhead = 2;

QString Source() { return QStringLiteral("批量计算"); }

}  // namespace

CRowsModel::CRowsModel(QObject* parent)
    : QAbstractTableModel(parent), m_captions(calc::RecordCaptions({})) {}

void CRowsModel::Clear() {
  beginResetModel();
  m_rows.clear();
  m_lines.clear();
  m_cells.clear();
  endResetModel();
}

void CRowsModel::Add(const std::vector<calc::RecordRow>& rows, const std::vector<int>& lines) {
  if (rows.empty()) return;
  beginInsertRows({}, int(m_rows.size()), int(m_rows.size() + rows.size()) - 1);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    m_rows.push_back(rows[i]);
    m_lines.push_back(i < lines.size() ? lines[i] : 0);
    m_cells.push_back(calc::RecordCells(rows[i], m_units));
  }
  endInsertRows();
}

// The same rows and columns in other units: the selection stays.
void CRowsModel::SetUnits(const calc::Units& units) {
  m_units = units;
  m_captions = calc::RecordCaptions(units);
  for (std::size_t i = 0; i < m_rows.size(); ++i) m_cells[i] = calc::RecordCells(m_rows[i], units);
  emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
  if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int CRowsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(m_rows.size());
}

int CRowsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(m_captions.size());
}

QVariant CRowsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const calc::Cell& cell = m_cells[std::size_t(index.row())][std::size_t(index.column())];
  if (role == Qt::DisplayRole) return QString::fromStdString(cell.text);
  if (role == Qt::TextAlignmentRole)
    return int((std::isfinite(cell.number) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
  return {};
}

QVariant CRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return m_lines[std::size_t(section)];
  return QString::fromStdString(m_captions[std::size_t(section)]);
}

CBatchWnd::CBatchWnd(QWidget* parent) : CBatchWnd(parent, CRecord::Instance()) {}

CBatchWnd::CBatchWnd(QWidget* parent, CRecord& record)
    : QWidget(parent, Qt::Window), m_record(record), m_model(new CRowsModel(this)) {
  setObjectName(QStringLiteral("IDD_BATCH"));
  setWindowTitle(QStringLiteral("批量计算"));
  m_model->SetUnits(CUnitSettings::Instance().Units());

  m_format = new QLabel(this);
  m_format->setObjectName(QStringLiteral("IDC_BATCH_FORMAT"));
  m_format->setWordWrap(true);
  m_formulation = new QComboBox(this);
  m_formulation->setObjectName(QStringLiteral("IDC_BATCH_FORMULATION"));
  m_formulation->addItem(QStringLiteral("IFC-67"));
  m_formulation->addItem(QStringLiteral("IAPWS-IF97"));
  m_input = new QPlainTextEdit(this);
  m_input->setObjectName(QStringLiteral("IDC_BATCH_INPUT"));
  m_input->setLineWrapMode(QPlainTextEdit::NoWrap);
  m_input->setPlaceholderText(
      QStringLiteral("例如（可从电子表格复制后粘贴）：\n任意状态水或水蒸汽\t压力和温度\t13."
                     "5\t535\n2\t4\t100\t420"));
  m_open = new QPushButton(QStringLiteral("打开文件…"), this);
  m_open->setObjectName(QStringLiteral("IDC_BATCH_OPEN"));
  m_run = new QPushButton(QStringLiteral("计算"), this);
  m_run->setObjectName(QStringLiteral("IDC_BATCH_RUN"));
  m_cancel = new QPushButton(QStringLiteral("取消"), this);
  m_cancel->setObjectName(QStringLiteral("IDC_BATCH_CANCEL"));
  m_copy = new QPushButton(QStringLiteral("复制结果"), this);
  m_copy->setObjectName(QStringLiteral("IDC_BATCH_COPY"));
  m_export = new QPushButton(QStringLiteral("导出…"), this);
  m_export->setObjectName(QStringLiteral("IDC_BATCH_EXPORT"));
  m_progress = new QProgressBar(this);
  m_progress->setObjectName(QStringLiteral("IDC_BATCH_PROGRESS"));
  m_status = new QLabel(this);
  m_status->setObjectName(QStringLiteral("IDC_BATCH_STATUS"));
  m_view = new QTableView(this);
  m_view->setObjectName(QStringLiteral("IDC_BATCH_RESULTS"));
  m_view->setModel(m_model);
  m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
  m_view->horizontalHeader()->setDefaultSectionSize(110);
  m_view->setColumnWidth(0, 150);
  m_view->setColumnWidth(3, 150);
  m_view->setColumnWidth(5, 260);
  m_view->setColumnWidth(12, 200);
  m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_view->setWordWrap(false);
  m_errors = new QListWidget(this);
  m_errors->setObjectName(QStringLiteral("IDC_BATCH_ERRORS"));

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("公式"), this));
  top->addWidget(m_formulation);
  top->addStretch(1);
  top->addWidget(m_open);
  top->addWidget(m_run);
  top->addWidget(m_cancel);
  auto* progress = new QHBoxLayout;
  progress->addWidget(m_progress, 1);
  progress->addWidget(m_status, 2);
  progress->addWidget(m_copy);
  progress->addWidget(m_export);
  auto* results = new QWidget(this);
  auto* resultsLayout = new QVBoxLayout(results);
  resultsLayout->setContentsMargins(0, 0, 0, 0);
  resultsLayout->addLayout(progress);
  resultsLayout->addWidget(m_view, 3);
  resultsLayout->addWidget(new QLabel(QStringLiteral("无法读取的行："), this));
  resultsLayout->addWidget(m_errors, 1);
  auto* split = new QSplitter(Qt::Vertical, this);
  split->addWidget(m_input);
  split->addWidget(results);
  split->setStretchFactor(1, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_format);
  layout->addLayout(top);
  layout->addWidget(split, 1);

  connect(m_open, &QPushButton::clicked, this, &CBatchWnd::ChooseFile);
  connect(m_run, &QPushButton::clicked, this, &CBatchWnd::Run);
  connect(m_cancel, &QPushButton::clicked, this, &CBatchWnd::Cancel);
  connect(m_copy, &QPushButton::clicked, this, [this] {
    if (!m_model->Rows().empty()) CopyRows(m_model->Rows(), m_model->Units());
  });
  connect(m_export, &QPushButton::clicked, this, [this] {
    if (!m_model->Rows().empty())
      ExportRows(this, m_model->Rows(), m_model->Units(), QStringLiteral("批量计算.csv"));
  });
  connect(&CUnitSettings::Instance(), &CUnitSettings::Changed, this, &CBatchWnd::ShowUnits);
  ShowUnits();
  SetRunning(false);
  resize(1000, 680);
}

void CBatchWnd::Job::Stop() {
  {
    const std::lock_guard lock(mutex);
    cancel = true;
  }
  changed.notify_all();
}

CBatchWnd::~CBatchWnd() {
  if (m_job) m_job->Stop();
  if (m_worker.joinable()) m_worker.join();
}

void CBatchWnd::ShowUnits() {
  const calc::Units units = CUnitSettings::Instance().Units();
  m_model->SetUnits(units);
  m_format->setText(
      QStringLiteral(
          "每行一个状态点：项目、方式、输入 1、输入 2、输入 3，以制表符或逗号分隔（可从电子表格"
          "粘贴）；项目和方式写文字或序号，以 # 开头的行不计算。输入的单位：%1。")
          .arg(QString::fromStdString(calc::DescribeUnits(units))));
}

void CBatchWnd::SetRunning(bool running) {
  for (QWidget* w :
       std::initializer_list<QWidget*>{m_open, m_run, m_formulation, m_input, m_copy, m_export})
    w->setEnabled(!running);
  m_cancel->setEnabled(running);
}

void CBatchWnd::ChooseFile() {
  const QString path = CAsk::OpenFile(this, QStringLiteral("打开批量计算文件"),
                                      QStringLiteral("表格文本 (*.tsv *.csv *.txt);;所有文件 (*)"));
  if (!path.isEmpty()) OpenFile(path);
}

bool CBatchWnd::OpenFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    CAsk::Tell(this, QStringLiteral("打开文件"),
               QStringLiteral("无法读取文件 %1：%2")
                   .arg(QDir::toNativeSeparators(path), file.errorString()));
    return false;
  }
  const QByteArray bytes = file.readAll();
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8.decode(bytes);
  if (utf8.hasError()) {
    QStringDecoder gb("GB18030");
    text = gb.isValid() ? QString(gb.decode(bytes)) : QString();
    if (!gb.isValid() || gb.hasError()) {
      CAsk::Tell(this, QStringLiteral("打开文件"),
                 QStringLiteral("文件 %1 既不是 UTF-8 也不是 GB18030 编码的文本。")
                     .arg(QDir::toNativeSeparators(path)));
      return false;
    }
  }
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  m_input->setPlainText(text);
  return true;
}

void CBatchWnd::Run() {
  if (Running()) return;
  const calc::Formulation formulation =
      m_formulation->currentIndex() == 1 ? calc::Formulation::IF97 : calc::Formulation::IFC67;
  const std::vector<calc::BatchLine> lines = calc::ReadBatch(
      m_input->toPlainText().toStdString(), CUnitSettings::Instance().Units(), formulation);
  m_model->Clear();
  m_errors->clear();
  std::vector<calc::Request> requests;
  m_unreadable = 0;
  m_lines.clear();
  for (const calc::BatchLine& line : lines) {
    if (line.error.empty()) {
      requests.push_back(line.request);
      m_lines.push_back(line.number);
    } else {
      ++m_unreadable;
      m_errors->addItem(
          QStringLiteral("第 %1 行：%2").arg(line.number).arg(QString::fromStdString(line.error)));
    }
  }
  const int total = int(requests.size());
  m_progress->setRange(0, std::max(total, 1));
  m_progress->setValue(0);
  m_status->setText(QStringLiteral("正在计算 %1 行…").arg(total));
  SetRunning(true);
  m_job = std::make_shared<Job>();
  // The worker only calculates; the window takes each chunk on its own thread, where the record
  // and the table live. A chunk that arrives after the window is gone is dropped.
  m_worker = std::thread([this, job = m_job, requests = std::move(requests), total] {
    int done = 0;
    int sent = 0;
    while (done < total && !job->cancel) {
      {
        std::unique_lock lock(job->mutex);
        job->changed.wait(lock, [&] { return job->cancel || sent - job->taken <= kAhead; });
      }
      if (job->cancel) break;
      std::vector<calc::Answer> answers;
      const int end = std::min(total, done + kChunk);
      for (int i = done; i < end && !job->cancel; ++i)
        answers.push_back(calc::Calculate(requests[std::size_t(i)]));
      done += int(answers.size());
      ++sent;
      QMetaObject::invokeMethod(
          this,
          [this, answers = std::move(answers), done, total]() mutable {
            Take(std::move(answers), done, total);
          },
          Qt::QueuedConnection);
    }
    const bool cancelled = job->cancel;
    QMetaObject::invokeMethod(
        this, [this, cancelled] { End(cancelled); }, Qt::QueuedConnection);
  });
}

void CBatchWnd::Take(std::vector<calc::Answer> answers, int done, int total) {
  const std::int64_t now = QDateTime::currentMSecsSinceEpoch();
  std::vector<calc::RecordRow> rows;
  rows.reserve(answers.size());
  for (const calc::Answer& a : answers)
    rows.push_back(calc::ToRecordRow(a, now, Source().toStdString()));
  m_record.Append(rows);
  const auto first = m_lines.begin() + std::ptrdiff_t(done) - std::ptrdiff_t(rows.size());
  m_model->Add(rows, {first, first + std::ptrdiff_t(rows.size())});
  m_progress->setValue(done);
  m_status->setText(QStringLiteral("已计算 %1 / %2 行").arg(done).arg(total));
  if (m_job) {
    {
      const std::lock_guard lock(m_job->mutex);
      ++m_job->taken;
    }
    m_job->changed.notify_all();
  }
}

void CBatchWnd::Cancel() {
  if (m_job) m_job->Stop();
}

void CBatchWnd::End(bool cancelled) {
  if (m_worker.joinable()) m_worker.join();
  m_job.reset();
  SetRunning(false);
  QString status = cancelled ? QStringLiteral("已取消：计算了 %1 行").arg(m_model->rowCount())
                             : QStringLiteral("完成：计算了 %1 行").arg(m_model->rowCount());
  if (m_unreadable > 0) status += QStringLiteral("，%1 行无法读取").arg(m_unreadable);
  m_status->setText(status + QStringLiteral("。"));
  emit Finished();
}
