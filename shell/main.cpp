// KELM: water and steam thermodynamic properties after the IFC-67 industrial formulation.
#include <QTextStream>
#include <cstdio>

#include "shell/calcapp.h"
#include "shell/chartcommand.h"

int main(int argc, char** argv) {
  if (IsChartCommand(argc, argv)) {
    // A chart for a report: drawn without a display, so that it works over ssh and in CI.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    CCalcApp app(argc, argv);
    QTextStream err(stderr);
    return RunChartCommand(app.arguments().mid(1), err);
  }
  CCalcApp app(argc, argv);
  app.InitInstance();
  return 0;
}
