// The units dialog: it shows the program's units, stores the chosen ones (remembered in the
// settings, every window told), refuses a bad atmospheric pressure, and cancel changes nothing.
#include <QtTest>
#include <QtWidgets>

#include <memory>

#include "shell/unitsdlg.h"
#include "shell/unitsettings.h"

class TestUnitsDlg : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
  void init() {
    std::string error;
    CUnitSettings::Instance().SetUnits(*calc::ParseUnits("p=kPag,atm=0.095,t=K", error));
    m_dlg = std::make_unique<CUnitsDlg>(nullptr);
    m_dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dlg.get()));
  }
  void cleanup() {
    m_dlg.reset();
    CUnitSettings::Instance().SetUnits({});
  }

  void showsTheProgramsUnits() {
    QCOMPARE(List("IDC_UNITS_PRESSURE")->currentText(), QStringLiteral("kPa"));
    QVERIFY(Gauge()->isChecked());
    QCOMPARE(Atmosphere()->text(), QStringLiteral("0.095"));
    QVERIFY(Atmosphere()->isEnabled());
    QCOMPARE(List("IDC_UNITS_TEMPERATURE")->currentText(), QStringLiteral("K"));
    QCOMPARE(List("IDC_UNITS_ENERGY")->currentIndex(), 0);
    QCOMPARE(Preview(), QStringLiteral("压力 kPa(表压，当地大气压 0.095 MPa)，温度 K，焓 kJ/kg，熵 kJ/(kg·K)，比容 m³/kg"));
  }

  void storesTheChosenUnitsAndTellsEveryWindow() {
    QSignalSpy changed(&CUnitSettings::Instance(), &CUnitSettings::Changed);
    List("IDC_UNITS_PRESSURE")->setCurrentIndex(3);
    List("IDC_UNITS_ENERGY")->setCurrentIndex(1);
    List("IDC_UNITS_VOLUME")->setCurrentIndex(1);
    Gauge()->setChecked(false);
    QVERIFY(!Atmosphere()->isEnabled());
    QCOMPARE(Preview(), QStringLiteral("压力 kgf/cm²，温度 K，焓 kcal/kg，熵 kcal/(kg·K)，密度 kg/m³"));
    QTest::mouseClick(Ok(), Qt::LeftButton);
    QVERIFY(!m_dlg->isVisible());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(QString::fromStdString(calc::FormatUnits(CUnitSettings::Instance().Units())),
             QStringLiteral("p=kgf,atm=0.095,t=K,h=kcal,v=rho"));
    // What the next run starts with.
    QCOMPARE(QSettings().value("units").toString(), QStringLiteral("p=kgf,atm=0.095,t=K,h=kcal,v=rho"));
  }

  void aBadAtmosphereIsRefusedUntilMended() {
    for (const char* text : {"", "abc", "0", "1", "-0.1", "0,1", "0.1x"}) {
      Atmosphere()->setText(QString::fromLatin1(text));
      QVERIFY2(!Ok()->isEnabled(), text);
      QCOMPARE(Preview(), QStringLiteral("当地大气压应为 0 到 1 MPa 之间的数，例如 0.101325。"));
    }
    Atmosphere()->setText(QStringLiteral("0.0953"));
    QVERIFY(Ok()->isEnabled());
    QTest::mouseClick(Ok(), Qt::LeftButton);
    QCOMPARE(CUnitSettings::Instance().Units().atmosphere, 0.0953);
  }

  void cancelChangesNothing() {
    QSignalSpy changed(&CUnitSettings::Instance(), &CUnitSettings::Changed);
    List("IDC_UNITS_TEMPERATURE")->setCurrentIndex(0);
    QTest::keyClick(m_dlg.get(), Qt::Key_Escape);
    QVERIFY(!m_dlg->isVisible());
    QCOMPARE(changed.count(), 0);
    QCOMPARE(CUnitSettings::Instance().Units().temperature, calc::TemperatureUnit::Kelvin);
    m_dlg->show();  // opened again: the program's units, not the abandoned choice
    QCOMPARE(List("IDC_UNITS_TEMPERATURE")->currentText(), QStringLiteral("K"));
  }

 private:
  QComboBox* List(const char* id) const { return m_dlg->findChild<QComboBox*>(id); }
  QCheckBox* Gauge() const { return m_dlg->findChild<QCheckBox*>("IDC_UNITS_GAUGE"); }
  QLineEdit* Atmosphere() const { return m_dlg->findChild<QLineEdit*>("IDC_UNITS_ATMOSPHERE"); }
  QString Preview() const { return m_dlg->findChild<QLabel*>("IDC_UNITS_PREVIEW")->text(); }
  QPushButton* Ok() const {
    return m_dlg->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
  }

  std::unique_ptr<CUnitsDlg> m_dlg;
};

QTEST_MAIN(TestUnitsDlg)
#include "unitsdlg_test.moc"
