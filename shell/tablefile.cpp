#include "shell/tablefile.h"

#include <QFileDialog>
#include <optional>

namespace {
std::optional<QString> g_nextAnswer;
}  // namespace

QString AskSaveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                        const QString& filter) {
  if (g_nextAnswer) {
    const QString answer = *g_nextAnswer;
    g_nextAnswer.reset();
    return answer;
  }
  return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
}

void SetNextSaveFileName(const QString& path) { g_nextAnswer = path; }

QString TableFileFilter() {
  return QStringLiteral("Excel 工作簿 (*.xlsx);;CSV 文件 (*.csv);;制表符分隔文本 (*.tsv *.txt)");
}

bool WriteTableFile(const QString& path, const calc::Table& table, const calc::Stamp& stamp,
                    QString& error) {
  const std::string file = path.toStdString();
  std::string message;
  bool ok = false;
  if (path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
    ok = calc::WriteXlsx(file, table, stamp, message);
  else if (path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
    ok = calc::WriteFileAtomically(file, calc::ToCsv(table), message);
  else
    ok = calc::WriteFileAtomically(file, calc::ToTsv(table), message);
  error = QString::fromStdString(message);
  return ok;
}

std::string ProgramStamp() { return "KELM " KELM_VERSION; }
