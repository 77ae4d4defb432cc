// The form on screen: controls bound by id, keys, closing, the about box; a Calculate through the
// widgets shows what the form shows on a window without a screen (the form tests check that).
#include <QtTest>
#include <QtWidgets>

#include <functional>
#include <memory>

#include "form/formsession.h"
#include "form/resource.h"
#include "shell/aboutdlg.h"
#include "shell/calcwnd.h"

#define ID(name) std::pair<int, const char*>(name, #name)

class TestCalcWnd : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    m_wnd = std::make_unique<CCalcWnd>();
    m_wnd->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_wnd.get()));
  }
  void cleanup() { m_wnd.reset(); }

  void opensWithEveryControlBoundByItsIdName() {
    QString enabled, order;  // order: the control after each in tab order
    for (const auto& [id, name] :
         {ID(IDC_ITEM), ID(IDC_MODE), ID(IDC_INPUT1), ID(IDC_INPUT2), ID(IDC_INPUT3), ID(IDC_CALC),
          ID(IDC_EXIT), ID(IDC_PRESSURE), ID(IDC_TEMPERATURE), ID(IDC_ENTHALPY), ID(IDC_ENTROPY),
          ID(IDC_VOLUME), ID(IDC_STATE), ID(IDC_SOLUTION1), ID(IDC_SOLUTION2), ID(IDC_LABEL1),
          ID(IDC_LABEL2), ID(IDC_LABEL3), ID(IDC_UNIT1), ID(IDC_UNIT2), ID(IDC_UNIT3)}) {
      QWidget* control = Find<QWidget>(name);
      QVERIFY2(control != nullptr && m_wnd->Control(id) == control, name);
      enabled += control->isEnabled() ? '1' : '0';
      if (control->focusPolicy() == Qt::NoFocus) continue;  // the labels, last
      QWidget* next = control->nextInFocusChain();
      while (next->focusPolicy() == Qt::NoFocus) next = next->nextInFocusChain();
      order += next->objectName().mid(4) + ' ';
    }
    QCOMPARE(order, QStringLiteral("MODE INPUT1 INPUT2 INPUT3 CALC EXIT PRESSURE TEMPERATURE "
                                   "ENTHALPY ENTROPY VOLUME STATE SOLUTION1 SOLUTION2 ITEM "));
    QCOMPARE(enabled, QStringLiteral("111000111111110111111"));
    auto* item = Find<QComboBox>("IDC_ITEM");
    auto* mode = Find<QComboBox>("IDC_MODE");
    QCOMPARE(QString("%1 %2 %3 %4 %5").arg(m_wnd->windowTitle()).arg(item->count())
                 .arg(item->currentText(), mode->currentText()).arg(mode->count()),
             QStringLiteral("水和水蒸汽热力性质计算 4 饱和水 压力 2"));
    // The template's placeholders ("输入参数2", "U2", …) replaced.
    QCOMPARE(Texts({"IDC_LABEL1", "IDC_UNIT1", "IDC_LABEL2", "IDC_UNIT2", "IDC_LABEL3",
                    "IDC_UNIT3"}) + Results(),
             QStringLiteral("计算点压力|MPa|||||" "|||||未知|"));
    QVERIFY(Find("IDC_STATE")->isReadOnly() && Find<QPushButton>("IDC_CALC")->isDefault());
    QVERIFY(Find<QPushButton>("IDC_SOLUTION1")->isChecked());
    QCOMPARE(m_wnd->focusWidget(), item);
  }

  void calculateThroughTheWidgetsShowsWhatTheFormShows() {
    FormOutcome form;
    QCOMPARE(CalculateOnForm({"2", "4", {"100", "425"}}, InputMatch::Exact, form), std::string());
    auto texts = [](const ResultTexts& t) { return QString::fromStdString(Joined(t, '|') + '|'); };
    // Arrow keys through both lists, each step a user's selection; keystrokes into the inputs.
    for (int i = 0; i < 2; ++i) QTest::keyClick(Find<QComboBox>("IDC_ITEM"), Qt::Key_Down);
    for (int i = 0; i < 4; ++i) QTest::keyClick(Find<QComboBox>("IDC_MODE"), Qt::Key_Down);
    QTest::keyClicks(Find("IDC_INPUT1"), "100");
    QTest::keyClicks(Find("IDC_INPUT2"), "4255");
    QTest::keyClick(Find("IDC_INPUT2"), Qt::Key_Backspace);
    QTest::mouseClick(Find<QPushButton>("IDC_CALC"), Qt::LeftButton);
    QCOMPARE(Results(), texts(form.shown));
    QCOMPARE(Find("IDC_STATE")->cursorPosition(), 0);  // a long text shown from its start
    QTest::mouseClick(Find<QPushButton>("IDC_SOLUTION2"), Qt::LeftButton);
    QCOMPARE(Results(), texts(form.second));
    QTest::mouseClick(Find<QPushButton>("IDC_SOLUTION1"), Qt::LeftButton);
    QCOMPARE(Results(), texts(form.shown));
    Find("IDC_INPUT1")->clear();
    QVERIFY(!Find<QPushButton>("IDC_CALC")->isEnabled());
  }

  void escapeAndEnterNeverCloseAndEnterClicksOnlyAnEnabledCalculate() {
    Activate();
    QSignalSpy finished(m_wnd.get(), &QDialog::finished);
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
      QTest::keyClick(Find("IDC_INPUT1"), key);
      QTest::keyClick(Find<QComboBox>("IDC_ITEM"), key);
    }
    m_wnd->accept();
    m_wnd->reject();
    QCOMPARE(Results(), QStringLiteral("|||||未知|"));
    QTest::keyClicks(Find("IDC_INPUT1"), "1");
    QTest::keyClick(Find("IDC_INPUT1"), Qt::Key_Return);
    QCOMPARE(Find("IDC_PRESSURE")->text(), QStringLiteral("1.000000 MPa"));
    QTest::keyClicks(Find("IDC_INPUT1"), "0");
    QTest::keyClick(m_wnd.get(), Qt::Key_C, Qt::AltModifier);
    QTRY_COMPARE(Find("IDC_PRESSURE")->text(), QStringLiteral("10.000000 MPa"));
    QVERIFY(m_wnd->isVisible() && finished.count() == 0);
  }

  void closeBoxAndExitEndTheFormThroughTheExitHandler() {
    const std::function<void()> ways[] = {
        [this] { m_wnd->close(); },  // the close box
        [this] {  // the mnemonic clicks 退出(&X)
          Activate();
          QTest::keyClick(m_wnd.get(), Qt::Key_X, Qt::AltModifier);
        }};
    for (const std::function<void()>& way : ways) {
      m_wnd->hide();
      // A change no handler saw: only the exit handler's read-back brings it into the members.
      Find<QComboBox>("IDC_MODE")->setCurrentIndex(1 - m_wnd->Form().m_nMode);
      QTimer::singleShot(0, m_wnd.get(), way);
      QTimer::singleShot(3000, m_wnd.get(), [this] { m_wnd->done(-1); });
      QCOMPARE(m_wnd->exec(), int(QDialog::Accepted));
      QCOMPARE(m_wnd->Form().m_nMode, Find<QComboBox>("IDC_MODE")->currentIndex());
    }
  }

  void aboutBoxOpensModallyFromF1AndTheRightClickMenu() {
    Activate();
    QStringList closed;
    // Closes the modal box with a key once the nested loop runs; a watchdog against a hang.
    auto closeWith = [&closed, this](Qt::Key key) {
      QTimer::singleShot(0, m_wnd.get(), [&closed, key] {
        QWidget* box = QApplication::activeModalWidget();
        if (box != nullptr) QTest::keyClick(box, key);
        closed << (box == nullptr ? "none" : box->isVisible() ? "still open" : box->objectName());
      });
      QTimer::singleShot(2000, [] {
        if (auto* box = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget())) box->reject();
      });
    };
    closeWith(Qt::Key_Escape);
    QTest::keyClick(m_wnd.get(), Qt::Key_F1);
    // A right click on the form's face: its one entry opens a new box, which Enter closes.
    QString entries;
    QTimer::singleShot(0, m_wnd.get(), [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (menu == nullptr) return;
      for (const QAction* action : menu->actions()) entries += action->text();
      closeWith(Qt::Key_Return);
      QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions()[0]).center());
    });
    QWidget* face = Find<QLabel>("IDC_LABEL1");
    QContextMenuEvent click(QContextMenuEvent::Mouse, {2, 2}, face->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(face, &click);
    QTRY_COMPARE(closed, QStringList({"IDD_ABOUT", "IDD_ABOUT"}));
    QCOMPARE(entries, QStringLiteral("关于 kelm(&A)..."));
    QTRY_VERIFY(m_wnd->findChildren<CAboutDlg*>().isEmpty());
    QCOMPARE(Find("IDC_INPUT1")->contextMenuPolicy(), Qt::DefaultContextMenu);

    CAboutDlg about;
    QString texts = about.windowTitle();
    for (const QLabel* label : about.findChildren<QLabel*>()) texts += '|' + label->text();
    QCOMPARE(texts, QStringLiteral("关于 KELM||水和水蒸汽热力性质计算程序|KELM  0.85 版|"
                                   "本程序根据IFC公式设计，计算精度满足IFC标准的要求。\n\n"
                                   "Konown Bugs：温度过小时，不能正确计算。\n"
                                   "             压力必须大于700Pa。|版本 0.8.0.1"));
    QCOMPARE(about.findChild<QLabel*>("IDI_APP")->pixmap().size(), QSize(32, 32));
    QVERIFY(about.findChildren<QPushButton*>().isEmpty());
  }

 private:
  template <typename T = QLineEdit>
  T* Find(const char* name) const {
    return m_wnd->findChild<T*>(QString::fromLatin1(name));
  }
  QString Texts(std::initializer_list<const char*> names) const {
    QString texts;
    for (const char* name : names) {
      auto* edit = Find(name);
      texts += (edit != nullptr ? edit->text() : Find<QLabel>(name)->text()) + '|';
    }
    return texts;
  }
  QString Results() const {
    return Texts({"IDC_PRESSURE", "IDC_TEMPERATURE", "IDC_ENTHALPY", "IDC_ENTROPY", "IDC_VOLUME",
                  "IDC_STATE"});
  }
  void Activate() {
    QApplication::setActiveWindow(m_wnd.get());
    QVERIFY(QTest::qWaitForWindowActive(m_wnd.get()));
  }

  std::unique_ptr<CCalcWnd> m_wnd;
};

QTEST_MAIN(TestCalcWnd)
#include "calcwnd_test.moc"
