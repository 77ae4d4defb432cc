#include "shell/calcwnd.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QShowEvent>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

#include "form/parse.h"
#include "form/resource.h"
#include "shell/aboutdlg.h"
#include "shell/appicon.h"
#include "shell/dialogfont.h"

namespace {

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

std::string ToUtf8(const QString& text) { return text.toStdString(); }

// Exchange of one text member. Writing sets the control only when its text differs, so that an
// unchanged field keeps its cursor, selection and undo history.
void ExchangeText(QLineEdit* edit, std::string& member, bool save) {
  if (save) {
    member = ToUtf8(edit->text());
  } else {
    const QString text = FromUtf8(member);
    if (edit->text() != text) {
      edit->setText(text);
      // Show a text that is longer than the field from its start, as a classic edit does.
      edit->setCursorPosition(0);
    }
  }
}

void ExchangeText(QLabel* label, std::string& member, bool save) {
  if (save) {
    member = ToUtf8(label->text());
  } else {
    const QString text = FromUtf8(member);
    if (label->text() != text) label->setText(text);
  }
}

// A list's member is the index of its selected entry, −1 when none is selected; writing an index
// outside the list clears the selection.
void ExchangeIndex(QComboBox* combo, int& member, bool save) {
  if (save) {
    member = combo->currentIndex();
  } else {
    const int index = (member >= 0 && member < combo->count()) ? member : -1;
    if (combo->currentIndex() != index) combo->setCurrentIndex(index);
  }
}

// A group frame drawn as a classic dialog draws it: an etched rectangle whose top edge runs
// through the middle of the title, broken by the title's width, blanks included (the result
// frame's trailing blanks leave the gap where the two solution buttons sit).
class CFrameBox : public QGroupBox {
 public:
  CFrameBox(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const QPalette& colours = palette();
    const QRect frame = rect().adjusted(0, metrics.height() / 2, -1, -1);
    painter.setPen(colours.color(QPalette::Dark));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    painter.setPen(colours.color(QPalette::Light));
    painter.drawRect(frame.adjusted(1, 1, 0, 0));
    const QRect text(CDialogUnits(font()).X(4) + 1, 0, metrics.horizontalAdvance(title()),
                     metrics.height());
    painter.fillRect(text, colours.color(QPalette::Window));
    painter.setPen(colours.color(QPalette::WindowText));
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, title());
  }
};

}  // namespace

CCalcWnd::CCalcWnd(QWidget* parent) : QDialog(parent), m_form(*this) {
  setObjectName(QStringLiteral("IDD_MAIN_FORM"));
  setWindowTitle(QStringLiteral("水和水蒸汽热力性质计算"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setWindowIcon(AppIcon());
  setFont(DialogFont());

  CreateControls();
  ConnectControls();

  // Opening: the form model fills both lists, sets the first labels, writes every member to the
  // controls and disables the controls that start disabled.
  m_form.OnInitDialog();
  AddAboutEntry();
  m_pItem->setFocus();
}

CCalcWnd::~CCalcWnd() = default;

void CCalcWnd::CreateControls() {
  const CDialogUnits du(font());

  auto groupBox = [&](const char* title, int x, int y, int w, int h) {
    auto* box = new CFrameBox(QString::fromUtf8(title), this);
    box->setFocusPolicy(Qt::NoFocus);
    box->setGeometry(du.Rect(x, y, w, h));
  };
  auto label = [&](const char* id, const char* text, int x, int y, int w, int h,
                   Qt::Alignment vertical) {
    auto* caption = new QLabel(QString::fromUtf8(text), this);
    if (id) caption->setObjectName(QString::fromUtf8(id));
    caption->setTextFormat(Qt::PlainText);
    caption->setAlignment(Qt::AlignLeft | vertical);
    caption->setGeometry(du.Rect(x, y, w, h));
    return caption;
  };
  // A drop-down list: the template's height includes the opened list, so the closed box takes
  // the height the style asks for.
  auto comboBox = [&](const char* id, int x, int y, int w) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(QString::fromUtf8(id));
    combo->setEditable(false);
    combo->setGeometry(du.X(x), du.Y(y), du.X(x + w) - du.X(x), combo->sizeHint().height());
    return combo;
  };
  auto edit = [&](const char* id, int x, int y, int w, int h, bool readOnly) {
    auto* field = new QLineEdit(this);
    field->setObjectName(QString::fromUtf8(id));
    field->setGeometry(du.Rect(x, y, w, h));
    if (readOnly) {
      field->setReadOnly(true);
      // Read-only fields show the dialog's face colour, as a classic read-only edit does.
      QPalette palette = field->palette();
      palette.setColor(QPalette::Base, palette.color(QPalette::Window));
      field->setPalette(palette);
    }
    return field;
  };
  auto button = [&](const char* id, const char* text, int x, int y, int w, int h) {
    auto* push = new QPushButton(QString::fromUtf8(text), this);
    push->setObjectName(QString::fromUtf8(id));
    push->setGeometry(du.Rect(x, y, w, h));
    return push;
  };

  // Z-order and tab order follow the template; the frames come first so that the two solution
  // buttons, created last, lie on top of the result frame's edge.
  groupBox(" 计算项目 ", 2, 2, 274, 107);
  m_pItem = comboBox("IDC_ITEM", 11, 16, 110);
  label(nullptr, "热力性质", 123, 17, 45, 10, Qt::AlignTop);
  label(nullptr, "输入选择", 12, 36, 36, 10, Qt::AlignTop);
  m_pMode = comboBox("IDC_MODE", 49, 34, 101);
  m_pLabel[0] = label("IDC_LABEL1", "输入参数1", 12, 54, 56, 10, Qt::AlignTop);
  m_pInput[0] = edit("IDC_INPUT1", 72, 52, 78, 12, false);
  m_pUnit[0] = label("IDC_UNIT1", "MPa", 154, 52, 37, 11, Qt::AlignVCenter);
  m_pLabel[1] = label("IDC_LABEL2", "输入参数2", 11, 70, 56, 10, Qt::AlignTop);
  m_pInput[1] = edit("IDC_INPUT2", 72, 68, 78, 12, false);
  m_pUnit[1] = label("IDC_UNIT2", "U2", 154, 68, 37, 11, Qt::AlignVCenter);
  m_pLabel[2] = label("IDC_LABEL3", "输入参数3", 11, 86, 56, 10, Qt::AlignTop);
  m_pInput[2] = edit("IDC_INPUT3", 72, 85, 78, 12, false);
  m_pUnit[2] = label("IDC_UNIT3", "U3", 154, 85, 37, 11, Qt::AlignVCenter);
  m_pCalc = button("IDC_CALC", "计算(&C)", 211, 31, 50, 14);
  m_pExit = button("IDC_EXIT", "退出(&X)", 211, 72, 50, 14);
  groupBox(" 计算结果        ", 2, 116, 274, 70);
  label(nullptr, "压力", 13, 131, 33, 11, Qt::AlignTop);
  m_pPressure = edit("IDC_PRESSURE", 48, 130, 80, 12, true);
  label(nullptr, "温度", 142, 131, 31, 11, Qt::AlignTop);
  m_pTemperature = edit("IDC_TEMPERATURE", 184, 130, 80, 12, true);
  label(nullptr, "焓值", 13, 147, 33, 11, Qt::AlignTop);
  m_pEnthalpy = edit("IDC_ENTHALPY", 48, 146, 80, 12, true);
  label(nullptr, "熵", 142, 147, 31, 11, Qt::AlignTop);
  m_pEntropy = edit("IDC_ENTROPY", 184, 146, 80, 12, true);
  label(nullptr, "比容", 13, 164, 33, 11, Qt::AlignTop);
  m_pVolume = edit("IDC_VOLUME", 48, 163, 80, 12, true);
  label(nullptr, "状态", 142, 164, 31, 11, Qt::AlignTop);
  m_pState = edit("IDC_STATE", 184, 163, 80, 12, true);
  m_pSolution1 = button("IDC_SOLUTION1", "1", 47, 115, 13, 10);
  m_pSolution2 = button("IDC_SOLUTION2", "2", 60, 115, 13, 10);

  // Calculate is the default button: Enter clicks it while it is enabled and does nothing while
  // it is disabled. The solution buttons are push-like radio buttons, not command buttons.
  m_pCalc->setDefault(true);
  for (QPushButton* solution : {m_pSolution1, m_pSolution2}) {
    solution->setCheckable(true);
    solution->setAutoExclusive(true);
    solution->setAutoDefault(false);
  }
  m_pSolution1->setChecked(true);

  QWidget* const tabOrder[] = {m_pItem,    m_pMode,   m_pInput[0], m_pInput[1],    m_pInput[2],
                               m_pCalc,    m_pExit,   m_pPressure, m_pTemperature, m_pEnthalpy,
                               m_pEntropy, m_pVolume, m_pState,    m_pSolution1,   m_pSolution2};
  for (std::size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);

  setFixedSize(du.X(278), du.Y(194));
}

void CCalcWnd::ConnectControls() {
  // Only what the user does reaches the form: `activated` is the list's user signal, and the
  // text signal is muted while members are written to the controls.
  connect(m_pItem, &QComboBox::activated, this, [this] {
    if (!m_bWriting) m_form.OnSelChangeItem();
  });
  connect(m_pMode, &QComboBox::activated, this, [this] {
    if (!m_bWriting) m_form.OnSelChangeMode();
  });
  for (QLineEdit* input : m_pInput) {
    connect(input, &QLineEdit::textChanged, this, [this] {
      if (!m_bWriting) m_form.OnChangeInput();
    });
  }
  connect(m_pCalc, &QPushButton::clicked, this, [this] {
    if (m_bWriting) return;
    m_form.OnCalc();
    const ModeRow* row = FindMode(m_form.m_nItem, m_form.m_nMode);
    if (row == nullptr) return;
    // The inputs in double precision as typed: IFC-67 rounds them to single precision as the
    // form did, IF97 takes them as they are.
    const std::string* typed[3] = {&m_form.m_strInput1, &m_form.m_strInput2, &m_form.m_strInput3};
    m_lastRequest = {calc::Formulation::IFC67, row->item, row->mode, {0, 0, 0}};
    for (int i = 0; i < row->inputs; ++i) m_lastRequest.in[i] = ParseDecimalPrefix(*typed[i]);
    m_bCalculated = true;
    // The state field's tooltip: its text whole, then why the calculation failed or what to
    // beware of; the field itself keeps the form's text.
    const calc::Answer answer = calc::Calculate(m_lastRequest);
    m_stateNote.clear();
    for (const std::string& line : answer.reasons.empty() ? answer.warnings : answer.reasons)
      m_stateNote += QStringLiteral("\n") + QString::fromStdString(line);
    m_pState->setToolTip(m_pState->text() + m_stateNote);
    emit Calculated(m_lastRequest);
  });
  connect(m_pExit, &QPushButton::clicked, this, [this] { Exit(); });
  connect(m_pSolution1, &QPushButton::clicked, this, [this] {
    if (!m_bWriting) m_form.OnSolution1();
  });
  connect(m_pSolution2, &QPushButton::clicked, this, [this] {
    if (!m_bWriting) m_form.OnSolution2();
  });
}

void CCalcWnd::AddAboutEntry() {
  const QString entry = QStringLiteral("关于 kelm(&A)...");
#ifdef Q_OS_WIN
  // After the system menu's own entries: a separator and the about entry, command IDM_ABOUTBOX.
  HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE);
  if (menu != nullptr) {
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, reinterpret_cast<const wchar_t*>(entry.utf16()));
  }
#else
  // Linux window managers keep the title-bar menu to themselves: the entry is the form's
  // right-click menu (line edits keep their own) and F1.
  m_pAboutAction = new QAction(entry, this);
  m_pAboutAction->setObjectName(QStringLiteral("IDM_ABOUTBOX"));
  m_pAboutAction->setShortcut(QKeySequence(Qt::Key_F1));
  m_pAboutAction->setShortcutContext(Qt::WindowShortcut);
  connect(m_pAboutAction, &QAction::triggered, this, &CCalcWnd::ShowAbout);
  addAction(m_pAboutAction);
  setContextMenuPolicy(Qt::ActionsContextMenu);
#endif
}

#ifdef Q_OS_WIN
bool CCalcWnd::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
  const MSG* msg = static_cast<const MSG*>(message);
  if (msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == IDM_ABOUTBOX) {
    ShowAbout();
    *result = 0;
    return true;
  }
  const std::size_t tool = (msg->wParam & 0xFFF0) / 16;
  if (msg->message == WM_SYSCOMMAND && tool >= 2 && tool - 2 < m_toolActions.size()) {
    m_toolActions[tool - 2]->trigger();
    *result = 0;
    return true;
  }
  return QDialog::nativeEvent(eventType, message, result);
}
#endif

void CCalcWnd::AddToolEntry(QAction* action) {
  action->setShortcutContext(Qt::WindowShortcut);
  addAction(action);  // the right-click menu and the shortcut, on every platform
  setContextMenuPolicy(Qt::ActionsContextMenu);
#ifdef Q_OS_WIN
  // Command ids 32, 48, … after the about entry's 16: the low four bits belong to the system.
  HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE);
  if (menu != nullptr) {
    const QString text = action->text() + QStringLiteral("\t") +
                         action->shortcut().toString(QKeySequence::NativeText);
    AppendMenuW(menu, MF_STRING, UINT_PTR(16 * (m_toolActions.size() + 2)),
                reinterpret_cast<const wchar_t*>(text.utf16()));
  }
#endif
  m_toolActions.push_back(action);
}

bool CCalcWnd::LastRequest(calc::Request& request) const {
  if (m_bCalculated) request = m_lastRequest;
  return m_bCalculated;
}

void CCalcWnd::ShowAbout() {
  CAboutDlg about(this);
  about.exec();
}

QWidget* CCalcWnd::Control(int id) const {
  switch (id) {
    case IDC_ITEM: return m_pItem;
    case IDC_MODE: return m_pMode;
    case IDC_LABEL1: return m_pLabel[0];
    case IDC_LABEL2: return m_pLabel[1];
    case IDC_LABEL3: return m_pLabel[2];
    case IDC_INPUT1: return m_pInput[0];
    case IDC_INPUT2: return m_pInput[1];
    case IDC_INPUT3: return m_pInput[2];
    case IDC_UNIT1: return m_pUnit[0];
    case IDC_UNIT2: return m_pUnit[1];
    case IDC_UNIT3: return m_pUnit[2];
    case IDC_CALC: return m_pCalc;
    case IDC_EXIT: return m_pExit;
    case IDC_PRESSURE: return m_pPressure;
    case IDC_TEMPERATURE: return m_pTemperature;
    case IDC_ENTHALPY: return m_pEnthalpy;
    case IDC_ENTROPY: return m_pEntropy;
    case IDC_VOLUME: return m_pVolume;
    case IDC_STATE: return m_pState;
    case IDC_SOLUTION1: return m_pSolution1;
    case IDC_SOLUTION2: return m_pSolution2;
    default: return nullptr;
  }
}

void CCalcWnd::EnableControl(int id, bool enable) {
  if (QWidget* control = Control(id)) control->setEnabled(enable);
}

bool CCalcWnd::IsControlEnabled(int id) const {
  // The control's own state, whatever its parent's.
  const QWidget* control = Control(id);
  return control != nullptr && !control->testAttribute(Qt::WA_ForceDisabled);
}

void CCalcWnd::InsertItem(int index, const std::string& text) { InsertEntry(m_pItem, index, text); }

void CCalcWnd::ClearModeList() {
  const bool writing = m_bWriting;
  m_bWriting = true;
  m_pMode->clear();
  m_bWriting = writing;
}

void CCalcWnd::InsertMode(int index, const std::string& text) { InsertEntry(m_pMode, index, text); }

void CCalcWnd::InsertEntry(QComboBox* list, int index, const std::string& text) {
  const bool writing = m_bWriting;
  m_bWriting = true;
  // Inserting into an empty list selects nothing; the next write of the members selects the
  // member's entry. An index below zero or past the end appends, as the list's insert message does.
  const int selected = list->currentIndex();
  if (index < 0 || index > list->count()) index = list->count();
  list->insertItem(index, FromUtf8(text));
  if (selected < 0) list->setCurrentIndex(-1);
  m_bWriting = writing;
}

void CCalcWnd::UpdateData(CalcFormData& form, bool save) {
  const bool writing = m_bWriting;
  if (!save) m_bWriting = true;
  ExchangeIndex(m_pItem, form.m_nItem, save);
  ExchangeText(m_pLabel[0], form.m_strLabel1, save);
  ExchangeText(m_pLabel[1], form.m_strLabel2, save);
  ExchangeText(m_pLabel[2], form.m_strLabel3, save);
  ExchangeText(m_pUnit[0], form.m_strUnit1, save);
  ExchangeText(m_pUnit[1], form.m_strUnit2, save);
  ExchangeText(m_pUnit[2], form.m_strUnit3, save);
  ExchangeText(m_pEnthalpy, form.m_strEnthalpy, save);
  ExchangeText(m_pEntropy, form.m_strEntropy, save);
  ExchangeText(m_pInput[0], form.m_strInput1, save);
  ExchangeText(m_pInput[1], form.m_strInput2, save);
  ExchangeText(m_pInput[2], form.m_strInput3, save);
  ExchangeText(m_pPressure, form.m_strPressure, save);
  ExchangeText(m_pTemperature, form.m_strTemperature, save);
  ExchangeText(m_pVolume, form.m_strVolume, save);
  ExchangeText(m_pState, form.m_strState, save);
  if (!save) m_pState->setToolTip(m_pState->text() + m_stateNote);
  ExchangeIndex(m_pMode, form.m_nMode, save);
  // The radio group: 0 when "1" is checked, 1 when "2" is, −1 when neither.
  if (save) {
    form.m_nSolution = m_pSolution1->isChecked() ? 0 : (m_pSolution2->isChecked() ? 1 : -1);
  } else if (form.m_nSolution == 0 || form.m_nSolution == 1) {
    (form.m_nSolution == 0 ? m_pSolution1 : m_pSolution2)->setChecked(true);
  } else {
    // Auto-exclusive buttons refuse to uncheck the checked one; lift that for a moment.
    for (QPushButton* solution : {m_pSolution1, m_pSolution2}) {
      solution->setAutoExclusive(false);
      solution->setChecked(false);
      solution->setAutoExclusive(true);
    }
  }
  m_bWriting = writing;
}

void CCalcWnd::accept() {}

void CCalcWnd::reject() {}

void CCalcWnd::Exit() {
  // The exit handler reads every member back from the controls; then the modal loop ends.
  if (!m_bExited) {
    m_bExited = true;
    m_form.OnExit();
  }
  QDialog::done(QDialog::Accepted);
}

void CCalcWnd::closeEvent(QCloseEvent* event) {
  // The close box, Alt+F4 and the window menu's Close end the form as 退出 does.
  Exit();
  event->accept();
}

void CCalcWnd::showEvent(QShowEvent* event) {
  m_bExited = false;
  QDialog::showEvent(event);
}
