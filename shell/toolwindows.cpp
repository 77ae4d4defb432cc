#include "shell/toolwindows.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeySequence>
#include <QMessageBox>
#include <QPointer>

#include "calc/record.h"
#include "calc/selfcheck.h"
#include "shell/batchwnd.h"
#include "shell/calcwnd.h"
#include "shell/comparewnd.h"
#include "shell/record.h"
#include "shell/recordwnd.h"
#include "shell/unitsdlg.h"
#include "shell/unitsettings.h"

namespace {

// An entry of the form's menu that shows `window` (made on first use) and raises it.
template <class Window, class Make>
QAction* Entry(CCalcWnd& form, const char* id, const QString& text, const QKeySequence& key,
               Make make) {
  auto* action = new QAction(text, &form);
  action->setObjectName(QString::fromLatin1(id));
  action->setShortcut(key);
  auto window = std::make_shared<QPointer<Window>>();
  QObject::connect(action, &QAction::triggered, &form, [&form, window, make] {
    if (!*window) *window = make();
    (*window)->show();
    (*window)->raise();
    (*window)->activateWindow();
  });
  form.AddToolEntry(action);
  return action;
}

}  // namespace

void InstallToolWindows(CCalcWnd& form) {
  Entry<CCompareWnd>(form, "IDM_COMPARE", QStringLiteral("IFC-67 与 IF97 对比"),
                     QKeySequence(Qt::Key_F2), [&form] {
                       auto* window = new CCompareWnd(&form);
                       calc::Request last;
                       if (form.LastRequest(last)) window->ShowRequest(last);
                       QObject::connect(&form, &CCalcWnd::Calculated, window,
                                        &CCompareWnd::ShowRequest);
                       return window;
                     });
  Entry<QMessageBox>(form, "IDM_SELFCHECK", QStringLiteral("自检"), QKeySequence(), [&form] {
    const calc::SelfCheck check = calc::RunSelfCheck();
    auto* box = new QMessageBox(
        check.passed == check.total ? QMessageBox::Information : QMessageBox::Warning,
        QStringLiteral("自检"),
        QStringLiteral("重新计算程序内置的两种公式的全部公布校核值：\n\n") +
            QString::fromStdString(calc::SelfCheckText(check)),
        QMessageBox::Close, &form);
    box->setObjectName(QStringLiteral("IDD_SELFCHECK"));
    box->setWindowModality(Qt::NonModal);
    return box;
  });

  // The record, copying, many points at once, and the units of all this. Every Calculate of the
  // form is kept; the record window's "在图中显示" is its ShowInDiagram signal.
  QObject::connect(&form, &CCalcWnd::Calculated, &form, [](const calc::Request& request) {
    CRecord::Instance().Append(calc::Calculate(request), QStringLiteral("计算窗口"));
  });
  Entry<CRecordWnd>(form, "IDM_RECORD", QStringLiteral("计算记录"), QKeySequence(Qt::Key_F3),
                    [&form] { return new CRecordWnd(&form); });
  auto* copy = new QAction(QStringLiteral("复制结果"), &form);
  copy->setObjectName(QStringLiteral("IDM_COPY_RESULT"));
  copy->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
  QObject::connect(copy, &QAction::triggered, &form, [&form] {
    calc::Request last;
    if (!form.LastRequest(last)) return;
    const calc::Table block =
        calc::ResultTable(calc::Calculate(last), CUnitSettings::Instance().Units());
    QApplication::clipboard()->setText(QString::fromStdString(calc::ToTsv(block)));
  });
  form.AddToolEntry(copy);
  Entry<CBatchWnd>(form, "IDM_BATCH", QStringLiteral("批量计算…"), QKeySequence(),
                   [&form] { return new CBatchWnd(&form); });
  Entry<CUnitsDlg>(form, "IDM_UNITS", QStringLiteral("单位…"), QKeySequence(),
                   [&form] { return new CUnitsDlg(&form); });
}
