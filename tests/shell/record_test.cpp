// The record on disk, child processes being this executable with --child-… arguments; then the
// record and batch windows over it (their tables' texts are the calculation layer's).
#include <QtSql>
#include <QtTest>
#include <QtWidgets>

#include <csignal>
#include <cstdio>
#include <memory>
#include <thread>

#include "shell/ask.h"
#include "shell/batchwnd.h"
#include "shell/record.h"
#include "shell/recordwnd.h"
#include "shell/unitsettings.h"
#include "tests/support/xlsx_reader.h"

Q_DECLARE_METATYPE(std::vector<calc::Solution>)

namespace {

calc::Answer Answer(Item item, Mode mode, double in1, double in2 = 0,
                    calc::Formulation f = calc::Formulation::IFC67) {
  return calc::Calculate({f, item, mode, {in1, in2, 0}});
}

const calc::Answer& Steam() {
  static const calc::Answer a = Answer(Item::AnyState, Mode::PressureTemperature, 1, 300);
  return a;
}

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int Child(const QStringList& args) {
  const QString what = args.value(1), path = args.value(2);
  if (what == QLatin1String("--child-append")) {
    // Appends rows, printing each id once its row is committed; with no count, until killed.
    CRecord record(path);
    for (int i = 0, count = args.value(4).toInt(); count == 0 || i < count; ++i) {
      const std::int64_t id = record.Append(Steam(), args.value(3));
      if (id == 0 || !record.OnDisk()) return 4;
      std::printf("%lld\n", static_cast<long long>(id));
      std::fflush(stdout);
    }
    return 0;
  }
  if (what == QLatin1String("--child-lock")) {
    // Holds the file as a program in exclusive locking mode does, until killed.
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("lock"));
    db.setDatabaseName(path);
    if (!db.open()) return 3;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE")) ||
        !q.exec(QStringLiteral("BEGIN EXCLUSIVE")) ||
        !q.exec(QStringLiteral("SELECT count(*) FROM record")))
      return 4;
    std::printf("locked\n");
    std::fflush(stdout);
    for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
  }
  return 2;
}

}  // namespace

class TestRecord : public QObject {
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
    m_path = m_dir->filePath(QStringLiteral("record.sqlite"));
  }
  void cleanup() {
    m_children.clear();  // a QProcess kills its child as it goes
    m_records.reset();
    m_batch.reset();
    m_record.reset();
  }

  void survivesARestartWithEveryValueAndText() {
    const calc::Answer answers[] = {
        Steam(), Answer(Item::AnyState, Mode::TemperatureEnthalpy, 100, 420),
        Answer(Item::AnyState, Mode::PressureTemperature, 120, 300, calc::Formulation::IF97)};
    {
      CRecord record(m_path);
      QVERIFY(record.OnDisk() && record.Problem().isEmpty());
      QSignalSpy appended(&record, &CRecord::Appended);
      QCOMPARE(record.Append(answers[0], QStringLiteral("计算窗口")), std::int64_t(1));
      QCOMPARE(record.Append({answers[1], answers[2]}, QStringLiteral("批量计算")), 2);
      QCOMPARE(appended.count(), 2);
    }
    CRecord again(m_path);
    // Newest first, every field as the answer gave it: a second root, a failure with its reason.
    const std::vector<calc::RecordRow> after = again.Rows(again.Ids({}));
    QCOMPARE(after.size(), std::size_t(3));
    std::vector<calc::RecordRow> expected;
    for (int i = 0; i < 3; ++i)
      expected.push_back(calc::ToRecordRow(answers[2 - i], after[i].time, i < 2 ? "批量计算" : "计算窗口"));
    QCOMPARE(calc::ToTsv(calc::RecordTable(after, {})), calc::ToTsv(calc::RecordTable(expected, {})));
    // Whole, not only the digits shown; NaN where there is no value.
    QVERIFY(after[2].first.h == expected[2].first.h && std::isnan(after[2].first.x));
    QVERIFY(after[0].failed && !after[1].failed);
  }

  // B writes beside A and is killed while it writes; A goes on.
  void twoCopiesAtOnceBothRecordEveryRowAndAKilledOneKeepsEveryCommittedRow() {
    CRecord({m_path});  // the file exists before both start
    QProcess* a = Start({QStringLiteral("--child-append"), m_path, QStringLiteral("A"), QStringLiteral("150")});
    QProcess* b = Start({QStringLiteral("--child-append"), m_path, QStringLiteral("B")});
    QStringList ids;
    while (ids.size() < 100 && b->waitForReadyRead(10000))
      ids += QString::fromLatin1(b->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QVERIFY2(ids.size() >= 100, qPrintable(b->readAllStandardError()));
    ::kill(pid_t(b->processId()), SIGKILL);
    QVERIFY(b->waitForFinished() && b->exitStatus() == QProcess::CrashExit);
    ids += QString::fromLatin1(b->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QVERIFY(a->waitForFinished(60000) && a->exitCode() == 0);
    CRecord record(m_path);
    QVERIFY2(record.OnDisk(), qPrintable(record.Problem()));
    QCOMPARE(record.Ids({-1, QStringLiteral("A")}).size(), std::size_t(150));
    const std::vector<std::int64_t> kept = record.Ids({-1, QStringLiteral("B")});
    for (const QString& id : ids) QVERIFY2(std::find(kept.begin(), kept.end(), id.toLongLong()) != kept.end(), qPrintable(id));
  }

  void aCorruptFileIsMovedAsideWholeAndANewOneBegun_data() {
    QTest::addColumn<bool>("pageDamaged");
    QTest::newRow("not a database") << false;
    QTest::newRow("a damaged page") << true;
  }
  void aCorruptFileIsMovedAsideWholeAndANewOneBegun() {
    QFETCH(bool, pageDamaged);
    QByteArray damaged(8192, 'x');
    if (pageDamaged) {
      {
        CRecord record(m_path);
        record.Append(std::vector<calc::Answer>(200, Steam()), QStringLiteral("批量计算"));
      }
      damaged = Bytes(m_path);
      QVERIFY(damaged.size() > 3 * 4096);
      for (int i = 4096 + 100; i < 3 * 4096; ++i) damaged[i] = char(i * 7);  // pages 2 and 3
    }
    QFile file(m_path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(damaged) == damaged.size());
    file.close();
    CRecord record(m_path);
    QVERIFY(record.OnDisk() && record.Count() == 0);
    const QStringList moved = QDir(m_dir->path()).entryList({QStringLiteral("record.sqlite.corrupt-*")});
    QCOMPARE(moved.size(), 1);
    QVERIFY(QRegularExpression(QStringLiteral("^record\\.sqlite\\.corrupt-\\d{8}-\\d{6}$")).match(moved[0]).hasMatch());
    QCOMPARE(Bytes(m_dir->filePath(moved[0])), damaged);
    QCOMPARE(record.Problem(), QStringLiteral("记录文件已损坏，已原样移到 %1 保留，并新建了记录文件 %2。")
                                   .arg(QDir::toNativeSeparators(m_dir->filePath(moved[0])),
                                        QDir::toNativeSeparators(m_path)));
  }

  void aLockedUnopenableOrNewerFileIsLeftAloneAndTheSessionKeptInMemory_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("problem");
    QTest::newRow("locked") << "locked" << QStringLiteral("记录文件 %1 被另一个程序锁定，本次运行的计算只保存在内存中。");
    QTest::newRow("a folder") << "folder" << QStringLiteral("无法打开记录文件 %1（该位置不能建立文件，或没有权限），"
                                                            "本次运行的计算只保存在内存中。");
    QTest::newRow("newer") << "newer" << QStringLiteral("记录文件 %1 由更新版本的程序创建，本次运行的计算只保存在内存中。");
  }
  void aLockedUnopenableOrNewerFileIsLeftAloneAndTheSessionKeptInMemory() {
    QFETCH(QString, file);
    QFETCH(QString, problem);
    if (file == "folder") {
      QVERIFY(QDir().mkpath(m_path));  // a folder where the file should be
    } else {
      CRecord record(m_path);
      record.Append(Steam(), QStringLiteral("计算窗口"));
      if (file == "newer")
        QSqlQuery(QSqlDatabase::database(QStringLiteral("kelm-record-%1").arg(Connections())))
            .exec(QStringLiteral("PRAGMA user_version=2"));
    }
    QProcess* holder = file == "locked" ? Start({QStringLiteral("--child-lock"), m_path}) : nullptr;
    QVERIFY(holder == nullptr ||
            (holder->waitForReadyRead(10000) && holder->readAllStandardOutput() == "locked\n"));
    const QByteArray bytes = Bytes(m_path);
    {
      CRecord record(m_path, {200, 0});
      QCOMPARE(record.Problem(), problem.arg(QDir::toNativeSeparators(m_path)));
      QVERIFY(!record.OnDisk());
      QVERIFY(record.Append(Steam(), "计算窗口") > 0 && record.Append(Steam(), "计算窗口") > 0);
      QCOMPARE(record.Count(), std::int64_t(2));
    }
    QCOMPARE(Bytes(m_path), bytes);
    QVERIFY(file != "folder" || (QFileInfo(m_path).isDir() && QDir(m_path).isEmpty()));
    if (holder == nullptr) return;
    holder->kill();
    holder->waitForFinished();
    CRecord record(m_path);  // the file again once it is free, with its row
    QVERIFY(record.OnDisk() && record.Count() == 1);
  }

  void aFullFileGoesOnInMemoryWithTheRowsSoFar() {
    CRecord record(m_path, {5000, 24 * 4096});
    QSignalSpy problem(&record, &CRecord::ProblemChanged);
    const std::vector<calc::Answer> batch(25, Steam());
    int kept = 0, onDisk = 0;
    for (; kept < 2000 && record.OnDisk(); kept += 25) {
      onDisk = kept;
      QCOMPARE(record.Append(batch, QStringLiteral("批量计算")), 25);
    }
    QVERIFY(!record.OnDisk() && problem.count() == 1);
    QVERIFY(record.Problem().contains(QStringLiteral("无法再增长（磁盘已满或达到大小上限）")));
    // Every row of the session is there, the one that did not fit included.
    QCOMPARE(record.Count(), std::int64_t(kept));
    QVERIFY(record.Append(Steam(), QStringLiteral("计算窗口")) > 0);
    QCOMPARE(record.Count(), std::int64_t(kept + 1));
    // The file holds what it took and is sound.
    CRecord reopened(m_path);
    QVERIFY(reopened.OnDisk() && reopened.Count() == onDisk);
  }

  void filtersByItemAndTextAndRemovesRows() {
    CRecord record(m_path);
    record.Append(Steam(), QStringLiteral("计算窗口"));                                      // 1
    record.Append(Answer(Item::SatWater, Mode::Pressure, 0.1), QStringLiteral("批量计算"));  // 2
    record.Append(Answer(Item::AnyState, Mode::PressureTemperature, 1, 900), QStringLiteral("计算窗口"));  // 3
    record.Append(Answer(Item::AnyState, Mode::TemperatureEnthalpy, 100, 420), QStringLiteral("50%_a"));  // 4
    using Ids = std::vector<std::int64_t>;
    QCOMPARE(record.Ids({}), (Ids{4, 3, 2, 1}));
    QCOMPARE(record.Ids({}, 2), (Ids{4, 3}));
    QCOMPARE(record.Ids({int(Item::SatWater), {}}), Ids{2});
    QCOMPARE(record.Ids({-1, QStringLiteral("过热蒸汽")}), Ids{1});
    QCOMPARE(record.Ids({-1, QStringLiteral("不饱和水")}), Ids{4});            // solution 2
    QCOMPARE(record.Ids({-1, QStringLiteral("高于适用上限")}), Ids{3});        // the reason
    QCOMPARE(record.Ids({-1, QStringLiteral("批量")}), Ids{2});                // the source
    QCOMPARE(record.Ids({-1, QStringLiteral("%_")}), Ids{4});                  // taken literally
    QCOMPARE(record.Ids({-1, QDateTime::currentDateTime().toString("yyyy-MM-dd")}).size(), std::size_t(4));
    QCOMPARE(record.Ids({int(Item::AnyState), QStringLiteral("计算窗口")}), (Ids{3, 1}));
    QCOMPARE(record.Rows({3, 99, 1})[1].id, std::int64_t(0));  // gone meanwhile: an empty row
    QSignalSpy removed(&record, &CRecord::Removed);
    QVERIFY(record.Remove({1, 3}));
    QCOMPARE(record.Ids({}), (Ids{4, 2}));
    QVERIFY(record.Clear() && record.Count() == 0 && removed.count() == 2);
    // Ids go on above the removed ones.
    QCOMPARE(record.Append(Steam(), QStringLiteral("计算窗口")), std::int64_t(5));
  }

  void showsRowsNewestFirstTakesNewOnesOnTopAndFilters() {
    QCOMPARE(Cell(0, 4) + Cell(2, 6) + Count(), QStringLiteral("温度和焓1.000000共 3 条"));
    QVERIFY(Model()->index(2, 6).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    Record().Append(Answer(Item::SatSteam, Mode::Temperature, 200), QStringLiteral("汽轮机"));
    QCOMPARE(Cell(0, 1) + Cell(3, 6) + Count(), QStringLiteral("汽轮机1.000000共 4 条"));
    QVERIFY(!Records()->findChild<QLabel*>("IDC_RECORD_PROBLEM")->isVisible());
    // Filtered by item and by text as typed; a new row that does not pass stays out.
    auto* item = Records()->findChild<QComboBox*>("IDC_RECORD_ITEM");
    auto* text = Records()->findChild<QLineEdit*>("IDC_RECORD_TEXT");
    item->setCurrentIndex(1 + int(Item::AnyState));
    QCOMPARE(Model()->rowCount(), 2);
    text->insert(QStringLiteral("过热"));
    QCOMPARE(Cell(0, 12) + Count(), QStringLiteral("过热蒸汽共 1 条"));
    Record().Append(Answer(Item::SatWater, Mode::Pressure, 1), QStringLiteral("计算窗口"));
    QCOMPARE(Model()->rowCount(), 1);
    item->setCurrentIndex(0);
    text->clear();
    QCOMPARE(Model()->rowCount(), 5);
  }

  void copiesTheSelectedRowsInTheChosenUnitsAndHandsTheirPointsToTheDiagram() {
    Select({0, 2});
    Table()->setFocus();
    QTest::keySequence(Table(), QKeySequence::Copy);
    QCOMPARE(QApplication::clipboard()->text(), Tsv(Record().Rows({3, 1}), {}));
    std::string error;
    const calc::Units kpag = *calc::ParseUnits("p=kPag,atm=0.1", error);
    CUnitSettings::Instance().SetUnits(kpag);
    QCOMPARE(Model()->headerData(6, Qt::Horizontal, Qt::DisplayRole).toString() + Cell(2, 6),
             QStringLiteral("压力 kPa(表压)900.000000"));
    QCOMPARE(Records()->CopyText(), Tsv(Record().Rows({3, 1}), kpag));
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
    const std::vector<calc::RecordRow> all = Record().Rows(Record().Ids({}));
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
    QVERIFY(Model()->rowCount() == 1 && Record().Count() == 1);
    CAsk::Script({false, true});
    Click("IDC_RECORD_CLEAR");  // not confirmed
    QCOMPARE(Record().Count(), std::int64_t(1));
    Click("IDC_RECORD_CLEAR");
    QVERIFY(Record().Count() == 0 && Count() == QStringLiteral("共 0 条"));
  }

  void saysWhyTheRecordIsNotOnDisk() {
    const QString folder = m_dir->filePath(QStringLiteral("taken"));
    QVERIFY(QDir().mkpath(folder));
    m_record = std::make_unique<CRecord>(folder);  // opened in place of the windows' record
    const QLabel* problem = Records()->findChild<QLabel*>("IDC_RECORD_PROBLEM");
    QVERIFY(problem->isVisible() && !Record().Problem().isEmpty());
    QCOMPARE(problem->text(), Record().Problem());
  }

  void calculatesEveryReadableLineInTheChosenUnitsAndListsTheOthersByNumber() {
    Input()->setPlainText(QStringLiteral("# 验收试验\n任意状态水或水蒸汽\t压力和温度\t13.5\t535\n"
                                         "2\t0\t1,5\t300\n0,0,0.1\n9\t0\t1\n2\t4\t100\t420\n"));
    QSignalSpy finished(Batch(), &CBatchWnd::Finished);
    QTest::mouseClick(Find<QPushButton>("IDC_BATCH_RUN"), Qt::LeftButton);
    QVERIFY(finished.wait(10000));
    // The layer's reasons (its test holds them all), each after the number of its line.
    auto* errors = Find<QListWidget>("IDC_BATCH_ERRORS");
    QCOMPARE(errors->count(), 2);
    QCOMPARE(errors->item(0)->text(), QStringLiteral("第 3 行：输入 1（计算点压力）不是数字：\"1,5\""));
    QCOMPARE(Find<QLabel>("IDC_BATCH_STATUS")->text(), QStringLiteral("完成：计算了 3 行，2 行无法读取。"));
    QCOMPARE(Find<QProgressBar>("IDC_BATCH_PROGRESS")->value(), 3);
    // Each result headed by the number of its line, in the record in the order of the lines.
    QAbstractItemModel* results = Find<QTableView>("IDC_BATCH_RESULTS")->model();
    QCOMPARE(results->rowCount(), 3);
    QVERIFY(results->headerData(0, Qt::Vertical).toInt() == 2 &&
            results->headerData(2, Qt::Vertical).toInt() == 6);
    const std::vector<calc::RecordRow> kept = Record().Rows({4, 5, 6});
    QVERIFY(kept[0].source == "批量计算" && kept[0].request.in[0] == 13.5 && kept[2].solutions == 2);
    QTest::mouseClick(Find<QPushButton>("IDC_BATCH_COPY"), Qt::LeftButton);
    QCOMPARE(QApplication::clipboard()->text(),
             QString::fromStdString(calc::ToTsv(calc::RecordTable(kept, {}))));
    // The inputs read in the chosen units and formulation, the results shown in those units.
    std::string error;
    CUnitSettings::Instance().SetUnits(*calc::ParseUnits("p=barg,atm=0.1,t=K", error));
    QVERIFY(Find<QLabel>("IDC_BATCH_FORMAT")->text().contains(QStringLiteral("压力 bar(表压，当地大气压 0.1 MPa)，温度 K")));
    Find<QComboBox>("IDC_BATCH_FORMULATION")->setCurrentIndex(1);
    Input()->setPlainText(QStringLiteral("2\t0\t9\t573.15\n"));
    Batch()->Run();
    QVERIFY(finished.wait(10000));
    const calc::RecordRow row = Batch()->Results().Rows().at(0);
    QVERIFY(row.request.formulation == calc::Formulation::IF97 && row.request.in[0] == 1.0);
    QCOMPARE(results->index(0, 6).data().toString(), QStringLiteral("9.000000"));
  }

  void cancelStopsTheRunAndKeepsWhatWasCalculated() {
    QString lines;
    for (int i = 0; i < 40000; ++i) lines += QStringLiteral("2\t4\t%1\t2000\n").arg(100 + i % 200);
    Input()->setPlainText(lines);
    QSignalSpy finished(Batch(), &CBatchWnd::Finished);
    Batch()->Run();
    QVERIFY(Batch()->Running() && !Find<QPushButton>("IDC_BATCH_RUN")->isEnabled() &&
            Find<QPushButton>("IDC_BATCH_CANCEL")->isEnabled());
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
    QCOMPARE(Record().Count(), std::int64_t(3 + done));
    QVERIFY(Find<QPushButton>("IDC_BATCH_RUN")->isEnabled() && !Batch()->Running());
  }

  void closingDuringARunStopsTheWorker() {
    Input()->setPlainText(QStringLiteral("2\t0\t1\t300\n").repeated(40000));
    Batch()->Run();
    // Closed once the first chunk shows (after the events already queued, not from the
    // progress bar's own signal): joins the worker, and its late chunks are dropped.
    connect(Find<QProgressBar>("IDC_BATCH_PROGRESS"), &QProgressBar::valueChanged, this, [this] {
      QMetaObject::invokeMethod(this, [this] { m_batch.reset(); }, Qt::QueuedConnection);
    }, Qt::SingleShotConnection);
    QTRY_VERIFY(!m_batch);
    QVERIFY(Record().Count() <= 3 + 1000);
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
  QProcess* Start(const QStringList& args) {
    m_children.push_back(std::make_unique<QProcess>());
    m_children.back()->start(QCoreApplication::applicationFilePath(), args);
    return m_children.back().get();
  }
  // The number of the connection the last CRecord made.
  static int Connections() {
    int n = 0;
    for (const QString& name : QSqlDatabase::connectionNames())
      n = std::max(n, name.section('-', 2).toInt());
    return n;
  }

  // The windows' record, of three rows, made when first asked for.
  CRecord& Record() {
    if (!m_record) {
      m_record = std::make_unique<CRecord>(m_dir->filePath(QStringLiteral("windows.sqlite")));
      m_record->Append(Steam(), QStringLiteral("计算窗口"));
      m_record->Append(Answer(Item::SatWater, Mode::Pressure, 0.1), QStringLiteral("批量计算"));
      m_record->Append(Answer(Item::AnyState, Mode::TemperatureEnthalpy, 100, 420), QStringLiteral("计算窗口"));
    }
    return *m_record;
  }
  template <class Window>
  Window* Show(std::unique_ptr<Window>& wnd) {
    if (!wnd) {
      wnd = std::make_unique<Window>(nullptr, Record());
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
  T* Find(const char* id) { return Batch()->findChild<T*>(id); }
  QPlainTextEdit* Input() { return Find<QPlainTextEdit>("IDC_BATCH_INPUT"); }

  std::unique_ptr<QTemporaryDir> m_dir;
  QString m_path;
  std::vector<std::unique_ptr<QProcess>> m_children;
  std::unique_ptr<CRecord> m_record;
  std::unique_ptr<CRecordWnd> m_records;
  std::unique_ptr<CBatchWnd> m_batch;
};

int main(int argc, char** argv) {
  if (argc > 1 && QByteArray(argv[1]).startsWith("--child-")) {
    QCoreApplication app(argc, argv);
    return Child(app.arguments());
  }
  QApplication app(argc, argv);
  TestRecord test;
  return QTest::qExec(&test, argc, argv);
}

#include "record_test.moc"
