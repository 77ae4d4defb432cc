// The record window: newest first, new rows on top, filters, copies and exports to their bytes,
// deletion and clearing behind its question, the diagram hook, the record's problem sentence; and
// from the form: F3, every Calculate kept, "复制结果" with Ctrl+Shift+C beside Ctrl+C in an input.
#include <QtTest>
#include <QtWidgets>

#include <memory>

#include "shell/ask.h"
#include "shell/calcwnd.h"
#include "shell/record.h"
#include "shell/recordwnd.h"
#include "shell/toolwindows.h"
#include "shell/unitsettings.h"
#include "tests/support/xlsx_reader.h"

Q_DECLARE_METATYPE(std::vector<calc::Solution>)

namespace {

calc::Answer Answer(Item item, Mode mode, std::initializer_list<double> in) {
  calc::Request r{calc::Formulation::IFC67, item, mode, {0, 0, 0}};
  std::copy(in.begin(), in.end(), r.in);
  return calc::Calculate(r);
}

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestRecordWnd : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    CAsk::Script({});
    qRegisterMetaType<std::vector<calc::Solution>>();
  }
  void init() {
    CUnitSettings::Instance().SetUnits({});
    m_dir = std::make_unique<QTemporaryDir>();
    m_record = std::make_unique<CRecord>(m_dir->filePath(QStringLiteral("record.sqlite")));
    m_record->Append(Answer(Item::AnyState, Mode::PressureTemperature, {1, 300}), QStringLiteral("计算窗口"));
    m_record->Append(Answer(Item::SatWater, Mode::Pressure, {0.1}), QStringLiteral("批量计算"));
    m_record->Append(Answer(Item::AnyState, Mode::TemperatureEnthalpy, {100, 420}), QStringLiteral("计算窗口"));
    m_wnd = std::make_unique<CRecordWnd>(nullptr, *m_record);
    m_wnd->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_wnd.get()));
    CAsk::TakeMessages();
  }
  void cleanup() {
    m_wnd.reset();
    m_record.reset();
    m_form.reset();
  }

  void showsRowsNewestFirstAndTakesNewOnesOnTop() {
    QCOMPARE(Model()->rowCount(), 3);
    QCOMPARE(Cell(0, 4), QStringLiteral("温度和焓"));
    QCOMPARE(Cell(2, 6), QStringLiteral("1.000000"));
    QCOMPARE(Count(), QStringLiteral("共 3 条"));
    QCOMPARE(Model()->index(2, 6).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight, int(Qt::AlignRight));
    m_record->Append(Answer(Item::SatSteam, Mode::Temperature, {200}), QStringLiteral("汽轮机"));
    QCOMPARE(Model()->rowCount(), 4);
    QCOMPARE(Cell(0, 1), QStringLiteral("汽轮机"));
    QCOMPARE(Cell(3, 6), QStringLiteral("1.000000"));
    QCOMPARE(Count(), QStringLiteral("共 4 条"));
    QVERIFY(!m_wnd->findChild<QLabel*>("IDC_RECORD_PROBLEM")->isVisible());
  }

  void filtersByItemAndByText() {
    auto* item = m_wnd->findChild<QComboBox*>("IDC_RECORD_ITEM");
    item->setCurrentIndex(1 + int(Item::AnyState));
    QCOMPARE(Model()->rowCount(), 2);
    m_wnd->findChild<QLineEdit*>("IDC_RECORD_TEXT")->insert(QStringLiteral("过热"));  // as typed
    QCOMPARE(Model()->rowCount(), 1);
    QCOMPARE(Cell(0, 12), QStringLiteral("过热蒸汽"));
    QCOMPARE(Count(), QStringLiteral("共 1 条"));
    // A new row that does not pass stays out.
    m_record->Append(Answer(Item::SatWater, Mode::Pressure, {1}), QStringLiteral("计算窗口"));
    QCOMPARE(Model()->rowCount(), 1);
    item->setCurrentIndex(0);
    m_wnd->findChild<QLineEdit*>("IDC_RECORD_TEXT")->clear();
    QCOMPARE(Model()->rowCount(), 4);
  }

  void copiesTheSelectedRowsInTheChosenUnits() {
    Select({0, 2});
    QApplication::clipboard()->clear();
    Table()->setFocus();
    QTest::keySequence(Table(), QKeySequence::Copy);
    const QString copied = QApplication::clipboard()->text();
    QCOMPARE(copied, m_wnd->CopyText());
    const QStringList lines = copied.split('\n');
    QCOMPARE(lines.size(), 4);  // the captions, two rows, the last line end
    QVERIFY(lines[0].startsWith(QStringLiteral("时间\t来源\t公式\t项目\t方式\t输入\t压力 MPa\t温度 ℃\t")));
    QVERIFY(lines[1].contains(QStringLiteral("\t计算点温度 100 ℃，计算点焓 420 kJ/kg\t0.101325\t100.000000\t")));
    QVERIFY(lines[2].contains(QStringLiteral("\t计算点压力 1 MPa，计算点温度 300 ℃\t1.000000\t300.000000\t")));
    std::string error;
    CUnitSettings::Instance().SetUnits(*calc::ParseUnits("p=kPag,atm=0.1", error));
    QCOMPARE(Model()->headerData(6, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("压力 kPa(表压)"));
    QCOMPARE(Cell(2, 6), QStringLiteral("900.000000"));
    QVERIFY2(m_wnd->CopyText().contains(QStringLiteral("\t计算点压力 900 kPa(表压)，计算点温度 300 ℃\t900.000000\t")), qPrintable(m_wnd->CopyText()));
  }

  void exportsCsvAndXlsxToTheirBytesAndNamesAFileItCannotWrite() {
    const QString csv = m_dir->filePath(QStringLiteral("结果.csv"));
    const QString xlsx = m_dir->filePath(QStringLiteral("结果.xlsx"));
    const QString bad = m_dir->filePath(QStringLiteral("missing/结果.csv"));
    const std::vector<calc::RecordRow> all = m_record->Rows(m_record->Ids({}));
    CAsk::Script({csv, xlsx, bad, QString()});
    Click("IDC_RECORD_EXPORT");  // nothing selected: every row shown
    QCOMPARE(Bytes(csv), QByteArray::fromStdString(calc::ToCsv(calc::RecordTable(all, {}))));
    QVERIFY(Bytes(csv).startsWith("\xEF\xBB\xBF时间,来源,公式,"));
    Select({1});
    Click("IDC_RECORD_EXPORT");  // the selection only
    const auto sheets = testxlsx::ReadWorkbook(xlsx.toStdString());
    QCOMPARE(sheets.at(0).rows(), 2);
    QCOMPARE(sheets[0].at("D2").text, std::string("饱和水"));
    QCOMPARE(sheets[0].at("G2").value, double(0.1f));
    QCOMPARE(sheets[0].at("G2").format, std::string("0.000000"));
    QCOMPARE(sheets[1].at("A1").text, std::string("程序"));
    QCOMPARE(sheets[1].rows(), 5);  // program, IFC-67 and its constants, units, date
    Click("IDC_RECORD_EXPORT");
    QCOMPARE(CAsk::TakeMessages(),
             QStringList{QStringLiteral("无法写入文件 %1：文件夹不存在").arg(bad)});
    QVERIFY(!QFile::exists(bad));
    Click("IDC_RECORD_EXPORT");  // cancelled: nothing written, nothing said
    QCOMPARE(CAsk::TakeMessages(), QStringList());
    // Nothing half-written is left behind.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files),
             (QStringList{"record.sqlite", "record.sqlite-shm", "record.sqlite-wal", "结果.csv", "结果.xlsx"}));
  }

  void deletesTheSelectionAndClearsOnlyWhenConfirmed() {
    Select({0, 1});
    Table()->setFocus();
    QTest::keyClick(Table(), Qt::Key_Delete);
    QCOMPARE(Model()->rowCount(), 1);
    QCOMPARE(m_record->Count(), std::int64_t(1));
    CAsk::Script({false, true});
    Click("IDC_RECORD_CLEAR");
    QCOMPARE(m_record->Count(), std::int64_t(1));
    Click("IDC_RECORD_CLEAR");
    QCOMPARE(m_record->Count(), std::int64_t(0));
    QCOMPARE(Count(), QStringLiteral("共 0 条"));
  }

  void handsTheSelectedPointsToTheDiagram() {
    QSignalSpy shown(m_wnd.get(), &CRecordWnd::ShowInDiagram);
    Select({0, 1});
    Click("IDC_RECORD_DIAGRAM");
    QCOMPARE(shown.count(), 1);
    const auto points = shown[0][0].value<std::vector<calc::Solution>>();
    QCOMPARE(points.size(), std::size_t(3));  // both solutions of (100 ℃, 420 kJ/kg), then 0.1 MPa
    QCOMPARE(points[0].phase, calc::Phase::Wet);
    QCOMPARE(points[1].phase, calc::Phase::Water);
    QCOMPARE(points[1].x, -1.0);
    QCOMPARE(points[2].t, double(99.631638f));
    QCOMPARE(shown[0][1].toString(), QStringLiteral("计算记录（3 点）"));
  }

  void saysWhyTheRecordIsNotOnDisk() {
    m_wnd.reset();
    const QString folder = m_dir->filePath(QStringLiteral("taken"));
    QVERIFY(QDir().mkpath(folder));
    m_record = std::make_unique<CRecord>(folder);
    m_wnd = std::make_unique<CRecordWnd>(nullptr, *m_record);
    m_wnd->show();
    auto* problem = m_wnd->findChild<QLabel*>("IDC_RECORD_PROBLEM");
    QVERIFY(problem->isVisible());
    QCOMPARE(problem->text(), m_record->Problem());
    QVERIFY(problem->text().endsWith(QStringLiteral("本次运行的计算只保存在内存中。")));
    m_record->Append(Answer(Item::SatWater, Mode::Pressure, {1}), QStringLiteral("计算窗口"));
    QCOMPARE(Model()->rowCount(), 1);
  }

  void theFormKeepsEveryCalculateAndOpensTheRecordByF3() {
    OpenForm();
    CRecord::Instance().Clear();
    Calculate(2, 0, {"1", "300"});
    Calculate(0, 1, {"100"});
    QCOMPARE(CRecord::Instance().Count(), std::int64_t(2));
    QTest::keyClick(m_form.get(), Qt::Key_F3);
    auto* window = m_form->findChild<CRecordWnd*>();
    QVERIFY(window && window->isVisible() && window->parent() == m_form.get());
    auto* table = window->findChild<QTableView*>("IDC_RECORD_TABLE");
    QCOMPARE(table->model()->rowCount(), 2);
    QCOMPARE(table->model()->index(0, 1).data().toString(), QStringLiteral("计算窗口"));
    QCOMPARE(table->model()->index(0, 12).data().toString(), QStringLiteral("饱和水"));
    Calculate(1, 0, {"1"});
    QCOMPARE(table->model()->rowCount(), 3);
    m_form->findChild<QAction*>("IDM_RECORD")->trigger();
    QCOMPARE(m_form->findChildren<CRecordWnd*>().size(), 1);
  }

  void ctrlShiftCCopiesTheResultBlockAndCtrlCInAnInputItsText() {
    OpenForm();
    QApplication::clipboard()->clear();
    QTest::keyClick(m_form.get(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString());  // nothing calculated yet
    Calculate(2, 4, {"100", "420"});
    auto* input = m_form->findChild<QLineEdit*>("IDC_INPUT1");
    input->setFocus();
    input->selectAll();
    QTest::keyClick(input, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("100"));
    QTest::keyClick(input, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QApplication::clipboard()->text(),
             QStringLiteral("压力 MPa\t温度 ℃\t焓 kJ/kg\t熵 kJ/(kg·K)\t比容 m³/kg\t干度\t状态\n"
                            "0.101325\t100.000000\t420.000000\t1.309377\t0.001737\t0.000414\t"
                            "饱和水或饱和蒸汽或湿蒸汽,干度=0.000414\n"
                            "1.348398\t100.000000\t420.000000\t1.305890\t0.001043\t—\t不饱和水\n"));
    QCOMPARE(input->text(), QStringLiteral("100"));  // the form is unchanged
    auto* entry = m_form->findChild<QAction*>("IDM_COPY_RESULT");
    QVERIFY(entry && m_form->actions().contains(entry));
    QCOMPARE(entry->text(), QStringLiteral("复制结果"));
    // No other entry of the form's menu takes the same key.
    for (QAction* other : m_form->actions())
      QVERIFY(other == entry || other->shortcut() != entry->shortcut());
  }

 private:
  QTableView* Table() const { return m_wnd->findChild<QTableView*>("IDC_RECORD_TABLE"); }
  QAbstractItemModel* Model() const { return Table()->model(); }
  QString Cell(int row, int column) const { return Model()->index(row, column).data().toString(); }
  QString Count() const { return m_wnd->findChild<QLabel*>("IDC_RECORD_COUNT")->text(); }
  void Click(const char* id) { QTest::mouseClick(m_wnd->findChild<QPushButton*>(id), Qt::LeftButton); }
  void Select(std::initializer_list<int> rows) {
    Table()->clearSelection();
    for (int row : rows)
      Table()->selectionModel()->select(Model()->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }

  void OpenForm() {
    m_form = std::make_unique<CCalcWnd>();
    InstallToolWindows(*m_form);
    m_form->show();
    QApplication::setActiveWindow(m_form.get());
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
  }
  void Calculate(int item, int mode, const QStringList& inputs) {
    auto pick = [](QComboBox* list, int index) {
      list->setCurrentIndex(index);
      emit list->activated(index);
    };
    pick(m_form->findChild<QComboBox*>("IDC_ITEM"), item);
    pick(m_form->findChild<QComboBox*>("IDC_MODE"), mode);
    for (int i = 0; i < inputs.size(); ++i) {
      auto* input = m_form->findChild<QLineEdit*>(QStringLiteral("IDC_INPUT%1").arg(i + 1));
      input->clear();
      QTest::keyClicks(input, inputs[i]);
    }
    QTest::mouseClick(m_form->findChild<QPushButton*>("IDC_CALC"), Qt::LeftButton);
  }

  std::unique_ptr<QTemporaryDir> m_dir;
  std::unique_ptr<CRecord> m_record;
  std::unique_ptr<CRecordWnd> m_wnd;
  std::unique_ptr<CCalcWnd> m_form;
};

QTEST_MAIN(TestRecordWnd)
#include "recordwnd_test.moc"
