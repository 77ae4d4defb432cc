// The diagram window on the offscreen platform: opened from the form's menu and F4, it follows
// the form's calculations, marks both roots and the expansion, zooms, reads out the point under
// the mouse and exports what it shows.
#include <QtTest>
#include <QtWidgets>

#include <memory>

#include "shell/calcwnd.h"
#include "shell/diagrampaint.h"
#include "shell/diagramview.h"
#include "shell/diagramwnd.h"
#include "shell/toolwindows.h"

namespace colors = diagram_colors;

class TestDiagramWnd : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    m_form = std::make_unique<CCalcWnd>();
    InstallToolWindows(*m_form);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
  }
  void cleanup() { m_form.reset(); }

  void opensOnceFromTheRightClickMenuAndF4AsTheFormsOwnWindow() {
    QString entries;
    QTimer::singleShot(0, m_form.get(), [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr) return;
      for (QAction* action : menu->actions()) {
        entries += action->text() + '|' + action->shortcut().toString() + '|';
        if (action->objectName() == QLatin1String("IDM_DIAGRAM"))
          QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
      }
    });
    QWidget* face = m_form->findChild<QWidget*>("IDC_LABEL1");
    QContextMenuEvent click(QContextMenuEvent::Mouse, {2, 2}, face->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(face, &click);
    QTRY_VERIFY(Window() != nullptr && Window()->isVisible());
    QVERIFY2(entries.startsWith(QStringLiteral("关于 kelm(&A)...|F1|")) &&
                 entries.contains(QStringLiteral("|热力性质图|F4|")),
             qPrintable(entries));
    CDiagramWnd* wnd = Window();
    QCOMPARE(wnd->parentWidget(), m_form.get());
    QVERIFY(wnd->isWindow() && !wnd->isModal());
    QCOMPARE(wnd->windowTitle(), QStringLiteral("热力性质图"));
    auto* tabs = wnd->findChild<QTabWidget*>("IDC_DIAGRAM_TABS");
    QCOMPARE(tabs->tabText(0) + '|' + tabs->tabText(1), QStringLiteral("T–s 图|h–s 图"));

    wnd->close();
    QApplication::setActiveWindow(m_form.get());
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QTest::keyClick(m_form.get(), Qt::Key_F4);
    QTRY_VERIFY(wnd->isVisible());
    QCOMPARE(m_form->findChildren<CDiagramWnd*>().size(), 1);
  }

  void followsTheFormAndMarksBothRootsRedrawingOnlyThePoints() {
    Calculate(2, 4, {"100", "420"});  // before the window exists: it takes the last request
    CDiagramWnd* wnd = Open();
    QCOMPARE(Labels(wnd), QStringLiteral("解1 解2 "));
    CDiagramView* view = wnd->View(calc::Chart::TS);
    CDiagramView* hidden = wnd->View(calc::Chart::HS);  // the other tab
    QImage shot = view->grab().toImage();
    hidden->grab();
    const int renders = view->BackgroundRenders() + hidden->BackgroundRenders();
    QCOMPARE(shot.pixelColor(MarkAt(view, 0)), colors::kSolution);
    const QString status = wnd->findChild<QLabel*>("IDC_DIAGRAM_STATUS")->text();
    QVERIFY2(status.contains(QStringLiteral("解1：p = 0.101325 MPa")) &&
                 status.contains(QStringLiteral("解2：p = 1.3484 MPa")), qPrintable(status));

    Calculate(2, 0, {"1", "300"});  // the form's next result moves the point
    QCOMPARE(Labels(wnd), QStringLiteral("状态点 "));
    shot = view->grab().toImage();
    QCOMPARE(shot.pixelColor(MarkAt(view, 0)), colors::kSolution);
    QCOMPARE(hidden->grab().toImage().pixelColor(MarkAt(hidden, 0)), colors::kSolution);
    QCOMPARE(view->BackgroundRenders() + hidden->BackgroundRenders(), renders);
  }

  void isentropicItemDrawsTheExpansionFromTheInitialState() {
    CDiagramWnd* wnd = Open();
    Calculate(3, 0, {"10", "500", "0.1"});
    QCOMPARE(Labels(wnd), QStringLiteral("初态 终态 "));
    QCOMPARE(wnd->RequestMarks().expansion.size(), std::size_t(1));
    for (const calc::Chart chart : {calc::Chart::TS, calc::Chart::HS}) {
      CDiagramView* view = wnd->View(chart);
      const calc::Segment& line = wnd->RequestMarks().expansion[0];
      const QPointF middle = (view->Frame().Map(chart, line.from) + view->Frame().Map(chart, line.to)) / 2;
      const QImage shot = view->grab().toImage();
      QCOMPARE(shot.pixelColor(QPoint(int(std::floor(middle.x())), int(middle.y()))), colors::kExpansion);
      QCOMPARE(shot.pixelColor(MarkAt(view, 0)), colors::kStart);
    }
  }

  void formulationChoiceRecalculatesAndAddsTheOtherDome() {
    CDiagramWnd* wnd = Open();
    Calculate(2, 4, {"100", "420"});
    const double ifc67 = wnd->RequestMarks().points[1].point.p;
    auto* combo = wnd->findChild<QComboBox*>("IDC_DIAGRAM_FORMULATION");
    QCOMPARE(combo->itemText(0) + '|' + combo->itemText(1), QStringLiteral("IFC-67|IF97"));
    combo->setCurrentIndex(1);
    QCOMPARE(wnd->Formulation(), calc::Formulation::IF97);
    QCOMPARE(wnd->View(calc::Chart::HS)->Picture().scene, &calc::SceneOf(calc::Formulation::IF97));
    QCOMPARE(Labels(wnd), QStringLiteral("解1 解2 "));
    QVERIFY(std::fabs(wnd->RequestMarks().points[1].point.p - ifc67) > 1e-4);
    QVERIFY(wnd->View(calc::Chart::TS)->Picture().other == nullptr);
    wnd->findChild<QCheckBox*>("IDC_DIAGRAM_OTHER")->setChecked(true);
    QCOMPARE(wnd->View(calc::Chart::TS)->Picture().other, &calc::SceneOf(calc::Formulation::IFC67));
    // A failed calculation marks nothing and says why.
    Calculate(2, 0, {"200", "300"});
    QCOMPARE(Labels(wnd), QString());
    QVERIFY(wnd->findChild<QLabel*>("IDC_DIAGRAM_STATUS")->text().startsWith(QStringLiteral("IF97：计算点压力 200 MPa")));
  }

  void pointsAddedByOtherWindowsStayUntilCleared() {
    CDiagramWnd* wnd = Open();
    Calculate(2, 0, {"1", "300"});
    calc::Solution a, b;
    a.p = b.p = 1;
    a.t = 200, a.h = 2827.9, a.s = 6.6940;
    b.t = 400, b.h = 3264.5, b.s = 7.4670;
    wnd->AddPoints({a, b}, QStringLiteral("记录"));
    wnd->AddPoints({a}, QStringLiteral("单点"));
    QCOMPARE(Labels(wnd), QStringLiteral("状态点 记录1 记录2 单点 "));
    CDiagramView* view = wnd->View(calc::Chart::HS);
    QCOMPARE(view->grab().toImage().pixelColor(MarkAt(view, 2)), colors::kAdded);
    Calculate(2, 0, {"2", "300"});
    QCOMPARE(Labels(wnd), QStringLiteral("状态点 记录1 记录2 单点 "));
    wnd->findChild<QAction*>("IDM_DIAGRAM_CLEAR")->trigger();
    QCOMPARE(Labels(wnd), QStringLiteral("状态点 "));
  }

  void zoomsByBandAndWheelAndResetsAndReadsOutThePointUnderTheMouse() {
    CDiagramWnd* wnd = Open();
    CDiagramView* view = wnd->View(calc::Chart::TS);
    const calc::Bounds home = view->View();
    const CChartFrame frame = view->Frame();
    // A band from s = 4, t = 300 to s = 8, t = 500.
    const QPoint a = frame.Map(4, 300).toPoint(), b = frame.Map(8, 500).toPoint();
    QTest::mousePress(view, Qt::LeftButton, {}, a);
    QTest::mouseMove(view, b);
    QTest::mouseRelease(view, Qt::LeftButton, {}, b);
    QVERIFY(std::fabs(view->View().sMin - 4) < 0.02 && std::fabs(view->View().sMax - 8) < 0.02);
    QVERIFY(std::fabs(view->View().yMin - 300) < 2 && std::fabs(view->View().yMax - 500) < 2);
    // A wheel notch zooms in by 1.25 about the point under the mouse.
    const calc::Bounds band = view->View();
    const QPointF centre = view->Frame().Plot().center();
    QWheelEvent wheel(centre, view->mapToGlobal(centre), {}, {0, 120}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &wheel);
    QCOMPARE(view->View().sMax - view->View().sMin, (band.sMax - band.sMin) / 1.25);
    QCOMPARE((view->View().sMax + view->View().sMin) / 2, (band.sMax + band.sMin) / 2);
    // Zooming out stops at the extent of every line.
    for (int i = 0; i < 40; ++i) view->ZoomAt(view->Frame().Plot().topRight(), 0.5);
    const calc::Bounds& all = calc::SceneOf(calc::Formulation::IFC67).extent[0];
    QCOMPARE(view->View().sMin, all.sMin);
    QCOMPARE(view->View().sMax, all.sMax);
    QCOMPARE(view->View().yMax, all.yMax);
    wnd->findChild<QAction*>("IDM_DIAGRAM_RESET")->trigger();
    QCOMPARE(view->View().sMax, home.sMax);
    QCOMPARE(view->View().yMax, home.yMax);

    auto* status = wnd->findChild<QLabel*>("IDC_DIAGRAM_STATUS");
    const QPointF top = view->Frame().Map(calc::Chart::TS, calc::SceneOf(calc::Formulation::IFC67).criticalPoint);
    Hover(view, top + QPointF(3, 2));
    QCOMPARE(status->text(), QStringLiteral("临界点：p = 22.12 MPa  t = 374.15 ℃  h = 2107.4 kJ/kg  "
                                            "s = 4.4429 kJ/(kg·K)"));
    // A line's own state, away from the marks and the critical point.
    const calc::Line& isobar = calc::SceneOf(calc::Formulation::IFC67).lines[4];
    const calc::ChartPoint& pt = isobar.points[isobar.points.size() * 3 / 4];
    Hover(view, view->Frame().Map(calc::Chart::TS, pt));
    QCOMPARE(status->text(), QStringLiteral("1 MPa：") + QString::fromStdString(calc::Describe(pt)));
    Hover(view, top + QPointF(40, -200));  // nothing within reach
    QCOMPARE(status->text(), QString());
  }

  void exportWritesThePictureAsPngSvgAndPdfOrSaysWhyNot() {
    CDiagramWnd* wnd = Open();
    Calculate(2, 4, {"100", "420"});
    QTemporaryDir dir;
    auto* status = wnd->findChild<QLabel*>("IDC_DIAGRAM_STATUS");
    QAction* action = wnd->findChild<QAction*>("IDM_DIAGRAM_EXPORT");
    auto exportTo = [&](const QString& name, QSize size) {
      CDiagramWnd::SetNextExportChoice({name.isEmpty() ? name : dir.filePath(name), size});
      action->trigger();
      return status->text();
    };
    QCOMPARE(exportTo("ts.png", {1234, 777}), QStringLiteral("已导出 ") + dir.filePath("ts.png"));
    QCOMPARE(QImage(dir.filePath("ts.png")).size(), QSize(1234, 777));

    exportTo("ts.svg", {1100, 750});
    QFile svg(dir.filePath("ts.svg"));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&svg);
    QMap<QString, int> polylines;  // by their group's stroke colour
    QStringList texts;
    QString stroke;
    while (!xml.atEnd()) {
      xml.readNext();
      if (!xml.isStartElement()) continue;
      if (xml.name() == QLatin1String("g")) stroke = xml.attributes().value("stroke").toString();
      if (xml.name() == QLatin1String("polyline")) ++polylines[stroke];
      if (xml.name() == QLatin1String("text")) texts << xml.readElementText();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(polylines.value(colors::kIsobar.name()) >= 10);
    QVERIFY(polylines.value(colors::kSaturation.name()) >= 1);
    QCOMPARE(polylines.value(colors::kIsotherm.name()), 0);  // not on T–s
    for (const double p : calc::IsobarPressures(calc::Formulation::IFC67))
      QVERIFY2(texts.contains(QString::number(p) + " MPa"), qPrintable(QString::number(p)));
    QVERIFY(texts.contains(QStringLiteral("解1")) && texts.contains(QStringLiteral("解2")));
    QVERIFY(texts.contains(QStringLiteral("临界点")));

    wnd->findChild<QTabWidget*>("IDC_DIAGRAM_TABS")->setCurrentIndex(1);
    exportTo("hs.pdf", {1100, 750});
    QFile pdf(dir.filePath("hs.pdf"));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QCOMPARE(pdf.read(5), QByteArray("%PDF-"));

    QCOMPARE(exportTo("nodir/x.png", {800, 600}),
             QStringLiteral("导出失败：无法写入文件 ") + dir.filePath("nodir/x.png"));
    QCOMPARE(exportTo("x.bmp", {800, 600}),
             QStringLiteral("导出失败：不支持的文件类型“bmp”：须为 .png、.svg 或 .pdf"));
    QCOMPARE(exportTo("small.png", {199, 600}),
             QStringLiteral("导出失败：图像尺寸须在 200×150 与 20000×20000 像素之间"));
    QVERIFY(!QFile::exists(dir.filePath("small.png")));
    status->clear();
    QCOMPARE(exportTo("", {800, 600}), QString());  // cancelled: nothing written, nothing said
  }

 private:
  CDiagramWnd* Window() const {
    return m_form->findChild<CDiagramWnd*>(QString(), Qt::FindDirectChildrenOnly);
  }
  CDiagramWnd* Open() {
    m_form->findChild<QAction*>("IDM_DIAGRAM")->trigger();
    CDiagramWnd* wnd = Window();
    if (wnd != nullptr) wnd->resize(900, 640);
    return wnd;
  }
  // Item and mode by their list indexes, the inputs typed, Calculate clicked.
  void Calculate(int item, int mode, const QStringList& inputs) {
    auto* items = m_form->findChild<QComboBox*>("IDC_ITEM");
    auto* modes = m_form->findChild<QComboBox*>("IDC_MODE");
    while (items->currentIndex() != item)
      QTest::keyClick(items, items->currentIndex() < item ? Qt::Key_Down : Qt::Key_Up);
    while (modes->currentIndex() != mode)
      QTest::keyClick(modes, modes->currentIndex() < mode ? Qt::Key_Down : Qt::Key_Up);
    for (int k = 0; k < inputs.size(); ++k) {
      auto* edit = m_form->findChild<QLineEdit*>(QStringLiteral("IDC_INPUT%1").arg(k + 1));
      edit->selectAll();
      QTest::keyClicks(edit, inputs[k]);
    }
    QTest::mouseClick(m_form->findChild<QPushButton*>("IDC_CALC"), Qt::LeftButton);
  }
  static QString Labels(const CDiagramWnd* wnd) {
    QString labels;
    for (const calc::Mark& mark : wnd->RequestMarks().points) labels += QString::fromStdString(mark.label) + ' ';
    for (const calc::Mark& mark : wnd->AddedMarks()) labels += QString::fromStdString(mark.label) + ' ';
    return labels;
  }
  // A mouse move without a button, as the offscreen platform does not make one from the cursor.
  static void Hover(QWidget* view, const QPointF& pos) {
    QMouseEvent move(QEvent::MouseMove, pos, view->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, {});
    QApplication::sendEvent(view, &move);
  }
  // The pixel at the centre of the view's n-th mark.
  static QPoint MarkAt(const CDiagramView* view, std::size_t n) {
    const QPointF at = view->Frame().Map(view->Chart(), view->Picture().marks.at(n).point);
    return QPoint(int(std::floor(at.x())), int(std::floor(at.y())));
  }

  std::unique_ptr<CCalcWnd> m_form;
};

QTEST_MAIN(TestDiagramWnd)
#include "diagramwnd_test.moc"
