// The calculation form on screen, driven as a user drives it: keys, clicks, menus. Every state is
// compared with the same form model on a window without a screen fed the same actions, so the
// expected texts come from the model's own code path; a few simple results are checked literally.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <cstdio>
#include <functional>
#include <memory>

#include "engine/constants.h"
#include "engine/satprops.h"
#include "engine/statepoint.h"
#include "form/recordwindow.h"
#include "form/resource.h"
#include "shell/aboutdlg.h"
#include "shell/calcwnd.h"

namespace {

struct ControlName {
  int id;
  const char* name;
};

constexpr ControlName kControls[] = {
    {IDC_ITEM, "IDC_ITEM"},           {IDC_MODE, "IDC_MODE"},
    {IDC_LABEL1, "IDC_LABEL1"},       {IDC_INPUT1, "IDC_INPUT1"},
    {IDC_UNIT1, "IDC_UNIT1"},         {IDC_LABEL2, "IDC_LABEL2"},
    {IDC_INPUT2, "IDC_INPUT2"},       {IDC_UNIT2, "IDC_UNIT2"},
    {IDC_LABEL3, "IDC_LABEL3"},       {IDC_INPUT3, "IDC_INPUT3"},
    {IDC_UNIT3, "IDC_UNIT3"},         {IDC_CALC, "IDC_CALC"},
    {IDC_EXIT, "IDC_EXIT"},           {IDC_PRESSURE, "IDC_PRESSURE"},
    {IDC_TEMPERATURE, "IDC_TEMPERATURE"}, {IDC_ENTHALPY, "IDC_ENTHALPY"},
    {IDC_ENTROPY, "IDC_ENTROPY"},     {IDC_VOLUME, "IDC_VOLUME"},
    {IDC_STATE, "IDC_STATE"},         {IDC_SOLUTION1, "IDC_SOLUTION1"},
    {IDC_SOLUTION2, "IDC_SOLUTION2"},
};

QString Q(const std::string& text) { return QString::fromStdString(text); }

QStringList Q(const std::vector<std::string>& texts) {
  QStringList list;
  for (const std::string& text : texts) list << Q(text);
  return list;
}

// Everything the user can see of the form, one line per fact, so that a mismatch names itself.
QStringList Describe(const CalcFormData& d, const QStringList& items, const QStringList& modes,
                     const std::function<bool(int)>& enabled) {
  QStringList lines;
  lines << QStringLiteral("items %1 / %2").arg(items.join('|')).arg(d.m_nItem)
        << QStringLiteral("modes %1 / %2").arg(modes.join('|')).arg(d.m_nMode)
        << "label1 " + Q(d.m_strLabel1) << "label2 " + Q(d.m_strLabel2)
        << "label3 " + Q(d.m_strLabel3) << "unit1 " + Q(d.m_strUnit1)
        << "unit2 " + Q(d.m_strUnit2) << "unit3 " + Q(d.m_strUnit3)
        << "input1 " + Q(d.m_strInput1) << "input2 " + Q(d.m_strInput2)
        << "input3 " + Q(d.m_strInput3) << "pressure " + Q(d.m_strPressure)
        << "temperature " + Q(d.m_strTemperature) << "enthalpy " + Q(d.m_strEnthalpy)
        << "entropy " + Q(d.m_strEntropy) << "volume " + Q(d.m_strVolume)
        << "state " + Q(d.m_strState) << QStringLiteral("solution %1").arg(d.m_nSolution);
  for (const ControlName& control : kControls) {
    lines << QStringLiteral("%1 %2").arg(control.name, enabled(control.id) ? "on" : "off");
  }
  return lines;
}

QStringList ComboTexts(const QComboBox* combo) {
  QStringList texts;
  for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
  return texts;
}

// What the screen shows, read straight from the widgets (not through the window's exchange).
QStringList Shown(CCalcWnd& wnd) {
  auto text = [&](const char* name) -> std::string {
    if (auto* edit = wnd.findChild<QLineEdit*>(name)) return edit->text().toStdString();
    if (auto* label = wnd.findChild<QLabel*>(name)) return label->text().toStdString();
    return "<missing " + std::string(name) + ">";
  };
  auto* item = wnd.findChild<QComboBox*>("IDC_ITEM");
  auto* mode = wnd.findChild<QComboBox*>("IDC_MODE");
  auto* solution1 = wnd.findChild<QPushButton*>("IDC_SOLUTION1");
  auto* solution2 = wnd.findChild<QPushButton*>("IDC_SOLUTION2");
  CalcFormData d;
  d.m_nItem = item->currentIndex();
  d.m_strLabel1 = text("IDC_LABEL1");
  d.m_strLabel2 = text("IDC_LABEL2");
  d.m_strLabel3 = text("IDC_LABEL3");
  d.m_strUnit1 = text("IDC_UNIT1");
  d.m_strUnit2 = text("IDC_UNIT2");
  d.m_strUnit3 = text("IDC_UNIT3");
  d.m_strEnthalpy = text("IDC_ENTHALPY");
  d.m_strEntropy = text("IDC_ENTROPY");
  d.m_strInput1 = text("IDC_INPUT1");
  d.m_strInput2 = text("IDC_INPUT2");
  d.m_strInput3 = text("IDC_INPUT3");
  d.m_strPressure = text("IDC_PRESSURE");
  d.m_strTemperature = text("IDC_TEMPERATURE");
  d.m_strVolume = text("IDC_VOLUME");
  d.m_strState = text("IDC_STATE");
  d.m_nMode = mode->currentIndex();
  d.m_nSolution = solution1->isChecked() ? 0 : (solution2->isChecked() ? 1 : -1);
  return Describe(d, ComboTexts(item), ComboTexts(mode), [&](int id) {
    for (const ControlName& control : kControls) {
      if (control.id == id) return wnd.findChild<QWidget*>(control.name)->isEnabled();
    }
    return false;
  });
}

// The user's actions, done on the screen and, in the same steps, on the form model over a
// window without a screen: the model's record is then what the screen must show.
class CSession {
 public:
  explicit CSession(CCalcWnd& wnd) : m_wnd(wnd), m_form(m_window) { m_form.OnInitDialog(); }

  CCalcDlg& Model() { return m_form; }
  QStringList Expected() const {
    return Describe(m_window.controls, Q(m_window.items), Q(m_window.modes),
                    [this](int id) { return m_window.IsControlEnabled(id); });
  }

  // Moves through the list with the arrow keys: each step is a user selection change.
  void PickItem(int index) { Pick("IDC_ITEM", index, m_window.controls.m_nItem, &CCalcDlg::OnSelChangeItem); }
  void PickMode(int index) { Pick("IDC_MODE", index, m_window.controls.m_nMode, &CCalcDlg::OnSelChangeMode); }

  // Types text at the end of an input field, one keystroke at a time.
  void Type(int field, const QString& text) {
    auto* edit = m_wnd.findChild<QLineEdit*>(QStringLiteral("IDC_INPUT%1").arg(field + 1));
    QVERIFY(edit);
    edit->setFocus();
    edit->end(false);
    std::string& member = Input(field);
    for (const QChar ch : text) {
      QTest::keyClicks(edit, QString(ch));
      member = edit->text().toStdString();
      m_form.OnChangeInput();
    }
  }

  void Backspace(int field) {
    auto* edit = m_wnd.findChild<QLineEdit*>(QStringLiteral("IDC_INPUT%1").arg(field + 1));
    edit->setFocus();
    edit->end(false);
    QTest::keyClick(edit, Qt::Key_Backspace);
    std::string& member = Input(field);
    if (!member.empty()) {
      // Remove the last character (all typed texts here are ASCII).
      member.pop_back();
      m_form.OnChangeInput();
    }
  }

  void ClickCalculate() {
    QTest::mouseClick(m_wnd.findChild<QPushButton*>("IDC_CALC"), Qt::LeftButton);
    m_form.OnCalc();
  }

  void ClickSolution(int button) {
    auto* push = m_wnd.findChild<QPushButton*>(QStringLiteral("IDC_SOLUTION%1").arg(button));
    QTest::mouseClick(push, Qt::LeftButton);
    if (!m_window.IsControlEnabled(button == 1 ? IDC_SOLUTION1 : IDC_SOLUTION2)) return;
    // A click on an auto-exclusive button checks it before the handler runs.
    m_window.controls.m_nSolution = button - 1;
    if (button == 1) {
      m_form.OnSolution1();
    } else {
      m_form.OnSolution2();
    }
  }

 private:
  std::string& Input(int field) {
    return field == 0 ? m_window.controls.m_strInput1
                      : (field == 1 ? m_window.controls.m_strInput2 : m_window.controls.m_strInput3);
  }

  void Pick(const char* name, int index, int& member, void (CCalcDlg::*handler)()) {
    auto* combo = m_wnd.findChild<QComboBox*>(name);
    QVERIFY(combo);
    QVERIFY(index >= 0 && index < combo->count());
    combo->setFocus();
    while (combo->currentIndex() != index) {
      const bool down = combo->currentIndex() < index;
      QTest::keyClick(combo, down ? Qt::Key_Down : Qt::Key_Up);
      member += down ? 1 : -1;
      (m_form.*handler)();
    }
  }

  CCalcWnd& m_wnd;
  CRecordWindow m_window;
  CCalcDlg m_form;
};

template <typename T>
T* Find(QWidget* parent, const char* name) {
  T* widget = parent->findChild<T*>(QString::fromLatin1(name));
  if (!widget) qWarning("no widget %s", name);
  return widget;
}

// Waits in the running (nested) event loop until `ready` yields a widget, then acts on it.
// A watchdog closes every modal box and popup after a few seconds so that a failing test
// cannot hang the run; it records that it had to.
class CWhenShown : public QObject {
 public:
  CWhenShown(std::function<QWidget*()> ready, std::function<void(QWidget*)> act)
      : m_ready(std::move(ready)), m_act(std::move(act)) {
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, [this] {
      if (QWidget* widget = m_ready(); widget && widget->isVisible()) {
        m_timer.stop();
        done = true;
        m_act(widget);
      } else if (++m_ticks > 600) {
        m_timer.stop();
        timedOut = true;
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        while (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
          if (qobject_cast<CCalcWnd*>(modal)) break;
          modal->done(QDialog::Rejected);
          QCoreApplication::processEvents();
        }
      }
    });
    m_timer.start();
  }
  bool done = false;
  bool timedOut = false;

 private:
  std::function<QWidget*()> m_ready;
  std::function<void(QWidget*)> m_act;
  QTimer m_timer;
  int m_ticks = 0;
};

QWidget* OpenAbout() { return qobject_cast<CAboutDlg*>(QApplication::activeModalWidget()); }

QWidget* OpenMenu() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }

QStringList LabelTexts(QWidget* box) {
  QStringList texts;
  for (const QLabel* label : box->findChildren<QLabel*>()) {
    if (!label->text().isEmpty()) texts << label->text();
  }
  return texts;
}

}  // namespace

class TestCalcWnd : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void openingStateAsTheUserSeesIt();
  void everyControlCarriesItsIdNameInTabOrder();
  void typingEnablesCalculateAndDeletingDisablesIt();
  void calculateStaysDisabledUntilEveryEnabledInputHasText();
  void clickingCalculateShowsSaturatedWater();
  void failedCalculationShowsTheErrorState();
  void enterCalculatesThroughTheDefaultButton();
  void enterDoesNothingWhileCalculateIsDisabled();
  void altCCalculates();
  void itemsAndModesRelabelLikeTheFormModel_data();
  void itemsAndModesRelabelLikeTheFormModel();
  void everyItemAndModeCalculatesLikeTheFormModel_data();
  void everyItemAndModeCalculatesLikeTheFormModel();
  void switchingItemKeepsInputsAndResults();
  void solutionButtonsSwitchBetweenTwoSolutions();
  void escapeLeavesTheFormOpenAndUnchanged();
  void closeBoxEndsTheModalLoopThroughTheExitHandler();
  void exitButtonAndAltXEndTheModalLoop();
  void aboutBoxFromTheRightClickMenuClosesOnEnter();
  void aboutBoxFromF1ClosesOnEscape();
  void aboutBoxClosesOnItsCloseBox();
  void aboutBoxShowsItsTexts();

 private:
  void Activate();

  std::unique_ptr<CCalcWnd> m_wnd;
  std::unique_ptr<CSession> m_session;
};

void TestCalcWnd::init() {
  m_wnd = std::make_unique<CCalcWnd>();
  m_wnd->show();
  QVERIFY(QTest::qWaitForWindowExposed(m_wnd.get()));
  m_session = std::make_unique<CSession>(*m_wnd);
}

void TestCalcWnd::cleanup() {
  m_session.reset();
  m_wnd.reset();
}

void TestCalcWnd::Activate() {
  QApplication::setActiveWindow(m_wnd.get());
  QVERIFY(QTest::qWaitForWindowActive(m_wnd.get()));
}

void TestCalcWnd::openingStateAsTheUserSeesIt() {
  CCalcWnd& w = *m_wnd;
  QCOMPARE(w.windowTitle(), QStringLiteral("水和水蒸汽热力性质计算"));
  QVERIFY(!w.windowIcon().isNull());
  QCOMPARE(ComboTexts(Find<QComboBox>(&w, "IDC_ITEM")),
           QStringList({"饱和水", "饱和蒸汽", "任意状态水或水蒸汽", "等熵焓降末点"}));
  QCOMPARE(Find<QComboBox>(&w, "IDC_ITEM")->currentText(), QStringLiteral("饱和水"));
  QCOMPARE(ComboTexts(Find<QComboBox>(&w, "IDC_MODE")), QStringList({"压力", "温度"}));
  QCOMPARE(Find<QComboBox>(&w, "IDC_MODE")->currentText(), QStringLiteral("压力"));
  QCOMPARE(Find<QLabel>(&w, "IDC_LABEL1")->text(), QStringLiteral("计算点压力"));
  QCOMPARE(Find<QLabel>(&w, "IDC_UNIT1")->text(), QStringLiteral("MPa"));
  for (const char* name : {"IDC_LABEL2", "IDC_LABEL3", "IDC_UNIT2", "IDC_UNIT3"}) {
    QVERIFY2(Find<QLabel>(&w, name)->text().isEmpty(), name);
  }
  QVERIFY(Find<QLineEdit>(&w, "IDC_INPUT1")->isEnabled());
  QVERIFY(!Find<QLineEdit>(&w, "IDC_INPUT2")->isEnabled());
  QVERIFY(!Find<QLineEdit>(&w, "IDC_INPUT3")->isEnabled());

  auto* calc = Find<QPushButton>(&w, "IDC_CALC");
  QCOMPARE(calc->text(), QStringLiteral("计算(&C)"));
  QVERIFY(calc->isDefault());
  QVERIFY(!calc->isEnabled());
  auto* exit = Find<QPushButton>(&w, "IDC_EXIT");
  QCOMPARE(exit->text(), QStringLiteral("退出(&X)"));
  QVERIFY(exit->isEnabled());

  for (const char* name : {"IDC_PRESSURE", "IDC_TEMPERATURE", "IDC_ENTHALPY", "IDC_ENTROPY",
                           "IDC_VOLUME"}) {
    QVERIFY2(Find<QLineEdit>(&w, name)->text().isEmpty(), name);
    QVERIFY2(Find<QLineEdit>(&w, name)->isReadOnly(), name);
  }
  QCOMPARE(Find<QLineEdit>(&w, "IDC_STATE")->text(), QStringLiteral("未知"));
  QVERIFY(Find<QLineEdit>(&w, "IDC_STATE")->isReadOnly());

  auto* solution1 = Find<QPushButton>(&w, "IDC_SOLUTION1");
  auto* solution2 = Find<QPushButton>(&w, "IDC_SOLUTION2");
  QCOMPARE(solution1->text(), QStringLiteral("1"));
  QCOMPARE(solution2->text(), QStringLiteral("2"));
  QVERIFY(solution1->isCheckable() && solution1->autoExclusive());
  QVERIFY(solution2->isCheckable() && solution2->autoExclusive());
  QVERIFY(solution1->isChecked() && solution1->isEnabled());
  QVERIFY(!solution2->isChecked() && !solution2->isEnabled());

  // The fixed captions and the two frames.
  const QStringList captions = LabelTexts(&w);
  for (const char* caption : {"热力性质", "输入选择", "压力", "温度", "焓值", "熵", "比容", "状态"}) {
    QVERIFY2(captions.contains(QString::fromUtf8(caption)), caption);
  }
  QStringList frames;
  for (const QGroupBox* box : w.findChildren<QGroupBox*>()) frames << box->title();
  QCOMPARE(frames, QStringList({" 计算项目 ", " 计算结果        "}));

  // The solution buttons sit on the result frame's top edge.
  const QGroupBox* results = w.findChildren<QGroupBox*>().at(1);
  QVERIFY(solution1->geometry().top() < results->geometry().top());
  QVERIFY(solution1->geometry().bottom() > results->geometry().top());
  QVERIFY(solution1->geometry().right() < solution2->geometry().left() + 1);

  // Focus on the item list, before and after the window becomes active.
  QCOMPARE(w.focusWidget(), Find<QComboBox>(&w, "IDC_ITEM"));
  Activate();
  QCOMPARE(QApplication::focusWidget(), Find<QComboBox>(&w, "IDC_ITEM"));

  QCOMPARE(Shown(w), m_session->Expected());
}

void TestCalcWnd::everyControlCarriesItsIdNameInTabOrder() {
  for (const ControlName& control : kControls) {
    QWidget* widget = m_wnd->findChild<QWidget*>(control.name);
    QVERIFY2(widget, control.name);
    QCOMPARE(m_wnd->Control(control.id), widget);
  }
  QCOMPARE(m_wnd->Control(4711), nullptr);
  QCOMPARE(m_wnd->objectName(), QStringLiteral("IDD_MAIN_FORM"));

  const char* const order[] = {"IDC_ITEM",     "IDC_MODE",     "IDC_INPUT1",      "IDC_INPUT2",
                               "IDC_INPUT3",   "IDC_CALC",     "IDC_EXIT",        "IDC_PRESSURE",
                               "IDC_TEMPERATURE", "IDC_ENTHALPY", "IDC_ENTROPY", "IDC_VOLUME",
                               "IDC_STATE",    "IDC_SOLUTION1", "IDC_SOLUTION2"};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    QWidget* widget = m_wnd->findChild<QWidget*>(order[i - 1]);
    QWidget* next = widget->nextInFocusChain();
    while (next->focusPolicy() == Qt::NoFocus || next->focusProxy()) next = next->nextInFocusChain();
    QCOMPARE(next->objectName(), QString::fromLatin1(order[i]));
  }
}

void TestCalcWnd::typingEnablesCalculateAndDeletingDisablesIt() {
  auto* calc = Find<QPushButton>(m_wnd.get(), "IDC_CALC");
  m_session->Type(0, "5");
  QVERIFY(calc->isEnabled());
  m_session->Backspace(0);
  QVERIFY(!calc->isEnabled());
  // A blank counts as input.
  m_session->Type(0, " ");
  QVERIFY(calc->isEnabled());
  QCOMPARE(Shown(*m_wnd), m_session->Expected());

  // Paste and clear go through the same handler as keystrokes.
  auto* input = Find<QLineEdit>(m_wnd.get(), "IDC_INPUT1");
  input->selectAll();
  QTest::keyClick(input, Qt::Key_Delete);
  QVERIFY(!calc->isEnabled());
  input->insert(QStringLiteral("0.5"));
  QVERIFY(calc->isEnabled());
}

void TestCalcWnd::calculateStaysDisabledUntilEveryEnabledInputHasText() {
  auto* calc = Find<QPushButton>(m_wnd.get(), "IDC_CALC");
  m_session->PickItem(3);
  m_session->Type(0, "10");
  m_session->Type(1, "500");
  QVERIFY(!calc->isEnabled());
  m_session->Type(2, "1");
  QVERIFY(calc->isEnabled());
  QCOMPARE(Shown(*m_wnd), m_session->Expected());
  // Back to item 2: input 3 is disabled and ignored; inputs 1 and 2 are filled.
  m_session->PickItem(2);
  QVERIFY(calc->isEnabled());
  QVERIFY(!Find<QLineEdit>(m_wnd.get(), "IDC_INPUT3")->isEnabled());
  QCOMPARE(Find<QLineEdit>(m_wnd.get(), "IDC_INPUT3")->text(), QStringLiteral("1"));
  m_session->Backspace(1);
  m_session->Backspace(1);
  m_session->Backspace(1);
  QVERIFY(!calc->isEnabled());
  QCOMPARE(Shown(*m_wnd), m_session->Expected());
}

void TestCalcWnd::clickingCalculateShowsSaturatedWater() {
  m_session->Type(0, "0.1");
  m_session->ClickCalculate();
  QCOMPARE(Find<QLineEdit>(m_wnd.get(), "IDC_PRESSURE")->text(), QStringLiteral("0.100000 MPa"));
  QCOMPARE(Find<QLineEdit>(m_wnd.get(), "IDC_STATE")->text(), QStringLiteral("饱和水"));
  QVERIFY(Find<QLineEdit>(m_wnd.get(), "IDC_TEMPERATURE")->text().endsWith(QStringLiteral(" ℃")));
  QVERIFY(Find<QLineEdit>(m_wnd.get(), "IDC_ENTHALPY")->text().endsWith(QStringLiteral(" kJ/kg")));
  QVERIFY(Find<QLineEdit>(m_wnd.get(), "IDC_ENTROPY")->text().endsWith(QStringLiteral(" kJ/(kg*K)")));
  QVERIFY(Find<QLineEdit>(m_wnd.get(), "IDC_VOLUME")->text().endsWith(QStringLiteral(" m**3/kg")));
  QCOMPARE(Shown(*m_wnd), m_session->Expected());

  // By temperature: the given temperature comes back as typed.
  m_session->PickMode(1);
  QCOMPARE(Find<QLabel>(m_wnd.get(), "IDC_LABEL1")->text(), QStringLiteral("计算点温度"));
  QCOMPARE(Find<QLabel>(m_wnd.get(), "IDC_UNIT1")->text(), QStringLiteral("℃"));
  m_session->Backspace(0);
  m_session->Backspace(0);
  m_session->Backspace(0);
  m_session->Type(0, "100");
  m_session->ClickCalculate();
  QCOMPARE(Find<QLineEdit>(m_wnd.get(), "IDC_TEMPERATURE")->text(), QStringLiteral("100.000000 ℃"));
  QCOMPARE(Shown(*m_wnd), m_session->Expected());
}

void TestCalcWnd::failedCalculationShowsTheErrorState() {
  m_session->Type(0, "0");
  m_session->ClickCalculate();
  QCOMPARE(Find<QLineEdit>(m_wnd.get(), "IDC_PRESSURE")->text(), QStringLiteral("0.000000 MPa"));
  QCOMPARE(Find<QLineEdit>(m_wnd.get(), "IDC_TEMPERATURE")->text(), QStringLiteral("10.000000 ℃"));
  QCOMPARE(Find<QLineEdit>(m_wnd.get(), "IDC_STATE")->text(), QStringLiteral("计算或参数有误"));
  QCOMPARE(Shown(*m_wnd), m_session->Expected());
}

void TestCalcWnd::enterCalculatesThroughTheDefaultButton() {
  Activate();
  m_session->Type(0, "1");
  QTest::keyClick(Find<QLineEdit>(m_wnd.get(), "IDC_INPUT1"), Qt::Key_Return);
  m_session->Model().OnCalc();
  QCOMPARE(Find<QLineEdit>(m_wnd.get(), "IDC_PRESSURE")->text(), QStringLiteral("1.000000 MPa"));
  QCOMPARE(Shown(*m_wnd), m_session->Expected());
  QVERIFY(m_wnd->isVisible());

  // Keypad Enter from the item list does the same.
  m_session->PickItem(1);
  QTest::keyClick(Find<QComboBox>(m_wnd.get(), "IDC_ITEM"), Qt::Key_Enter, Qt::KeypadModifier);
  m_session->Model().OnCalc();
  QCOMPARE(Find<QLineEdit>(m_wnd.get(), "IDC_STATE")->text(), QStringLiteral("饱和蒸汽"));
  QCOMPARE(Shown(*m_wnd), m_session->Expected());
  QVERIFY(m_wnd->isVisible());
}

void TestCalcWnd::enterDoesNothingWhileCalculateIsDisabled() {
  Activate();
  QSignalSpy finished(m_wnd.get(), &QDialog::finished);
  const QStringList before = Shown(*m_wnd);
  QTest::keyClick(Find<QLineEdit>(m_wnd.get(), "IDC_INPUT1"), Qt::Key_Return);
  QTest::keyClick(Find<QComboBox>(m_wnd.get(), "IDC_ITEM"), Qt::Key_Return);
  QTest::keyClick(m_wnd.get(), Qt::Key_Enter, Qt::KeypadModifier);
  QVERIFY(m_wnd->isVisible());
  QCOMPARE(finished.count(), 0);
  QCOMPARE(Shown(*m_wnd), before);
}

void TestCalcWnd::altCCalculates() {
  Activate();
  m_session->Type(0, "2");
  QTest::keyClick(m_wnd.get(), Qt::Key_C, Qt::AltModifier);
  QTRY_COMPARE(Find<QLineEdit>(m_wnd.get(), "IDC_PRESSURE")->text(), QStringLiteral("2.000000 MPa"));
  m_session->Model().OnCalc();
  QCOMPARE(Shown(*m_wnd), m_session->Expected());
}

void TestCalcWnd::itemsAndModesRelabelLikeTheFormModel_data() {
  QTest::addColumn<int>("item");
  QTest::addColumn<int>("mode");
  QTest::addColumn<QString>("label1");
  QTest::addColumn<QString>("label3");
  const int modes[] = {2, 2, 5, 2};
  for (int item = 0; item < 4; ++item) {
    for (int mode = 0; mode < modes[item]; ++mode) {
      const std::string name = "item " + std::to_string(item) + " mode " + std::to_string(mode);
      static const char* const label1[4][5] = {
          {"计算点压力", "计算点温度"},
          {"计算点压力", "计算点温度"},
          {"计算点压力", "计算点压力", "计算点压力", "计算点温度", "计算点温度"},
          {"起始点压力", "起始点压力"}};
      const char* label3 = item == 3 ? (mode == 0 ? "末点压力" : "末点温度") : "";
      QTest::newRow(name.c_str()) << item << mode << QString::fromUtf8(label1[item][mode])
                                  << QString::fromUtf8(label3);
    }
  }
}

void TestCalcWnd::itemsAndModesRelabelLikeTheFormModel() {
  QFETCH(int, item);
  QFETCH(int, mode);
  QFETCH(QString, label1);
  QFETCH(QString, label3);
  m_session->Type(0, "1");
  m_session->PickItem(item);
  QCOMPARE(Find<QComboBox>(m_wnd.get(), "IDC_MODE")->currentIndex(), 0);
  QCOMPARE(ComboTexts(Find<QComboBox>(m_wnd.get(), "IDC_MODE")), Q(CCalcDlg::ModeTexts(item)));
  m_session->PickMode(mode);
  QCOMPARE(Find<QLabel>(m_wnd.get(), "IDC_LABEL1")->text(), label1);
  QCOMPARE(Find<QLabel>(m_wnd.get(), "IDC_LABEL3")->text(), label3);
  QCOMPARE(Find<QLineEdit>(m_wnd.get(), "IDC_INPUT2")->isEnabled(), item >= 2);
  QCOMPARE(Find<QLineEdit>(m_wnd.get(), "IDC_INPUT3")->isEnabled(), item == 3);
  QCOMPARE(Find<QLineEdit>(m_wnd.get(), "IDC_INPUT1")->text(), QStringLiteral("1"));
  QCOMPARE(Shown(*m_wnd), m_session->Expected());
}

void TestCalcWnd::everyItemAndModeCalculatesLikeTheFormModel_data() {
  QTest::addColumn<int>("item");
  QTest::addColumn<int>("mode");
  QTest::addColumn<QStringList>("inputs");
  QTest::addColumn<QString>("state");
  QTest::newRow("saturated water by pressure") << 0 << 0 << QStringList{"1"} << "饱和水";
  QTest::newRow("saturated water by temperature") << 0 << 1 << QStringList{"150"} << "饱和水";
  QTest::newRow("saturated steam by pressure") << 1 << 0 << QStringList{"0.5"} << "饱和蒸汽";
  QTest::newRow("saturated steam by temperature") << 1 << 1 << QStringList{"200"} << "饱和蒸汽";
  QTest::newRow("water by p and t") << 2 << 0 << QStringList{"10", "100"} << "不饱和水";
  QTest::newRow("steam by p and t") << 2 << 0 << QStringList{"1", "300"} << "过热蒸汽";
  QTest::newRow("supercritical by p and t") << 2 << 0 << QStringList{"30", "500"} << "超临界";
  QTest::newRow("wet by p and s") << 2 << 1 << QStringList{"1", "4.5"} << "";
  QTest::newRow("steam by p and h") << 2 << 2 << QStringList{"1", "3000"} << "过热蒸汽";
  QTest::newRow("water by t and s") << 2 << 3 << QStringList{"100", "1.3"} << "不饱和水";
  QTest::newRow("steam by t and h") << 2 << 4 << QStringList{"300", "3000"} << "过热蒸汽";
  QTest::newRow("end point by pressure") << 3 << 0 << QStringList{"10", "500", "0.1"} << "";
  QTest::newRow("end point by temperature") << 3 << 1 << QStringList{"10", "500", "150"} << "";
  QTest::newRow("end pressure above start") << 3 << 0 << QStringList{"1", "300", "2"}
                                            << "计算或参数有误";
  QTest::newRow("letters parse as zero") << 2 << 0 << QStringList{"abc", "100"}
                                         << "计算或参数有误";
}

void TestCalcWnd::everyItemAndModeCalculatesLikeTheFormModel() {
  QFETCH(int, item);
  QFETCH(int, mode);
  QFETCH(QStringList, inputs);
  QFETCH(QString, state);
  m_session->PickItem(item);
  m_session->PickMode(mode);
  for (int i = 0; i < inputs.size(); ++i) m_session->Type(i, inputs.at(i));
  QVERIFY(Find<QPushButton>(m_wnd.get(), "IDC_CALC")->isEnabled());
  m_session->ClickCalculate();
  QCOMPARE(Shown(*m_wnd), m_session->Expected());
  if (!state.isEmpty()) QCOMPARE(Find<QLineEdit>(m_wnd.get(), "IDC_STATE")->text(), state);
  QVERIFY(!Find<QLineEdit>(m_wnd.get(), "IDC_PRESSURE")->text().isEmpty());
}

void TestCalcWnd::switchingItemKeepsInputsAndResults() {
  m_session->PickItem(2);
  m_session->Type(0, "1");
  m_session->Type(1, "200");
  m_session->ClickCalculate();
  const QString pressure = Find<QLineEdit>(m_wnd.get(), "IDC_PRESSURE")->text();
  QVERIFY(!pressure.isEmpty());
  m_session->PickMode(3);
  m_session->PickItem(0);
  QCOMPARE(Find<QLineEdit>(m_wnd.get(), "IDC_PRESSURE")->text(), pressure);
  QCOMPARE(Find<QLineEdit>(m_wnd.get(), "IDC_INPUT2")->text(), QStringLiteral("200"));
  QCOMPARE(Find<QComboBox>(m_wnd.get(), "IDC_MODE")->currentText(), QStringLiteral("压力"));
  QCOMPARE(Shown(*m_wnd), m_session->Expected());
}

void TestCalcWnd::solutionButtonsSwitchBetweenTwoSolutions() {
  // An enthalpy between h′ and the enthalpy at 22.12 MPa on the same isotherm is met twice:
  // on the wet line and again in compressed water. At 200 ℃ that band is about 9 kJ/kg wide
  // (at 300 ℃ there is none: compressed water there has less enthalpy than h′).
  const double t = 200.0;
  int state = 0;
  const double hWater = SatWaterProp(t, 1, PK_H);
  const double hCritical = PointProp(t, 22.12, PK_H, state);
  const double hSteam = SatSteamProp(t, 1, PK_H);
  QVERIFY2(hCritical > hWater && hCritical < hSteam, "no two-solution band at this temperature");
  char h[32];
  std::snprintf(h, sizeof h, "%.3f", 0.5 * (hWater + hCritical));

  m_session->PickItem(2);
  m_session->PickMode(4);
  m_session->Type(0, "200");
  m_session->Type(1, QString::fromLatin1(h));
  m_session->ClickCalculate();
  QCOMPARE(m_session->Model().m_nSolutions, 2);
  auto* solution1 = Find<QPushButton>(m_wnd.get(), "IDC_SOLUTION1");
  auto* solution2 = Find<QPushButton>(m_wnd.get(), "IDC_SOLUTION2");
  QVERIFY(solution2->isEnabled());
  QVERIFY(solution1->isChecked());
  QVERIFY(Find<QLineEdit>(m_wnd.get(), "IDC_STATE")->text().startsWith(
      QStringLiteral("饱和水或饱和蒸汽或湿蒸汽")));
  // The long state text is shown from its start.
  QCOMPARE(Find<QLineEdit>(m_wnd.get(), "IDC_STATE")->cursorPosition(), 0);
  QCOMPARE(Shown(*m_wnd), m_session->Expected());
  const QString first = Find<QLineEdit>(m_wnd.get(), "IDC_PRESSURE")->text();
  const QString temperature = Find<QLineEdit>(m_wnd.get(), "IDC_TEMPERATURE")->text();

  m_session->ClickSolution(2);
  QVERIFY(solution2->isChecked() && !solution1->isChecked());
  QCOMPARE(Find<QLineEdit>(m_wnd.get(), "IDC_STATE")->text(), QStringLiteral("不饱和水"));
  QVERIFY(Find<QLineEdit>(m_wnd.get(), "IDC_PRESSURE")->text() != first);
  QCOMPARE(Find<QLineEdit>(m_wnd.get(), "IDC_TEMPERATURE")->text(), temperature);
  QCOMPARE(Shown(*m_wnd), m_session->Expected());

  // The checked button again changes nothing.
  const QStringList second = Shown(*m_wnd);
  m_session->ClickSolution(2);
  QCOMPARE(Shown(*m_wnd), second);

  m_session->ClickSolution(1);
  QCOMPARE(Find<QLineEdit>(m_wnd.get(), "IDC_PRESSURE")->text(), first);
  QVERIFY(solution1->isChecked() && !solution2->isChecked());
  QCOMPARE(Shown(*m_wnd), m_session->Expected());

  // The stored second solution survives an item change; the next Calculate disables "2".
  m_session->PickItem(0);
  m_session->ClickSolution(2);
  QCOMPARE(Find<QLineEdit>(m_wnd.get(), "IDC_STATE")->text(), QStringLiteral("不饱和水"));
  QCOMPARE(Shown(*m_wnd), m_session->Expected());
  m_session->ClickCalculate();
  QVERIFY(!solution2->isEnabled());
  QVERIFY(solution1->isChecked());
  QCOMPARE(Shown(*m_wnd), m_session->Expected());
}

void TestCalcWnd::escapeLeavesTheFormOpenAndUnchanged() {
  Activate();
  m_session->Type(0, "0.1");
  m_session->ClickCalculate();
  QSignalSpy finished(m_wnd.get(), &QDialog::finished);
  const QStringList before = Shown(*m_wnd);
  QTest::keyClick(Find<QLineEdit>(m_wnd.get(), "IDC_INPUT1"), Qt::Key_Escape);
  QTest::keyClick(Find<QComboBox>(m_wnd.get(), "IDC_ITEM"), Qt::Key_Escape);
  QTest::keyClick(m_wnd.get(), Qt::Key_Escape);
  m_wnd->reject();
  m_wnd->accept();
  QVERIFY(m_wnd->isVisible());
  QCOMPARE(finished.count(), 0);
  QCOMPARE(Shown(*m_wnd), before);
}

void TestCalcWnd::closeBoxEndsTheModalLoopThroughTheExitHandler() {
  m_wnd->hide();
  bool timedOut = false;
  // A change no handler saw: only the exit handler's read-back brings it into the members.
  Find<QComboBox>(m_wnd.get(), "IDC_MODE")->setCurrentIndex(1);
  QTimer::singleShot(0, m_wnd.get(), [this] { m_wnd->close(); });
  QTimer::singleShot(5000, m_wnd.get(), [&] {
    timedOut = true;
    m_wnd->done(-1);
  });
  const int result = m_wnd->exec();
  QVERIFY(!timedOut);
  QCOMPARE(result, int(QDialog::Accepted));
  QVERIFY(!m_wnd->isVisible());
  QCOMPARE(m_wnd->Form().m_nMode, 1);
}

void TestCalcWnd::exitButtonAndAltXEndTheModalLoop() {
  for (const bool byKey : {false, true}) {
    m_wnd->hide();
    bool timedOut = false;
    QTimer::singleShot(0, m_wnd.get(), [&] {
      if (byKey) {
        QApplication::setActiveWindow(m_wnd.get());
        if (QTest::qWaitForWindowActive(m_wnd.get()))
          QTest::keyClick(m_wnd.get(), Qt::Key_X, Qt::AltModifier);
      } else {
        QTest::mouseClick(Find<QPushButton>(m_wnd.get(), "IDC_EXIT"), Qt::LeftButton);
      }
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, m_wnd.get(), [&] {
      timedOut = true;
      m_wnd->done(-1);
    });
    watchdog.start(5000);
    const int result = m_wnd->exec();
    watchdog.stop();
    QVERIFY2(!timedOut, byKey ? "Alt+X" : "click");
    QCOMPARE(result, int(QDialog::Accepted));
    QVERIFY(!m_wnd->isVisible());
  }
}

void TestCalcWnd::aboutBoxFromTheRightClickMenuClosesOnEnter() {
  Activate();
  m_session->Type(0, "0.1");
  m_session->ClickCalculate();
  const QStringList before = Shown(*m_wnd);

  QStringList menuTexts;
  bool aboutSeen = false;
  CWhenShown closeAbout(OpenAbout, [&](QWidget* about) {
    aboutSeen = true;
    QTest::keyClick(about, Qt::Key_Return);
  });
  CWhenShown pickEntry(OpenMenu, [&](QWidget* widget) {
    auto* menu = static_cast<QMenu*>(widget);
    for (const QAction* action : menu->actions()) menuTexts << action->text();
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions().value(0)).center());
  });
  // A right click on the form's face (a caption); the context menu runs its own loop.
  QWidget* caption = Find<QLabel>(m_wnd.get(), "IDC_LABEL1");
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), caption->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(caption, &event);

  QVERIFY(!pickEntry.timedOut);
  QCOMPARE(menuTexts, QStringList({"关于 kelm(&A)..."}));
  QTRY_VERIFY(closeAbout.done || closeAbout.timedOut);
  QVERIFY(aboutSeen);
  QVERIFY(!closeAbout.timedOut);
  QTRY_VERIFY(m_wnd->findChildren<CAboutDlg*>().isEmpty());
  QVERIFY(m_wnd->isVisible());
  QCOMPARE(Shown(*m_wnd), before);

  // The line edits keep their own menu.
  auto* input = Find<QLineEdit>(m_wnd.get(), "IDC_INPUT1");
  QCOMPARE(input->contextMenuPolicy(), Qt::DefaultContextMenu);
}

void TestCalcWnd::aboutBoxFromF1ClosesOnEscape() {
  Activate();
  m_session->PickItem(2);
  m_session->Type(0, "1");
  const QStringList before = Shown(*m_wnd);
  CWhenShown closeAbout(OpenAbout, [](QWidget* about) { QTest::keyClick(about, Qt::Key_Escape); });
  QTest::keyClick(m_wnd.get(), Qt::Key_F1);
  QTRY_VERIFY(closeAbout.done || closeAbout.timedOut);
  QVERIFY(closeAbout.done && !closeAbout.timedOut);
  QTRY_VERIFY(m_wnd->findChildren<CAboutDlg*>().isEmpty());
  QCOMPARE(Shown(*m_wnd), before);

  // A second request opens a new box.
  Activate();
  CWhenShown again(OpenAbout, [](QWidget* about) { QTest::keyClick(about, Qt::Key_Escape); });
  QTest::keyClick(m_wnd.get(), Qt::Key_F1);
  QTRY_VERIFY(again.done || again.timedOut);
  QVERIFY(again.done && !again.timedOut);
  QCOMPARE(Shown(*m_wnd), before);
}

void TestCalcWnd::aboutBoxClosesOnItsCloseBox() {
  const QStringList before = Shown(*m_wnd);
  CWhenShown closeAbout(OpenAbout, [](QWidget* about) { about->close(); });
  m_wnd->ShowAbout();
  QVERIFY(closeAbout.done && !closeAbout.timedOut);
  QVERIFY(m_wnd->isVisible());
  QCOMPARE(Shown(*m_wnd), before);
}

void TestCalcWnd::aboutBoxShowsItsTexts() {
  CAboutDlg about;
  about.show();
  QVERIFY(QTest::qWaitForWindowExposed(&about));
  QCOMPARE(about.objectName(), QStringLiteral("IDD_ABOUT"));
  QCOMPARE(about.windowTitle(), QStringLiteral("关于 KELM"));
  QVERIFY(about.findChildren<QPushButton*>().isEmpty());
  const QStringList texts = LabelTexts(&about);
  QVERIFY(texts.contains(QStringLiteral("水和水蒸汽热力性质计算程序")));
  QVERIFY(texts.contains(QStringLiteral("KELM  0.85 版")));
  QVERIFY(texts.contains(QStringLiteral("本程序根据IFC公式设计，计算精度满足IFC标准的要求。\n"
                                        "\n"
                                        "Konown Bugs：温度过小时，不能正确计算。\n"
                                        "             压力必须大于700Pa。")));
  auto* icon = about.findChild<QLabel*>(QStringLiteral("IDI_APP"));
  QVERIFY(icon);
  QCOMPARE(icon->pixmap().size(), QSize(32, 32));
  int sunken = 0;
  for (const QLabel* label : about.findChildren<QLabel*>()) {
    if (label->frameShadow() == QFrame::Sunken && label->frameShape() != QFrame::NoFrame) {
      ++sunken;
      QVERIFY(!label->text().isEmpty());
      QVERIFY(label->alignment() & Qt::AlignHCenter);
    }
  }
  QCOMPARE(sunken, 1);
  // Enter closes the box as its OK command.
  QSignalSpy accepted(&about, &QDialog::accepted);
  QTest::keyClick(&about, Qt::Key_Enter, Qt::KeypadModifier);
  QCOMPARE(accepted.count(), 1);
  QVERIFY(!about.isVisible());
}

QTEST_MAIN(TestCalcWnd)
#include "calcwnd_test.moc"
