// The comparison window: opened from the form's menu and by F2, it follows the form, highlights a
// phase that differs, copies its table; the form, the window and kelm-calc --compare agree on every
// value; the form's state tooltip and the self-check entry.
#include <QtTest>
#include <QtWidgets>

#include <memory>
#include <sstream>

#include "cli/calccli.h"
#include "shell/calcwnd.h"
#include "shell/comparewnd.h"
#include "shell/toolwindows.h"
#include "shell/unitsettings.h"

class TestCompareWnd : public QObject {
  Q_OBJECT

 private slots:
  // The settings of a test run live apart from the user's.
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void init() {
    CUnitSettings::Instance().SetUnits({});  // whatever an earlier run left
    m_form = std::make_unique<CCalcWnd>();
    InstallToolWindows(*m_form);
    m_form->show();
    QApplication::setActiveWindow(m_form.get());
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
  }
  void cleanup() { m_form.reset(); }

  void opensFromTheMenuAndByF2AndFollowsTheForm() {
    auto* entry = m_form->findChild<QAction*>("IDM_COMPARE");
    QVERIFY(entry && m_form->actions().contains(entry));
    QCOMPARE(entry->text(), QStringLiteral("IFC-67 与 IF97 对比"));
    QCOMPARE(m_form->contextMenuPolicy(), Qt::ActionsContextMenu);
    QTest::keyClick(m_form.get(), Qt::Key_F2);
    CCompareWnd* window = Window();
    QVERIFY(window && window->isVisible() && window->parent() == m_form.get());
    QCOMPARE(Table()->model()->rowCount(), 0);  // nothing calculated yet
    Calculate(2, 0, {"1", "300"});
    QCOMPARE(Request(), QStringLiteral("任意状态水或水蒸汽，压力和温度：计算点压力 1 MPa，计算点温度 300 ℃"));
    QCOMPARE(Cell(1, 1), QStringLiteral("1.000000"));
    // Opened again from the menu: the same window, still following.
    entry->trigger();
    QCOMPARE(m_form->findChildren<CCompareWnd*>().size(), 1);
    Calculate(0, 1, {"100"});
    QCOMPARE(Cell(2, 0) + Cell(2, 1), QStringLiteral("温度 ℃100.000000"));
  }

  // Every value of the window's table is the form's own (IFC-67) and kelm-calc --compare's.
  void formWindowAndCommandLineAgreeOnEveryValue() {
    QTest::keyClick(m_form.get(), Qt::Key_F2);
    for (const QStringList& inputs : {QStringList{"2", "4", "100", "420"},
                                      QStringList{"3", "0", "10", "500", "0.01"},
                                      QStringList{"1", "0", "23"}}) {
      Calculate(inputs[0].toInt(), inputs[1].toInt(), inputs.mid(2));
      // The form's five values in the IFC-67 column of solution 1.
      const QString form = m_form->findChild<QLineEdit*>("IDC_PRESSURE")->text() +
                           m_form->findChild<QLineEdit*>("IDC_TEMPERATURE")->text();
      if (Table()->model()->rowCount() > 0 && !Cell(1, 1).isEmpty()) {
        QCOMPARE(Cell(1, 1) + " MPa" + Cell(2, 1) + " ℃", form);
      }
      std::vector<std::string> args = {"--compare"};
      for (const QString& in : inputs) args.push_back(in.toStdString());
      std::istringstream none;
      std::ostringstream out, err;
      kelmcli::RunCommandLine(args, none, out, err);
      const QString cli = QString::fromStdString(out.str());
      for (int row = 0; row < Table()->model()->rowCount(); ++row) {
        for (int column = 0; column < 5; ++column) {
          QVERIFY2(cli.contains(Cell(row, column)), qPrintable(Cell(row, column)));
        }
      }
      QCOMPARE(QApplication::clipboard()->text(), QString());  // nothing copied unasked
    }
  }

  // 99.62 ℃ at 0.1 MPa lies between the two saturation temperatures: water in IFC-67, steam in IF97.
  void highlightsAPhaseThatDiffersAndCopiesTheTable() {
    QTest::keyClick(m_form.get(), Qt::Key_F2);
    Calculate(2, 0, {"0.1", "99.62"});
    const int stateRow = Table()->model()->rowCount() - 1;
    QVERIFY(Table()->model()->index(stateRow, 2).data(Qt::BackgroundRole).isValid());
    QVERIFY(!Table()->model()->index(5, 2).data(Qt::BackgroundRole).isValid());
    QVERIFY(Notes().contains(QStringLiteral("IFC-67 为不饱和水，IF97 为过热蒸汽")));
    Calculate(2, 0, {"1", "300"});
    QVERIFY(!Table()->model()->index(stateRow, 2).data(Qt::BackgroundRole).isValid());
    QApplication::clipboard()->clear();
    QApplication::setActiveWindow(Window());
    QVERIFY(QTest::qWaitForWindowActive(Window()));
    Table()->setFocus();
    QTest::keySequence(Table(), QKeySequence::Copy);
    const QString copied = QApplication::clipboard()->text();
    QVERIFY(copied.startsWith(QStringLiteral("量\tIFC-67\tIF97\tΔ = IF97 − IFC-67\tΔ %\n解 1")));
    QVERIFY(copied.contains(QStringLiteral("\n压力 MPa\t1.000000\t1.000000\t0.000000\t0.0000\n")));
    QCOMPARE(copied, Window()->CopyText());
  }

  void failureShowsItsReasonInTheColumnAndTheStateTooltip() {
    QTest::keyClick(m_form.get(), Qt::Key_F2);
    Calculate(2, 0, {"1", "900"});  // beyond IFC-67's 800 ℃, inside IF97's range
    QCOMPARE(Cell(1, 1), QString());
    QVERIFY(!Cell(1, 2).isEmpty());
    QVERIFY(Notes().contains(QStringLiteral("IFC-67 计算失败：计算点温度 900 ℃ 高于适用上限 800 ℃")));
    auto* state = m_form->findChild<QLineEdit*>("IDC_STATE");
    QCOMPARE(state->text(), QStringLiteral("计算或参数有误"));  // the field keeps the form's text
    QCOMPARE(state->toolTip(), QStringLiteral("计算或参数有误\n计算点温度 900 ℃ 高于适用上限 800 ℃"
                                              "（适用范围 0.01–800 ℃）"));
    Calculate(2, 4, {"100", "420"});
    QVERIFY(state->toolTip().startsWith(state->text() + "\n该温度和焓对应两个状态"));
  }

  void followsTheUnitsWhenTheyChange() {
    QTest::keyClick(m_form.get(), Qt::Key_F2);
    Calculate(2, 0, {"1", "300"});
    std::string error;
    CUnitSettings::Instance().SetUnits(*calc::ParseUnits("p=barg,atm=0.1,t=K", error));
    QCOMPARE(Cell(1, 0) + " " + Cell(1, 1), QStringLiteral("压力 bar(表压) 9.000000"));
    QCOMPARE(Cell(2, 0) + " " + Cell(2, 2), QStringLiteral("温度 K 573.150000"));
    QVERIFY(Window()->CopyText().contains(QStringLiteral("\n压力 bar(表压)\t9.000000\t9.000000\t")));
    CUnitSettings::Instance().SetUnits({});
    QCOMPARE(Cell(1, 0) + " " + Cell(1, 1), QStringLiteral("压力 MPa 1.000000"));
  }

  void selfCheckEntryReportsEveryValuePassed() {
    m_form->findChild<QAction*>("IDM_SELFCHECK")->trigger();
    auto* box = m_form->findChild<QMessageBox*>("IDD_SELFCHECK");
    QVERIFY(box && box->isVisible());
    QVERIFY(box->text().contains(QStringLiteral("IF97：150/150 通过")));
  }

 private:
  CCompareWnd* Window() const { return m_form->findChild<CCompareWnd*>(); }
  QTableView* Table() const { return Window()->findChild<QTableView*>("IDC_COMPARE_TABLE"); }
  QString Cell(int row, int column) const {
    return Table()->model()->index(row, column).data().toString();
  }
  QString Request() const { return Window()->findChild<QLabel*>("IDC_COMPARE_REQUEST")->text(); }
  QString Notes() const { return Window()->findChild<QLabel*>("IDC_COMPARE_NOTES")->text(); }

  // Picks the item and mode, types the inputs and clicks Calculate, as a user does.
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

  std::unique_ptr<CCalcWnd> m_form;
};

QTEST_MAIN(TestCompareWnd)
#include "comparewnd_test.moc"
