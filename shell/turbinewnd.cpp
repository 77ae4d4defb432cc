#include "shell/turbinewnd.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "calc/toolstamp.h"
#include "shell/resulttablemodel.h"
#include "shell/tablefile.h"
#include "shell/toolinput.h"
#include "shell/unitsettings.h"

namespace {

using calc::Quantity;

QLineEdit* Edit(QWidget* parent, const char* id) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(id));
  return edit;
}

QLabel* Label(QWidget* parent, const char* id, const QString& text = {}) {
  auto* label = new QLabel(text, parent);
  if (id) label->setObjectName(QString::fromLatin1(id));
  return label;
}

QComboBox* Combo(QWidget* parent, const char* id, const QStringList& entries) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(QString::fromLatin1(id));
  combo->addItems(entries);
  return combo;
}

// The quantity of the inlet's second input and of the measured outlet's value.
Quantity InletQuantity(int kind) {
  return kind == int(calc::InletKind::PressureEnthalpy) ? Quantity::Enthalpy
                                                        : Quantity::Temperature;
}
Quantity OutletQuantity(int kind) {
  switch (calc::OutletKind(kind)) {
    case calc::OutletKind::PressureDryness: return Quantity::Dryness;
    case calc::OutletKind::PressureEnthalpy: return Quantity::Enthalpy;
    default: return Quantity::Temperature;
  }
}
QString QuantityName(Quantity q) {
  switch (q) {
    case Quantity::Enthalpy: return QStringLiteral("焓");
    case Quantity::Dryness: return QStringLiteral("干度");
    default: return QStringLiteral("温度");
  }
}

}  // namespace

CTurbineWnd::CTurbineWnd(QWidget* parent)
    : QWidget(parent, Qt::Window), m_units(CUnitSettings::Instance().Units()) {
  setObjectName(QStringLiteral("IDD_TURBINE"));
  setWindowTitle(QStringLiteral("汽轮机膨胀过程"));
  CreateControls();
  UpdateLabels();
  connect(&CUnitSettings::Instance(), &CUnitSettings::Changed, this, &CTurbineWnd::UnitsChanged);
  resize(940, 700);
}

void CTurbineWnd::CreateControls() {
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  top->addWidget(Label(this, nullptr, QStringLiteral("公式")));
  m_formulation = Combo(
      this, "IDC_TB_FORMULATION",
      {QStringLiteral("IFC-67"), QStringLiteral("IF97"), QStringLiteral("IFC-67 与 IF97 对比")});
  top->addWidget(m_formulation);
  top->addStretch(1);
  layout->addLayout(top);

  auto* inlet = new QGroupBox(QStringLiteral("进口"), this);
  auto* grid = new QGridLayout(inlet);
  m_inletKind = Combo(inlet, "IDC_TB_INLET",
                      {QStringLiteral("压力和温度"), QStringLiteral("压力和焓"),
                       QStringLiteral("饱和蒸汽（压力）")});
  m_p1 = Edit(inlet, "IDC_TB_P1");
  m_x1 = Edit(inlet, "IDC_TB_X1");
  m_p1Unit = Label(inlet, "IDC_TB_P1_UNIT");
  m_x1Label = Label(inlet, "IDC_TB_X1_LABEL");
  m_x1Unit = Label(inlet, "IDC_TB_X1_UNIT");
  grid->addWidget(Label(inlet, nullptr, QStringLiteral("给定")), 0, 0);
  grid->addWidget(m_inletKind, 0, 1);
  grid->addWidget(Label(inlet, nullptr, QStringLiteral("压力")), 1, 0);
  grid->addWidget(m_p1, 1, 1);
  grid->addWidget(m_p1Unit, 1, 2);
  grid->addWidget(m_x1Label, 2, 0);
  grid->addWidget(m_x1, 2, 1);
  grid->addWidget(m_x1Unit, 2, 2);
  grid->setColumnStretch(3, 1);
  layout->addWidget(inlet);

  m_pages = new QTabWidget(this);
  m_pages->setObjectName(QStringLiteral("IDC_TB_MODE"));
  auto* given = new QWidget(m_pages);
  auto* givenGrid = new QGridLayout(given);
  m_p2 = Edit(given, "IDC_TB_P2");
  m_p2Unit = Label(given, "IDC_TB_P2_UNIT");
  m_eta = Edit(given, "IDC_TB_ETA");
  givenGrid->addWidget(Label(given, nullptr, QStringLiteral("出口压力")), 0, 0);
  givenGrid->addWidget(m_p2, 0, 1);
  givenGrid->addWidget(m_p2Unit, 0, 2);
  givenGrid->addWidget(Label(given, nullptr, QStringLiteral("内效率 η")), 1, 0);
  givenGrid->addWidget(m_eta, 1, 1);
  givenGrid->setColumnStretch(3, 1);
  givenGrid->setRowStretch(2, 1);
  m_pages->addTab(given, QStringLiteral("已知效率"));

  auto* chain = new QWidget(m_pages);
  auto* chainLayout = new QGridLayout(chain);
  m_sections = new QStandardItemModel(1, 2, chain);
  m_sectionView = new QTableView(chain);
  m_sectionView->setObjectName(QStringLiteral("IDC_TB_SECTIONS"));
  m_sectionView->setModel(m_sections);
  m_sectionView->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  m_sectionView->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  auto* paste = new QAction(QStringLiteral("粘贴(&P)"), m_sectionView);
  paste->setShortcut(QKeySequence::Paste);
  paste->setShortcutContext(Qt::WidgetShortcut);
  connect(paste, &QAction::triggered, this,
          [this] { PasteSections(QApplication::clipboard()->text()); });
  m_sectionView->addAction(paste);
  auto* add = new QPushButton(QStringLiteral("添加一行"), chain);
  add->setObjectName(QStringLiteral("IDC_TB_ADD"));
  connect(add, &QPushButton::clicked, this, [this] {
    if (m_sections->rowCount() < calc::kMaxSections) m_sections->insertRow(m_sections->rowCount());
  });
  auto* remove = new QPushButton(QStringLiteral("删除所选行"), chain);
  remove->setObjectName(QStringLiteral("IDC_TB_REMOVE"));
  connect(remove, &QPushButton::clicked, this, [this] {
    const int row = m_sectionView->currentIndex().row();
    if (row >= 0 && m_sections->rowCount() > 1) m_sections->removeRow(row);
  });
  chainLayout->addWidget(m_sectionView, 0, 0, 3, 1);
  chainLayout->addWidget(add, 0, 1);
  chainLayout->addWidget(remove, 1, 1);
  chainLayout->addWidget(Label(chain, nullptr,
                               QStringLiteral("每行一段：末（抽汽）压力和该级组的内效率；\n"
                                              "可从表格软件粘贴（Ctrl+V），最多 50 行。")),
                         3, 0, 1, 2);
  m_pages->addTab(chain, QStringLiteral("分段（抽汽点）"));

  auto* measured = new QWidget(m_pages);
  auto* measuredGrid = new QGridLayout(measured);
  m_outletKind = Combo(
      measured, "IDC_TB_OUTLET",
      {QStringLiteral("压力和温度"), QStringLiteral("压力和干度"), QStringLiteral("压力和焓")});
  m_mp2 = Edit(measured, "IDC_TB_MP2");
  m_mp2Unit = Label(measured, "IDC_TB_MP2_UNIT");
  m_mx2Label = Label(measured, "IDC_TB_MX2_LABEL");
  m_mx2 = Edit(measured, "IDC_TB_MX2");
  m_mx2Unit = Label(measured, "IDC_TB_MX2_UNIT");
  measuredGrid->addWidget(Label(measured, nullptr, QStringLiteral("出口给定")), 0, 0);
  measuredGrid->addWidget(m_outletKind, 0, 1);
  measuredGrid->addWidget(Label(measured, nullptr, QStringLiteral("出口压力")), 1, 0);
  measuredGrid->addWidget(m_mp2, 1, 1);
  measuredGrid->addWidget(m_mp2Unit, 1, 2);
  measuredGrid->addWidget(m_mx2Label, 2, 0);
  measuredGrid->addWidget(m_mx2, 2, 1);
  measuredGrid->addWidget(m_mx2Unit, 2, 2);
  measuredGrid->setColumnStretch(3, 1);
  measuredGrid->setRowStretch(3, 1);
  m_pages->addTab(measured, QStringLiteral("由测量求效率"));
  // The pages take the height they need; the result table the rest.
  m_pages->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
  m_sectionView->setMinimumHeight(fontMetrics().height() * 7);
  layout->addWidget(m_pages);

  auto* buttons = new QHBoxLayout;
  auto* calculate = new QPushButton(QStringLiteral("计算"), this);
  calculate->setObjectName(QStringLiteral("IDC_TB_CALC"));
  calculate->setDefault(true);
  connect(calculate, &QPushButton::clicked, this, &CTurbineWnd::Calculate);
  auto* copy = new QPushButton(QStringLiteral("复制"), this);
  copy->setObjectName(QStringLiteral("IDC_TB_COPY"));
  connect(copy, &QPushButton::clicked, this,
          [this] { QApplication::clipboard()->setText(CopyText()); });
  auto* exportButton = new QPushButton(QStringLiteral("导出…"), this);
  exportButton->setObjectName(QStringLiteral("IDC_TB_EXPORT"));
  connect(exportButton, &QPushButton::clicked, this, [this] {
    const QString path = AskSaveFileName(this, QStringLiteral("导出膨胀过程"),
                                         QStringLiteral("汽轮机膨胀过程.xlsx"), TableFileFilter());
    if (!path.isEmpty()) ExportTo(path);
  });
  for (QPushButton* b : {calculate, copy, exportButton}) buttons->addWidget(b);
  buttons->addStretch(1);
  layout->addLayout(buttons);

  m_result = new CResultTableModel(this);
  m_resultView = new QTableView(this);
  m_resultView->setObjectName(QStringLiteral("IDC_TB_RESULT"));
  m_resultView->setModel(m_result);
  m_resultView->verticalHeader()->hide();
  m_resultView->horizontalHeader()->setStretchLastSection(true);
  m_resultView->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  m_resultView->setSelectionMode(QAbstractItemView::ExtendedSelection);
  layout->addWidget(m_resultView, 1);
  m_notes = Label(this, "IDC_TB_NOTES");
  m_notes->setWordWrap(true);
  m_notes->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(m_notes);
  ShowNotes({}, false);

  auto* copyKey = new QAction(QStringLiteral("复制(&C)"), this);
  copyKey->setShortcut(QKeySequence::Copy);
  copyKey->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  connect(copyKey, &QAction::triggered, this,
          [this] { QApplication::clipboard()->setText(CopyText()); });
  m_resultView->addAction(copyKey);

  connect(m_inletKind, &QComboBox::currentIndexChanged, this, &CTurbineWnd::UpdateLabels);
  connect(m_outletKind, &QComboBox::currentIndexChanged, this, &CTurbineWnd::UpdateLabels);
  for (QLineEdit* e : {m_p1, m_x1, m_p2, m_eta, m_mp2, m_mx2})
    connect(e, &QLineEdit::returnPressed, this, &CTurbineWnd::Calculate);
}

void CTurbineWnd::UpdateLabels() {
  const Quantity x1 = InletQuantity(m_inletKind->currentIndex());
  const bool saturated = m_inletKind->currentIndex() == int(calc::InletKind::SaturatedSteam);
  m_x1Label->setText(QuantityName(x1));
  m_x1Unit->setText(UnitText(x1, m_units));
  m_x1->setEnabled(!saturated);
  const Quantity x2 = OutletQuantity(m_outletKind->currentIndex());
  m_mx2Label->setText(QuantityName(x2));
  m_mx2Unit->setText(UnitText(x2, m_units));
  const QString p = UnitText(Quantity::Pressure, m_units);
  for (QLabel* unit : {m_p1Unit, m_p2Unit, m_mp2Unit}) unit->setText(p);
  m_sections->setHorizontalHeaderLabels(
      {QStringLiteral("末压力 ") + p, QStringLiteral("内效率 η")});
}

void CTurbineWnd::UnitsChanged(const calc::Units& units) {
  const calc::Units old = m_units;
  m_units = units;
  ConvertInput(m_p1, Quantity::Pressure, old, units);
  ConvertInput(m_x1, InletQuantity(m_inletKind->currentIndex()), old, units);
  ConvertInput(m_p2, Quantity::Pressure, old, units);
  ConvertInput(m_mp2, Quantity::Pressure, old, units);
  ConvertInput(m_mx2, OutletQuantity(m_outletKind->currentIndex()), old, units);
  for (int row = 0; row < m_sections->rowCount(); ++row) {
    QLineEdit edit(m_sections->data(m_sections->index(row, 0)).toString());
    ConvertInput(&edit, Quantity::Pressure, old, units);
    m_sections->setData(m_sections->index(row, 0), edit.text());
  }
  UpdateLabels();
  if (!m_results.empty()) Calculate();
}

void CTurbineWnd::PasteSections(const QString& text) {
  int row = std::max(0, m_sectionView->currentIndex().row());
  bool cut = false;
  for (const QString& line : text.split(QRegularExpression(QStringLiteral("[\r\n]+")))) {
    const QStringList fields =
        line.split(QRegularExpression(QStringLiteral("[\t,;，； ]+")), Qt::SkipEmptyParts);
    if (fields.isEmpty()) continue;
    if (row >= calc::kMaxSections) {
      cut = true;
      break;
    }
    if (row >= m_sections->rowCount()) m_sections->insertRow(row);
    for (int column = 0; column < 2; ++column)
      m_sections->setData(m_sections->index(row, column),
                          column < fields.size() ? fields[column] : QString());
    ++row;
  }
  ShowNotes(cut ? QStringLiteral("最多 50 段：多出的行未粘贴") : QString(), cut);
}

bool CTurbineWnd::ReadRequest(calc::Inlet& inlet, std::vector<calc::Section>& sections,
                              calc::Outlet& outlet, QString& error) const {
  auto read = [&](const QLineEdit* edit, Quantity q, const QString& name, double& value) {
    double typed = 0;
    if (!ReadInput(edit, typed)) {
      error = QStringLiteral("请输入") + name + QStringLiteral("（一个数）");
      return false;
    }
    const std::optional<double> in = calc::In(q, typed, m_units);
    if (!in) {
      error = name + QStringLiteral(" 低于绝对零压");
      return false;
    }
    value = *in;
    return true;
  };
  inlet.kind = calc::InletKind(m_inletKind->currentIndex());
  if (!read(m_p1, Quantity::Pressure, QStringLiteral("进口压力"), inlet.p)) return false;
  if (inlet.kind != calc::InletKind::SaturatedSteam &&
      !read(m_x1, InletQuantity(int(inlet.kind)), QStringLiteral("进口") + m_x1Label->text(),
            inlet.value))
    return false;
  switch (m_pages->currentIndex()) {
    case kGiven: {
      calc::Section s;
      if (!read(m_p2, Quantity::Pressure, QStringLiteral("出口压力"), s.p) ||
          !read(m_eta, Quantity::Dryness, QStringLiteral("内效率"), s.eta))
        return false;
      sections = {s};
      return true;
    }
    case kSections: {
      sections.clear();
      for (int row = 0; row < m_sections->rowCount(); ++row) {
        QLineEdit p(m_sections->data(m_sections->index(row, 0)).toString());
        QLineEdit eta(m_sections->data(m_sections->index(row, 1)).toString());
        if (p.text().trimmed().isEmpty() && eta.text().trimmed().isEmpty()) continue;
        const QString n = QStringLiteral("第 %1 行的").arg(row + 1);
        calc::Section s;
        if (!read(&p, Quantity::Pressure, n + QStringLiteral("末压力"), s.p) ||
            !read(&eta, Quantity::Dryness, n + QStringLiteral("内效率"), s.eta))
          return false;
        sections.push_back(s);
      }
      return true;
    }
    default:
      outlet.kind = calc::OutletKind(m_outletKind->currentIndex());
      return read(m_mp2, Quantity::Pressure, QStringLiteral("出口压力"), outlet.p) &&
             read(m_mx2, OutletQuantity(int(outlet.kind)),
                  QStringLiteral("出口") + m_mx2Label->text(), outlet.value);
  }
}

void CTurbineWnd::Calculate() {
  calc::Inlet inlet;
  std::vector<calc::Section> sections;
  calc::Outlet outlet;
  QString error;
  m_results.clear();
  if (!ReadRequest(inlet, sections, outlet, error)) {
    m_result->SetTable({});
    ShowNotes(error, true);
    return;
  }
  const bool compare = m_formulation->currentIndex() == 2;
  std::vector<calc::Formulation> formulations = {calc::Formulation(m_formulation->currentIndex())};
  if (compare) formulations = {calc::Formulation::IFC67, calc::Formulation::IF97};
  for (calc::Formulation f : formulations) {
    m_results.push_back(m_pages->currentIndex() == kMeasured
                            ? calc::MeasuredEfficiency(f, inlet, outlet, m_units)
                            : calc::ExpandSections(f, inlet, sections, m_units));
  }
  QString notes;
  bool failed = false;
  for (const calc::TurbineResult& r : m_results) {
    const QString prefix =
        compare ? QString::fromLatin1(calc::FormulationName(r.formulation)) + QStringLiteral("：")
                : QString();
    if (!r.Ok()) notes += (notes.isEmpty() ? "" : "\n") + prefix + QString::fromStdString(r.reason);
    for (const std::string& w : r.warnings)
      notes += (notes.isEmpty() ? "" : "\n") + prefix + QString::fromStdString(w);
    failed = failed || !r.Ok();
  }
  m_result->SetTable(compare ? calc::TurbineCompareTable(m_results[0], m_results[1], m_units)
                             : calc::TurbineTable(m_results[0], m_units));
  m_resultView->resizeColumnsToContents();
  ShowNotes(notes, failed);
  const std::vector<calc::TurbineResult> results = m_results;
  for (const calc::TurbineResult& r : results)
    if (r.Ok()) emit ExpansionComputed(r);
}

void CTurbineWnd::ShowNotes(const QString& text, bool failed) {
  m_notes->setText(text);
  m_notes->setStyleSheet(failed ? QStringLiteral("color: #b00000") : QString());
  m_notes->setVisible(!text.isEmpty());
}

QString CTurbineWnd::CopyText() const {
  return QString::fromStdString(calc::ToTsv(m_result->Table()));
}

bool CTurbineWnd::ExportTo(const QString& path) {
  const bool compare = m_formulation->currentIndex() == 2;
  const calc::Formulation f =
      compare ? calc::Formulation::IFC67 : calc::Formulation(m_formulation->currentIndex());
  const calc::Stamp stamp =
      calc::ToolStamp(ProgramStamp(), "汽轮机膨胀过程", f, compare, m_units, calc::Today());
  QString error;
  if (WriteTableFile(path, m_result->Table(), stamp, error)) return true;
  ShowNotes(error, true);
  return false;
}
