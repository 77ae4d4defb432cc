// The form's tool windows showing the calculation layer's results (its tests hold the numbers) with
// their own texts, refusals, units, copies, exports and prints; kelm --chart, which draws diagrams.
#include <QtTest>
#include <QtWidgets>

#include <memory>
#include <sstream>

#include "cli/calccli.h"
#include "shell/calcwnd.h"
#include "shell/chartcommand.h"
#include "shell/comparewnd.h"
#include "shell/diagramview.h"
#include "shell/diagramwnd.h"
#include "shell/record.h"
#include "shell/steamtablewnd.h"
#include "shell/tablefile.h"
#include "shell/toolwindows.h"
#include "shell/turbinewnd.h"
#include "shell/unitsdlg.h"
#include "shell/unitsettings.h"

namespace colors = diagram_colors;

namespace {

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A PDF's page count, from its page tree, and whether its first page lies on its side.
std::pair<int, bool> PdfPages(const QString& path) {
  const QString pdf = QString::fromLatin1(Bytes(path));
  const auto count = QRegularExpression("/Type /Pages[^>]*/Count ([0-9]+)").match(pdf);
  const auto box = QRegularExpression("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]").match(pdf);
  return {count.hasMatch() ? count.captured(1).toInt() : -1,
          box.captured(1).toDouble() > box.captured(2).toDouble()};
}

QString Tsv(const calc::Table& t) { return QString::fromStdString(calc::ToTsv(t)); }

}  // namespace

class TestToolWindows : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
  void init() {
    CUnitSettings::Instance().SetUnits({});  // whatever an earlier run left
    m_form = std::make_unique<CCalcWnd>();
    InstallToolWindows(*m_form);
    m_form->show();
    Activate(m_form.get());
  }
  void cleanup() { m_form.reset(); }

  void theRightClickMenuListsEveryToolAndEachKeyOpensItsWindowOnce() {
    QString entries;
    QTimer::singleShot(0, m_form.get(), [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr) return;
      for (QAction* action : menu->actions()) {
        entries += action->text() + ' ' + action->shortcut().toString() + '|';
        if (action->objectName() == QLatin1String("IDM_DIAGRAM"))
          QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
      }
    });
    QWidget* face = m_form->findChild<QWidget*>("IDC_LABEL1");
    QContextMenuEvent click(QContextMenuEvent::Mouse, {2, 2}, face->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(face, &click);
    QTRY_VERIFY(m_form->findChild<CDiagramWnd*>() && m_form->findChild<CDiagramWnd*>()->isVisible());
    QCOMPARE(entries, QStringLiteral("关于 kelm(&A)... F1|IFC-67 与 IF97 对比 F2|热力性质图 F4|"
                                     "汽轮机膨胀过程… F5|水蒸气表… F6|自检 |计算记录 F3|"
                                     "复制结果 Ctrl+Shift+C|批量计算… |单位… |"));
    const std::pair<Qt::Key, const char*> windows[] = {
        {Qt::Key_F2, "IDD_COMPARE"}, {Qt::Key_F3, "IDD_RECORD"}, {Qt::Key_F4, "IDD_DIAGRAM"},
        {Qt::Key_F5, "IDD_TURBINE"}, {Qt::Key_F6, "IDD_STEAMTABLE"}};
    for (const auto& [key, name] : windows) {
      for (int twice = 0; twice < 2; ++twice) {
        Activate(m_form.get());
        QTest::keyClick(m_form.get(), key);
      }
      const QList<QWidget*> found = m_form->findChildren<QWidget*>(name, Qt::FindDirectChildrenOnly);
      QVERIFY2(found.size() == 1 && found[0]->isVisible(), name);
      QVERIFY2(found[0]->isWindow() && !found[0]->isModal(), name);
    }
    m_form->findChild<QAction*>("IDM_SELFCHECK")->trigger();
    const QString check = m_form->findChild<QMessageBox*>("IDD_SELFCHECK")->text();
    QVERIFY(check.contains(QStringLiteral("IF97：150/150 通过")));
  }

  void theRecordKeepsEveryCalculateCtrlShiftCCopiesTheResultBlockAndTheStateTooltipSaysWhy() {
    CRecord::Instance().Clear();
    QApplication::clipboard()->clear();
    QTest::keyClick(m_form.get(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString());  // nothing calculated yet
    Calculate(0, 1, {"100"});
    Calculate(2, 4, {"100", "420"});
    QTest::keyClick(m_form.get(), Qt::Key_F3);
    QAbstractItemModel* rows = Cells(m_form->findChild<QWidget*>("IDD_RECORD"));
    QCOMPARE(rows->rowCount(), 2);
    QCOMPARE(rows->index(1, 1).data().toString() + rows->index(1, 12).data().toString(),
             QStringLiteral("计算窗口饱和水"));
    auto* input = Find(m_form.get(), "IDC_INPUT1");
    input->setFocus();
    input->selectAll();
    QTest::keyClick(input, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("100"));
    QTest::keyClick(input, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QApplication::clipboard()->text(), Tsv(calc::ResultTable(calc::Calculate(
        {calc::Formulation::IFC67, Item::AnyState, Mode::TemperatureEnthalpy, {100, 420, 0}}), {})));
    // The state field's tooltip: the text whole, then why it failed or what to beware of.
    auto* state = Find(m_form.get(), "IDC_STATE");
    QVERIFY(state->toolTip().startsWith(state->text() + "\n该温度和焓对应两个状态"));
    Calculate(2, 0, {"1", "900"});
    QCOMPARE(state->text() + '|' + state->toolTip(),
             QStringLiteral("计算或参数有误|计算或参数有误\n计算点温度 900 ℃ 高于适用上限 800 ℃（适用范围 0.01–800 ℃）"));
    QCOMPARE(rows->rowCount(), 3);
  }

  // 99.62 ℃ at 0.1 MPa lies between the two saturation temperatures: water in IFC-67, steam in IF97.
  void followsTheFormAndTheUnitsHighlightsAPhaseThatDiffersCopiesItsTableAndShowsAFailure() {
    CCompareWnd* wnd = Open<CCompareWnd>(Qt::Key_F2);
    Calculate(2, 0, {"0.1", "99.62"});
    const int stateRow = Cells(wnd)->rowCount() - 1;  // the notes stand under the table
    QCOMPARE(Cell(wnd, stateRow, 0), QStringLiteral("状态"));
    QVERIFY(Cells(wnd)->index(stateRow, 2).data(Qt::BackgroundRole).isValid());
    QVERIFY(!Cells(wnd)->index(5, 2).data(Qt::BackgroundRole).isValid());
    QVERIFY(Shown(wnd, "IDC_COMPARE_NOTES").contains(QStringLiteral("IFC-67 为不饱和水，IF97 为过热蒸汽")));
    // Two solutions, and an expansion: the form's values, the window's and kelm-calc --compare's.
    for (const QStringList& in : {QStringList{"2", "4", "100", "420"}, {"3", "0", "10", "500", "0.01"}}) {
      Calculate(in[0].toInt(), in[1].toInt(), in.mid(2));
      QCOMPARE(Cell(wnd, 1, 1) + " MPa", Find<QLineEdit>(m_form.get(), "IDC_PRESSURE")->text());
      std::vector<std::string> args{"--compare"};
      for (const QString& arg : in) args.push_back(arg.toStdString());
      std::istringstream none;
      std::ostringstream out, err;
      QCOMPARE(kelmcli::RunCommandLine(args, none, out, err), 0);
      for (int row = 0; row < Cells(wnd)->rowCount(); ++row)
        for (int column = 0; column < 5; ++column)
          QVERIFY2(out.str().find(Cell(wnd, row, column).toStdString()) != std::string::npos,
                   qPrintable(Cell(wnd, row, column)));
    }
    Calculate(2, 0, {"1", "300"});
    QVERIFY(!Cells(wnd)->index(stateRow, 2).data(Qt::BackgroundRole).isValid());
    std::string error;
    CUnitSettings::Instance().SetUnits(*calc::ParseUnits("p=barg,atm=0.1,t=K", error));
    QCOMPARE(Cell(wnd, 1, 0) + Cell(wnd, 1, 1) + Cell(wnd, 2, 0) + Cell(wnd, 2, 2),
             QStringLiteral("压力 bar(表压)9.000000温度 K573.150000"));
    Activate(wnd);
    wnd->findChild<QTableView*>()->setFocus();
    QTest::keySequence(wnd->findChild<QTableView*>(), QKeySequence::Copy);
    QVERIFY(QApplication::clipboard()->text().contains(
        QStringLiteral("\n压力 bar(表压)\t9.000000\t9.000000\t0.000000\t0.0000\n")));
    Calculate(2, 0, {"1", "900"});  // beyond IFC-67's 800 ℃, inside IF97's range
    QCOMPARE(Find<QLabel>(wnd, "IDC_COMPARE_REQUEST")->text(),
             QStringLiteral("任意状态水或水蒸汽，压力和温度：计算点压力 1 MPa，计算点温度 900 ℃"));
  }

  void followsTheFormInTheFormulationChosenRedrawingOnlyThePointsAndKeepsAddedOnes() {
    Calculate(2, 4, {"100", "420"});  // before the window exists: it takes the last request
    CDiagramWnd* wnd = Open<CDiagramWnd>(Qt::Key_F4);
    QCOMPARE(Marks(wnd), QStringLiteral("解1 解2 "));
    CDiagramView* view = wnd->View(calc::Chart::TS);
    CDiagramView* hidden = wnd->View(calc::Chart::HS);  // the other tab
    QCOMPARE(view->grab().toImage().pixelColor(MarkAt(view, 0)), colors::kSolution);
    hidden->grab();
    const int renders = view->BackgroundRenders() + hidden->BackgroundRenders();
    QVERIFY(Shown(wnd, "IDC_DIAGRAM_STATUS").startsWith(QStringLiteral("IFC-67  解1：p = 0.101325 MPa")));
    Calculate(2, 0, {"1", "300"});  // the form's next result moves the point
    QCOMPARE(Marks(wnd), QStringLiteral("状态点 "));
    for (CDiagramView* v : {view, hidden})
      QCOMPARE(v->grab().toImage().pixelColor(MarkAt(v, 0)), colors::kSolution);
    QCOMPARE(view->BackgroundRenders() + hidden->BackgroundRenders(), renders);
    Calculate(3, 0, {"10", "500", "0.1"});  // the isentropic item: the expansion from the initial state
    QCOMPARE(Marks(wnd), QStringLiteral("初态 终态 "));
    QVERIFY(view->Picture().expansion.size() == 1 && hidden->Picture().expansion.size() == 1);
    QCOMPARE(view->grab().toImage().pixelColor(MarkAt(view, 0)), colors::kStart);
    // The formulation chosen recalculates the form's request; the other's dome added.
    Calculate(2, 4, {"100", "420"});
    const double ifc67 = wnd->RequestMarks().points[1].point.p;
    Find<QComboBox>(wnd, "IDC_DIAGRAM_FORMULATION")->setCurrentIndex(1);
    QCOMPARE(wnd->View(calc::Chart::HS)->Picture().scene, &calc::SceneOf(calc::Formulation::IF97));
    QVERIFY(std::fabs(wnd->RequestMarks().points[1].point.p - ifc67) > 1e-4);
    Find<QCheckBox>(wnd, "IDC_DIAGRAM_OTHER")->setChecked(true);
    QCOMPARE(wnd->View(calc::Chart::TS)->Picture().other, &calc::SceneOf(calc::Formulation::IFC67));
    Calculate(2, 0, {"200", "300"});
    QCOMPARE(Marks(wnd), QString());
    QVERIFY(Shown(wnd, "IDC_DIAGRAM_STATUS").startsWith(QStringLiteral("IF97：计算点压力 200 MPa")));
    // Points other windows add stay through the form's calculations until cleared.
    calc::Solution a;
    a.p = 1, a.t = 200, a.h = 2827.9, a.s = 6.6940;
    calc::Solution b = a;
    b.t = 400, b.h = 3264.5, b.s = 7.4670;
    wnd->AddPoints({a, b}, QStringLiteral("记录"));
    wnd->AddPoints({a}, QStringLiteral("单点"));
    QCOMPARE(hidden->grab().toImage().pixelColor(MarkAt(hidden, 0)), colors::kAdded);
    Calculate(2, 0, {"1", "300"});
    QCOMPARE(Marks(wnd), QStringLiteral("状态点 记录1 记录2 单点 "));
    Find<QAction>(wnd, "IDM_DIAGRAM_CLEAR")->trigger();
    QCOMPARE(Marks(wnd), QStringLiteral("状态点 "));
  }

  void zoomsResetsReadsOutThePointUnderTheMouseAndExportsThePictureOrSaysWhyNot() {
    CDiagramWnd* wnd = Open<CDiagramWnd>(Qt::Key_F4);
    CDiagramView* view = wnd->View(calc::Chart::TS);
    const calc::Bounds home = view->View();
    const QPoint a = view->Frame().Map(4, 300).toPoint(), b = view->Frame().Map(8, 500).toPoint();
    QTest::mousePress(view, Qt::LeftButton, {}, a);
    QTest::mouseMove(view, b);
    QTest::mouseRelease(view, Qt::LeftButton, {}, b);
    const calc::Bounds band = view->View();
    QVERIFY(std::fabs(band.sMin - 4) < 0.02 && std::fabs(band.sMax - 8) < 0.02);
    QVERIFY(std::fabs(band.yMin - 300) < 2 && std::fabs(band.yMax - 500) < 2);
    // A wheel notch zooms in by 1.25 about the point under the mouse.
    const QPointF centre = view->Frame().Plot().center();
    QWheelEvent wheel(centre, view->mapToGlobal(centre), {}, {0, 120}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &wheel);
    QCOMPARE(view->View().sMax - view->View().sMin, (band.sMax - band.sMin) / 1.25);
    QCOMPARE(view->View().sMax + view->View().sMin, band.sMax + band.sMin);
    // Zooming out stops at the extent of every line.
    for (int i = 0; i < 40; ++i) view->ZoomAt(view->Frame().Plot().topRight(), 0.5);
    const calc::Bounds& all = calc::SceneOf(calc::Formulation::IFC67).extent[0];
    QVERIFY(view->View().sMin == all.sMin && view->View().sMax == all.sMax &&
            view->View().yMax == all.yMax);
    Find<QAction>(wnd, "IDM_DIAGRAM_RESET")->trigger();
    QVERIFY(view->View().sMax == home.sMax && view->View().yMax == home.yMax);

    const calc::Scene& scene = calc::SceneOf(calc::Formulation::IFC67);
    const QPointF top = view->Frame().Map(calc::Chart::TS, scene.criticalPoint);
    QCOMPARE(Hover(wnd, view, top + QPointF(3, 2)),
             QStringLiteral("临界点：p = 22.12 MPa  t = 374.15 ℃  h = 2107.4 kJ/kg  s = 4.4429 kJ/(kg·K)"));
    // A line's own state, away from the marks and the critical point.
    const calc::Line& isobar = scene.lines[4];
    const calc::ChartPoint& pt = isobar.points[isobar.points.size() * 3 / 4];
    QCOMPARE(Hover(wnd, view, view->Frame().Map(calc::Chart::TS, pt)),
             QStringLiteral("1 MPa：") + QString::fromStdString(calc::Describe(pt)));
    QCOMPARE(Hover(wnd, view, top + QPointF(40, -200)), QString());  // nothing within reach

    // What is drawn is the kelm --chart cases'; here the window exports its current tab, marks too.
    Calculate(2, 4, {"100", "420"});
    QTemporaryDir dir;
    auto exportTo = [&](const QString& name, QSize size) {
      CDiagramWnd::SetNextExportChoice({name.isEmpty() ? name : dir.filePath(name), size});
      Find<QAction>(wnd, "IDM_DIAGRAM_EXPORT")->trigger();
      return Shown(wnd, "IDC_DIAGRAM_STATUS");
    };
    QCOMPARE(exportTo("ts.png", {1234, 777}), QStringLiteral("已导出 ") + dir.filePath("ts.png"));
    QCOMPARE(QImage(dir.filePath("ts.png")).size(), QSize(1234, 777));
    exportTo("ts.svg", {1100, 750});
    const QByteArray svg = Bytes(dir.filePath("ts.svg"));
    QVERIFY(svg.contains("<title>T–s 图</title>") && svg.contains(">解2<"));
    Find<QTabWidget>(wnd, "IDC_DIAGRAM_TABS")->setCurrentIndex(1);
    exportTo("hs.pdf", {1100, 750});
    QVERIFY(Bytes(dir.filePath("hs.pdf")).startsWith("%PDF-"));
    QCOMPARE(exportTo("nodir/x.png", {800, 600}),
             QStringLiteral("导出失败：无法写入文件 ") + dir.filePath("nodir/x.png"));
    Find<QLabel>(wnd, "IDC_DIAGRAM_STATUS")->clear();
    QCOMPARE(exportTo("", {800, 600}), QString());  // cancelled: nothing written, nothing said
  }

  void showsTheLayersExpansionInEitherFormulationOrBothHandsItOnFollowsTheUnitsCopiesAndExports() {
    CTurbineWnd* wnd = Open<CTurbineWnd>(Qt::Key_F5);
    QSignalSpy spy(wnd, &CTurbineWnd::ExpansionComputed);
    Type(wnd, {{"IDC_TB_P1", "10"}, {"IDC_TB_X1", "500"}, {"IDC_TB_P2", "0.01"}, {"IDC_TB_ETA", "0.85"}});
    const calc::Inlet inlet{calc::InletKind::PressureTemperature, 10, 500};
    const calc::TurbineResult r67 = calc::ExpandSections(calc::Formulation::IFC67, inlet, {{0.01, 0.85}});
    const calc::TurbineResult r97 = calc::ExpandSections(calc::Formulation::IF97, inlet, {{0.01, 0.85}});
    Find<QComboBox>(wnd, "IDC_TB_FORMULATION")->setCurrentIndex(1);
    Click(wnd, "IDC_TB_CALC");
    QCOMPARE(wnd->CopyText(), Tsv(calc::TurbineTable(r97)));
    // The expansion stands on the diagrams as a line to its end, and the end is in the record.
    const double end = r97.sections[0].expansion.end.h;
    const auto& line = m_form->findChild<CDiagramWnd*>()->View(calc::Chart::HS)->Picture().expansion;
    QVERIFY(line.size() == 1 && line[0].to.h == end);
    const auto kept = CRecord::Instance().Rows(CRecord::Instance().Ids({-1, "汽轮机膨胀"}));
    QVERIFY(!kept.empty() && kept[0].first.h == end);
    QCOMPARE(kept[0].request.formulation, calc::Formulation::IF97);
    Find<QComboBox>(wnd, "IDC_TB_FORMULATION")->setCurrentIndex(2);
    Click(wnd, "IDC_TB_CALC");
    QCOMPARE(spy.count(), 3);
    QCOMPARE(wnd->CopyText(), Tsv(calc::TurbineCompareTable(r67, r97)));
    QCOMPARE(Shown(wnd, "IDC_TB_NOTES"), QString());
    Click(wnd, "IDC_TB_COPY");
    QCOMPARE(QApplication::clipboard()->text(), wnd->CopyText());
    QTemporaryDir dir;
    SetNextSaveFileName(dir.filePath("t.csv"));
    Click(wnd, "IDC_TB_EXPORT");
    QCOMPARE(Bytes(dir.filePath("t.csv")),
             QByteArray::fromStdString(calc::ToCsv(calc::TurbineCompareTable(r67, r97))));
    QVERIFY(!wnd->ExportTo(QStringLiteral("/nonexistent/kelm.xlsx")));
    QVERIFY(Shown(wnd, "IDC_TB_NOTES").startsWith(QStringLiteral("无法写入文件 /nonexistent/kelm.xlsx")));
    // Units convert the inputs and the result; the inlet's and the outlet's forms relabel.
    Find<QComboBox>(wnd, "IDC_TB_FORMULATION")->setCurrentIndex(0);
    Click(wnd, "IDC_TB_CALC");
    const calc::Units u{.pressure = calc::PressureUnit::kPa,
                        .temperature = calc::TemperatureUnit::Kelvin};
    CUnitSettings::Instance().SetUnits(u);
    QCOMPARE(Labels(wnd, {"IDC_TB_P1", "IDC_TB_X1", "IDC_TB_P2", "IDC_TB_ETA", "IDC_TB_P1_UNIT"}),
             QStringLiteral("10000 773.15 10 0.85 kPa"));
    QCOMPARE(wnd->CopyText(), Tsv(calc::TurbineTable(r67, u)));
    Type(wnd, {{"IDC_TB_P1", "abc"}});
    Click(wnd, "IDC_TB_CALC");
    QCOMPARE(Shown(wnd, "IDC_TB_NOTES"), QStringLiteral("请输入进口压力（一个数）"));
    auto* kind = Find<QComboBox>(wnd, "IDC_TB_INLET");
    kind->setCurrentIndex(int(calc::InletKind::PressureEnthalpy));
    QCOMPARE(Labels(wnd, {"IDC_TB_X1_LABEL", "IDC_TB_X1_UNIT"}), QStringLiteral("焓 kJ/kg"));
    kind->setCurrentIndex(int(calc::InletKind::SaturatedSteam));
    QVERIFY(!Find(wnd, "IDC_TB_X1")->isEnabled());
    Find<QComboBox>(wnd, "IDC_TB_OUTLET")->setCurrentIndex(int(calc::OutletKind::PressureDryness));
    QCOMPARE(Labels(wnd, {"IDC_TB_MX2_LABEL", "IDC_TB_MX2_UNIT"}), QStringLiteral("干度 "));
  }

  void sectionsAreTypedOrPastedUpToFiftyAndAMeasuredOutletGivesTheEfficiency() {
    CTurbineWnd* wnd = Open<CTurbineWnd>(Qt::Key_F5);
    Type(wnd, {{"IDC_TB_P1", "16"}, {"IDC_TB_X1", "540"}});
    Find<QTabWidget>(wnd, "IDC_TB_MODE")->setCurrentIndex(CTurbineWnd::kSections);
    wnd->PasteSections("5\t0.85\r\n1,5 0.86\n\n0.4;0.87\n0.01 0.8\n");
    Click(wnd, "IDC_TB_CALC");
    // "1,5 0.86" is the pressure 1 and the efficiency 5: refused by the layer, with its reason.
    QCOMPARE(Shown(wnd, "IDC_TB_NOTES"), QStringLiteral("第 2 段效率 5 超出 0 < η ≤ 1"));
    QCOMPARE(wnd->CopyText(), Tsv(calc::TurbineTable(calc::ExpandSections(
        calc::Formulation::IFC67, {calc::InletKind::PressureTemperature, 16, 540},
        {{5, 0.85}, {1, 5}, {0.4, 0.87}, {0.01, 0.8}}))));
    auto* sections = Find<QTableView>(wnd, "IDC_TB_SECTIONS");
    QAbstractItemModel* rows = sections->model();
    sections->setCurrentIndex(rows->index(1, 0));
    wnd->PasteSections("1.5\t0.86");
    Click(wnd, "IDC_TB_CALC");
    QVERIFY(Shown(wnd, "IDC_TB_NOTES").isEmpty() && wnd->Results()[0].sections.size() == 4);
    // An empty row is skipped; a half-filled one is named.
    for (int column : {0, 1}) rows->setData(rows->index(2, column), QString());
    Click(wnd, "IDC_TB_CALC");
    QCOMPARE(wnd->Results()[0].sections.size(), 3u);
    rows->setData(rows->index(2, 0), "0.4");
    Click(wnd, "IDC_TB_CALC");
    QCOMPARE(Shown(wnd, "IDC_TB_NOTES"), QStringLiteral("请输入第 3 行的内效率（一个数）"));
    QVERIFY(wnd->Results().empty());
    // Sixty pasted rows: fifty kept, and a note says so.
    sections->setCurrentIndex(rows->index(0, 0));
    wnd->PasteSections(QStringLiteral("9\t0.9\n").repeated(60));
    QCOMPARE(rows->rowCount(), 50);
    QCOMPARE(Shown(wnd, "IDC_TB_NOTES"), QStringLiteral("最多 50 段：多出的行未粘贴"));
    // The measured outlet gives the efficiency.
    QSignalSpy spy(wnd, &CTurbineWnd::ExpansionComputed);
    Find<QTabWidget>(wnd, "IDC_TB_MODE")->setCurrentIndex(CTurbineWnd::kMeasured);
    Type(wnd, {{"IDC_TB_P1", "10"}, {"IDC_TB_X1", "500"}, {"IDC_TB_MP2", "0.01"}, {"IDC_TB_MX2", "40"}});
    Click(wnd, "IDC_TB_CALC");  // the layer refuses it: its reason, no table, nothing handed on
    QVERIFY(Shown(wnd, "IDC_TB_NOTES").startsWith(QStringLiteral("出口温度 40 ℃ 不高于")));
    QCOMPARE(spy.count() + Find<QTableView>(wnd, "IDC_TB_RESULT")->model()->rowCount(), 0);
    Find<QComboBox>(wnd, "IDC_TB_OUTLET")->setCurrentIndex(int(calc::OutletKind::PressureDryness));
    Type(wnd, {{"IDC_TB_MX2", "0.7"}});  // wetter than the isentropic end: η above 1, with a note
    Click(wnd, "IDC_TB_CALC");
    QVERIFY(spy.count() == 1 && wnd->Results()[0].eta > 1);
    QVERIFY(Shown(wnd, "IDC_TB_NOTES").contains(QStringLiteral("低于进口熵")));
  }

  void showsTheLayersTableForWhatIsAskedExportsItAndPrintsItOnThePagesItNeeds() {
    CSteamTableWnd* wnd = Open<CSteamTableWnd>(Qt::Key_F6);
    QVERIFY(!Find<QCheckBox>(wnd, "IDC_ST_EXTRA_dt")->isEnabled());  // no superheat at saturation
    Range(wnd, 0, "0.01", "370", "5");
    Click(wnd, "IDC_ST_MAKE");
    QTemporaryDir dir;
    SetNextSaveFileName(dir.filePath("t.tsv"));
    Click(wnd, "IDC_ST_EXPORT");
    QCOMPARE(QString::fromUtf8(Bytes(dir.filePath("t.tsv"))), wnd->CopyText());
    // 75 rows do not fit one portrait page; the file's page tree holds the pages reported.
    SetNextSaveFileName(dir.filePath("t.pdf"));
    Click(wnd, "IDC_ST_PRINT");
    QVERIFY(PdfPages(dir.filePath("t.pdf")) == std::make_pair(2, false));
    Find<QComboBox>(wnd, "IDC_ST_KIND")->setCurrentIndex(int(calc::TableKind::PressureTemperature));
    Find<QComboBox>(wnd, "IDC_ST_FORMULATION")->setCurrentIndex(2);
    QVERIFY(Find<QGroupBox>(wnd, "IDC_ST_AXIS2")->isVisible());
    QCOMPARE(Find<QGroupBox>(wnd, "IDC_ST_AXIS1")->title(), QStringLiteral("压力"));
    Find<QComboBox>(wnd, "IDC_ST_MODE1")->setCurrentIndex(1);
    Find(wnd, "IDC_ST_LIST1")->setText(QStringLiteral("0.1，1；10\t25"));  // as pasted
    Range(wnd, 1, "100", "500", "100");
    for (const char* extra : {"IDC_ST_EXTRA_rho", "IDC_ST_EXTRA_dt", "IDC_ST_EXTRA_cp"})
      Find<QCheckBox>(wnd, extra)->setChecked(true);
    Click(wnd, "IDC_ST_MAKE");
    calc::TableRequest r;
    r.kind = calc::TableKind::PressureTemperature;
    r.compare = true;
    r.first = calc::Series::List({0.1, 1, 10, 25});
    r.second = calc::Series::Range(100, 500, 100);
    r.extras = {calc::TableExtra::Density, calc::TableExtra::Cp, calc::TableExtra::Superheat};
    calc::SteamTable table;
    std::string error;
    QVERIFY(calc::MakeSteamTable(r, table, error));
    QCOMPARE(wnd->CopyText(), Tsv(table.table));
    QCOMPARE(Shown(wnd, "IDC_ST_MESSAGE"), QString());
    // Few rows, many columns: one landscape page.
    QCOMPARE(wnd->PrintTo(dir.filePath("t.pdf")), 1);
    QVERIFY(PdfPages(dir.filePath("t.pdf")) == std::make_pair(1, true));
    QCOMPARE(wnd->PrintTo(QStringLiteral("/nonexistent/kelm.pdf")), 0);
    QCOMPARE(Shown(wnd, "IDC_ST_MESSAGE"), QStringLiteral("无法写入文件 /nonexistent/kelm.pdf"));
  }

  // The layer's refusals (its test holds every sentence) and the window's own reading of a field;
  // into kelvin the ends move by 273.15, the step stays, a list converts each value.
  void refusalsSayWhyAndLeaveNoTableAndUnitsConvertTheSeries() {
    CSteamTableWnd* wnd = Open<CSteamTableWnd>(Qt::Key_F6);
    Range(wnd, 0, "0.01", "370", "20");
    Click(wnd, "IDC_ST_MAKE");
    QVERIFY(Cells(wnd)->rowCount() > 0);
    for (const auto& [to, step, list, message] :
         {std::tuple("370", "0", "", QStringLiteral("温度的步长 0 须大于 0")),
          std::tuple("", "10", "", QStringLiteral("请输入温度的终点（一个数）")),
          std::tuple("370", "10", "100, x", QStringLiteral("温度：\"x\" 不是数"))}) {
      Range(wnd, 0, "0.01", to, step);
      Find<QComboBox>(wnd, "IDC_ST_MODE1")->setCurrentIndex(*list ? 1 : 0);
      Type(wnd, {{"IDC_ST_LIST1", list}});
      QVERIFY(!wnd->MakeTable());
      QCOMPARE(Shown(wnd, "IDC_ST_MESSAGE"), message);
      QCOMPARE(Cells(wnd)->rowCount(), 0);
    }
    Range(wnd, 0, "100", "200", "10");
    Type(wnd, {{"IDC_ST_LIST1", "50, 100"}});
    CUnitSettings::Instance().SetUnits({.temperature = calc::TemperatureUnit::Kelvin});
    QCOMPARE(Labels(wnd, {"IDC_ST_FROM1", "IDC_ST_TO1", "IDC_ST_STEP1", "IDC_ST_LIST1", "IDC_ST_UNIT1"}),
             QStringLiteral("373.15 473.15 10 323.15, 373.15 K"));
  }

  void showsTheProgramsUnitsRefusesABadAtmosphereStoresTheChosenOnesOrCancels() {
    CUnitsDlg* dlg = OpenUnits("p=kPag,atm=0.095,t=K");
    QSignalSpy changed(&CUnitSettings::Instance(), &CUnitSettings::Changed);
    QVERIFY(Find<QCheckBox>(dlg, "IDC_UNITS_GAUGE")->isChecked());
    QVERIFY(Find(dlg, "IDC_UNITS_ATMOSPHERE")->isEnabled());
    QCOMPARE(Labels(dlg, {"IDC_UNITS_ATMOSPHERE", "IDC_UNITS_PREVIEW"}),
             QStringLiteral("0.095 压力 kPa(表压，当地大气压 0.095 MPa)，温度 K，焓 kJ/kg，熵 kJ/(kg·K)，比容 m³/kg"));
    for (const char* text : {"", "abc", "0", "1", "-0.1", "0,1", "0.1x", "0.0953"}) {
      Find(dlg, "IDC_UNITS_ATMOSPHERE")->setText(QString::fromLatin1(text));
      QVERIFY2(Ok(dlg)->isEnabled() == (text == std::string("0.0953")), text);
      QVERIFY(Ok(dlg)->isEnabled() || Shown(dlg, "IDC_UNITS_PREVIEW") ==
                                          QStringLiteral("当地大气压应为 0 到 1 MPa 之间的数，例如 0.101325。"));
    }
    Find<QComboBox>(dlg, "IDC_UNITS_PRESSURE")->setCurrentIndex(3);
    Find<QComboBox>(dlg, "IDC_UNITS_ENERGY")->setCurrentIndex(1);
    Find<QComboBox>(dlg, "IDC_UNITS_VOLUME")->setCurrentIndex(1);
    Find<QCheckBox>(dlg, "IDC_UNITS_GAUGE")->setChecked(false);
    QVERIFY(!Find(dlg, "IDC_UNITS_ATMOSPHERE")->isEnabled());
    QCOMPARE(Shown(dlg, "IDC_UNITS_PREVIEW"),
             QStringLiteral("压力 kgf/cm²，温度 K，焓 kcal/kg，熵 kcal/(kg·K)，密度 kg/m³"));
    QTest::mouseClick(Ok(dlg), Qt::LeftButton);
    QVERIFY(!dlg->isVisible() && changed.count() == 1);
    // Every window told, and what the next run starts with.
    QCOMPARE(QString::fromStdString(calc::FormatUnits(CUnitSettings::Instance().Units())),
             QStringLiteral("p=kgf,atm=0.0953,t=K,h=kcal,v=rho"));
    QCOMPARE(QSettings().value("units").toString(), QStringLiteral("p=kgf,atm=0.0953,t=K,h=kcal,v=rho"));
    // Cancel changes nothing; opened again, the program's units, not the abandoned choice.
    dlg = OpenUnits(nullptr);
    Find<QComboBox>(dlg, "IDC_UNITS_TEMPERATURE")->setCurrentIndex(0);
    QTest::keyClick(dlg, Qt::Key_Escape);
    QVERIFY(!dlg->isVisible() && changed.count() == 1);
    dlg = OpenUnits(nullptr);
    QCOMPARE(Find<QComboBox>(dlg, "IDC_UNITS_TEMPERATURE")->currentText(), QStringLiteral("K"));
  }

  // kelm --chart: the diagrams written without a display, every usage error with its message.
  void usageErrorsExitWith2AndSayWhat_data() {
    QTest::addColumn<QString>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("no chart") << "--out x.svg" << "--chart ts|hs is missing";
    QTest::newRow("bad chart") << "--chart pv --out x.svg" << "unknown chart \"pv\" (ts or hs)";
    QTest::newRow("no out") << "--chart ts" << "--out FILE is missing";
    QTest::newRow("no value") << "--out x.svg --chart" << "--chart needs a value";
    QTest::newRow("bad size") << "--chart ts --out x.png --size 800" << "bad size \"800\" (WIDTHxHEIGHT in pixels)";
    QTest::newRow("small") << "--chart ts --out x.png --size 100x100" << "图像尺寸须在 200×150 与 20000×20000 像素之间";
    QTest::newRow("suffix") << "--chart ts --out x.jpg" << "不支持的文件类型“jpg”：须为 .png、.svg 或 .pdf";
    QTest::newRow("formulation") << "--chart ts --out x.svg --formulation iapws" << "unknown formulation \"iapws\" (ifc67 or if97)";
    QTest::newRow("option") << "--chart ts --out x.svg --dpi 300" << "unknown option --dpi";
    QTest::newRow("item only") << "--chart ts --out x.svg 2" << "ITEM MODE and the inputs are needed, not only \"2\"";
    QTest::newRow("item") << "--chart ts --out x.svg 7 0 1" << "unknown item \"7\" (items: 0 饱和水, 1 饱和蒸汽, 2 任意状态水或水蒸汽, 3 等熵焓降末点)";
    QTest::newRow("inputs") << "--chart ts --out x.svg 2 4 100" << "2 4 takes 2 input(s), not 1";
    QTest::newRow("number") << "--chart ts --out x.svg 2 0 1 abc" << "input 2 \"abc\" is not a number";
  }
  void usageErrorsExitWith2AndSayWhat() {
    QFETCH(QString, args);
    QFETCH(QString, message);
    QString text;
    QTextStream err(&text);
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    QCOMPARE(RunChartCommand(args.split(' '), err), 2);
    QCOMPARE(text.section('\n', 0, 0), "kelm: " + message);
    QVERIFY(text.contains("usage: kelm --chart") && QDir(dir.path()).isEmpty());
  }

  void writesTheChartWithTheMarksOfTheCalculation() {
    QTemporaryDir dir;
    QString text;
    QTextStream err(&text);
    const QString svg = dir.filePath("hs.svg");
    QCOMPARE(RunChartCommand({"--chart=hs", "--out", svg, "--formulation", "IF97", "--other",
                              "任意状态水或水蒸汽", "温度和焓", "100", "420"}, err), 0);
    QCOMPARE(text, QString());
    QString content = QString::fromUtf8(Bytes(svg));
    for (const char* expected : {"<title>h–s 图</title>", "<desc>IF97</desc>", ">解1<", ">解2<",
                                 ">300 ℃<", ">x=0.9<"})
      QVERIFY2(content.contains(QString::fromUtf8(expected)), expected);
    // The other formulation's dome, in its own colour.
    QVERIFY(content.contains("stroke=\"" + colors::kOther.name() + '"'));
    // T–s: every isobar labelled, the critical point, no isotherms; an isentropic expansion.
    QCOMPARE(RunChartCommand({"--chart", "ts", "--out", svg, "3", "0", "10", "500", "0.1"}, err), 0);
    content = QString::fromUtf8(Bytes(svg));
    for (const double p : calc::IsobarPressures(calc::Formulation::IFC67))
      QVERIFY2(content.contains('>' + QString::number(p) + " MPa<"), qPrintable(QString::number(p)));
    QVERIFY(content.contains(QStringLiteral(">临界点<")) && content.contains(QStringLiteral(">初态<")));
    QVERIFY(content.contains("stroke=\"" + colors::kExpansion.name() + '"'));
    QVERIFY(!content.contains("stroke=\"" + colors::kIsotherm.name() + '"'));

    // A failed calculation: the chart without marks, and why.
    const QString png = dir.filePath("ts.png");
    QCOMPARE(RunChartCommand({"--chart", "ts", "--out", png, "--size", "640x480", "2", "0", "200", "300"}, err), 1);
    QVERIFY2(text.startsWith("kelm: 计算点压力 200 MPa 高于适用上限"), qPrintable(text));
    QCOMPARE(QImage(png).size(), QSize(640, 480));
    text.clear();
    QCOMPARE(RunChartCommand({"--chart", "ts", "--out", dir.filePath("none/ts.svg")}, err), 1);
    QVERIFY2(text.startsWith("kelm: 无法写入文件"), qPrintable(text));
  }

  void theProgramDrawsWithoutADisplay() {
    QTemporaryDir dir;
    QProcess kelm;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    kelm.setProcessEnvironment(env);
    const QString png = dir.filePath("th.png");
    kelm.start(KELM_PATH, {"--chart", "hs", "--out", png, "--size", "900x600", "3", "0", "10", "500", "0.1"});
    QVERIFY(kelm.waitForFinished(30000) && kelm.exitCode() == 0);
    QCOMPARE(QImage(png).size(), QSize(900, 600));
    kelm.start(KELM_PATH, {"--chart", "hs"});
    QVERIFY(kelm.waitForFinished(30000) && kelm.exitCode() == 2);
    QVERIFY(kelm.readAllStandardError().contains("kelm: --out FILE is missing"));
  }

 private:
  template <class T = QLineEdit>
  static T* Find(const QWidget* in, const QString& name) { return in->findChild<T*>(name); }
  // A label's text while it shows.
  static QString Shown(const QWidget* in, const QString& name) {
    auto* label = Find<QLabel>(in, name);
    return label->isVisible() ? label->text() : QString();
  }
  // The texts of fields and labels, a space between.
  static QString Labels(const QWidget* in, std::initializer_list<const char*> names) {
    QStringList texts;
    for (const char* name : names)
      texts << (Find(in, name) ? Find(in, name)->text() : Find<QLabel>(in, name)->text());
    return texts.join(' ');
  }
  static void Type(const QWidget* in, std::initializer_list<std::pair<const char*, QString>> fields) {
    for (const auto& [name, text] : fields) {
      Find(in, name)->clear();
      QTest::keyClicks(Find(in, name), text);
    }
  }
  static void Click(const QWidget* in, const char* name) {
    QTest::mouseClick(Find<QPushButton>(in, name), Qt::LeftButton);
  }
  static void Activate(QWidget* window) {
    QApplication::setActiveWindow(window);
    QVERIFY(QTest::qWaitForWindowActive(window));
  }
  // The tool window its key opens.
  template <class Window>
  Window* Open(Qt::Key key) {
    QTest::keyClick(m_form.get(), key);
    return m_form->findChild<Window*>();
  }
  // The units dialog from the form's menu, the program's units set first when given.
  CUnitsDlg* OpenUnits(const char* units) {
    std::string error;
    if (units) CUnitSettings::Instance().SetUnits(*calc::ParseUnits(units, error));
    m_form->findChild<QAction*>("IDM_UNITS")->trigger();
    return m_form->findChild<CUnitsDlg*>();
  }
  static QPushButton* Ok(const CUnitsDlg* dlg) {
    return dlg->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
  }
  // Picks the item and mode by their list indexes, types the inputs and clicks Calculate.
  void Calculate(int item, int mode, const QStringList& inputs) {
    for (const auto& [list, index] : {std::pair("IDC_ITEM", item), std::pair("IDC_MODE", mode)}) {
      Find<QComboBox>(m_form.get(), list)->setCurrentIndex(index);
      emit Find<QComboBox>(m_form.get(), list)->activated(index);
    }
    for (int i = 0; i < inputs.size(); ++i)
      Type(m_form.get(), {{qPrintable(QStringLiteral("IDC_INPUT%1").arg(i + 1)), inputs[i]}});
    Click(m_form.get(), "IDC_CALC");
  }

  static QAbstractItemModel* Cells(const QWidget* wnd) { return wnd->findChild<QTableView*>()->model(); }
  static QString Cell(const QWidget* wnd, int row, int column) {
    return Cells(wnd)->index(row, column).data().toString();
  }
  // The labels of the form's marks, then of the added ones.
  static QString Marks(const CDiagramWnd* wnd) {
    QString labels;
    for (const auto* marks : {&wnd->RequestMarks().points, &wnd->AddedMarks()})
      for (const calc::Mark& mark : *marks) labels += QString::fromStdString(mark.label) + ' ';
    return labels;
  }
  // The status after a mouse move without a button (the offscreen platform makes none itself).
  static QString Hover(const CDiagramWnd* wnd, QWidget* view, const QPointF& pos) {
    QMouseEvent move(QEvent::MouseMove, pos, view->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, {});
    QApplication::sendEvent(view, &move);
    return Shown(wnd, "IDC_DIAGRAM_STATUS");
  }
  // The pixel at the centre of the view's n-th mark.
  static QPoint MarkAt(const CDiagramView* view, std::size_t n) {
    const QPointF at = view->Frame().Map(view->Chart(), view->Picture().marks.at(n).point);
    return QPoint(int(std::floor(at.x())), int(std::floor(at.y())));
  }
  static void Range(const QWidget* wnd, int axis, const char* from, const char* to, const char* step) {
    const QString n = QString::number(axis + 1);
    Find<QComboBox>(wnd, "IDC_ST_MODE" + n)->setCurrentIndex(0);
    Type(wnd, {{qPrintable("IDC_ST_FROM" + n), from}, {qPrintable("IDC_ST_TO" + n), to},
               {qPrintable("IDC_ST_STEP" + n), step}});
  }

  std::unique_ptr<CCalcWnd> m_form;
};

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setAttribute(Qt::AA_Use96Dpi, true);
  TestToolWindows test;
  return QTest::qExec(&test, argc, argv);
}

#include "toolwindows_test.moc"
