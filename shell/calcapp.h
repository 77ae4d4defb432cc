// The application object: start-up shows the calculation form as a modal dialog, and the
// program ends when the form closes.
#pragma once

#include <QApplication>

class CCalcApp : public QApplication {
  Q_OBJECT

 public:
  CCalcApp(int& argc, char** argv);

  // Runs the form modally. Returns false: the application has no message loop of its own
  // after the form closes.
  bool InitInstance();
};
