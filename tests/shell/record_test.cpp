// The record on disk: a restart, two copies at once and one killed, a corrupt, locked,
// unopenable, full or newer file; the rows read back, filtered and removed. Child processes are
// this executable started again with --child-… arguments.
#include <QtSql>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <thread>

#include "shell/record.h"

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
  void init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_path = m_dir->filePath(QStringLiteral("record.sqlite"));
  }
  void cleanup() { m_children.clear(); }  // a QProcess kills its child as it goes

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
    QVERIFY(again.OnDisk());
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
    QVERIFY(kept.size() >= std::size_t(ids.size()));
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
    QVERIFY(record.Append(Steam(), QStringLiteral("计算窗口")) > 0);
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

  std::unique_ptr<QTemporaryDir> m_dir;
  QString m_path;
  std::vector<std::unique_ptr<QProcess>> m_children;
};

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc > 1 && QByteArray(argv[1]).startsWith("--child-")) return Child(app.arguments());
  TestRecord test;
  return QTest::qExec(&test, argc, argv);
}

#include "record_test.moc"
