// The batch window: lines read with the bad ones listed by number and the others calculated on
// the worker, the results in the record and the table, inputs in the chosen units, cancel, files
// in UTF-8 and GB18030, copying the results.
#include <QtTest>
#include <QtWidgets>

#include <memory>

#include "shell/ask.h"
#include "shell/batchwnd.h"
#include "shell/record.h"
#include "shell/unitsettings.h"

class TestBatchWnd : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    CAsk::Script({});
  }
  void init() {
    CUnitSettings::Instance().SetUnits({});
    m_dir = std::make_unique<QTemporaryDir>();
    m_record = std::make_unique<CRecord>(m_dir->filePath(QStringLiteral("record.sqlite")));
    m_wnd = std::make_unique<CBatchWnd>(nullptr, *m_record);
    m_wnd->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_wnd.get()));
    CAsk::TakeMessages();
  }
  void cleanup() {
    m_wnd.reset();
    m_record.reset();
  }

  void calculatesEveryReadableLineAndListsTheOthersByNumber() {
    Input()->setPlainText(QStringLiteral("# 验收试验\n任意状态水或水蒸汽\t压力和温度\t13.5\t535\n"
                                         "2\t0\t1,5\t300\n0,0,0.1\n9\t0\t1\n2\t4\t100\t420\n"));
    QSignalSpy finished(m_wnd.get(), &CBatchWnd::Finished);
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
    const std::vector<calc::RecordRow> kept = m_record->Rows({1, 2, 3});
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
    QSignalSpy finished(m_wnd.get(), &CBatchWnd::Finished);
    m_wnd->Run();
    QVERIFY(finished.wait(10000));
    const calc::RecordRow row = m_wnd->Results().Rows().at(0);
    QVERIFY(row.request.formulation == calc::Formulation::IF97 && row.request.in[0] == 1.0);
    QVERIFY(qAbs(row.request.in[1] - 300) < 1e-12);
    QCOMPARE(Find<QTableView>("IDC_BATCH_RESULTS")->model()->index(0, 6).data().toString(), QStringLiteral("9.000000"));
  }

  void cancelStopsTheRunAndKeepsWhatWasCalculated() {
    QString lines;
    for (int i = 0; i < 40000; ++i) lines += QStringLiteral("2\t4\t%1\t2000\n").arg(100 + i % 200);
    Input()->setPlainText(lines);
    QSignalSpy finished(m_wnd.get(), &CBatchWnd::Finished);
    m_wnd->Run();
    QVERIFY(m_wnd->Running());
    QVERIFY(!Find<QPushButton>("IDC_BATCH_RUN")->isEnabled());
    QVERIFY(Find<QPushButton>("IDC_BATCH_CANCEL")->isEnabled());
    // The window answers while the worker runs: the first chunk arrives and shows, and the
    // cancel given then stops the worker within the few chunks it may run ahead.
    QProgressBar* progress = Find<QProgressBar>("IDC_BATCH_PROGRESS");
    connect(progress, &QProgressBar::valueChanged, this, [this] {
      if (m_wnd->Running()) QTest::mouseClick(Find<QPushButton>("IDC_BATCH_CANCEL"), Qt::LeftButton);
    });
    QVERIFY(finished.wait(10000));
    const int done = m_wnd->Results().rowCount();
    QVERIFY2(done > 0 && done <= 1000, qPrintable(QString::number(done)));
    QCOMPARE(Find<QLabel>("IDC_BATCH_STATUS")->text(), QStringLiteral("已取消：计算了 %1 行。").arg(done));
    QCOMPARE(m_record->Count(), std::int64_t(done));
    QVERIFY(Find<QPushButton>("IDC_BATCH_RUN")->isEnabled());
    QVERIFY(!m_wnd->Running());
  }

  void closingDuringARunStopsTheWorker() {
    QString lines;
    for (int i = 0; i < 40000; ++i) lines += QStringLiteral("2\t0\t1\t300\n");
    Input()->setPlainText(lines);
    m_wnd->Run();
    // Closed once the first chunk shows (after the events already queued, not from the
    // progress bar's own signal): joins the worker, and its late chunks are dropped.
    connect(Find<QProgressBar>("IDC_BATCH_PROGRESS"), &QProgressBar::valueChanged, this, [this] {
      QMetaObject::invokeMethod(this, [this] { m_wnd.reset(); }, Qt::QueuedConnection);
    }, Qt::SingleShotConnection);
    QTRY_VERIFY(!m_wnd);
    QVERIFY(m_record->Count() <= 1000);
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
    QVERIFY(!m_wnd->OpenFile(m_dir->filePath(QStringLiteral("none.csv"))));
    const QStringList told = CAsk::TakeMessages();
    QVERIFY(told.size() == 1 &&
            told[0].startsWith(QStringLiteral("无法读取文件 %1：").arg(m_dir->filePath("none.csv"))));
  }

 private:
  template <class T>
  T* Find(const char* id) const {
    return m_wnd->findChild<T*>(QString::fromLatin1(id));
  }
  QPlainTextEdit* Input() const { return Find<QPlainTextEdit>("IDC_BATCH_INPUT"); }
  QStringList Errors() const {
    QStringList texts;
    auto* list = Find<QListWidget>("IDC_BATCH_ERRORS");
    for (int i = 0; i < list->count(); ++i) texts += list->item(i)->text();
    return texts;
  }

  std::unique_ptr<QTemporaryDir> m_dir;
  std::unique_ptr<CRecord> m_record;
  std::unique_ptr<CBatchWnd> m_wnd;
};

QTEST_MAIN(TestBatchWnd)
#include "batchwnd_test.moc"
