// The calculation form IDD_MAIN_FORM on screen: the widgets, their exchange with the members of
// the window-free form model, and the window-level behaviour (closing, keys, the about entry).
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "calc/calc.h"
#include "form/calcdlg.h"
#include "form/formwindow.h"

class QAction;
class QCloseEvent;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;

class CCalcWnd : public QDialog, public IFormWindow {
  Q_OBJECT

 public:
  explicit CCalcWnd(QWidget* parent = nullptr);
  ~CCalcWnd() override;

  CCalcDlg& Form() { return m_form; }
  const CCalcDlg& Form() const { return m_form; }

  // The control with a resource id, or null for an id the form does not have.
  QWidget* Control(int id) const;

  // Opens the about box modally; a new box each time.
  void ShowAbout();

  // An entry that opens one of the windows beyond the form: in the form's right-click menu (and
  // on Windows in its system menu, after the about entry), with its own shortcut. The windows
  // watch the form; none of them changes it.
  void AddToolEntry(QAction* action);

  // The last calculation the form made, as the calculation layer takes it (IFC-67, the item, the
  // mode and the inputs as typed, in double precision); false before the first one.
  bool LastRequest(calc::Request& request) const;

 signals:
  // After every Calculate, whatever it showed.
  void Calculated(const calc::Request& request);

 public:
  // IFormWindow
  void EnableControl(int id, bool enable) override;
  bool IsControlEnabled(int id) const override;
  void InsertItem(int index, const std::string& text) override;
  void ClearModeList() override;
  void InsertMode(int index, const std::string& text) override;
  void UpdateData(CalcFormData& form, bool save) override;

 public slots:
  // An OK command (Enter reaching the dialog itself) does nothing.
  void accept() override;
  // A Cancel command (Escape) does nothing; the form closes only through the exit handler.
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
#ifdef Q_OS_WIN
  bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

 private:
  void CreateControls();
  void ConnectControls();
  void AddAboutEntry();
  void InsertEntry(QComboBox* list, int index, const std::string& text);
  void Exit();

  QComboBox* m_pItem = nullptr;
  QComboBox* m_pMode = nullptr;
  QLabel* m_pLabel[3] = {};
  QLineEdit* m_pInput[3] = {};
  QLabel* m_pUnit[3] = {};
  QPushButton* m_pCalc = nullptr;
  QPushButton* m_pExit = nullptr;
  QLineEdit* m_pPressure = nullptr;
  QLineEdit* m_pTemperature = nullptr;
  QLineEdit* m_pEnthalpy = nullptr;
  QLineEdit* m_pEntropy = nullptr;
  QLineEdit* m_pVolume = nullptr;
  QLineEdit* m_pState = nullptr;
  QPushButton* m_pSolution1 = nullptr;
  QPushButton* m_pSolution2 = nullptr;
  QAction* m_pAboutAction = nullptr;
  std::vector<QAction*> m_toolActions;  // by their system-menu command, 32, 48, … on Windows
  bool m_bCalculated = false;
  calc::Request m_lastRequest;
  QString m_stateNote;  // after the state text in its tooltip: reasons or warnings

  // Set while the members are written to the controls: a programmatic change is no user action
  // and must not reach the form's handlers.
  bool m_bWriting = false;
  // Set once the exit handler has run, so that the close that follows does not run it again.
  bool m_bExited = false;

  CCalcDlg m_form;
};
