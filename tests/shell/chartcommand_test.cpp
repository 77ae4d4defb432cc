// kelm --chart: the diagrams written without a display, every usage error with its message, and
// the real program run with no display at all.
#include <QtTest>

#include "shell/chartcommand.h"
#include "shell/diagrampaint.h"

class TestChartCommand : public QObject {
  Q_OBJECT

 private slots:
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
    QString content = Read(svg);
    for (const char* expected : {"<title>h–s 图</title>", "<desc>IF97</desc>", ">解1<", ">解2<",
                                 ">300 ℃<", ">x=0.9<"})
      QVERIFY2(content.contains(QString::fromUtf8(expected)), expected);
    // The other formulation's dome, in its own colour.
    QVERIFY(content.contains("stroke=\"" + diagram_colors::kOther.name() + '"'));
    // T–s: every isobar labelled, the critical point, no isotherms; an isentropic expansion.
    QCOMPARE(RunChartCommand({"--chart", "ts", "--out", svg, "3", "0", "10", "500", "0.1"}, err), 0);
    content = Read(svg);
    for (const double p : calc::IsobarPressures(calc::Formulation::IFC67))
      QVERIFY2(content.contains('>' + QString::number(p) + " MPa<"), qPrintable(QString::number(p)));
    QVERIFY(content.contains(QStringLiteral(">临界点<")) && content.contains(QStringLiteral(">初态<")));
    QVERIFY(content.contains("stroke=\"" + diagram_colors::kExpansion.name() + '"'));
    QVERIFY(!content.contains("stroke=\"" + diagram_colors::kIsotherm.name() + '"'));

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
  static QString Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  }
};

QTEST_MAIN(TestChartCommand)
#include "chartcommand_test.moc"
