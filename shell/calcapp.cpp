#include "shell/calcapp.h"

#include <clocale>

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
  // QApplication takes LC_NUMERIC from the environment; the calculation layer's texts are
  // printed with the C library, and "0,500000" in a comma-decimal locale is not what the form
  // and every other window show.
  std::setlocale(LC_NUMERIC, "C");
}

bool CCalcApp::InitInstance() {
  CCalcWnd form;
  InstallToolWindows(form);
  form.exec();
  return false;
}
