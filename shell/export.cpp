#include "shell/export.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>

#include "shell/ask.h"

void CopyRows(const std::vector<calc::RecordRow>& rows, const calc::Units& units) {
  QApplication::clipboard()->setText(
      QString::fromStdString(calc::ToTsv(calc::RecordTable(rows, units))));
}

bool WriteRows(const QString& path, const std::vector<calc::RecordRow>& rows,
               const calc::Units& units, QString& error) {
  const calc::Table table = calc::RecordTable(rows, units);
  std::string message;
  bool written = false;
  if (path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive)) {
    std::vector<calc::Formulation> formulations;
    for (calc::Formulation f : {calc::Formulation::IFC67, calc::Formulation::IF97}) {
      for (const calc::RecordRow& row : rows) {
        if (row.request.formulation == f) {
          formulations.push_back(f);
          break;
        }
      }
    }
    const std::string date =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
    written = calc::WriteXlsx(path.toStdString(), table,
                              calc::RecordStamp(KELM_RELEASE, formulations, units, date), message);
  } else {
    written = calc::WriteFileAtomically(path.toStdString(), calc::ToCsv(table), message);
  }
  error = QString::fromStdString(message);
  return written;
}

bool ExportRows(QWidget* parent, const std::vector<calc::RecordRow>& rows, const calc::Units& units,
                const QString& suggestedName) {
  QString path = CAsk::SaveFile(parent, QStringLiteral("导出"), suggestedName,
                                QStringLiteral("CSV 文件（UTF-8）(*.csv);;Excel 工作簿 (*.xlsx)"));
  if (path.isEmpty()) return false;
  if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) &&
      !path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
    path += QStringLiteral(".csv");
  QString error;
  if (WriteRows(path, rows, units, error)) return true;
  CAsk::Tell(parent, QStringLiteral("导出"), error);
  return false;
}
