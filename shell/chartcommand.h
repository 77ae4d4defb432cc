// The diagrams without a display, for reports and tests:
//   kelm --chart ts|hs --out FILE.svg|FILE.png|FILE.pdf [--size WxH] [--formulation ifc67|if97]
//        [--other] [ITEM MODE INPUTS…]
// draws one chart, with the calculation's marks when ITEM, MODE and its inputs are given, through
// the same paint routine as the window.
#pragma once

#include <QStringList>

class QTextStream;

// True when the arguments (argv[1…]) hold --chart: the program then draws on the offscreen
// platform and opens no form.
bool IsChartCommand(int argc, char** argv);

// Runs the command (arguments without the program's name) once a QApplication exists. Messages
// go to `err`. Returns 0, 1 when the calculation failed or the file cannot be written (a chart
// without marks is still written after a failed calculation), 2 for a usage error.
int RunChartCommand(const QStringList& args, QTextStream& err);
