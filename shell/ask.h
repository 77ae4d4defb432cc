// The questions the windows beyond the form put to the user (a confirmation, a file to write or
// read) and the messages they give. A test scripts them: while scripted no dialog appears, each
// question takes the next queued answer (none left: no, or no file), and messages are kept for
// the test to read.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

class QWidget;

class CAsk {
 public:
  static bool Confirm(QWidget* parent, const QString& title, const QString& text);
  // The chosen file, empty when cancelled. `filters` as QFileDialog takes them.
  static QString SaveFile(QWidget* parent, const QString& title, const QString& suggested,
                          const QString& filters);
  static QString OpenFile(QWidget* parent, const QString& title, const QString& filters);
  // A warning with its one sentence.
  static void Tell(QWidget* parent, const QString& title, const QString& text);

  // Tests: no dialogs from now on; answers are bool for Confirm, QString for the files.
  static void Script(const QVariantList& answers);
  static QStringList TakeMessages();
};
