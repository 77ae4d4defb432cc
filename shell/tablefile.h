// Handing a result table on: the file name asked through a seam that tests answer, and the table
// written as TSV, CSV or an XLSX workbook with its stamp, by the name's suffix.
#pragma once

#include <QString>

#include "calc/table.h"

class QWidget;

// Asks for the name of a file to write; empty when the user cancels. A test sets the next answer
// instead, and no dialog opens.
QString AskSaveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                        const QString& filter);
void SetNextSaveFileName(const QString& path);

// The filter of the export dialog: XLSX, CSV and TSV.
QString TableFileFilter();

// Writes the table by the suffix of `path` (.xlsx with the stamp, .csv, otherwise TSV); false
// with the message.
bool WriteTableFile(const QString& path, const calc::Table& table, const calc::Stamp& stamp,
                    QString& error);

// "KELM 0.8.0.1": the program in a stamp.
std::string ProgramStamp();
