#include "shell/aboutdlg.h"

#include <QKeyEvent>
#include <QLabel>

#include "shell/appicon.h"
#include "shell/dialogfont.h"

namespace {

QLabel* AddText(QWidget* parent, const CDialogUnits& du, const QString& text, int x, int y, int w,
                int h) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setGeometry(du.Rect(x, y, w, h));
  return label;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("IDD_ABOUT"));
  setWindowTitle(QStringLiteral("关于 KELM"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFont(DialogFont());
  const CDialogUnits du(font());

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("IDI_APP"));
  icon->setPixmap(AppIcon().pixmap(32, 32));
  icon->setGeometry(du.X(11), du.Y(17), 32, 32);

  AddText(this, du, QStringLiteral("水和水蒸汽热力性质计算程序"), 40, 12, 106, 10);
  AddText(this, du, QStringLiteral("KELM  0.85 版"), 148, 12, 70, 10);

  // The template's note: the accuracy claim (wrapped in two lines by the width), an empty
  // line, and the two known limits, the second indented under the first by blanks.
  QLabel* note = AddText(this, du,
                         QStringLiteral("本程序根据IFC公式设计，计算精度满足IFC标准的要求。\n"
                                        "\n"
                                        "Konown Bugs：温度过小时，不能正确计算。\n"
                                        "             压力必须大于700Pa。"),
                         43, 29, 166, 45);
  note->setWordWrap(true);

  auto* line = new QLabel(QStringLiteral("版本 %1").arg(QStringLiteral(KELM_VERSION)), this);
  line->setTextFormat(Qt::PlainText);
  line->setAlignment(Qt::AlignCenter);
  line->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  line->setGeometry(du.Rect(49, 82, 124, 16));

  setFixedSize(du.X(222), du.Y(111));
}

void CAboutDlg::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  if (enter && modifiers == Qt::NoModifier) {
    accept();
    return;
  }
  // Escape rejects, as in any dialog.
  QDialog::keyPressEvent(event);
}
