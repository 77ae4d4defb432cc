#include "shell/toolwindows.h"

#include <QAction>
#include <QKeySequence>
#include <QMessageBox>
#include <QPointer>

#include "calc/selfcheck.h"
#include "shell/calcwnd.h"
#include "shell/comparewnd.h"
#include "shell/diagramwnd.h"
#include "shell/steamtablewnd.h"
#include "shell/turbinewnd.h"

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

// The form's diagram window, made on first use (hidden until its entry shows it): the form's
// calculations and the turbine window's expansions go to it whether it is open or not.
CDiagramWnd* Diagram(CCalcWnd& form) {
  if (auto* window = form.findChild<CDiagramWnd*>(QString(), Qt::FindDirectChildrenOnly))
    return window;
  auto* window = new CDiagramWnd(&form);
  QObject::connect(&form, &CCalcWnd::Calculated, window, &CDiagramWnd::ShowRequest);
  calc::Request last;
  if (form.LastRequest(last)) window->ShowRequest(last);
  return window;
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
  Entry<CDiagramWnd>(form, "IDM_DIAGRAM", QStringLiteral("热力性质图"), QKeySequence(Qt::Key_F4),
                     [&form] { return Diagram(form); });
  Entry<CTurbineWnd>(
      form, "IDM_TURBINE", QStringLiteral("汽轮机膨胀过程…"), QKeySequence(Qt::Key_F5), [&form] {
        auto* window = new CTurbineWnd(&form);
        // The expansion as a line on the diagrams, its points labelled.
        QObject::connect(window, &CTurbineWnd::ExpansionComputed, &form,
                         [&form](const calc::TurbineResult& result) {
                           if (result.Ok())
                             Diagram(form)->SetProcessLine(calc::ExpansionLine(result),
                                                           QStringLiteral("膨胀"));
                         });
        return window;
      });
  Entry<CSteamTableWnd>(form, "IDM_STEAMTABLE", QStringLiteral("水蒸气表…"),
                        QKeySequence(Qt::Key_F6), [&form] { return new CSteamTableWnd(&form); });
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
}
