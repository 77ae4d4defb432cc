#include "shell/calcapp.h"

#include "shell/appicon.h"
#include "shell/calcwnd.h"
#include "shell/dialogfont.h"
#include "shell/toolwindows.h"

CCalcApp::CCalcApp(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("kelm"));
  setApplicationVersion(QStringLiteral(KELM_VERSION));
  // Ties the windows to kelm.desktop, so that docks and taskbars show its name and icon.
  setDesktopFileName(QStringLiteral("kelm"));
  setWindowIcon(AppIcon());
  // Menus and other top-level windows take the dialogs' CJK face as well.
  setFont(DialogFont());
}

bool CCalcApp::InitInstance() {
  CCalcWnd form;
  InstallToolWindows(form);
  form.exec();
  return false;
}
