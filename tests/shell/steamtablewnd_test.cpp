// The steam table window: opened by F6 from the form's menu, it shows the calculation layer's
// table for each kind, range or list, extras and formulations; says why a request is refused and
// shows no table then; follows the units; copies, exports and prints to PDF (A4, the pages the
// printer reports, landscape when the columns need it).
#include <QtTest>
#include <QtWidgets>

#include <fstream>
#include <memory>
#include <regex>

#include "shell/calcwnd.h"
#include "shell/steamtablewnd.h"
#include "shell/tablefile.h"
#include "shell/toolwindows.h"
#include "shell/unitsettings.h"

namespace {

std::string ReadAll(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The page count of a PDF's page tree and the media box of its first page, read from the file.
int PdfPages(const std::string& pdf) {
  std::smatch m;
  return std::regex_search(pdf, m, std::regex("/Type /Pages[^>]*/Count ([0-9]+)"))
             ? std::stoi(m[1])
             : -1;
}
bool PdfLandscape(const std::string& pdf) {
  std::smatch m;
  if (!std::regex_search(pdf, m, std::regex("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"))) return false;
  return std::stod(m[1]) > std::stod(m[2]);
}

}  // namespace

class TestSteamTableWnd : public QObject {
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
    QTest::keyClick(m_form.get(), Qt::Key_F6);
    QVERIFY(Window() && Window()->isVisible());
  }
  void cleanup() { m_form.reset(); }

  void opensOnceFromTheMenuAndByF6() {
    auto* entry = m_form->findChild<QAction*>("IDM_STEAMTABLE");
    QVERIFY(entry && m_form->actions().contains(entry));
    QCOMPARE(entry->text(), QStringLiteral("水蒸气表…"));
    QCOMPARE(entry->shortcut(), QKeySequence(Qt::Key_F6));
    entry->trigger();
    QCOMPARE(m_form->findChildren<CSteamTableWnd*>().size(), 1);
  }

  void showsTheLayersTableForEachKindAndFormulation() {
    Range(0, "0.01", "370", "20");
    Find<QCheckBox>("IDC_ST_EXTRA_rho")->setChecked(true);
    QVERIFY(!Find<QCheckBox>("IDC_ST_EXTRA_dt")->isEnabled());
    Click("IDC_ST_MAKE");
    calc::TableRequest r;
    r.first = calc::Series::Range(0.01, 370, 20);
    r.extras = {calc::TableExtra::Density};
    QCOMPARE(Window()->CopyText(), Tsv(r));
    QCOMPARE(Find<QTableView>("IDC_ST_TABLE")->model()->rowCount(), 19);

    Find<QComboBox>("IDC_ST_KIND")->setCurrentIndex(int(calc::TableKind::PressureTemperature));
    Find<QComboBox>("IDC_ST_FORMULATION")->setCurrentIndex(2);
    QVERIFY(Find<QGroupBox>("IDC_ST_AXIS2")->isVisible());
    QCOMPARE(Find<QGroupBox>("IDC_ST_AXIS1")->title(), QStringLiteral("压力"));
    Find<QComboBox>("IDC_ST_MODE1")->setCurrentIndex(1);
    Find<QLineEdit>("IDC_ST_LIST1")->setText(QStringLiteral("0.1，1；10\t25"));  // as pasted
    Range(1, "100", "500", "100");
    Find<QCheckBox>("IDC_ST_EXTRA_dt")->setChecked(true);
    Click("IDC_ST_MAKE");
    r.kind = calc::TableKind::PressureTemperature;
    r.compare = true;
    r.first = calc::Series::List({0.1, 1, 10, 25});
    r.second = calc::Series::Range(100, 500, 100);
    r.extras = {calc::TableExtra::Density, calc::TableExtra::Superheat};
    QCOMPARE(Window()->CopyText(), Tsv(r));
    QVERIFY(Message().isEmpty());
  }

  // The layer's refusals (its test holds every sentence) and the window's own reading of a field.
  void refusedRequestsSayWhyAndLeaveNoTable() {
    Range(0, "0.01", "370", "20");
    Click("IDC_ST_MAKE");
    QVERIFY(Find<QTableView>("IDC_ST_TABLE")->model()->rowCount() > 0);
    const std::pair<QStringList, QString> rows[] = {
        {{"0.01", "370", "0"}, QStringLiteral("温度的步长 0 须大于 0")},
        {{"0.01", "", "10"}, QStringLiteral("请输入温度的终点（一个数）")},
    };
    for (const auto& [inputs, message] : rows) {
      Range(0, inputs[0], inputs[1], inputs[2]);
      QVERIFY(!Window()->MakeTable());
      QCOMPARE(Message(), message);
      QCOMPARE(Find<QTableView>("IDC_ST_TABLE")->model()->rowCount(), 0);
    }
    Find<QComboBox>("IDC_ST_MODE1")->setCurrentIndex(1);
    Type("IDC_ST_LIST1", "100, x");
    Click("IDC_ST_MAKE");
    QCOMPARE(Message(), QStringLiteral("温度：\"x\" 不是数"));
  }

  // Temperatures into kelvin: the ends move by 273.15, the step stays; a list converts each value.
  void unitsConvertTheSeries() {
    Range(0, "100", "200", "10");
    Find<QComboBox>("IDC_ST_MODE1")->setCurrentIndex(1);
    Type("IDC_ST_LIST1", "50, 100");
    calc::Units u;
    u.temperature = calc::TemperatureUnit::Kelvin;
    CUnitSettings::Instance().SetUnits(u);
    QCOMPARE(Find<QLineEdit>("IDC_ST_FROM1")->text() + " " + Find<QLineEdit>("IDC_ST_TO1")->text() +
                 " " + Find<QLineEdit>("IDC_ST_STEP1")->text() + " " +
                 Find<QLineEdit>("IDC_ST_LIST1")->text(),
             QStringLiteral("373.15 473.15 10 323.15, 373.15"));
    QCOMPARE(Find<QLabel>("IDC_ST_UNIT1")->text(), QStringLiteral("K"));
  }

  void exportsAndPrintsToPdf() {
    Range(0, "0.01", "370", "5");
    Click("IDC_ST_MAKE");
    const QString tsv = QDir::temp().filePath(QStringLiteral("kelm_table_test.tsv"));
    SetNextSaveFileName(tsv);
    Click("IDC_ST_EXPORT");
    QCOMPARE(QString::fromStdString(ReadAll(tsv)), Window()->CopyText());
    QFile::remove(tsv);

    // 75 rows do not fit one portrait page; the file's page tree holds the pages reported.
    const QString pdf = QDir::temp().filePath(QStringLiteral("kelm_table_test.pdf"));
    SetNextSaveFileName(pdf);
    Click("IDC_ST_PRINT");
    std::string written = ReadAll(pdf);
    QVERIFY(written.rfind("%PDF-", 0) == 0);
    QCOMPARE(PdfPages(written), 2);
    QVERIFY(!PdfLandscape(written));
    // Few rows, many columns: one landscape page.
    Range(0, "100", "300", "100");
    Find<QComboBox>("IDC_ST_FORMULATION")->setCurrentIndex(2);
    Find<QCheckBox>("IDC_ST_EXTRA_cp")->setChecked(true);
    Click("IDC_ST_MAKE");
    QCOMPARE(Window()->PrintTo(pdf), 1);
    written = ReadAll(pdf);
    QCOMPARE(PdfPages(written), 1);
    QVERIFY(PdfLandscape(written));
    QFile::remove(pdf);
    QCOMPARE(Window()->PrintTo(QStringLiteral("/nonexistent/kelm.pdf")), 0);
    QCOMPARE(Message(), QStringLiteral("无法写入文件 /nonexistent/kelm.pdf"));
  }

 private:
  CSteamTableWnd* Window() const { return m_form->findChild<CSteamTableWnd*>(); }
  template <class T>
  T* Find(const char* name) const {
    return Window()->findChild<T*>(QString::fromLatin1(name));
  }
  void Type(const char* name, const QString& text) {
    auto* edit = Find<QLineEdit>(name);
    edit->clear();
    QTest::keyClicks(edit, text);
  }
  void Range(int axis, const QString& from, const QString& to, const QString& step) {
    const QString n = QString::number(axis + 1);
    Find<QComboBox>(qPrintable("IDC_ST_MODE" + n))->setCurrentIndex(0);
    Type(qPrintable("IDC_ST_FROM" + n), from);
    Type(qPrintable("IDC_ST_TO" + n), to);
    Type(qPrintable("IDC_ST_STEP" + n), step);
  }
  void Click(const char* name) { QTest::mouseClick(Find<QPushButton>(name), Qt::LeftButton); }
  QString Message() const {
    auto* label = Find<QLabel>("IDC_ST_MESSAGE");
    return label->isVisible() ? label->text() : QString();
  }
  static QString Tsv(const calc::TableRequest& r) {
    calc::SteamTable t;
    std::string error;
    calc::MakeSteamTable(r, t, error);
    return QString::fromStdString(calc::ToTsv(t.table));
  }

  std::unique_ptr<CCalcWnd> m_form;
};

QTEST_MAIN(TestSteamTableWnd)
#include "steamtablewnd_test.moc"
