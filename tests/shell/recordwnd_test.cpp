// The windows over the record. The record window: newest first, new rows on top, filters, copies
// and exports of the rows chosen, deletion and clearing behind its question, the diagram hook, the
// record's problem sentence. The batch window: lines read with the bad ones listed by number and
// the others calculated on the worker, the results in the record and the table, inputs in the
// chosen units, cancel, files in UTF-8 and GB18030, copying the results. The table's texts are the
// calculation layer's (its tests hold them).
#include <QtTest>
#include <QtWidgets>

#include <memory>

#include "shell/ask.h"
#include "shell/batchwnd.h"
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

// A record of three rows; each window opens over it when a test first asks for it.
class TestRecordWindows : public QObject {
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
  }
  void cleanup() {
    m_records.reset();
    m_batch.reset();
    m_record.reset();
  }

  void showsRowsNewestFirstTakesNewOnesOnTopAndFilters() {
    QCOMPARE(Cell(0, 4) + Cell(2, 6) + Count(), QStringLiteral("温度和焓1.000000共 3 条"));
    QVERIFY(Model()->index(2, 6).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    m_record->Append(Answer(Item::SatSteam, Mode::Temperature, 200), QStringLiteral("汽轮机"));
    QCOMPARE(Cell(0, 1) + Cell(3, 6) + Count(), QStringLiteral("汽轮机1.000000共 4 条"));
    QVERIFY(!Records()->findChild<QLabel*>("IDC_RECORD_PROBLEM")->isVisible());
    // Filtered by item and by text as typed; a new row that does not pass stays out.
    auto* item = Records()->findChild<QComboBox*>("IDC_RECORD_ITEM");
    auto* text = Records()->findChild<QLineEdit*>("IDC_RECORD_TEXT");
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
    QCOMPARE(Records()->CopyText(), Tsv(m_record->Rows({3, 1}), kpag));
    // The diagram hook: the points of the rows chosen.
    QSignalSpy shown(Records(), &CRecordWnd::ShowInDiagram);
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
    const QString folder = m_dir->filePath(QStringLiteral("taken"));
    QVERIFY(QDir().mkpath(folder));
    m_record = std::make_unique<CRecord>(folder);
    const QLabel* problem = Records()->findChild<QLabel*>("IDC_RECORD_PROBLEM");
    QVERIFY(problem->isVisible() && !m_record->Problem().isEmpty());
    QCOMPARE(problem->text(), m_record->Problem());
    m_record->Append(Answer(Item::SatWater, Mode::Pressure, 1), QStringLiteral("计算窗口"));
    QCOMPARE(Model()->rowCount(), 1);
  }

  void calculatesEveryReadableLineAndListsTheOthersByNumber() {
    Input()->setPlainText(QStringLiteral("# 验收试验\n任意状态水或水蒸汽\t压力和温度\t13.5\t535\n"
                                         "2\t0\t1,5\t300\n0,0,0.1\n9\t0\t1\n2\t4\t100\t420\n"));
    QSignalSpy finished(Batch(), &CBatchWnd::Finished);
    QTest::mouseClick(Find<QPushButton>("IDC_BATCH_RUN"), Qt::LeftButton);
    QVERIFY(finished.wait(10000));
    // The layer's reasons (its test holds them all), each after the number of its line.
    QVERIFY(Errors().size() == 2 && Errors()[1].startsWith(QStringLiteral("第 5 行：未知的项目 \"9\"")));
    QCOMPARE(Errors()[0], QStringLiteral("第 3 行：输入 1（计算点压力）不是数字：\"1,5\""));
    QCOMPARE(Find<QLabel>("IDC_BATCH_STATUS")->text(), QStringLiteral("完成：计算了 3 行，2 行无法读取。"));
    QCOMPARE(Find<QProgressBar>("IDC_BATCH_PROGRESS")->value(), 3);
    // Each result headed by the number of its line, in the record in the order of the lines.
    QAbstractItemModel* results = Find<QTableView>("IDC_BATCH_RESULTS")->model();
    QCOMPARE(results->rowCount(), 3);
    QVERIFY(results->headerData(0, Qt::Vertical).toInt() == 2 &&
            results->headerData(2, Qt::Vertical).toInt() == 6);
    const std::vector<calc::RecordRow> kept = m_record->Rows({4, 5, 6});
    QVERIFY(kept[0].source == "批量计算" && kept[0].request.in[0] == 13.5 && kept[2].solutions == 2);
    QApplication::clipboard()->clear();
    QTest::mouseClick(Find<QPushButton>("IDC_BATCH_COPY"), Qt::LeftButton);
    QCOMPARE(QApplication::clipboard()->text(),
             QString::fromStdString(calc::ToTsv(calc::RecordTable(kept, {}))));
  }

  void readsTheInputsInTheChosenUnitsAndFormulation() {
    std::string error;
    CUnitSettings::Instance().SetUnits(*calc::ParseUnits("p=barg,atm=0.1,t=K", error));
    QVERIFY(Find<QLabel>("IDC_BATCH_FORMAT")->text().contains(QStringLiteral("压力 bar(表压，当地大气压 0.1 MPa)，温度 K")));
    Find<QComboBox>("IDC_BATCH_FORMULATION")->setCurrentIndex(1);
    Input()->setPlainText(QStringLiteral("2\t0\t9\t573.15\n"));
    QSignalSpy finished(Batch(), &CBatchWnd::Finished);
    Batch()->Run();
    QVERIFY(finished.wait(10000));
    const calc::RecordRow row = Batch()->Results().Rows().at(0);
    QVERIFY(row.request.formulation == calc::Formulation::IF97 && row.request.in[0] == 1.0);
    QVERIFY(qAbs(row.request.in[1] - 300) < 1e-12);
    QCOMPARE(Find<QTableView>("IDC_BATCH_RESULTS")->model()->index(0, 6).data().toString(), QStringLiteral("9.000000"));
  }

  void cancelStopsTheRunAndKeepsWhatWasCalculated() {
    QString lines;
    for (int i = 0; i < 40000; ++i) lines += QStringLiteral("2\t4\t%1\t2000\n").arg(100 + i % 200);
    Input()->setPlainText(lines);
    QSignalSpy finished(Batch(), &CBatchWnd::Finished);
    Batch()->Run();
    QVERIFY(Batch()->Running());
    QVERIFY(!Find<QPushButton>("IDC_BATCH_RUN")->isEnabled());
    QVERIFY(Find<QPushButton>("IDC_BATCH_CANCEL")->isEnabled());
    // The window answers while the worker runs: the first chunk arrives and shows, and the
    // cancel given then stops the worker within the few chunks it may run ahead.
    QProgressBar* progress = Find<QProgressBar>("IDC_BATCH_PROGRESS");
    connect(progress, &QProgressBar::valueChanged, this, [this] {
      if (m_batch->Running()) QTest::mouseClick(Find<QPushButton>("IDC_BATCH_CANCEL"), Qt::LeftButton);
    });
    QVERIFY(finished.wait(10000));
    const int done = Batch()->Results().rowCount();
    QVERIFY2(done > 0 && done <= 1000, qPrintable(QString::number(done)));
    QCOMPARE(Find<QLabel>("IDC_BATCH_STATUS")->text(), QStringLiteral("已取消：计算了 %1 行。").arg(done));
    QCOMPARE(m_record->Count(), std::int64_t(3 + done));
    QVERIFY(Find<QPushButton>("IDC_BATCH_RUN")->isEnabled());
    QVERIFY(!Batch()->Running());
  }

  void closingDuringARunStopsTheWorker() {
    QString lines;
    for (int i = 0; i < 40000; ++i) lines += QStringLiteral("2\t0\t1\t300\n");
    Input()->setPlainText(lines);
    Batch()->Run();
    // Closed once the first chunk shows (after the events already queued, not from the
    // progress bar's own signal): joins the worker, and its late chunks are dropped.
    connect(Find<QProgressBar>("IDC_BATCH_PROGRESS"), &QProgressBar::valueChanged, this, [this] {
      QMetaObject::invokeMethod(this, [this] { m_batch.reset(); }, Qt::QueuedConnection);
    }, Qt::SingleShotConnection);
    QTRY_VERIFY(!m_batch);
    QVERIFY(m_record->Count() <= 3 + 1000);
  }

  void opensUtf8AndGb18030FilesAndSaysWhyItCannot() {
    const QString text = QStringLiteral("饱和蒸汽,温度,200\n");
    QStringEncoder gb18030("GB18030");
    const std::pair<QString, QByteArray> files[] = {
        {m_dir->filePath("a.csv"), "\xEF\xBB\xBF" + text.toUtf8()},
        {m_dir->filePath("b.csv"), gb18030.encode(text)}};
    for (const auto& [path, bytes] : files) {
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
      file.close();
      Input()->clear();
      CAsk::Script({path});
      QTest::mouseClick(Find<QPushButton>("IDC_BATCH_OPEN"), Qt::LeftButton);
      QCOMPARE(Input()->toPlainText(), text);
    }
    QVERIFY(!Batch()->OpenFile(m_dir->filePath(QStringLiteral("none.csv"))));
    const QStringList told = CAsk::TakeMessages();
    QVERIFY(told.size() == 1 &&
            told[0].startsWith(QStringLiteral("无法读取文件 %1：").arg(m_dir->filePath("none.csv"))));
  }

 private:
  template <class Window>
  Window* Show(std::unique_ptr<Window>& wnd) {
    if (!wnd) {
      wnd = std::make_unique<Window>(nullptr, *m_record);
      wnd->show();
      if (!QTest::qWaitForWindowExposed(wnd.get())) qFatal("the window did not show");
      CAsk::TakeMessages();
    }
    return wnd.get();
  }
  CRecordWnd* Records() { return Show(m_records); }
  CBatchWnd* Batch() { return Show(m_batch); }
  QTableView* Table() { return Records()->findChild<QTableView*>("IDC_RECORD_TABLE"); }
  QAbstractItemModel* Model() { return Table()->model(); }
  QString Cell(int row, int column) { return Model()->index(row, column).data().toString(); }
  QString Count() { return Records()->findChild<QLabel*>("IDC_RECORD_COUNT")->text(); }
  void Click(const char* id) { QTest::mouseClick(Records()->findChild<QPushButton*>(id), Qt::LeftButton); }
  void Select(std::initializer_list<int> rows) {
    Table()->clearSelection();
    for (int row : rows)
      Table()->selectionModel()->select(Model()->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  static QString Tsv(const std::vector<calc::RecordRow>& rows, const calc::Units& units) {
    return QString::fromStdString(calc::ToTsv(calc::RecordTable(rows, units)));
  }
  template <class T>
  T* Find(const char* id) {
    return Batch()->findChild<T*>(QString::fromLatin1(id));
  }
  QPlainTextEdit* Input() { return Find<QPlainTextEdit>("IDC_BATCH_INPUT"); }
  QStringList Errors() {
    QStringList texts;
    auto* list = Find<QListWidget>("IDC_BATCH_ERRORS");
    for (int i = 0; i < list->count(); ++i) texts += list->item(i)->text();
    return texts;
  }

  std::unique_ptr<QTemporaryDir> m_dir;
  std::unique_ptr<CRecord> m_record;
  std::unique_ptr<CRecordWnd> m_records;
  std::unique_ptr<CBatchWnd> m_batch;
};

QTEST_MAIN(TestRecordWindows)
#include "recordwnd_test.moc"
