#include "shell/unitsdlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <charconv>

#include "shell/unitsettings.h"

namespace {

QComboBox* List(const char* id, const QStringList& entries, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QString::fromLatin1(id));
  list->addItems(entries);
  return list;
}

QString Shortest(double value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return QString::fromLatin1(text, int(end - text));
}

}  // namespace

CUnitsDlg::CUnitsDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("IDD_UNITS"));
  setWindowTitle(QStringLiteral("单位"));
  m_pressure = List("IDC_UNITS_PRESSURE",
                    {QStringLiteral("MPa"), QStringLiteral("kPa"), QStringLiteral("bar"),
                     QStringLiteral("kgf/cm²")},
                    this);
  m_gauge = new QCheckBox(QStringLiteral("表压（高于当地大气压）"), this);
  m_gauge->setObjectName(QStringLiteral("IDC_UNITS_GAUGE"));
  m_atmosphere = new QLineEdit(this);
  m_atmosphere->setObjectName(QStringLiteral("IDC_UNITS_ATMOSPHERE"));
  m_temperature = List("IDC_UNITS_TEMPERATURE", {QStringLiteral("℃"), QStringLiteral("K")}, this);
  m_energy = List(
      "IDC_UNITS_ENERGY",
      {QStringLiteral("kJ/kg，kJ/(kg·K)"), QStringLiteral("kcal/kg，kcal/(kg·K)（国际蒸汽表卡）")},
      this);
  m_volume =
      List("IDC_UNITS_VOLUME", {QStringLiteral("比容 m³/kg"), QStringLiteral("密度 kg/m³")}, this);
  m_preview = new QLabel(this);
  m_preview->setObjectName(QStringLiteral("IDC_UNITS_PREVIEW"));
  m_preview->setWordWrap(true);
  auto* note = new QLabel(
      QStringLiteral(
          "用于计算记录、对比窗口、批量计算、复制和导出；计算表单本身始终用 MPa（绝对压力）和 ℃。"),
      this);
  note->setWordWrap(true);
  m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  m_buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
  m_buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));

  auto* atmosphere = new QHBoxLayout;
  atmosphere->addWidget(m_atmosphere);
  atmosphere->addWidget(new QLabel(QStringLiteral("MPa"), this));
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("压力"), m_pressure);
  form->addRow(QString(), m_gauge);
  form->addRow(QStringLiteral("当地大气压"), atmosphere);
  form->addRow(QStringLiteral("温度"), m_temperature);
  form->addRow(QStringLiteral("焓和熵"), m_energy);
  form->addRow(QStringLiteral("比容或密度"), m_volume);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(m_preview);
  layout->addWidget(note);
  layout->addWidget(m_buttons);

  connect(m_buttons, &QDialogButtonBox::accepted, this, &CUnitsDlg::accept);
  connect(m_buttons, &QDialogButtonBox::rejected, this, &CUnitsDlg::reject);
  for (QComboBox* list : {m_pressure, m_temperature, m_energy, m_volume})
    connect(list, &QComboBox::currentIndexChanged, this, &CUnitsDlg::Update);
  connect(m_gauge, &QCheckBox::toggled, this, &CUnitsDlg::Update);
  connect(m_atmosphere, &QLineEdit::textChanged, this, &CUnitsDlg::Update);
  Show(CUnitSettings::Instance().Units());
  setMinimumWidth(420);
}

void CUnitsDlg::showEvent(QShowEvent* event) {
  Show(CUnitSettings::Instance().Units());
  QDialog::showEvent(event);
}

void CUnitsDlg::Show(const calc::Units& u) {
  m_pressure->setCurrentIndex(int(u.pressure));
  m_gauge->setChecked(u.gauge);
  m_atmosphere->setText(Shortest(u.atmosphere));
  m_temperature->setCurrentIndex(int(u.temperature));
  m_energy->setCurrentIndex(int(u.energy));
  m_volume->setCurrentIndex(int(u.volume));
  Update();
}

std::optional<calc::Units> CUnitsDlg::Chosen(QString* why) const {
  // The settings text reads the atmosphere: one rule for its range and spelling.
  std::string error;
  const auto atmosphere =
      calc::ParseUnits("atm=" + m_atmosphere->text().trimmed().toStdString(), error);
  if (!atmosphere) {
    if (why) *why = QStringLiteral("当地大气压应为 0 到 1 MPa 之间的数，例如 0.101325。");
    return std::nullopt;
  }
  calc::Units u;
  u.pressure = calc::PressureUnit(m_pressure->currentIndex());
  u.gauge = m_gauge->isChecked();
  u.atmosphere = atmosphere->atmosphere;
  u.temperature = calc::TemperatureUnit(m_temperature->currentIndex());
  u.energy = calc::EnergyUnit(m_energy->currentIndex());
  u.volume = calc::VolumeUnit(m_volume->currentIndex());
  return u;
}

void CUnitsDlg::Update() {
  m_atmosphere->setEnabled(m_gauge->isChecked());
  QString why;
  const auto units = Chosen(&why);
  m_buttons->button(QDialogButtonBox::Ok)->setEnabled(units.has_value());
  m_preview->setText(units ? QString::fromStdString(calc::DescribeUnits(*units)) : why);
}

void CUnitsDlg::accept() {
  const auto units = Chosen();
  if (!units) return;
  CUnitSettings::Instance().SetUnits(*units);
  QDialog::accept();
}
