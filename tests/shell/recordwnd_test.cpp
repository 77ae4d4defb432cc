// The record window: newest first, new rows on top, filters, copies and exports of the rows
// chosen, deletion and clearing behind its question, the diagram hook, the record's problem
// sentence. The table's texts are the calculation layer's (its tests hold them).
#include <QtTest>
#include <QtWidgets>

#include <memory>

#include "shell/ask.h"
#include "shell/record.h"
#include "shell/recordwnd.h"
#include "shell/unitsettings.h"
#include "tests/support/xlsx_reader.h"

Q_DECLARE_METATYPE(std::vector<calc::Solution>)

namespace {

calc::Answer Answer(Item item, Mode mode, double in1, double in2 = 0) {
  return calc::Calculate({calc::Formulation::IFC67, item, mode, {in1, in2, 0}});
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
    m_record->Append(Answer(Item::AnyState, Mode::PressureTemperature, 1, 300), QStringLiteral("计算窗口"));
    m_record->Append(Answer(Item::SatWater, Mode::Pressure, 0.1), QStringLiteral("批量计算"));
    m_record->Append(Answer(Item::AnyState, Mode::TemperatureEnthalpy, 100, 420), QStringLiteral("计算窗口"));
    m_wnd = std::make_unique<CRecordWnd>(nullptr, *m_record);
    m_wnd->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_wnd.get()));
    CAsk::TakeMessages();
  }
  void cleanup() {
    m_wnd.reset();
    m_record.reset();
  }

  void showsRowsNewestFirstTakesNewOnesOnTopAndFilters() {
    QCOMPARE(Cell(0, 4) + Cell(2, 6) + Count(), QStringLiteral("温度和焓1.000000共 3 条"));
    QVERIFY(Model()->index(2, 6).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    m_record->Append(Answer(Item::SatSteam, Mode::Temperature, 200), QStringLiteral("汽轮机"));
    QCOMPARE(Cell(0, 1) + Cell(3, 6) + Count(), QStringLiteral("汽轮机1.000000共 4 条"));
    QVERIFY(!m_wnd->findChild<QLabel*>("IDC_RECORD_PROBLEM")->isVisible());
    // Filtered by item and by text as typed; a new row that does not pass stays out.
    auto* item = m_wnd->findChild<QComboBox*>("IDC_RECORD_ITEM");
    auto* text = m_wnd->findChild<QLineEdit*>("IDC_RECORD_TEXT");
    item->setCurrentIndex(1 + int(Item::AnyState));
    QCOMPARE(Model()->rowCount(), 2);
    text->insert(QStringLiteral("过热"));
    QCOMPARE(Cell(0, 12) + Count(), QStringLiteral("过热蒸汽共 1 条"));
    m_record->Append(Answer(Item::SatWater, Mode::Pressure, 1), QStringLiteral("计算窗口"));
    QCOMPARE(Model()->rowCount(), 1);
    item->setCurrentIndex(0);
    text->clear();
    QCOMPARE(Model()->rowCount(), 5);
  }

  void copiesTheSelectedRowsInTheChosenUnitsAndHandsTheirPointsToTheDiagram() {
    Select({0, 2});
    QApplication::clipboard()->clear();
    Table()->setFocus();
    QTest::keySequence(Table(), QKeySequence::Copy);
    QCOMPARE(QApplication::clipboard()->text(), Tsv(m_record->Rows({3, 1}), {}));
    std::string error;
    const calc::Units kpag = *calc::ParseUnits("p=kPag,atm=0.1", error);
    CUnitSettings::Instance().SetUnits(kpag);
    QCOMPARE(Model()->headerData(6, Qt::Horizontal, Qt::DisplayRole).toString() + Cell(2, 6),
             QStringLiteral("压力 kPa(表压)900.000000"));
    QCOMPARE(m_wnd->CopyText(), Tsv(m_record->Rows({3, 1}), kpag));
    // The diagram hook: the points of the rows chosen.
    QSignalSpy shown(m_wnd.get(), &CRecordWnd::ShowInDiagram);
    Select({0, 1});
    Click("IDC_RECORD_DIAGRAM");
    QVERIFY(shown.count() == 1 && shown[0][1].toString() == QStringLiteral("计算记录（3 点）"));
    // Both solutions of (100 ℃, 420 kJ/kg), then 0.1 MPa; no dryness in water.
    const auto points = shown[0][0].value<std::vector<calc::Solution>>();
    QVERIFY(points.size() == 3 && points[0].phase == calc::Phase::Wet);
    QVERIFY(points[1].phase == calc::Phase::Water);
    QVERIFY(points[1].x == -1 && points[2].t == double(99.631638f));
  }

  void exportsCsvAndXlsxToTheirBytesAndNamesAFileItCannotWrite() {
    const QString csv = m_dir->filePath("结果.csv"), xlsx = m_dir->filePath("结果.xlsx");
    const QString bad = m_dir->filePath("missing/结果.csv");
    const std::vector<calc::RecordRow> all = m_record->Rows(m_record->Ids({}));
    CAsk::Script({csv, xlsx, bad, QString()});
    Click("IDC_RECORD_EXPORT");  // nothing selected: every row shown
    QCOMPARE(Bytes(csv), QByteArray::fromStdString(calc::ToCsv(calc::RecordTable(all, {}))));
    Select({1});
    Click("IDC_RECORD_EXPORT");  // the selection only
    const auto sheets = testxlsx::ReadWorkbook(xlsx.toStdString());
    QVERIFY(sheets.at(0).rows() == 2 && sheets[0].at("D2").text == "饱和水");
    QCOMPARE(sheets[1].rows(), 5);  // program, IFC-67 and its constants, units, date
    Click("IDC_RECORD_EXPORT");
    QCOMPARE(CAsk::TakeMessages(), QStringList{QStringLiteral("无法写入文件 %1：文件夹不存在").arg(bad)});
    Click("IDC_RECORD_EXPORT");  // cancelled: nothing written, nothing said
    QCOMPARE(CAsk::TakeMessages(), QStringList());
  }

  void deletesTheSelectionAndClearsOnlyWhenConfirmed() {
    Select({0, 1});
    Table()->setFocus();
    QTest::keyClick(Table(), Qt::Key_Delete);
    QVERIFY(Model()->rowCount() == 1 && m_record->Count() == 1);
    CAsk::Script({false, true});
    Click("IDC_RECORD_CLEAR");  // not confirmed
    QCOMPARE(m_record->Count(), std::int64_t(1));
    Click("IDC_RECORD_CLEAR");
    QVERIFY(m_record->Count() == 0 && Count() == QStringLiteral("共 0 条"));
  }

  void saysWhyTheRecordIsNotOnDisk() {
    m_wnd.reset();
    const QString folder = m_dir->filePath(QStringLiteral("taken"));
    QVERIFY(QDir().mkpath(folder));
    m_record = std::make_unique<CRecord>(folder);
    m_wnd = std::make_unique<CRecordWnd>(nullptr, *m_record);
    m_wnd->show();
    const QLabel* problem = m_wnd->findChild<QLabel*>("IDC_RECORD_PROBLEM");
    QVERIFY(problem->isVisible() && !m_record->Problem().isEmpty());
    QCOMPARE(problem->text(), m_record->Problem());
    m_record->Append(Answer(Item::SatWater, Mode::Pressure, 1), QStringLiteral("计算窗口"));
    QCOMPARE(Model()->rowCount(), 1);
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
  static QString Tsv(const std::vector<calc::RecordRow>& rows, const calc::Units& units) {
    return QString::fromStdString(calc::ToTsv(calc::RecordTable(rows, units)));
  }

  std::unique_ptr<QTemporaryDir> m_dir;
  std::unique_ptr<CRecord> m_record;
  std::unique_ptr<CRecordWnd> m_wnd;
};

QTEST_MAIN(TestRecordWnd)
#include "recordwnd_test.moc"
