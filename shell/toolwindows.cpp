#include "shell/toolwindows.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QKeySequence>
#include <QMessageBox>
#include <QPointer>

#include "calc/record.h"
#include "calc/selfcheck.h"
#include "shell/batchwnd.h"
#include "shell/calcwnd.h"
#include "shell/comparewnd.h"
#include "shell/diagramwnd.h"
#include "shell/record.h"
#include "shell/recordwnd.h"
#include "shell/steamtablewnd.h"
#include "shell/turbinewnd.h"
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
        // The expansion into the record, section by section, and as a line on the diagrams.
        QObject::connect(window, &CTurbineWnd::ExpansionComputed, &form,
                         [&form](const calc::TurbineResult& result) {
                           if (!result.Ok()) return;
                           CRecord::Instance().Append(
                               calc::ToRecordRows(result, QDateTime::currentMSecsSinceEpoch()));
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

  // The record, copying, many points at once, and the units of all this. Every Calculate of the
  // form is kept; the record window's "在图中显示" is its ShowInDiagram signal.
  QObject::connect(&form, &CCalcWnd::Calculated, &form, [](const calc::Request& request) {
    CRecord::Instance().Append(calc::Calculate(request), QStringLiteral("计算窗口"));
  });
  Entry<CRecordWnd>(form, "IDM_RECORD", QStringLiteral("计算记录"), QKeySequence(Qt::Key_F3),
                    [&form] {
                      auto* window = new CRecordWnd(&form);
                      QObject::connect(window, &CRecordWnd::ShowInDiagram, &form,
                                       [&form](std::vector<calc::Solution> points, QString label) {
                                         CDiagramWnd* diagram = Diagram(form);
                                         diagram->AddPoints(points, label);
                                         diagram->show();
                                         diagram->raise();
                                       });
                      return window;
                    });
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
