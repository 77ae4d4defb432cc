#include "shell/ask.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {
bool scripted = false;
QVariantList answers;
QStringList messages;

QVariant Next() { return answers.isEmpty() ? QVariant() : answers.takeFirst(); }
}  // namespace

bool CAsk::Confirm(QWidget* parent, const QString& title, const QString& text) {
  if (scripted) return Next().toBool();
  return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

QString CAsk::SaveFile(QWidget* parent, const QString& title, const QString& suggested,
                       const QString& filters) {
  if (scripted) return Next().toString();
  return QFileDialog::getSaveFileName(parent, title, suggested, filters);
}

QString CAsk::OpenFile(QWidget* parent, const QString& title, const QString& filters) {
  if (scripted) return Next().toString();
  return QFileDialog::getOpenFileName(parent, title, QString(), filters);
}

void CAsk::Tell(QWidget* parent, const QString& title, const QString& text) {
  if (scripted) {
    messages += text;
    return;
  }
  QMessageBox::warning(parent, title, text);
}

void CAsk::Script(const QVariantList& next) {
  scripted = true;
  answers = next;
}

QStringList CAsk::TakeMessages() {
  QStringList taken;
  taken.swap(messages);
  return taken;
}
