#include "shell/steamtablewnd.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "calc/toolstamp.h"
#include "shell/resulttablemodel.h"
#include "shell/tablefile.h"
#include "shell/tableprinter.h"
#include "shell/toolinput.h"
#include "shell/unitsettings.h"

namespace {

using calc::Quantity;

QString Id(const char* stem, int axis) {
  return QString::fromLatin1(stem) + QString::number(axis + 1);
}

// A step is a difference: it converts without the zero of the unit (Kelvin, gauge pressures).
void ConvertStep(QLineEdit* edit, Quantity q, const calc::Units& from, const calc::Units& to) {
  double value = 0;
  if (!ReadInput(edit, value)) return;
  const double engine = *calc::In(q, value + 1, from) - *calc::In(q, 1, from);
  const double shown = calc::Out(q, engine, to) - calc::Out(q, 0, to);
  edit->setText(QString::number(shown, 'g', 12));
}

void ConvertList(QLineEdit* edit, Quantity q, const calc::Units& from, const calc::Units& to) {
  calc::Series series;
  std::string error;
  if (!calc::ParseSeries(edit->text().toStdString(), series, error) || series.IsRange()) return;
  QStringList values;
  for (double v : series.list) {
    const std::optional<double> engine = calc::In(q, v, from);
    if (!engine) return;
    values << QString::number(calc::Out(q, *engine, to), 'g', 12);
  }
  edit->setText(values.join(QStringLiteral(", ")));
}

}  // namespace

CSteamTableWnd::CSteamTableWnd(QWidget* parent)
    : QWidget(parent, Qt::Window), m_units(CUnitSettings::Instance().Units()) {
  setObjectName(QStringLiteral("IDD_STEAMTABLE"));
  setWindowTitle(QStringLiteral("水蒸气表"));
  CreateControls();
  UpdateControls();
  connect(&CUnitSettings::Instance(), &CUnitSettings::Changed, this, &CSteamTableWnd::UnitsChanged);
  resize(900, 680);
}

CSteamTableWnd::Axis CSteamTableWnd::CreateAxis(int index) {
  Axis a{};
  a.box = new QGroupBox(this);
  a.box->setObjectName(Id("IDC_ST_AXIS", index));
  auto* grid = new QGridLayout(a.box);
  a.mode = new QComboBox(a.box);
  a.mode->setObjectName(Id("IDC_ST_MODE", index));
  a.mode->addItems({QStringLiteral("范围"), QStringLiteral("列表")});
  auto edit = [&](const char* stem, const QString& hint) {
    auto* e = new QLineEdit(a.box);
    e->setObjectName(Id(stem, index));
    e->setPlaceholderText(hint);
    connect(e, &QLineEdit::returnPressed, this, &CSteamTableWnd::MakeTable);
    return e;
  };
  a.from = edit("IDC_ST_FROM", QStringLiteral("起点"));
  a.to = edit("IDC_ST_TO", QStringLiteral("终点"));
  a.step = edit("IDC_ST_STEP", QStringLiteral("步长"));
  a.list = edit("IDC_ST_LIST", QStringLiteral("如 0.1, 0.5, 1（可粘贴）"));
  a.unit = new QLabel(a.box);
  a.unit->setObjectName(Id("IDC_ST_UNIT", index));
  grid->addWidget(a.mode, 0, 0);
  grid->addWidget(a.from, 0, 1);
  grid->addWidget(a.to, 0, 2);
  grid->addWidget(a.step, 0, 3);
  grid->addWidget(a.list, 0, 1, 1, 3);
  grid->addWidget(a.unit, 0, 4);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(2, 1);
  grid->setColumnStretch(3, 1);
  connect(a.mode, &QComboBox::currentIndexChanged, this, &CSteamTableWnd::UpdateControls);
  return a;
}

void CSteamTableWnd::CreateControls() {
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  m_kind = new QComboBox(this);
  m_kind->setObjectName(QStringLiteral("IDC_ST_KIND"));
  for (calc::TableKind k :
       {calc::TableKind::SaturationByTemperature, calc::TableKind::SaturationByPressure,
        calc::TableKind::PressureTemperature})
    m_kind->addItem(QString::fromStdString(calc::TableTitle(k)));
  m_formulations = new QComboBox(this);
  m_formulations->setObjectName(QStringLiteral("IDC_ST_FORMULATION"));
  m_formulations->addItems(
      {QStringLiteral("IFC-67"), QStringLiteral("IF97"), QStringLiteral("IFC-67 与 IF97 对比")});
  top->addWidget(new QLabel(QStringLiteral("表"), this));
  top->addWidget(m_kind);
  top->addSpacing(16);
  top->addWidget(new QLabel(QStringLiteral("公式"), this));
  top->addWidget(m_formulations);
  top->addStretch(1);
  layout->addLayout(top);
  for (int i = 0; i < 2; ++i) {
    m_axis[i] = CreateAxis(i);
    layout->addWidget(m_axis[i].box);
  }

  auto* extras = new QGroupBox(QStringLiteral("另列"), this);
  auto* extrasLayout = new QHBoxLayout(extras);
  for (const calc::TableExtraName& n : calc::TableExtraNames()) {
    auto* box = new QCheckBox(QString::fromUtf8(n.caption), extras);
    box->setObjectName(QStringLiteral("IDC_ST_EXTRA_") + QString::fromLatin1(n.key));
    extrasLayout->addWidget(box);
    m_extras.emplace_back(n.extra, box);
  }
  extrasLayout->addStretch(1);
  layout->addWidget(extras);

  auto* buttons = new QHBoxLayout;
  auto button = [&](const char* id, const QString& text) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QString::fromLatin1(id));
    buttons->addWidget(b);
    return b;
  };
  QPushButton* make = button("IDC_ST_MAKE", QStringLiteral("生成"));
  make->setDefault(true);
  connect(make, &QPushButton::clicked, this, &CSteamTableWnd::MakeTable);
  connect(button("IDC_ST_COPY", QStringLiteral("复制")), &QPushButton::clicked, this,
          [this] { QApplication::clipboard()->setText(CopyText()); });
  connect(button("IDC_ST_EXPORT", QStringLiteral("导出…")), &QPushButton::clicked, this, [this] {
    const QString path =
        AskSaveFileName(this, QStringLiteral("导出水蒸气表"),
                        QString::fromStdString(m_table.title) + ".xlsx", TableFileFilter());
    if (!path.isEmpty()) ExportTo(path);
  });
  connect(button("IDC_ST_PRINT", QStringLiteral("打印为 PDF…")), &QPushButton::clicked, this,
          [this] {
            const QString path = AskSaveFileName(this, QStringLiteral("打印为 PDF"),
                                                 QString::fromStdString(m_table.title) + ".pdf",
                                                 QStringLiteral("PDF 文件 (*.pdf)"));
            if (!path.isEmpty()) PrintTo(path);
          });
  buttons->addStretch(1);
  layout->addLayout(buttons);

  m_message = new QLabel(this);
  m_message->setObjectName(QStringLiteral("IDC_ST_MESSAGE"));
  m_message->setWordWrap(true);
  m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(m_message);
  m_model = new CResultTableModel(this);
  m_view = new QTableView(this);
  m_view->setObjectName(QStringLiteral("IDC_ST_TABLE"));
  m_view->setModel(m_model);
  m_view->verticalHeader()->hide();
  m_view->horizontalHeader()->setStretchLastSection(true);
  m_view->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
  layout->addWidget(m_view, 1);
  ShowMessage({}, false);

  auto* copy = new QAction(QStringLiteral("复制(&C)"), this);
  copy->setShortcut(QKeySequence::Copy);
  copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  connect(copy, &QAction::triggered, this,
          [this] { QApplication::clipboard()->setText(CopyText()); });
  m_view->addAction(copy);
  connect(m_kind, &QComboBox::currentIndexChanged, this, &CSteamTableWnd::UpdateControls);
}

void CSteamTableWnd::UpdateControls() {
  const auto kind = calc::TableKind(m_kind->currentIndex());
  const bool pt = kind == calc::TableKind::PressureTemperature;
  const bool byT = kind == calc::TableKind::SaturationByTemperature;
  m_axis[0].box->setTitle(byT ? QStringLiteral("温度") : QStringLiteral("压力"));
  m_axis[0].unit->setText(UnitText(byT ? Quantity::Temperature : Quantity::Pressure, m_units));
  m_axis[1].box->setTitle(QStringLiteral("温度"));
  m_axis[1].unit->setText(UnitText(Quantity::Temperature, m_units));
  m_axis[1].box->setVisible(pt);
  for (const Axis& a : m_axis) {
    const bool list = a.mode->currentIndex() == 1;
    for (QLineEdit* e : {a.from, a.to, a.step}) e->setVisible(!list);
    a.list->setVisible(list);
  }
  for (const auto& [extra, box] : m_extras) {
    const bool ptOnly =
        extra == calc::TableExtra::SatTemperature || extra == calc::TableExtra::Superheat;
    box->setEnabled(pt || !ptOnly);
  }
}

void CSteamTableWnd::UnitsChanged(const calc::Units& units) {
  const calc::Units old = m_units;
  m_units = units;
  const bool byT =
      calc::TableKind(m_kind->currentIndex()) == calc::TableKind::SaturationByTemperature;
  for (int i = 0; i < 2; ++i) {
    const Quantity q = i == 1 || byT ? Quantity::Temperature : Quantity::Pressure;
    const Axis& a = m_axis[i];
    ConvertInput(a.from, q, old, units);
    ConvertInput(a.to, q, old, units);
    ConvertStep(a.step, q, old, units);
    ConvertList(a.list, q, old, units);
  }
  UpdateControls();
  if (!m_table.table.rows.empty()) MakeTable();
}

bool CSteamTableWnd::ReadAxis(const Axis& a, const QString& name, calc::Series& series,
                              QString& error) const {
  if (a.mode->currentIndex() == 1) {
    std::string message;
    if (calc::ParseSeries(a.list->text().toStdString(), series, message)) return true;
    error = name + QStringLiteral("：") + QString::fromStdString(message);
    return false;
  }
  double v[3];
  const QLineEdit* edits[3] = {a.from, a.to, a.step};
  const char* words[3] = {"起点", "终点", "步长"};
  for (int k = 0; k < 3; ++k) {
    if (!ReadInput(edits[k], v[k])) {
      error = QStringLiteral("请输入") + name + QStringLiteral("的") + QString::fromUtf8(words[k]) +
              QStringLiteral("（一个数）");
      return false;
    }
  }
  series = calc::Series::Range(v[0], v[1], v[2]);
  return true;
}

calc::TableRequest CSteamTableWnd::Request() const {
  calc::TableRequest r;
  r.kind = calc::TableKind(m_kind->currentIndex());
  r.compare = m_formulations->currentIndex() == 2;
  r.formulation =
      r.compare ? calc::Formulation::IFC67 : calc::Formulation(m_formulations->currentIndex());
  r.units = m_units;
  for (const auto& [extra, box] : m_extras)
    if (box->isEnabled() && box->isChecked()) r.extras.push_back(extra);
  return r;
}

bool CSteamTableWnd::MakeTable() {
  calc::TableRequest r = Request();
  QString error;
  const bool ok = ReadAxis(m_axis[0], m_axis[0].box->title(), r.first, error) &&
                  (r.kind != calc::TableKind::PressureTemperature ||
                   ReadAxis(m_axis[1], m_axis[1].box->title(), r.second, error));
  std::string message;
  calc::SteamTable table;
  if (!ok || !calc::MakeSteamTable(r, table, message)) {
    // No table stands beside a request it does not answer.
    m_table = {};
    m_model->SetTable({});
    ShowMessage(ok ? QString::fromStdString(message) : error, true);
    return false;
  }
  m_table = table;
  m_compare = r.compare;
  m_formulation = r.formulation;
  m_model->SetTable(m_table.table);
  m_view->resizeColumnsToContents();
  QString notes;
  for (const std::string& n : m_table.notes)
    notes += (notes.isEmpty() ? "" : "\n") + QString::fromStdString(n);
  ShowMessage(notes, !notes.isEmpty());
  return true;
}

void CSteamTableWnd::ShowMessage(const QString& text, bool failed) {
  m_message->setText(text);
  m_message->setStyleSheet(failed ? QStringLiteral("color: #b00000") : QString());
  m_message->setVisible(!text.isEmpty());
}

QString CSteamTableWnd::CopyText() const {
  return QString::fromStdString(calc::ToTsv(m_table.table));
}

bool CSteamTableWnd::ExportTo(const QString& path) {
  const calc::Stamp stamp = calc::ToolStamp(ProgramStamp(), m_table.title, m_formulation, m_compare,
                                            m_units, calc::Today());
  QString error;
  if (WriteTableFile(path, m_table.table, stamp, error)) return true;
  ShowMessage(error, true);
  return false;
}

int CSteamTableWnd::PrintTo(const QString& path) {
  PrintedTable document;
  document.title = QString::fromStdString(m_table.title);
  document.header << QStringLiteral("公式：") +
                         QString::fromStdString(calc::FormulationText(m_formulation, m_compare))
                  << QStringLiteral("单位：") + QString::fromStdString(calc::UnitsText(m_units))
                  << QStringLiteral("日期：") + QString::fromStdString(calc::Today()) +
                         QStringLiteral("　　") + QString::fromStdString(ProgramStamp());
  document.table = m_table.table;
  QString error;
  const int pages = PrintTableToPdf(document, path, error);
  if (pages == 0) ShowMessage(error, true);
  return pages;
}
