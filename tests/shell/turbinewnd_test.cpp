// The turbine window: opened by F5 from the form's menu, it shows what the calculation layer
// computes for each page (given efficiency, sections typed or pasted, measured outlet) in one
// formulation or both, says why a request is refused, hands each result on by its signal, follows
// the units, and copies and exports its table.
#include <QtTest>
#include <QtWidgets>

#include <fstream>
#include <memory>

#include "shell/calcwnd.h"
#include "shell/tablefile.h"
#include "shell/toolwindows.h"
#include "shell/diagramview.h"
#include "shell/record.h"
#include "shell/diagramwnd.h"
#include "shell/turbinewnd.h"
#include "shell/unitsettings.h"

class TestTurbineWnd : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
  void init() {
    CUnitSettings::Instance().SetUnits({});
    m_form = std::make_unique<CCalcWnd>();
    InstallToolWindows(*m_form);
    m_form->show();
    QApplication::setActiveWindow(m_form.get());
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QTest::keyClick(m_form.get(), Qt::Key_F5);
    QVERIFY(Window() && Window()->isVisible());
  }
  void cleanup() { m_form.reset(); }

  void opensOnceFromTheMenuAndByF5() {
    auto* entry = m_form->findChild<QAction*>("IDM_TURBINE");
    QVERIFY(entry && m_form->actions().contains(entry));
    QCOMPARE(entry->text(), QStringLiteral("汽轮机膨胀过程…"));
    QCOMPARE(entry->shortcut(), QKeySequence(Qt::Key_F5));
    entry->trigger();
    QCOMPARE(m_form->findChildren<CTurbineWnd*>().size(), 1);
    QCOMPARE(Window()->parent(), m_form.get());
  }

  // The table is the layer's, and each computed formulation leaves by the signal.
  void givenEfficiencyShowsTheLayersResultInEitherFormulationOrBoth() {
    QSignalSpy spy(Window(), &CTurbineWnd::ExpansionComputed);
    Type("IDC_TB_P1", "10");
    Type("IDC_TB_X1", "500");
    Type("IDC_TB_P2", "0.01");
    Type("IDC_TB_ETA", "0.85");
    const calc::Inlet inlet{calc::InletKind::PressureTemperature, 10, 500};
    for (int f : {0, 1}) {
      Find<QComboBox>("IDC_TB_FORMULATION")->setCurrentIndex(f);
      Click("IDC_TB_CALC");
      const calc::TurbineResult r =
          calc::ExpandSections(calc::Formulation(f), inlet, {{0.01, 0.85}});
      QCOMPARE(Window()->CopyText(), Tsv(calc::TurbineTable(r)));
      QCOMPARE(spy.count(), f + 1);
      const auto sent = spy.last().at(0).value<calc::TurbineResult>();
      QCOMPARE(sent.formulation, calc::Formulation(f));
      QCOMPARE(calc::ExpansionLine(sent).back().h, r.sections[0].expansion.end.h);
    }
    // The last expansion stands on the diagrams as a line from the inlet to the end.
    auto* diagram = m_form->findChild<CDiagramWnd*>();
    QVERIFY(diagram != nullptr);
    // … and each computed section's end in the record, with the section's note.
    const auto kept = CRecord::Instance().Rows(CRecord::Instance().Ids({-1, "汽轮机膨胀"}));
    QVERIFY(kept.size() >= 2u);
    QCOMPARE(kept[0].first.h, spy.last().at(0).value<calc::TurbineResult>().sections[0].expansion.end.h);
    QVERIFY(QString::fromStdString(kept[0].note).contains(QStringLiteral("η = 0.8500")));
    const std::vector<calc::Segment>& line = diagram->View(calc::Chart::HS)->Picture().expansion;
    QCOMPARE(line.size(), 1u);
    QCOMPARE(line[0].to.h, spy.last().at(0).value<calc::TurbineResult>().sections[0].expansion.end.h);
    Find<QComboBox>("IDC_TB_FORMULATION")->setCurrentIndex(2);
    Click("IDC_TB_CALC");
    QCOMPARE(spy.count(), 4);
    QCOMPARE(Window()->Results().size(), 2u);
    QCOMPARE(Window()->CopyText(),
             Tsv(calc::TurbineCompareTable(
                 calc::ExpandSections(calc::Formulation::IFC67, inlet, {{0.01, 0.85}}),
                 calc::ExpandSections(calc::Formulation::IF97, inlet, {{0.01, 0.85}}))));
    QVERIFY(Notes().isEmpty());
  }

  void sectionsAreTypedOrPastedUpToFifty() {
    Type("IDC_TB_P1", "16");
    Type("IDC_TB_X1", "540");
    Find<QTabWidget>("IDC_TB_MODE")->setCurrentIndex(CTurbineWnd::kSections);
    Window()->PasteSections("5\t0.85\r\n1,5 0.86\n\n0.4;0.87\n0.01 0.8\n");
    Click("IDC_TB_CALC");
    const calc::TurbineResult r =
        calc::ExpandSections(calc::Formulation::IFC67, {calc::InletKind::PressureTemperature, 16, 540},
                             {{5, 0.85}, {1, 5}, {0.4, 0.87}, {0.01, 0.8}});
    // "1,5 0.86" is the pressure 1 and the efficiency 5: refused by the layer, with its reason.
    QCOMPARE(Notes(), QString::fromStdString(r.reason));
    QCOMPARE(Notes(), QStringLiteral("第 2 段效率 5 超出 0 < η ≤ 1"));
    QCOMPARE(Window()->CopyText(), Tsv(calc::TurbineTable(r)));
    auto* sections = Find<QTableView>("IDC_TB_SECTIONS");
    sections->setCurrentIndex(sections->model()->index(1, 0));
    Window()->PasteSections("1.5\t0.86");
    Click("IDC_TB_CALC");
    QVERIFY(Notes().isEmpty());
    QCOMPARE(Window()->Results()[0].sections.size(), 4u);
    // An empty row is skipped; a half-filled one is named.
    sections->model()->setData(sections->model()->index(2, 0), QString());
    sections->model()->setData(sections->model()->index(2, 1), QString());
    Click("IDC_TB_CALC");
    QCOMPARE(Window()->Results()[0].sections.size(), 3u);
    sections->model()->setData(sections->model()->index(2, 0), QStringLiteral("0.4"));
    Click("IDC_TB_CALC");
    QCOMPARE(Notes(), QStringLiteral("请输入第 3 行的内效率（一个数）"));
    QVERIFY(Window()->Results().empty());
    // Sixty pasted rows: fifty kept, and a note says so.
    sections->setCurrentIndex(sections->model()->index(0, 0));
    QString many;
    for (int i = 0; i < 60; ++i) many += QStringLiteral("%1\t0.9\n").arg(10 - i * 0.1);
    Window()->PasteSections(many);
    QCOMPARE(sections->model()->rowCount(), 50);
    QCOMPARE(Notes(), QStringLiteral("最多 50 段：多出的行未粘贴"));
  }

  void measuredOutletGivesTheEfficiencyOrSaysWhyNot() {
    QSignalSpy spy(Window(), &CTurbineWnd::ExpansionComputed);
    Type("IDC_TB_P1", "10");
    Type("IDC_TB_X1", "500");
    Find<QTabWidget>("IDC_TB_MODE")->setCurrentIndex(CTurbineWnd::kMeasured);
    Type("IDC_TB_MP2", "0.01");
    Type("IDC_TB_MX2", "40");
    Click("IDC_TB_CALC");
    QVERIFY(Notes().startsWith(QStringLiteral("出口温度 40 ℃ 不高于出口压力下的饱和温度")));
    QCOMPARE(spy.count(), 0);
    QCOMPARE(Find<QTableView>("IDC_TB_RESULT")->model()->rowCount(), 0);
    Find<QComboBox>("IDC_TB_OUTLET")->setCurrentIndex(int(calc::OutletKind::PressureDryness));
    QCOMPARE(Find<QLabel>("IDC_TB_MX2_LABEL")->text(), QStringLiteral("干度"));
    QCOMPARE(Find<QLabel>("IDC_TB_MX2_UNIT")->text(), QString());
    Type("IDC_TB_MX2", "0.7");  // wetter than the isentropic end: η above 1, shown with a note
    Click("IDC_TB_CALC");
    QCOMPARE(spy.count(), 1);
    QVERIFY(Window()->Results()[0].eta > 1);
    QVERIFY(Notes().contains(QStringLiteral("低于进口熵")));
  }

  void inletFormsRelabelAndUnitsConvertTheInputs() {
    auto* kind = Find<QComboBox>("IDC_TB_INLET");
    kind->setCurrentIndex(int(calc::InletKind::PressureEnthalpy));
    QCOMPARE(Find<QLabel>("IDC_TB_X1_LABEL")->text() + Find<QLabel>("IDC_TB_X1_UNIT")->text(),
             QStringLiteral("焓kJ/kg"));
    kind->setCurrentIndex(int(calc::InletKind::SaturatedSteam));
    QVERIFY(!Find<QLineEdit>("IDC_TB_X1")->isEnabled());
    kind->setCurrentIndex(int(calc::InletKind::PressureTemperature));
    Type("IDC_TB_P1", "10");
    Type("IDC_TB_X1", "500");
    Type("IDC_TB_P2", "0.01");
    Type("IDC_TB_ETA", "0.85");
    Click("IDC_TB_CALC");
    calc::Units u;
    u.pressure = calc::PressureUnit::kPa;
    u.temperature = calc::TemperatureUnit::Kelvin;
    CUnitSettings::Instance().SetUnits(u);
    QCOMPARE(Find<QLineEdit>("IDC_TB_P1")->text() + " " + Find<QLineEdit>("IDC_TB_X1")->text() +
                 " " + Find<QLineEdit>("IDC_TB_P2")->text() + " " +
                 Find<QLineEdit>("IDC_TB_ETA")->text(),
             QStringLiteral("10000 773.15 10 0.85"));
    QCOMPARE(Find<QLabel>("IDC_TB_P1_UNIT")->text(), QStringLiteral("kPa"));
    // The shown result follows, in the new units.
    QCOMPARE(Window()->CopyText(),
             Tsv(calc::TurbineTable(
                 calc::ExpandSections(calc::Formulation::IFC67,
                                      {calc::InletKind::PressureTemperature, 10, 500}, {{0.01, 0.85}}),
                 u)));
    Type("IDC_TB_P1", "abc");
    Click("IDC_TB_CALC");
    QCOMPARE(Notes(), QStringLiteral("请输入进口压力（一个数）"));
  }

  void copiesAndExportsItsTable() {
    Type("IDC_TB_P1", "10");
    Type("IDC_TB_X1", "500");
    Type("IDC_TB_P2", "1");
    Type("IDC_TB_ETA", "0.9");
    Click("IDC_TB_CALC");
    QApplication::clipboard()->clear();
    Click("IDC_TB_COPY");
    QCOMPARE(QApplication::clipboard()->text(), Window()->CopyText());
    QVERIFY(Window()->CopyText().startsWith(QStringLiteral("点\t压力 MPa\t")));
    const QString csv = QDir::temp().filePath(QStringLiteral("kelm_turbine_test.csv"));
    SetNextSaveFileName(csv);
    Click("IDC_TB_EXPORT");
    std::ifstream in(csv.toStdString(), std::ios::binary);
    const std::string written{std::istreambuf_iterator<char>(in), {}};
    QVERIFY(written.rfind("\xEF\xBB\xBF点,压力 MPa,", 0) == 0);
    QFile::remove(csv);
    QVERIFY(!Window()->ExportTo(QStringLiteral("/nonexistent/kelm.xlsx")));
    QVERIFY(Notes().startsWith(QStringLiteral("无法写入文件 /nonexistent/kelm.xlsx")));
  }

 private:
  CTurbineWnd* Window() const { return m_form->findChild<CTurbineWnd*>(); }
  template <class T>
  T* Find(const char* name) const {
    return Window()->findChild<T*>(QString::fromLatin1(name));
  }
  void Type(const char* name, const QString& text) {
    auto* edit = Find<QLineEdit>(name);
    edit->clear();
    QTest::keyClicks(edit, text);
  }
  void Click(const char* name) { QTest::mouseClick(Find<QPushButton>(name), Qt::LeftButton); }
  QString Notes() const {
    auto* notes = Find<QLabel>("IDC_TB_NOTES");
    return notes->isVisible() ? notes->text() : QString();
  }
  static QString Tsv(const calc::Table& t) { return QString::fromStdString(calc::ToTsv(t)); }

  std::unique_ptr<CCalcWnd> m_form;
};

QTEST_MAIN(TestTurbineWnd)
#include "turbinewnd_test.moc"
