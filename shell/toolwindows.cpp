#include "shell/toolwindows.h"

#include <QAction>

#include "shell/calcwnd.h"
#include "shell/diagramwnd.h"

void InstallToolWindows(CCalcWnd& form) {
  // 热力性质图, F4: the T–s and h–s diagrams, following every Calculate of the form.
  auto* diagram = new QAction(QStringLiteral("热力性质图"), &form);
  diagram->setObjectName(QStringLiteral("IDM_DIAGRAM"));
  diagram->setShortcut(QKeySequence(Qt::Key_F4));
  QObject::connect(diagram, &QAction::triggered, &form, [&form] {
    auto* wnd = form.findChild<CDiagramWnd*>(QString(), Qt::FindDirectChildrenOnly);
    if (wnd == nullptr) {
      wnd = new CDiagramWnd(&form);
      QObject::connect(&form, &CCalcWnd::Calculated, wnd, &CDiagramWnd::ShowRequest);
      calc::Request last;
      if (form.LastRequest(last)) wnd->ShowRequest(last);
    }
    wnd->show();
    wnd->raise();
    wnd->activateWindow();
  });
  form.AddToolEntry(diagram);
}
