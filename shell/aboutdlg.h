// The about box IDD_ABOUT: icon, program name, version, a note on accuracy and known limits.
#pragma once

#include <QDialog>

class QKeyEvent;

class CAboutDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);

 protected:
  // The box has no buttons; Enter closes it as the OK command of a dialog would.
  void keyPressEvent(QKeyEvent* event) override;
};
